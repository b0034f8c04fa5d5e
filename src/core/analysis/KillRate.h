#pragma once
// Kill-error rate (杀错率): how often one condition, alone, would have removed the winning
// number, next to the share of the space it removes (what chance alone gives it).
#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/analysis/ConditionMasks.h"
#include "core/analysis/RunControl.h"
#include "core/model/ConditionSet.h"
#include "core/model/Result.h"

namespace zuohao {

struct ConditionKill {
    std::string name; // e.g. "选号 和尾", "胆码1", "杀跨度", "全0路", "杀对子", "杀号", "全部条件"
    std::string detail;  // the condition's digits / counts as the user set them
    int draws = 0;       // draws judged
    int killed = 0;      // of which the condition removed the winning number
    int spaceKilled = 0; // numbers of the space it removes
    int spaceSize = 1000;

    double rate() const { return draws ? double(killed) / draws : 0.0; }
    double chanceRate() const { return double(spaceKilled) / spaceSize; }
    // The rate lies further from the chance rate than chance variation explains
    // (Chance.h, BeyondChance): above it, the condition kills the winner more often than luck.
    bool worseThanChance() const;
    bool betterThanChance() const;
};

// How often each number of one group's space won, over a range of draws: all a kill-error
// table needs, whatever the conditions. A new draw adds to it.
struct WinnerCounts {
    int idx = 0;
    std::vector<int> counts; // by number, the whole space
    int draws = 0;           // draws counted
    std::string first, last; // their first and newest period

    // One more draw (a five-digit number).
    void add(const DrawLine& draw);
    // A counted draw whose number the file later corrected (both five-digit numbers).
    void correct(const std::string& wrongHaoma, const std::string& rightHaoma);
};

// The winners of the last `last` usable draws (0 = all) at group `idx`; a set cancel flag
// ends it with ErrorCode::Cancelled.
Result<WinnerCounts> CountWinners(const std::vector<DrawLine>& draws, int idx, std::size_t last,
                                  const RunControl& control = {});

// The kill-error rows of one condition set, counted draw by draw: a new draw adds to them.
class KillTally {
public:
    static Result<KillTally> Create(const ConditionSet& set);
    // The rows over the draws `counts` counted: each condition judged once per number of
    // the space, not once per draw. `counts` must be of the set's group.
    static Result<KillTally> FromCounts(const WinnerCounts& counts, const ConditionSet& set,
                                        const RunControl& control = {});
    // The last `last` usable draws (0 = all) judged; a set cancel flag ends it with
    // ErrorCode::Cancelled.
    static Result<KillTally> Count(const std::vector<DrawLine>& draws, const ConditionSet& set,
                                   std::size_t last, const RunControl& control = {});
    // One more draw judged (a five-digit number).
    void add(const DrawLine& draw);
    // A draw counted with a number the file later corrected: its count is taken back and the
    // right number counted in its place, as if it had come right the first time.
    void correct(const std::string& wrongHaoma, const std::string& rightHaoma);
    const std::vector<ConditionKill>& rows() const { return m_rows; }
    const std::string& firstPeriod() const { return m_first; }
    const std::string& lastPeriod() const { return m_last; }

private:
    int m_idx = 0;
    std::string m_first, m_last;
    std::vector<ConditionMasks> m_masks; // one per row
    std::vector<ConditionKill> m_rows;
};

// One row per active condition, in the reduction's order (selection groups, bankers, span,
// kill list, route switches, pair kill), then one row for the whole set. Draws: the last
// `last` usable draws (0 = all). Complement mode is not applied: a row tells what the
// condition removes.
// A set cancel flag ends it with ErrorCode::Cancelled.
Result<std::vector<ConditionKill>> KillRates(const std::vector<DrawLine>& draws,
                                             const ConditionSet& set, std::size_t last,
                                             const RunControl& control = {});

// The condition sets KillRates judges one by one (each holding one condition, same space),
// with the row names; the whole set comes last. For callers that want the lists themselves.
std::vector<std::pair<std::string, ConditionSet>> SingleConditions(const ConditionSet& set);

} // namespace zuohao
