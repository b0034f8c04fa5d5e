#pragma once
// A plan line: the bet made in one period for the next, and its result once that period's
// draw is in. Its text (PlanTxt) is rendered by core/model/Captions.h.
#include <cstdint>
#include <string>

namespace zuohao {

enum class PlanOutcome : std::uint8_t { Running, Hit, Miss };

struct PlanLine {
    std::string period;  // label of the period the line is for, such as "202612080932期"
    long long count = 0; // base-set count (注) when the line was made
    int group = 0;       // position group (WeiIndex) of the plan
    PlanOutcome outcome = PlanOutcome::Running;
    bool operator==(const PlanLine&) const = default;
};

} // namespace zuohao
