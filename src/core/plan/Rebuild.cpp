// Rebuilding the held draws from a period on, when a believed read of the file gives another
// number for a held period or fills in one that was missing: the statistics chain, the plan
// verdicts and the monitor rows are made again as if the draws had come right the first time.
#include <algorithm>
#include <unordered_set>

#include "core/model/LotteryClass.h"
#include "core/model/MonitorState.h"
#include "core/model/Text.h"
#include "core/monitor/Monitor.h"

namespace zuohao {

void LotteryClass::rememberBeforeDraw(const std::string& qishu) {
    DrawSnapshot s;
    s.qishu = qishu;
    s.newQi = NewQi;
    s.sel = m_set.SEL;
    s.dad = m_set.DAD;
    s.fji = m_set.FJI;
    s.pre01 = PreItem01;
    s.pre10 = PreItem10;
    s.preItems = m_preItems;
    if (PreItem01) s.prePlanTxt = PreItem01->PlanTxt;
    m_snapshots.push_back(std::move(s));
    while (m_snapshots.size() > kHeldDraws)
        m_snapshots.pop_front();
}

namespace {
using Draws = std::vector<std::pair<std::string, std::string>>;

bool olderFirst(const std::pair<std::string, std::string>& a,
                const std::pair<std::string, std::string>& b) {
    return NumericValue(a.first) < NumericValue(b.first);
}
} // namespace

void LotteryClass::rebuildFrom(const Draws& corrected, const Draws& filled, const Draws& fresh) {
    double from = 1e300;
    for (const auto& [label, haoma] : corrected) {
        from = std::min(from, NumericValue(label));
        const std::string* old = LotteryDic_Jiankong.find(label);
        if (old && m_observer) m_observer->OnDrawCorrected(MyIndex, label, *old, haoma);
    }
    for (const auto& [label, haoma] : filled)
        from = std::min(from, NumericValue(label));

    // The replay starts at the first draw of the window at or after `from` that has a
    // snapshot (every draw of the window has one).
    std::size_t start = 0;
    while (start < LotteryDic.Count() && NumericValue(LotteryDic.at(start).first) < from)
        ++start;
    auto snapshotOf = [&](std::size_t k) {
        return std::find_if(m_snapshots.begin(), m_snapshots.end(), [&](const DrawSnapshot& s) {
            return s.qishu == LotteryDic.at(k).first;
        });
    };
    while (start < LotteryDic.Count() && snapshotOf(start) == m_snapshots.end())
        ++start;
    const bool replay = start < LotteryDic.Count();
    const double startValue = replay ? NumericValue(LotteryDic.at(start).first) : 1e300;

    // Periods older than the replay are corrected where they are.
    for (const auto& [label, haoma] : corrected)
        if (NumericValue(label) < startValue && LotteryDic_Jiankong.Exists(label))
            LotteryDic_Jiankong.Set(label, haoma);

    Draws truth;
    std::vector<std::string> replayed, quiet;
    if (replay) {
        for (std::size_t k = start; k < LotteryDic.Count(); ++k)
            replayed.push_back(LotteryDic.at(k).first);
        for (const std::string& label : replayed) {
            auto c = std::find_if(corrected.begin(), corrected.end(),
                                  [&](const auto& p) { return p.first == label; });
            truth.push_back(c != corrected.end()
                                ? *c
                                : std::make_pair(label, *LotteryDic_Jiankong.find(label)));
            quiet.push_back(label); // held before: not new (a correction is told as such)
        }
        truth.insert(truth.end(), filled.begin(), filled.end());

        // Back to the moment before the first replayed draw.
        const auto snap = snapshotOf(start);
        const DrawSnapshot s = *snap;
        m_snapshots.erase(snap, m_snapshots.end());
        for (const std::string& label : replayed) {
            LotteryDic.Remove(label);
            LotteryDic_Jiankong.Remove(label);
            if (m_monitor) m_monitor->MonitorRows.Remove(PeriodKey(label));
        }
        NewQi = s.newQi;
        m_set.SEL = s.sel;
        m_set.DAD = s.dad;
        m_set.FJI = s.fji;
        PreItem01 = s.pre01;
        PreItem10 = s.pre10;
        m_preItems = s.preItems;
        if (PreItem01) PreItem01->PlanTxt = s.prePlanTxt;
    }
    truth.insert(truth.end(), fresh.begin(), fresh.end());
    std::stable_sort(truth.begin(), truth.end(), olderFirst);

    std::sort(quiet.begin(), quiet.end());
    m_quietLabels = &quiet;
    for (const auto& [label, haoma] : truth) {
        DrawOutcome o = ProcessDraw(label, haoma);
        if (!o.error.empty()) m_lastErrors.push_back(label + ": " + o.error);
    }
    m_quietLabels = nullptr;
    IsGetNew = true; // the window shows the rebuilt draws
}

} // namespace zuohao
