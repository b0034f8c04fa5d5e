#pragma once
// The engine speaks UTF-8 std::string, the window QString: the two conversions.
#include <QString>
#include <string>

namespace zuohao::gui {

inline QString toQ(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string toStd(const QString& text) {
    return text.toStdString();
}

} // namespace zuohao::gui
