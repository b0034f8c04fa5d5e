#ifdef ZUOHAO_HAVE_ATSPI
#include "gui/winlink/X11Windows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <deque>
#include <mutex>

namespace zuohao::gui::x11 {

namespace {
// Requests on a window that has just gone answer with an error; Xlib's default handler
// would end the program. The errors of our own connections are noted and ignored; those of
// any other Xlib connection in the process go to the handler that was there before.
std::mutex g_displaysMutex;
std::deque<::Display*> g_displays;
std::atomic<int> g_lastError{0};
XErrorHandler g_previous = nullptr;

int onXError(::Display* dpy, XErrorEvent* ev) {
    {
        std::lock_guard lock(g_displaysMutex);
        for (::Display* d : g_displays)
            if (d == dpy) {
                g_lastError = ev->error_code;
                return 0;
            }
    }
    return g_previous ? g_previous(dpy, ev) : 0;
}

void installErrorHandler(::Display* dpy) {
    std::lock_guard lock(g_displaysMutex);
    if (g_displays.empty()) {
        XErrorHandler old = XSetErrorHandler(onXError);
        if (old != onXError) g_previous = old;
    }
    g_displays.push_back(dpy);
}

void removeErrorHandler(::Display* dpy) {
    std::lock_guard lock(g_displaysMutex);
    std::erase(g_displays, dpy);
}
} // namespace

struct Display::Impl {
    ::Display* dpy = nullptr;
    Window root = 0;
    Atom wmState = 0, netWmPid = 0, netWmName = 0, utf8String = 0;

    // Runs requests and tells whether the server refused any of them.
    template <class F> bool clean(F&& requests) {
        XSync(dpy, False);
        g_lastError = 0;
        requests();
        XSync(dpy, False);
        return g_lastError == 0;
    }

    bool hasProperty(Window w, Atom prop) {
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        bool ok = clean([&] {
            XGetWindowProperty(dpy, w, prop, 0, 0, False, AnyPropertyType, &type, &format, &n,
                               &after, &data);
        });
        if (data) XFree(data);
        return ok && type != None;
    }

    // The window below a frame that the program itself made: the one with WM_STATE
    // (breadth first, as window managers nest their frames); the frame itself when none.
    Window clientOf(Window frame) {
        if (hasProperty(frame, wmState)) return frame;
        std::deque<Window> queue{frame};
        for (int visited = 0; !queue.empty() && visited < 256; ++visited) {
            Window w = queue.front();
            queue.pop_front();
            Window rootRet = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            if (!clean([&] { XQueryTree(dpy, w, &rootRet, &parent, &children, &count); })) continue;
            for (unsigned i = 0; i < count; ++i) {
                if (hasProperty(children[i], wmState)) {
                    Window found = children[i];
                    XFree(children);
                    return found;
                }
                queue.push_back(children[i]);
            }
            if (children) XFree(children);
        }
        return frame;
    }

    unsigned pidOf(Window w) {
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        unsigned pid = 0;
        if (clean([&] {
                XGetWindowProperty(dpy, w, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &n,
                                   &after, &data);
            }) &&
            data && format == 32 && n == 1)
            pid = unsigned(*reinterpret_cast<unsigned long*>(data));
        if (data) XFree(data);
        return pid;
    }

    std::string titleOf(Window w) {
        std::string title;
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        if (clean([&] {
                XGetWindowProperty(dpy, w, netWmName, 0, 16384, False, utf8String, &type, &format,
                                   &n, &after, &data);
            }) &&
            data && format == 8)
            title.assign(reinterpret_cast<char*>(data), n);
        if (data) XFree(data);
        if (!title.empty()) return title;
        char* name = nullptr;
        if (clean([&] { XFetchName(dpy, w, &name); }) && name) title = name;
        if (name) XFree(name);
        return title;
    }
};

Display::Display(std::unique_ptr<Impl> impl) : m(std::move(impl)) {}

Display::~Display() {
    if (m && m->dpy) {
        XCloseDisplay(m->dpy);
        removeErrorHandler(m->dpy);
    }
}

std::unique_ptr<Display> Display::open() {
    ::Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) return nullptr;
    installErrorHandler(dpy);
    auto impl = std::make_unique<Impl>();
    impl->dpy = dpy;
    impl->root = DefaultRootWindow(dpy);
    impl->wmState = XInternAtom(dpy, "WM_STATE", False);
    impl->netWmPid = XInternAtom(dpy, "_NET_WM_PID", False);
    impl->netWmName = XInternAtom(dpy, "_NET_WM_NAME", False);
    impl->utf8String = XInternAtom(dpy, "UTF8_STRING", False);
    return std::unique_ptr<Display>(new Display(std::move(impl)));
}

std::optional<ClientWindow> Display::clientAt(int x, int y) {
    Window child = 0;
    int cx = 0, cy = 0;
    if (!m->clean(
            [&] { XTranslateCoordinates(m->dpy, m->root, m->root, x, y, &cx, &cy, &child); }) ||
        child == 0)
        return std::nullopt;
    ClientWindow c;
    c.id = m->clientOf(child);
    XWindowAttributes attr{};
    Window dummy = 0;
    bool ok = m->clean([&] {
        XGetWindowAttributes(m->dpy, c.id, &attr);
        XTranslateCoordinates(m->dpy, c.id, m->root, 0, 0, &c.x, &c.y, &dummy);
    });
    if (!ok) return std::nullopt;
    c.width = attr.width;
    c.height = attr.height;
    c.pid = m->pidOf(c.id);
    c.title = m->titleOf(c.id);
    return c;
}

bool Display::exists(unsigned long id) {
    if (id == 0) return false;
    XWindowAttributes attr{};
    Status status = 0;
    bool ok = m->clean([&] { status = XGetWindowAttributes(m->dpy, id, &attr); });
    return ok && status != 0;
}

std::string Display::title(unsigned long id) {
    return exists(id) ? m->titleOf(id) : std::string();
}

int Display::screenWidth() const {
    return DisplayWidth(m->dpy, DefaultScreen(m->dpy));
}
int Display::screenHeight() const {
    return DisplayHeight(m->dpy, DefaultScreen(m->dpy));
}

} // namespace zuohao::gui::x11
#endif
