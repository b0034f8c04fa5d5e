#pragma once
// Other programs' windows on Windows, asked through the window system itself. Plain C++ over
// the Win32 API (no Qt), so it can be tested on its own. Only reads: a picked window is never
// written to, and every message to it is sent with a time-out.
#include <cstdint>
#include <optional>
#include <string>

namespace zuohao::gui::win32 {

// How long a window may take to answer before it is treated as not answering.
inline constexpr unsigned AnswerTimeoutMs = 2000;

struct WindowAtPoint {
    std::uintptr_t hwnd = 0;
    int left = 0, top = 0, right = 0, bottom = 0; // screen rectangle (physical pixels)
    bool hasRect = false;
    bool answered = true; // false when the window's program did not answer in time
};

// The innermost visible window at a screen point (physical pixels): WindowFromPoint, then
// down through the children with ChildWindowFromPointEx (which also finds disabled ones).
std::optional<WindowAtPoint> WindowAt(int x, int y);

// Whether the handle denotes a window (IsWindow; false for 0).
bool Exists(std::uintptr_t hwnd);

enum class TextStatus { Ok, Gone, NoAnswer };

struct WindowText {
    std::wstring text;
    TextStatus status = TextStatus::Ok;
};

// The window's text by WM_GETTEXT, at most `maxChars` characters, sent with
// SendMessageTimeoutW (SMTO_ABORTIFHUNG, `timeoutMs`): a hung program never holds us longer.
WindowText ReadText(std::uintptr_t hwnd, int maxChars, unsigned timeoutMs = AnswerTimeoutMs);

} // namespace zuohao::gui::win32
