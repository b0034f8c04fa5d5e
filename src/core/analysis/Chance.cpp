#include "core/analysis/Chance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zuohao {

namespace {
// Below this a tail probability no longer changes a double sum of figures near 1.
constexpr double kNegligible = 1e-16;
} // namespace

double HitProbability(long long baseSize, long long spaceSize) {
    if (spaceSize <= 0 || baseSize <= 0) return 0.0;
    return double(std::min(baseSize, spaceSize)) / double(spaceSize);
}

// A(n) = P(no run of k misses in n periods). The first such run ends at n > k exactly
// when there is none in the first n-k-1 periods, then a hit, then k misses:
//   A(n) = A(n-1) - p q^k A(n-k-1),  A(n) = 1 for n < k,  A(k) = 1 - q^k.
double MissRunAtLeast(double p, int k, int n) {
    if (k <= 0) return 1.0;
    if (n < k) return 0.0;
    const double q = 1.0 - p;
    const double qk = std::pow(q, k);
    std::vector<double> a(std::size_t(n) + 1, 1.0);
    a[std::size_t(k)] = 1.0 - qk;
    const double step = p * qk;
    for (int i = k + 1; i <= n; ++i)
        a[std::size_t(i)] = a[std::size_t(i - 1)] - step * a[std::size_t(i - k - 1)];
    return std::clamp(1.0 - a[std::size_t(n)], 0.0, 1.0);
}

// E[longest] = sum over k of P(longest >= k). The terms fall with k: below the first k
// whose term is not practically 1 each counts 1, and the sum stops once they vanish.
double ExpectedLongestMissRun(double p, int n) {
    if (n <= 0) return 0.0;
    int lo = 1, hi = n; // first k with P < 1 - kNegligible
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (MissRunAtLeast(p, mid, n) >= 1.0 - kNegligible)
            lo = mid + 1;
        else
            hi = mid;
    }
    double sum = lo - 1;
    for (int k = lo; k <= n; ++k) {
        const double t = MissRunAtLeast(p, k, n);
        if (t < kNegligible) break;
        sum += t;
    }
    return sum;
}

double ExpectedMissRunsOfLength(double p, int length, int n) {
    if (length <= 0 || length > n) return 0.0;
    const double q = 1.0 - p;
    const double ql = std::pow(q, length);
    if (length == n) return ql;
    // Interior runs (a hit on each side) and the runs at either end (one hit).
    return double(n - length - 1) * p * p * ql + 2.0 * p * ql;
}

double ExpectedPeriodsToHit(double p) {
    return p > 0.0 ? 1.0 / p : 0.0;
}

double ExpectedCostToHit(long long baseSize, long long spaceSize) {
    const double p = HitProbability(baseSize, spaceSize);
    return p > 0.0 ? double(baseSize) / p : 0.0;
}

double ChanceZ(long long count, long long trials, double p) {
    if (trials <= 0) return 0.0;
    const double expected = double(trials) * p;
    const double off = std::max(0.0, std::abs(double(count) - expected) - 0.5);
    if (off == 0.0) return 0.0;
    const double sd = std::sqrt(expected * (1.0 - p));
    const double z = sd > 0.0 ? off / sd : std::numeric_limits<double>::infinity();
    return double(count) > expected ? z : -z;
}

bool BeyondChance(long long count, long long trials, double p) {
    return std::abs(ChanceZ(count, trials, p)) > kSignificanceZ;
}

std::vector<RiskRow> RiskTable(long long baseSize, long long spaceSize, int maxK,
                               const std::vector<int>& horizons) {
    const double p = HitProbability(baseSize, spaceSize);
    std::vector<RiskRow> rows;
    for (int k = 1; k <= maxK; ++k) {
        RiskRow r;
        r.k = k;
        for (int n : horizons)
            r.chanceWithin.push_back(MissRunAtLeast(p, k, n));
        r.cost = baseSize * k;
        rows.push_back(std::move(r));
    }
    return rows;
}

} // namespace zuohao
