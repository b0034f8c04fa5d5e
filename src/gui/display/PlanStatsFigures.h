#pragma once
// The figures of a 中/挂 record beside what chance gives, as the 计划统计 window shows them.
#include <QString>
#include <deque>
#include <string>
#include <unordered_set>
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

// The running plan's scored lines as collected draw after draw: the lottery keeps only its
// newest 100 draws, the record keeps the plan's lines (at most kMaxLines, the newest).
class RunningPlanRecord {
public:
    static constexpr std::size_t kMaxLines = 100000;
    // Takes the lines scored since the last call; another plan or lottery starts afresh.
    void absorb(const LotteryClass& lottery);
    RunningPlan plan() const;

private:
    struct Line {
        std::string period;
        int size;
        bool hit;
    };
    const LotteryClass* m_lottery = nullptr;
    std::string m_start;
    bool m_running = false;
    int m_space = 1000;
    std::deque<Line> m_lines;
    std::unordered_set<std::string> m_seen;
};

// A table of the record's figures, each beside its chance figure.
QString RecordFiguresHtml(const std::vector<bool>& hits, double meanSize, int spaceSize);
QString RunningFiguresHtml(const RunningPlan& plan);
QString BacktestFiguresHtml(const BacktestResult& result, bool pipeline);

// Percent text with one decimal: "50.4%".
QString Percent(double share);

} // namespace zuohao::gui
