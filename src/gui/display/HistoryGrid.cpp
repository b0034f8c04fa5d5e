#include "gui/display/HistoryGrid.h"

#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/common/Fonts.h"
#include "gui/display/GridPalette.h"
#include "gui/display/HistoryGridDelegate.h"
#include "gui/display/HistoryGridHeader.h"
#include "gui/display/HistoryGridModel.h"

namespace zuohao::gui {

namespace {
constexpr int kBoxInset = TwipsToPixels(30); // box left of its column's edge
constexpr int kBoxSize = TwipsToPixels(300);
constexpr int kSelectTextWidth = TwipsToPixels(1500);
constexpr int kCountGap = TwipsToPixels(105);
constexpr int kCountTextWidth = TwipsToPixels(795);
constexpr int kSelectionTop = TwipsToPixels(15);
constexpr int kSelectionHeight = 22;
} // namespace

HistoryGrid::HistoryGrid(QWidget* parent) : QWidget(parent) {
    m_model = new HistoryGridModel(this);

    m_strip = new QWidget(this);
    m_strip->setFixedHeight(kSelectionRowHeight + kCheckRowHeight);
    m_columnArea = new QWidget(m_strip);
    for (int i = 0; i < grid::kSelectChecks; ++i) {
        auto* box = new QCheckBox(m_columnArea);
        box->setObjectName(QStringLiteral("SelectCheck_%1").arg(i));
        m_checks[std::size_t(i)] = box;
    }
    m_down = new QPushButton(QStringLiteral("↓"), m_strip);
    m_down->setObjectName(QStringLiteral("DownCommand"));
    m_down->setFocusPolicy(Qt::NoFocus);
    m_down->setMinimumSize(1, 1);

    m_view = new QTableView(this);
    m_view->setObjectName(QStringLiteral("SortGrid"));
    m_header = new HistoryGridHeader(m_view);
    m_view->setHorizontalHeader(m_header);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new HistoryGridDelegate(m_view));
    m_view->setFont(m_model->gridFont());
    m_header->setFont(m_model->headerFont());
    m_view->setShowGrid(false); // the delegate draws the grid lines and separators
    m_view->setWordWrap(false);
    m_view->setSelectionMode(QAbstractItemView::NoSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Whole rows: the grid scrolls by rows and its viewport holds a whole number of them
    // (fitWholeRows), so the top row is never shown cut, even at the newest row.
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // Tab and Shift+Tab take the focus out of the grid instead of from cell to cell.
    m_view->setTabKeyNavigation(false);
    m_view->setAccessibleName(QStringLiteral("走势表"));
    // The vertical bar always takes its place, so the button above it always has room.
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_view->setCornerButtonEnabled(false);
    QHeaderView* rows = m_view->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(grid::kRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    applyColumnLayout();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_strip);
    layout->addWidget(m_view, 1);

    wireSignals();
}

HistoryGrid::~HistoryGrid() {
    // The children die after this widget's members: their last signals and events
    // (sections hidden, viewport resized) must not reach the strip layout any more.
    m_view->removeEventFilter(this);
    m_view->viewport()->removeEventFilter(this);
    for (QCheckBox* box : m_checks)
        box->removeEventFilter(this);
    for (const auto& edits : {m_selectTexts, m_countTexts})
        for (QLineEdit* edit : edits)
            if (edit) edit->removeEventFilter(this);
    m_header->disconnect(this);
    m_view->horizontalScrollBar()->disconnect(this);
}

void HistoryGrid::wireSignals() {
    connect(m_down, &QPushButton::clicked, this, &HistoryGrid::scrollToLastCell);
    // Everything that moves a column under its box lays the strip out again.
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &HistoryGrid::layoutStrip);
    connect(m_view->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            &HistoryGrid::layoutStrip);
    connect(m_header, &QHeaderView::sectionResized, this, &HistoryGrid::layoutStrip);
    connect(m_header, &QHeaderView::geometriesChanged, this, &HistoryGrid::layoutStrip);
    connect(m_header, &QHeaderView::sectionCountChanged, this, &HistoryGrid::layoutStrip);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    for (QCheckBox* box : m_checks)
        box->installEventFilter(this); // a box that takes the focus is scrolled into sight
}

QCheckBox* HistoryGrid::selectCheck(int i) const {
    if (i < 0 || i >= grid::kSelectChecks) return nullptr;
    return m_checks[std::size_t(i)];
}

QLineEdit* HistoryGrid::selectText(int i) const {
    return m_selectTexts.value(i);
}
QLineEdit* HistoryGrid::countText(int i) const {
    return m_countTexts.value(i);
}

void HistoryGrid::applyColumnLayout() {
    for (int c = 0; c < grid::kColumns && c < m_header->count(); ++c) {
        if (m_header->sectionSize(c) != grid::ColumnWidth(c) && !m_header->isSectionHidden(c))
            m_header->resizeSection(c, grid::ColumnWidth(c));
    }
    if (!m_view->isColumnHidden(0)) m_view->setColumnHidden(0, true);
}

void HistoryGrid::PrepareHistoryGrid(int rows, const QString& lotteryName, const QString& cap) {
    // A new draw of the lottery shown keeps the place the player scrolled to: the same
    // columns, and the same draws at the top (or the newest rows when they were in sight);
    // a first showing scrolls to the last cell.
    QScrollBar* across = m_view->horizontalScrollBar();
    QScrollBar* down = m_view->verticalScrollBar();
    const bool keep = m_shownWithDraws && lotteryName == m_shownLottery;
    const int acrossAt = across->value();
    const int downAt = down->value();
    m_atNewest = down->value() >= down->maximum();
    const int top = m_view->rowAt(0);
    m_topPeriod = top >= 0 ? cellOf(top) : QString();
    // The same rows and headers: the layout, the place and the check boxes' names stand.
    if (!m_model->PrepareHistoryGrid(rows, lotteryName, cap) && keep) return;
    applyColumnLayout();
    for (int i = 0; i < grid::kSelectChecks; ++i) {
        const int col = i + grid::kFirstStatColumn; // named after its column's two header rows
        m_checks[std::size_t(i)]->setAccessibleName(
            QStringLiteral("%1 %2").arg(m_model->cellText(0, col), m_model->cellText(1, col)));
    }
    m_shownLottery = lotteryName;
    m_shownWithDraws = m_model->rowCount() > 0;
    if (!keep) {
        m_topPeriod.clear();
        m_atNewest = true;
        scrollToNewestRow();
        return;
    }
    m_view->doItemsLayout();
    across->setValue(acrossAt);
    down->setValue(m_atNewest ? down->maximum() : downAt);
    layoutStrip();
}

QString HistoryGrid::cellOf(int row) const {
    return m_model->index(row, grid::kPeriodColumn).data().toString();
}

void HistoryGrid::keepTopDraw() {
    QScrollBar* down = m_view->verticalScrollBar();
    if (m_atNewest) {
        down->setValue(down->maximum());
        return;
    }
    for (int r = 0; r < m_model->rowCount(); ++r) {
        if (!m_topPeriod.isEmpty() && cellOf(r) == m_topPeriod) {
            down->setValue(r); // the grid scrolls by rows
            return;
        }
    }
}

void HistoryGrid::scrollToLastCell() {
    // Bring the scroll ranges up to date with the rows just laid out, then scroll.
    m_view->doItemsLayout();
    const int last = m_model->rowCount() - 1;
    if (last >= 0) {
        m_view->scrollTo(m_model->index(last, grid::kLastColumn), QAbstractItemView::EnsureVisible);
    } else {
        m_view->horizontalScrollBar()->setValue(m_view->horizontalScrollBar()->maximum());
    }
    layoutStrip();
}

void HistoryGrid::scrollToNewestRow() {
    // Opened at the left: a narrow window shows the period and the draw of each row, and the
    // player scrolls to the statistics (or clicks ↓ for the last cell).
    m_view->doItemsLayout();
    const int last = m_model->rowCount() - 1;
    if (last >= 0)
        m_view->scrollTo(m_model->index(last, grid::kPeriodColumn),
                         QAbstractItemView::EnsureVisible);
    m_view->horizontalScrollBar()->setValue(m_view->horizontalScrollBar()->minimum());
    layoutStrip();
}

void HistoryGrid::bringIntoView(QWidget* control) {
    const QRect r = control->geometry();
    const int width = m_columnArea->width();
    QScrollBar* across = m_view->horizontalScrollBar();
    if (r.left() < 0)
        across->setValue(across->value() + r.left());
    else if (r.right() >= width)
        across->setValue(across->value() + std::min(r.right() - width + 1, r.left()));
}

void HistoryGrid::setSelectionRow(const QList<QLineEdit*>& selectTexts,
                                  const QList<QLineEdit*>& countTexts) {
    m_selectTexts.clear();
    m_countTexts.clear();
    for (QLineEdit* edit : selectTexts)
        m_selectTexts.append(edit);
    for (QLineEdit* edit : countTexts)
        m_countTexts.append(edit);
    const auto& palette = GridPalette();
    auto dress = [&](QLineEdit* edit, int group, bool bold) {
        if (!edit) return;
        edit->setParent(m_columnArea);
        edit->installEventFilter(this); // scrolled into sight when it takes the focus
        edit->setFont(ChineseFont(10, bold));
        QPalette p = edit->palette();
        p.setColor(QPalette::Base, palette[std::size_t(group % kPaletteSize)].pale);
        edit->setPalette(p);
        edit->show();
    };
    for (int i = 0; i < m_selectTexts.size(); ++i) {
        dress(m_selectTexts[i], i, false);
        if (m_selectTexts[i]) m_selectTexts[i]->clear();
    }
    for (int i = 0; i < m_countTexts.size(); ++i)
        dress(m_countTexts[i], i, true);
    layoutStrip();
}

void HistoryGrid::layoutStrip() {
    // The strip's column area lies exactly over the grid's viewport, so a column's
    // viewport position is also its position in the area.
    const QRect vp = m_view->viewport()->geometry();
    const int left = m_view->x() + vp.x();
    m_columnArea->setGeometry(left, 0, vp.width(), m_strip->height());

    // The button stands above the vertical scroll bar, beside the boxes, never on them.
    const int downLeft = left + vp.width();
    m_down->setGeometry(downLeft, kSelectionRowHeight, std::max(width() - downLeft, 1),
                        kCheckRowHeight);
    m_down->raise();

    const int columns = m_model->columnCount();
    for (int i = 0; i < grid::kSelectChecks; ++i) {
        QCheckBox* box = m_checks[std::size_t(i)];
        const int col = i + grid::kFirstStatColumn;
        if (col >= columns || col >= m_header->count() || m_header->isSectionHidden(col)) {
            box->hide();
            continue;
        }
        const int x = m_header->sectionViewportPosition(col);
        const int w = m_header->sectionSize(col);
        // The box stays inside its column even when the column is narrower than the box.
        box->setGeometry(x + kBoxInset, kSelectionRowHeight,
                         std::max(std::min(kBoxSize, w - kBoxInset), 1), kCheckRowHeight);
        box->show();
    }

    for (int i = 0; i < m_selectTexts.size(); ++i) {
        QCheckBox* anchor = selectCheck(CheckOf(i, 0));
        QLineEdit* select = m_selectTexts[i];
        QLineEdit* count = m_countTexts.value(i);
        if (!anchor || !select) continue;
        select->setGeometry(anchor->x(), kSelectionTop, kSelectTextWidth, kSelectionHeight);
        if (count)
            count->setGeometry(select->geometry().right() + 1 + kCountGap, kSelectionTop,
                               kCountTextWidth, kSelectionHeight);
    }
}

bool HistoryGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        auto* control = qobject_cast<QWidget*>(watched);
        if (control && control->parentWidget() == m_columnArea) bringIntoView(control);
    }
    if ((watched == m_view || watched == m_view->viewport()) &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move ||
         event->type() == QEvent::Show)) {
        layoutStrip();
        if (watched == m_view->viewport()) fitWholeRows();
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryGrid::fitWholeRows() {
    // The height a row would leave cut goes below the grid instead.
    QLayout* column = layout();
    if (!column) return;
    const int chrome = m_view->height() - m_view->viewport()->height(); // header, bars, frame
    const int room = height() - m_strip->height() - chrome;
    const int spare = room > 0 ? room % grid::kRowHeight : 0;
    if (spare != column->contentsMargins().bottom()) column->setContentsMargins(0, 0, 0, spare);
    // At the newest row the rows stand on the viewport's bottom edge: align them anew.
    const QScrollBar* down = m_view->verticalScrollBar();
    if (down->value() == down->maximum()) m_view->verticalHeader()->setOffsetToLastSection();
}

void HistoryGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutStrip();
    fitWholeRows();
}

void HistoryGrid::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    layoutStrip();
}

} // namespace zuohao::gui
