#pragma once
// Top-level windows of an X11 desktop, asked through a connection of our own (Xlib). Plain
// C++: Xlib's macros stay out of Qt code.
#include <memory>
#include <optional>
#include <string>

namespace zuohao::gui::x11 {

struct ClientWindow {
    unsigned long id = 0; // the client window (the one the program made, not the frame)
    int x = 0, y = 0, width = 0, height = 0; // on the screen, frame excluded
    unsigned pid = 0;                        // _NET_WM_PID, 0 when not set
    std::string title;                       // _NET_WM_NAME or WM_NAME, UTF-8
};

class Display {
public:
    // Opens the display named by DISPLAY; nothing when there is no X server.
    static std::unique_ptr<Display> open();
    ~Display();

    // The top-level client window that takes the pointer at a screen point (shapes and
    // input-transparent windows are honoured by the server); nothing over the bare root.
    std::optional<ClientWindow> clientAt(int x, int y);
    // Whether the window still exists.
    bool exists(unsigned long id);
    // The window's title, empty when it has none or is gone.
    std::string title(unsigned long id);
    // The size of the root window.
    int screenWidth() const;
    int screenHeight() const;

private:
    struct Impl;
    explicit Display(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m;
};

} // namespace zuohao::gui::x11
