#include "core/analysis/PlanRecord.h"

#include <algorithm>

namespace zuohao {

PlanRecordStats PlanStatsOf(const std::vector<bool>& hits) {
    PlanRecordStats s;
    s.periods = int(hits.size());
    int run = 0;
    auto closeRun = [&s](int length) {
        if (length <= 0) return;
        if (s.missRuns.size() <= std::size_t(length)) s.missRuns.resize(std::size_t(length) + 1);
        ++s.missRuns[std::size_t(length)];
        s.longestMissRun = std::max(s.longestMissRun, length);
    };
    for (bool h : hits) {
        if (h) {
            ++s.hits;
            closeRun(run);
            run = 0;
        } else {
            ++run;
        }
    }
    closeRun(run);
    s.currentMissRun = run;
    return s;
}

std::vector<double> RollingHitRate(const std::vector<bool>& hits, int window) {
    std::vector<double> out;
    if (window <= 0) return out;
    out.reserve(hits.size());
    int inWindow = 0;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        inWindow += hits[i] ? 1 : 0;
        if (i >= std::size_t(window) && hits[i - std::size_t(window)]) --inWindow;
        const std::size_t n = std::min(i + 1, std::size_t(window));
        out.push_back(double(inWindow) / double(n));
    }
    return out;
}

} // namespace zuohao
