// Rebuilding the held draws from a period on, when a believed read of the file gives another
// number for a held period or fills in one that was missing: the statistics chain, the plan
// verdicts and the monitor rows are made again as if the draws had come right the first time.
#include <algorithm>
#include <limits>

#include "core/model/MonitorState.h"
#include "core/model/Period.h"
#include "core/monitor/Monitor.h"
#include "core/plan/ProcessDraw.h"

namespace zuohao {

namespace {
using Draws = DrawPairs;

bool olderFirst(const std::pair<std::string, std::string>& a,
                const std::pair<std::string, std::string>& b) {
    return Period::parse(a.first) < Period::parse(b.first);
}
// Later than any period a label can name.
constexpr Period kNoPeriod{std::numeric_limits<std::int64_t>::max()};
} // namespace

Rebuilt RebuildFrom(LotteryState& lottery, const Draws& corrected, const Draws& filled,
                    const Draws& fresh) {
    Rebuilt result;
    OrderedDict<ItemPtr>& held = lottery.LotteryDic;
    DrawNumbers& numbers = lottery.LotteryDic_Jiankong; // every processed draw
    std::deque<DrawSnapshot>& snapshots = lottery.snapshots;
    Period from = kNoPeriod;
    for (const auto& [label, haoma] : corrected) {
        from = std::min(from, Period::parse(label));
        if (const auto old = numbers.find(label))
            result.events.corrected.push_back({label, std::string(*old), haoma});
    }
    for (const auto& [label, haoma] : filled)
        from = std::min(from, Period::parse(label));

    // The replay starts at the first draw of the window at or after `from` that has a
    // snapshot (every draw of the window has one).
    std::size_t start = 0;
    while (start < held.Count() && Period::parse(held.at(start).first) < from)
        ++start;
    auto snapshotOf = [&](std::size_t k) {
        return std::find_if(snapshots.begin(), snapshots.end(),
                            [&](const DrawSnapshot& s) { return s.qishu == held.at(k).first; });
    };
    while (start < held.Count() && snapshotOf(start) == snapshots.end())
        ++start;
    const bool replay = start < held.Count();
    const Period startPeriod = replay ? Period::parse(held.at(start).first) : kNoPeriod;

    // Periods older than the replay are corrected where they are.
    for (const auto& [label, haoma] : corrected)
        if (Period::parse(label) < startPeriod && numbers.Exists(label)) numbers.Set(label, haoma);

    Draws truth;
    std::vector<std::string> replayed, quiet;
    if (replay) {
        for (std::size_t k = start; k < held.Count(); ++k)
            replayed.push_back(held.at(k).first);
        for (const std::string& label : replayed) {
            auto c = std::find_if(corrected.begin(), corrected.end(),
                                  [&](const auto& p) { return p.first == label; });
            truth.push_back(c != corrected.end() ? *c
                                                 : std::make_pair(label, *numbers.find(label)));
            quiet.push_back(label); // held before: not new (a correction is told as such)
        }
        truth.insert(truth.end(), filled.begin(), filled.end());

        // Back to the moment before the first replayed draw.
        const auto snap = snapshotOf(start);
        const DrawSnapshot s = *snap;
        snapshots.erase(snap, snapshots.end());
        for (const std::string& label : replayed) {
            held.Remove(label);
            numbers.Remove(label);
            lottery.monitor.MonitorRows.Remove(Period::parse(label));
        }
        lottery.NewQi = s.newQi;
        lottery.conditions.SEL = s.sel;
        lottery.conditions.DAD = s.dad;
        lottery.conditions.FJI = s.fji;
        lottery.PreItem01 = s.pre01;
        lottery.PreItem10 = s.pre10;
        lottery.PreItems = s.preItems;
        if (lottery.PreItem01) lottery.PreItem01->Plan = s.prePlan;
    }
    truth.insert(truth.end(), fresh.begin(), fresh.end());
    std::stable_sort(truth.begin(), truth.end(), olderFirst);

    std::sort(quiet.begin(), quiet.end());
    for (const auto& [label, haoma] : truth) {
        DrawOutcome o = EnterDraw(lottery, label, haoma, &quiet);
        RecordDraw(result.events, label, haoma, o);
        if (!o.error.empty()) result.errors.push_back(label + ": " + o.error);
    }
    lottery.IsGetNew = true; // the window shows the rebuilt draws
    return result;
}

} // namespace zuohao
