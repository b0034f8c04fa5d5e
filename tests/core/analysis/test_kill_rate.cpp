// Kill-error rates against a brute-force count over the reduction's lists; the monitor
// rule's replay against the monitor's own replay.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/Backtest.h"
#include "core/analysis/KillRate.h"
#include "core/analysis/MonitorBacktest.h"
#include "core/making/Reduction.h"
#include "core/model/Groups.h"
#include "core/model/MonitorState.h"
#include "core/model/NumberTables.h"
#include "core/monitor/Monitor.h"
#include "support_random_sets.h"

namespace zuohao {
namespace {

TEST(KillRate, AgreesWithTheReductionListsOfEachCondition) {
    std::mt19937 rng(99);
    const auto draws = testing::RandomDraws(400, 5);
    for (int round = 0; round < 25; ++round) {
        const ConditionSet set = testing::RandomSet(rng);
        auto rows = KillRates(draws, set, 300);
        ASSERT_TRUE(rows.ok());
        const auto singles = SingleConditions(set);
        ASSERT_EQ(rows->size(), singles.size());
        EXPECT_EQ(rows->back().name, "全部条件");
        for (std::size_t r = 0; r < singles.size(); ++r) {
            auto lists = Reduce(singles[r].second);
            ASSERT_TRUE(lists.ok());
            std::set<std::string> kept;
            const std::string baseText = lists->base.text();
            for (auto piece : SplitNumberList(baseText))
                kept.insert(std::string(piece));
            int killed = 0;
            LotteryClass probe;
            probe.setPositionIndex(set.IDX);
            for (std::size_t i = draws.size() - 300; i < draws.size(); ++i)
                killed += kept.count(probe.weizhiHAO(draws[i].haoma)) ? 0 : 1;
            const ConditionKill& row = (*rows)[r];
            EXPECT_EQ(row.name, singles[r].first);
            EXPECT_EQ(row.draws, 300);
            EXPECT_EQ(row.killed, killed) << row.name;
            EXPECT_EQ(row.spaceKilled, row.spaceSize - int(kept.size())) << row.name;
        }
    }
}

// Judged from the winners counted, or draw by draw as new draws come: the same rows; winners
// counted at another group are refused.
TEST(KillRate, WinnersCountedGiveTheRowsOfEachDraw) {
    std::mt19937 rng(17);
    const auto draws = testing::RandomDraws(500, 9);
    for (int round = 0; round < 20; ++round) {
        const ConditionSet set = testing::RandomSet(rng);
        auto counts = CountWinners(draws, set.IDX, 0);
        ASSERT_TRUE(counts.ok());
        auto judged = KillTally::FromCounts(*counts, set);
        auto byDraw = KillTally::Create(set);
        ASSERT_TRUE(judged.ok() && byDraw.ok());
        for (std::size_t i : UsableDraws(draws))
            byDraw.value().add(draws[i]);
        ASSERT_EQ(judged->rows().size(), byDraw->rows().size());
        for (std::size_t r = 0; r < judged->rows().size(); ++r) {
            EXPECT_EQ(judged->rows()[r].killed, byDraw->rows()[r].killed);
            EXPECT_EQ(judged->rows()[r].draws, byDraw->rows()[r].draws);
        }
        EXPECT_EQ(judged->firstPeriod(), byDraw->firstPeriod());
        EXPECT_EQ(judged->lastPeriod(), byDraw->lastPeriod());
        ConditionSet other = set;
        other.IDX = (set.IDX + 10) % kGroupCount;
        EXPECT_FALSE(KillTally::FromCounts(*counts, other).ok());
    }
}

TEST(KillRate, OneRowPerActiveCondition) {
    ConditionSet set;
    set.SEL[4] = "5";
    set.DAN[0] = "12";
    set.KUA = "0";
    set.KLU = {1, 0, 0, 1};
    set.KL0 = "123";
    auto rows = KillRates(testing::RandomDraws(20, 1), set, 0);
    ASSERT_TRUE(rows.ok());
    std::vector<std::string> names;
    for (const auto& r : *rows)
        names.push_back(r.name);
    EXPECT_EQ(names, (std::vector<std::string>{"选号 和尾", "胆码1", "杀跨度", "杀号", "全0路",
                                               "杀对子", "全部条件"}));
    EXPECT_EQ((*rows)[0].spaceKilled, 900); // sum tail 5 keeps 100 of 1000
    EXPECT_EQ((*rows)[2].spaceKilled, 10);  // span 0: the ten triples
    EXPECT_EQ((*rows)[3].spaceKilled, 1);
    set.KL0 = "5000";
    EXPECT_FALSE(KillRates({}, set, 0).ok());
}

TEST(MonitorBacktest, CountsWhatTheMonitorReplayMarks) {
    const auto draws = testing::RandomDraws(100, 31);
    MonitorRule rule;
    rule.idx = 9;
    auto base = std::make_shared<NumberSet>(false);
    for (int n = 0; n < 500; ++n) // every number below 500: a hit about every other period
        base->add(n);
    rule.base = NumberList(base, false);
    rule.segmentSettings = {0, 9, 3, 0};
    rule.segmentPeriod = 10;
    const MonitorBacktestResult r = ReplayMonitorRule(draws, rule);

    MonitorState state;
    state.Monitoring = true;
    state.SegmentSettings = rule.segmentSettings;
    state.SegmentPeriod = rule.segmentPeriod;
    state.MonitorBase = rule.base;
    BuildNumberTables();
    LotteryState lottery;
    lottery.conditions.IDX = rule.idx;
    for (const DrawLine& d : draws)
        lottery.LotteryDic_Jiankong.Add(d.qishu, d.haoma);
    ReplayMonitor(lottery, state);
    int alarms = 0, hits = 0, misses = 0;
    for (const MonitorRow& row : state.MonitorRows) {
        alarms += row.Jhzg.kind == PlanMark::Alarm;
        misses += row.Jhzg.kind == PlanMark::Miss;
        hits += row.Jhzg.kind == PlanMark::Hit;
    }
    EXPECT_EQ(r.periods, 100);
    EXPECT_GT(alarms, 0);
    EXPECT_EQ(r.alarms, alarms);
    EXPECT_EQ(r.planHits, hits);
    EXPECT_EQ(r.planMisses, misses);
    EXPECT_EQ(r.alarms, r.planHits + r.planMisses + (r.planOpen ? 1 : 0));
    int atTotal = 0;
    for (int n : r.hitAt)
        atTotal += n;
    EXPECT_EQ(atTotal, r.planHits);
}

} // namespace
} // namespace zuohao
