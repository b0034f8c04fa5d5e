// The draw pipeline: new and repeated periods, the window of held draws, plan scoring and
// renewal period after period, and failures inside the pipeline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/support_conditions.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/NumberTables.h"
#include "core/plan/Plan.h"
#include "core/plan/ProcessDraw.h"

namespace zuohao {
namespace {

std::string haomaOf(int n) {
    // A different five-digit number for every n.
    std::string s = std::to_string(100000 + (n * 7919) % 100000);
    return s.substr(1);
}

std::vector<std::string> keys(const LotteryClass& l) {
    std::vector<std::string> out;
    for (const auto& [k, v] : l.state().LotteryDic)
        out.push_back(k);
    return out;
}

// Starts a plan as the start button does: run the reduction, give the newest draw its line.
void startPlan(LotteryClass& l) {
    ASSERT_TRUE(l.StartPlan().ok());
}

TEST(Pipeline, NewDrawIsHeldAndReported) {
    LotteryClass l;
    auto o = l.ProcessDraw("1001", "12345");
    EXPECT_TRUE(o.added);
    EXPECT_EQ(o.error, "");
    EXPECT_TRUE(l.state().IsGetNew);
    EXPECT_EQ(l.state().NewQi, "1001");
    ASSERT_TRUE(l.state().PreItem01);
    EXPECT_EQ(l.state().PreItem01->Qishu, "1001");
    EXPECT_EQ(l.state().PreItem01->Haoma, "12345");
    EXPECT_EQ(l.state().PreItem01->PlanTxt(), "");
    ASSERT_TRUE(l.state().LotteryDic_Jiankong.find("1001").has_value());
    EXPECT_EQ(*l.state().LotteryDic_Jiankong.find("1001"), "12345");
    EXPECT_EQ(l.PreItem(0), l.state().PreItem01);
    EXPECT_FALSE(l.PreItem(1));
}

TEST(Pipeline, RepeatedPeriodChangesNothing) {
    LotteryClass l;
    l.ProcessDraw("1001", "12345");
    l.ProcessDraw("1002", "67890");
    l.clearNewDraw();
    const ItemPtr newest = l.state().PreItem01;
    auto o = l.ProcessDraw("1001", "99999");
    EXPECT_FALSE(o.added);
    EXPECT_EQ(o.error, "");
    EXPECT_FALSE(l.state().IsGetNew);
    EXPECT_EQ(l.state().NewQi, "1002");
    EXPECT_EQ(l.state().PreItem01, newest);
    EXPECT_EQ(keys(l), (std::vector<std::string>{"1001", "1002"}));
    EXPECT_EQ(l.state().LotteryDic.find("1001")->get()->Haoma, "12345");
    EXPECT_EQ(*l.state().LotteryDic_Jiankong.find("1001"), "12345");
    EXPECT_EQ(l.state().LotteryDic_Jiankong.Count(), 2u);
}

TEST(Pipeline, HoldsTheNewest100AndRemembersAll) {
    LotteryClass l;
    for (int n = 1; n <= 150; ++n)
        ASSERT_TRUE(l.ProcessDraw(std::to_string(n), haomaOf(n)).added);
    EXPECT_EQ(l.state().LotteryDic.Count(), 100u);
    EXPECT_EQ(l.state().LotteryDic_Jiankong.Count(), 150u);
    const auto k = keys(l);
    EXPECT_EQ(k.front(), "51");
    EXPECT_EQ(k.back(), "150");
    for (std::size_t i = 0; i < k.size(); ++i)
        ASSERT_EQ(k[i], std::to_string(51 + int(i)));
    EXPECT_EQ(l.state().LotteryDic_Jiankong.front().first, "1");
    EXPECT_EQ(*l.state().LotteryDic_Jiankong.find("1"), haomaOf(1));
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(l.PreItem(j)->Qishu, std::to_string(150 - j));
    EXPECT_EQ(l.state().PreItem10->Qishu, "141");
}

TEST(Pipeline, PreItem10IsNineDrawsBeforeTheNewest) {
    LotteryClass l;
    for (int n = 1; n <= 10; ++n)
        l.ProcessDraw(std::to_string(n), haomaOf(n));
    EXPECT_FALSE(l.state().PreItem10);
    l.ProcessDraw("11", haomaOf(11));
    ASSERT_TRUE(l.state().PreItem10);
    EXPECT_EQ(l.state().PreItem10->Qishu, "2");
    l.ProcessDraw("12", haomaOf(12));
    EXPECT_EQ(l.state().PreItem10->Qishu, "3");
}

TEST(Pipeline, PreItemsAreTheFourNewestNewestFirst) {
    LotteryClass l;
    for (int n = 1; n <= 3; ++n)
        l.ProcessDraw(std::to_string(n), haomaOf(n));
    EXPECT_EQ(l.PreItem(0)->Qishu, "3");
    EXPECT_EQ(l.PreItem(2)->Qishu, "1");
    EXPECT_FALSE(l.PreItem(3));
    for (int n = 4; n <= 6; ++n)
        l.ProcessDraw(std::to_string(n), haomaOf(n));
    for (int j = 0; j < 4; ++j)
        EXPECT_EQ(l.PreItem(j)->Qishu, std::to_string(6 - j));
}

class InvalidDrawNumber : public ::testing::TestWithParam<const char*> {};

TEST_P(InvalidDrawNumber, NeverBecomesARecord) {
    LotteryClass l;
    l.ProcessDraw("1001", "12345");
    l.clearNewDraw();
    const ItemPtr newest = l.state().PreItem01;
    auto o = l.ProcessDraw("1002", GetParam());
    EXPECT_FALSE(o.added);
    EXPECT_FALSE(o.error.empty());
    EXPECT_FALSE(l.state().IsGetNew);
    EXPECT_EQ(l.state().NewQi, "1001");
    EXPECT_EQ(l.state().PreItem01, newest);
    EXPECT_EQ(l.state().LotteryDic.Count(), 1u);
    EXPECT_EQ(l.state().LotteryDic_Jiankong.Count(), 1u);
    // The period is still free for its real number.
    EXPECT_TRUE(l.ProcessDraw("1002", "67890").added);
}

INSTANTIATE_TEST_SUITE_P(Numbers, InvalidDrawNumber,
                         ::testing::Values("", "1234", "123456", "12a45", " 1234", "1234\r",
                                           "１２３４５"));

TEST(PlanScoring, HitIsASubstringOfTheWholeBaseText) {
    // A plan marked running without a reduction: the base set is set by hand each period.
    BuildNumberTables();
    LotteryState l;
    l.conditions.IDX = 9;
    l.conditions.PLA = false;
    EnterDraw(l, "1", "00000");
    l.IsHasPlan = true;
    struct Step {
        const char* dad;
        const char* haoma;
        const char* result;
    };
    const Step steps[] = {
        {"123 456", "00456", "中"},   {"123 456", "00345", "挂"},
        {"1234 5678", "00234", "中"}, // inside a four-digit number still counts
        {"123 456", "00123", "中"},   {"123 456", "00312", "挂"},
    };
    int n = 1;
    for (const Step& s : steps) {
        l.conditions.DAD = NumberList::read(s.dad, false).list;
        l.PreItem01->SetPlanTxt("x期", 9, 2);
        const ItemPtr scored = l.PreItem01;
        EnterDraw(l, std::to_string(++n), s.haoma);
        EXPECT_EQ(scored->PlanTxt(), std::string("x期  2注  【百十个】  ") + s.result)
            << s.dad << " / " << s.haoma;
    }
}

TEST(PlanScoring, EmptyBaseSetMissesEveryPeriod) {
    LotteryClass l;
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        given.FAN = true; // nothing removed, so the base set is empty
    });
    l.ProcessDraw("1", "12345");
    startPlan(l);
    ASSERT_EQ(l.formSet().DAD.text(), "");
    for (int n = 2; n <= 8; ++n)
        l.ProcessDraw(std::to_string(n), haomaOf(n));
    int lines = 0;
    for (const auto& [k, item] : l.state().LotteryDic) {
        if (k == "8") {
            EXPECT_EQ(item->PlanTxt(), "9期  0注  【万千百】  进行中...");
            continue;
        }
        EXPECT_EQ(item->PlanTxt(), std::to_string(std::stoi(k) + 1) + "期  0注  【万千百】  挂");
        ++lines;
    }
    EXPECT_EQ(lines, 7);
}

TEST(PlanScoring, NoPlanNoLines) {
    LotteryClass l;
    for (int n = 1; n <= 5; ++n)
        l.ProcessDraw(std::to_string(n), haomaOf(n));
    for (const auto& [k, item] : l.state().LotteryDic)
        EXPECT_EQ(item->PlanTxt(), "") << k;
}

// A plan over eleven periods in automatic mode: draw box 10 of group 0 puts the digits of
// the newest draw's 百十个 into SEL(0), and CNT(0) "0" keeps the numbers without them. Each
// line is written out as the plan display shows it.
TEST(PlanScoring, ElevenPeriodsLineByLine) {
    LotteryClass l;
    l.ProcessDraw("1001", "00000");
    l.ProcessDraw("1002", "12123");
    l.setPositionIndex(9);
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.CNT[0] = "0"; });
    ASSERT_TRUE(l.LetMyFormSet("CHK", true, 10).ok());
    ASSERT_TRUE(l.ResultSelStr(10).ok());
    ASSERT_EQ(l.formSet().SEL[0], "123");
    startPlan(l);
    const char* draws[][2] = {{"1003", "00456"}, {"1004", "00457"}, {"1005", "00889"},
                              {"1006", "00000"}, {"1007", "00100"}, {"1008", "00234"},
                              {"1009", "00567"}, {"1010", "00777"}, {"1011", "00890"},
                              {"1012", "00123"}, {"1013", "00321"}};
    for (auto& d : draws) {
        auto o = l.ProcessDraw(d[0], d[1]);
        ASSERT_TRUE(o.added);
        ASSERT_EQ(o.error, "");
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"1001", ""},
        {"1002", "1003期  343注  【百十个】  中"},
        {"1003", "1004期  343注  【百十个】  挂"},
        {"1004", "1005期  343注  【百十个】  中"},
        {"1005", "1006期  512注  【百十个】  中"},
        {"1006", "1007期  729注  【百十个】  挂"},
        {"1007", "1008期  512注  【百十个】  中"},
        {"1008", "1009期  343注  【百十个】  中"},
        {"1009", "1010期  343注  【百十个】  挂"},
        {"1010", "1011期  729注  【百十个】  中"},
        {"1011", "1012期  343注  【百十个】  中"},
        {"1012", "1013期  343注  【百十个】  挂"},
        {"1013", "1014期  343注  【百十个】  进行中..."},
    };
    std::vector<std::pair<std::string, std::string>> got;
    for (const auto& [k, item] : l.state().LotteryDic)
        got.emplace_back(k, item->PlanTxt());
    EXPECT_EQ(got, expected);
    EXPECT_EQ(l.formSet().SEL, (std::array<std::string, 5>{"123", "", "", "", ""}));
    EXPECT_EQ(l.state().StartPlanQi, "1002");
}

TEST(PlanScoring, AutomaticDrawBoxReadsTheDrawBeforeTheNewOne) {
    LotteryClass l;
    l.ProcessDraw("1", "11100");
    l.ProcessDraw("2", "22200");
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.CNT[0] = "0"; });
    ASSERT_TRUE(l.LetMyFormSet("CHK", true, 11).ok());
    ASSERT_TRUE(l.ResultSelStr(11).ok());
    ASSERT_EQ(l.formSet().SEL[0], "1");
    startPlan(l);
    l.ProcessDraw("3", "33300");
    EXPECT_EQ(l.formSet().SEL[0], "2");
    EXPECT_EQ(l.state().PreItem01->PlanTxt(), "4期  729注  【万千百】  进行中...");
    l.ProcessDraw("4", "44400");
    EXPECT_EQ(l.formSet().SEL[0], "3");
}

TEST(PlanScoring, ManualModeKeepsTheSelection) {
    LotteryClass l;
    l.ProcessDraw("1", "00000");
    l.setPositionIndex(9);
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        given.PLA = false;
        given.SEL[0] = "0";
        given.CNT[0] = "0";
    });
    ASSERT_TRUE(l.LetMyFormSet("CHK", true, 10).ok()); // ticked, but not used by hand
    startPlan(l);
    l.ProcessDraw("2", "12345");
    l.ProcessDraw("3", "99099");
    EXPECT_EQ(l.formSet().SEL[0], "0");
    EXPECT_EQ(l.state().LotteryDic.find("1")->get()->PlanTxt(), "2期  729注  【百十个】  中");
    EXPECT_EQ(l.state().LotteryDic.find("2")->get()->PlanTxt(), "3期  729注  【百十个】  挂");
}

// The kill list names a number outside the space while the plan runs: the reduction fails.
TEST(PipelineFailure, KeepsTheConditionsStoresTheDrawAndReports) {
    LotteryClass l;
    l.ProcessDraw("1", "00000");
    l.setPositionIndex(9);
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        given.PLA = false;
        given.SEL = {"0", "", "", "", ""};
        given.CNT[0] = "0";
    });
    startPlan(l);
    const std::string dad = l.formSet().DAD.text(), fji = l.formSet().FJI.text();
    ASSERT_EQ(CountNumberList(dad), 729);
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.KL0 = "123 1000"; });
    const ItemPtr previous = l.state().PreItem01;

    auto o = l.ProcessDraw("2", "12345");
    EXPECT_TRUE(o.added);
    EXPECT_FALSE(o.error.empty());
    EXPECT_TRUE(l.state().IsGetNew);
    EXPECT_EQ(l.formSet().DAD.text(), dad);
    EXPECT_EQ(l.formSet().FJI.text(), fji);
    EXPECT_EQ(l.formSet().SEL, (std::array<std::string, 5>{"0", "", "", "", ""}));
    ASSERT_TRUE(l.state().LotteryDic.Exists("2"));
    EXPECT_EQ(l.state().PreItem01->Qishu, "2");
    EXPECT_EQ(previous->PlanTxt(), "2期  729注  【百十个】  中"); // scored before the failure
    EXPECT_EQ(l.state().PreItem01->PlanTxt(), "3期  729注  【百十个】  进行中...");

    // Once the kill list is right again the next draw renews the base set.
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.KL0 = "123"; });
    o = l.ProcessDraw("3", "00345");
    EXPECT_EQ(o.error, "");
    EXPECT_EQ(CountNumberList(l.formSet().DAD.text()), 728);
    EXPECT_EQ(l.PreItem(1)->PlanTxt(), "3期  729注  【百十个】  中");
}

// In automatic mode the selection is rebuilt before the reduction runs, so it follows the
// new draw even when the reduction then fails; the base set stays.
TEST(PipelineFailure, AutomaticSelectionStillFollowsTheDraw) {
    LotteryClass l;
    l.ProcessDraw("1", "00000");
    l.setPositionIndex(9);
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.CNT[0] = "0"; });
    ASSERT_TRUE(l.LetMyFormSet("CHK", true, 10).ok());
    ASSERT_TRUE(l.ResultSelStr(10).ok());
    startPlan(l);
    const std::string dad = l.formSet().DAD.text(), fji = l.formSet().FJI.text();
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.KL0 = "1000"; });
    auto o = l.ProcessDraw("2", "12345");
    EXPECT_FALSE(o.error.empty());
    EXPECT_EQ(l.formSet().SEL[0], "345");
    EXPECT_EQ(l.formSet().DAD.text(), dad);
    EXPECT_EQ(l.formSet().FJI.text(), fji);
}

TEST(PlanIdentity, EachPlanHasItsNumberAndAnEndedPlanItsDraws) {
    LotteryClass l;
    l.ProcessDraw("1001", haomaOf(1));
    l.StopPlan(); // no plan runs: nothing ends
    EXPECT_EQ(l.state().LastPlan.number, 0u);
    startPlan(l);
    l.ProcessDraw("1002", haomaOf(2));
    l.ProcessDraw("1003", haomaOf(3));
    l.StopPlan();
    startPlan(l); // at once, on the same newest draw
    l.ProcessDraw("1004", haomaOf(4));
    EXPECT_EQ(l.state().PlanNumber, 2u);
    EXPECT_EQ(l.state().LastPlan.number, 1u);
    EXPECT_EQ(l.state().LastPlan.startQi, "1001");
    EXPECT_EQ(l.state().LastPlan.endQi, "1003");
    l.StopPlan();
    EXPECT_EQ(l.state().LastPlan.number, 2u);
    EXPECT_EQ(l.state().LastPlan.startQi, "1003");
    EXPECT_EQ(l.state().LastPlan.endQi, "1004");
}

} // namespace
} // namespace zuohao
