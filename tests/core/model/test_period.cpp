// The label after a label: a date label's day ends at 1440 (months, years and leap days
// included); other labels count by one.
#include <gtest/gtest.h>

#include "core/model/Period.h"

namespace zuohao {
namespace {

TEST(Period, TheNextLabelRunsOnAcrossMidnight) {
    const struct {
        const char* label;
        const char* next;
        std::int64_t steps; // from label to next
    } cases[] = {
        {"202612080012", "202612080013", 1},
        {"202612081440", "202612090001", 1},
        {"202612311440", "202701010001", 1},
        {"202402281440", "202402290001", 1},
        {"202302281440", "202303010001", 1},
        {"0065", "66", 1},
        {"202612081441", "202612081442", 1}, // not a date label: counts by one
        {"1440", "1441", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextLabelText(c.label), c.next) << c.label;
        EXPECT_EQ(PeriodSteps(PeriodValue(c.label), PeriodValue(c.next)), c.steps) << c.label;
    }
    EXPECT_EQ(PeriodsBetween("202612081439", "202612090002"), 2);
    EXPECT_EQ(PeriodsBetween("202612090002", "202612081439"), 0);
}

} // namespace
} // namespace zuohao
