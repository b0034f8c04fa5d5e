#pragma once
// State of the main window that its panels share: the lottery shown, the position group
// shown, the kill texts and the flag that marks the program's own writes to a kill-list box.
#include <QString>
#include <functional>

#include "core/making/KillList.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

struct FormState {
    LotteryClass* ActiveCls = nullptr;
    int CurWei = 0;
    bool KillTextBusy = false;
    bool IsActivated = false;
    int Yanchi = 0;
    KillTexts Kill; // KillText3 and KillText4

    // What the panels ask of the main window.
    std::function<void()> RedrawPlanDisplay;
    std::function<void(const QString&)> ShowLabelTxt;
    // The kill-list panel k forgets its picked window (LabelHwnd(k) = "0").
    std::function<void(int)> ForgetPickedWindow;
    // A condition or a kill list was stored: the kept work is to be written.
    std::function<void()> WorkChanged;
    // A new base set was made: the monitor window shows the monitor as the lottery restarted
    // it (while it is switched on).
    std::function<void()> ShowMonitor;
};

} // namespace zuohao::gui
