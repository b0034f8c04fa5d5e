#include "gui/winlink/HandPictures.h"

#include <QList>
#include <QPainter>
#include <QPainterPath>

namespace zuohao::gui {

namespace {
constexpr int Size = 32;

// A pointing hand in a 32 x 32 cell: the index finger up on the left, the three other
// fingers folded into knuckles beside it, the thumb across the palm's left side. The parts
// are drawn one over the other so that their outlines separate the fingers.
QList<QPainterPath> handParts() {
    QList<QPainterPath> parts;
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(4, 16, 10, 6), 3, 3);
    QPainterPath palm;
    palm.addRoundedRect(QRectF(9, 14, 18, 15), 4, 4);
    parts << thumb << palm;
    for (int k = 0; k < 3; ++k) {
        QPainterPath knuckle;
        knuckle.addRoundedRect(QRectF(15 + 4 * k, 11 + k, 4.5, 8), 2, 2);
        parts << knuckle;
    }
    QPainterPath index;
    index.addRoundedRect(QRectF(10, 2, 5.5, 17), 2.7, 2.7);
    parts << index;
    return parts;
}

void drawHand(QPainter& g, const QPen& pen, const QBrush& brush) {
    g.setPen(pen);
    g.setBrush(brush);
    for (const QPainterPath& part : handParts())
        g.drawPath(part);
}

void drawFrame(QPainter& g) {
    g.setPen(QPen(QColor(120, 120, 120), 1));
    g.setBrush(QColor(250, 250, 250));
    g.drawRect(QRectF(0.5, 0.5, Size - 1, Size - 1));
}
} // namespace

QPixmap HandPicture(HandState state) {
    QPixmap pm(Size, Size);
    pm.fill(Qt::transparent);
    QPainter g(&pm);
    g.setRenderHint(QPainter::Antialiasing);
    drawFrame(g);
    const QPen outline(QColor(90, 60, 30), 1.1);
    const QBrush skin(QColor(245, 200, 150));
    switch (state) {
    case HandState::Rest:
        drawHand(g, outline, skin);
        break;
    case HandState::Dragging: {
        // The hand is away on the screen: only its dotted outline stays behind.
        QPainterPath whole;
        for (const QPainterPath& part : handParts())
            whole = whole.united(part);
        g.setPen(QPen(QColor(150, 150, 150), 1.1, Qt::DotLine));
        g.setBrush(Qt::NoBrush);
        g.drawPath(whole);
        break;
    }
    case HandState::Picked:
        drawHand(g, outline, skin);
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0, 150, 60));
        g.drawEllipse(QRectF(19, 2, 11, 11));
        g.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        g.drawPolyline(QPolygonF({QPointF(21.5, 7.5), QPointF(23.8, 10), QPointF(27.5, 4.8)}));
        break;
    }
    return pm;
}

QCursor DragPointer() {
    QPixmap pm(Size, Size);
    pm.fill(Qt::transparent);
    QPainter g(&pm);
    g.setRenderHint(QPainter::Antialiasing);
    // A hand whose fingertip is the hot spot, over a small blue frame: "the window here".
    g.setPen(QPen(QColor(0, 0, 255), 2));
    g.setBrush(Qt::NoBrush);
    g.drawRect(QRectF(14, 17, 16, 13));
    g.translate(-4, -2); // the index fingertip at the hot spot
    drawHand(g, QPen(Qt::black, 1.1), QColor(245, 200, 150));
    g.end();
    return QCursor(pm, 9, 0);
}

} // namespace zuohao::gui
