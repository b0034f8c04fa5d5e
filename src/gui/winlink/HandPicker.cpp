#include "gui/winlink/HandPicker.h"

#include <QCursor>
#include <QGridLayout>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "gui/winlink/HandPictures.h"
#include "gui/winlink/OutlineFrame.h"

namespace zuohao::gui {

namespace {
QRect screenAround(const QPoint& pos) {
    QScreen* screen = QGuiApplication::screenAt(pos);
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}
} // namespace

HandPicker::HandPicker(WindowLink& link, QWidget* parent)
    : QWidget(parent), m_link(link), m_pointer([] { return QCursor::pos(); }) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < HandCount; ++i) {
        auto* hand = new QLabel(this);
        hand->setObjectName(QStringLiteral("PictureHand_%1").arg(i));
        hand->setPixmap(HandPicture(HandState::Rest));
        hand->setFixedSize(32, 32);
        hand->setToolTip(QStringLiteral("按住手形图标拖到要读取的窗口上再松开"));
        hand->installEventFilter(this);
        auto* label = new QLabel(QStringLiteral("0"), this);
        label->setObjectName(QStringLiteral("LabelHwnd_%1").arg(i));
        grid->addWidget(hand, i, 0);
        grid->addWidget(label, i, 1);
        m_hands[i] = hand;
        m_labels[i] = label;
    }
    m_timer.setObjectName(QStringLiteral("TimerHwnd"));
    m_timer.setInterval(HighlightInterval);
    connect(&m_timer, &QTimer::timeout, this, &HandPicker::highlight);
}

HandPicker::~HandPicker() = default;

void HandPicker::setPointerSource(std::function<QPoint()> source) {
    m_pointer = source ? std::move(source) : [] { return QCursor::pos(); };
}

WindowHandle HandPicker::pickedWindow(int i) const {
    return HandleFromText(m_labels.at(i)->text());
}

void HandPicker::clearPick(int i) {
    m_labels.at(i)->setText(QStringLiteral("0"));
    m_hands.at(i)->setPixmap(HandPicture(HandState::Rest));
}

void HandPicker::showPick(int i, WindowHandle handle) {
    if (handle == 0) {
        clearPick(i);
        return;
    }
    m_labels.at(i)->setText(QString::number(handle));
    m_hands.at(i)->setPixmap(HandPicture(HandState::Picked));
}

int HandPicker::handIndex(QObject* o) const {
    for (int i = 0; i < HandCount; ++i)
        if (m_hands[i] == o) return i;
    return -1;
}

bool HandPicker::eventFilter(QObject* watched, QEvent* event) {
    const int i = handIndex(watched);
    if (i < 0) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        press(i);
        return true;
    case QEvent::MouseButtonRelease:
        release(i);
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void HandPicker::press(int i) {
    if (!m_timer.isActive()) m_timer.start();
    // A second button pressed during a drag starts nothing new.
    if (m_dragging) return;
    m_dragging = true;
    m_dragHand = i;
    m_hands[i]->setPixmap(HandPicture(HandState::Dragging));
    // The release arrives at the hand wherever it happens; the drag pointer shows on the
    // whole screen while the mouse is held.
    m_hands[i]->grabMouse(DragPointer());
}

void HandPicker::release(int i) {
    m_timer.stop();
    if (!m_dragging) return;
    m_dragging = false;
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    m_dragHand = -1;
    if (m_outline) m_outline->hide();
    // A drag that ends before the first look under the pointer picks what the previous drag
    // last found; the very first drag then picks nothing and the hand keeps its picture.
    if (m_hover == 0) return;
    m_labels[i]->setText(QString::number(m_hover));
    m_hands[i]->setPixmap(HandPicture(HandState::Picked));
    emit windowPicked(i, m_hover);
}

void HandPicker::highlight() {
    // A link that waits for a slow program lets timer events run; one look at a time.
    if (m_inHighlight) return;
    m_inHighlight = true;
    const QPoint pos = m_pointer();
    const std::optional<WindowHit> hit = m_link.windowAt(pos);
    m_hover = hit ? hit->handle : 0;
    // A window without a rectangle keeps the previous outline.
    if (hit && !hit->rect.isEmpty()) m_hoverRect = ClampToScreen(hit->rect, screenAround(pos));
    if (!m_outline) m_outline = std::make_unique<OutlineFrame>();
    if (m_dragging && m_hover != 0)
        m_outline->showAt(m_hoverRect);
    else
        m_outline->hide();
    m_inHighlight = false;
}

} // namespace zuohao::gui
