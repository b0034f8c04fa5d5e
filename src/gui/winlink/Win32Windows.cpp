#ifdef _WIN32
#include "gui/winlink/Win32Windows.h"

#include <windows.h>

namespace zuohao::gui::win32 {

namespace {
HWND toHwnd(std::uintptr_t handle) {
    return reinterpret_cast<HWND>(handle);
}

// Whether the top-level window's program takes messages: an empty message with the same
// time-out as a read. A program Windows already knows as hung answers at once (no wait).
bool answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(GetAncestor(window, GA_ROOT), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                               AnswerTimeoutMs, &ignored) != 0;
}
} // namespace

std::optional<WindowAtPoint> WindowAt(int x, int y) {
    const POINT screen{x, y};
    HWND window = WindowFromPoint(screen);
    if (!window) return std::nullopt;
    // WindowFromPoint passes over disabled child windows; look further down.
    for (int depth = 0; depth < 64; ++depth) {
        POINT client = screen;
        if (!ScreenToClient(window, &client)) break;
        HWND child =
            ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == window) break;
        window = child;
    }
    WindowAtPoint hit;
    hit.hwnd = reinterpret_cast<std::uintptr_t>(window);
    RECT r{};
    if (GetWindowRect(window, &r)) {
        hit.left = r.left;
        hit.top = r.top;
        hit.right = r.right;
        hit.bottom = r.bottom;
        hit.hasRect = true;
    }
    hit.answered = answers(window);
    return hit;
}

bool Exists(std::uintptr_t hwnd) {
    return hwnd != 0 && IsWindow(toHwnd(hwnd));
}

WindowText ReadText(std::uintptr_t hwnd, int maxChars, unsigned timeoutMs) {
    if (!Exists(hwnd) || maxChars < 0) return {{}, TextStatus::Gone};
    std::wstring buffer(std::size_t(maxChars) + 1, L'\0');
    DWORD_PTR copied = 0;
    const LRESULT sent =
        SendMessageTimeoutW(toHwnd(hwnd), WM_GETTEXT, WPARAM(buffer.size()), LPARAM(buffer.data()),
                            SMTO_ABORTIFHUNG, timeoutMs, &copied);
    if (!sent) return {{}, Exists(hwnd) ? TextStatus::NoAnswer : TextStatus::Gone};
    buffer.resize(std::min<std::size_t>(copied, std::size_t(maxChars)));
    return {std::move(buffer), TextStatus::Ok};
}

} // namespace zuohao::gui::win32
#endif
