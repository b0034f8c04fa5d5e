#pragma once
// The history grid's contents: one row per held draw, with the statistics of the chosen
// position group laid out as five trend blocks. The two header rows (block titles above,
// column labels below) are given as header data; data rows are the grid rows from 2 on.
#include <QAbstractTableModel>
#include <QFont>
#include <QString>
#include <QVariant>
#include <array>
#include <bitset>
#include <vector>

#include "core/model/LotteryItem.h"
#include "gui/display/GridGeometry.h"

namespace zuohao::gui {

class HistoryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        // Header data: the text of header row 0 (the merged block titles).
        HeaderTopRole = Qt::UserRole + 1,
        // Cell data: true when the cell is a hit.
        MarkedRole,
    };

    explicit HistoryGridModel(QObject* parent = nullptr);

    // Lays the grid out for `rows` grid rows, the two header rows included (at least 2):
    // every data row empty, the headers written for the lottery's name and the caption of
    // the chosen position group (e.g. " 千百个"). True when the grid's shape or headers changed
    // (the views lay it out anew); the same shape keeps its rows in place, emptied.
    bool PrepareHistoryGrid(int rows, const QString& lotteryName, const QString& cap);
    // Fills grid row `row` (2 .. gridRowCount() - 1) from the draw's statistics row of
    // position group `curWei`. Rows out of range are ignored.
    void FillHistoryRow(const LotteryItem& item, int row, int curWei);
    void FillHistoryRow(const GridRow& cells, int row);

    // Grid rows, the two header rows included.
    int gridRowCount() const { return rowCount() + grid::kHeaderRows; }
    // Text of a grid cell; rows 0 and 1 are the header rows.
    QString cellText(int gridRow, int col) const;
    bool isMarked(int gridRow, int col) const;
    // Header text of row `level` (0 or 1) over column `col`.
    QString headerText(int level, int col) const;

    const QFont& gridFont() const { return m_font; }
    const QFont& headerFont() const { return m_boldFont; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    struct Row {
        std::array<QString, grid::kColumns> text;
        std::bitset<grid::kColumns> marked;
    };

    void writeHeaders(const QString& lotteryName, const QString& cap);

    std::vector<Row> m_rows;
    std::array<std::array<QString, grid::kColumns>, grid::kHeaderRows> m_header;
    // Values handed out by data(), made once so that painting allocates nothing.
    std::array<QVariant, grid::kColumns> m_background;
    std::array<QVariant, grid::kColumns> m_markedBackground;
    QVariant m_black, m_white, m_centre, m_fontVariant, m_boldFontVariant;
    QFont m_font, m_boldFont;
};

} // namespace zuohao::gui
