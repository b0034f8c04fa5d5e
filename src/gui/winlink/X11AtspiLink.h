#pragma once
// Other programs' windows on an X11 desktop: Xlib finds the top-level window under a
// point, the accessibility bus (AT-SPI) finds the text object at that point inside it and
// reads its text. A handle stands for the X window together with the accessible object's
// bus name and path; an object or window that has gone reads as empty.
#include <QString>
#include <map>
#include <memory>
#include <string>

#include "gui/winlink/WindowLink.h"

namespace zuohao::gui {

namespace x11 {
class Display;
}
namespace atspi {
class Session;
}

class X11AtspiLink : public WindowLink {
public:
    // The link for this desktop, or nothing (with the reason) when the program does not
    // run on an X11 desktop. The accessibility bus is reached in the background.
    static std::unique_ptr<X11AtspiLink> create(QString* whyNot);
    ~X11AtspiLink() override;

    std::optional<WindowHit> windowAt(const QPoint& screenPos) override;
    bool exists(WindowHandle handle) override;
    WindowRead readText(WindowHandle handle) override;
    QString unavailableReason() override;

    // Waits until the accessibility bus has been reached (or found missing), at most `ms`.
    bool waitReady(int ms);

    // What a handle stands for.
    struct Picked {
        unsigned long window = 0; // X window id of the top-level client window
        int object = 0;           // the session's number of the accessible object; 0 = none
        std::string busName;      // where the object lives on the accessibility bus
        std::string path;
    };
    const Picked* picked(WindowHandle handle) const;

private:
    X11AtspiLink(std::unique_ptr<x11::Display> display);
    WindowHandle handleOf(const Picked& p);

    std::unique_ptr<x11::Display> m_display;
    std::unique_ptr<atspi::Session> m_session;
    std::map<WindowHandle, Picked> m_picked;
    WindowHandle m_next = 1;
};

} // namespace zuohao::gui
