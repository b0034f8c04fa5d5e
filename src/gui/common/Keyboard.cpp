#include "gui/common/Keyboard.h"

#include <QAbstractButton>
#include <QShortcut>
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

QString CaptionName(const QString& caption) {
    // "开  始  缩  水" is spaced for the eye: a screen reader and a voice user read "开始缩水".
    // A space beside a letter, a digit or a bracket stays ("复制大底 [945注]").
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] != u' ') {
            out += caption[i];
            continue;
        }
        qsizetype next = i;
        while (next < caption.size() && caption[next] == u' ')
            ++next;
        const bool wideBefore = !out.isEmpty() && out.back().unicode() > 0x7f;
        const bool wideAfter = next < caption.size() && caption[next].unicode() > 0x7f;
        if (!(wideBefore && wideAfter)) out += u' ';
        i = next - 1;
    }
    return out.trimmed();
}

void SetCaption(QAbstractButton* button, const QString& caption) {
    button->setText(caption);
    button->setAccessibleName(CaptionName(caption));
}

void SetShortcut(QAbstractButton* button, const QKeySequence& keys, const QString& tip) {
    // A shortcut object of its own: a button's own shortcut goes with its next setText(), and
    // these captions change (the count of 复制大底, 正在计划). It answers while the button can
    // be pressed, as the button's own would.
    auto* shortcut = new QShortcut(keys, button);
    shortcut->setObjectName(button->objectName() + QStringLiteral("_Shortcut"));
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
        if (button->isEnabled()) button->click();
    });
    const QString keyText = keys.toString(QKeySequence::NativeText);
    const QString name = CaptionName(button->text());
    button->setToolTip(QStringLiteral("%1（%2）").arg(tip.isEmpty() ? name : tip, keyText));
    // The name is what the player sees; what the button does goes in the description.
    button->setAccessibleName(name);
    button->setAccessibleDescription(tip.isEmpty() ? keyText
                                                   : QStringLiteral("%1，%2").arg(tip, keyText));
}

} // namespace zuohao::gui
