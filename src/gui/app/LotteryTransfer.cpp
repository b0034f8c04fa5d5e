#include "gui/app/LotteryTransfer.h"

#include "core/acquire/LotteryClass.h"

namespace zuohao::gui {

namespace {
constexpr const char* kListKeys[2] = {"KL0", "KL1"};
constexpr int kFrontFour = 10; // 前四星; 后四星 follows
constexpr int kBackFour = 11;
} // namespace

std::string KillTextFor(const KillTexts& kill, int k, int wei) {
    if (k == 0) return kill.three;
    const bool ownForm = wei == kFrontFour || wei == kBackFour;
    return kill.four[ownForm ? std::size_t(wei - kFrontFour) : 2];
}

std::string StoreKillLists(LotteryClass& lottery, const KillTexts& kill) {
    std::string error;
    for (int k = 0; k < 2; ++k)
        if (auto r =
                lottery.LetMyFormSet(kListKeys[k], KillTextFor(kill, k, lottery.formSet().IDX), 0);
            !r && error.empty())
            error = r.error();
    return error;
}

std::string MergeExtraDigits(LotteryClass& lottery, int k, const std::string& digits) {
    const int g = kGroupOfExtraBox[k];
    const std::string merged = MergeDigits(lottery.formSet().SEL[std::size_t(g)], digits);
    auto r = lottery.LetMyFormSet("SEL", merged, g);
    return r ? std::string() : r.error();
}

} // namespace zuohao::gui
