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

void WrapLabel::forgetHeights() const {
    m_kept.fill({});
    m_nextKept = 0;
}

int WrapLabel::heightForWidth(int width) const {
    if (text() != m_keptText) {
        forgetHeights();
        m_keptText = text();
    }
    for (const KeptHeight& k : m_kept)
        if (k.width == width) return k.height;
    const int height = QLabel::heightForWidth(width);
    m_kept[std::size_t(m_nextKept)] = {width, height};
    m_nextKept = (m_nextKept + 1) % kKeptHeights;
    return height;
}

void WrapLabel::changeEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::ContentsRectChange:
    case QEvent::LayoutDirectionChange:
        forgetHeights();
        break;
    default:
        break;
    }
    QLabel::changeEvent(event);
}

// A new width may need another number of lines: the layout asks again.
void WrapLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    if (event->oldSize().width() != event->size().width() &&
        heightForWidth(event->oldSize().width()) != heightForWidth(event->size().width()))
        updateGeometry();
}

} // namespace zuohao::gui
