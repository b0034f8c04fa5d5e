#pragma once
// The lotteries the player follows, in tab order, as data: the two built-in ones first
// (kLotteryKinds, fixed: never removed or renamed, since the archive and the shared settings
// file know them by name and place), then the player's own. Names are unique (compared
// without regard to ASCII case) and follow the rule of LotteryName.h.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/LotteryKind.h"
#include "core/model/Result.h"

namespace zuohao {

// A lottery of the list.
struct LotteryEntry {
    std::string name;
    std::string drawFile; // the betting program's draw file; empty: no draw source
    PeriodNaming naming = PeriodNaming::DateLabel;
    int periodsPerDay = kPeriodsPerDay;
    bool fixed = false; // one of the built-in lotteries

    bool operator==(const LotteryEntry&) const = default;
};

inline constexpr int kMaxLotteries = 16; // what a tab strip and a player can follow
// Whether a lottery named by `naming` can have `periodsPerDay` periods a day: a date label
// always numbers kPeriodsPerDay (the period arithmetic of Period.h), a day count 1 to 999.
bool ValidPeriodsPerDay(PeriodNaming naming, int periodsPerDay);
// The usual periods a day of a new lottery with that naming.
int DefaultPeriodsPerDay(PeriodNaming naming);

// Captions of the list's own refusals (the name's faults: LotteryNameFaultCaption).
inline constexpr const char* kDuplicateNameCaption = "已有同名的彩票";
inline constexpr const char* kFixedLotteryCaption = "内置的彩票不能删除或改名";
inline constexpr const char* kFixedNamingCaption = "内置的彩票期号规则不能更改";
inline constexpr const char* kListFullCaption = "彩票已达上限";
inline constexpr const char* kPeriodsPerDayCaption = "每天期数超出范围";

class LotteryRegistry {
public:
    // The built-in lotteries, without draw files.
    LotteryRegistry();

    const std::vector<LotteryEntry>& entries() const { return m_entries; }
    int size() const { return int(m_entries.size()); }
    // The lottery at a tab index; nullptr outside the list.
    const LotteryEntry* at(int index) const;
    // The index of the lottery called `name` (trimmed, ASCII case ignored).
    std::optional<int> find(std::string_view name) const;

    // Why `name` cannot name a lottery other than the one at `except` (-1: none); empty when
    // it can. The name is trimmed first.
    std::string nameProblem(std::string_view name, int except = -1) const;

    // Appends a lottery; its index. The name is kept trimmed.
    Result<int> add(std::string_view name, std::string drawFile = {},
                    PeriodNaming naming = PeriodNaming::DateLabel,
                    int periodsPerDay = kPeriodsPerDay);
    Result<void> rename(int index, std::string_view name);
    // Removes a lottery of the player's; the later ones move up one place.
    Result<void> remove(int index);
    Result<void> setDrawFile(int index, std::string drawFile);
    Result<void> setNaming(int index, PeriodNaming naming, int periodsPerDay);

    bool operator==(const LotteryRegistry&) const = default;

private:
    Result<void> checkIndex(int index) const;
    std::vector<LotteryEntry> m_entries;
};

// The label of the period after `newQi` as a plan line names it, "期" included.
std::string NextPeriodLabel(const LotteryEntry& lottery, std::string_view newQi);

} // namespace zuohao
