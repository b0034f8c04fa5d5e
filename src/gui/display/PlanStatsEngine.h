#pragma once
// The computations of the 计划统计 window, done on its worker thread: the draws read for
// them, and the backtest and the kill-error tallies kept so that a new draw adds to them
// instead of counting the whole range again. Only the worker's jobs touch an engine.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/analysis/AnalysisBasis.h"
#include "core/analysis/Backtest.h"
#include "core/analysis/KillRate.h"
#include "core/analysis/PlanFigures.h"
#include "gui/common/DrawSources.h"

namespace zuohao::gui {

// A backtest as the window shows it.
struct BacktestView {
    std::uint64_t serial = 0; // the request it answers
    AnalysisBasis basis;
    PlanFigures figures;
    std::size_t skipped = 0; // input entries that are no usable draw
};

// A kill-error table as the window shows it.
struct KillView {
    std::uint64_t serial = 0;
    AnalysisBasis basis;
    std::vector<ConditionKill> rows;
};

struct AnalysisRequest {
    std::uint64_t serial = 0;
    DrawSourceCopy source;
    ConditionSet conditions;
    bool pipeline = false;
    std::size_t count = 0; // draws scored
};

class PlanStatsEngine {
public:
    Result<BacktestView> runBacktest(const AnalysisRequest& request, const RunControl& control);
    Result<KillView> runKillRates(const AnalysisRequest& request, const RunControl& control);

    // New draws of `lottery`, oldest first; those not newer than every draw read so far are
    // left out. The backtest and the kill table whose serials are given go on with them; any
    // other is dropped (nobody shows it any more, and it would miss these draws).
    void addDraws(const std::string& lottery, const std::vector<DrawLine>& draws,
                  std::uint64_t backtestSerial, std::uint64_t killSerial);
    // A draw of `lottery` the file corrected: the held copy takes the right number and the kill
    // table counts it in place of the wrong one; a backtest that scored the wrong number is
    // dropped (its later lines depend on it).
    void correctDraw(const std::string& lottery, const DrawLine& right);
    // The views of what the engine holds (none without a run).
    std::optional<BacktestView> backtestView() const;
    std::optional<KillView> killView() const;

    // Draws held for the runs (the newest of what was read, and the draws added since).
    std::size_t drawsHeld() const { return m_draws.size(); }

private:
    // The draws of `count` for the request are held already: nothing to read.
    bool holds(const AnalysisRequest& request, std::size_t count) const;
    Result<std::vector<DrawLine>> drawsFor(const AnalysisRequest& request, std::size_t count,
                                           const RunControl& control);
    // Lets the oldest draws go once well beyond what the runs need.
    void trim();

    struct Backtest {
        std::unique_ptr<Backtester> run;
        PlanTally tally;
        AnalysisBasis basis;
        std::uint64_t serial = 0;
        std::size_t need = 0; // draws it read
        PlanFigures figures;  // of the tally as it stands
    };
    struct Kill {
        KillTally tally;
        AnalysisBasis basis;
        std::uint64_t serial = 0;
        std::size_t need = 0;
    };

    // The winners of the last kill table's range: a table of other conditions over the same
    // draws is judged from them without going through the draws again.
    struct Winners {
        WinnerCounts counts;
        std::size_t count = 0;     // draws asked for
        std::uint64_t drawsAt = 0; // m_drawsChanged when counted
    };

    DrawSourceCopy m_source;          // what m_draws were read from (without the held copy)
    std::vector<DrawLine> m_draws;    // oldest first
    std::uint64_t m_drawsChanged = 0; // counts every change of m_draws
    std::optional<Winners> m_winners;
    bool m_complete = false; // m_draws hold every draw of the source
    std::optional<Backtest> m_backtest;
    std::optional<Kill> m_kill;
};

} // namespace zuohao::gui
