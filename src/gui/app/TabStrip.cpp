#include "gui/app/TabStrip.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>

#include "gui/app/TabLabel.h"

namespace zuohao::gui {

namespace {
constexpr int kTabWidth = 150;
constexpr int kTabHeight = 32;
constexpr int kTabSpacing = 10;
const QString kMark = QStringLiteral(" ●");
const QString kMarkColour = QStringLiteral("#C00000");
const QString kKeysNote = QStringLiteral("（Ctrl+PgDn 下一个彩票，Ctrl+PgUp 上一个）");
} // namespace

TabStrip::TabStrip(QWidget* parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("TabStrip"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus); // the tabs are pressed; the keyboard's chain runs past them
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    horizontalScrollBar()->setObjectName(QStringLiteral("TabStripScroll"));
    m_row = new QWidget(this);
    m_row->setObjectName(QStringLiteral("MenuPicTabs"));
    m_layout = new QHBoxLayout(m_row);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(kTabSpacing);
    m_layout->addStretch();
    setWidget(m_row);
    // The strip is as tall as a tab, and the scroll bar when the tabs do not fit.
    setMinimumHeight(kTabHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    // From the keyboard: the next and the previous lottery, anywhere in the window.
    const auto step = [this](QKeySequence keys, int by, const char* name) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setObjectName(QString::fromLatin1(name));
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, by] { showNext(by); });
    };
    step(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1, "NextLotteryShortcut");
    step(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1, "PreviousLotteryShortcut");
}

void TabStrip::showNext(int by) {
    if (count() == 0) return;
    const int from = m_current < 0 ? 0 : m_current;
    emit tabClicked(((from + by) % count() + count()) % count());
}

void TabStrip::setTabs(const QStringList& names, const QStringList& tips) {
    for (QFrame* f : m_frames)
        delete f;
    m_frames.clear();
    m_labels.clear();
    m_names = names;
    m_marks.assign(std::size_t(names.size()), false);
    m_current = -1;
    for (int i = 0; i < names.size(); ++i) {
        auto* frame = new QFrame(m_row);
        frame->setObjectName(QStringLiteral("MenuItemPic_%1").arg(i));
        frame->setFixedSize(kTabWidth, kTabHeight);
        auto* inner = new QVBoxLayout(frame);
        inner->setContentsMargins(0, 0, 0, 0);
        auto* label = new TabLabel(frame);
        label->setObjectName(QStringLiteral("MenuItemLabel_%1").arg(i));
        label->setAlignment(Qt::AlignCenter);
        QFont f = label->font();
        f.setPointSize(10);
        f.setBold(true);
        label->setFont(f);
        label->setCursor(Qt::PointingHandCursor);
        inner->addWidget(label);
        m_layout->insertWidget(i, frame);
        connect(label, &TabLabel::clicked, this, [this, i] { emit tabClicked(i); });
        m_frames.push_back(frame);
        m_labels.push_back(label);
        setTip(i, i < tips.size() ? tips[i] : QString());
        showTab(i);
    }
    fitHeight();
}

void TabStrip::fitHeight() {
    // Room for the scroll bar only while the tabs do not fit.
    const bool scrolls = m_row->minimumSizeHint().width() > width();
    setFixedHeight(kTabHeight + (scrolls ? horizontalScrollBar()->sizeHint().height() : 0));
}

void TabStrip::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    fitHeight();
}

TabLabel* TabStrip::label(int index) const {
    return index >= 0 && index < count() ? m_labels[std::size_t(index)] : nullptr;
}

void TabStrip::setTip(int index, const QString& tip) {
    if (TabLabel* l = label(index)) l->setToolTip(tip);
}

void TabStrip::highlight(int index) {
    m_current = index;
    if (index >= 0 && index < count()) m_marks[std::size_t(index)] = false;
    for (int i = 0; i < count(); ++i)
        showTab(i);
    if (index >= 0 && index < count()) ensureWidgetVisible(m_frames[std::size_t(index)], 0, 0);
}

void TabStrip::markAlarm(int index) {
    if (index < 0 || index >= count() || index == m_current) return;
    m_marks[std::size_t(index)] = true;
    showTab(index);
}

bool TabStrip::marked(int index) const {
    return index >= 0 && index < count() && m_marks[std::size_t(index)];
}

void TabStrip::showTab(int i) {
    const bool on = i == m_current;
    const bool mark = m_marks[std::size_t(i)];
    const QColor highlight = palette().color(QPalette::Highlight);
    QFrame* frame = m_frames[std::size_t(i)];
    TabLabel* label = m_labels[std::size_t(i)];
    frame->setStyleSheet(QStringLiteral("QFrame#%1 { border: 1px solid %2; background: %3; }")
                             .arg(frame->objectName(), highlight.name(),
                                  on ? highlight.name() : QStringLiteral("#F6F6F6")));
    const QString colour =
        on ? QStringLiteral("white") : (mark ? kMarkColour : QStringLiteral("#808080"));
    label->setStyleSheet(
        QStringLiteral("color: %1; font-weight: %2; background: transparent;")
            .arg(colour, on || mark ? QStringLiteral("bold") : QStringLiteral("normal")));
    const QString name = m_names[i];
    label->setText(mark ? name + kMark : name);
    label->setAccessibleName(label->text());
    label->setAccessibleDescription(
        (mark ? QStringLiteral("%1在别的彩票显示时发出了告警，点此查看").arg(name)
              : QStringLiteral("点此显示%1").arg(name)) +
        kKeysNote);
}

} // namespace zuohao::gui
