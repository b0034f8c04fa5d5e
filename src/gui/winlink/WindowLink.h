#pragma once
// The link to windows picked on the screen: find the readable window at a point, tell
// whether a picked window is still there, read its text. Nothing is ever written to a
// picked window.
//
// A picked window is known only by its handle: a non-zero number that the link hands out
// (0 = none). The main window keeps it as decimal text in LabelHwnd_i. Each backend maps
// its own references (a widget of this program, an X window with its accessible object,
// later a Windows HWND) to such numbers.
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

namespace zuohao::gui {

using WindowHandle = quint64;

// At most this many characters are read from a window.
inline constexpr int MaxWindowTextLength = 65000;

// The window found at a screen point and its screen rectangle (empty when unknown).
struct WindowHit {
    WindowHandle handle = 0;
    QRect rect;
    // False when the program under the point did not answer in time; the hit is then its
    // bare top-level window.
    bool answered = true;
};

enum class ReadStatus {
    Ok,       // the text was read (it may be empty)
    Gone,     // no such window any more: reads as empty
    NoAnswer, // the window did not answer in time: reads as empty
};

struct WindowRead {
    QString text;
    ReadStatus status = ReadStatus::Ok;
};

class WindowLink {
public:
    virtual ~WindowLink() = default;

    // The readable window at a point of the screen (global, device-independent pixels);
    // nothing when this link finds no window there.
    virtual std::optional<WindowHit> windowAt(const QPoint& screenPos) = 0;
    // Whether a handle handed out by windowAt still denotes a window (false for 0).
    virtual bool exists(WindowHandle handle) = 0;
    // The window's text, at most MaxWindowTextLength characters.
    virtual WindowRead readText(WindowHandle handle) = 0;
    // Why this link cannot be used on this desktop; empty when it can. May wait briefly
    // for the link's start-up the first time.
    virtual QString unavailableReason() { return {}; }
};

// The handle kept in a label's text: the decimal number at its start, 0 when none.
WindowHandle HandleFromText(const QString& text);

// The text of a picked window: empty for handle 0 or a window that is gone; at most
// MaxWindowTextLength characters, NULs removed, spaces trimmed at both ends. With a width
// ("3" or "3,4") only a first line made wholly of numbers of that width is returned, each
// optionally followed by one space; otherwise the empty text.
// `raw`, when given, receives the text before the width filter (for what it left out).
QString ReadWindowText(WindowLink& link, WindowHandle handle, const QString& width = {},
                       QString* raw = nullptr);

// The digits of the first line of a picked window's text ("1 3,5" gives "135").
QString ReadWindowDigits(WindowLink& link, WindowHandle handle);

// The part of a text before its first line break (CR LF, LF, CR or a Unicode line or
// paragraph separator, as the accessibility bus may deliver them).
QString FirstLine(const QString& text);

} // namespace zuohao::gui
