#include "gui/common/Keyboard.h"

#include <QAbstractButton>
#include <QWidget>

namespace zuohao::gui {

void SetTabChain(const QList<QWidget*>& chain) {
    QWidget* previous = nullptr;
    for (QWidget* w : chain) {
        if (!w) continue;
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

void SetShortcut(QAbstractButton* button, const QKeySequence& keys, const QString& tip) {
    button->setShortcut(keys);
    // The caption's spacing ("开  始  缩  水") is for the eye, not for the tooltip.
    const QString text = tip.isEmpty() ? button->text().remove(QLatin1Char(' ')) : tip;
    button->setToolTip(
        QStringLiteral("%1（%2）").arg(text, keys.toString(QKeySequence::NativeText)));
    if (button->accessibleName().isEmpty()) button->setAccessibleName(text);
}

} // namespace zuohao::gui
