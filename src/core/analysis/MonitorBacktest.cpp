#include "core/analysis/MonitorBacktest.h"

#include <algorithm>
#include <memory>

#include "core/analysis/Backtest.h"
#include "core/model/Groups.h"
#include "core/model/MonitorState.h"
#include "core/model/Text.h"
#include "core/monitor/Monitor.h"

namespace zuohao {

namespace {
void note(MonitorBacktestResult& r, Period period, const PlanMark& mark) {
    if (r.events.size() == MonitorBacktestResult::kMaxEvents) r.events.erase(r.events.begin());
    r.events.push_back({period.text(), mark});
}
} // namespace

MonitorBacktestResult ReplayMonitorRule(const std::vector<DrawLine>& draws,
                                        const MonitorRule& rule) {
    // Nothing can cancel it: the result is always there.
    return ReplayMonitorRule(draws, rule, RunControl{}).value();
}

Result<MonitorBacktestResult> ReplayMonitorRule(const std::vector<DrawLine>& draws,
                                                const MonitorRule& rule,
                                                const RunControl& control) {
    // A private monitor, switched on, with the rule's settings and nothing running; the
    // replay writes no log lines.
    MonitorState state;
    state.Monitoring = true;
    state.ReplayDone = false;
    state.SegmentSettings = rule.segmentSettings;
    state.LockPeriod = rule.lockPeriod;
    state.SegmentPeriod = rule.segmentPeriod;
    state.MonitorBase = rule.base;
    const int idx = std::clamp(rule.idx, 0, kGroupCount - 1);

    MonitorBacktestResult r;
    const Period lock = rule.lockPeriod;
    int missedInRow = 0;
    // Sorting out the usable draws takes a moment: cancelled, but no share of the progress.
    auto sorted = UsableDraws(draws, RunControl{control.cancel, {}});
    if (!sorted) return fail(ErrorCode::Cancelled, "回测已取消");
    const std::vector<std::size_t>& usable = *sorted;
    for (std::size_t n = 0; n < usable.size(); ++n) {
        if (n % kDrawsPerLook == 0) {
            if (control.cancelled()) return fail(ErrorCode::Cancelled, "回测已取消");
            control.report(double(n) / double(usable.size()));
        }
        const std::size_t i = usable[n];
        const Period period = Period::parse(draws[i].qishu);
        if (period < lock) {
            if (!state.MonitorRows.Exists(period))
                state.MonitorRows.push(MonitorRow::placeholder(period));
            continue;
        }
        if (state.MonitorRows.Exists(period)) continue;
        AddMonitorPeriod(state, period, PositionNumbers(idx, draws[i].haoma));
        ++r.periods;
        const MonitorRow& row = state.MonitorRows.back();
        const PlanMark& mark = row.Jhzg;
        if (mark.kind == PlanMark::None) continue;
        note(r, period, mark);
        if (mark.kind == PlanMark::Alarm) {
            ++r.alarms;
        } else if (mark.kind == PlanMark::Miss) {
            ++r.planMisses;
            r.longestMissedPlans = std::max(r.longestMissedPlans, ++missedInRow);
        } else {
            ++r.planHits;
            missedInRow = 0;
            const auto j = std::size_t(std::max(0, row.JHcount));
            if (r.hitAt.size() <= j) r.hitAt.resize(j + 1);
            ++r.hitAt[j];
        }
    }
    r.planOpen = state.PlanRunning;
    control.report(1.0);
    return r;
}

} // namespace zuohao
