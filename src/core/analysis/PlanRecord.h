#pragma once
// Figures of a plan record: any sequence of 中/挂 periods, oldest first, counted at once or
// period by period.
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zuohao {

struct PlanRecordStats {
    int periods = 0;
    int hits = 0;
    int currentMissRun = 0; // misses since the last hit
    int longestMissRun = 0;
    // missRuns[L] = number of maximal runs of exactly L misses (the current one included).
    std::vector<int> missRuns;

    double hitRate() const { return periods ? double(hits) / periods : 0.0; }
    bool operator==(const PlanRecordStats&) const = default;
};

// hits[i] true = 中.
PlanRecordStats PlanStatsOf(const std::vector<bool>& hits);

// Hit rate over the last `window` periods ending at each period (fewer at the start).
std::vector<double> RollingHitRate(const std::vector<bool>& hits, int window);

// The periods of one day (of date labels such as 202612080932), or of one block of
// kPeriodsPerDay periods when the labels carry no date.
struct DayTally {
    std::string day; // yyyy-mm-dd; empty for a block
    int periods = 0;
    int hits = 0;
    double sizeSum = 0; // sum of the counts (注) of the day's lines
    bool operator==(const DayTally&) const = default;
};

// A plan record kept period by period: the figures of every period so far, the newest
// periods themselves and one tally per day. Its size does not grow with the periods (beyond
// one tally per day).
class PlanTally {
public:
    // Newest periods kept: enough for a rolling view of the last few hundred periods.
    static constexpr std::size_t kRecent = 600;

    void add(std::string_view period, long long size, bool hit);

    PlanRecordStats stats() const;
    int periods() const { return m_closed.periods; }
    double meanSize() const { return m_closed.periods ? m_sizeSum / m_closed.periods : 0.0; }
    const std::deque<bool>& recent() const { return m_recent; }
    std::vector<bool> recentHits() const { return {m_recent.begin(), m_recent.end()}; }
    const std::vector<DayTally>& days() const { return m_days; }
    const std::string& firstPeriod() const { return m_first; }
    const std::string& lastPeriod() const { return m_last; }

private:
    PlanRecordStats m_closed; // periods and hits of all; runs ended by a hit only
    int m_run = 0;            // the miss run still open
    double m_sizeSum = 0;
    std::deque<bool> m_recent;
    std::vector<DayTally> m_days;
    std::string m_first, m_last;
};

// Histogram classes of miss-run lengths: one per length up to kSingleLengths, then the
// ranges kRunRanges, then everything longer. Every run counted falls in a class.
struct RunClass {
    int from = 1;
    int to = 1;          // 0: no upper end
    int counted = 0;     // runs of these lengths
    double expected = 0; // runs chance expects in the same periods
};
inline constexpr int kSingleLengths = 30;
inline constexpr int kRunRanges[][2] = {{31, 50}, {51, 100}};

// Classes from length 1 to the longest run counted, or further while chance expects at
// least `tail` runs of a length; p = hit probability per period.
std::vector<RunClass> MissRunClasses(const PlanRecordStats& stats, double p, double tail);

} // namespace zuohao
