#pragma once
// The monitor computation over the process-wide monitor state: the replay of all periods and
// the start/stop switch. The state itself is data of the model (core/model/MonitorState.h).
#include <string>
#include <string_view>

#include "core/model/MonitorState.h"
#include "core/model/Result.h"

namespace zuohao {

// Key of a period: the decimal text of its label's numeric value, so that 0931 and 931
// are one period.
std::string PeriodKey(std::string_view label);

class LotteryClass;

// Switches monitoring on and replays every period of the lottery. `mainBaseText` is the
// main window's base set, taken unless a monitor plan runs. Fails with kNoBaseMessage
// (and changes nothing else) when there is no base set.
Result<void> ReashStar(MonitorState& state, LotteryClass& lottery, std::string_view mainBaseText);

// The start/stop button: switches off when on, otherwise ReashStar.
Result<void> ToggleMonitoring(MonitorState& state, LotteryClass& lottery,
                              std::string_view mainBaseText);

} // namespace zuohao
