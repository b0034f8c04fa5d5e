#pragma once
// The figures of a plan record beside what chance gives, as a window shows them: computed
// once from a tally (the chance figures take a moment over a long record), then only shown.
#include <string>
#include <vector>

#include "core/analysis/PlanRecord.h"
#include "core/analysis/RunControl.h"
#include "core/model/Result.h"

namespace zuohao {

struct PlanFigures {
    PlanRecordStats stats;
    double meanSize = 0;
    int spaceSize = 1000;
    double chance = 0;          // hit probability chance gives a line: mean size / space
    double expectedLongest = 0; // the longest miss run chance expects in these periods
    double chanceOfLongest = 0; // chance of a run at least as long as the longest, in them
    std::vector<RunClass> runClasses;
    std::vector<bool> recent; // the newest periods, oldest first
    std::vector<DayTally> days;
    std::string firstPeriod, lastPeriod;
};

// The histogram shows lengths up to the longest run, or further while chance expects at
// least this many runs of a length.
inline constexpr double kHistogramTail = 0.05;

PlanFigures FiguresOf(const PlanTally& tally, int spaceSize);
// The same, looking at `control` while the chance figures are summed; a set cancel flag ends
// it with ErrorCode::Cancelled.
Result<PlanFigures> FiguresOf(const PlanTally& tally, int spaceSize, const RunControl& control);

} // namespace zuohao
