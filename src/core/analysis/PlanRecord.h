#pragma once
// Figures of a plan record: any sequence of 中/挂 periods, oldest first.
#include <string>
#include <string_view>
#include <vector>

namespace zuohao {

struct PlanRecordStats {
    int periods = 0;
    int hits = 0;
    int currentMissRun = 0; // misses since the last hit
    int longestMissRun = 0;
    // missRuns[L] = number of maximal runs of exactly L misses (the current one included).
    std::vector<int> missRuns;

    double hitRate() const { return periods ? double(hits) / periods : 0.0; }
};

// hits[i] true = 中.
PlanRecordStats PlanStatsOf(const std::vector<bool>& hits);

// Hit rate over the last `window` periods ending at each period (fewer at the start).
std::vector<double> RollingHitRate(const std::vector<bool>& hits, int window);

} // namespace zuohao
