#pragma once
// What the windows share for the keyboard: a Tab order that follows a panel, and buttons
// with a shortcut the tooltip tells.
#include <QKeySequence>
#include <QList>

class QAbstractButton;
class QWidget;

namespace zuohao::gui {

// Tab goes through `chain` in its order (null entries are skipped).
void SetTabChain(const QList<QWidget*>& chain);

// Gives `button` the shortcut `keys` (active while its window is) and adds the keys to its
// tooltip, "开始缩水（Ctrl+Enter）"; `tip` is the tooltip's text, the caption when empty.
void SetShortcut(QAbstractButton* button, const QKeySequence& keys, const QString& tip = {});

} // namespace zuohao::gui
