#pragma once
// The plan display: after a change of the draws or of the plan, the history grid is
// rebuilt from the active lottery's held draws and the lines of the running plan are
// collected for the plan text box.
#include <QString>
#include <string>
#include <string_view>

namespace zuohao {
class LotteryClass;
class LotteryItem;
} // namespace zuohao

namespace zuohao::gui {

class HistoryGrid;
class HistoryGridModel;

struct PlanDisplayOptions {
    int curWei = 0;            // the position group shown (CurWei)
    QString cap;               // its option caption, e.g. " 千百个"
    bool killTextBusy = false; // a number transfer or kill-list write is in progress
};

// Plan-text step for one draw: appends the draw's plan line and "$" to `planLines` when the
// lottery runs a plan, the draw is not older than the plan's start (period labels compared
// as text) and the draw has a line. A line still waiting for its draw ("进行中...") is
// appended only while `killTextBusy`.
void AppendPlanLine(std::string& planLines, const LotteryClass& cls, const LotteryItem& item,
                    bool killTextBusy);

// Text of the plan text box: the collected lines trimmed of spaces at both ends, every "$"
// turned into CR LF, so that each line ends with a line break.
QString PlanTextFromLines(std::string_view planLines);

// Rebuilds the grid from the lottery's held draws (two header rows, then one row per draw,
// oldest first) and returns the plan text. The grid widget's overload also scrolls to the
// last cell. Calling the monitor's Kasi afterwards is the window's business.
QString RedrawPlanDisplay(HistoryGridModel& model, const LotteryClass& cls,
                          const PlanDisplayOptions& options);
QString RedrawPlanDisplay(HistoryGrid& grid, const LotteryClass& cls,
                          const PlanDisplayOptions& options);

} // namespace zuohao::gui
