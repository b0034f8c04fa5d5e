#pragma once
// Numbers read from picked windows into the kill lists and the extra digits: once right after
// a window is picked, and after every new draw of the shown lottery while its plan runs, when
// the delay (延迟, counted down a second at a time) has run out; then the plan is renewed from
// what was read.
#include <QObject>

namespace zuohao::gui {

class LotteryForm;

class TransferCountdown : public QObject {
    Q_OBJECT
public:
    explicit TransferCountdown(LotteryForm& form);

    // After a new draw: at once without a delay, else when the delay has run out.
    void begin();
    void stop();
    // One second of the countdown (the TimerGetHwnd tick).
    void tick();
    // Reads the window hand `index` has just picked.
    void captureFromHand(int index, unsigned long long handle);

private:
    // One second of the countdown; true when the countdown has ended.
    bool step();
    void transferFromWindows();

    LotteryForm& m_form;
    int m_count = 0; // seconds counted
    int m_due = 0;   // seconds that passed while other work ran
};

} // namespace zuohao::gui
