// Plan lines, their scoring, the position numbers of a draw, the selection test and the
// label of the next period.
#include <gtest/gtest.h>

#include <string>

#include "../../support/support_conditions.h"
#include "../model/support_ref_features.h"
#include "core/acquire/LotteryClass.h"
#include "core/making/Making.h"
#include "core/model/Groups.h"
#include "core/model/LotteryKind.h"
#include "core/model/NumberTables.h"
#include "core/plan/Plan.h"

namespace zuohao {
namespace {

TEST(PlanLine, InProgressThenMissed) {
    LotteryItem item;
    item.SetPlanTxt("1234期", 4, 120);
    EXPECT_EQ(item.PlanTxt(), "1234期  120注  【万百个】  进行中...");
    item.ResultPlan(true);
    EXPECT_EQ(item.PlanTxt(), "1234期  120注  【万百个】  挂");
}

TEST(PlanLine, HitAndScoredOnlyOnce) {
    LotteryItem item;
    item.SetPlanTxt("001期", 11, 0);
    EXPECT_EQ(item.PlanTxt(), "001期  0注  【后四星】  进行中...");
    item.ResultPlan(false);
    EXPECT_EQ(item.PlanTxt(), "001期  0注  【后四星】  中");
    item.ResultPlan(true); // nothing in progress any more
    EXPECT_EQ(item.PlanTxt(), "001期  0注  【后四星】  中");
}

TEST(PlanLine, EveryGroupName) {
    const char* const names[12] = {"万千百", "万千十", "万千个", "万百十", "万百个", "万十个",
                                   "千百十", "千百个", "千十个", "百十个", "前四星", "后四星"};
    for (int g = 0; g < kGroupCount; ++g) {
        LotteryItem item;
        item.SetPlanTxt("7期", g, 10000);
        EXPECT_EQ(item.PlanTxt(), std::string("7期  10000注  【") + names[g] + "】  进行中...");
    }
}

TEST(PlanLine, ScoringAnEmptyLineLeavesItEmpty) {
    LotteryItem item;
    item.ResultPlan(true);
    EXPECT_EQ(item.PlanTxt(), "");
    item.ResultPlan(false);
    EXPECT_EQ(item.PlanTxt(), "");
}

TEST(AddNewPlan, CountsTheBaseSet) {
    BuildNumberTables();
    LotteryState l;
    l.NewQi = "1234";
    l.conditions.IDX = 9;
    LotteryItem item;
    WritePlanLine(l, item);
    EXPECT_EQ(item.PlanTxt(), "1235期  0注  【百十个】  进行中...");
    l.conditions.DAD = NumberList::read("012 345 678", false).list;
    WritePlanLine(l, item);
    EXPECT_EQ(item.PlanTxt(), "1235期  3注  【百十个】  进行中...");
    l.conditions.IDX = 10;
    l.conditions.KUA = "";
    ASSERT_TRUE(RenewBaseSet(l).ok());
    WritePlanLine(l, item);
    EXPECT_EQ(item.PlanTxt(), "1235期  10000注  【前四星】  进行中...");
}

TEST(WeizhiHAO, PositionNumbersOfTheGroup) {
    LotteryClass l;
    l.setPositionIndex(10);
    EXPECT_EQ(l.weizhiHAO("90817"), "9081");
    l.setPositionIndex(4);
    EXPECT_EQ(l.weizhiHAO("12345"), "135");
    l.setPositionIndex(11);
    EXPECT_EQ(l.weizhiHAO("12345"), "2345");
}

TEST(WeizhiHAO, EqualsTheGroupDigitsInEveryGroup) {
    LotteryClass l;
    for (const std::string haoma : {"90817", "00000", "13579", "86420"})
        for (int g = 0; g < kGroupCount; ++g) {
            l.setPositionIndex(g);
            EXPECT_EQ(l.weizhiHAO(haoma), reftest::groupDigits(haoma, g)) << haoma << " " << g;
        }
}

TEST(GetHasChecked, TrueAsSoonAsOneSelectionHoldsAnything) {
    LotteryClass l;
    EXPECT_FALSE(l.GetHasChecked());
    for (int g = 0; g < 5; ++g) {
        LotteryClass one;
        zuohao::testing::EditConditions(
            one, [&](ConditionSet& given) { given.SEL[std::size_t(g)] = g == 2 ? " " : "7"; });
        EXPECT_TRUE(one.GetHasChecked()) << g;
    }
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        given.CHK[16] = true; // a ticked box alone is not a selection
    });
    EXPECT_FALSE(l.GetHasChecked());
}

struct NextCase {
    int index;
    const char* newQi;
    const char* expected;
};

class NextPeriod : public ::testing::TestWithParam<NextCase> {};

TEST_P(NextPeriod, Label) {
    EXPECT_EQ(NextPeriodLabel(GetParam().index, GetParam().newQi), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, NextPeriod,
    ::testing::Values(NextCase{0, "1234", "1235期"}, NextCase{0, "0099", "100期"},
                      NextCase{0, "202612080931", "202612080932期"},
                      NextCase{0, "20261208093199", "20261208093200期"},
                      NextCase{0, "0101-1234", "102期"}, NextCase{0, "", "1期"},
                      NextCase{1, "045", "046期"}, NextCase{1, "20261208-045", "046期"},
                      NextCase{1, "119", "120期"}, NextCase{1, "1234119", "120期"},
                      NextCase{1, "120", "001期"}, NextCase{1, "240", "001期"},
                      NextCase{1, "7", "008期"}, NextCase{2, "1234", ""}, NextCase{5, "1234", ""}));

} // namespace
} // namespace zuohao
