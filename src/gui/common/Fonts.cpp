#include "gui/common/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace zuohao::gui {

namespace {

QString pickFamily() {
    const QStringList installed = QFontDatabase::families();
    // 微软雅黑 first (under either of its names), then the common free CJK faces.
    static const char* const preferred[] = {
        "微软雅黑",           "Microsoft YaHei",   "WenQuanYi Micro Hei", "Noto Sans CJK SC",
        "Source Han Sans SC", "WenQuanYi Zen Hei", "Droid Sans Fallback",
    };
    for (const char* name : preferred) {
        const QString family = QString::fromUtf8(name);
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    }
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    if (!chinese.isEmpty()) return chinese.first();
    // Nothing known: ask for 微软雅黑 and let the font matcher fall back.
    return QStringLiteral("微软雅黑");
}

} // namespace

QString ChineseFontFamily() {
    static const QString family = pickFamily();
    return family;
}

QFont ChineseFont(int pointSize, bool bold) {
    QFont font(ChineseFontFamily());
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace zuohao::gui
