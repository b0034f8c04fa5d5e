// The conditions panel: every edit goes into the condition set of the active lottery. Also
// the panel's Tab order and the places of the picked-window hands.
#include <QCheckBox>
#include <QFrame>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalBlocker>

#include "core/acquire/LotteryClass.h"
#include "core/model/Groups.h"
#include "core/model/NumberTables.h"
#include "gui/common/QtText.h"
#include "gui/making/BaseSetColumn.h"
#include "gui/making/KillListPanel.h"
#include "gui/making/MakingPanel.h"

namespace zuohao::gui {

namespace {
// The first line of a box's text, whichever line end it carries.
QString firstLine(const QString& text) {
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n]")));
    return end < 0 ? text : text.left(end);
}
} // namespace

void MakingPanel::reportFailure(const QString& what, const std::string& error) {
    if (m_form.ShowLabelTxt) m_form.ShowLabelTxt(what + toQ(error));
}

void MakingPanel::store(std::string_view key, const FormValue& value, int idx) {
    if (!m_form.ActiveCls) return;
    if (auto r = m_form.ActiveCls->LetMyFormSet(key, value, idx); !r)
        reportFailure(QStringLiteral("条件未保存："), r.error());
    if (m_form.WorkChanged) m_form.WorkChanged();
}

void MakingPanel::setButtonSelected(QPushButton* b, bool selected) {
    // Selected: a red gradient, light at the top and deep red at the bottom.
    b->setStyleSheet(selected ? QStringLiteral("QPushButton { color: white; border: 1px solid "
                                               "rgb(140, 0, 0); border-radius: 2px; "
                                               "background: qlineargradient(x1:0, y1:0, x2:0, "
                                               "y2:1, stop:0 rgb(255, 120, 110), stop:0.5 "
                                               "rgb(235, 30, 30), stop:1 rgb(170, 0, 0)); }"
                                               // The focus shows on red as well: a dark
                                               // blue ring where the native one was.
                                               "QPushButton:focus { border: 2px solid "
                                               "rgb(0, 40, 140); }")
                              : QString());
}

void MakingPanel::colourKillPanels(int w) {
    for (int k = 0; k < 2; ++k)
        m_killPanels[std::size_t(k)]->setCurrent(k == w / 10);
}

void MakingPanel::WeiOption_Click(int w) {
    if (w == m_form.CurWei || !m_form.ActiveCls) return;
    m_form.CurWei = w;
    colourKillPanels(w);
    LotteryClass& lot = *m_form.ActiveCls;
    store("IDX", w, 0);
    if (m_form.RedrawPlanDisplay) m_form.RedrawPlanDisplay();
    if (lot.GetHasChecked()) {
        auto r = lot.ResultAutoSelStr(lot.newestDraw().get(), true, 0);
        if (!r) reportFailure(QStringLiteral("选号未更新："), r.error());
    }
    ShowFormSet();
}

void MakingPanel::CheckAuto_Click() {
    store("PLA", m_checkAuto->isChecked(), 0);
}

void MakingPanel::Check1_Click() {
    store("FAN", m_check1->isChecked(), 0);
}

void MakingPanel::SelectCheck_Click(int i) {
    if (!m_form.ActiveCls || !m_selectCheck[i]) return;
    LotteryClass& lot = *m_form.ActiveCls;
    store("CHK", m_selectCheck[i]->isChecked(), i);
    if (auto r = lot.ResultSelStr(i); !r) reportFailure(QStringLiteral("选号未更新："), r.error());
    const int g = CheckBlock(i);
    const std::string sel = lot.formSet().SEL[g];
    // Groups 0, 1 and 4 take the extra digits of their box as well.
    const int extra = g == 0 ? 1 : g == 1 ? 2 : g == 4 ? 0 : -1;
    const std::string shown =
        extra < 0 ? sel : DistinctDigits(sel + toStd(firstLine(m_texthwnd3[extra]->text())));
    m_selectText[g]->setText(toQ(shown));
}

void MakingPanel::SelectText_Change(int i) {
    store("SEL", toStd(m_selectText[i]->text()), i);
}

void MakingPanel::SelectText_Edited() {
    // Said once a run, the first time the player types a selection; the tooltip keeps it.
    if (m_renewNoteShown) return;
    m_renewNoteShown = true;
    if (m_form.ShowLabelTxt) m_form.ShowLabelTxt(QStringLiteral("提示：") + kSelectionRenewNote);
}

void MakingPanel::CountText_Change(int i) {
    QString kept;
    for (QChar c : m_countText[i]->text())
        if (c >= QLatin1Char('0') && c <= QLatin1Char('6')) kept.append(c);
    if (kept.isEmpty()) return;
    if (kept != m_countText[i]->text()) {
        m_countText[i]->setText(kept); // runs this again with the filtered text
        m_countText[i]->setCursorPosition(int(kept.size()));
        return;
    }
    store("CNT", toStd(kept), i);
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
    store(i < 20 ? "DAN" : "KUA", i, m_shuZiSelected[i] ? 1 : 0);
}

void MakingPanel::GeShu_Click(int j) {
    m_geShuSelected[j] = !m_geShuSelected[j];
    setButtonSelected(m_geShu[j], m_geShuSelected[j]);
    store("DCC", j, m_geShuSelected[j] ? 1 : 0);
}

void MakingPanel::Command1_Click(int k) {
    for (int i = 10 * k; i < 10 * k + 10; ++i) {
        m_shuZiSelected[i] = false;
        setButtonSelected(m_shuZi[i], false);
        store("DAN", i, 0);
    }
    for (int j = 5 * k; j < 5 * k + 5; ++j) {
        m_geShuSelected[j] = false;
        setButtonSelected(m_geShu[j], false);
        store("DCC", j, 0);
    }
}

void MakingPanel::CheckLu_Click(int i) {
    store("KLU", m_checkLu[i]->isChecked() ? 1 : 0, i);
}

void MakingPanel::setAutoMaking(bool on) {
    m_checkAuto->setChecked(on);
}

QString MakingPanel::extraDigits(int k) const {
    return m_texthwnd3[k]->text();
}

void MakingPanel::setExtraDigits(int k, const QString& digits) {
    m_texthwnd3[k]->setText(digits);
}

void MakingPanel::restoreExtraDigits(int k, const QString& digits) {
    // Already part of the kept selection: the box's change behaviour would add them again.
    const QSignalBlocker quiet(m_texthwnd3[k]);
    m_texthwnd3[k]->setText(digits);
}

void MakingPanel::setSelection(int g, const QString& digits) {
    m_selectText[g]->setText(digits);
}

QString MakingPanel::killTextShown(int k) const {
    return m_killPanels[std::size_t(k)]->shownText();
}

void MakingPanel::ShowFormSet() {
    if (!m_form.ActiveCls) return;
    LotteryClass& lot = *m_form.ActiveCls;
    showPlanButtons(lot.hasPlan());
    const int idx = lot.formSet().IDX;
    if (idx >= 0 && idx < kGroupCount) m_weiOption[idx]->setChecked(true);
    // Each step reads the set afresh: a control's own behaviour may have changed it.
    m_checkAuto->setChecked(lot.formSet().PLA);
    m_check1->setChecked(lot.formSet().FAN);
    for (int i = 0; i < kCheckCount; ++i)
        if (m_selectCheck[i]) m_selectCheck[i]->setChecked(lot.formSet().CHK[i]);
    for (int i = 0; i < 5; ++i) {
        m_countText[i]->setText(toQ(lot.formSet().CNT[i]));
        m_selectText[i]->setText(toQ(lot.formSet().SEL[i]));
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
    for (KillListPanel* panel : m_killPanels)
        panel->showFormSet();
    m_form.KillTextBusy = false;
}

QList<QWidget*> MakingPanel::tabChain() const {
    QList<QWidget*> chain(m_weiOption.begin(), m_weiOption.end());
    chain << m_checkAuto << m_check1;
    for (int i = 0; i < 5; ++i)
        chain << m_selectText[i] << m_countText[i];
    for (int r = 0; r < 3; ++r) {
        for (int d = 0; d < 10; ++d)
            chain << m_shuZi[r * 10 + d];
        if (r == 2) break;
        for (int c = 0; c < 5; ++c)
            chain << m_geShu[r * 5 + c];
        chain << m_command1[r];
    }
    chain.append(QList<QWidget*>(m_checkLu.begin(), m_checkLu.end()));
    chain << m_clearCommand;
    chain.append(QList<QWidget*>(m_texthwnd3.begin(), m_texthwnd3.end()));
    for (int k = 0; k < 2; ++k)
        chain << m_killPanels[std::size_t(k)]->tabChain();
    chain << m_baseColumn->tabChain() << m_planText;
    return chain;
}

void MakingPanel::placeKillHand(int k, QWidget* hand, QWidget* handleLabel) {
    m_killPanels[std::size_t(k)]->placeHand(hand, handleLabel);
}

void MakingPanel::placeDigitHand(int k, QWidget* hand, QWidget* handleLabel) {
    m_digitPickSlots[k]->layout()->addWidget(hand);
    m_digitPickSlots[k]->layout()->addWidget(handleLabel);
}

} // namespace zuohao::gui
