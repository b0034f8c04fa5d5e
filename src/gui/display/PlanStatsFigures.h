#pragma once
// The plans of the 计划统计 window as collected draw after draw, and the window's texts:
// every figure beside what chance gives, and what each was computed from.
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

#include "core/analysis/AnalysisBasis.h"
#include "core/analysis/PlanFigures.h"
#include "core/analysis/PlanRecord.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

// The active lottery's running plan and the plan that ended last, each with the scored lines
// that belong to it (by the plan's number and its first and end draws). The lottery keeps
// only its newest 100 draws; the records keep the tallies of all their lines.
class PlanWatch {
public:
    struct Record {
        std::uint64_t number = 0;
        std::string startQi; // the draw the plan started from
        std::string endQi;   // the newest draw when it ended; empty while it runs
        PlanTally tally;
        int spaceSize = 1000;
        std::string lastTaken; // the newest draw whose line is in the tally
    };
    // Takes the lines scored since the last call; true when a record changed.
    bool absorb(const LotteryClass& lottery);
    const std::optional<Record>& running() const { return m_running; }
    const std::optional<Record>& ended() const { return m_ended; }

private:
    bool take(const LotteryClass& lottery, Record& r) const;

    const LotteryClass* m_lottery = nullptr;
    std::optional<Record> m_running;
    std::optional<Record> m_ended;
};

// A table of a record's figures, each beside its chance figure.
QString FiguresHtml(const PlanFigures& f);
// The 当前计划 box: the running plan's figures, or that none runs.
QString RunningPlanHtml(const PlanWatch::Record* running, const PlanFigures* figures);
// The heading of the last ended plan: its first and last period.
QString EndedPlanTitle(const PlanFigures& f);

// The conditions an analysis read, in a line: group, each active condition, the mode.
QString ConditionsSummary(const ConditionSet& c, bool pipeline);
// What a figure was computed from: conditions, range and time; a stale one says so.
QString BasisText(const AnalysisBasis& basis, bool stale);
// The range alone: "first – last 期，N 期".
QString RangeText(const std::string& first, const std::string& last, std::size_t periods);

// Percent text with one decimal: "50.4%".
QString Percent(double share);

} // namespace zuohao::gui
