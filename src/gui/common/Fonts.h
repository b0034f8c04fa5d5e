#pragma once
// The font of the program's Chinese texts: "微软雅黑" where it is installed, otherwise an
// installed font that covers simplified Chinese, so that no character shows as a box. The
// font names a list of families to fall back on, Windows' sans-serif faces for Latin letters
// and digits first, so that where the chosen family is missing (Wine has no 微软雅黑) the
// digits never fall to the system's serif face.
#include <QFont>
#include <QString>
#include <QStringList>

namespace zuohao::gui {

QString ChineseFontFamily();
// ChineseFontFamily() first, then the fallbacks.
QStringList ChineseFontFamilies();
QFont ChineseFont(int pointSize, bool bold = false);

} // namespace zuohao::gui
