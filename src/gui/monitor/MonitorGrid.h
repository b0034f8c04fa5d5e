#pragma once
// The monitor grid ZSGrid(0): one header row and up to 100 evaluated periods, eight columns
// of which column 0 is hidden. The model keeps its own copy of what it shows, so the grid
// keeps its content when the monitor rows are emptied or hold a single row.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <array>
#include <vector>

namespace zuohao {
struct MonitorRow;
}

namespace zuohao::gui {

// The texts of one grid row, taken from a monitor row.
struct MonitorGridRow {
    std::array<QString, 8> cells; // column 0 stays empty
    bool segmentEnd = false;      // the last period of a segment: a line closes it
    bool alarm = false;           // the plan column holds the alarm: shown in red

    static MonitorGridRow fromRow(const MonitorRow& row);
};

class MonitorGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;
    static constexpr int kPlanColumn = 7;
    // True on columns 1 to 7 of a row that ends a segment.
    static constexpr int SegmentEndRole = Qt::UserRole + 1;

    // Header texts of columns 1 to 7 and every column's width in twips (15 per pixel).
    static QString headerText(int column);
    static int columnTwips(int column);

    using QAbstractTableModel::QAbstractTableModel;

    // Clears the grid and gives it `rows` empty data rows.
    void layout(int rows);
    // Writes data row `row` (0 = the first row under the header).
    void setRow(int row, const MonitorGridRow& data);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<MonitorGridRow> m_rows;
};

// Draws the 2-pixel line in the highlight colour under the last row of each segment.
class SegmentLineDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The grid's font: 微软雅黑 10 where installed, else a CJK font of the desktop.
QFont monitorFont();

// Sets up a table view over a MonitorGridModel: column widths, hidden column 0, light grey
// cell borders, the segment line, read-only cells.
void setUpMonitorGridView(QTableView* view, MonitorGridModel* model);

} // namespace zuohao::gui
