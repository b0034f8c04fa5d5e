#include "gui/making/KillListPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <optional>

#include "core/acquire/LotteryClass.h"
#include "core/making/KillList.h"
#include "core/model/Text.h"
#include "gui/common/QtText.h"
#include "gui/common/Seams.h"
#include "gui/making/FormState.h"
#include "gui/making/PanelWidgets.h"

namespace zuohao::gui {

namespace {
constexpr int kPanelButtonWidth = 44; // 清空 and 粘贴
constexpr int kKillBoxHeight = 40;
constexpr int kKillPanels = 2;
const QColor kCurrentPanel(255, 255, 255);
const QColor kOtherPanel(224, 224, 224);
// The condition keys of the two lists.

QString panelName(int k) {
    return k == 0 ? QStringLiteral("三星") : QStringLiteral("四星");
}
} // namespace

QString LinesLeftOutNote(const QString& text) {
    const int left = LinesLeftOut(toStd(text));
    return left > 0 ? QStringLiteral("杀号只取第一行，其余 %1 行未用").arg(left) : QString();
}

KillListPanel::KillListPanel(FormState& form, int k, QWidget* parent)
    : QFrame(parent), m_form(form), m_k(k) {
    build();
    connect(m_clear, &QPushButton::clicked, this, &KillListPanel::clear);
    connect(m_paste, &QPushButton::clicked, this, &KillListPanel::paste);
    connect(m_box, &QPlainTextEdit::textChanged, this, &KillListPanel::edited);
}

void KillListPanel::build() {
    setObjectName(QStringLiteral("Picture9_%1").arg(m_k));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* g = new QGridLayout(this);
    g->setContentsMargins(3, 2, 3, 2);
    g->setSpacing(2);
    g->addWidget(new QLabel(panelName(m_k), this), 0, 0);
    m_count =
        named(new QLabel(QStringLiteral("0注"), this), QStringLiteral("Labelzhu_%1").arg(m_k));
    g->addWidget(m_count, 0, 1);
    g->setColumnStretch(1, 1);
    m_clear = named(new QPushButton(QStringLiteral("清空"), this),
                    QStringLiteral("Command2_%1").arg(m_k));
    m_clear->setAccessibleName(panelName(m_k) + QStringLiteral("杀号 清空"));
    m_paste = named(new QPushButton(QStringLiteral("粘贴"), this),
                    QStringLiteral("Command3_%1").arg(m_k));
    m_paste->setAccessibleName(panelName(m_k) + QStringLiteral("杀号 粘贴"));
    m_paste->setToolTip(
        m_k == 0 ? QStringLiteral("粘贴剪贴板第一行的三位数杀号（整段粘贴只取第一行）")
                 : QStringLiteral("粘贴剪贴板第一行的三位或四位数杀号（整段粘贴只取第一行）"));
    for (QPushButton* b : {m_clear, m_paste})
        b->setFixedWidth(kPanelButtonWidth);
    g->addWidget(m_clear, 0, 2);
    g->addWidget(m_paste, 0, 3);
    m_handSlot = handSlot(this);
    g->addWidget(m_handSlot, 0, 4);
    m_box = plainBox(QStringLiteral("TextKillDadi_%1").arg(m_k), this);
    m_box->setToolTip(
        QStringLiteral("缩水时从大底中去掉的号码；粘贴或从其他窗口读取的整段文字只取第一行"));
    m_box->setAccessibleName(panelName(m_k) + QStringLiteral("杀号"));
    m_box->setFixedHeight(kKillBoxHeight);
    g->addWidget(m_box, 1, 0, 1, 5);
}

QString KillListPanel::shownText() const {
    return toQ(KillTextFor(m_form.Kill, m_k, m_form.CurWei));
}

void KillListPanel::writeBox() {
    const QString shown = shownText();
    if (m_box->toPlainText() == shown)
        store(true);
    else
        m_box->setPlainText(shown);
}

void KillListPanel::showFormSet() {
    if (m_box->toPlainText() != shownText())
        m_box->setPlainText(shownText());
    else
        store(false); // same text: only the lottery's kill list is stored
}

void KillListPanel::setCurrent(bool current) {
    QPalette p = palette();
    p.setColor(QPalette::Window, current ? kCurrentPanel : kOtherPanel);
    setPalette(p);
}

void KillListPanel::placeHand(QWidget* hand, QWidget* handleLabel) {
    m_handSlot->layout()->addWidget(hand);
    m_handSlot->layout()->addWidget(handleLabel);
}

QList<QWidget*> KillListPanel::tabChain() const {
    return {m_clear, m_paste, m_box};
}

void KillListPanel::edited() {
    if (!m_form.KillTextBusy) {
        const QString typed = m_box->toPlainText();
        noteLinesLeftOut(typed);
        AcceptKillList(m_form.Kill, NumberLineFilter(toStd(typed), KillListWidth(m_k)), m_k);
        const QString shown = shownText();
        if (shown != typed) {
            // The accepted text is written back without a second acceptance, so that the
            // front-four and back-four forms of the four-digit panel stay right.
            m_form.KillTextBusy = true;
            m_box->setPlainText(shown);
            m_form.KillTextBusy = false;
            return; // the write-back stored the list
        }
    }
    store(true);
}

void KillListPanel::store(bool renewPlan) {
    if (!m_form.ActiveCls) return;
    const std::string text = toStd(m_box->toPlainText());
    if (auto r = m_form.ActiveCls->LetMyFormSet(kKillListKeys[std::size_t(m_k)], text, 0);
        !r && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("条件未保存：") + toQ(r.error()));
    if (m_form.WorkChanged) m_form.WorkChanged();
    m_count->setText(QStringLiteral("%1注").arg(CountNumberList(text)));
    emit stored(renewPlan);
}

void KillListPanel::clear() {
    if (m_form.ForgetPickedWindow) m_form.ForgetPickedWindow(m_k);
    if (m_k == 0)
        m_form.Kill.three.clear();
    else
        m_form.Kill.four = {"", "", ""};
    if (m_box->toPlainText().isEmpty())
        store(true);
    else
        m_box->setPlainText(QString());
}

void KillListPanel::paste() {
    std::optional<QString> clip = seams().clipboardText();
    if (!clip) {
        if (m_form.ShowLabelTxt) m_form.ShowLabelTxt(QStringLiteral("无法读取剪贴板"));
        return;
    }
    m_form.KillTextBusy = true;
    AcceptKillList(m_form.Kill, NumberLineFilter(toStd(*clip), KillListWidth(m_k)), m_k);
    writeBox();
    m_form.KillTextBusy = false;
    noteLinesLeftOut(*clip);
}

void KillListPanel::noteLinesLeftOut(const QString& text) {
    const QString note = LinesLeftOutNote(text);
    if (!note.isEmpty() && m_form.ShowLabelTxt) m_form.ShowLabelTxt(note);
}

} // namespace zuohao::gui
