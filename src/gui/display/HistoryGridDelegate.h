#pragma once
// Paints a history-grid cell: background, centred text in its colour and weight, the grey
// grid lines and, on a block boundary, the red separator.
#include <QHash>
#include <QStaticText>
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

private:
    // Laid-out texts, by text and weight: the grid shows few distinct texts (counts,
    // digits), so each is laid out once instead of at every paint.
    const QStaticText& laidOut(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> m_plain;
    mutable QHash<QString, QStaticText> m_bold;
};

} // namespace zuohao::gui
