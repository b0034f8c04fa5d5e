// How the auto-betting program's text becomes draws, and the draws it feeds to the pipeline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/model/LotteryClass.h"

namespace zuohao {
namespace {

// Newest first, as the auto-betting program writes: line i is period 2000 - i.
std::string fileOf(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        const int period = 2000 - i;
        text += "第" + std::to_string(period) + "期 开奖号码 " +
                std::to_string(10000 + period * 37 % 90000) + "\n";
    }
    return text;
}

TEST(LineRule, Only99LinesOldestFirst) {
    const ParsedDrawText p = ParseDrawText(fileOf(150));
    EXPECT_EQ(p.considered, 99);
    ASSERT_EQ(p.draws.size(), 99u);
    EXPECT_EQ(p.draws.front().qishu, "1902"); // line 98
    EXPECT_EQ(p.draws.back().qishu, "2000");  // line 0
    for (std::size_t k = 0; k < p.draws.size(); ++k)
        ASSERT_EQ(p.draws[k].qishu, std::to_string(1902 + int(k)));
}

TEST(LineRule, OneLine) {
    const ParsedDrawText p = ParseDrawText("第1001期 开奖号码 12345");
    ASSERT_EQ(p.draws.size(), 1u);
    EXPECT_EQ(p.draws[0].qishu, "1001");
    EXPECT_EQ(p.draws[0].haoma, "12345");
}

TEST(LineRule, LastTwoDigitRunsArePeriodAndNumber) {
    const ParsedDrawText p = ParseDrawText("第0101-1234期 开奖 12345");
    ASSERT_EQ(p.draws.size(), 1u);
    EXPECT_EQ(p.draws[0].qishu, "1234");
    EXPECT_EQ(p.draws[0].haoma, "12345");
}

struct LengthCase {
    const char* line;
    bool used;
};

class TenCharacterRule : public ::testing::TestWithParam<LengthCase> {};

// Lines are counted in characters: a Chinese character is one, a carriage return is one.
TEST_P(TenCharacterRule, LongerThan10IsRead) {
    const ParsedDrawText p = ParseDrawText(GetParam().line);
    EXPECT_EQ(p.draws.size(), GetParam().used ? 1u : 0u) << GetParam().line;
    EXPECT_EQ(p.considered, 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, TenCharacterRule,
                         ::testing::Values(LengthCase{"1001 12345", false},  // 10
                                           LengthCase{"1001  12345", true},  // 11
                                           LengthCase{"1001 12345\r", true}, // 10 + CR
                                           LengthCase{"100 12345\r", false}, // 9 + CR
                                           LengthCase{"第1期 12345",
                                                      false}, // 9 characters, 15 bytes
                                           LengthCase{"第10期开12345", false}, // 10 characters
                                           LengthCase{"第100期开12345", true}, // 11 characters
                                           LengthCase{"期期期期期期期期期期期1 12345", true}));

TEST(LineRule, CarriageReturnIsNoPartOfTheNumbers) {
    const ParsedDrawText p =
        ParseDrawText("第1002期 开奖号码 67890\r\n第1001期 开奖号码 12345\r\n");
    ASSERT_EQ(p.draws.size(), 2u);
    EXPECT_EQ(p.draws[0].qishu, "1001");
    EXPECT_EQ(p.draws[0].haoma, "12345");
    EXPECT_EQ(p.draws[1].haoma, "67890");
}

TEST(LineRule, UnusableLinesAreSkippedAndLaterLinesStillRead) {
    const std::string text = "第1004期 开奖号码 44444\n"    // 0
                             "开奖号码还没有出来呢请稍后\n" // 1: no digits
                             "第1003期 开奖号码 1234\n"     // 2: last run of 4 digits
                             "开奖号码 号码为 33333 等待\n" // 3: one run only
                             "第1002期 开奖号码 123456\n"   // 4: last run of 6 digits
                             "第1001期 开奖号码 11111\n";   // 5
    const ParsedDrawText p = ParseDrawText(text);
    ASSERT_EQ(p.draws.size(), 2u);
    EXPECT_EQ(p.draws[0].qishu, "1001");
    EXPECT_EQ(p.draws[1].qishu, "1004");
    EXPECT_EQ(p.draws[1].haoma, "44444");
    EXPECT_EQ(p.skipped, 5); // four unusable lines and the empty last line
}

TEST(LineRule, EmptyText) {
    const ParsedDrawText p = ParseDrawText("");
    EXPECT_TRUE(p.draws.empty());
}

TEST(LineRule, TheTextFeedsThePipelineOldestFirst) {
    LotteryClass l;
    const TextReport r = l.GetTxtStringArray(fileOf(150));
    EXPECT_EQ(r.draws, 99);
    EXPECT_EQ(l.LotteryDic.Count(), 99u);
    EXPECT_EQ(l.LotteryDic.front().first, "1902");
    EXPECT_EQ(l.NewQi, "2000");
    EXPECT_EQ(l.GetNextQiShu(), "2001期");
    // Reading the same text again adds nothing.
    l.IsGetNew = false;
    const TextReport again = l.GetTxtStringArray(fileOf(150));
    EXPECT_EQ(again.draws, 0);
    EXPECT_FALSE(l.IsGetNew);
    EXPECT_EQ(l.LotteryDic.Count(), 99u);
}

} // namespace
} // namespace zuohao
