#include "gui/display/HistoryGridDelegate.h"

#include <QPainter>

#include "gui/display/GridGeometry.h"

namespace zuohao::gui {

namespace {
const QColor kGridLine(0xC0, 0xC0, 0xC0);
const QColor kSeparator(255, 0, 0);
} // namespace

void HistoryGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect r = option.rect;
    const QVariant background = index.data(Qt::BackgroundRole);
    painter->fillRect(r, background.isValid() ? background.value<QColor>()
                                              : option.palette.base().color());

    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const QVariant font = index.data(Qt::FontRole);
        painter->setFont(font.isValid() ? font.value<QFont>() : option.font);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        painter->setPen(foreground.isValid() ? foreground.value<QColor>()
                                             : option.palette.text().color());
        painter->drawText(r, Qt::AlignCenter, text);
    }

    painter->setPen(kGridLine);
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->setPen(grid::HasSeparatorRight(index.column()) ? kSeparator : kGridLine);
    painter->drawLine(r.topRight(), r.bottomRight());
}

} // namespace zuohao::gui
