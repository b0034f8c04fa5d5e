#include "core/analysis/MonitorBacktest.h"

#include <algorithm>
#include <memory>

#include "core/analysis/Backtest.h"
#include "core/model/LotteryClass.h"
#include "core/model/MonitorState.h"
#include "core/model/Text.h"
#include "core/monitor/Monitor.h"

namespace zuohao {

namespace {
void note(MonitorBacktestResult& r, const std::string& period, const std::string& mark) {
    if (r.events.size() == MonitorBacktestResult::kMaxEvents) r.events.erase(r.events.begin());
    r.events.push_back({period, mark});
}
} // namespace

MonitorBacktestResult ReplayMonitorRule(const std::vector<DrawLine>& draws,
                                        const MonitorRule& rule) {
    // A private monitor, switched on, with the rule's settings and nothing running; the
    // replay writes no log lines.
    MonitorState state;
    state.Monitoring = true;
    state.ReplayDone = false;
    state.SegmentSettings = rule.segmentSettings;
    state.LockPeriod = rule.lockPeriod;
    state.SegmentPeriod = rule.segmentPeriod;
    state.MonitorBase = rule.base;
    LotteryClass lottery;
    lottery.formSet().IDX = std::clamp(rule.idx, 0, 11);
    lottery.setMonitorState(&state);

    MonitorBacktestResult r;
    auto blank = std::make_shared<LotteryItem>();
    const double lock = NumericValue(rule.lockPeriod);
    int missedInRow = 0;
    for (std::size_t i : UsableDraws(draws)) {
        const std::string key = PeriodKey(draws[i].qishu);
        if (NumericValue(draws[i].qishu) < lock) {
            if (state.MonitorRows.Add(key, blank))
                while (state.MonitorRows.Count() > kMonitorRowLimit)
                    state.MonitorRows.RemoveFirst();
            continue;
        }
        if (state.MonitorRows.Exists(key)) continue;
        lottery.JiHuaDicAddNewClass(key, lottery.weizhiHAO(draws[i].haoma));
        ++r.periods;
        const LotteryItem& row = *state.MonitorRows.back().second;
        const std::string& mark = row.Jhzg;
        if (mark.empty()) continue;
        note(r, key, mark);
        if (mark == "告警") {
            ++r.alarms;
        } else if (mark == "挂") {
            ++r.planMisses;
            r.longestMissedPlans = std::max(r.longestMissedPlans, ++missedInRow);
        } else if (mark.starts_with("中")) {
            ++r.planHits;
            missedInRow = 0;
            const auto j = std::size_t(std::max(0, row.JHcount));
            if (r.hitAt.size() <= j) r.hitAt.resize(j + 1);
            ++r.hitAt[j];
        }
    }
    r.planOpen = state.PlanRunning;
    return r;
}

} // namespace zuohao
