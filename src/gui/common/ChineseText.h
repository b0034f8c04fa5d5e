#pragma once
// Simplified Chinese bytes (GBK, GB2312, GB18030) as text. On Windows the system decodes them
// with code page 54936 (GB18030; 936 would lose the four-byte characters), so no ICU is
// needed; elsewhere Qt's converter does it.
#include <QByteArray>
#include <QString>

namespace zuohao::gui {

QString DecodeChinese(const QByteArray& bytes);
// Text as GB18030 bytes (the same bytes as GBK for every character GBK has).
QByteArray EncodeChinese(const QString& text);

// Whether a charset name (as a web server sends it) names one of these encodings.
bool IsChineseCharset(const QString& name);

} // namespace zuohao::gui
