// 计划统计: the backtest run in steps from the event loop, the kill-error table and the
// risk table.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/Chance.h"
#include "core/analysis/ConditionMasks.h"
#include "core/analysis/KillRate.h"
#include "core/model/Text.h"
#include "gui/display/PlanStatsCharts.h"
#include "gui/display/PlanStatsFigures.h"
#include "gui/display/PlanStatsWindow.h"

namespace zuohao::gui {

namespace {
constexpr std::size_t kStepDraws = 1000; // draws between two looks at the clock
constexpr qint64 kSliceMs = 25;          // event-loop time one step may take
constexpr int kMaxHistogramLength = 30;
constexpr double kHistogramTail = 0.05; // expected runs below this end the histogram
const QColor kWorseThanChance(192, 0, 0);

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    return item;
}
} // namespace

void PlanStatsWindow::startBacktest() {
    if (m_run) return;
    LotteryClass* lot = m_active ? m_active() : nullptr;
    if (!lot) {
        m_backtest->setText(QStringLiteral("未选择彩票种类"));
        return;
    }
    const std::size_t count = std::size_t(m_drawCount->value());
    const bool pipeline = m_pipeline->isChecked();
    // Selections derived from statistics need the draws before the first one scored.
    auto draws = drawsFor(count + (pipeline ? kBacktestWarmUp : 1));
    if (!draws) {
        m_backtest->setText(QStringLiteral("读取开奖数据失败：") +
                            QString::fromStdString(draws.error()));
        return;
    }
    auto run = Backtester::Create(std::move(draws).value(), lot->formSet(), {pipeline, count});
    if (!run) {
        m_backtest->setText(QStringLiteral("条件有误：") + QString::fromStdString(run.error()));
        return;
    }
    m_run = std::move(run).value();
    m_runClock.start();
    m_runCmd->setEnabled(false);
    m_progress->setValue(0);
    m_backtest->setText(QStringLiteral("回测中……"));
    QTimer::singleShot(0, this, &PlanStatsWindow::backtestStep);
}

void PlanStatsWindow::cancelBacktest() {
    if (!m_run) return;
    m_run.reset();
    m_progress->hide();
    m_cancelCmd->hide();
    m_runCmd->setEnabled(true);
    m_backtest->setText(QStringLiteral("回测已取消"));
}

void PlanStatsWindow::backtestStep() {
    if (!m_run) return; // cancelled meanwhile
    QElapsedTimer slice;
    slice.start();
    bool done = false;
    do {
        done = m_run->step(kStepDraws);
    } while (!done && slice.elapsed() < kSliceMs);
    if (!done) {
        if (m_runClock.elapsed() >= m_progressAfterMs) {
            m_progress->show();
            m_cancelCmd->show();
        }
        m_progress->setValue(int(100.0 * m_run->progress()));
        QTimer::singleShot(0, this, &PlanStatsWindow::backtestStep);
        return;
    }
    const BacktestResult result = m_run->takeResult();
    m_run.reset();
    m_progress->hide();
    m_cancelCmd->hide();
    m_runCmd->setEnabled(true);
    showBacktest(result);
    refreshTables();
}

void PlanStatsWindow::showBacktest(const BacktestResult& result) {
    m_backtest->setText(BacktestFiguresHtml(result, m_pipeline->isChecked()));
    m_backtestHits = result.hits();
    m_backtestChance = result.chanceRate();
    showChart(QStringLiteral("回测命中率走势（最近%1期）").arg(m_backtestHits.size()),
              m_backtestHits, m_backtestChance);
    const PlanRecordStats s = result.stats();
    std::vector<double> expected(1, 0.0);
    for (int l = 1; l <= kMaxHistogramLength; ++l) {
        const double e = ExpectedMissRunsOfLength(m_backtestChance, l, s.periods);
        if (l > s.longestMissRun && e < kHistogramTail) break;
        expected.push_back(e);
    }
    m_histogram->showRuns(s.missRuns, expected);
}

void PlanStatsWindow::refreshTables() {
    LotteryClass* lot = m_active ? m_active() : nullptr;
    if (!lot) return;
    if (auto draws = drawsFor(std::size_t(m_drawCount->value()))) fillKillTable(*draws);
    fillRiskTable();
}

void PlanStatsWindow::fillKillTable(const std::vector<DrawLine>& draws) {
    LotteryClass* lot = m_active();
    m_killTable->setRowCount(0);
    auto rows = KillRates(draws, lot->formSet(), 0);
    if (!rows) return;
    m_killTable->setRowCount(int(rows->size()));
    for (int r = 0; r < int(rows->size()); ++r) {
        const ConditionKill& k = (*rows)[std::size_t(r)];
        m_killTable->setItem(
            r, 0, cell(QString::fromStdString(k.name), Qt::AlignLeft | Qt::AlignVCenter));
        m_killTable->setItem(
            r, 1, cell(QString::fromStdString(k.detail), Qt::AlignLeft | Qt::AlignVCenter));
        m_killTable->setItem(r, 2, cell(QStringLiteral("%1/%2").arg(k.killed).arg(k.draws)));
        auto* rate = cell(Percent(k.rate()));
        if (k.draws > 0 && k.rate() > k.chanceRate()) rate->setForeground(kWorseThanChance);
        m_killTable->setItem(r, 3, rate);
        m_killTable->setItem(r, 4, cell(Percent(k.chanceRate())));
    }
}

void PlanStatsWindow::fillRiskTable() {
    LotteryClass* lot = m_active();
    const ConditionSet& set = lot->formSet();
    const int space = set.fourDigit() ? 10000 : 1000;
    // A running plan bets its base set; otherwise the current conditions' base set.
    long long size = 0;
    if (lot->IsHasPlan) {
        size = set.DAD.count();
    } else if (auto masks = ConditionMasks::Compile(set)) {
        size = masks->baseSize();
    }
    const double p = HitProbability(size, space);
    m_riskNote->setText(
        QStringLiteral("大底 %1 注（共 %2 注），理论命中率 %3；平均 %4 期中一次，"
                       "每期买全大底到中出平均花费 %5 注")
            .arg(size)
            .arg(space)
            .arg(Percent(p))
            .arg(p > 0 ? QString::number(ExpectedPeriodsToHit(p), 'f', 1) : QStringLiteral("∞"))
            .arg(p > 0 ? QString::number(ExpectedCostToHit(size, space), 'f', 0)
                       : QStringLiteral("∞")));
    const auto rows =
        RiskTable(size, space, kRiskRows, {kRiskHorizons[0], kRiskHorizons[1], kRiskHorizons[2]});
    m_riskTable->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        const RiskRow& row = rows[std::size_t(r)];
        m_riskTable->setItem(r, 0, cell(QString::number(row.k)));
        for (int h = 0; h < 3; ++h)
            m_riskTable->setItem(r, h + 1, cell(Percent(row.chanceWithin[std::size_t(h)])));
        m_riskTable->setItem(r, 4, cell(QString::number(row.cost)));
    }
}

} // namespace zuohao::gui
