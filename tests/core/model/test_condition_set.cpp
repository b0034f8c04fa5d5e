// The condition set of a lottery, read and written by key.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/acquire/LotteryClass.h"

namespace zuohao {
namespace {

template <class T> T get(const LotteryClass& l, const char* key, int index = -1) {
    auto r = l.GetMyFormSet(key, index);
    EXPECT_TRUE(r.ok()) << key << " " << index;
    if (!r.ok()) return T{};
    const auto* v = std::get_if<T>(&*r);
    EXPECT_NE(v, nullptr) << key << " has another type";
    return v ? *v : T{};
}

std::string str(const LotteryClass& l, const char* key, int index = -1) {
    return get<std::string>(l, key, index);
}

void let(LotteryClass& l, const char* key, FormValue v, int idx) {
    auto r = l.LetMyFormSet(key, v, idx);
    ASSERT_TRUE(r.ok()) << key << " " << idx << ": " << r.error();
}

TEST(ConditionSet, NewLotteryDefaults) {
    LotteryClass l;
    EXPECT_EQ(get<std::vector<std::string>>(l, "CNT"),
              (std::vector<std::string>{"1234", "1234", "123456", "123456", "1234"}));
    EXPECT_EQ(get<bool>(l, "PLA"), true);
    EXPECT_EQ(get<int>(l, "IDX"), 0);
    EXPECT_EQ(str(l, "DAN", 0), "");
    EXPECT_EQ(str(l, "DAN", 1), "");
    EXPECT_EQ(str(l, "DCC", 0), "");
    EXPECT_EQ(str(l, "DCC", 1), "");
    EXPECT_EQ(get<bool>(l, "FAN"), false);
    EXPECT_EQ(get<std::vector<std::string>>(l, "SEL"), std::vector<std::string>(5));
    EXPECT_EQ(get<std::vector<bool>>(l, "CHK"), std::vector<bool>(66, false));
    EXPECT_EQ(get<std::vector<int>>(l, "KLU"), std::vector<int>(4, 0));
    for (const char* key : {"DAD", "FJI", "PLT", "KL0", "KL1", "KUA"})
        EXPECT_EQ(str(l, key), "") << key;
}

TEST(ConditionSet, BankerDigitToggle) {
    LotteryClass l;
    let(l, "DAN", 13, 1);
    EXPECT_EQ(str(l, "DAN", 1), "3");
    EXPECT_EQ(str(l, "DAN", 0), "");
    let(l, "DAN", 13, 1); // repeating keeps one
    EXPECT_EQ(str(l, "DAN", 1), "3");
    let(l, "DAN", 13, 0);
    EXPECT_EQ(str(l, "DAN", 1), "");
}

TEST(ConditionSet, ToggleAppendsInClickOrderAndAnyOtherStateRemoves) {
    LotteryClass l;
    for (int v : {5, 2, 8})
        let(l, "DAN", v, 1);
    EXPECT_EQ(str(l, "DAN", 0), "528");
    let(l, "DAN", 2, 0);
    EXPECT_EQ(str(l, "DAN", 0), "58");
    let(l, "DAN", 2, 1);
    EXPECT_EQ(str(l, "DAN", 0), "582");
    let(l, "DAN", 8, 2); // only state 1 selects
    EXPECT_EQ(str(l, "DAN", 0), "52");
    let(l, "DAN", 5, -1);
    EXPECT_EQ(str(l, "DAN", 0), "2");
}

TEST(ConditionSet, BankerCountToggle) {
    LotteryClass l;
    let(l, "DCC", 7, 1);
    let(l, "DCC", 5, 1);
    EXPECT_EQ(str(l, "DCC", 1), "20");
    EXPECT_EQ(str(l, "DCC", 0), "");
    let(l, "DCC", 4, 1);
    let(l, "DCC", 0, 1);
    EXPECT_EQ(str(l, "DCC", 0), "40");
    let(l, "DCC", 9, 1);
    EXPECT_EQ(str(l, "DCC", 1), "204");
}

TEST(ConditionSet, SpanToggleUsesButtons20To29) {
    LotteryClass l;
    let(l, "KUA", 23, 1);
    let(l, "KUA", 20, 1);
    let(l, "KUA", 29, 1);
    EXPECT_EQ(str(l, "KUA"), "309");
    let(l, "KUA", 23, 0);
    EXPECT_EQ(str(l, "KUA"), "09");
    EXPECT_EQ(str(l, "DAN", 0), ""); // span buttons never touch the bankers
    EXPECT_EQ(str(l, "DAN", 1), "");
}

TEST(ConditionSet, ComplementIsWrittenOnlyByTheReduction) {
    LotteryClass l;
    let(l, "FJI", std::string("123 456"), 0);
    EXPECT_EQ(str(l, "FJI"), "");
    let(l, "KL0", std::string("000 001"), 0);
    ASSERT_TRUE(l.GetSuoshuiDadi().ok());
    EXPECT_EQ(str(l, "FJI"), "000 001");
    let(l, "fji", std::string(""), 0);
    EXPECT_EQ(str(l, "FJI"), "000 001");
}

TEST(ConditionSet, PlainValuesAreStored) {
    LotteryClass l;
    let(l, "IDX", 10, 0);
    EXPECT_EQ(get<int>(l, "IDX"), 10);
    let(l, "IDX", std::string("7"), 99); // index ignored, text read as a number
    EXPECT_EQ(get<int>(l, "IDX"), 7);
    let(l, "PLA", false, 0);
    EXPECT_EQ(get<bool>(l, "PLA"), false);
    let(l, "FAN", true, 0);
    EXPECT_EQ(get<bool>(l, "FAN"), true);
    let(l, "DAD", std::string("012 345"), 0);
    let(l, "PLT", std::string("anything at all"), 0);
    let(l, "KL0", std::string("123 "), 0);
    let(l, "KL1", std::string("0123"), 0);
    EXPECT_EQ(str(l, "DAD"), "012 345");
    EXPECT_EQ(str(l, "PLT"), "anything at all");
    EXPECT_EQ(str(l, "KL0"), "123 ");
    EXPECT_EQ(str(l, "KL1"), "0123");
    let(l, "SEL", std::string("1-5"), 3); // typed text kept as it is
    let(l, "CNT", std::string(""), 2);
    EXPECT_EQ(get<std::vector<std::string>>(l, "SEL"),
              (std::vector<std::string>{"", "", "", "1-5", ""}));
    EXPECT_EQ(get<std::vector<std::string>>(l, "CNT"),
              (std::vector<std::string>{"1234", "1234", "", "123456", "1234"}));
    let(l, "CHK", true, 65);
    let(l, "CHK", true, 0);
    let(l, "KLU", 1, 3);
    auto chk = get<std::vector<bool>>(l, "CHK");
    EXPECT_TRUE(chk[0] && chk[65]);
    EXPECT_EQ(std::count(chk.begin(), chk.end(), true), 2);
    EXPECT_EQ(get<std::vector<int>>(l, "KLU"), (std::vector<int>{0, 0, 0, 1}));
}

TEST(ConditionSet, LowerCaseKeysSelectTheSameValues) {
    LotteryClass l;
    let(l, "chk", true, 12);
    let(l, "sel", std::string("27"), 1);
    let(l, "dan", 4, 1);
    const auto chk = get<std::vector<bool>>(l, "chk", -1);
    ASSERT_EQ(chk.size(), 66u);
    EXPECT_TRUE(chk[12]);
    EXPECT_EQ(get<std::vector<std::string>>(l, "Sel")[1], "27");
    EXPECT_EQ(str(l, "dAn", 0), "4");
}

TEST(ConditionSet, WholeArraysAreCopiesInIndexOrderWhateverTheIndex) {
    LotteryClass l;
    for (int g = 0; g < 5; ++g)
        let(l, "SEL", std::to_string(g * 11), g);
    const std::vector<std::string> want{"0", "11", "22", "33", "44"};
    EXPECT_EQ(get<std::vector<std::string>>(l, "SEL", -1), want);
    EXPECT_EQ(get<std::vector<std::string>>(l, "SEL", 3), want);
    auto copy = get<std::vector<std::string>>(l, "SEL", -1);
    copy[0] = "9";
    EXPECT_EQ(get<std::vector<std::string>>(l, "SEL", -1), want);
    EXPECT_EQ(l.formSet().SEL[0], "0");
}

TEST(ConditionSet, UnknownKeyReadsEmptyAndWritesNothing) {
    LotteryClass l;
    auto r = l.GetMyFormSet("XYZ", 0);
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(*r));
    EXPECT_TRUE(l.LetMyFormSet("XYZ", std::string("1"), 0).ok());
    EXPECT_TRUE(l.LetMyFormSet("DA", std::string("1"), 0).ok());
    EXPECT_EQ(str(l, "DAD"), "");
}

struct OutOfRange {
    const char* key;
    int value;
    int idx;
};

class WriteOutOfRange : public ::testing::TestWithParam<OutOfRange> {};

TEST_P(WriteOutOfRange, FailsAndChangesNothing) {
    LotteryClass l;
    const ConditionSet before = l.formSet();
    const auto& c = GetParam();
    EXPECT_FALSE(l.LetMyFormSet(c.key, c.value, c.idx).ok());
    const ConditionSet& after = l.formSet();
    EXPECT_EQ(after.CHK, before.CHK);
    EXPECT_EQ(after.SEL, before.SEL);
    EXPECT_EQ(after.CNT, before.CNT);
    EXPECT_EQ(after.KLU, before.KLU);
    EXPECT_EQ(after.DAN, before.DAN);
    EXPECT_EQ(after.DCC, before.DCC);
}

INSTANTIATE_TEST_SUITE_P(Keys, WriteOutOfRange,
                         ::testing::Values(OutOfRange{"CHK", 1, 66}, OutOfRange{"CHK", 1, -1},
                                           OutOfRange{"SEL", 1, 5}, OutOfRange{"CNT", 1, -1},
                                           OutOfRange{"KLU", 1, 4}, OutOfRange{"DAN", 20, 1},
                                           OutOfRange{"DAN", -1, 1}, OutOfRange{"DCC", 10, 1}));

TEST(ConditionSet, BankerReadNeedsIndex0Or1) {
    LotteryClass l;
    EXPECT_FALSE(l.GetMyFormSet("DAN", 2).ok());
    EXPECT_FALSE(l.GetMyFormSet("DAN", -1).ok());
    EXPECT_FALSE(l.GetMyFormSet("dcc", 2).ok());
    EXPECT_TRUE(l.GetMyFormSet("DCC", 1).ok());
}

} // namespace
} // namespace zuohao
