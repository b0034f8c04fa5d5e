#pragma once
// What happened to a lottery's held draws while draws were entered: the draws that entered,
// the held draws a stable read corrected and the plan lines the new draws scored. The draw
// pipeline (core/plan/ProcessDraw.h) fills it; the draw feed hands it on as part of a
// refresh's events (core/acquire/RefreshEvents.h).
#include <string>
#include <vector>

#include "core/model/PlanLine.h"

namespace zuohao {

// A draw that is now held, in the order the draws entered.
struct DrawEntered {
    std::string period;
    std::string haoma;
    bool operator==(const DrawEntered&) const = default;
};

// A held period whose number a stable read of the file changed; the held draws from it on
// were rebuilt with the new number.
struct DrawCorrected {
    std::string period;
    std::string oldHaoma;
    std::string newHaoma;
    bool operator==(const DrawCorrected&) const = default;
};

// A plan line a new draw scored: `period` is the draw that carries the line (the one before
// the draw that scored it); the line's outcome is Hit or Miss.
struct PlanScored {
    std::string period;
    PlanLine line;
    bool operator==(const PlanScored&) const = default;
};

struct DrawEvents {
    std::vector<DrawEntered> entered;
    std::vector<DrawCorrected> corrected;
    std::vector<PlanScored> scored;
    // A new base set was made while the monitor is switched on: the monitor must be restarted
    // from it (by the layer that may restart it, once for all the draws).
    bool monitorRestartDue = false;
};

} // namespace zuohao
