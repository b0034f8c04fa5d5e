// The base-set box, the plan buttons, the kill lists and the delay box.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QTextCursor>

#include "core/acquire/LotteryClass.h"
#include "core/making/KillList.h"
#include "core/model/Text.h"
#include "gui/common/Keyboard.h"
#include "gui/common/QtText.h"
#include "gui/common/Seams.h"
#include "gui/common/Settings.h"
#include "gui/making/KillListPanel.h"
#include "gui/making/MakingPanel.h"

namespace zuohao::gui {

namespace {
// The caption after a plan was cleared (the button is built reading "开  始  缩  水").
const QString kClearedCaption = QStringLiteral("开 始 缩 水");
const QString kRunningCaption = QStringLiteral("正 在 计 划 ...");
} // namespace

const NumberList& MakingPanel::baseSet() const {
    static const NumberList kNone;
    return m_form.ActiveCls ? m_form.ActiveCls->formSet().DAD : kNone;
}

QString MakingPanel::baseText() const {
    return toQ(baseSet().text());
}

void MakingPanel::setBaseText(const QString& text) {
    if (m_showDadiText->toPlainText() == text)
        ShowDadiText_Change();
    else
        m_showDadiText->setPlainText(text);
}

void MakingPanel::showBaseSet() {
    const QString text = baseText();
    if (m_showDadiText->toPlainText() != text) {
        m_renderingBase = true; // the box shows the state; it is not read back
        m_showDadiText->setPlainText(text);
        m_renderingBase = false;
    }
    showBaseCaptions();
}

void MakingPanel::showBaseCaptions() {
    const NumberList& dad = baseSet();
    SetCaption(m_copyDadiCmd, QStringLiteral("复制大底 [%1注]").arg(dad.count()));
    // The complement belongs to the base set shown: with the base set emptied (清除计划)
    // there is nothing to copy, and the caption says so.
    const int m = dad.empty() || !m_form.ActiveCls ? 0 : m_form.ActiveCls->formSet().FJI.count();
    SetCaption(m_commandFanji,
               m == 0 ? QStringLiteral("复制反集") : QStringLiteral("复制反集 [%1注]").arg(m));
}

void MakingPanel::showNewBaseSet(Result<std::string> (LotteryClass::*make)()) {
    if (!m_form.ActiveCls) return;
    // A new base set restarts the monitor (while it is on) from the lottery's own base set.
    auto r = (m_form.ActiveCls->*make)();
    if (r)
        showBaseSet();
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
    if (m_renderingBase || !m_form.ActiveCls) return;
    // The player's edit, read once into the lottery's base set.
    ConditionSet& set = m_form.ActiveCls->formSet();
    const NumberListRead read =
        NumberList::read(toStd(m_showDadiText->toPlainText()), set.fourDigit());
    set.DAD = read.list;
    if (m_form.WorkChanged) m_form.WorkChanged();
    showBaseCaptions();
    if (read.unreadable + read.repeated > 0 && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(BaseSetReadNote(read.unreadable, read.repeated, set.DAD.count()));
}

QString BaseSetReadNote(int unreadable, int repeated, int kept) {
    QStringList parts;
    if (unreadable > 0) parts << QStringLiteral("%1 处无法识别为号码").arg(unreadable);
    if (repeated > 0) parts << QStringLiteral("%1 个号码重复").arg(repeated);
    return QStringLiteral("大底中%1，未计入（现 %2 注）")
        .arg(parts.join(QStringLiteral("、")))
        .arg(kept);
}

void MakingPanel::CopyDadiCmd_Click() {
    const NumberList& dad = baseSet();
    if (dad.empty()) return;
    if (!seams().setClipboardText(toQ(dad.text())) && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("无法写入剪贴板"));
}

void MakingPanel::CommandFanji_Click() {
    if (baseSet().empty() || !m_form.ActiveCls) return;
    if (!seams().setClipboardText(toQ(m_form.ActiveCls->formSet().FJI.text())) &&
        m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("无法写入剪贴板"));
}

void MakingPanel::SuishuiCmd_Click() {
    if (!m_form.ActiveCls || !m_form.ActiveCls->hasHistory()) return;
    LotteryClass& lot = *m_form.ActiveCls;
    // A running plan is not restarted behind the user's back (its lines would vanish): the
    // button is disabled while it runs; 清除计划 ends it first.
    if (lot.hasPlan()) return;
    showPlanButtons(true);
    // A failed reduction leaves the base set as it was; the plan goes on with it.
    showNewBaseSet(&LotteryClass::StartPlan);
    if (lot.newestDraw()) setPlanText(toQ(lot.newestDraw()->PlanTxt()));
}

void MakingPanel::PlanCmd_Click() {
    if (!m_form.ActiveCls) return;
    m_form.ActiveCls->StopPlan();
    showPlanButtons(false);
    m_checkAuto->setChecked(true);
    CheckAuto_Click(); // stores PLA even when the box was already ticked
    m_form.ActiveCls->formSet().DAD = NumberList();
    if (m_form.WorkChanged) m_form.WorkChanged();
    showBaseSet();
    m_planText->setPlainText(QString());
    emit planCleared();
}

void MakingPanel::showPlanButtons(bool planRuns) {
    if (planRuns)
        SetCaption(m_suishuiCmd, kRunningCaption);
    else if (m_planButtonsRunning)
        SetCaption(m_suishuiCmd, kClearedCaption);
    m_planButtonsRunning = planRuns;
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

void MakingPanel::killListStored(bool renewPlan) {
    if (!renewPlan || !m_form.ActiveCls) return;
    LotteryClass& lot = *m_form.ActiveCls;
    if (!m_form.IsActivated || !lot.hasPlan()) return;
    showNewBaseSet(&LotteryClass::RenewPlan);
    if (m_form.RedrawPlanDisplay) m_form.RedrawPlanDisplay();
}

void MakingPanel::writeKillBox(int k) {
    m_killPanels[std::size_t(k)]->writeBox();
}

void MakingPanel::noteLinesLeftOut(const QString& text) {
    const QString note = LinesLeftOutNote(text);
    if (!note.isEmpty() && m_form.ShowLabelTxt) m_form.ShowLabelTxt(note);
}

void MakingPanel::TextYanchi_Change() {
    m_form.Yanchi = ParseDelay(m_textYanchi->text());
    const QString text = QString::number(m_form.Yanchi);
    m_textYanchi->setModified(false);
    if (m_textYanchi->text() != text) m_textYanchi->setText(text); // runs this again: same value
    WriteDelaySetting(text);
}

} // namespace zuohao::gui
