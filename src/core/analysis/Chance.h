#pragma once
// What chance alone gives a plan: draws are independent and uniform, so a base set of m
// numbers in a space of S hits each period with p = m / S. Every figure is exact (closed
// form or recursion), never simulated.
#include <cstdint>
#include <vector>

#include "core/analysis/RunControl.h"
#include "core/model/Result.h"

namespace zuohao {

// Hit probability of one period: m / S (0 for an empty space).
double HitProbability(long long baseSize, long long spaceSize);

// P(a run of at least k misses somewhere in n periods), hit probability p per period.
double MissRunAtLeast(double p, int k, int n);

// Expected length of the longest miss run in n periods.
double ExpectedLongestMissRun(double p, int n);
// The same, looking at `control` before each term (a term costs well under a millisecond);
// a set cancel flag ends it with ErrorCode::Cancelled.
Result<double> ExpectedLongestMissRun(double p, int n, const RunControl& control);

// Expected number of maximal miss runs of exactly `length` periods in n periods (a run is
// bounded by hits or by the ends of the n periods).
double ExpectedMissRunsOfLength(double p, int length, int n);

// Expected number of periods up to and including the first hit (1 / p; 0 when p = 0 stands
// for "never").
double ExpectedPeriodsToHit(double p);

// Expected cost, in 注, of betting the whole base set each period until it hits: m / p.
// Returns 0 when p = 0 (never hits: no finite cost).
double ExpectedCostToHit(long long baseSize, long long spaceSize);

// One row of the risk table: k misses in a row.
struct RiskRow {
    int k = 0;
    std::vector<double> chanceWithin; // P(run >= k) within each of the horizons asked
    long long cost = 0;               // 注 spent on a run of k misses: k * m
};

// How many standard deviations of chance `count` successes in `trials` lie from the
// trials * p that chance expects (normal approximation of the binomial, with continuity
// correction; 0 when the difference is within half a count). Infinite when chance allows no
// variation (p = 0 or 1) and the count differs.
double ChanceZ(long long count, long long trials, double p);

// Two-sided 99 %: a deviation beyond this many standard deviations is not chance variation.
inline constexpr double kSignificanceZ = 2.58;

// The count differs from chance by more than chance variation explains.
bool BeyondChance(long long count, long long trials, double p);

// Rows k = 1..maxK for the given horizons (periods).
std::vector<RiskRow> RiskTable(long long baseSize, long long spaceSize, int maxK,
                               const std::vector<int>& horizons);

} // namespace zuohao
