// The names of the archive's lotteries: the player's own text, checked before it is written
// by the one rule of the lottery list (core/model/LotteryName.h).
#include <string>
#include <string_view>

#include "core/model/LotteryName.h"
#include "store/DrawArchive.h"

namespace zuohao::store {

std::string LotteryNameProblem(std::string_view name) {
    return LotteryNameFaultText(CheckLotteryName(name));
}

} // namespace zuohao::store
