#pragma once
// Backtest of a condition set over a draw sequence: a plan started before the last N draws
// and scored 中/挂 at each of them, as the plan pipeline scores it. The winning number is
// tested against the conditions' masks and the base set is counted from them: no number
// list is ever written, so a draw costs microseconds.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/analysis/ConditionMasks.h"
#include "core/analysis/PlanRecord.h"
#include "core/analysis/RunControl.h"
#include "core/model/ConditionSet.h"
#include "core/model/LotteryItem.h"
#include "core/model/Result.h"

namespace zuohao {

struct BacktestOptions {
    // false: the conditions stay as given. true: as the plan pipeline runs them: ticked
    // selection boxes are read from the draw before the start, and while 自动做号 (PLA) is
    // on every selection is derived again from each new draw's statistics.
    bool pipeline = false;
    // Draws scored: the last `last` usable draws (0 or more than there are: every draw
    // after the first).
    std::size_t last = 0;
};

struct BacktestLine {
    std::size_t draw = 0; // index in the input sequence
    int size = 0;         // base-set count (注) of the line
    bool hit = false;
};

struct BacktestResult {
    std::vector<BacktestLine> lines; // oldest first
    int spaceSize = 1000;
    std::size_t skipped = 0; // input entries that are no usable draw (bad number, repeated period)

    std::vector<bool> hits() const;
    PlanRecordStats stats() const { return PlanStatsOf(hits()); }
    double meanSize() const;
    // Hit probability chance gives the lines, on average: mean size / space.
    double chanceRate() const { return meanSize() / spaceSize; }
};

// A backtest that runs in steps, for callers that must not block, and goes on with each
// new draw once it is complete.
class Backtester {
public:
    static Result<std::unique_ptr<Backtester>>
    Create(std::vector<DrawLine> draws, const ConditionSet& set, const BacktestOptions& options);
    // Processes up to `maxDraws` draws; true when the run is complete.
    bool step(std::size_t maxDraws);
    bool done() const { return m_next >= m_usableCount; }
    // Share of the work done, 0 to 1.
    double progress() const;
    const BacktestResult& result() const { return m_result; }
    BacktestResult takeResult() { return std::move(m_result); }

    // Once complete: one more draw, newer than every draw so far, scored as the plan would
    // score it. The result is then that of the same backtest over the longer sequence with
    // `last` one greater. Its line's `draw` counts on from the input sequence.
    void extend(const DrawLine& draw);
    // The lines scored since the last call (all of them at the first), oldest first.
    std::vector<BacktestLine> takeLines();
    // Once complete: frees the input sequence; extend() still works.
    void releaseDraws();

private:
    Backtester(std::vector<DrawLine> draws, const ConditionSet& set, ConditionMasks masks,
               const BacktestOptions& options);
    // Usable draw i, at input index `at`.
    void process(std::size_t i, const DrawLine& draw, std::size_t at);
    void statsOf(std::size_t i, const DrawLine& draw);
    void deriveSelections(std::size_t i, bool onlyTicked);
    LotteryItem& item(std::size_t i) { return m_ring[i % m_ring.size()]; }

    std::vector<DrawLine> m_draws;
    std::vector<std::size_t> m_usable; // indices into m_draws
    ConditionSet m_set;
    ConditionMasks m_masks;
    BacktestOptions m_options;
    std::size_t m_start = 0;              // first usable draw scored
    std::size_t m_next = 0;               // next usable draw to process
    std::size_t m_begin = 0;              // the first one processed
    std::size_t m_inputCount = 0;         // input draws, those given to extend() included
    std::size_t m_usableCount = 0;        // usable ones among them
    std::size_t m_taken = 0;              // lines already handed out by takeLines()
    int m_size = 0;                       // base-set count of the line in progress
    std::array<LotteryItem, 12> m_ring{}; // the draws the statistics chain reaches back to
    BacktestResult m_result;
};

// The whole backtest at once. A set cancel flag ends it with ErrorCode::Cancelled.
Result<BacktestResult> RunBacktest(std::vector<DrawLine> draws, const ConditionSet& set,
                                   const BacktestOptions& options, const RunControl& control = {});
// The same, run by the caller's Backtester, which stays complete for extend().
Result<void> RunToEnd(Backtester& run, const RunControl& control);

// Draws usable by the pipeline: five-digit number, a period not seen before; indices, in order.
std::vector<std::size_t> UsableDraws(const std::vector<DrawLine>& draws);
// A five-digit draw number.
bool IsDrawNumber(std::string_view haoma);

// Index of a draw's digits at position group idx, in its number space.
int GroupNumber(std::string_view haoma, int idx);

} // namespace zuohao
