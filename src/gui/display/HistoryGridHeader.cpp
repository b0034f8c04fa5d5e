#include "gui/display/HistoryGridHeader.h"

#include <QPainter>

#include "gui/display/GridGeometry.h"
#include "gui/display/HistoryGridModel.h"

namespace zuohao::gui {

namespace {
const QColor kHeaderBackground(0xF0, 0xF0, 0xF0);
const QColor kGridLine(0xC0, 0xC0, 0xC0);
const QColor kSeparator(255, 0, 0);
} // namespace

HistoryGridHeader::HistoryGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(1);
    setFixedHeight(grid::kHeaderRows * grid::kHeaderRowHeight);
    // A merged title is drawn centred over all its columns, so a change of any column
    // width moves text in columns that were not resized.
    connect(this, &QHeaderView::sectionResized, this, [this] { viewport()->update(); });
}

QSize HistoryGridHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    size.setHeight(grid::kHeaderRows * grid::kHeaderRowHeight);
    return size;
}

QString HistoryGridHeader::text(int level, int col) const {
    if (!model()) return {};
    const int role = level == 0 ? int(HistoryGridModel::HeaderTopRole) : int(Qt::DisplayRole);
    return model()->headerData(col, Qt::Horizontal, role).toString();
}

std::pair<int, int> HistoryGridHeader::mergedRange(int level, int col) const {
    const QString t = text(level, col);
    int first = col;
    int last = col;
    while (first - 1 >= 0 && !isSectionHidden(first - 1) && text(level, first - 1) == t)
        --first;
    while (last + 1 < count() && !isSectionHidden(last + 1) && text(level, last + 1) == t)
        ++last;
    return {first, last};
}

void HistoryGridHeader::paintPart(QPainter* painter, const QRect& part, int level, int col,
                                  const QString& t) const {
    const auto [first, last] = mergedRange(level, col);
    const int left = sectionViewportPosition(first);
    const int right = sectionViewportPosition(last) + sectionSize(last);
    const QRect span(left, part.top(), right - left, part.height());

    painter->save();
    painter->setClipRect(part);
    painter->fillRect(part, kHeaderBackground);
    painter->setPen(Qt::black);
    painter->drawText(span, Qt::AlignCenter, t);
    painter->setPen(kGridLine);
    painter->drawLine(part.bottomLeft(), part.bottomRight());
    // A merged cell is one cell: lines only at its right end. The red block separator
    // stands there too; inside a merged block title it would cross the title's text.
    if (col == last) {
        painter->setPen(grid::HasSeparatorRight(col) ? kSeparator : kGridLine);
        painter->drawLine(part.topRight(), part.bottomRight());
    }
    painter->restore();
}

void HistoryGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid() || !model()) return;
    painter->setFont(
        model()->headerData(logicalIndex, Qt::Horizontal, Qt::FontRole).value<QFont>());
    const QString top = text(0, logicalIndex);
    const QString labels = text(1, logicalIndex);
    if (top == labels) {
        paintPart(painter, rect, 0, logicalIndex, top);
    } else {
        const int split = rect.top() + grid::kHeaderRowHeight;
        paintPart(painter, QRect(rect.left(), rect.top(), rect.width(), split - rect.top()), 0,
                  logicalIndex, top);
        paintPart(painter, QRect(rect.left(), split, rect.width(), rect.bottom() + 1 - split), 1,
                  logicalIndex, labels);
    }
}

} // namespace zuohao::gui
