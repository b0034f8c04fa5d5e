// The conditions panel: every edit goes into the condition set of the active lottery.
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/model/LotteryClass.h"
#include "core/model/NumberTables.h"
#include "gui/common/QtText.h"
#include "gui/making/MakingPanel.h"

namespace zuohao::gui {

void MakingPanel::reportFailure(const QString& what, const std::string& error) {
    if (m_form.ShowLabelTxt) m_form.ShowLabelTxt(what + toQ(error));
}

void MakingPanel::setButtonSelected(QPushButton* b, bool selected) {
    b->setStyleSheet(selected ? QStringLiteral("background-color: rgb(255, 0, 0); color: white;")
                              : QString());
}

void MakingPanel::colourKillPanels(int w) {
    for (int k = 0; k < 2; ++k) {
        QPalette p = Picture9[k]->palette();
        p.setColor(QPalette::Window, k == w / 10 ? QColor(255, 255, 255) : QColor(224, 224, 224));
        Picture9[k]->setPalette(p);
    }
}

void MakingPanel::WeiOption_Click(int w) {
    if (w == m_form.CurWei || !m_form.ActiveCls) return;
    m_form.CurWei = w;
    colourKillPanels(w);
    LotteryClass& lot = *m_form.ActiveCls;
    (void)lot.LetMyFormSet("IDX", w, 0);
    if (m_form.RedrawPlanDisplay) m_form.RedrawPlanDisplay();
    if (lot.GetHasChecked()) {
        auto r = lot.ResultAutoSelStr(lot.PreItem01.get(), true, 0);
        if (!r) reportFailure(QStringLiteral("选号未更新："), r.error());
    }
    ShowFormSet();
}

void MakingPanel::CheckAuto_Click() {
    if (m_form.ActiveCls) (void)m_form.ActiveCls->LetMyFormSet("PLA", CheckAuto->isChecked(), 0);
}

void MakingPanel::Check1_Click() {
    if (m_form.ActiveCls) (void)m_form.ActiveCls->LetMyFormSet("FAN", m_check1->isChecked(), 0);
}

void MakingPanel::SelectCheck_Click(int i) {
    if (!m_form.ActiveCls || !m_selectCheck[i]) return;
    LotteryClass& lot = *m_form.ActiveCls;
    (void)lot.LetMyFormSet("CHK", m_selectCheck[i]->isChecked(), i);
    if (auto r = lot.ResultSelStr(i); !r) reportFailure(QStringLiteral("选号未更新："), r.error());
    const int g = CheckBlock(i);
    const std::string sel = lot.formSet().SEL[g];
    // Groups 0, 1 and 4 take the extra digits of their box as well.
    const int extra = g == 0 ? 1 : g == 1 ? 2 : g == 4 ? 0 : -1;
    const std::string shown =
        extra < 0 ? sel : DistinctDigits(sel + toStd(Texthwnd3[extra]->text()));
    SelectText[g]->setText(toQ(shown));
}

void MakingPanel::SelectText_Change(int i) {
    if (m_form.ActiveCls)
        (void)m_form.ActiveCls->LetMyFormSet("SEL", toStd(SelectText[i]->text()), i);
}

void MakingPanel::CountText_Change(int i) {
    QString kept;
    for (QChar c : CountText[i]->text())
        if (c >= QLatin1Char('0') && c <= QLatin1Char('6')) kept.append(c);
    if (kept.isEmpty()) return;
    if (kept != CountText[i]->text()) {
        CountText[i]->setText(kept); // runs this again with the filtered text
        CountText[i]->setCursorPosition(int(kept.size()));
        return;
    }
    if (m_form.ActiveCls) (void)m_form.ActiveCls->LetMyFormSet("CNT", toStd(kept), i);
}

void MakingPanel::Texthwnd3_Change(int k) {
    // The first box of the group whose selection takes the digits of extra box k.
    static constexpr int kBox[3] = {CheckOf(4, 0), CheckOf(0, 0), CheckOf(1, 0)};
    SelectCheck_Click(kBox[k]);
}

void MakingPanel::ClearCommand_Click() {
    for (QCheckBox* box : m_selectCheck)
        if (box) box->setChecked(false);
}

void MakingPanel::ShuZi_Click(int i) {
    m_shuZiSelected[i] = !m_shuZiSelected[i];
    setButtonSelected(m_shuZi[i], m_shuZiSelected[i]);
    if (m_form.ActiveCls)
        (void)m_form.ActiveCls->LetMyFormSet(i < 20 ? "DAN" : "KUA", i, m_shuZiSelected[i] ? 1 : 0);
}

void MakingPanel::GeShu_Click(int j) {
    m_geShuSelected[j] = !m_geShuSelected[j];
    setButtonSelected(m_geShu[j], m_geShuSelected[j]);
    if (m_form.ActiveCls)
        (void)m_form.ActiveCls->LetMyFormSet("DCC", j, m_geShuSelected[j] ? 1 : 0);
}

void MakingPanel::Command1_Click(int k) {
    for (int i = 10 * k; i < 10 * k + 10; ++i) {
        m_shuZiSelected[i] = false;
        setButtonSelected(m_shuZi[i], false);
        if (m_form.ActiveCls) (void)m_form.ActiveCls->LetMyFormSet("DAN", i, 0);
    }
    for (int j = 5 * k; j < 5 * k + 5; ++j) {
        m_geShuSelected[j] = false;
        setButtonSelected(m_geShu[j], false);
        if (m_form.ActiveCls) (void)m_form.ActiveCls->LetMyFormSet("DCC", j, 0);
    }
}

void MakingPanel::CheckLu_Click(int i) {
    if (m_form.ActiveCls)
        (void)m_form.ActiveCls->LetMyFormSet("KLU", m_checkLu[i]->isChecked() ? 1 : 0, i);
}

QString MakingPanel::killTextShown(int k) const {
    if (k == 0) return toQ(m_form.Kill.three);
    const int w = m_form.CurWei;
    return toQ(m_form.Kill.four[(w == 10 || w == 11) ? std::size_t(w - 10) : 2]);
}

void MakingPanel::ShowFormSet() {
    if (!m_form.ActiveCls) return;
    LotteryClass& lot = *m_form.ActiveCls;
    Picture2->setEnabled(!lot.IsHasPlan);
    m_planCmd->setEnabled(lot.IsHasPlan);
    const int idx = lot.formSet().IDX;
    if (idx >= 0 && idx < 12) m_weiOption[idx]->setChecked(true);
    // Each step reads the set afresh: a control's own behaviour may have changed it.
    CheckAuto->setChecked(lot.formSet().PLA);
    m_check1->setChecked(lot.formSet().FAN);
    for (int i = 0; i < kCheckCount; ++i)
        if (m_selectCheck[i]) m_selectCheck[i]->setChecked(lot.formSet().CHK[i]);
    for (int i = 0; i < 5; ++i) {
        CountText[i]->setText(toQ(lot.formSet().CNT[i]));
        SelectText[i]->setText(toQ(lot.formSet().SEL[i]));
    }
    for (int i = 0; i < 4; ++i)
        m_checkLu[i]->setChecked(lot.formSet().KLU[i] != 0);
    auto has = [](const std::string& set, int d) {
        return set.find(char('0' + d)) != std::string::npos;
    };
    for (int i = 0; i < 30; ++i) {
        const std::string& set = i < 20 ? lot.formSet().DAN[i / 10] : lot.formSet().KUA;
        m_shuZiSelected[i] = has(set, i % 10);
        setButtonSelected(m_shuZi[i], m_shuZiSelected[i]);
    }
    for (int j = 0; j < 10; ++j) {
        m_geShuSelected[j] = has(lot.formSet().DCC[j / 5], j % 5);
        setButtonSelected(m_geShu[j], m_geShuSelected[j]);
    }
    m_form.KillTextBusy = true;
    for (int k = 0; k < 2; ++k)
        if (TextKillDadi[k]->toPlainText() != killTextShown(k))
            TextKillDadi[k]->setPlainText(killTextShown(k));
        else
            killListStored(k, false); // same text: only the lottery's kill list is stored
    m_form.KillTextBusy = false;
}

} // namespace zuohao::gui
