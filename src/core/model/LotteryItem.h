#pragma once
// The draw record: period label, draw number, the statistics of its twelve position groups
// and the plan line made in its period.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/model/Cell.h"
#include "core/model/GridLayout.h"
#include "core/model/NumberTables.h"
#include "core/model/PlanLine.h"

namespace zuohao {

// A statistics cell as stored: kEmptyCell before the first computation, a miss count (1 or
// more), or kMarkedCell, the hit mark of the cell's own index.
using StatCell = std::int32_t;
inline constexpr StatCell kEmptyCell = 0;
inline constexpr StatCell kMarkedCell = -1;

// The numeric value of a cell: its count; an empty or marked cell counts 0.
constexpr int CellCount(StatCell c) {
    return c > 0 ? c : 0;
}
// A cell as the displays get it; `index` is the cell's own index (the digit, or 0 to 3).
Cell ToCell(StatCell c, int index);

// The miss cells of a group, ten per key, one per digit:
//   H3Y draws since the digit was last among the R3H digits, HYL among the REH digits,
//   CYL among the REC digits, WYL draws since it was last the WEI digit.
enum MissKey : int { kH3Y, kHYL, kCYL, kWYL, kMissKeys };
// The repeat cells of a group, four per key, one per previous draw (1st to 4th): a mark
// when R3H (R3A), STR (SMA), REH (RHA) or REC (RCA) shares a digit with that draw's.
enum RepeatKey : int { kR3A, kSMA, kRHA, kRCA, kRepeatKeys };
inline constexpr int kRepeatDraws = 4;

// Statistics of one position group of one draw.
struct SanmaRecord {
    std::array<StatCell, kMissKeys * 10> misses{};
    std::array<StatCell, kRepeatKeys * kRepeatDraws> repeats{};
    std::array<std::int16_t, 10> HHO{};   // per digit: occurrences in STR over the last 10 draws
    std::array<char, 10> hot{};           // HotOrder once hasHot
    std::array<std::uint8_t, 4> digits{}; // the digits of STR
    std::uint16_t num = 0;                // value of STR: index into the number tables
    bool four = false;                    // four-digit group
    bool hasHot = false;

    std::string_view STR() const;
    std::string_view WEI() const;
    std::string_view REH() const;
    std::string_view REC() const;
    std::string_view R3H() const;
    std::string_view HotOrder() const { return hasHot ? std::string_view(hot.data(), 10) : ""; }
    StatCell miss(MissKey key, int digit) const { return misses[std::size_t(key * 10 + digit)]; }
    StatCell repeat(RepeatKey key, int k) const {
        return repeats[std::size_t(key * kRepeatDraws + k)];
    }
};

// The digits of a group's STR, WEI, REH, REC and R3H as masks (bit d: digit d occurs).
struct GroupMasks {
    DigitMask str = 0, wei = 0, reh = 0, rec = 0, r3h = 0;
};

// Value read by a statistics key: nothing, a text, or a copy of cells.
using SanmaValue = std::variant<std::monostate, std::string, std::vector<Cell>>;

// Statistics row of a draw for one group: cells 1 .. kLastColumn (cell 0 unused), laid out
// as core/model/GridLayout.h says.
using GridRow = std::array<Cell, kGridColumns>;

// The ten digits ordered by count (absolute values), largest first, ties ascending.
std::string DigitOrderByCount(const std::array<std::int16_t, 10>& counts);

class LotteryItem {
public:
    std::string Qishu;            // period label of the draw, as the source gives it
    std::string Haoma;            // the five-digit draw number
    std::optional<PlanLine> Plan; // the plan line made in this period for the next one

    // The plan line's text; empty when no line was made in this period.
    std::string PlanTxt() const;

    // Fills STR, WEI, REH, REC and R3H of every group from Haoma.
    void ResetHaomaInfo();
    SanmaValue GetSanmaInfo(int index, std::string_view sanmaType) const;
    void CountHotNumber(std::array<std::int16_t, 10>& priArr, std::string_view putStr,
                        std::string_view countType, bool isPlus, int idx);
    // Statistics of every group, or of group `onlyGroup` alone (the others stay empty).
    void SetSanmaInfo(const LotteryItem& pri01, const LotteryItem* pri10,
                      const std::array<const LotteryItem*, 4>& arrPri, int onlyGroup = -1);
    // A new plan line, in progress, for period `qi`.
    void SetPlanTxt(std::string_view qi, int weiID, long long zhu);
    // Scores the line in progress (miss when isGua); a scored line or no line stays as it is.
    void ResultPlan(bool isGua);
    GridRow GetGridArray(int weiIndex) const;

    const SanmaRecord& group(int g) const;
    const GroupMasks& masks(int g) const;

private:
    std::array<SanmaRecord, 12> m_groups{};
    // Kept apart from the records: the statistics of later draws compare the masks of four
    // draws, which then come from two cache lines each.
    std::array<GroupMasks, 12> m_masks{};
};

} // namespace zuohao
