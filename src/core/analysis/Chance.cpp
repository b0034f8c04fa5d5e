#include "core/analysis/Chance.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zuohao {

namespace {
// Below this a tail probability no longer changes a double sum of figures near 1.
constexpr double kNegligible = 1e-16;
// The fall of A per period has settled when it moves less than this share over a block.
constexpr double kSettled = 1e-14;
} // namespace

double HitProbability(long long baseSize, long long spaceSize) {
    if (spaceSize <= 0 || baseSize <= 0) return 0.0;
    return double(std::min(baseSize, spaceSize)) / double(spaceSize);
}

// A(n) = P(no run of k misses in n periods). The first such run ends at n > k exactly
// when there is none in the first n-k-1 periods, then a hit, then k misses:
//   A(n) = A(n-1) - p q^k A(n-k-1),  A(n) = 1 for n < k,  A(k) = 1 - q^k.
// The ratio A(i) / A(i-1) settles on the recursion's dominant root within a few runs of k
// periods; from there A falls geometrically, so a long horizon costs no more than the
// settling. The complement B = 1 - A and the fall d = 1 - A(i) / A(i-1) are both kept as
// sums and ratios of positive terms, so that neither loses digits to a difference near 1.
double MissRunAtLeast(double p, int k, int n) {
    if (k <= 0) return 1.0;
    if (n < k) return 0.0;
    if (p <= 0.0) return 1.0;
    const double q = 1.0 - p;
    const double qk = std::pow(q, k);
    const double step = p * qk;
    const std::size_t lag = std::size_t(k) + 1;
    // A over the last k+1 periods, as a ring: a[i % lag].
    std::vector<double> a(lag, 1.0);
    double b = qk; // B(k)
    a[std::size_t(k) % lag] = 1.0 - qk;
    double lo = 1.0, hi = 0.0; // the fall's range over the current block of k+1 periods
    std::size_t inBlock = 0;
    for (int i = k + 1; i <= n; ++i) {
        const double prev = a[std::size_t(i - 1) % lag];
        double& slot = a[std::size_t(i) % lag]; // holds A(i-k-1)
        const double drop = step * slot;
        if (prev <= 0.0) return 1.0;
        const double fall = drop / prev;
        b += drop;
        slot = prev - drop;
        lo = std::min(lo, fall);
        hi = std::max(hi, fall);
        if (++inBlock < lag) continue;
        // A whole block (nearly one turn of the slowest dying oscillation) without the fall
        // moving: A goes on geometrically.
        if (i >= 2 * int(lag) && hi - lo <= kSettled * hi) {
            const double logA = std::log1p(-std::min(b, 1.0)) + double(n - i) * std::log1p(-fall);
            return std::clamp(-std::expm1(logA), 0.0, 1.0);
        }
        lo = 1.0;
        hi = 0.0;
        inBlock = 0;
    }
    return std::clamp(b, 0.0, 1.0);
}

// E[longest] = sum over k of P(longest >= k). The terms fall with k: below the first k
// whose term is not practically 1 each counts 1, and the sum stops once they vanish.
Result<double> ExpectedLongestMissRun(double p, int n, const RunControl& control) {
    if (n <= 0) return 0.0;
    int lo = 1, hi = n; // first k with P < 1 - kNegligible
    while (lo < hi) {
        if (control.cancelled()) return fail(ErrorCode::Cancelled, "已取消");
        const int mid = lo + (hi - lo) / 2;
        if (MissRunAtLeast(p, mid, n) >= 1.0 - kNegligible)
            lo = mid + 1;
        else
            hi = mid;
    }
    double sum = lo - 1;
    for (int k = lo; k <= n; ++k) {
        if (control.cancelled()) return fail(ErrorCode::Cancelled, "已取消");
        const double t = MissRunAtLeast(p, k, n);
        if (t < kNegligible) break;
        sum += t;
    }
    return sum;
}

double ExpectedLongestMissRun(double p, int n) {
    // Nothing can cancel it: the result is always there.
    return ExpectedLongestMissRun(p, n, RunControl{}).value();
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
