#include "gui/common/LastingNote.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace zuohao::gui {

LastingNote::LastingNote(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("LastingNote"));
    setFrameShape(QFrame::StyledPanel);
    setStyleSheet(QStringLiteral("QFrame#LastingNote { background: #FFF4CC; }"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 1, 2, 1);
    row->setSpacing(6);
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("LastingNoteText"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path never widens the window past the screen: it is cut, whole in the tooltip.
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(m_text, 1);
    m_dismiss = new QPushButton(QStringLiteral("知道了"), this);
    m_dismiss->setObjectName(QStringLiteral("LastingNoteDismiss"));
    row->addWidget(m_dismiss);
    connect(m_dismiss, &QPushButton::clicked, this, &LastingNote::dismiss);
    hide();
}

void LastingNote::showNote(const QString& text) {
    // A note not yet dismissed stays above the new one.
    const QString shown =
        isHidden() || m_text->text() == text ? text : m_text->text() + QLatin1Char('\n') + text;
    m_text->setText(shown);
    m_text->setToolTip(shown);
    show();
}

void LastingNote::dismiss() {
    if (isHidden()) return;
    hide();
    m_text->clear();
    emit dismissed();
}

QString LastingNote::text() const {
    return isHidden() ? QString() : m_text->text();
}

} // namespace zuohao::gui
