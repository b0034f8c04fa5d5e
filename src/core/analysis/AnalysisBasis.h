#pragma once
// What an analysis was computed from: the conditions it read, the draws it covered and when.
// A window shows it beside the figures and compares it with the conditions of the moment,
// so that a result that no longer matches them is marked as such.
#include <chrono>
#include <cstddef>
#include <string>

#include "core/model/ConditionSet.h"

namespace zuohao {

struct AnalysisBasis {
    ConditionSet conditions; // as read; the base set and its complement are not kept
    bool pipeline = false;   // selections derived from the draws as the plan pipeline does
    std::string firstPeriod; // first period scored
    std::string lastPeriod;  // newest period scored
    std::size_t periods = 0; // periods scored
    std::chrono::system_clock::time_point computedAt{};
};

// The conditions an analysis reads: the set without its last base set and complement.
ConditionSet AnalysedConditions(const ConditionSet& set);

// Whether two condition sets give an analysis the same result. With `pipeline` the ticked
// boxes and 自动做号 count too, and under 自动做号 the selection digits do not: they are
// derived from the draws.
bool SameAnalysedConditions(const ConditionSet& a, const ConditionSet& b, bool pipeline);

// Whether `basis` still describes an analysis of `current`.
inline bool BasisMatches(const AnalysisBasis& basis, const ConditionSet& current) {
    return SameAnalysedConditions(basis.conditions, current, basis.pipeline);
}

} // namespace zuohao
