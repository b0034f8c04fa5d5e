#pragma once
// 计划统计: is this plan any good? The running plan's figures (and the last ended plan's),
// a backtest of the current conditions over the last N draws, each condition's kill-error
// rate and the risk of a miss run, every figure beside what chance alone gives and beside
// what it was computed from. Backtests, kill-error tables and the chance figures run on the
// window's worker thread; a new draw adds to them.
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "core/model/Period.h"
#include "gui/common/DrawSources.h"
#include "gui/display/PlanStatsEngine.h"
#include "gui/display/PlanStatsFigures.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

class BackgroundWork;
class HitStrip;
class MissRunHistogram;
class RollingRateChart;

class PlanStatsWindow : public QWidget {
    Q_OBJECT
public:
    // `active` gives the main window's active lottery (may be null).
    explicit PlanStatsWindow(std::function<LotteryClass*()> active, QWidget* parent = nullptr);
    ~PlanStatsWindow() override;

    // Where the backtest and the kill-error table read their draws (copied on this thread,
    // read on the worker); without one the active lottery's own.
    void setDrawSource(DrawSourceFn source);
    // New draws entered the active lottery: the plans' records, backtest and kill table go on.
    void drawsChanged();
    // The file corrected a draw of the active lottery: the kill table counts the right number.
    void drawCorrected(const std::string& qishu, const std::string& haoma);
    // Shows the window and brings it to the front.
    void showAndRaise();

    // The backtest of the current conditions over the last `draws` draws, on the worker.
    void startBacktest();
    void cancelBacktest();
    bool backtestRunning() const { return m_backtestRunning; }
    // Work is waiting for the worker or its results for this thread.
    bool busy() const;

    static constexpr int kDefaultDraws = 1440; // a day of minute draws
    static constexpr int kRiskHorizons[3] = {100, 500, 1440};
    static constexpr int kRiskRows = 20;
    static constexpr int kConditionsLookMs = 300; // how often the conditions are compared

    enum Lane { BacktestLane, KillLane, PlansLane, DrawsLane };

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildControls();
    QWidget* buildPlansColumn();
    QWidget* buildBacktestBox();
    QWidget* buildTablesColumn();
    void fitToScreen();
    void wireSignals();
    LotteryClass* active() const;

    // Plans (PlanStatsWindow.cpp).
    void absorbPlans();
    void postPlanFigures();
    void showPlans();
    void showCharts();
    // Backtest, kill table, new draws (PlanStatsBacktest.cpp).
    void backtestProgress(int lane, int percent);
    void backtestDone(Result<BacktestView> view);
    void requestKill();
    void killDone(Result<KillView> view);
    void forwardDraws();
    void lookAtConditions();
    void showBacktest();
    void showKillTable();
    void fillRiskTable();
    AnalysisRequest requestOf(std::size_t count, bool pipeline);

    std::function<LotteryClass*()> m_active;
    DrawSourceFn m_source;
    BackgroundWork* m_work = nullptr;
    std::shared_ptr<PlanStatsEngine> m_engine; // used by the worker's jobs only
    PlanWatch m_plans;
    // The plans' figures, with the number of the plan they belong to.
    struct RecordFigures {
        std::uint64_t number = 0;
        std::string startQi;
        PlanFigures figures;
    };
    std::optional<RecordFigures> m_runningFigures, m_endedFigures;
    const PlanFigures* figuresOf(const std::optional<PlanWatch::Record>& record,
                                 const std::optional<RecordFigures>& figures) const;

    std::uint64_t m_serial = 0;         // last request made
    std::uint64_t m_backtestSerial = 0; // backtest asked for last (0: none)
    std::uint64_t m_killSerial = 0;
    bool m_backtestRunning = false;
    bool m_backtestExtends = false; // the shown backtest goes on with new draws
    std::optional<BacktestView> m_backtestView;
    std::optional<KillView> m_killView;
    ConditionSet m_killAsked; // the conditions of the kill table asked for last
    std::size_t m_killCount = 0;
    bool m_backtestStale = false;
    std::string m_sourceLottery; // the lottery the engine's draws are of
    const LotteryClass* m_forwardedLottery = nullptr;
    Period m_forwardedNewest;  // newest period handed to the engine
    bool m_viewChosen = false; // the user chose the chart's view
    long long m_riskSize = -1; // the base set the risk table shows
    int m_riskSpace = 0;

    QTimer* m_conditionsLook = nullptr;
    QLabel* m_running = nullptr; // 当前计划
    QGroupBox* m_endedBox = nullptr;
    QLabel* m_ended = nullptr;
    QLabel* m_chartSource = nullptr;
    QComboBox* m_rateView = nullptr;
    RollingRateChart* m_chart = nullptr;
    HitStrip* m_strip = nullptr;
    QSpinBox* m_drawCount = nullptr;
    QCheckBox* m_pipeline = nullptr;
    QPushButton* m_runCmd = nullptr;
    QPushButton* m_cancelCmd = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_backtest = nullptr; // 回测 figures
    QLabel* m_backtestBasis = nullptr;
    MissRunHistogram* m_histogram = nullptr;
    QLabel* m_killBasis = nullptr;
    QTableWidget* m_killTable = nullptr;
    QTableWidget* m_riskTable = nullptr;
    QLabel* m_riskNote = nullptr;
};

} // namespace zuohao::gui
