// The plan: its start and clear, its text, and the kill lists and base set it follows.
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
#include "gui/making/BaseSetColumn.h"
#include "gui/making/KillListPanel.h"
#include "gui/making/MakingPanel.h"

namespace zuohao::gui {

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

void MakingPanel::SuishuiCmd_Click() {
    if (!m_form.ActiveCls || !m_form.ActiveCls->hasHistory()) return;
    LotteryClass& lot = *m_form.ActiveCls;
    // A running plan is not restarted behind the user's back (its lines would vanish): the
    // button is disabled while it runs; 清除计划 ends it first.
    if (lot.hasPlan()) return;
    showPlanButtons(true);
    // A failed reduction leaves the base set as it was; the plan goes on with it.
    m_baseColumn->showNewBaseSet(&LotteryClass::StartPlan);
    if (lot.newestDraw()) setPlanText(toQ(lot.newestDraw()->PlanTxt()));
}

void MakingPanel::PlanCmd_Click() {
    if (!m_form.ActiveCls) return;
    m_form.ActiveCls->StopPlan();
    showPlanButtons(false);
    m_checkAuto->setChecked(true);
    CheckAuto_Click(); // stores PLA even when the box was already ticked
    m_form.ActiveCls->clearBaseSet();
    if (m_form.WorkChanged) m_form.WorkChanged();
    showBaseSet();
    m_planText->setPlainText(QString());
    emit planCleared();
}

void MakingPanel::showPlanButtons(bool planRuns) {
    m_baseColumn->showPlanButtons(planRuns);
    m_picture2->setEnabled(!planRuns);
    m_check1->setEnabled(!planRuns);
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
    m_baseColumn->showNewBaseSet(&LotteryClass::RenewPlan);
    if (m_form.RedrawPlanDisplay) m_form.RedrawPlanDisplay();
}

const NumberList& MakingPanel::baseSet() const {
    return m_baseColumn->baseSet();
}

QString MakingPanel::baseText() const {
    return m_baseColumn->baseText();
}

void MakingPanel::showBaseSet() {
    m_baseColumn->showBaseSet();
}

void MakingPanel::setCountdown(int seconds) {
    m_baseColumn->setCountdown(seconds);
}

void MakingPanel::setDelay(int seconds) {
    m_baseColumn->setDelay(seconds);
}

void MakingPanel::commitDelay() {
    m_baseColumn->commitDelay();
}

void MakingPanel::writeKillBox(int k) {
    m_killPanels[std::size_t(k)]->writeBox();
}

void MakingPanel::noteLinesLeftOut(const QString& text) {
    const QString note = LinesLeftOutNote(text);
    if (!note.isEmpty() && m_form.ShowLabelTxt) m_form.ShowLabelTxt(note);
}

} // namespace zuohao::gui
