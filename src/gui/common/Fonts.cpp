#include "gui/common/Fonts.h"

#include <QFontDatabase>

namespace zuohao::gui {

namespace {

// 微软雅黑 first (under either of its names), then the common free CJK faces, under their
// English and, as a Chinese Windows (or Wine) lists them, their Chinese names. Droid Sans
// Fallback, which has no Latin letters, comes last.
const char* const kPreferred[] = {
    "微软雅黑",          "Microsoft YaHei",  "WenQuanYi Micro Hei",
    "文泉驿微米黑",      "Noto Sans CJK SC", "Source Han Sans SC",
    "WenQuanYi Zen Hei", "文泉驿正黑",       "Droid Sans Fallback",
};

// Tried in this order for a character the chosen family lacks, or for every character when
// it is not installed: Windows' sans-serif faces for Latin letters and digits (Segoe UI from
// Windows Vista on, Tahoma and Arial everywhere; Liberation Sans and DejaVu Sans where Wine
// shows the host's fonts), then Windows' Chinese faces, then the free ones.
const char* const kFallbacks[] = {
    "Segoe UI",
    "Tahoma",
    "Arial",
    "Liberation Sans",
    "DejaVu Sans",
    "Microsoft YaHei",
    "微软雅黑",
    "SimSun",
    "宋体",
    "WenQuanYi Micro Hei",
    "文泉驿微米黑",
    "Noto Sans CJK SC",
    "Source Han Sans SC",
    "Droid Sans Fallback",
};

QString pickFamily() {
    const QStringList installed = QFontDatabase::families();
    for (const char* name : kPreferred) {
        const QString family = QString::fromUtf8(name);
        if (installed.contains(family, Qt::CaseInsensitive)) return family;
    }
    const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    if (!chinese.isEmpty()) return chinese.first();
    // Nothing known: ask for 微软雅黑 and let the fallbacks do the rest.
    return QStringLiteral("微软雅黑");
}

QStringList fallbacksFor(const QString& family) {
    QStringList list;
    for (const char* name : kFallbacks) {
        const QString fallback = QString::fromUtf8(name);
        if (fallback.compare(family, Qt::CaseInsensitive) != 0) list.append(fallback);
    }
    return list;
}

QString chooseFamily() {
    const QString family = pickFamily();
    // Fonts that name only the family (the application's font, style sheets) fall back the
    // same way as ChineseFont().
    QFont::insertSubstitutions(family, fallbacksFor(family));
    return family;
}

} // namespace

QString ChineseFontFamily() {
    static const QString family = chooseFamily();
    return family;
}

QStringList ChineseFontFamilies() {
    static const QStringList families =
        QStringList{ChineseFontFamily()} + fallbacksFor(ChineseFontFamily());
    return families;
}

QFont ChineseFont(int pointSize, bool bold) {
    QFont font;
    font.setFamilies(ChineseFontFamilies());
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace zuohao::gui
