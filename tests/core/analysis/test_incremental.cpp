// Figures that grow draw by draw equal the same figures computed at once over the whole
// range; long analyses stop at a set cancel flag and report their progress.
#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "core/analysis/AnalysisBasis.h"
#include "core/analysis/Backtest.h"
#include "core/analysis/Chance.h"
#include "core/analysis/KillRate.h"
#include "core/analysis/MonitorBacktest.h"
#include "support_random_sets.h"

namespace zuohao {
namespace {

TEST(Incremental, ExtendedBacktestEqualsTheWholeRun) {
    std::mt19937 rng(19);
    for (int round = 0; round < 30; ++round) {
        auto draws = testing::RandomDraws(90 + int(rng() % 60), 700 + unsigned(round));
        if (round % 3 == 0) draws[draws.size() - 5].haoma = "12a45"; // skipped by both
        const std::size_t prefix = 40 + rng() % 30, last = 5 + rng() % 30;
        const ConditionSet set = testing::RandomSet(rng);
        const bool pipeline = round % 2 == 0;
        SCOPED_TRACE("round " + std::to_string(round));
        auto run = Backtester::Create({draws.begin(), draws.begin() + std::ptrdiff_t(prefix)}, set,
                                      {pipeline, last});
        ASSERT_TRUE(run.ok());
        ASSERT_TRUE(RunToEnd(*run.value(), {}).ok());
        std::vector<BacktestLine> lines = run.value()->takeLines();
        run.value()->releaseDraws();
        for (std::size_t i = prefix; i < draws.size(); ++i)
            run.value()->extend(draws[i]);
        for (const BacktestLine& l : run.value()->takeLines())
            lines.push_back(l);
        const auto whole = RunBacktest(draws, set, {pipeline, lines.size()});
        ASSERT_TRUE(whole.ok());
        ASSERT_EQ(lines.size(), whole->lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].draw, whole->lines[i].draw) << i;
            EXPECT_EQ(lines[i].size, whole->lines[i].size) << i;
            EXPECT_EQ(lines[i].hit, whole->lines[i].hit) << i;
        }
        EXPECT_EQ(run.value()->result().skipped, whole->skipped);
    }
}

TEST(Incremental, TallyEqualsTheRecordCountedAtOnce) {
    std::mt19937 rng(5);
    for (int round = 0; round < 40; ++round) {
        const double p = 0.05 + 0.9 * double(rng() % 100) / 100.0;
        std::bernoulli_distribution hit(p);
        std::vector<bool> hits;
        PlanTally tally;
        double sizes = 0;
        const int n = int(rng() % 3000);
        for (int i = 0; i < n; ++i) {
            hits.push_back(hit(rng));
            // Two days of 1440 periods, then labels without a date.
            const std::string period =
                i < 2880 ? std::to_string(202612080001LL + (i / 1440) * 10000 + i % 1440)
                         : "x" + std::to_string(i);
            tally.add(period, 100 + i % 7, hits.back());
            sizes += 100 + i % 7;
        }
        EXPECT_EQ(tally.stats(), PlanStatsOf(hits)) << "round " << round;
        EXPECT_DOUBLE_EQ(tally.meanSize(), n ? sizes / n : 0.0);
        const std::size_t keep = std::min(hits.size(), PlanTally::kRecent);
        EXPECT_EQ(tally.recentHits(),
                  std::vector<bool>(hits.end() - std::ptrdiff_t(keep), hits.end()));
        int periods = 0;
        for (const DayTally& d : tally.days())
            periods += d.periods;
        EXPECT_EQ(periods, n);
        if (n > 1440) {
            EXPECT_EQ(tally.days()[1].day, "2026-12-09");
        }
    }
}

TEST(Incremental, KillTallyWithACorrectionEqualsKillRates) {
    std::mt19937 rng(8);
    for (int round = 0; round < 20; ++round) {
        const auto draws = testing::RandomDraws(200, 40 + unsigned(round));
        const ConditionSet set = testing::RandomSet(rng);
        auto tally = KillTally::Create(set);
        ASSERT_TRUE(tally.ok());
        // One draw is first counted with another draw's number and corrected later: the
        // counts end as if it had come right.
        const std::size_t wrongAt = 60 + std::size_t(round) * 7;
        for (std::size_t i = 50; i < draws.size(); ++i) {
            DrawLine d = draws[i];
            if (i == wrongAt) d.haoma = draws[i - 1 - std::size_t(round) % 3].haoma;
            tally.value().add(d);
        }
        tally.value().correct(draws[wrongAt - 1 - std::size_t(round) % 3].haoma,
                              draws[wrongAt].haoma);
        auto rows = KillRates(draws, set, 150);
        ASSERT_TRUE(rows.ok());
        ASSERT_EQ(rows->size(), tally->rows().size());
        for (std::size_t r = 0; r < rows->size(); ++r) {
            EXPECT_EQ((*rows)[r].killed, tally->rows()[r].killed) << (*rows)[r].name;
            EXPECT_EQ((*rows)[r].draws, 150);
        }
    }
}

TEST(Incremental, MissRunClassesHoldEveryRun) {
    // Runs of 13, 272 and 1219 among short ones.
    std::vector<bool> hits;
    for (int run : {1, 2, 13, 1, 272, 3, 1219, 30, 31, 50, 51, 100, 101})
        for (int i = 0; i <= run; ++i)
            hits.push_back(i == run);
    const PlanRecordStats s = PlanStatsOf(hits);
    const auto classes = MissRunClasses(s, 0.5, 0.05);
    int counted = 0;
    for (const RunClass& c : classes)
        counted += c.counted;
    EXPECT_EQ(counted, 13);
    ASSERT_EQ(classes.size(), std::size_t(kSingleLengths + 3));
    EXPECT_EQ(classes[12].counted, 1); // length 13
    EXPECT_EQ(classes[30].from, 31);
    EXPECT_EQ(classes[30].to, 50);
    EXPECT_EQ(classes[30].counted, 2);
    EXPECT_EQ(classes[31].counted, 2); // 51 and 100
    EXPECT_EQ(classes[32].from, 101);
    EXPECT_EQ(classes[32].to, 0);
    EXPECT_EQ(classes[32].counted, 3); // 101, 272, 1219
    EXPECT_NEAR(classes[0].expected, ExpectedMissRunsOfLength(0.5, 1, s.periods), 1e-12);
    // Without long runs the classes end where chance stops expecting any.
    EXPECT_EQ(MissRunClasses(PlanStatsOf({true, false, true}), 0.9, 0.05).size(), 1u);
}

TEST(Incremental, SetCancelFlagStopsEveryLongAnalysis) {
    const auto draws = testing::RandomDraws(5000, 3);
    std::atomic<bool> cancel{true};
    const RunControl stopped{&cancel, {}};
    ConditionSet set;
    set.KLU[3] = 1;
    EXPECT_EQ(RunBacktest(draws, set, {true, 4000}, stopped).code(), ErrorCode::Cancelled);
    EXPECT_EQ(KillRates(draws, set, 0, stopped).code(), ErrorCode::Cancelled);
    MonitorRule rule;
    rule.base = NumberList::read("123", false).list;
    EXPECT_EQ(ReplayMonitorRule(draws, rule, stopped).code(), ErrorCode::Cancelled);
    // Sorting out the usable draws, before any is scored, looks at the flag too.
    EXPECT_EQ(UsableDraws(draws, stopped).code(), ErrorCode::Cancelled);
    EXPECT_EQ(Backtester::Create(draws, set, {true, 4000}, stopped).code(), ErrorCode::Cancelled);
    cancel = false;
    std::vector<double> shares;
    const RunControl watched{&cancel, [&shares](double s) { shares.push_back(s); }};
    ASSERT_TRUE(RunBacktest(draws, set, {false, 4000}, watched).ok());
    ASSERT_GE(shares.size(), 3u);
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_EQ(shares.front(), 0.0);
    EXPECT_EQ(shares.back(), 1.0);
}

TEST(Incremental, KillRateIsMarkedOnlyBeyondChanceVariation) {
    struct Case {
        int killed, draws;
        double chance;
        bool worse, better;
    } cases[] = {
        {900, 1000, 0.9, false, false}, // exactly chance
        {903, 1000, 0.9, false, false}, // 90.3 % shows as above 90.0 %, within variation
        {930, 1000, 0.9, true, false},  // 3.2 standard deviations above
        {860, 1000, 0.9, false, true},  // 4.2 below
        {1, 2, 0.1, false, false},      // too few draws to tell
        {0, 0, 0.5, false, false},
    };
    for (const Case& c : cases) {
        ConditionKill k;
        k.killed = c.killed;
        k.draws = c.draws;
        k.spaceSize = 1000;
        k.spaceKilled = int(c.chance * 1000);
        EXPECT_EQ(k.worseThanChance(), c.worse) << c.killed << "/" << c.draws;
        EXPECT_EQ(k.betterThanChance(), c.better) << c.killed << "/" << c.draws;
    }
}

TEST(Incremental, BasisMatchesOnlyTheConditionsItWasComputedFrom) {
    ConditionSet set;
    set.IDX = 4;
    set.SEL[0] = "123";
    set.CHK[3] = true;
    set.DAD = NumberList::read("123 456", false).list;
    AnalysisBasis fixed{AnalysedConditions(set), false, {}, {}, 0, {}};
    AnalysisBasis derived{AnalysedConditions(set), true, {}, {}, 0, {}};
    ConditionSet later = set;
    later.DAD = NumberList::read("789", false).list; // a new base set of the same conditions
    EXPECT_TRUE(BasisMatches(fixed, later) && BasisMatches(derived, later));
    later.SEL[0] = "129"; // 自动做号 derived new digits
    EXPECT_FALSE(BasisMatches(fixed, later));
    EXPECT_TRUE(BasisMatches(derived, later));
    later.CHK[3] = false;
    EXPECT_TRUE(BasisMatches(fixed, ConditionSet(set)));
    EXPECT_FALSE(BasisMatches(derived, later));
    later = set;
    later.KLU[3] = 1;
    EXPECT_FALSE(BasisMatches(fixed, later) || BasisMatches(derived, later));
}

} // namespace
} // namespace zuohao
