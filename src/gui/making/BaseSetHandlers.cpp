// The base-set box, the plan buttons, the kill lists and the delay box.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>

#include "core/acquire/LotteryClass.h"
#include "core/making/KillList.h"
#include "core/model/Text.h"
#include "core/plan/Plan.h"
#include "gui/common/Keyboard.h"
#include "gui/common/QtText.h"
#include "gui/common/Seams.h"
#include "gui/common/Settings.h"
#include "gui/making/MakingPanel.h"

namespace zuohao::gui {

namespace {
// The caption after a plan was cleared (the button is built reading "开  始  缩  水").
const QString kClearedCaption = QStringLiteral("开 始 缩 水");
const QString kRunningCaption = QStringLiteral("正 在 计 划 ...");
} // namespace

QString MakingPanel::baseText() const {
    return m_showDadiText->toPlainText();
}

void MakingPanel::setBaseText(const QString& text) {
    if (m_showDadiText->toPlainText() == text)
        ShowDadiText_Change();
    else
        m_showDadiText->setPlainText(text);
}

void MakingPanel::showNewBaseSet(Result<std::string> (*make)(LotteryState&)) {
    if (!m_form.ActiveCls) return;
    // A new base set restarts the monitor (while it is on) from the lottery's own base set.
    auto r = make(*m_form.ActiveCls);
    if (r)
        setBaseText(toQ(*r));
    else
        reportFailure(QStringLiteral("缩水失败："), r.error());
    if (m_form.ShowMonitor) m_form.ShowMonitor();
}

void MakingPanel::setPlanText(const QString& text) {
    // One line break per line: the box would show CR and LF as two.
    QString shown = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The box ends at the newest line, which goes to its bottom row.
    if (shown.endsWith(u'\n')) shown.chop(1);
    m_planText->setPlainText(shown);
    PlanText_Change();
}

void MakingPanel::setPlanPrompt(const QString& text) {
    m_planText->setPlaceholderText(text);
}

void MakingPanel::setCountdown(int seconds) {
    m_labelYanchi->setText(QString::number(seconds));
}

void MakingPanel::setDelay(int seconds) {
    m_textYanchi->setText(QString::number(seconds));
    TextYanchi_Change();
}

void MakingPanel::commitDelay() {
    TextYanchi_Change();
}

void MakingPanel::ShowDadiText_Change() {
    if (!m_form.ActiveCls) return;
    LotteryClass& lot = *m_form.ActiveCls;
    const std::string text = toStd(m_showDadiText->toPlainText());
    store("DAD", text, 0);
    SetCaption(m_copyDadiCmd, QStringLiteral("复制大底 [%1注]").arg(CountNumberList(text)));
    // The complement belongs to the base set shown: with the box emptied (清除计划) there is
    // nothing to copy, and the caption says so.
    const int m = text.empty() ? 0 : lot.formSet().FJI.count();
    SetCaption(m_commandFanji,
               m == 0 ? QStringLiteral("复制反集") : QStringLiteral("复制反集 [%1注]").arg(m));
}

void MakingPanel::CopyDadiCmd_Click() {
    const QString text = m_showDadiText->toPlainText();
    if (text.isEmpty()) return;
    if (!seams().setClipboardText(text) && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("无法写入剪贴板"));
}

void MakingPanel::CommandFanji_Click() {
    if (m_showDadiText->toPlainText().isEmpty() || !m_form.ActiveCls) return;
    if (!seams().setClipboardText(toQ(m_form.ActiveCls->formSet().FJI.text())) &&
        m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("无法写入剪贴板"));
}

void MakingPanel::SuishuiCmd_Click() {
    if (!m_form.ActiveCls || !m_form.ActiveCls->IsGetHis) return;
    LotteryClass& lot = *m_form.ActiveCls;
    // A running plan is not restarted behind the user's back (its lines would vanish): the
    // button is disabled while it runs; 清除计划 ends it first.
    if (lot.IsHasPlan) return;
    showPlanButtons(true);
    // A failed reduction leaves the base set as it was; the plan goes on with it.
    showNewBaseSet(&StartPlan);
    if (lot.PreItem01) setPlanText(toQ(lot.PreItem01->PlanTxt()));
}

void MakingPanel::PlanCmd_Click() {
    if (!m_form.ActiveCls) return;
    StopPlan(*m_form.ActiveCls);
    showPlanButtons(false);
    m_checkAuto->setChecked(true);
    CheckAuto_Click(); // stores PLA even when the box was already ticked
    m_showDadiText->setPlainText(QString());
    m_planText->setPlainText(QString());
    emit planCleared();
}

void MakingPanel::showPlanButtons(bool planRuns) {
    const QString caption = m_suishuiCmd->text();
    if (planRuns)
        SetCaption(m_suishuiCmd, kRunningCaption);
    else if (caption == kRunningCaption)
        SetCaption(m_suishuiCmd, kClearedCaption);
    m_suishuiCmd->setEnabled(!planRuns);
    m_picture2->setEnabled(!planRuns);
    m_check1->setEnabled(!planRuns);
    m_planCmd->setEnabled(planRuns);
}

void MakingPanel::PlanText_Change() {
    QTextCursor c = m_planText->textCursor();
    if (!c.atEnd()) {
        c.movePosition(QTextCursor::End);
        m_planText->setTextCursor(c);
    }
    // The newest line in view: a text ending with a line break has an empty last line.
    m_planText->ensureCursorVisible();
    if (QScrollBar* bar = m_planText->verticalScrollBar()) bar->setValue(bar->maximum());
    if (QScrollBar* bar = m_planText->horizontalScrollBar()) bar->setValue(bar->minimum());
}

void MakingPanel::TextKillDadi_Change(int k) {
    if (!m_form.KillTextBusy) {
        const std::string typed = toStd(m_textKillDadi[k]->toPlainText());
        noteLinesLeftOut(m_textKillDadi[k]->toPlainText());
        AcceptKillList(m_form.Kill, NumberLineFilter(typed, KillListWidth(k)), k);
        const QString shown = killTextShown(k);
        if (shown != m_textKillDadi[k]->toPlainText()) {
            // The accepted text is written back without a second acceptance, so that the
            // front-four and back-four forms of the four-digit panel stay right.
            m_form.KillTextBusy = true;
            m_textKillDadi[k]->setPlainText(shown);
            m_form.KillTextBusy = false;
            return; // the write-back stored the list
        }
    }
    killListStored(k, true);
}

void MakingPanel::killListStored(int k, bool renewPlan) {
    if (!m_form.ActiveCls) return;
    LotteryClass& lot = *m_form.ActiveCls;
    const std::string text = toStd(m_textKillDadi[k]->toPlainText());
    store(k == 0 ? "KL0" : "KL1", text, 0);
    m_labelZhu[k]->setText(QStringLiteral("%1注").arg(CountNumberList(text)));
    if (!renewPlan || !m_form.IsActivated || !lot.IsHasPlan) return;
    showNewBaseSet(&RenewPlan);
    if (m_form.RedrawPlanDisplay) m_form.RedrawPlanDisplay();
}

void MakingPanel::Command2_Click(int k) {
    if (m_form.ForgetPickedWindow) m_form.ForgetPickedWindow(k);
    if (k == 0)
        m_form.Kill.three.clear();
    else
        m_form.Kill.four = {"", "", ""};
    if (m_textKillDadi[k]->toPlainText().isEmpty())
        killListStored(k, true);
    else
        m_textKillDadi[k]->setPlainText(QString());
}

void MakingPanel::writeKillBox(int k) {
    const QString shown = killTextShown(k);
    if (m_textKillDadi[k]->toPlainText() == shown)
        killListStored(k, true);
    else
        m_textKillDadi[k]->setPlainText(shown);
}

void MakingPanel::Command3_Click(int k) {
    std::optional<QString> clip = seams().clipboardText();
    if (!clip) {
        if (m_form.ShowLabelTxt) m_form.ShowLabelTxt(QStringLiteral("无法读取剪贴板"));
        return;
    }
    m_form.KillTextBusy = true;
    AcceptKillList(m_form.Kill, NumberLineFilter(toStd(*clip), KillListWidth(k)), k);
    writeKillBox(k);
    m_form.KillTextBusy = false;
    noteLinesLeftOut(*clip);
}

void MakingPanel::noteLinesLeftOut(const QString& text) {
    const int left = LinesLeftOut(toStd(text));
    if (left > 0 && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("杀号只取第一行，其余 %1 行未用").arg(left));
}

void MakingPanel::TextYanchi_Change() {
    m_form.Yanchi = ParseDelay(m_textYanchi->text());
    const QString text = QString::number(m_form.Yanchi);
    m_textYanchi->setModified(false);
    if (m_textYanchi->text() != text) m_textYanchi->setText(text); // runs this again: same value
    WriteDelaySetting(text);
}

} // namespace zuohao::gui
