#pragma once
// The main window's history grid `SortGrid` with what stands over it: the selection row
// (per group a selection text and a count, handed in by the conditions panel) and the 66
// selection boxes `SelectCheck`, each over its statistics column 3 .. 68, kept over it
// while the grid scrolls sideways or its columns change width. The button `DownCommand`
// ("↓") scrolls the grid to its last cell.
#include <QList>
#include <QPointer>
#include <QWidget>
#include <array>

#include "core/model/ConditionSet.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableView;

namespace zuohao::gui {

class HistoryGridModel;
class HistoryGridHeader;

class HistoryGrid : public QWidget {
    Q_OBJECT
public:
    // Heights of the strip over the grid: the selection row, then the row of boxes.
    static constexpr int kSelectionRowHeight = 24;
    static constexpr int kCheckRowHeight = 20;

    explicit HistoryGrid(QWidget* parent = nullptr);
    ~HistoryGrid() override;

    QTableView* view() const { return m_view; }
    HistoryGridModel* model() const { return m_model; }
    HistoryGridHeader* header() const { return m_header; }
    // Selection box i (0 .. 65), over grid column i + 3.
    QCheckBox* selectCheck(int i) const;
    QPushButton* downCommand() const { return m_down; }
    // The selection row's boxes once handed in (nullptr before, or out of range).
    QLineEdit* selectText(int i) const;
    QLineEdit* countText(int i) const;

    // Lays the grid out for `rows` grid rows (header rows included) with the lottery's name
    // and the chosen group's caption, every data row empty. The first time a lottery's
    // draws are shown it scrolls to the last cell; later it keeps the player's place.
    void PrepareHistoryGrid(int rows, const QString& lotteryName, const QString& cap);
    // Takes over the selection row: group i's selection text stands at the left edge of
    // box 14·i, its count text to the right of it; both on the pale colour of pair i, in
    // the Chinese font at size 10, the count bold. The boxes are reparented into the strip.
    void setSelectionRow(const QList<QLineEdit*>& selectTexts, const QList<QLineEdit*>& countTexts);
    // After the rows of a redraw are filled: the draw that stood at the top before it
    // stands there again (unless the newest rows were in sight, which stay so).
    void keepTopDraw();
    // Makes the last cell (last row, column 68) visible.
    void scrollToLastCell();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applyColumnLayout();
    void layoutStrip();
    void fitWholeRows();
    // A first showing: the newest row, with 期号 and 号码 in sight.
    void scrollToNewestRow();
    // Scrolls across so that a control of the strip that took the focus stands in sight.
    void bringIntoView(QWidget* control);
    QString cellOf(int row) const; // the period label of a data row
    void wireSignals();

    HistoryGridModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    HistoryGridHeader* m_header = nullptr;
    QWidget* m_strip = nullptr;
    QWidget* m_columnArea = nullptr; // over the grid's viewport: clips what scrolls away
    QPushButton* m_down = nullptr;
    QString m_shownLottery;
    bool m_shownWithDraws = false;
    bool m_atNewest = true;
    QString m_topPeriod; // the draw at the top when the redraw began
    std::array<QCheckBox*, kCheckCount> m_checks{};
    // Handed in by the conditions panel; guarded, as their owner may delete them.
    QList<QPointer<QLineEdit>> m_selectTexts;
    QList<QPointer<QLineEdit>> m_countTexts;
};

} // namespace zuohao::gui
