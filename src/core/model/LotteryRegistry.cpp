#include "core/model/LotteryRegistry.h"

#include "core/model/LotteryName.h"

namespace zuohao {

namespace {
constexpr int kMaxDayCountPerDay = 999; // three digits
} // namespace

bool ValidPeriodsPerDay(PeriodNaming naming, int periodsPerDay) {
    if (naming == PeriodNaming::DateLabel) return periodsPerDay == kPeriodsPerDay;
    return periodsPerDay >= 1 && periodsPerDay <= kMaxDayCountPerDay;
}

int DefaultPeriodsPerDay(PeriodNaming naming) {
    return naming == PeriodNaming::DateLabel ? kPeriodsPerDay : kVr3PeriodsPerDay;
}

LotteryRegistry::LotteryRegistry() {
    for (const LotteryKind& kind : kLotteryKinds)
        m_entries.push_back({kind.name, {}, kind.naming, kind.periodsPerDay, true});
}

const LotteryEntry* LotteryRegistry::at(int index) const {
    return index >= 0 && index < size() ? &m_entries[std::size_t(index)] : nullptr;
}

std::optional<int> LotteryRegistry::find(std::string_view name) const {
    name = TrimLotteryName(name);
    for (int i = 0; i < size(); ++i)
        if (SameLotteryName(m_entries[std::size_t(i)].name, name)) return i;
    return std::nullopt;
}

std::string LotteryRegistry::nameProblem(std::string_view name, int except) const {
    const std::string_view trimmed = TrimLotteryName(name);
    if (const LotteryNameFault f = CheckLotteryName(trimmed); f != LotteryNameFault::None)
        return LotteryNameFaultCaption(f);
    if (const auto held = find(trimmed); held && *held != except) return kDuplicateNameCaption;
    return {};
}

Result<void> LotteryRegistry::checkIndex(int index) const {
    if (!at(index)) return fail(ErrorCode::OutOfRange, "没有这种彩票");
    return {};
}

Result<int> LotteryRegistry::add(std::string_view name, std::string drawFile, PeriodNaming naming,
                                 int periodsPerDay) {
    if (size() >= kMaxLotteries) return fail(ErrorCode::OutOfRange, kListFullCaption);
    if (std::string why = nameProblem(name); !why.empty()) return fail(std::move(why));
    if (!ValidPeriodsPerDay(naming, periodsPerDay))
        return fail(ErrorCode::OutOfRange, kPeriodsPerDayCaption);
    m_entries.push_back(
        {std::string(TrimLotteryName(name)), std::move(drawFile), naming, periodsPerDay, false});
    return size() - 1;
}

Result<void> LotteryRegistry::rename(int index, std::string_view name) {
    if (auto r = checkIndex(index); !r) return r;
    LotteryEntry& e = m_entries[std::size_t(index)];
    if (e.fixed) return fail(kFixedLotteryCaption);
    if (std::string why = nameProblem(name, index); !why.empty()) return fail(std::move(why));
    e.name = std::string(TrimLotteryName(name));
    return {};
}

Result<void> LotteryRegistry::remove(int index) {
    if (auto r = checkIndex(index); !r) return r;
    if (m_entries[std::size_t(index)].fixed) return fail(kFixedLotteryCaption);
    m_entries.erase(m_entries.begin() + index);
    return {};
}

Result<void> LotteryRegistry::setDrawFile(int index, std::string drawFile) {
    if (auto r = checkIndex(index); !r) return r;
    m_entries[std::size_t(index)].drawFile = std::move(drawFile);
    return {};
}

Result<void> LotteryRegistry::setNaming(int index, PeriodNaming naming, int periodsPerDay) {
    if (auto r = checkIndex(index); !r) return r;
    LotteryEntry& e = m_entries[std::size_t(index)];
    // The built-in lotteries number their periods as their draws do.
    if (e.fixed) return fail(kFixedNamingCaption);
    if (!ValidPeriodsPerDay(naming, periodsPerDay))
        return fail(ErrorCode::OutOfRange, kPeriodsPerDayCaption);
    e.naming = naming;
    e.periodsPerDay = periodsPerDay;
    return {};
}

std::string NextPeriodLabel(const LotteryEntry& lottery, std::string_view newQi) {
    return NextPeriodLabel(lottery.naming, lottery.periodsPerDay, newQi);
}

} // namespace zuohao
