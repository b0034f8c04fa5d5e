#include "core/analysis/PlanFigures.h"

#include "core/analysis/Chance.h"

namespace zuohao {

PlanFigures FiguresOf(const PlanTally& tally, int spaceSize) {
    // Nothing can cancel it: the figures are always there.
    return FiguresOf(tally, spaceSize, RunControl{}).value();
}

Result<PlanFigures> FiguresOf(const PlanTally& tally, int spaceSize, const RunControl& control) {
    PlanFigures f;
    f.stats = tally.stats();
    f.meanSize = tally.meanSize();
    f.spaceSize = spaceSize;
    f.chance = spaceSize > 0 ? f.meanSize / spaceSize : 0.0;
    auto longest = ExpectedLongestMissRun(f.chance, f.stats.periods, control);
    if (!longest) return longest.failure();
    f.expectedLongest = *longest;
    f.chanceOfLongest = MissRunAtLeast(f.chance, f.stats.longestMissRun, f.stats.periods);
    f.runClasses = MissRunClasses(f.stats, f.chance, kHistogramTail);
    f.recent = tally.recentHits();
    f.days = tally.days();
    f.firstPeriod = tally.firstPeriod();
    f.lastPeriod = tally.lastPeriod();
    return f;
}

} // namespace zuohao
