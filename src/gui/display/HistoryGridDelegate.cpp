#include "gui/display/HistoryGridDelegate.h"

#include <QPainter>

#include "gui/display/GridGeometry.h"

namespace zuohao::gui {

namespace {
const QColor kGridLine(0xC0, 0xC0, 0xC0);
const QColor kSeparator(255, 0, 0);
// Above the distinct texts a screen of the grid shows; each new draw brings new ones (its
// period, its number), so the bound is what keeps the memory flat from the first draws on.
constexpr qsizetype kCacheLimit = 1024;
} // namespace

const QStaticText& HistoryGridDelegate::laidOut(const QString& text, const QFont& font) const {
    auto& cache = font.bold() ? m_bold : m_plain;
    auto it = cache.find(text);
    if (it == cache.end()) {
        if (cache.size() > kCacheLimit) cache.clear();
        QStaticText laid(text);
        laid.setTextFormat(Qt::PlainText);
        laid.setPerformanceHint(QStaticText::AggressiveCaching);
        laid.prepare(QTransform(), font);
        it = cache.insert(text, laid);
    }
    return *it;
}

void HistoryGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect r = option.rect;
    const QVariant background = index.data(Qt::BackgroundRole);
    painter->fillRect(r, background.isValid() ? background.value<QColor>()
                                              : option.palette.base().color());

    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const QVariant fontData = index.data(Qt::FontRole);
        const QFont font = fontData.isValid() ? fontData.value<QFont>() : option.font;
        painter->setFont(font);
        const QVariant foreground = index.data(Qt::ForegroundRole);
        painter->setPen(foreground.isValid() ? foreground.value<QColor>()
                                             : option.palette.text().color());
        const QStaticText& laid = laidOut(text, font);
        const QSizeF size = laid.size();
        painter->drawStaticText(QPoint(r.left() + qRound((r.width() - size.width()) / 2.0),
                                       r.top() + qRound((r.height() - size.height()) / 2.0)),
                                laid);
    }

    // The cell's bottom and right lines, one pixel each, filled rather than stroked: the same
    // pixels for much less work, a cell at a time.
    painter->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), kGridLine);
    painter->fillRect(QRect(r.right(), r.top(), 1, r.height()),
                      grid::HasSeparatorRight(index.column()) ? kSeparator : kGridLine);
}

} // namespace zuohao::gui
