#pragma once
// The plan display: after a change of the draws or of the plan, the history grid is
// rebuilt from the active lottery's held draws and the lines of the running plan are
// collected for the plan text box (AppendPlanLine and PlanTextFromLines of core/plan/Plan.h).
#include <QString>

namespace zuohao {
class LotteryClass;
} // namespace zuohao

namespace zuohao::gui {

class HistoryGrid;
class HistoryGridModel;

struct PlanDisplayOptions {
    int curWei = 0;            // the position group shown (CurWei)
    QString cap;               // its option caption, e.g. " 千百个"
    bool killTextBusy = false; // a number transfer or kill-list write is in progress
};

// Rebuilds the grid from the lottery's held draws (two header rows, then one row per draw,
// oldest first) and returns the plan text. The grid widget's overload also scrolls to the
// last cell. Calling the monitor's Kasi afterwards is the window's business.
QString RedrawPlanDisplay(HistoryGridModel& model, const LotteryClass& cls,
                          const PlanDisplayOptions& options);
QString RedrawPlanDisplay(HistoryGrid& grid, const LotteryClass& cls,
                          const PlanDisplayOptions& options);

} // namespace zuohao::gui
