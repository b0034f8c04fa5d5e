#pragma once
// The outline of the window under the pointer while a hand is dragged: a frameless window
// that stays on top, lets every mouse event through and is masked to a 3-pixel blue frame,
// so that nothing inside the outlined window is covered and no drawing on the screen needs
// undoing.
#include <QWidget>

namespace zuohao::gui {

inline constexpr int OutlineWidth = 3;

// A rectangle clamped to the screen: left and top not below the screen's, right and
// bottom not beyond it. An empty result when nothing of it is on the screen.
QRect ClampToScreen(const QRect& rect, const QRect& screen);

class OutlineFrame : public QWidget {
public:
    OutlineFrame();
    // Shows the frame along the inside of `rect` (screen coordinates).
    void showAt(const QRect& rect);

protected:
    void paintEvent(QPaintEvent*) override;
};

} // namespace zuohao::gui
