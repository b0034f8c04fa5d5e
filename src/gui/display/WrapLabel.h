#pragma once
// A word-wrapped label that asks its layout for the height its lines need at its present
// width (never fewer than `minLines`), so that a tight layout gives it room, or a scroll
// area scrolls, instead of cutting its last lines off.
#include <QLabel>

namespace zuohao::gui {

class WrapLabel : public QLabel {
    Q_OBJECT
public:
    explicit WrapLabel(QWidget* parent = nullptr, int minLines = 1);
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int neededHeight(int guess) const;
    int m_minLines = 1;
};

} // namespace zuohao::gui
