#include "gui/app/TransferCountdown.h"

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

TransferCountdown::TransferCountdown(LotteryForm& form) : QObject(&form), m_form(form) {}

void TransferCountdown::captureFromHand(int index, unsigned long long handle) {
    // The picker has already written the handle into LabelHwnd(index).
    FormState& state = m_form.m_form;
    MakingPanel* panel = m_form.m_panel;
    DesktopWindowLink& link = *m_form.m_windowLink;
    state.KillTextBusy = true;
    if (index == 0 || index == 1) {
        QString raw;
        AcceptKillList(state.Kill, toStd(ReadWindowText(link, handle, KillListWidth(index), &raw)),
                       index);
        panel->writeKillBox(index);
        panel->noteLinesLeftOut(raw);
    } else if (index >= 2 && index <= 4) {
        panel->setExtraDigits(index - 2, ReadWindowDigits(link, handle));
    }
    state.KillTextBusy = false;
    m_form.activateWindow();
}

void TransferCountdown::begin() {
    if (m_form.m_form.Yanchi < 1) {
        transferFromWindows();
        return;
    }
    m_count = 0;
    m_due = 0;
    m_form.m_timerGetHwnd->start();
}

void TransferCountdown::stop() {
    m_form.m_timerGetHwnd->stop();
    m_due = 0;
    m_count = 0;
    m_form.m_panel->setCountdown(m_form.m_form.Yanchi);
}

void TransferCountdown::tick() {
    // A second that passes while a box is open is counted once the box has been closed.
    ++m_due;
    WorkGate::run(this, kCountdownWork, [this] {
        while (m_due > 0) {
            --m_due;
            if (step()) break;
        }
        m_due = 0;
    });
}

bool TransferCountdown::step() {
    // The plan was cleared meanwhile: nothing to read, no plan line to write.
    const FormState& state = m_form.m_form;
    if (!state.ActiveCls || !state.ActiveCls->hasPlan()) {
        stop();
        return true;
    }
    ++m_count;
    const int r = state.Yanchi - m_count;
    m_form.m_panel->setCountdown(r < 0 ? 0 : r);
    if (r > 0) return false;
    m_form.m_timerGetHwnd->stop();
    transferFromWindows();
    return true;
}

void TransferCountdown::transferFromWindows() {
    FormState& state = m_form.m_form;
    MakingPanel* panel = m_form.m_panel;
    HandPicker* hands = m_form.m_hands;
    DesktopWindowLink& link = *m_form.m_windowLink;
    state.KillTextBusy = true;
    LotteryClass& lot = *state.ActiveCls;
    // A hand without a picked window leaves its box as the user pasted or typed it; a picked
    // window that is gone reads as empty and empties its box.
    QString raw[2];
    for (int k = 0; k < 2; ++k) {
        const WindowHandle h = hands->pickedWindow(k);
        if (h != 0)
            AcceptKillList(state.Kill, toStd(ReadWindowText(link, h, KillListWidth(k), &raw[k])),
                           k);
    }
    panel->writeKillBox(0);
    static constexpr int kGroupOfHand[5] = {-1, -1, 4, 0, 1};
    for (int hand = 2; hand <= 4; ++hand) {
        if (const WindowHandle h = hands->pickedWindow(hand))
            panel->setExtraDigits(hand - 2, ReadWindowDigits(link, h));
        const int g = kGroupOfHand[hand];
        const std::string sel = lot.formSet().SEL[g];
        panel->setSelection(g, toQ(MergeDigits(sel, toStd(panel->extraDigits(hand - 2)))));
    }
    panel->writeKillBox(1);
    panel->setCountdown(state.Yanchi);
    // The renewal restarts the monitor from the new base set when the monitor is on.
    auto dadi = lot.RenewPlan();
    if (dadi)
        panel->showBaseSet();
    else
        m_form.ShowLabelTxt(QStringLiteral("缩水失败：") + toQ(dadi.error()));
    m_form.RedrawPlanDisplay();
    state.KillTextBusy = false;
    for (const QString& text : raw)
        panel->noteLinesLeftOut(text);
}

} // namespace zuohao::gui
