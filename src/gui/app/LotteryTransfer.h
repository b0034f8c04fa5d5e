#pragma once
// What one lottery keeps of the number transfer: the windows its five hands picked, its kill
// texts, the digits of its three extra boxes and its own countdown after a new draw. The main
// window's boxes and hands show the shown lottery's record; every other lottery's record is
// read and written without them. The functions below are the work a transfer does on a
// lottery's conditions, the same whether its tab is shown or not.
#include <QTimer>
#include <array>
#include <memory>
#include <string>

#include "core/making/KillList.h"
#include "gui/winlink/WindowLink.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

inline constexpr int kTransferHands = 5; // hands 0, 1: kill lists; 2-4: extra digits
inline constexpr int kExtraDigitBoxes = int(kExtraDigitGroups.size()); // Texthwnd3(0..2)

struct LotteryTransfer {
    std::array<WindowHandle, kTransferHands> picked{}; // 0: none
    KillTexts kill;
    std::array<std::string, kExtraDigitBoxes> extraDigits{}; // as typed or read
    // The countdown: running, seconds counted, and seconds that passed while a box was open.
    std::unique_ptr<QTimer> timer; // made with the first countdown
    int count = 0;
    int due = 0;
};

// Stores both kill lists into the lottery's conditions (KL0, KL1) as their boxes store them,
// for the lottery's own position group; the error of a store that failed, else empty.
std::string StoreKillLists(LotteryClass& lottery, const KillTexts& kill);
// Merges the digits of extra box k into its selection group; the error, else empty.
std::string MergeExtraDigits(LotteryClass& lottery, int k, const std::string& digits);

} // namespace zuohao::gui
