#include "gui/display/WrapLabel.h"

#include <QResizeEvent>
#include <algorithm>

namespace zuohao::gui {

WrapLabel::WrapLabel(QWidget* parent, int minLines) : QLabel(parent), m_minLines(minLines) {
    setWordWrap(true);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
}

// The height at the present width; before the first layout QLabel's own guess (`guess`).
int WrapLabel::neededHeight(int guess) const {
    const int height =
        testAttribute(Qt::WA_Resized) && width() > 0 ? heightForWidth(width()) : guess;
    return std::max(m_minLines * fontMetrics().lineSpacing(), height);
}

QSize WrapLabel::minimumSizeHint() const {
    const QSize own = QLabel::minimumSizeHint();
    return {own.width(), neededHeight(own.height())};
}

QSize WrapLabel::sizeHint() const {
    const QSize own = QLabel::sizeHint();
    return {own.width(), neededHeight(own.height())};
}

// A new width may need another number of lines: the layout asks again.
void WrapLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (event->oldSize().width() != event->size().width() &&
        heightForWidth(event->oldSize().width()) != heightForWidth(event->size().width()))
        updateGeometry();
}

} // namespace zuohao::gui
