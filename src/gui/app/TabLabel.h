#pragma once
// The text of a lottery tab; a press on it selects the lottery.
#include <QLabel>
#include <QMouseEvent>

namespace zuohao::gui {

class TabLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) emit clicked();
        QLabel::mousePressEvent(e);
    }
};

} // namespace zuohao::gui
