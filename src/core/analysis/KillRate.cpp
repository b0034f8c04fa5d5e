#include "core/analysis/KillRate.h"

#include "core/analysis/Backtest.h"
#include "core/analysis/Chance.h"
#include "core/analysis/ConditionMasks.h"
#include "core/model/Groups.h"

namespace zuohao {

namespace {
// Names of the selection groups by the attribute they test.
const char* const kSelectionNames[kSelGroups] = {"选号 号码", "选号 三和尾", "选号 两和尾",
                                                 "选号 两码差", "选号 和尾"};
const char* const kRouteNames[4] = {"全0路", "全1路", "全2路", "杀对子"};

ConditionSet emptyLike(const ConditionSet& set) {
    ConditionSet e;
    e.IDX = set.IDX;
    e.CNT = {};
    e.PLA = false;
    return e;
}
} // namespace

std::vector<std::pair<std::string, ConditionSet>> SingleConditions(const ConditionSet& set) {
    std::vector<std::pair<std::string, ConditionSet>> out;
    for (int g = 0; g < kSelGroups; ++g) {
        if (set.SEL[std::size_t(g)].empty() || set.CNT[std::size_t(g)].empty()) continue;
        ConditionSet c = emptyLike(set);
        c.SEL[std::size_t(g)] = set.SEL[std::size_t(g)];
        c.CNT[std::size_t(g)] = set.CNT[std::size_t(g)];
        out.emplace_back(kSelectionNames[g], c);
    }
    for (int b = 0; b < 2; ++b) {
        if (set.DAN[std::size_t(b)].empty()) continue;
        ConditionSet c = emptyLike(set);
        c.DAN[std::size_t(b)] = set.DAN[std::size_t(b)];
        c.DCC[std::size_t(b)] = set.DCC[std::size_t(b)];
        out.emplace_back(b == 0 ? "胆码1" : "胆码2", c);
    }
    if (!set.KUA.empty()) {
        ConditionSet c = emptyLike(set);
        c.KUA = set.KUA;
        out.emplace_back("杀跨度", c);
    }
    if (!set.killList().empty()) {
        ConditionSet c = emptyLike(set);
        (c.fourDigit() ? c.KL1 : c.KL0) = set.killList();
        out.emplace_back("杀号", c);
    }
    for (int k = 0; k < 4; ++k) {
        if (set.KLU[std::size_t(k)] == 0) continue;
        ConditionSet c = emptyLike(set);
        c.KLU[std::size_t(k)] = set.KLU[std::size_t(k)];
        out.emplace_back(kRouteNames[k], c);
    }
    ConditionSet whole = set;
    whole.FAN = false;
    out.emplace_back("全部条件", whole);
    return out;
}

namespace {
std::string detailOf(const ConditionSet& c) {
    for (int g = 0; g < kSelGroups; ++g)
        if (!c.SEL[std::size_t(g)].empty())
            return c.SEL[std::size_t(g)] + " 个数" + c.CNT[std::size_t(g)];
    for (int b = 0; b < 2; ++b)
        if (!c.DAN[std::size_t(b)].empty())
            return c.DAN[std::size_t(b)] + " 个数" +
                   (c.DCC[std::size_t(b)].empty() ? std::string("1234") : c.DCC[std::size_t(b)]);
    if (!c.KUA.empty()) return c.KUA;
    const std::string& kill = c.killList();
    if (!kill.empty()) return kill.size() > 24 ? kill.substr(0, 24) + "…" : kill;
    return {};
}
} // namespace

bool ConditionKill::worseThanChance() const {
    return rate() > chanceRate() && BeyondChance(killed, draws, chanceRate());
}

bool ConditionKill::betterThanChance() const {
    return rate() < chanceRate() && BeyondChance(killed, draws, chanceRate());
}

Result<KillTally> KillTally::Create(const ConditionSet& set) {
    KillTally t;
    t.m_idx = set.IDX;
    const auto singles = SingleConditions(set);
    for (std::size_t r = 0; r < singles.size(); ++r) {
        const auto& [name, cond] = singles[r];
        auto masks = ConditionMasks::Compile(cond);
        if (!masks) return masks.failure();
        ConditionKill row;
        row.name = name;
        row.detail = r + 1 == singles.size() ? std::string() : detailOf(cond);
        row.spaceSize = masks->spaceSize();
        row.spaceKilled = row.spaceSize - masks->baseSize();
        t.m_rows.push_back(std::move(row));
        t.m_masks.push_back(std::move(masks).value());
    }
    return t;
}

void KillTally::add(const DrawLine& draw) {
    if (m_rows.empty() || m_rows.front().draws == 0) m_first = draw.qishu;
    m_last = draw.qishu;
    const int winner = GroupNumber(draw.haoma, m_idx);
    for (std::size_t r = 0; r < m_rows.size(); ++r) {
        ++m_rows[r].draws;
        m_rows[r].killed += m_masks[r].removes(winner) ? 1 : 0;
    }
}

void KillTally::correct(const std::string& wrongHaoma, const std::string& rightHaoma) {
    const int wrong = GroupNumber(wrongHaoma, m_idx);
    const int right = GroupNumber(rightHaoma, m_idx);
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        m_rows[r].killed +=
            (m_masks[r].removes(right) ? 1 : 0) - (m_masks[r].removes(wrong) ? 1 : 0);
}

void WinnerCounts::add(const DrawLine& draw) {
    if (draws == 0) first = draw.qishu;
    last = draw.qishu;
    ++draws;
    ++counts[std::size_t(GroupNumber(draw.haoma, idx))];
}

void WinnerCounts::correct(const std::string& wrongHaoma, const std::string& rightHaoma) {
    --counts[std::size_t(GroupNumber(wrongHaoma, idx))];
    ++counts[std::size_t(GroupNumber(rightHaoma, idx))];
}

Result<WinnerCounts> CountWinners(const std::vector<DrawLine>& draws, int idx, std::size_t last,
                                  const RunControl& control) {
    if (idx < 0 || idx >= kGroupCount) return fail(ErrorCode::OutOfRange, "下标越界");
    WinnerCounts w;
    w.idx = idx;
    w.counts.assign(kGroupPositions[std::size_t(idx)].count == 4 ? 10000 : 1000, 0);
    // Sorting out the usable draws takes a moment: cancelled, but no share of the progress.
    auto sorted = UsableDraws(draws, RunControl{control.cancel, {}});
    if (!sorted) return fail(ErrorCode::Cancelled, "杀错率计算已取消");
    const std::vector<std::size_t>& usable = *sorted;
    const std::size_t from = (last == 0 || last > usable.size()) ? 0 : usable.size() - last;
    for (std::size_t i = from; i < usable.size(); ++i) {
        if ((i - from) % kDrawsPerLook == 0) {
            if (control.cancelled()) return fail(ErrorCode::Cancelled, "杀错率计算已取消");
            control.report(double(i - from) / double(usable.size() - from));
        }
        w.add(draws[usable[i]]);
    }
    control.report(1.0);
    return w;
}

Result<KillTally> KillTally::FromCounts(const WinnerCounts& counts, const ConditionSet& set,
                                        const RunControl& control) {
    auto tally = Create(set);
    if (!tally) return tally;
    KillTally& t = tally.value();
    if (counts.idx != set.IDX || counts.counts.size() != std::size_t(t.m_rows.front().spaceSize))
        return fail(ErrorCode::OutOfRange, "下标越界");
    t.m_first = counts.first;
    t.m_last = counts.last;
    for (std::size_t r = 0; r < t.m_rows.size(); ++r) {
        if (control.cancelled()) return fail(ErrorCode::Cancelled, "杀错率计算已取消");
        ConditionKill& row = t.m_rows[r];
        row.draws = counts.draws;
        for (std::size_t n = 0; n < counts.counts.size(); ++n)
            if (counts.counts[n] != 0 && t.m_masks[r].removes(int(n)))
                row.killed += counts.counts[n];
    }
    return tally;
}

Result<KillTally> KillTally::Count(const std::vector<DrawLine>& draws, const ConditionSet& set,
                                   std::size_t last, const RunControl& control) {
    auto counts = CountWinners(draws, set.IDX, last, control);
    if (!counts) return counts.failure();
    return FromCounts(*counts, set, control);
}

Result<std::vector<ConditionKill>> KillRates(const std::vector<DrawLine>& draws,
                                             const ConditionSet& set, std::size_t last,
                                             const RunControl& control) {
    auto tally = KillTally::Count(draws, set, last, control);
    if (!tally) return tally.failure();
    return tally->rows();
}

} // namespace zuohao
