#ifdef ZUOHAO_HAVE_ATSPI
#include "gui/winlink/X11AtspiLink.h"

#include <QGuiApplication>
#include <QScreen>

#include "gui/winlink/AtspiSession.h"
#include "gui/winlink/X11Windows.h"

namespace zuohao::gui {

namespace {
// Qt's screen positions are device-independent; the X server counts device pixels.
qreal pixelRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

QRect toLogical(int x, int y, int w, int h) {
    const qreal r = pixelRatio();
    return QRect(qRound(x / r), qRound(y / r), qRound(w / r), qRound(h / r));
}
} // namespace

std::unique_ptr<X11AtspiLink> X11AtspiLink::create(QString* whyNot) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        if (whyNot) *whyNot = QStringLiteral("桌面不是 X11");
        return nullptr;
    }
    std::unique_ptr<x11::Display> display = x11::Display::open();
    if (!display) {
        if (whyNot) *whyNot = QStringLiteral("连接不上 X 服务器");
        return nullptr;
    }
    return std::unique_ptr<X11AtspiLink>(new X11AtspiLink(std::move(display)));
}

X11AtspiLink::X11AtspiLink(std::unique_ptr<x11::Display> display)
    : m_display(std::move(display)), m_session(std::make_unique<atspi::Session>()) {}

X11AtspiLink::~X11AtspiLink() = default;

bool X11AtspiLink::waitReady(int ms) {
    return m_session->waitReady(std::chrono::milliseconds(ms));
}

QString X11AtspiLink::unavailableReason() {
    if (waitReady(2000)) return {};
    // A bus still starting up is not called missing: its calls get no answer in time
    // meanwhile and say so.
    const std::string why = m_session->unavailableReason();
    if (why.empty()) return {};
    return QStringLiteral("辅助功能总线(AT-SPI)不可用 (%1)").arg(QString::fromStdString(why));
}

WindowHandle X11AtspiLink::handleOf(const Picked& p) {
    for (const auto& [handle, q] : m_picked)
        if (q.window == p.window && q.object == p.object) return handle;
    const WindowHandle handle = m_next++;
    m_picked.emplace(handle, p);
    return handle;
}

const X11AtspiLink::Picked* X11AtspiLink::picked(WindowHandle handle) const {
    auto it = m_picked.find(handle);
    return it == m_picked.end() ? nullptr : &it->second;
}

std::optional<WindowHit> X11AtspiLink::windowAt(const QPoint& screenPos) {
    const qreal ratio = pixelRatio();
    const int x = qRound(screenPos.x() * ratio);
    const int y = qRound(screenPos.y() * ratio);
    const std::optional<x11::ClientWindow> client = m_display->clientAt(x, y);
    if (!client) return std::nullopt;
    Picked p;
    p.window = client->id;
    WindowHit hit;
    hit.rect = toLogical(client->x, client->y, client->width, client->height);
    const atspi::Rect window{client->x, client->y, client->width, client->height};
    const auto found = m_session->accessibleAt(x, y, client->pid, window);
    if (found.outcome == atspi::Outcome::NoAnswer) hit.answered = false;
    if (found.outcome == atspi::Outcome::Ok && found.value) {
        p.object = found.value->id;
        p.busName = found.value->busName;
        p.path = found.value->path;
        const atspi::Rect& r = found.value->rect;
        if (r.width > 0 && r.height > 0) hit.rect = toLogical(r.x, r.y, r.width, r.height);
    }
    hit.handle = handleOf(p);
    return hit;
}

bool X11AtspiLink::exists(WindowHandle handle) {
    const Picked* p = picked(handle);
    return p && m_display->exists(p->window);
}

WindowRead X11AtspiLink::readText(WindowHandle handle) {
    const Picked* p = picked(handle);
    if (!p || !m_display->exists(p->window)) return {{}, ReadStatus::Gone};
    // A program that is not on the accessibility bus still has its window's title.
    if (p->object == 0)
        return {QString::fromStdString(m_display->title(p->window)).left(MaxWindowTextLength),
                ReadStatus::Ok};
    const auto answer = m_session->readText(p->object, MaxWindowTextLength);
    switch (answer.outcome) {
    case atspi::Outcome::Ok:
        return {QString::fromStdString(answer.value).left(MaxWindowTextLength), ReadStatus::Ok};
    case atspi::Outcome::NoAnswer:
        return {{}, ReadStatus::NoAnswer};
    case atspi::Outcome::Gone:
    case atspi::Outcome::Unavailable:
        break;
    }
    return {{}, ReadStatus::Gone};
}

} // namespace zuohao::gui
#endif
