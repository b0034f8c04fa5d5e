#include "core/analysis/PlanRecord.h"

#include <algorithm>

#include "core/analysis/Chance.h"
#include "core/model/Period.h"

namespace zuohao {

PlanRecordStats PlanStatsOf(const std::vector<bool>& hits) {
    PlanRecordStats s;
    s.periods = int(hits.size());
    int run = 0;
    auto closeRun = [&s](int length) {
        if (length <= 0) return;
        if (s.missRuns.size() <= std::size_t(length)) s.missRuns.resize(std::size_t(length) + 1);
        ++s.missRuns[std::size_t(length)];
        s.longestMissRun = std::max(s.longestMissRun, length);
    };
    for (bool h : hits) {
        if (h) {
            ++s.hits;
            closeRun(run);
            run = 0;
        } else {
            ++run;
        }
    }
    closeRun(run);
    s.currentMissRun = run;
    return s;
}

std::vector<double> RollingHitRate(const std::vector<bool>& hits, int window) {
    std::vector<double> out;
    if (window <= 0) return out;
    out.reserve(hits.size());
    int inWindow = 0;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        inWindow += hits[i] ? 1 : 0;
        if (i >= std::size_t(window) && hits[i - std::size_t(window)]) --inWindow;
        const std::size_t n = std::min(i + 1, std::size_t(window));
        out.push_back(double(inWindow) / double(n));
    }
    return out;
}

void PlanTally::add(std::string_view period, long long size, bool hit) {
    if (m_closed.periods == 0) m_first = period;
    m_last = period;
    ++m_closed.periods;
    m_sizeSum += double(size);
    if (hit) {
        ++m_closed.hits;
        if (m_run > 0) {
            if (m_closed.missRuns.size() <= std::size_t(m_run))
                m_closed.missRuns.resize(std::size_t(m_run) + 1);
            ++m_closed.missRuns[std::size_t(m_run)];
            m_closed.longestMissRun = std::max(m_closed.longestMissRun, m_run);
        }
        m_run = 0;
    } else {
        ++m_run;
    }
    m_recent.push_back(hit);
    if (m_recent.size() > kRecent) m_recent.pop_front();

    std::string day = DayOfLabel(period);
    const bool newDay = m_days.empty() || (day.empty() ? !m_days.back().day.empty() ||
                                                             m_days.back().periods >= kPeriodsPerDay
                                                       : m_days.back().day != day);
    if (newDay) m_days.push_back({std::move(day), 0, 0, 0});
    DayTally& d = m_days.back();
    ++d.periods;
    d.hits += hit ? 1 : 0;
    d.sizeSum += double(size);
}

PlanRecordStats PlanTally::stats() const {
    PlanRecordStats s = m_closed;
    s.currentMissRun = m_run;
    if (m_run > 0) {
        if (s.missRuns.size() <= std::size_t(m_run)) s.missRuns.resize(std::size_t(m_run) + 1);
        ++s.missRuns[std::size_t(m_run)];
        s.longestMissRun = std::max(s.longestMissRun, m_run);
    }
    return s;
}

namespace {
// Below this a tail of expected counts adds nothing a histogram can show.
constexpr double kNegligibleRuns = 1e-9;
} // namespace

std::vector<RunClass> MissRunClasses(const PlanRecordStats& stats, double p, double tail) {
    const int n = stats.periods;
    int longest = stats.longestMissRun;
    for (int l = longest + 1; l <= n && ExpectedMissRunsOfLength(p, l, n) >= tail; ++l)
        longest = l;
    std::vector<RunClass> classes;
    const auto addClass = [&](int from, int to) {
        RunClass c{from, to, 0, 0.0};
        const int last = to == 0 ? n : to;
        for (int l = from; l <= last; ++l) {
            if (std::size_t(l) < stats.missRuns.size()) c.counted += stats.missRuns[std::size_t(l)];
            const double e = ExpectedMissRunsOfLength(p, l, n);
            c.expected += e;
            // Expected counts fall with the length: an open class stops once they vanish.
            if (to == 0 && e < kNegligibleRuns && std::size_t(l) >= stats.missRuns.size()) break;
        }
        classes.push_back(c);
    };
    for (int l = 1; l <= std::min(longest, kSingleLengths); ++l)
        addClass(l, l);
    int next = kSingleLengths + 1;
    for (const auto& range : kRunRanges) {
        if (longest < range[0]) return classes;
        addClass(range[0], range[1]);
        next = range[1] + 1;
    }
    if (longest >= next) addClass(next, 0);
    return classes;
}

} // namespace zuohao
