#include "core/acquire/Trust.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "core/model/Period.h"
#include "core/model/Text.h"

namespace zuohao {

namespace {

double valueOf(const DrawLine& d) {
    return NumericValue(d.qishu);
}

// The value as a date label (yyyymmddNNNN), when it is one.
bool asDatePeriod(double value, std::int64_t& period) {
    if (!(value >= double(kDateBandLow) && value <= double(kDateBandHigh))) return false;
    period = std::int64_t(value);
    return double(period) == value && IsDatePeriod(period);
}

// How many periods `upper` comes after `lower`; date labels run on from 1440 to the next
// day's 0001.
double stepsBetween(double lower, double upper) {
    std::int64_t a = 0, b = 0;
    if (asDatePeriod(lower, a) && asDatePeriod(upper, b)) return double(PeriodSteps(a, b));
    return upper - lower;
}

double nextAfter(double value) {
    std::int64_t p = 0;
    return asDatePeriod(value, p) ? double(NextPeriodValue(p)) : value + 1;
}

// The draws sorted by label, oldest first; a label given twice keeps its topmost line.
std::vector<DrawLine> ascendingUnique(std::vector<DrawLine> draws) {
    std::unordered_set<std::string> seen;
    std::vector<DrawLine> out;
    for (DrawLine& d : draws)
        if (seen.insert(d.qishu).second) out.push_back(std::move(d));
    std::stable_sort(out.begin(), out.end(),
                     [](const DrawLine& a, const DrawLine& b) { return valueOf(a) < valueOf(b); });
    return out;
}

// Labels skipped between `from` and each draw of `ascending` in turn.
void countMissing(double from, const std::vector<DrawLine>& ascending, HeadVerdict& v) {
    double last = from;
    for (const DrawLine& d : ascending) {
        const double now = valueOf(d);
        if (const double steps = stepsBetween(last, now); steps > 1) {
            // Labels of more than 15 digits are no longer exact: the count is held there.
            constexpr double kMostCounted = 1e15;
            v.missingCount += std::size_t(std::min(steps - 1, kMostCounted));
            for (double m = nextAfter(last); m < now && v.missing.size() < kMissingShown;
                 m = nextAfter(m))
                v.missing.push_back(DecimalText(m));
        }
        last = std::max(last, now);
    }
}

bool followsOn(const DrawLine& upper, const DrawLine& lower) {
    return stepsBetween(valueOf(lower), valueOf(upper)) == 1;
}

} // namespace

std::vector<DrawLine> DrawLinesTopDown(std::string_view text) {
    std::vector<DrawLine> draws = ParseDrawText(text).draws;
    std::reverse(draws.begin(), draws.end());
    return draws;
}

HeadVerdict JudgeDrawHead(const std::vector<DrawLine>& fileOrder, bool endsInsideLine,
                          const HeldView& held) {
    HeadVerdict v;
    const DrawNumbers& numbers = *held.numbers;
    std::unordered_set<std::string> labels;
    bool repeats = false;
    for (const DrawLine& d : fileOrder)
        repeats = !labels.insert(d.qishu).second || repeats;

    if (numbers.empty()) {
        v.fresh = ascendingUnique(fileOrder);
        v.whole = !endsInsideLine && !repeats && !fileOrder.empty();
        for (std::size_t i = 0; v.whole && i + 1 < fileOrder.size(); ++i)
            v.whole = followsOn(fileOrder[i], fileOrder[i + 1]);
        if (!v.fresh.empty()) countMissing(valueOf(v.fresh.front()), v.fresh, v);
        return v;
    }

    const std::string newest = numbers.back().first;
    const double newestValue = NumericValue(newest);
    std::vector<DrawLine> fresh, filled;
    std::size_t newestAt = fileOrder.size();
    bool disagrees = repeats;
    for (std::size_t i = 0; i < fileOrder.size(); ++i) {
        const DrawLine& d = fileOrder[i];
        const double value = valueOf(d);
        if (const auto heldNumber = numbers.find(d.qishu)) {
            if (d.qishu == newest && newestAt == fileOrder.size()) newestAt = i;
            if (*heldNumber != d.haoma) {
                v.corrected.push_back(d);
                disagrees = true;
            }
        } else if (value > newestValue) {
            fresh.push_back(d);
            disagrees = disagrees || newestAt < i; // a new period below the newest held one
        } else if (value > held.fillFloor) {
            filled.push_back(d);
            disagrees = true;
        }
    }
    // A torn last line lies below the newest held line, which is complete: the cut does
    // not matter here.
    v.whole = !disagrees && newestAt < fileOrder.size();
    for (std::size_t i = 0; v.whole && i < newestAt; ++i)
        v.whole = followsOn(fileOrder[i], fileOrder[i + 1]);
    v.fresh = ascendingUnique(std::move(fresh));
    v.filled = ascendingUnique(std::move(filled));
    std::reverse(v.corrected.begin(), v.corrected.end()); // oldest first, as the file is
    countMissing(newestValue, v.fresh, v);
    return v;
}

} // namespace zuohao
