#include "gui/display/PlanDisplay.h"

#include "core/acquire/LotteryClass.h"
#include "core/plan/Plan.h"
#include "gui/common/QtText.h"
#include "gui/display/HistoryGrid.h"
#include "gui/display/HistoryGridModel.h"

namespace zuohao::gui {

namespace {

// Lays the grid out and fills it; returns the collected plan lines.
std::string fillGrid(HistoryGridModel& model, const LotteryClass& cls,
                     const PlanDisplayOptions& options, bool prepared) {
    const int n = int(cls.heldDraws().Count());
    if (!prepared) model.PrepareHistoryGrid(n + 2, QString::fromStdString(cls.name()), options.cap);
    std::string planLines;
    int row = 2;
    for (const auto& [qishu, item] : cls.heldDraws()) {
        if (item) {
            model.FillHistoryRow(*item, row, options.curWei);
            AppendPlanLine(planLines, cls.state(), *item, options.killTextBusy);
        }
        ++row;
    }
    return planLines;
}

} // namespace

QString RedrawPlanDisplay(HistoryGridModel& model, const LotteryClass& cls,
                          const PlanDisplayOptions& options) {
    return toQ(PlanTextFromLines(fillGrid(model, cls, options, false)));
}

QString RedrawPlanDisplay(HistoryGrid& grid, const LotteryClass& cls,
                          const PlanDisplayOptions& options) {
    grid.PrepareHistoryGrid(int(cls.heldDraws().Count()) + 2, QString::fromStdString(cls.name()),
                            options.cap);
    const QString text = toQ(PlanTextFromLines(fillGrid(*grid.model(), cls, options, true)));
    grid.keepTopDraw();
    return text;
}

} // namespace zuohao::gui
