#include "core/acquire/Trust.h"

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "core/model/Period.h"

namespace zuohao {

namespace {

Period valueOf(const DrawLine& d) {
    return Period::parse(d.qishu);
}

// How many periods `upper` comes after `lower`; date labels run on from 1440 to the next
// day's 0001.
std::int64_t stepsBetween(Period lower, Period upper) {
    return PeriodSteps(lower.value(), upper.value());
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
void countMissing(Period from, const std::vector<DrawLine>& ascending, HeadVerdict& v) {
    Period last = from;
    for (const DrawLine& d : ascending) {
        const Period now = valueOf(d);
        if (const std::int64_t steps = stepsBetween(last, now); steps > 1) {
            v.missingCount += std::size_t(steps - 1);
            for (Period m = last.next(); m < now && v.missing.size() < kMissingShown; m = m.next())
                v.missing.push_back(m.text());
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
    const Period newestValue = Period::parse(newest);
    std::vector<DrawLine> fresh, filled;
    std::size_t newestAt = fileOrder.size();
    bool disagrees = repeats;
    for (std::size_t i = 0; i < fileOrder.size(); ++i) {
        const DrawLine& d = fileOrder[i];
        const Period value = valueOf(d);
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
