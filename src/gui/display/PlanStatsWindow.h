#pragma once
// 计划统计: is this plan any good? The running plan's figures, a backtest of the current
// conditions over the last N draws, each condition's kill-error rate and the risk of a miss
// run, every figure beside what chance alone gives.
#include <QElapsedTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/analysis/Backtest.h"
#include "core/analysis/DrawProvider.h"
#include "gui/display/PlanStatsFigures.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

class HitStrip;
class MissRunHistogram;
class RollingRateChart;

class PlanStatsWindow : public QWidget {
    Q_OBJECT
public:
    // `active` gives the main window's active lottery (may be null).
    explicit PlanStatsWindow(std::function<LotteryClass*()> active, QWidget* parent = nullptr);
    ~PlanStatsWindow() override;

    // Draws for the backtest and the kill-error table; without one the active lottery's own.
    void setDrawProvider(DrawProvider provider);
    // New draws entered the active lottery: refresh the running plan's figures.
    void drawsChanged();
    // Shows the window and brings it to the front.
    void showAndRaise();

    // The backtest of the current conditions over the last `draws` draws; runs in steps
    // from the event loop.
    void startBacktest();
    void cancelBacktest();
    bool backtestRunning() const { return m_run != nullptr; }
    // A run longer than this shows its progress bar and the cancel button.
    void setProgressAfter(int ms) { m_progressAfterMs = ms; }

    static constexpr int kDefaultDraws = 1440;   // a day of minute draws
    static constexpr int kProgressAfterMs = 500; // a shorter run shows no progress bar
    static constexpr int kRiskHorizons[3] = {100, 500, 1440};
    static constexpr int kRiskRows = 20;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void wireSignals();
    void refreshRunning();
    void refreshTables();
    void backtestStep();
    void showBacktest(const BacktestResult& result);
    void fillKillTable(const std::vector<DrawLine>& draws);
    void fillRiskTable();
    Result<std::vector<DrawLine>> drawsFor(std::size_t count) const;
    void showChart(const QString& title, const std::vector<bool>& hits, double chance);

    std::function<LotteryClass*()> m_active;
    DrawProvider m_provider;
    RunningPlanRecord m_record;
    std::unique_ptr<Backtester> m_run;
    QElapsedTimer m_runClock;
    int m_progressAfterMs = kProgressAfterMs;
    std::vector<bool> m_backtestHits; // the last backtest's record (the chart shows it)
    double m_backtestChance = 0;

    QLabel* m_running = nullptr; // 当前计划 figures
    RollingRateChart* m_chart = nullptr;
    HitStrip* m_strip = nullptr;
    QSpinBox* m_drawCount = nullptr;
    QCheckBox* m_pipeline = nullptr;
    QPushButton* m_runCmd = nullptr;
    QPushButton* m_cancelCmd = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_backtest = nullptr; // 回测 figures
    MissRunHistogram* m_histogram = nullptr;
    QTableWidget* m_killTable = nullptr;
    QTableWidget* m_riskTable = nullptr;
    QLabel* m_riskNote = nullptr;
};

} // namespace zuohao::gui
