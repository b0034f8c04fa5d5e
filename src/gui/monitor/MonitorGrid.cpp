#include "gui/monitor/MonitorGrid.h"

#include "gui/common/Fonts.h"
#include "gui/common/QtText.h"
#include "gui/common/Twips.h"

#include <QHeaderView>
#include <QPainter>

#include "core/model/Captions.h"

namespace zuohao::gui {

namespace {
constexpr std::array<const char*, 8> kHeaders = {"",     "期数", "奖号", "中挂",
                                                 "遗漏", "次数", "二阶", "计划"};
// Column 0 is hidden; it keeps the width every column starts with.
constexpr std::array<int, 8> kTwips = {2700, 750, 750, 525, 525, 525, 525, 600};
const QColor kAlarmColour(255, 0, 0);
const QColor kCellBorderColour(224, 224, 224);
} // namespace

MonitorGridRow MonitorGridRow::fromRow(const MonitorRow& row) {
    MonitorGridRow r;
    const QString qishu = toQ(MonitorRowPeriodText(row));
    r.cells[1] = qishu.right(4);
    r.cells[2] = toQ(MonitorRowNumberText(row));
    r.cells[3] = toQ(VerdictText(row.Zgua));
    r.cells[4] = QString::number(row.TOW_yluo);
    r.cells[5] = toQ(HitCountText(row.Zsu));
    // Column 6 (二阶) stays empty: nothing ever sets it.
    r.cells[7] = toQ(PlanMarkText(row.Jhzg));
    r.segmentEnd = row.XHxain == 1;
    r.alarm = row.Jhzg.kind == PlanMark::Alarm;
    return r;
}

QString MonitorGridModel::headerText(int column) {
    if (column < 0 || column >= kColumns) return {};
    return QString::fromUtf8(kHeaders[std::size_t(column)]);
}

int MonitorGridModel::columnTwips(int column) {
    if (column < 0 || column >= kColumns) return 0;
    return kTwips[std::size_t(column)];
}

void MonitorGridModel::layout(int rows) {
    beginResetModel();
    m_rows.assign(std::size_t(std::max(rows, 0)), MonitorGridRow{});
    endResetModel();
}

void MonitorGridModel::setRow(int row, const MonitorGridRow& data) {
    if (row < 0 || row >= int(m_rows.size())) return;
    m_rows[std::size_t(row)] = data;
    emit dataChanged(index(row, 0), index(row, kColumns - 1));
}

int MonitorGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MonitorGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant MonitorGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_rows.size())) return {};
    const MonitorGridRow& r = m_rows[std::size_t(index.row())];
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return r.cells[std::size_t(col)];
    case Qt::ForegroundRole:
        // An alarm stands out in red; every other text, plan results included, is black.
        if (col == kPlanColumn && r.alarm) return kAlarmColour;
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case SegmentEndRole:
        return col >= 1 && r.segmentEnd;
    default:
        return {};
    }
}

QVariant MonitorGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return headerText(section);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
}

void SegmentLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!index.data(MonitorGridModel::SegmentEndRole).toBool()) return;
    // The line lies on the cell's lower edge, over the grid line, two pixels high.
    const QRect& r = option.rect;
    painter->fillRect(QRect(r.left(), r.bottom() - 1, r.width() + 1, 2),
                      option.palette.color(QPalette::Active, QPalette::Highlight));
}

QFont monitorFont() {
    return ChineseFont(10);
}

void setUpMonitorGridView(QTableView* view, MonitorGridModel* model) {
    view->setModel(model);
    view->setItemDelegate(new SegmentLineDelegate(view));
    view->setFont(monitorFont());
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(QFontMetrics(view->font()).height() + 4);
    view->horizontalHeader()->setFont(view->font());
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setMinimumSectionSize(1);
    view->horizontalHeader()->setHighlightSections(false);
    view->setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(%1, %1, %1); }")
                            .arg(kCellBorderColour.red()));
    for (int c = 0; c < MonitorGridModel::kColumns; ++c)
        view->setColumnWidth(c, TwipsToPixels(MonitorGridModel::columnTwips(c)));
    view->setColumnHidden(0, true);
}

} // namespace zuohao::gui
