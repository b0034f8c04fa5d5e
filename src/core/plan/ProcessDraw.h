#pragma once
// The draw pipeline: the one entry through which a draw enters a lottery's data, and the
// rebuild of the held draws when the draw file corrects or fills in one of them.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/model/DrawEvents.h"
#include "core/model/LotteryState.h"

namespace zuohao {

// The result of offering one draw to the pipeline.
struct DrawOutcome {
    bool added = false;               // the period was new and is now held
    std::string error;                // a failure inside the pipeline (the draw is still held)
    std::vector<Error> failures;      // each failure of `error`, with its code and subject
    bool reentered = false;           // held before a rebuild: not a new draw
    std::optional<PlanScored> scored; // the running plan's line this draw scored
    bool monitorRestartDue = false;   // it renewed the base set while the monitor is on
};

// Adds what entering the draw `qishu` `haoma` did to `events`.
void RecordDraw(DrawEvents& events, const std::string& qishu, const std::string& haoma,
                const DrawOutcome& outcome);

// Enters one draw (ProcessDraw): its record and statistics, the running plan scored and
// renewed, the monitor fed, the window of recent draws kept. A period held or processed
// before is ignored. Labels in `reentered` (sorted) were held before a rebuild: they enter
// again without being told as new.
DrawOutcome EnterDraw(LotteryState& lottery, const std::string& qishu, const std::string& haoma,
                      const std::vector<std::string>* reentered = nullptr);

using DrawPairs = std::vector<std::pair<std::string, std::string>>;

// Rebuilds the held draws from the first corrected or filled-in period on, as if the draws
// had come right the first time, then enters the fresh ones; all oldest first.
struct Rebuilt {
    std::vector<std::string> errors; // of the draws entered again
    DrawEvents events; // the corrections, then the filled-in and fresh draws that entered
};
Rebuilt RebuildFrom(LotteryState& lottery, const DrawPairs& corrected, const DrawPairs& filled,
                    const DrawPairs& fresh);

} // namespace zuohao
