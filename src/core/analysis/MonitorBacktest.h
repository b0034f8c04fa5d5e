#pragma once
// The monitor's rule replayed over a draw sequence: the same evaluation the monitor runs
// period by period, counted instead of shown.
#include <array>
#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/analysis/RunControl.h"
#include "core/model/MonitorState.h"
#include "core/model/Result.h"

namespace zuohao {

struct MonitorRule {
    int idx = 0;                          // position group
    NumberList base;                      // the monitor's base set
    std::array<int, 4> segmentSettings{}; // the four segment boxes' values
    Period lockPeriod;
    int segmentPeriod = 0;
};

struct MonitorEvent {
    std::string period;
    PlanMark mark; // 告警, 中N or 挂
};

struct MonitorBacktestResult {
    int periods = 0;                  // periods evaluated
    int alarms = 0;                   // 告警 raised
    int planHits = 0;                 // alarm plans that ended 中
    int planMisses = 0;               // alarm plans that ended 挂
    int longestMissedPlans = 0;       // most alarm plans in a row that ended 挂
    std::vector<int> hitAt;           // hitAt[j]: plans that hit in their j-th period
    std::vector<MonitorEvent> events; // the newest events, oldest first (at most kMaxEvents)
    bool planOpen = false;            // the last alarm plan has not ended yet

    static constexpr std::size_t kMaxEvents = 500;
};

MonitorBacktestResult ReplayMonitorRule(const std::vector<DrawLine>& draws,
                                        const MonitorRule& rule);
// The same, stopped by a set cancel flag (ErrorCode::Cancelled) and reporting its progress.
Result<MonitorBacktestResult> ReplayMonitorRule(const std::vector<DrawLine>& draws,
                                                const MonitorRule& rule, const RunControl& control);

} // namespace zuohao
