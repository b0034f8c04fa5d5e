#pragma once
// The built-in lotteries, first in the list: name and how their periods are numbered. Where
// draws come from is the list's (a lottery without a draw file receives none).
#include <array>
#include <string>
#include <string_view>

#include "core/model/Period.h"

namespace zuohao {

// How a lottery numbers its periods.
enum class PeriodNaming {
    DateLabel, // yyyymmddNNNN, NNNN from 0001 to periodsPerDay (core/model/Period.h)
    DayCount,  // the period of the day alone, three digits from 001 to periodsPerDay
};

struct LotteryKind {
    const char* name;
    PeriodNaming naming;
    int periodsPerDay;
};

inline constexpr int kVr3PeriodsPerDay = 120; // VR3分彩 numbers its periods 001 to 120

inline constexpr std::array<LotteryKind, 2> kLotteryKinds{{
    {"腾讯分分彩", PeriodNaming::DateLabel, kPeriodsPerDay},
    {"VR3分彩", PeriodNaming::DayCount, kVr3PeriodsPerDay},
}};

// The lottery of a tab index; nullptr outside the table.
inline const LotteryKind* LotteryKindAt(int index) {
    return index >= 0 && index < int(kLotteryKinds.size()) ? &kLotteryKinds[std::size_t(index)]
                                                           : nullptr;
}

// The label of the period after `newQi` as a plan line names it, "期" included; empty for a
// lottery outside the table.
std::string NextPeriodLabel(int lotteryIndex, std::string_view newQi);
// The same for a lottery that numbers its periods by `naming`, `periodsPerDay` a day.
std::string NextPeriodLabel(PeriodNaming naming, int periodsPerDay, std::string_view newQi);

} // namespace zuohao
