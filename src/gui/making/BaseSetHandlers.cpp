// The base-set box, the plan buttons, the kill lists and the delay box.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "core/making/KillList.h"
#include "core/model/LotteryClass.h"
#include "core/model/Text.h"
#include "core/plan/Plan.h"
#include "gui/common/QtText.h"
#include "gui/common/Seams.h"
#include "gui/common/Settings.h"
#include "gui/making/MakingPanel.h"

namespace zuohao::gui {

namespace {
const QString kStartCaption = QStringLiteral("开  始  缩  水");
const QString kRunningCaption = QStringLiteral("正 在 计 划 ...");
} // namespace

void MakingPanel::setBaseText(const QString& text) {
    if (ShowDadiText->toPlainText() == text)
        ShowDadiText_Change();
    else
        ShowDadiText->setPlainText(text);
}

void MakingPanel::ShowDadiText_Change() {
    if (!m_form.ActiveCls) return;
    LotteryClass& lot = *m_form.ActiveCls;
    const std::string text = toStd(ShowDadiText->toPlainText());
    (void)lot.LetMyFormSet("DAD", text, 0);
    m_copyDadiCmd->setText(QStringLiteral("复制大底 [%1注]").arg(CountNumberList(text)));
    const int m = CountNumberList(lot.formSet().FJI);
    m_commandFanji->setText(m == 0 ? QStringLiteral("复制反集")
                                   : QStringLiteral("复制反集 [%1注]").arg(m));
}

void MakingPanel::CopyDadiCmd_Click() {
    const QString text = ShowDadiText->toPlainText();
    if (text.isEmpty()) return;
    if (!seams().setClipboardText(text) && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("无法写入剪贴板"));
}

void MakingPanel::CommandFanji_Click() {
    if (ShowDadiText->toPlainText().isEmpty() || !m_form.ActiveCls) return;
    if (!seams().setClipboardText(toQ(m_form.ActiveCls->formSet().FJI)) && m_form.ShowLabelTxt)
        m_form.ShowLabelTxt(QStringLiteral("无法写入剪贴板"));
}

void MakingPanel::SuishuiCmd_Click() {
    if (!m_form.ActiveCls || !m_form.ActiveCls->IsGetHis) return;
    LotteryClass& lot = *m_form.ActiveCls;
    m_suishuiCmd->setText(kRunningCaption);
    Picture2->setEnabled(false);
    m_check1->setEnabled(false);
    m_planCmd->setEnabled(true);
    // A failed reduction leaves the base set as it was; the plan goes on with it.
    if (auto r = StartPlan(lot))
        setBaseText(toQ(*r));
    else
        reportFailure(QStringLiteral("缩水失败："), r.error());
    if (lot.PreItem01) PlanText->setPlainText(toQ(lot.PreItem01->PlanTxt));
}

void MakingPanel::PlanCmd_Click() {
    if (!m_form.ActiveCls) return;
    StopPlan(*m_form.ActiveCls);
    m_suishuiCmd->setText(kStartCaption);
    CheckAuto->setChecked(true);
    CheckAuto_Click(); // stores PLA even when the box was already ticked
    m_check1->setEnabled(true);
    Picture2->setEnabled(true);
    ShowDadiText->setPlainText(QString());
    PlanText->setPlainText(QString());
    m_planCmd->setEnabled(false);
}

void MakingPanel::PlanText_Change() {
    QTextCursor c = PlanText->textCursor();
    if (c.atEnd()) return;
    c.movePosition(QTextCursor::End);
    PlanText->setTextCursor(c); // keeps the newest line in view
}

void MakingPanel::TextKillDadi_Change(int k) {
    if (!m_form.KillTextBusy) {
        const std::string typed = toStd(TextKillDadi[k]->toPlainText());
        AcceptKillList(m_form.Kill, NumberLineFilter(typed, KillListWidth(k)), k);
        const QString shown = killTextShown(k);
        if (shown != TextKillDadi[k]->toPlainText()) {
            // The accepted text is written back without a second acceptance, so that the
            // front-four and back-four forms of the four-digit panel stay right.
            m_form.KillTextBusy = true;
            TextKillDadi[k]->setPlainText(shown);
            m_form.KillTextBusy = false;
            return; // the write-back stored the list
        }
    }
    killListStored(k, true);
}

void MakingPanel::killListStored(int k, bool renewPlan) {
    if (!m_form.ActiveCls) return;
    LotteryClass& lot = *m_form.ActiveCls;
    const std::string text = toStd(TextKillDadi[k]->toPlainText());
    (void)lot.LetMyFormSet(k == 0 ? "KL0" : "KL1", text, 0);
    m_labelZhu[k]->setText(QStringLiteral("%1注").arg(CountNumberList(text)));
    if (!renewPlan || !m_form.IsActivated || !lot.IsHasPlan) return;
    if (auto r = RenewPlan(lot))
        setBaseText(toQ(*r));
    else
        reportFailure(QStringLiteral("缩水失败："), r.error());
    if (m_form.RedrawPlanDisplay) m_form.RedrawPlanDisplay();
}

void MakingPanel::Command2_Click(int k) {
    if (m_form.ForgetPickedWindow) m_form.ForgetPickedWindow(k);
    if (k == 0)
        m_form.Kill.three.clear();
    else
        m_form.Kill.four = {"", "", ""};
    if (TextKillDadi[k]->toPlainText().isEmpty())
        killListStored(k, true);
    else
        TextKillDadi[k]->setPlainText(QString());
}

void MakingPanel::writeKillBox(int k) {
    const QString shown = killTextShown(k);
    if (TextKillDadi[k]->toPlainText() == shown)
        killListStored(k, true);
    else
        TextKillDadi[k]->setPlainText(shown);
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
}

void MakingPanel::TextYanchi_Change() {
    m_form.Yanchi = ParseDelay(TextYanchi->text());
    const QString text = QString::number(m_form.Yanchi);
    if (TextYanchi->text() != text) {
        TextYanchi->setText(text); // the change this causes finds the same value
        return;
    }
    WriteDelaySetting(text);
}

} // namespace zuohao::gui
