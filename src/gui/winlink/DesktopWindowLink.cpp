#include "gui/winlink/DesktopWindowLink.h"

#include "gui/winlink/OwnWidgetLink.h"
#include "gui/winlink/Win32WindowLink.h"
#include "gui/winlink/X11AtspiLink.h"

namespace zuohao::gui {

QString CannotReadOthersText(const QString& reason) {
    return QStringLiteral("不能读取其他程序的窗口: %1;手形图标只能选取本程序的窗口").arg(reason);
}

QString NoAnswerText(WindowHandle handle) {
    return QStringLiteral("窗口 %1 在 2 秒内没有响应,按空内容处理").arg(handle);
}

DesktopWindowLink::DesktopWindowLink(std::unique_ptr<WindowLink> own,
                                     std::unique_ptr<WindowLink> other, const QString& otherMissing,
                                     QObject* parent)
    : QObject(parent), m_own(std::move(own)), m_other(std::move(other)), m_problem(otherMissing) {}

DesktopWindowLink::~DesktopWindowLink() = default;

std::unique_ptr<DesktopWindowLink> DesktopWindowLink::create(QObject* parent) {
    std::unique_ptr<WindowLink> other;
    QString why;
#if defined(ZUOHAO_HAVE_ATSPI)
    other = X11AtspiLink::create(&why);
#elif defined(Q_OS_WIN)
    other = std::make_unique<Win32WindowLink>();
#else
    why = QStringLiteral("本版本没有 X11 与 AT-SPI 支持");
#endif
    auto link = std::make_unique<DesktopWindowLink>(std::make_unique<OwnWidgetLink>(),
                                                    std::move(other), why, parent);
#if defined(Q_OS_WIN)
    link->keepOtherHandles();
#endif
    return link;
}

void DesktopWindowLink::keepOtherHandles() {
    m_keepOtherHandles = true;
    constexpr WindowHandle kAboveWindowHandles = WindowHandle(1) << 32;
    if (m_next < kAboveWindowHandles) m_next = kAboveWindowHandles;
}

bool DesktopWindowLink::otherUsable() {
    const QString problem = unavailableReason();
    if (problem.isEmpty()) return true;
    if (!m_told) {
        m_told = true;
        emit statusMessage(CannotReadOthersText(problem));
    }
    return false;
}

QString DesktopWindowLink::unavailableReason() {
    return m_other ? m_other->unavailableReason() : m_problem;
}

WindowHandle DesktopWindowLink::handleOf(WindowLink* backend, WindowHandle inner) {
    if (m_keepOtherHandles && backend == m_other.get()) {
        m_entries.insert_or_assign(inner, Entry{backend, inner});
        return inner;
    }
    for (const auto& [handle, e] : m_entries)
        if (e.backend == backend && e.inner == inner) return handle;
    const WindowHandle handle = m_next++;
    m_entries.emplace(handle, Entry{backend, inner});
    return handle;
}

WindowLink* DesktopWindowLink::backendOf(WindowHandle handle, WindowHandle* inner) const {
    auto it = m_entries.find(handle);
    if (it == m_entries.end()) return nullptr;
    if (inner) *inner = it->second.inner;
    return it->second.backend;
}

void DesktopWindowLink::reportNoAnswer(WindowHandle handle) {
    emit statusMessage(NoAnswerText(handle));
}

std::optional<WindowHit> DesktopWindowLink::windowAt(const QPoint& screenPos) {
    WindowLink* backend = m_own.get();
    std::optional<WindowHit> hit = m_own->windowAt(screenPos);
    if (!hit && otherUsable()) {
        backend = m_other.get();
        hit = m_other->windowAt(screenPos);
    }
    if (!hit) return std::nullopt;
    hit->handle = handleOf(backend, hit->handle);
    if (!hit->answered) reportNoAnswer(hit->handle);
    return hit;
}

bool DesktopWindowLink::exists(WindowHandle handle) {
    WindowHandle inner = 0;
    WindowLink* backend = backendOf(handle, &inner);
    return backend && backend->exists(inner);
}

WindowRead DesktopWindowLink::readText(WindowHandle handle) {
    WindowHandle inner = 0;
    WindowLink* backend = backendOf(handle, &inner);
    if (!backend) return {{}, ReadStatus::Gone};
    WindowRead read = backend->readText(inner);
    if (read.status == ReadStatus::NoAnswer) reportNoAnswer(handle);
    return read;
}

} // namespace zuohao::gui
