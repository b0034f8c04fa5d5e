#pragma once
// Paints a history-grid cell: background, centred text in its colour and weight, the grey
// grid lines and, on a block boundary, the red separator.
#include <QStyledItemDelegate>

namespace zuohao::gui {

class HistoryGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        return nullptr;
    }
};

} // namespace zuohao::gui
