#pragma once
// The reduction (缩水): the condition set turned into the base set (大底) and its complement.
#include <cstdint>
#include <string_view>

#include "core/model/ConditionSet.h"
#include "core/model/NumberList.h"
#include "core/model/NumberTables.h"
#include "core/model/Result.h"

namespace zuohao {

struct ReductionOutput {
    NumberList base;       // DAD
    NumberList complement; // FJI
};

// Digits chosen by a typed selection text: digits and ascending ranges such as 1-5;
// every other character is ignored.
DigitMask SelectionMask(std::string_view sel);

// Counts allowed by a count text: bit n set when the digit n occurs in it.
std::uint16_t CountMask(std::string_view counts);

// Runs every condition of the set over its number space. Fails (without output) when a
// kill-list piece names no number of the space.
Result<ReductionOutput> Reduce(const ConditionSet& set);

} // namespace zuohao
