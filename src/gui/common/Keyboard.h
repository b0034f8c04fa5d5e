#pragma once
// What the windows share for the keyboard: a Tab order that follows a panel, and buttons
// with a shortcut the tooltip tells.
#include <QKeySequence>
#include <QList>
#include <QString>

class QAbstractButton;
class QWidget;

namespace zuohao::gui {

// Tab goes through `chain` in its order (null entries are skipped).
void SetTabChain(const QList<QWidget*>& chain);

// Gives `button` the shortcut `keys` (active while its window is and the button is enabled,
// whatever its caption becomes) and adds the keys to its tooltip, "开始缩水（Ctrl+Enter）";
// `tip` is the tooltip's text, the caption when empty. The accessible name is the caption, the
// tip and keys its description.
void SetShortcut(QAbstractButton* button, const QKeySequence& keys, const QString& tip = {});

// The accessible name of a caption: spacing between Chinese characters dropped
// ("开  始  缩  水" → "开始缩水", "复制大底 [945注]" stays).
QString CaptionName(const QString& caption);

// Sets a button's caption and keeps its accessible name equal to it.
void SetCaption(QAbstractButton* button, const QString& caption);

} // namespace zuohao::gui
