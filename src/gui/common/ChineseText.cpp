#include "gui/common/ChineseText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace zuohao::gui {

namespace {
#ifdef Q_OS_WIN
constexpr UINT kGb18030CodePage = 54936;
constexpr UINT kGbkCodePage = 936;

// GB18030 where the system has it (every Windows since XP); else GBK, which lacks only the
// four-byte characters (Wine has no code page 54936).
UINT chineseCodePage() {
    static const UINT cp = IsValidCodePage(kGb18030CodePage) ? kGb18030CodePage : kGbkCodePage;
    return cp;
}
#endif
} // namespace

QString DecodeChinese(const QByteArray& bytes) {
#ifdef Q_OS_WIN
    if (bytes.isEmpty()) return {};
    const int n =
        MultiByteToWideChar(chineseCodePage(), 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    if (n <= 0) return QString::fromLocal8Bit(bytes);
    QString text(n, Qt::Uninitialized);
    MultiByteToWideChar(chineseCodePage(), 0, bytes.constData(), int(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), n);
    return text;
#else
    QStringDecoder dec("GB18030");
    return dec.isValid() ? dec.decode(bytes) : QString::fromLocal8Bit(bytes);
#endif
}

QByteArray EncodeChinese(const QString& text) {
#ifdef Q_OS_WIN
    if (text.isEmpty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int n = WideCharToMultiByte(chineseCodePage(), 0, wide, int(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return text.toLocal8Bit();
    QByteArray bytes(n, Qt::Uninitialized);
    WideCharToMultiByte(chineseCodePage(), 0, wide, int(text.size()), bytes.data(), n, nullptr,
                        nullptr);
    return bytes;
#else
    QStringEncoder enc("GB18030");
    return enc.isValid() ? QByteArray(enc.encode(text)) : text.toLocal8Bit();
#endif
}

bool IsChineseCharset(const QString& name) {
    const QString n = name.trimmed().toLower();
    return n == u"gbk" || n == u"gb2312" || n == u"gb18030" || n == u"x-gbk" || n == u"cp936" ||
           n == u"windows-936";
}

} // namespace zuohao::gui
