// The backtest against the plan pipeline itself: the same draws, the same conditions, the
// same 中/挂 and the same count (注) line by line; and against the reduction's lists.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/Backtest.h"
#include "core/making/Reduction.h"
#include "core/plan/Plan.h"
#include "support_random_sets.h"

namespace zuohao {
namespace {

struct Line {
    int size;
    bool hit;
    bool operator==(const Line&) const = default;
};

// The pipeline as the plan runs it: history, then the conditions and the ticked boxes, the
// start button, then one draw after the other.
std::vector<Line> pipelineLines(const std::vector<DrawLine>& draws, std::size_t start,
                                const ConditionSet& given, bool tickBoxes) {
    LotteryClass lottery;
    for (std::size_t i = 0; i < start; ++i)
        (void)lottery.ProcessDraw(draws[i].qishu, draws[i].haoma);
    ConditionSet set = given;
    set.CHK = {};
    lottery.restoreConditions(set);
    if (tickBoxes)
        for (int c = 0; c < kCheckCount; ++c)
            if (given.CHK[std::size_t(c)]) {
                EXPECT_TRUE(lottery.LetMyFormSet("CHK", true, c).ok());
                EXPECT_TRUE(lottery.ResultSelStr(c).ok());
            }
    EXPECT_TRUE(lottery.StartPlan().ok());
    std::vector<Line> lines;
    for (std::size_t i = start; i < draws.size(); ++i) {
        const ItemPtr previous = lottery.state().PreItem01;
        (void)lottery.ProcessDraw(draws[i].qishu, draws[i].haoma);
        const std::string& txt = previous->PlanTxt();
        const std::size_t gap = txt.find("  ");
        lines.push_back({std::stoi(txt.substr(gap + 2)), txt.ends_with("中")});
    }
    return lines;
}

std::vector<Line> backtestLines(const std::vector<DrawLine>& draws, std::size_t last,
                                const ConditionSet& set, bool pipeline) {
    auto r = RunBacktest(draws, set, {pipeline, last});
    EXPECT_TRUE(r.ok()) << (r.ok() ? "" : r.error());
    std::vector<Line> out;
    if (r)
        for (const BacktestLine& l : r->lines)
            out.push_back({l.size, l.hit});
    return out;
}

TEST(Backtest, PipelineModeMatchesThePlanPipelineDrawForDraw) {
    std::mt19937 rng(1208);
    for (int round = 0; round < 40; ++round) {
        const auto draws = testing::RandomDraws(60 + int(rng() % 60), 500 + unsigned(round));
        const std::size_t last = 10 + rng() % 40;
        const ConditionSet set = testing::RandomSet(rng);
        SCOPED_TRACE("round " + std::to_string(round) + " idx " + std::to_string(set.IDX));
        const auto expected = pipelineLines(draws, draws.size() - last, set, true);
        EXPECT_EQ(backtestLines(draws, last, set, true), expected);
    }
}

TEST(Backtest, FixedModeMatchesAPlanWithoutAutomaticMaking) {
    std::mt19937 rng(77);
    for (int round = 0; round < 30; ++round) {
        const auto draws = testing::RandomDraws(80, 900 + unsigned(round));
        ConditionSet set = testing::RandomSet(rng);
        set.PLA = false;
        SCOPED_TRACE("round " + std::to_string(round));
        const auto expected = pipelineLines(draws, 30, set, false);
        EXPECT_EQ(backtestLines(draws, 50, set, false), expected);
    }
}

TEST(Backtest, SizeAndMembershipAgreeWithTheReductionLists) {
    std::mt19937 rng(4242);
    for (int round = 0; round < 60; ++round) {
        ConditionSet set = testing::RandomSet(rng);
        auto masks = ConditionMasks::Compile(set);
        auto lists = Reduce(set);
        ASSERT_TRUE(masks.ok() && lists.ok());
        const std::string baseText = lists->base.text();
        const auto base = SplitNumberList(baseText);
        EXPECT_EQ(masks->baseSize(), int(base.size())) << "round " << round;
        std::vector<bool> inBase(std::size_t(masks->spaceSize()), false);
        for (auto piece : base)
            inBase[std::size_t(std::stoi(std::string(piece)))] = true;
        for (int n = 0; n < masks->spaceSize(); ++n)
            ASSERT_EQ(masks->inBase(n), inBase[std::size_t(n)]) << "round " << round << " n " << n;
    }
}

TEST(Backtest, SkipsWhatThePipelineSkipsAndFailsAsTheReductionFails) {
    std::vector<DrawLine> draws = {
        {"1", "12345"}, {"2", "1234"}, {"3", "55555"}, {"3", "66666"}, {"4", "00000"}};
    ConditionSet set;
    auto r = RunBacktest(draws, set, {});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r->skipped, 2u);
    ASSERT_EQ(r->lines.size(), 2u); // draws 3 and 4, against the whole space
    EXPECT_EQ(r->lines[0].draw, 2u);
    EXPECT_EQ(r->lines[1].draw, 4u);
    EXPECT_TRUE(r->lines[0].hit && r->lines[1].hit);
    EXPECT_DOUBLE_EQ(r->chanceRate(), 1.0);
    set.KL0 = "1000";
    EXPECT_FALSE(RunBacktest(draws, set, {}).ok());
    EXPECT_TRUE(RunBacktest({}, ConditionSet{}, {true, 5})->lines.empty());
}

TEST(Backtest, StepsGiveTheSameResultAsOneRun) {
    std::mt19937 rng(3);
    const auto draws = testing::RandomDraws(500, 17);
    ConditionSet set = testing::RandomSet(rng);
    auto whole = RunBacktest(draws, set, {true, 300});
    auto stepped = Backtester::Create(draws, set, {true, 300});
    ASSERT_TRUE(whole.ok() && stepped.ok());
    Backtester& b = *stepped.value();
    double before = -1;
    while (!b.step(37)) {
        EXPECT_GT(b.progress(), before);
        before = b.progress();
    }
    EXPECT_EQ(b.progress(), 1.0);
    ASSERT_EQ(b.result().lines.size(), whole->lines.size());
    for (std::size_t i = 0; i < whole->lines.size(); ++i)
        EXPECT_EQ(b.result().lines[i].hit, whole->lines[i].hit);
}

} // namespace
} // namespace zuohao
