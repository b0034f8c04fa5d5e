#ifdef _WIN32
#include "gui/winlink/Win32WindowLink.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "gui/winlink/Win32Windows.h"

namespace zuohao::gui {

namespace {
// Qt works in device-independent pixels, the window system in physical ones.
qreal ratioAt(const QPoint& pos) {
    const QScreen* screen = QGuiApplication::screenAt(pos);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}
} // namespace

std::optional<WindowHit> Win32WindowLink::windowAt(const QPoint& screenPos) {
    const qreal ratio = ratioAt(screenPos);
    const auto found = win32::WindowAt(int(std::lround(screenPos.x() * ratio)),
                                       int(std::lround(screenPos.y() * ratio)));
    if (!found) return std::nullopt;
    WindowHit hit;
    hit.handle = WindowHandle(found->hwnd);
    if (found->hasRect)
        hit.rect = QRect(QPoint(int(found->left / ratio), int(found->top / ratio)),
                         QPoint(int((found->right - 1) / ratio), int((found->bottom - 1) / ratio)));
    hit.answered = found->answered;
    return hit;
}

bool Win32WindowLink::exists(WindowHandle handle) {
    return win32::Exists(std::uintptr_t(handle));
}

WindowRead Win32WindowLink::readText(WindowHandle handle) {
    const win32::WindowText read = win32::ReadText(std::uintptr_t(handle), MaxWindowTextLength);
    switch (read.status) {
    case win32::TextStatus::Gone:
        return {{}, ReadStatus::Gone};
    case win32::TextStatus::NoAnswer:
        return {{}, ReadStatus::NoAnswer};
    case win32::TextStatus::Ok:
        break;
    }
    return {QString::fromWCharArray(read.text.data(), qsizetype(read.text.size())), ReadStatus::Ok};
}

} // namespace zuohao::gui
#endif
