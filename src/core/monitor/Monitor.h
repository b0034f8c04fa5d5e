#pragma once
// The monitor computation over a lottery's monitor state (core/model/MonitorState.h): the
// evaluation of one period, the replay of all periods and the start/stop switch.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/model/LotteryState.h"
#include "core/model/MonitorState.h"
#include "core/model/Period.h"
#include "core/model/Result.h"

namespace zuohao {

// Evaluates one period on its new row: hit or miss of the position numbers `haoSr` against
// the monitor's base set, segment counts, the trigger, the alarm and the plan it starts.
void jishanJH(MonitorRow& row, MonitorState& state, std::string_view haoSr, Period period);

// Evaluates a period and appends its row; a period already held is ignored
// (JiHuaDicAddNewClass).
void AddMonitorPeriod(MonitorState& state, Period period, std::string_view haoSr);

// The replay evaluates the newest periods only, two weeks of minute draws: the lottery keeps
// every period it processed, and a replay runs on every restart.
inline constexpr std::size_t kReplayedPeriods = 20000;

// The functions below take the monitor apart from the lottery whose periods it rates: a
// lottery's own (LotteryState::monitor), or one of a backtest or a test.

// Replays the lottery's periods (the newest kReplayedPeriods) through the monitor (JihuaStar).
void ReplayMonitor(const LotteryState& lottery, MonitorState& state);

// Switches monitoring on and replays every period of the lottery. `mainBase` is the main
// window's base set (the lottery's DAD), taken unless a monitor plan runs. Fails with
// kNoBaseMessage (and changes nothing else) when there is no base set.
Result<void> ReashStar(MonitorState& state, const LotteryState& lottery,
                       const NumberList& mainBase);

// The start/stop button: switches off when on, otherwise ReashStar. Switching off clears
// the alarm and the monitor plan's label, copy caption and base-set text.
Result<void> ToggleMonitoring(MonitorState& state, const LotteryState& lottery,
                              const NumberList& mainBase);

} // namespace zuohao
