#pragma once
// The font of the program's Chinese texts: "微软雅黑" where it is installed, otherwise an
// installed font that covers simplified Chinese, so that no character shows as a box.
#include <QFont>
#include <QString>

namespace zuohao::gui {

QString ChineseFontFamily();
QFont ChineseFont(int pointSize, bool bold = false);

} // namespace zuohao::gui
