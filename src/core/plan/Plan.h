#pragma once
// Starting, renewing and stopping a lottery's plan, its plan lines, and the plan text collected
// from its draws. The windows and the command-line tool only show what these return.
#include <string>
#include <string_view>

#include "core/model/LotteryState.h"
#include "core/model/Result.h"

namespace zuohao {

// Gives the new draw record the plan line for the period after NewQi, with the count of the
// current base set and the plan's group (AddNewPlan).
void WritePlanLine(LotteryState& lottery, LotteryItem& item);

// Renews the running plan: reduces by the current conditions, then writes the plan line of
// the newest draw. A failed reduction keeps the previous base set and the line is still
// written with it; a new one restarts the monitor when it follows the base set. Returns the new
// base set's text, or the reduction's error.
Result<std::string> RenewPlan(LotteryState& lottery);

// Starts a plan from the newest draw held (StartPlanQi = NewQi) under the next PlanNumber,
// then renews it.
Result<std::string> StartPlan(LotteryState& lottery);

// Whether a new base set restarts the monitor: it is switched on.
bool MonitorFollowsBaseSet(const LotteryState& lottery);

// Restarts the monitor over the lottery's held periods from its base set (the monitor window's
// ReashStar). Fails, changing nothing else, without a base set; does nothing without a monitor.
Result<void> RestartMonitor(LotteryState& lottery);

// Ends the plan; the lines already written stay on their draws, and LastPlan tells which
// they are.
void StopPlan(LotteryState& lottery);

// Plan-text step for one draw: appends the draw's plan line and "$" to `planLines` when the
// lottery runs a plan, the draw is not older than the plan's start (period labels compared
// as text) and the draw has a line. A line still waiting for its draw (进行中...) is
// appended only while `killTextBusy` (a number transfer or kill-list write is in progress).
void AppendPlanLine(std::string& planLines, const LotteryState& lottery, const LotteryItem& item,
                    bool killTextBusy);

// Text of the plan text box: the collected lines trimmed of spaces at both ends, every "$"
// turned into CR LF, so that each line ends with a line break.
std::string PlanTextFromLines(std::string_view planLines);

} // namespace zuohao
