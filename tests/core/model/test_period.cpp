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

// A label is parsed once into a Period and rendered once as its key; leading zeros name the
// same period, and a date label knows its day and its number in the day.
TEST(Period, ParseAndRenderRoundTrip) {
    const struct {
        const char* label;
        const char* text;
        const char* day;
        int numberInDay;
        const char* next;
    } cases[] = {
        {"202612081440", "202612081440", "2026-12-08", 1440, "202612090001"},
        {"202612090001期", "202612090001", "2026-12-09", 1, "202612090002"},
        {"202612311440", "202612311440", "2026-12-31", 1440, "202701010001"},
        {"0931", "931", "", 0, "932"},
        {"931", "931", "", 0, "932"},
        {" 0931", "931", "", 0, "932"},
        {"20261208-0931", "20261208", "", 0, "20261209"},
        {"期", "0", "", 0, "1"},
        {"", "0", "", 0, "1"},
    };
    for (const auto& c : cases) {
        const Period p = Period::parse(c.label);
        EXPECT_EQ(p.text(), c.text) << c.label;
        EXPECT_EQ(PeriodKey(c.label), c.text) << c.label;
        EXPECT_EQ(p.day(), c.day) << c.label;
        EXPECT_EQ(p.numberInDay(), c.numberInDay) << c.label;
        EXPECT_EQ(p.next().text(), c.next) << c.label;
        EXPECT_EQ(Period::parse(p.text()), p) << c.label;
    }
    EXPECT_EQ(Period::parse("0931"), Period::parse("931"));
    EXPECT_LT(Period::parse("202612081440"), Period::parse("202612090001"));
    EXPECT_LT(Period::parse("99"), Period::parse("0100"));
}

} // namespace
} // namespace zuohao
