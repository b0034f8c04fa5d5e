#pragma once
// Other programs' windows on Windows: WindowFromPoint finds the window, WM_GETTEXT (sent
// with a time-out) reads it. A handle is the window's own HWND, so LabelHwnd shows the
// number other window tools show.
#include "gui/winlink/WindowLink.h"

namespace zuohao::gui {

class Win32WindowLink : public WindowLink {
public:
    std::optional<WindowHit> windowAt(const QPoint& screenPos) override;
    bool exists(WindowHandle handle) override;
    WindowRead readText(WindowHandle handle) override;
};

} // namespace zuohao::gui
