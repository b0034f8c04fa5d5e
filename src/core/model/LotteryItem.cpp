#include "core/model/LotteryItem.h"

#include <algorithm>
#include <cstdlib>

#include "core/model/Groups.h"

namespace zuohao {

Cell StatCell::toCell() const {
    switch (kind) {
    case Number:
        return Cell::ofNumber(value);
    case Mark:
        return Cell::mark(std::to_string(value));
    default:
        return Cell{};
    }
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
DigitMask SanmaRecord::strMask() const {
    return NumberTables::instance().infoMask(num, four ? InfoField::Digits4 : InfoField::Digits3);
}
DigitMask SanmaRecord::weiMask() const {
    return NumberTables::instance().infoMask(num, InfoField::SumTail);
}
DigitMask SanmaRecord::rehMask() const {
    return NumberTables::instance().infoMask(num,
                                             four ? InfoField::PairSums4 : InfoField::PairSums3);
}
DigitMask SanmaRecord::recMask() const {
    return NumberTables::instance().infoMask(num,
                                             four ? InfoField::PairDiffs4 : InfoField::PairDiffs3);
}
DigitMask SanmaRecord::r3hMask() const {
    return NumberTables::instance().infoMask(num,
                                             four ? InfoField::TripleSums4 : InfoField::SumTail3);
}

std::string DigitOrderByCount(const std::array<std::int16_t, 10>& counts) {
    std::array<int, 10> digits{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    std::stable_sort(digits.begin(), digits.end(),
                     [&](int a, int b) { return std::abs(counts[a]) > std::abs(counts[b]); });
    std::string out(10, '0');
    for (int i = 0; i < 10; ++i)
        out[i] = char('0' + digits[i]);
    return out;
}

const SanmaRecord& LotteryItem::group(int g) const {
    assert(g >= 0 && g < kGroupCount);
    return m_groups[g];
}

void LotteryItem::ResetHaomaInfo() {
    auto digitAt = [&](int pos) {
        if (pos < 1 || pos > int(Haoma.size())) return 0;
        char c = Haoma[pos - 1];
        return (c >= '0' && c <= '9') ? c - '0' : 0;
    };
    for (int g = 0; g < kGroupCount; ++g) {
        const auto& gp = kGroupPositions[g];
        int v = 0;
        for (int k = 0; k < gp.count; ++k)
            v = v * 10 + digitAt(gp.pos[k]);
        m_groups[g].num = static_cast<std::uint16_t>(v);
        m_groups[g].four = gp.count == 4;
    }
}

namespace {
std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return u;
}
template <std::size_t N> std::vector<Cell> cellsOf(const std::array<StatCell, N>& a) {
    std::vector<Cell> out;
    out.reserve(N);
    for (const auto& c : a)
        out.push_back(c.toCell());
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
    if (key == "H3Y") return cellsOf(r.H3Y);
    if (key == "HYL") return cellsOf(r.HYL);
    if (key == "CYL") return cellsOf(r.CYL);
    if (key == "WYL") return cellsOf(r.WYL);
    if (key == "R3A") return cellsOf(r.R3A);
    if (key == "SMA") return cellsOf(r.SMA);
    if (key == "RHA") return cellsOf(r.RHA);
    if (key == "RCA") return cellsOf(r.RCA);
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
                               const std::array<const LotteryItem*, 4>& arrPri) {
    for (int g = 0; g < kGroupCount; ++g) {
        SanmaRecord& me = m_groups[g];
        const SanmaRecord& prev = pri01.m_groups[g];
        auto counts = prev.HHO;
        CountHotNumber(counts, me.STR(), "HM", true, g);
        for (int k = 0; k < 4; ++k) {
            me.R3A[k] = StatCell::number(prev.R3A[k].numeric() + 1);
            me.SMA[k] = StatCell::number(prev.SMA[k].numeric() + 1);
            me.RHA[k] = StatCell::number(prev.RHA[k].numeric() + 1);
            me.RCA[k] = StatCell::number(prev.RCA[k].numeric() + 1);
        }
    }
    if (pri10 == nullptr) return;

    for (int g = 0; g < kGroupCount; ++g) {
        SanmaRecord& me = m_groups[g];
        const SanmaRecord& prev = pri01.m_groups[g];
        auto counts = me.HHO;
        CountHotNumber(counts, pri10->m_groups[g].STR(), "HM", false, g);
        std::string order = DigitOrderByCount(me.HHO);
        std::copy(order.begin(), order.end(), me.hot.begin());
        me.hasHot = true;

        // Repeat marks against the four previous draws: a shared digit marks cell k.
        const DigitMask r3h = me.r3hMask(), str = me.strMask(), reh = me.rehMask(),
                        rec = me.recMask();
        for (int k = 0; k < 4; ++k) {
            if (!arrPri[k]) continue;
            const SanmaRecord& o = arrPri[k]->m_groups[g];
            if (o.r3hMask() & r3h) me.R3A[k] = StatCell::markOf(k);
        }
        for (int k = 0; k < 4; ++k)
            if (arrPri[k] && (arrPri[k]->m_groups[g].strMask() & str))
                me.SMA[k] = StatCell::markOf(k);
        for (int k = 0; k < 4; ++k)
            if (arrPri[k] && (arrPri[k]->m_groups[g].rehMask() & reh))
                me.RHA[k] = StatCell::markOf(k);
        for (int k = 0; k < 4; ++k)
            if (arrPri[k] && (arrPri[k]->m_groups[g].recMask() & rec))
                me.RCA[k] = StatCell::markOf(k);

        // Miss counts, then the hit marks of this draw's digits.
        for (int d = 0; d < 10; ++d) {
            me.H3Y[d] = StatCell::number(prev.H3Y[d].numeric() + 1);
            me.HYL[d] = StatCell::number(prev.HYL[d].numeric() + 1);
            me.CYL[d] = StatCell::number(prev.CYL[d].numeric() + 1);
            me.WYL[d] = StatCell::number(prev.WYL[d].numeric() + 1);
        }
        for (char c : me.WEI())
            me.WYL[c - '0'] = StatCell::markOf(c - '0');
        for (char c : me.REH())
            me.HYL[c - '0'] = StatCell::markOf(c - '0');
        for (char c : me.REC())
            me.CYL[c - '0'] = StatCell::markOf(c - '0');
        for (char c : me.R3H())
            me.H3Y[c - '0'] = StatCell::markOf(c - '0');
    }
}

void LotteryItem::SetPlanTxt(std::string_view qi, int weiID, long long zhu) {
    std::string name = (weiID >= 0 && weiID < kGroupCount) ? std::string(GroupName(weiID)) : "";
    PlanTxt.assign(qi);
    PlanTxt += "  ";
    PlanTxt += std::to_string(zhu);
    PlanTxt += "注  【";
    PlanTxt += name;
    PlanTxt += "】  进行中...";
}

void LotteryItem::ResultPlan(bool isGua) {
    PlanTxt = ReplaceAll(PlanTxt, "进行中...", isGua ? "挂" : "中");
}

GridRow LotteryItem::GetGridArray(int weiIndex) const {
    GridRow row;
    assert(weiIndex >= 0 && weiIndex < kGroupCount);
    if (weiIndex < 0 || weiIndex >= kGroupCount) return row;
    const SanmaRecord& r = m_groups[weiIndex];
    row[kPeriodColumn] = Cell::ofText(Qishu);
    row[kNumberColumn] = Cell::ofText(Haoma);
    const std::string_view str = r.STR();
    for (int i = 0; i < kDigitPlaces; ++i) {
        const int column = ColumnOf(0, i);
        if (!r.hasHot) {
            row[column] = Cell::mark(""); // an empty digit counts as occurring in STR
            continue;
        }
        std::string_view digit(&r.hot[i], 1);
        row[column] = str.find(digit) != std::string_view::npos ? Cell::mark(digit)
                                                                : Cell::ofText(std::string(digit));
    }
    for (int k = 0; k < kDrawBoxPlaces; ++k) {
        const int place = kDigitPlaces + k;
        row[ColumnOf(0, place)] = r.SMA[k].toCell();
        row[ColumnOf(1, place)] = r.R3A[k].toCell();
        row[ColumnOf(2, place)] = r.RHA[k].toCell();
        row[ColumnOf(3, place)] = r.RCA[k].toCell();
    }
    for (int d = 0; d < kDigitPlaces; ++d) {
        row[ColumnOf(1, d)] = r.H3Y[d].toCell();
        row[ColumnOf(2, d)] = r.HYL[d].toCell();
        row[ColumnOf(3, d)] = r.CYL[d].toCell();
        row[ColumnOf(4, d)] = r.WYL[d].toCell();
    }
    return row;
}

} // namespace zuohao
