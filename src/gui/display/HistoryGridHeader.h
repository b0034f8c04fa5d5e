#pragma once
// The history grid's two header rows in one horizontal header: block titles above, column
// labels below. Neighbouring cells of one header row with the same text merge into one
// cell; a column whose two header texts are equal (period, number) is one cell over both
// rows. The red block separators run through both rows, except where a block title is
// merged over them.
#include <QHeaderView>

namespace zuohao::gui {

class HistoryGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit HistoryGridHeader(QWidget* parent = nullptr);

    // First and last column of the merged header cell of `level` (0 or 1) over `col`.
    std::pair<int, int> mergedRange(int level, int col) const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QString text(int level, int col) const;
    void paintPart(QPainter* painter, const QRect& part, int level, int col,
                   const QString& text) const;
};

} // namespace zuohao::gui
