// Numbers read from picked windows into the kill lists and the extra digits: once right after
// a window is picked, and after every new draw while a plan runs, when the delay has run out.
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "core/making/KillList.h"
#include "gui/app/LotteryForm.h"
#include "gui/common/QtText.h"
#include "gui/common/WorkGate.h"
#include "gui/making/MakingPanel.h"
#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/HandPicker.h"

namespace zuohao::gui {

namespace {
// Work a modal box may have to defer, one key each.
constexpr int kCountdownWork = 2;
} // namespace

void LotteryForm::CaptureFromHand(int index, quint64 handle) {
    // The picker has already written the handle into LabelHwnd(index).
    m_form.KillTextBusy = true;
    if (index == 0 || index == 1) {
        QString raw;
        AcceptKillList(m_form.Kill,
                       toStd(ReadWindowText(*m_windowLink, handle, KillListWidth(index), &raw)),
                       index);
        m_panel->writeKillBox(index);
        m_panel->noteLinesLeftOut(raw);
    } else if (index >= 2 && index <= 4) {
        m_panel->setExtraDigits(index - 2, ReadWindowDigits(*m_windowLink, handle));
    }
    m_form.KillTextBusy = false;
    activateWindow();
}

void LotteryForm::startCountdown() {
    m_yanchiCount = 0;
    m_countdownDue = 0;
    m_timerGetHwnd->start();
}

void LotteryForm::stopCountdown() {
    m_timerGetHwnd->stop();
    m_countdownDue = 0;
    m_yanchiCount = 0;
    m_panel->setCountdown(m_form.Yanchi);
}

void LotteryForm::TimerGetHwnd_Timer() {
    // A second that passes while a box is open is counted once the box has been closed.
    ++m_countdownDue;
    WorkGate::run(this, kCountdownWork, [this] {
        while (m_countdownDue > 0) {
            --m_countdownDue;
            if (countdownStep()) break;
        }
        m_countdownDue = 0;
    });
}

bool LotteryForm::countdownStep() {
    // The plan was cleared meanwhile: nothing to read, no plan line to write.
    if (!m_form.ActiveCls || !m_form.ActiveCls->hasPlan()) {
        stopCountdown();
        return true;
    }
    ++m_yanchiCount;
    const int r = m_form.Yanchi - m_yanchiCount;
    m_panel->setCountdown(r < 0 ? 0 : r);
    if (r > 0) return false;
    m_timerGetHwnd->stop();
    transferFromWindows();
    return true;
}

void LotteryForm::transferFromWindows() {
    m_form.KillTextBusy = true;
    LotteryClass& lot = *m_form.ActiveCls;
    // A hand without a picked window leaves its box as the user pasted or typed it; a picked
    // window that is gone reads as empty and empties its box.
    QString raw[2];
    for (int k = 0; k < 2; ++k) {
        const WindowHandle h = m_hands->pickedWindow(k);
        if (h != 0)
            AcceptKillList(m_form.Kill,
                           toStd(ReadWindowText(*m_windowLink, h, KillListWidth(k), &raw[k])), k);
    }
    m_panel->writeKillBox(0);
    static constexpr int kGroupOfHand[5] = {-1, -1, 4, 0, 1};
    for (int hand = 2; hand <= 4; ++hand) {
        if (const WindowHandle h = m_hands->pickedWindow(hand))
            m_panel->setExtraDigits(hand - 2, ReadWindowDigits(*m_windowLink, h));
        const int g = kGroupOfHand[hand];
        const std::string sel = lot.formSet().SEL[g];
        m_panel->setSelection(g, toQ(MergeDigits(sel, toStd(m_panel->extraDigits(hand - 2)))));
    }
    m_panel->writeKillBox(1);
    m_panel->setCountdown(m_form.Yanchi);
    // The renewal restarts the monitor from the new base set when the monitor is on.
    auto dadi = lot.RenewPlan();
    if (dadi)
        m_panel->showBaseSet();
    else
        ShowLabelTxt(QStringLiteral("缩水失败：") + toQ(dadi.error()));
    RedrawPlanDisplay();
    m_form.KillTextBusy = false;
    for (const QString& text : raw)
        m_panel->noteLinesLeftOut(text);
}

} // namespace zuohao::gui
