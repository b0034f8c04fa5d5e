// Numbers read from picked windows into the kill lists and the extra digits: once right after
// a window is picked, and after every new draw while a plan runs, when the delay has run out.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

#include "core/making/KillList.h"
#include "core/plan/Plan.h"
#include "gui/app/LotteryForm.h"
#include "gui/common/QtText.h"
#include "gui/making/MakingPanel.h"
#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/HandPicker.h"

namespace zuohao::gui {

void LotteryForm::CaptureFromHand(int index, quint64 handle) {
    // The picker has already written the handle into LabelHwnd(index).
    m_form.KillTextBusy = true;
    if (index == 0 || index == 1) {
        AcceptKillList(m_form.Kill,
                       toStd(ReadWindowText(*m_windowLink, handle, KillListWidth(index))), index);
        m_panel->writeKillBox(index);
    } else if (index >= 2 && index <= 4) {
        m_panel->Texthwnd3[index - 2]->setText(ReadWindowDigits(*m_windowLink, handle));
    }
    m_form.KillTextBusy = false;
    activateWindow();
}

void LotteryForm::TimerGetHwnd_Timer() {
    ++m_yanchiCount;
    const int r = m_form.Yanchi - m_yanchiCount;
    m_panel->LabelYanchi->setText(QString::number(r < 0 ? 0 : r));
    if (r > 0) return;

    m_form.KillTextBusy = true;
    m_timerGetHwnd->stop();
    LotteryClass& lot = *m_form.ActiveCls;
    // A hand without a picked window leaves its box as the user pasted or typed it; a picked
    // window that is gone reads as empty and empties its box.
    for (int k = 0; k < 2; ++k) {
        const WindowHandle h = m_hands->pickedWindow(k);
        if (h != 0)
            AcceptKillList(m_form.Kill, toStd(ReadWindowText(*m_windowLink, h, KillListWidth(k))),
                           k);
    }
    m_panel->writeKillBox(0);
    static constexpr int kGroupOfHand[5] = {-1, -1, 4, 0, 1};
    for (int hand = 2; hand <= 4; ++hand) {
        QLineEdit* extra = m_panel->Texthwnd3[hand - 2];
        if (const WindowHandle h = m_hands->pickedWindow(hand))
            extra->setText(ReadWindowDigits(*m_windowLink, h));
        const int g = kGroupOfHand[hand];
        const std::string sel = lot.formSet().SEL[g];
        m_panel->SelectText[g]->setText(toQ(MergeDigits(sel, toStd(extra->text()))));
    }
    m_panel->writeKillBox(1);
    m_panel->LabelYanchi->setText(QString::number(m_form.Yanchi));
    if (auto dadi = RenewPlan(lot))
        m_panel->setBaseText(toQ(*dadi));
    else
        ShowLabelTxt(QStringLiteral("缩水失败：") + toQ(dadi.error()));
    RedrawPlanDisplay();
    m_form.KillTextBusy = false;
}

} // namespace zuohao::gui
