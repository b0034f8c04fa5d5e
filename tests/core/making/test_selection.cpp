// Selection strings: the SEL entries built from the ticked selection boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/support_conditions.h"
#include "core/acquire/LotteryClass.h"

namespace zuohao {
namespace {

class Selection : public ::testing::Test {
protected:
    void feed(const std::vector<std::string>& draws) {
        for (const auto& d : draws) {
            auto o = l.ProcessDraw(std::to_string(++m_period), d);
            ASSERT_TRUE(o.added) << d;
            ASSERT_EQ(o.error, "");
        }
    }
    void tick(int box, bool on = true) {
        ASSERT_TRUE(l.LetMyFormSet("CHK", on, box).ok());
        auto r = l.ResultSelStr(box);
        ASSERT_TRUE(r.ok()) << r.error();
    }
    std::string sel(int g) const { return l.formSet().SEL[std::size_t(g)]; }
    std::shared_ptr<LotteryItem> loose(const std::string& haoma) {
        auto item = std::make_shared<LotteryItem>();
        item->Qishu = "loose";
        item->Haoma = haoma;
        item->ResetHaomaInfo();
        return item;
    }

    LotteryClass l;
    int m_period = 0;
};

TEST_F(Selection, DigitBoxesOfGroup1InEitherOrder) {
    feed({"12345"});
    tick(21);
    tick(16);
    EXPECT_EQ(sel(1), "27");
    LotteryClass other;
    other.ProcessDraw("1", "12345");
    ASSERT_TRUE(other.LetMyFormSet("CHK", true, 16).ok());
    ASSERT_TRUE(other.ResultSelStr(16).ok());
    ASSERT_TRUE(other.LetMyFormSet("CHK", true, 21).ok());
    ASSERT_TRUE(other.ResultSelStr(21).ok());
    EXPECT_EQ(other.formSet().SEL[1], "27");
}

TEST_F(Selection, ClearingTheLastBoxEmptiesTheGroup) {
    feed({"12345"});
    tick(30); // group 2, digit 2
    EXPECT_EQ(sel(2), "2");
    tick(30, false);
    EXPECT_EQ(sel(2), "");
}

TEST_F(Selection, OneGroupIsRebuiltTheOthersStay) {
    feed({"12345"});
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.SEL[3] = "9"; });
    tick(56 + 7); // group 4, digit 7
    tick(56);     // digit 0
    EXPECT_EQ(sel(4), "07");
    EXPECT_EQ(sel(3), "9");
}

TEST_F(Selection, TypedDigitsAreReplacedByTheTickedBoxes) {
    feed({"12345"});
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) { given.SEL[1] = "999"; });
    tick(16);
    EXPECT_EQ(sel(1), "2");
}

TEST_F(Selection, HotDigitBoxFollowsTheHotOrder) {
    feed(std::vector<std::string>(12, "44712")); // group 0 reads 447 twelve times
    ASSERT_EQ(l.state().PreItem01->group(0).HotOrder().substr(0, 2), "47");
    ASSERT_TRUE(l.state().PreItem01->GetGridArray(0)[3].isMark()); // 4 is in 447: a marked cell
    tick(0);
    EXPECT_EQ(sel(0), "4");
    // SEL(0) is set, so each new draw rebuilds it; three draws of 777 put 7 first.
    feed({"77712", "77712"});
    EXPECT_EQ(sel(0), "4");
    feed({"77712"});
    EXPECT_EQ(sel(0), "7");
    ASSERT_TRUE(l.ResultAutoSelStr(l.state().PreItem01.get(), true, 0).ok());
    EXPECT_EQ(sel(0), "7");
}

TEST_F(Selection, HotDigitBoxBeforeAHotOrderExistsContributesNothing) {
    feed({"12345", "67890"});
    tick(0);
    tick(5);
    EXPECT_EQ(sel(0), "");
}

TEST_F(Selection, DrawBoxOfGroup0TakesTheDistinctDigitsOfStr) {
    feed({"35312"});
    tick(10);
    EXPECT_EQ(sel(0), "35");
}

TEST_F(Selection, DrawBoxesOfGroups1To3ReadTheirKeys) {
    feed({"12345"});
    l.setPositionIndex(4); // 万百个: 135
    tick(24);              // group 1: R3H
    tick(38);              // group 2: REH
    tick(52);              // group 3: REC
    EXPECT_EQ(sel(1), "9");
    EXPECT_EQ(sel(2), "468");
    EXPECT_EQ(sel(3), "24");
}

TEST_F(Selection, DrawBoxInFourDigitGroup) {
    feed({"12345"});
    l.setPositionIndex(11);
    tick(10);
    EXPECT_EQ(sel(0), "2345");
}

TEST_F(Selection, DrawBoxesReadTheFourNewestDraws) {
    feed({"11100", "22200", "33300", "44400", "55500"});
    for (int box = 10; box <= 13; ++box)
        ASSERT_TRUE(l.LetMyFormSet("CHK", true, box).ok());
    ASSERT_TRUE(l.ResultSelStr(10).ok());
    EXPECT_EQ(sel(0), "2345");
}

TEST_F(Selection, JianLinesUpTheDrawBoxes) {
    feed({"11100", "22200", "33300", "44400", "55500"});
    ASSERT_TRUE(l.LetMyFormSet("CHK", true, 11).ok());
    // jian 0: the item is the newest held draw; box 11 is the one before it.
    ASSERT_TRUE(l.ResultAutoSelStr(l.state().PreItem01.get(), true, 0).ok());
    EXPECT_EQ(sel(0), "4");
    // jian 1: the item is newer than every held draw; box 11 is the newest held one.
    auto next = loose("66600");
    ASSERT_TRUE(l.ResultAutoSelStr(next.get(), true, 1).ok());
    EXPECT_EQ(sel(0), "5");
    for (int box : {10, 12, 13})
        ASSERT_TRUE(l.LetMyFormSet("CHK", true, box).ok());
    ASSERT_TRUE(l.ResultAutoSelStr(next.get(), true, 1).ok());
    EXPECT_EQ(sel(0), "3456");
    ASSERT_TRUE(l.ResultAutoSelStr(l.state().PreItem01.get(), true, 0).ok());
    EXPECT_EQ(sel(0), "2345");
}

TEST_F(Selection, DrawBoxOfADrawNotYetHeldContributesNothing) {
    feed({"11100", "22200"});
    for (int box = 10; box <= 13; ++box)
        ASSERT_TRUE(l.LetMyFormSet("CHK", true, box).ok());
    ASSERT_TRUE(l.ResultSelStr(13).ok());
    EXPECT_EQ(sel(0), "12");
    auto next = loose("33300");
    ASSERT_TRUE(l.ResultAutoSelStr(next.get(), true, 1).ok());
    EXPECT_EQ(sel(0), "123");
}

TEST_F(Selection, PipelineRebuildReadsTheNewDrawAndTheOnesBeforeIt) {
    feed({"11100", "22200"});
    tick(10);
    tick(11);
    EXPECT_EQ(sel(0), "12"); // boxes 10 and 11: the newest held draw and the one before
    feed({"33300"});
    EXPECT_EQ(sel(0), "23"); // the new draw and the draw that was newest before it
    feed({"44400"});
    EXPECT_EQ(sel(0), "34");
}

TEST_F(Selection, AutoRebuildWritesEveryGroup) {
    feed({"12345"});
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        given.SEL = {"1", "2", "3", "4", "5"};
    });
    ASSERT_TRUE(l.LetMyFormSet("CHK", true, 16).ok()); // group 1 digit 2
    ASSERT_TRUE(l.ResultAutoSelStr(l.state().PreItem01.get(), true, 0).ok());
    EXPECT_EQ(l.formSet().SEL, (std::array<std::string, 5>{"", "2", "", "", ""}));
}

TEST_F(Selection, AutoRebuildSwitchedOffChangesNothing) {
    feed({"12345"});
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        given.SEL = {"1", "2", "3", "4", "5"};
    });
    for (int box : {0, 16, 30, 50, 60})
        ASSERT_TRUE(l.LetMyFormSet("CHK", true, box).ok());
    EXPECT_TRUE(l.ResultAutoSelStr(l.state().PreItem01.get(), false, 0).ok());
    EXPECT_EQ(l.formSet().SEL, (std::array<std::string, 5>{"1", "2", "3", "4", "5"}));
}

TEST_F(Selection, WithoutANewestDrawTheRebuildFailsAndKeepsSel) {
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        given.SEL = {"9", "8", "", "", ""};
    });
    ASSERT_TRUE(l.LetMyFormSet("CHK", true, 0).ok());
    EXPECT_FALSE(l.ResultSelStr(0).ok());
    EXPECT_FALSE(l.ResultAutoSelStr(nullptr, true, 1).ok());
    EXPECT_EQ(l.formSet().SEL, (std::array<std::string, 5>{"9", "8", "", "", ""}));
}

TEST_F(Selection, BoxIndexOutsideTheBoxesFails) {
    feed({"12345"});
    EXPECT_FALSE(l.ResultSelStr(66).ok());
    EXPECT_FALSE(l.ResultSelStr(-1).ok());
}

TEST_F(Selection, PipelineRebuildsOnlyWhenASelectionIsSet) {
    feed({"12345"});
    ASSERT_TRUE(l.LetMyFormSet("CHK", true, 16).ok()); // ticked, but SEL still empty
    feed({"67890"});
    EXPECT_EQ(sel(1), "");
    zuohao::testing::EditConditions(l, [&](ConditionSet& given) {
        given.SEL[4] = "3"; // any selection set: the next draw rebuilds all groups
    });
    feed({"13579"});
    EXPECT_EQ(l.formSet().SEL, (std::array<std::string, 5>{"", "2", "", "", ""}));
}

} // namespace
} // namespace zuohao
