// Chance figures against closed forms and against an exhaustive count of every hit/miss
// pattern of ten periods; plan record figures of known sequences.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <vector>

#include "core/analysis/Chance.h"
#include "core/analysis/PlanFigures.h"
#include "core/analysis/PlanRecord.h"

namespace zuohao {
namespace {

constexpr double kTol = 1e-12;

std::vector<bool> pattern(unsigned bits, int n) {
    std::vector<bool> v;
    for (int i = 0; i < n; ++i)
        v.push_back((bits >> i) & 1u);
    return v;
}

TEST(Chance, AgreesWithEveryPatternOfTenPeriods) {
    const double p = 0.1;
    const int n = 10;
    std::vector<double> atLeast(n + 2, 0.0), runsOf(n + 1, 0.0);
    double longest = 0;
    for (unsigned bits = 0; bits < (1u << n); ++bits) {
        const std::vector<bool> hits = pattern(bits, n);
        const PlanRecordStats s = PlanStatsOf(hits);
        const double prob = std::pow(p, s.hits) * std::pow(1 - p, n - s.hits);
        longest += prob * s.longestMissRun;
        for (int k = 1; k <= s.longestMissRun; ++k)
            atLeast[std::size_t(k)] += prob;
        for (std::size_t l = 1; l < s.missRuns.size(); ++l)
            runsOf[l] += prob * s.missRuns[l];
    }
    EXPECT_NEAR(ExpectedLongestMissRun(p, n), longest, kTol);
    for (int k = 1; k <= n + 1; ++k)
        EXPECT_NEAR(MissRunAtLeast(p, k, n), atLeast[std::size_t(k)], kTol) << "k=" << k;
    for (int l = 1; l <= n; ++l)
        EXPECT_NEAR(ExpectedMissRunsOfLength(p, l, n), runsOf[std::size_t(l)], kTol) << "L=" << l;
}

TEST(Chance, ClosedForms) {
    const double p = 0.3, q = 0.7;
    EXPECT_NEAR(MissRunAtLeast(p, 1, 50), 1 - std::pow(p, 50), kTol); // not every period hits
    EXPECT_NEAR(MissRunAtLeast(p, 50, 50), std::pow(q, 50), kTol);    // every period misses
    EXPECT_NEAR(MissRunAtLeast(p, 2, 3), q * q * (1 + p), kTol);      // MMx or HMM
    EXPECT_EQ(MissRunAtLeast(0.0, 5, 4), 0.0);
    EXPECT_EQ(MissRunAtLeast(0.0, 4, 4), 1.0);
    EXPECT_EQ(MissRunAtLeast(1.0, 1, 100), 0.0);
    EXPECT_NEAR(ExpectedLongestMissRun(0.0, 1440), 1440.0, 1e-9);
    EXPECT_NEAR(ExpectedLongestMissRun(1.0, 1440), 0.0, kTol);
    EXPECT_DOUBLE_EQ(HitProbability(270, 1000), 0.27);
    EXPECT_DOUBLE_EQ(ExpectedPeriodsToHit(0.25), 4.0);
    // Betting m numbers until a hit costs m / (m / S) = S 注 on average, whatever m is.
    EXPECT_DOUBLE_EQ(ExpectedCostToHit(270, 1000), 1000.0);
    EXPECT_DOUBLE_EQ(ExpectedCostToHit(5040, 10000), 10000.0);
    EXPECT_EQ(ExpectedCostToHit(0, 1000), 0.0);
}

// The recursion period by period, to the end of the horizon: what the settled shortcut must
// agree with.
double fullRecursion(double p, int k, int n) {
    const double q = 1 - p, qk = std::pow(q, k);
    std::vector<double> a(std::size_t(n) + 1, 1.0);
    a[std::size_t(k)] = 1 - qk;
    for (int i = k + 1; i <= n; ++i)
        a[std::size_t(i)] = a[std::size_t(i - 1)] - p * qk * a[std::size_t(i - k - 1)];
    return 1 - a[std::size_t(n)];
}

TEST(Chance, LongHorizonsAgreeWithTheFullRecursion) {
    for (const double p : {0.001, 0.007, 0.1, 0.486, 0.9})
        for (const int k : {1, 3, 20, 150, 700, 1500, 4000})
            for (const int n : {k + 1, 3 * k + 5, 20000, 150000}) {
                const double full = fullRecursion(p, k, n);
                // The full recursion itself keeps about 1e-12 near 1; tiny chances relative.
                EXPECT_NEAR(MissRunAtLeast(p, k, n), full, 1e-11 + 1e-6 * full)
                    << "p=" << p << " k=" << k << " n=" << n;
            }
}

TEST(Chance, ASetCancelFlagStopsTheLongFigures) {
    std::atomic<bool> cancel{true};
    PlanTally tally;
    for (int i = 0; i < 2000; ++i)
        tally.add(std::to_string(i), 50, i % 20 == 0);
    const RunControl control{&cancel, {}};
    EXPECT_EQ(ExpectedLongestMissRun(0.007, 150000, control).code(), ErrorCode::Cancelled);
    EXPECT_EQ(FiguresOf(tally, 1000, control).code(), ErrorCode::Cancelled);
    cancel = false;
    const auto figures = FiguresOf(tally, 1000, control);
    ASSERT_TRUE(figures);
    EXPECT_DOUBLE_EQ(figures->expectedLongest, ExpectedLongestMissRun(0.05, 2000));
}

TEST(Chance, LongRunsGrowRarerAndHorizonsLonger) {
    const auto rows = RiskTable(500, 1000, 20, {100, 500, 1440});
    ASSERT_EQ(rows.size(), 20u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].k, int(i) + 1);
        EXPECT_EQ(rows[i].cost, 500LL * (int(i) + 1));
        EXPECT_LE(rows[i].chanceWithin[0], rows[i].chanceWithin[1]);
        EXPECT_LE(rows[i].chanceWithin[1], rows[i].chanceWithin[2]);
        if (i > 0) {
            EXPECT_LE(rows[i].chanceWithin[2], rows[i - 1].chanceWithin[2]);
            EXPECT_LT(rows[i].chanceWithin[0], rows[i - 1].chanceWithin[0]);
        }
    }
    EXPECT_NEAR(rows[0].chanceWithin[0], 1 - std::pow(0.5, 100), kTol);
}

TEST(PlanRecord, FiguresOfAKnownSequence) {
    // 中 挂 挂 中 挂 挂 挂 中 挂
    const PlanRecordStats s =
        PlanStatsOf({true, false, false, true, false, false, false, true, false});
    EXPECT_EQ(s.periods, 9);
    EXPECT_EQ(s.hits, 3);
    EXPECT_DOUBLE_EQ(s.hitRate(), 3.0 / 9);
    EXPECT_EQ(s.currentMissRun, 1);
    EXPECT_EQ(s.longestMissRun, 3);
    EXPECT_EQ(s.missRuns, (std::vector<int>{0, 1, 1, 1}));
    EXPECT_EQ(PlanStatsOf({}).hitRate(), 0.0);
}

TEST(PlanRecord, RollingRate) {
    const auto r = RollingHitRate({true, false, true, true, false}, 2);
    EXPECT_EQ(r, (std::vector<double>{1.0, 0.5, 0.5, 1.0, 0.5}));
}

} // namespace
} // namespace zuohao
