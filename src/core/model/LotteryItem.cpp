#include "core/model/LotteryItem.h"

#include <bit>
#include <cstdlib>

#include "core/model/Captions.h"
#include "core/model/Groups.h"

namespace zuohao {

Cell ToCell(StatCell c, int index) {
    if (c == kMarkedCell) return Cell::mark(std::to_string(index));
    if (c == kEmptyCell) return Cell{};
    return Cell::ofNumber(c);
}

std::string_view SanmaRecord::STR() const {
    const auto& t = NumberTables::instance();
    return four ? t.four(num) : t.three(num);
}
std::string_view SanmaRecord::WEI() const {
    return NumberInfo(num, InfoField::SumTail);
}
std::string_view SanmaRecord::REH() const {
    return NumberInfo(num, four ? InfoField::PairSums4 : InfoField::PairSums3);
}
std::string_view SanmaRecord::REC() const {
    return NumberInfo(num, four ? InfoField::PairDiffs4 : InfoField::PairDiffs3);
}
std::string_view SanmaRecord::R3H() const {
    return NumberInfo(num, four ? InfoField::TripleSums4 : InfoField::SumTail3);
}

namespace {
// The digits ordered by count into `out` (ten digit characters): larger counts first, equal
// counts by ascending digit. Each digit goes to its rank, the number of digits with a larger
// key; the keys are unique, and the ranks of all digits are counted together, without
// branches. Lanes beyond the ten digits hold keys that rank below every digit.
template <class Lane, std::size_t kLanes>
void rankByKey(const std::array<std::int16_t, 10>& counts, char* out) {
    alignas(32) std::array<Lane, kLanes> key{}, rank{};
    for (std::size_t d = 0; d < kLanes; ++d)
        key[d] = Lane(d < 10 ? std::abs(int(counts[d])) * 16 + 15 - int(d) : -1);
    for (std::size_t e = 0; e < 10; ++e) {
        const Lane other = key[e];
        for (std::size_t d = 0; d < kLanes; ++d)
            rank[d] = Lane(rank[d] + (key[d] < other ? 1 : 0));
    }
    for (std::size_t d = 0; d < 10; ++d)
        out[rank[d]] = char('0' + d);
}

void orderByCount(const std::array<std::int16_t, 10>& counts, char* out) {
    // A 10-draw window counts at most 40: its keys fit 16-bit lanes, twice as many a step.
    constexpr int kSmallCount = 2047;
    bool small = true;
    for (std::int16_t c : counts)
        small = small && std::abs(int(c)) <= kSmallCount;
    if (small)
        rankByKey<std::int16_t, 16>(counts, out);
    else
        rankByKey<std::int32_t, 12>(counts, out);
}

// Adds (or takes away) the digits of a group's STR, a repeated digit as often as it occurs.
void countDigits(std::array<std::int16_t, 10>& counts, const SanmaRecord& r, int step) {
    for (int k = 0, n = r.four ? 4 : 3; k < n; ++k)
        counts[r.digits[std::size_t(k)]] =
            static_cast<std::int16_t>(counts[r.digits[std::size_t(k)]] + step);
}

// Every repeat cell one draw older than the previous draw's: a count goes on, an empty or
// marked cell starts at 1.
void countOn(std::array<StatCell, kRepeatKeys * kRepeatDraws>& me,
             const std::array<StatCell, kRepeatKeys * kRepeatDraws>& prev) {
    const auto from = prev; // a copy the loop can run over in vectors
    for (std::size_t i = 0; i < from.size(); ++i)
        me[i] = CellCount(from[i]) + 1;
}

// The miss cells likewise, each digit of `marks` (one mask per key) marked instead. A mark
// is all bits set, so it is OR-ed in: no branch to mispredict.
static_assert(kMarkedCell == -1);
void countOn(std::array<StatCell, kMissKeys * 10>& me,
             const std::array<StatCell, kMissKeys * 10>& prev,
             const std::array<DigitMask, kMissKeys>& marks) {
    const auto from = prev;
    const std::uint64_t marked = std::uint64_t(marks[0]) | std::uint64_t(marks[1]) << 10 |
                                 std::uint64_t(marks[2]) << 20 | std::uint64_t(marks[3]) << 30;
    for (std::size_t i = 0; i < from.size(); ++i)
        me[i] = (CellCount(from[i]) + 1) | -StatCell(marked >> i & 1);
}

// Marks a cell when `shared` is not 0.
void markIf(StatCell& cell, unsigned shared) {
    cell |= -StatCell(shared != 0);
}

} // namespace

std::string DigitOrderByCount(const std::array<std::int16_t, 10>& counts) {
    std::string out(10, '0');
    orderByCount(counts, out.data());
    return out;
}

const SanmaRecord& LotteryItem::group(int g) const {
    assert(g >= 0 && g < kGroupCount);
    return m_groups[std::size_t(g)];
}

const GroupMasks& LotteryItem::masks(int g) const {
    assert(g >= 0 && g < kGroupCount);
    return m_masks[std::size_t(g)];
}

std::string LotteryItem::PlanTxt() const {
    return Plan ? PlanLineText(*Plan) : std::string();
}

void LotteryItem::ResetHaomaInfo() {
    auto digitAt = [&](int pos) {
        if (pos < 1 || pos > int(Haoma.size())) return 0;
        char c = Haoma[pos - 1];
        return (c >= '0' && c <= '9') ? c - '0' : 0;
    };
    const NumberTables& tables = NumberTables::instance();
    for (int g = 0; g < kGroupCount; ++g) {
        const auto& gp = kGroupPositions[g];
        SanmaRecord& r = m_groups[g];
        int v = 0;
        for (int k = 0; k < gp.count; ++k) {
            const int digit = digitAt(gp.pos[k]);
            r.digits[std::size_t(k)] = static_cast<std::uint8_t>(digit);
            v = v * 10 + digit;
        }
        r.num = static_cast<std::uint16_t>(v);
        r.four = gp.count == 4;
        const SpaceAttrs& a = r.four ? tables.attrs4(v) : tables.attrs3(v);
        m_masks[std::size_t(g)] = GroupMasks{a.digits, a.sumTail, a.pairSum, a.pairDiff, a.triple};
    }
}

namespace {
std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return u;
}
std::vector<Cell> missCells(const SanmaRecord& r, MissKey key) {
    std::vector<Cell> out;
    out.reserve(10);
    for (int d = 0; d < 10; ++d)
        out.push_back(ToCell(r.miss(key, d), d));
    return out;
}
std::vector<Cell> repeatCells(const SanmaRecord& r, RepeatKey key) {
    std::vector<Cell> out;
    out.reserve(kRepeatDraws);
    for (int k = 0; k < kRepeatDraws; ++k)
        out.push_back(ToCell(r.repeat(key, k), k));
    return out;
}
} // namespace

SanmaValue LotteryItem::GetSanmaInfo(int index, std::string_view sanmaType) const {
    if (index < 0 || index >= kGroupCount) return std::monostate{};
    const SanmaRecord& r = m_groups[index];
    const std::string key = upper(sanmaType);
    if (key == "STR") return std::string(r.STR());
    if (key == "WEI") return std::string(r.WEI());
    if (key == "REH") return std::string(r.REH());
    if (key == "REC") return std::string(r.REC());
    if (key == "R3H") return std::string(r.R3H());
    if (key == "H3Y") return missCells(r, kH3Y);
    if (key == "HYL") return missCells(r, kHYL);
    if (key == "CYL") return missCells(r, kCYL);
    if (key == "WYL") return missCells(r, kWYL);
    if (key == "R3A") return repeatCells(r, kR3A);
    if (key == "SMA") return repeatCells(r, kSMA);
    if (key == "RHA") return repeatCells(r, kRHA);
    if (key == "RCA") return repeatCells(r, kRCA);
    if (key == "HHO") {
        std::vector<Cell> out;
        for (auto v : r.HHO)
            out.push_back(Cell::ofNumber(v));
        return out;
    }
    return std::monostate{};
}

void LotteryItem::CountHotNumber(std::array<std::int16_t, 10>& priArr, std::string_view putStr,
                                 std::string_view countType, bool isPlus, int idx) {
    for (char c : putStr) {
        if (c < '0' || c > '9') continue;
        priArr[c - '0'] = static_cast<std::int16_t>(priArr[c - '0'] + (isPlus ? 1 : -1));
    }
    if (upper(countType) == "HM" && idx >= 0 && idx < kGroupCount) m_groups[idx].HHO = priArr;
}

void LotteryItem::SetSanmaInfo(const LotteryItem& pri01, const LotteryItem* pri10,
                               const std::array<const LotteryItem*, 4>& arrPri, int onlyGroup) {
    // Each group's statistics depend on that group alone.
    const int first = onlyGroup < 0 ? 0 : onlyGroup;
    const int end = onlyGroup < 0 ? kGroupCount : onlyGroup + 1;
    for (int g = first; g < end; ++g) {
        SanmaRecord& me = m_groups[g];
        const SanmaRecord& prev = pri01.m_groups[g];
        me.HHO = prev.HHO;
        countDigits(me.HHO, me, +1);
        countOn(me.repeats, prev.repeats);
    }
    if (pri10 == nullptr) return;

    for (int g = first; g < end; ++g) {
        SanmaRecord& me = m_groups[g];
        const SanmaRecord& prev = pri01.m_groups[g];
        countDigits(me.HHO, pri10->m_groups[g], -1); // the leaving draw drops out of the window
        orderByCount(me.HHO, me.hot.data());
        me.hasHot = true;

        // Repeat marks against the four previous draws: a shared digit marks cell k.
        const GroupMasks& mine = m_masks[std::size_t(g)];
        for (std::size_t k = 0; k < kRepeatDraws; ++k) {
            if (!arrPri[k]) continue;
            const GroupMasks& o = arrPri[k]->m_masks[std::size_t(g)];
            markIf(me.repeats[kR3A * kRepeatDraws + k], o.r3h & mine.r3h);
            markIf(me.repeats[kSMA * kRepeatDraws + k], o.str & mine.str);
            markIf(me.repeats[kRHA * kRepeatDraws + k], o.reh & mine.reh);
            markIf(me.repeats[kRCA * kRepeatDraws + k], o.rec & mine.rec);
        }
        // Miss counts, the cells of this draw's digits marked.
        countOn(me.misses, prev.misses, {mine.r3h, mine.reh, mine.rec, mine.wei});
    }
}

void LotteryItem::SetPlanTxt(std::string_view qi, int weiID, long long zhu) {
    Plan = PlanLine{std::string(qi), zhu, weiID, PlanOutcome::Running};
}

void LotteryItem::ResultPlan(bool isGua) {
    if (Plan && Plan->outcome == PlanOutcome::Running)
        Plan->outcome = isGua ? PlanOutcome::Miss : PlanOutcome::Hit;
}

GridRow LotteryItem::GetGridArray(int weiIndex) const {
    GridRow row;
    assert(weiIndex >= 0 && weiIndex < kGroupCount);
    if (weiIndex < 0 || weiIndex >= kGroupCount) return row;
    const SanmaRecord& r = m_groups[weiIndex];
    row[kPeriodColumn] = Cell::ofText(Qishu);
    row[kNumberColumn] = Cell::ofText(Haoma);
    for (int i = 0; i < kDigitPlaces; ++i) {
        const int column = ColumnOf(0, i);
        if (!r.hasHot) {
            row[column] = Cell::mark(""); // an empty digit counts as occurring in STR
            continue;
        }
        std::string_view digit(&r.hot[i], 1);
        row[column] = (masks(weiIndex).str >> (r.hot[i] - '0') & 1)
                          ? Cell::mark(digit)
                          : Cell::ofText(std::string(digit));
    }
    for (int k = 0; k < kDrawBoxPlaces; ++k) {
        const int place = kDigitPlaces + k;
        row[ColumnOf(0, place)] = ToCell(r.repeat(kSMA, k), k);
        row[ColumnOf(1, place)] = ToCell(r.repeat(kR3A, k), k);
        row[ColumnOf(2, place)] = ToCell(r.repeat(kRHA, k), k);
        row[ColumnOf(3, place)] = ToCell(r.repeat(kRCA, k), k);
    }
    for (int d = 0; d < kDigitPlaces; ++d) {
        row[ColumnOf(1, d)] = ToCell(r.miss(kH3Y, d), d);
        row[ColumnOf(2, d)] = ToCell(r.miss(kHYL, d), d);
        row[ColumnOf(3, d)] = ToCell(r.miss(kCYL, d), d);
        row[ColumnOf(4, d)] = ToCell(r.miss(kWYL, d), d);
    }
    return row;
}

} // namespace zuohao
