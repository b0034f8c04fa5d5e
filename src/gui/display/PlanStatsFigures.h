#pragma once
// The figures of a 中/挂 record beside what chance gives, as the 计划统计 window shows them.
#include <QString>
#include <vector>

#include "core/analysis/Backtest.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

// The scored lines of the lottery's plan among its held draws, oldest first.
struct RunningPlan {
    bool running = false;
    std::vector<bool> hits;
    double meanSize = 0;
    int spaceSize = 1000;
    double chance = 0; // mean size / space
};
RunningPlan RunningPlanOf(const LotteryClass& lottery);

// A table of the record's figures, each beside its chance figure.
QString RecordFiguresHtml(const std::vector<bool>& hits, double meanSize, int spaceSize);
QString RunningFiguresHtml(const RunningPlan& plan);
QString BacktestFiguresHtml(const BacktestResult& result, bool pipeline);

// Percent text with one decimal: "50.4%".
QString Percent(double share);

} // namespace zuohao::gui
