// The line rule of the draw text: which lines are draws, in which order, and what a draw is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/acquire/LotteryClass.h"

namespace zuohao {
namespace {

std::string drawLine(long long label, const std::string& haoma) {
    return "第" + std::to_string(label) + "期 开奖号码 " + haoma;
}

// A text of `count` draw lines, newest (highest label) first, each ending in `eol`.
std::string newestFirst(long long newest, int count, const std::string& eol = "\r\n") {
    std::string t;
    for (int i = 0; i < count; ++i) {
        char num[8];
        std::snprintf(num, sizeof num, "%05d", int((newest - i) * 7919 % 100000));
        t += drawLine(newest - i, num) + eol;
    }
    return t;
}

TEST(LineRule, OnlyTheFirst99LinesCountAndLine98EntersFirst) {
    const std::string text = newestFirst(1150, 150);
    ParsedDrawText p = ParseDrawText(text);
    EXPECT_EQ(p.considered, 99);
    ASSERT_EQ(p.draws.size(), 99u);
    EXPECT_EQ(p.draws.front().qishu, "1052"); // line 98
    EXPECT_EQ(p.draws.back().qishu, "1150");  // line 0
    for (std::size_t i = 1; i < p.draws.size(); ++i)
        EXPECT_EQ(std::stoll(p.draws[i].qishu), std::stoll(p.draws[i - 1].qishu) + 1)
            << "draws must come oldest first";
}

TEST(LineRule, TheLastTwoDigitRunsArePeriodAndNumber) {
    ParsedDrawText p = ParseDrawText("第0101-1234期 开奖 12345");
    ASSERT_EQ(p.draws.size(), 1u);
    EXPECT_EQ(p.draws[0].qishu, "1234");
    EXPECT_EQ(p.draws[0].haoma, "12345");
}

struct LineCase {
    const char* name;
    std::string line;
    bool isDraw;
    const char* qishu;
    const char* haoma;
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class LineRuleCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineRuleCases, OneLine) {
    const LineCase& c = GetParam();
    ParsedDrawText p = ParseDrawText(c.line);
    EXPECT_EQ(p.considered, 1);
    if (!c.isDraw) {
        EXPECT_TRUE(p.draws.empty());
        EXPECT_EQ(p.skipped, 1);
        return;
    }
    ASSERT_EQ(p.draws.size(), 1u);
    EXPECT_EQ(p.draws[0].qishu, c.qishu);
    EXPECT_EQ(p.draws[0].haoma, c.haoma);
    EXPECT_EQ(p.skipped, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineRuleCases,
    ::testing::Values(
        LineCase{"ElevenAsciiCharacters", "1001 12345x", true, "1001", "12345"},
        LineCase{"ExactlyTenCharactersIsSkipped", "1001 12345", false, "", ""},
        // A carriage return at the end counts in the length test.
        LineCase{"TenPlusCarriageReturn", "1001 12345\r", true, "1001", "12345"},
        // Ten characters although 18 bytes: the test counts characters, not bytes.
        LineCase{"TenChineseAndDigitCharacters", "第1期开奖12345", false, "", ""},
        LineCase{"ElevenChineseAndDigitCharacters", "第12期开奖12345", true, "12", "12345"},
        LineCase{"OneDigitRunOnly", "开奖号码开奖号码 12345", false, "", ""},
        LineCase{"NoDigits", "开奖号码开奖号码开奖号码", false, "", ""},
        // A number that is not five digits is not a draw yet (a line still being written).
        LineCase{"TornInsideTheNumber", "第202612080932期 开奖号码 695", false, "", ""},
        LineCase{"TornBeforeTheNumber", "第202612080932期 开奖号码 ", false, "", ""},
        LineCase{"TornInsideTheLabel", "第2026120809", false, "", ""},
        LineCase{"SixDigitNumber", "第202612080932期 开奖号码 695621", false, "", ""},
        LineCase{"LeadingZerosKept", "第0931期 开奖号码 00007", true, "0931", "00007"},
        LineCase{"DigitsAfterTheNumberWin", "期 12 34 开奖 56789 第", true, "34", "56789"},
        LineCase{"FullWidthDigitsAreNotDigits", "第１２期 开奖号码 12345 ６", false, "", ""},
        LineCase{"TheBettingProgramsLine", "第1001期 开奖号码 12345", true, "1001", "12345"},
        LineCase{"ElevenWithTwoSpaces", "1001  12345", true, "1001", "12345"},
        LineCase{"NinePlusCarriageReturn", "100 12345\r", false, "", ""},
        LineCase{"NineCharactersFifteenBytes", "第1期 12345", false, "", ""},
        LineCase{"TenCharactersWithChinese", "第10期开12345", false, "", ""},
        LineCase{"ElevenCharactersWithChinese", "第100期开12345", true, "100", "12345"},
        LineCase{"ManyChineseCharacters", "期期期期期期期期期期期1 12345", true, "1", "12345"},
        // A label cut by a zero byte or another control character is no label.
        LineCase{"NulInsideTheLabel",
                 std::string("第2026120900\x00"
                             "03期 开奖号码 33333",
                             31),
                 false, "", ""},
        LineCase{"ControlBeforeTheLabel",
                 "第2026120900\x01"
                 "03期 开奖号码 33333",
                 false, "", ""},
        LineCase{"NulAfterTheNumber", std::string("第2026120903期 开奖号码 33333\x00", 33), false,
                 "", ""},
        LineCase{"TabBeforeTheLabel", "第\t2026120903期 开奖号码 33333", true, "2026120903",
                 "33333"}),
    [](const auto& instance) { return std::string(instance.param.name); });

TEST(LineRule, ABadLineDoesNotStopTheLinesAfterIt) {
    const std::string text = "第1003期 开奖号码 33333\n"
                             "a line without a draw in it\n"
                             "第1002期 开奖号码 22\n"
                             "第1001期 开奖号码 11111\n";
    ParsedDrawText p = ParseDrawText(text);
    // Four lines and the empty piece after the last line feed.
    EXPECT_EQ(p.considered, 5);
    ASSERT_EQ(p.draws.size(), 2u);
    EXPECT_EQ(p.draws[0].qishu, "1001");
    EXPECT_EQ(p.draws[1].qishu, "1003");
    EXPECT_EQ(p.skipped, 3);
}

TEST(LineRule, CrLfAndLfMixedGiveTheSameDraws) {
    const std::string crlf = newestFirst(5000, 40, "\r\n");
    const std::string lf = newestFirst(5000, 40, "\n");
    std::string mixed;
    for (int i = 0; i < 40; ++i) {
        char num[8];
        std::snprintf(num, sizeof num, "%05d", int((5000 - i) * 7919 % 100000));
        mixed += drawLine(5000 - i, num) + (i % 3 == 0 ? "\r\n" : "\n");
    }
    auto a = ParseDrawText(crlf).draws, b = ParseDrawText(lf).draws, c = ParseDrawText(mixed).draws;
    ASSERT_EQ(a.size(), 40u);
    ASSERT_EQ(b.size(), 40u);
    ASSERT_EQ(c.size(), 40u);
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].qishu, b[i].qishu);
        EXPECT_EQ(a[i].haoma, b[i].haoma);
        EXPECT_EQ(a[i].qishu, c[i].qishu);
        EXPECT_EQ(a[i].haoma, c[i].haoma);
    }
}

TEST(LineRule, EmptyAndBareLineFeeds) {
    EXPECT_TRUE(ParseDrawText("").draws.empty());
    ParsedDrawText p = ParseDrawText(std::string(500, '\n'));
    EXPECT_EQ(p.considered, 99);
    EXPECT_TRUE(p.draws.empty());
}

// Every prefix of a text being written (newest line first) gives only true draws: a cut
// anywhere never invents a draw with a wrong label or number.
TEST(LineRule, EveryPrefixOfATextGivesOnlyTrueDraws) {
    const std::string text = newestFirst(202612080931LL, 12);
    const ParsedDrawText whole = ParseDrawText(text);
    ASSERT_EQ(whole.draws.size(), 12u);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        ParsedDrawText p = ParseDrawText(std::string_view(text).substr(0, cut));
        for (const DrawLine& d : p.draws) {
            bool known = false;
            for (const DrawLine& w : whole.draws)
                known = known || (w.qishu == d.qishu && w.haoma == d.haoma);
            EXPECT_TRUE(known) << "cut " << cut << " invented " << d.qishu << " " << d.haoma;
        }
    }
}

TEST(LineRule, CarriageReturnIsNoPartOfTheNumbers) {
    const ParsedDrawText p =
        ParseDrawText("第1002期 开奖号码 67890\r\n第1001期 开奖号码 12345\r\n");
    ASSERT_EQ(p.draws.size(), 2u);
    EXPECT_EQ(p.draws[0].qishu, "1001");
    EXPECT_EQ(p.draws[0].haoma, "12345");
    EXPECT_EQ(p.draws[1].haoma, "67890");
}

TEST(LineRule, UnusableLinesAreCountedAsSkipped) {
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

TEST(LineRule, TheTextFeedsThePipelineOldestFirst) {
    LotteryClass l;
    const TextReport r = l.GetTxtStringArray(newestFirst(2000, 150, "\n"));
    EXPECT_EQ(r.draws, 99);
    EXPECT_EQ(l.state().LotteryDic.Count(), 99u);
    EXPECT_EQ(l.state().LotteryDic.front().first, "1902");
    EXPECT_EQ(l.state().NewQi, "2000");
    EXPECT_EQ(l.GetNextQiShu(), "2001期");
    // Reading the same text again adds nothing.
    l.clearNewDraw();
    const TextReport again = l.GetTxtStringArray(newestFirst(2000, 150, "\n"));
    EXPECT_EQ(again.draws, 0);
    EXPECT_FALSE(l.state().IsGetNew);
    EXPECT_EQ(l.state().LotteryDic.Count(), 99u);
}

} // namespace
} // namespace zuohao
