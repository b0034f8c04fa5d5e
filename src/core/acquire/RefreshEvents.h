#pragma once
// What one refresh of a lottery did, as the draw feed returns it: the draws that entered or
// were corrected, the plan lines they scored, the periods whose evaluation raised the
// monitor's alarm (告警), whether the monitor was restarted, and what the status line should
// say. The window hands these on, in one pass, to whoever shows or tells them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/model/DrawEvents.h"

namespace zuohao {

// What the draw feed has to say after a poll or a load, for the status line.
struct FeedStatus {
    std::string notice; // empty when all is well
    bool alarm = false; // the file has given nothing usable for kFailedPollsBeforeAlarm polls
    // The gap (断期) the notice tells of: the first missing labels and how many are missing.
    std::vector<std::string> missing;
    std::size_t missingCount = 0;
};

// A period of the refresh whose evaluation raised the alarm: the position group the monitor
// rates and the run of misses that triggered it.
struct AlarmRaised {
    std::string period;
    int group = 0;
    int missRun = 0;
    bool operator==(const AlarmRaised&) const = default;
};

// The monitor plan the alarms started: its caption (计划Label) and the base set's count (注).
struct AlarmPlan {
    std::string caption;
    long long baseCount = -1;
};

// The monitor restart the refresh did (the monitor window's ReashStar).
enum class MonitorRestart : std::uint8_t { None, Done, Skipped };

struct RefreshEvents {
    std::vector<DrawEntered> entered;     // oldest first
    std::vector<DrawCorrected> corrected; // told before the draws rebuilt after them
    std::vector<PlanScored> scored;       // oldest first
    std::vector<AlarmRaised> alarms;      // oldest first; empty when none was raised
    AlarmPlan alarmPlan;                  // with alarms only
    MonitorRestart restart = MonitorRestart::None;
    std::string restartProblem; // why a due restart was skipped
    // Draws entered or were rebuilt (IsGetNew), or a history was loaded: the windows redraw.
    bool drew = false;
    bool historyLoaded = false; // the held draws were replaced by a history load
    bool askForFile = false;    // a load that may ask found no text: ask for the draw file
    FeedStatus status;
    std::vector<std::string> errors; // swallowed errors of the draws (for the caller's log)

    // Adds the pipeline's events of some draws.
    void take(DrawEvents draws);
};

} // namespace zuohao
