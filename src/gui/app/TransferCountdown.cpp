#include "gui/app/TransferCountdown.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "core/making/KillList.h"
#include "gui/app/LotteryForm.h"
#include "gui/app/WorkKeeper.h"
#include "gui/common/QtText.h"
#include "gui/common/WorkGate.h"
#include "gui/making/MakingPanel.h"
#include "gui/monitor/JianKongForm.h"
#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/HandPicker.h"

namespace zuohao::gui {

namespace {
// Work a modal box may have to defer, one key each (the owner is the lottery's timer).
constexpr int kCountdownWork = 2;
constexpr int kSecondMs = 1000;
constexpr int kKillHands = 2;
} // namespace

TransferCountdown::TransferCountdown(LotteryForm& form) : QObject(&form), m_form(form) {}

LotteryTransfer& TransferCountdown::of(const LotteryClass& lottery) const {
    return m_form.m_desk->transfer(m_form.m_desk->indexOf(&lottery));
}

LotteryTransfer* TransferCountdown::shownRecord() const {
    // Nothing while the list changes and the lottery shown may be gone.
    const int i = m_form.m_desk->indexOf(m_form.m_form.ActiveCls);
    return i < 0 ? nullptr : &m_form.m_desk->transfer(i);
}

bool TransferCountdown::isShown(const LotteryClass& lottery) const {
    return &lottery == m_form.m_form.ActiveCls;
}

QTimer* TransferCountdown::timerOf(LotteryClass& lottery) {
    LotteryTransfer& t = of(lottery);
    if (!t.timer) {
        // It goes with the lottery's record, and its connection with it.
        t.timer = std::make_unique<QTimer>();
        t.timer->setObjectName(QStringLiteral("TimerGetHwnd"));
        t.timer->setInterval(kSecondMs);
        connect(t.timer.get(), &QTimer::timeout, this, [this, &lottery] { tick(lottery); });
    }
    return t.timer.get();
}

void TransferCountdown::captureFromHand(int index, unsigned long long handle) {
    // The picker has already written the handle into LabelHwnd(index).
    FormState& state = m_form.m_form;
    LotteryTransfer* shown = shownRecord();
    if (!shown) return;
    shown->picked[std::size_t(index)] = handle;
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
    keepShown();
    m_form.activateWindow();
}

void TransferCountdown::forgetPick(int k) {
    m_form.m_hands->clearPick(k);
    if (LotteryTransfer* shown = shownRecord()) shown->picked[std::size_t(k)] = 0;
}

void TransferCountdown::showShown() {
    FormState& state = m_form.m_form;
    const LotteryTransfer* shown = shownRecord();
    if (!shown) return;
    const LotteryTransfer& t = *shown;
    state.Kill = t.kill;
    for (int k = 0; k < kExtraDigitBoxes; ++k)
        m_form.m_panel->restoreExtraDigits(k, toQ(t.extraDigits[std::size_t(k)]));
    for (int i = 0; i < kTransferHands; ++i)
        m_form.m_hands->showPick(i, t.picked[std::size_t(i)]);
    const bool counting = t.timer && t.timer->isActive();
    const int left = counting ? std::max(0, state.Yanchi - t.count) : state.Yanchi;
    m_form.m_panel->setCountdown(left);
}

void TransferCountdown::keepShown() {
    LotteryTransfer* shown = shownRecord();
    if (!shown) return;
    LotteryTransfer& t = *shown;
    t.kill = m_form.m_form.Kill;
    for (int k = 0; k < kExtraDigitBoxes; ++k)
        t.extraDigits[std::size_t(k)] = toStd(m_form.m_panel->extraDigits(k));
}

void TransferCountdown::begin(LotteryClass& lottery) {
    if (m_form.m_form.Yanchi < 1) {
        transferFromWindows(lottery);
        return;
    }
    LotteryTransfer& t = of(lottery);
    t.count = 0;
    t.due = 0;
    timerOf(lottery)->start();
}

void TransferCountdown::stop() {
    if (m_form.m_form.ActiveCls) stop(*m_form.m_form.ActiveCls);
}

void TransferCountdown::stop(LotteryClass& lottery) {
    LotteryTransfer& t = of(lottery);
    if (t.timer) t.timer->stop();
    t.due = 0;
    t.count = 0;
    if (isShown(lottery)) m_form.m_panel->setCountdown(m_form.m_form.Yanchi);
}

void TransferCountdown::stopAll() {
    for (int i = 0; i < m_form.m_desk->count(); ++i)
        if (const auto& timer = m_form.m_desk->transfer(i).timer) timer->stop();
}

void TransferCountdown::tick() {
    if (m_form.m_form.ActiveCls) tick(*m_form.m_form.ActiveCls);
}

void TransferCountdown::tick(LotteryClass& lottery) {
    // A second that passes while a box is open is counted once the box has been closed.
    ++of(lottery).due;
    WorkGate::run(timerOf(lottery), kCountdownWork, [this, &lottery] {
        LotteryTransfer& t = of(lottery);
        while (t.due > 0) {
            --t.due;
            if (step(lottery)) break;
        }
        t.due = 0;
    });
}

bool TransferCountdown::step(LotteryClass& lottery) {
    // The plan was cleared meanwhile: nothing to read, no plan line to write.
    if (!lottery.hasPlan()) {
        stop(lottery);
        return true;
    }
    LotteryTransfer& t = of(lottery);
    ++t.count;
    const int r = m_form.m_form.Yanchi - t.count;
    if (isShown(lottery)) m_form.m_panel->setCountdown(r < 0 ? 0 : r);
    if (r > 0) return false;
    t.timer->stop();
    transferFromWindows(lottery);
    return true;
}

void TransferCountdown::transferFromWindows(LotteryClass& lottery) {
    if (isShown(lottery))
        transferShown(lottery);
    else
        transferOutOfSight(lottery);
}

void TransferCountdown::transferShown(LotteryClass& lot) {
    FormState& state = m_form.m_form;
    MakingPanel* panel = m_form.m_panel;
    DesktopWindowLink& link = *m_form.m_windowLink;
    const LotteryTransfer& t = of(lot);
    state.KillTextBusy = true;
    // A hand without a picked window leaves its box as the user pasted or typed it; a picked
    // window that is gone reads as empty and empties its box.
    QString raw[kKillHands];
    for (int k = 0; k < kKillHands; ++k) {
        const WindowHandle h = t.picked[std::size_t(k)];
        if (h != 0)
            AcceptKillList(state.Kill, toStd(ReadWindowText(link, h, KillListWidth(k), &raw[k])),
                           k);
    }
    panel->writeKillBox(0);
    for (int box = 0; box < kExtraDigitBoxes; ++box) {
        if (const WindowHandle h = t.picked[std::size_t(kKillHands + box)])
            panel->setExtraDigits(box, ReadWindowDigits(link, h));
        const int g = kExtraDigitGroups[std::size_t(box)];
        const std::string sel = lot.formSet().SEL[std::size_t(g)];
        panel->setSelection(g, toQ(MergeDigits(sel, toStd(panel->extraDigits(box)))));
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
    keepShown();
    for (const QString& text : raw)
        panel->noteLinesLeftOut(text);
}

void TransferCountdown::transferOutOfSight(LotteryClass& lot) {
    LotteryTransfer& t = of(lot);
    DesktopWindowLink& link = *m_form.m_windowLink;
    for (int k = 0; k < kKillHands; ++k)
        if (const WindowHandle h = t.picked[std::size_t(k)])
            AcceptKillList(t.kill, toStd(ReadWindowText(link, h, KillListWidth(k))), k);
    std::string problem = StoreKillLists(lot, t.kill);
    for (int box = 0; box < kExtraDigitBoxes; ++box) {
        if (const WindowHandle h = t.picked[std::size_t(kKillHands + box)])
            t.extraDigits[std::size_t(box)] = toStd(ReadWindowDigits(link, h));
        const std::string merged = MergeExtraDigits(lot, box, t.extraDigits[std::size_t(box)]);
        if (problem.empty()) problem = merged;
    }
    const QString name = toQ(lot.name());
    if (!problem.empty()) m_form.ShowLabelTxt(name + QStringLiteral("条件未保存：") + toQ(problem));
    // The renewal restarts the lottery's monitor from the new base set when it is on.
    if (auto dadi = lot.RenewPlan(); !dadi)
        m_form.ShowLabelTxt(name + QStringLiteral("缩水失败：") + toQ(dadi.error()));
    if (&lot == m_form.m_jianKong->lottery()) m_form.m_jianKong->Kasi();
    if (m_form.m_work) m_form.m_work->changed();
}

} // namespace zuohao::gui
