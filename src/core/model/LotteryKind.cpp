#include "core/model/LotteryKind.h"

#include <cstdio>

#include "core/model/Period.h"
#include "core/model/Text.h"

namespace zuohao {

namespace {
constexpr std::size_t kDayCountDigits = 3; // a DayCount label ends in 001 .. periodsPerDay
} // namespace

std::string NextPeriodLabel(int lotteryIndex, std::string_view newQi) {
    const LotteryKind* kind = LotteryKindAt(lotteryIndex);
    if (!kind) return {};
    return NextPeriodLabel(kind->naming, kind->periodsPerDay, newQi);
}

std::string NextPeriodLabel(PeriodNaming naming, int periodsPerDay, std::string_view newQi) {
    if (naming == PeriodNaming::DateLabel) return NextLabelText(newQi) + "期";
    std::string_view tail = newQi;
    if (tail.size() > kDayCountDigits) tail = tail.substr(tail.size() - kDayCountDigits);
    const long long v = Period::parse(tail).value();
    const long long perDay = periodsPerDay > 0 ? periodsPerDay : 1;
    const long long next = ((v % perDay) + perDay) % perDay + 1;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%03lld", next);
    return std::string(buf) + "期";
}

} // namespace zuohao
