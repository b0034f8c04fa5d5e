#include "gui/app/LotteryTransfer.h"

#include "core/acquire/LotteryClass.h"

namespace zuohao::gui {

std::string StoreKillLists(LotteryClass& lottery, const KillTexts& kill) {
    std::string error;
    for (int k = 0; k < 2; ++k)
        if (auto r = lottery.LetMyFormSet(kKillListKeys[std::size_t(k)],
                                          KillTextFor(kill, k, lottery.formSet().IDX), 0);
            !r && error.empty())
            error = r.error();
    return error;
}

std::string MergeExtraDigits(LotteryClass& lottery, int k, const std::string& digits) {
    const int g = kExtraDigitGroups[std::size_t(k)];
    const std::string merged = MergeDigits(lottery.formSet().SEL[std::size_t(g)], digits);
    auto r = lottery.LetMyFormSet("SEL", merged, g);
    return r ? std::string() : r.error();
}

} // namespace zuohao::gui
