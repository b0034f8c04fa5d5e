#include "gui/common/ChineseText.h"

#include <QStringDecoder>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zuohao::gui {

namespace {
#ifdef Q_OS_WIN
constexpr UINT kGb18030CodePage = 54936;
#endif
} // namespace

QString DecodeChinese(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    if (bytes.isEmpty()) return {};
    const int n =
        MultiByteToWideChar(kGb18030CodePage, 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    if (n <= 0) return QString::fromLocal8Bit(bytes);
    QString text(n, Qt::Uninitialized);
    MultiByteToWideChar(kGb18030CodePage, 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), n);
    return text;
#else
    QStringDecoder dec("GB18030");
    return dec.isValid() ? dec.decode(bytes) : QString::fromLocal8Bit(bytes);
#endif
}

bool IsChineseCharset(const QString& name) {
    const QString n = name.trimmed().toLower();
    return n == u"gbk" || n == u"gb2312" || n == u"gb18030" || n == u"x-gbk" || n == u"cp936" ||
           n == u"windows-936";
}

} // namespace zuohao::gui
