#include "gui/winlink/OutlineFrame.h"

#include <QPainter>

namespace zuohao::gui {

QRect ClampToScreen(const QRect& rect, const QRect& screen) {
    return rect.intersected(screen);
}

OutlineFrame::OutlineFrame()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus |
                           Qt::X11BypassWindowManagerHint) {
    setObjectName(QStringLiteral("HoverOutline"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
}

void OutlineFrame::showAt(const QRect& rect) {
    if (rect.isEmpty()) {
        hide();
        return;
    }
    if (geometry() != rect) {
        setGeometry(rect);
        const QRect inner(0, 0, rect.width(), rect.height());
        QRegion frame(inner);
        frame -= QRegion(inner.adjusted(OutlineWidth, OutlineWidth, -OutlineWidth, -OutlineWidth));
        setMask(frame);
    }
    if (!isVisible()) show();
    raise();
}

void OutlineFrame::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), QColor(0, 0, 255));
}

} // namespace zuohao::gui
