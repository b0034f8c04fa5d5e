#pragma once
// Numbers read from picked windows into the kill lists and the extra digits: once right after
// a window is picked, and after every new draw of a lottery while its plan runs, when the
// delay (延迟, counted down a second at a time) has run out; then that lottery's plan is
// renewed from what was read. Each lottery has its own picked windows, kill texts, extra digits
// and countdown (its LotteryTransfer, kept by the desk); the boxes, hands and countdown label
// show the shown lottery's, and a lottery out of sight is read and renewed without them.
#include <QObject>

#include "gui/app/LotteryTransfer.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

class LotteryForm;

class TransferCountdown : public QObject {
    Q_OBJECT
public:
    explicit TransferCountdown(LotteryForm& form);

    // After a new draw of `lottery`: at once without a delay, else when the delay has run out.
    void begin(LotteryClass& lottery);
    // The shown lottery's countdown ends (its plan was cleared).
    void stop();
    void stop(LotteryClass& lottery);
    // Every countdown ends (the program closes).
    void stopAll();
    // One second of the shown lottery's countdown (the TimerGetHwnd tick), or of `lottery`'s.
    void tick();
    void tick(LotteryClass& lottery);
    // The timer of the lottery's countdown.
    QTimer* timerOf(LotteryClass& lottery);
    // Reads the window hand `index` has just picked for the shown lottery.
    void captureFromHand(int index, unsigned long long handle);
    // Kill-list panel k of the shown lottery forgets its picked window.
    void forgetPick(int k);
    // The boxes, hands and countdown label show the shown lottery's record (a tab was shown).
    void showShown();
    // The shown lottery's record takes its kill texts and extra digits as edited in the boxes.
    void keepShown();

private:
    LotteryTransfer& of(const LotteryClass& lottery) const;
    LotteryTransfer* shownRecord() const;
    bool isShown(const LotteryClass& lottery) const;
    // One second of the countdown; true when the countdown has ended.
    bool step(LotteryClass& lottery);
    void transferFromWindows(LotteryClass& lottery);
    // The shown lottery: through its boxes, whose change stores what they show.
    void transferShown(LotteryClass& lottery);
    // A lottery out of sight: its record and conditions only.
    void transferOutOfSight(LotteryClass& lottery);

    LotteryForm& m_form;
};

} // namespace zuohao::gui
