#pragma once
// The pictures of the window picker, drawn at run time: the hand at rest, the hand while
// it is being dragged (an empty socket: the hand is out on the screen), the hand after a
// window has been picked, and the pointer shown during the drag.
#include <QCursor>
#include <QPixmap>

namespace zuohao::gui {

enum class HandState { Rest, Dragging, Picked };

QPixmap HandPicture(HandState state);
QCursor DragPointer();

} // namespace zuohao::gui
