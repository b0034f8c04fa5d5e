// 计划统计: the backtest and the kill-error table run on the worker, the new draws handed to
// it, the conditions watched; the kill-error and risk tables.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <algorithm>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/Chance.h"
#include "core/analysis/ConditionMasks.h"
#include "core/model/Text.h"
#include "gui/common/BackgroundWork.h"
#include "gui/display/PlanStatsCharts.h"
#include "gui/display/PlanStatsWindow.h"

namespace zuohao::gui {

namespace {
const QColor kWorseThanChance(192, 0, 0);
const QColor kBetterThanChance(0, 128, 0);

QTableWidgetItem* cell(const QString& text, Qt::Alignment align = Qt::AlignCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align);
    return item;
}

QString errorText(const QString& what, const Error& e) {
    return what + QString::fromStdString(e.message);
}
} // namespace

AnalysisRequest PlanStatsWindow::requestOf(std::size_t count, bool pipeline) {
    LotteryClass* lot = active();
    AnalysisRequest r;
    r.serial = ++m_serial;
    r.source = m_source ? m_source() : CopyDrawSource({}, lot);
    // Draws that enter from now on are handed to the engine after this request.
    m_sourceLottery = r.source.lottery;
    m_forwardedLottery = lot;
    m_forwardedNewest = lot->monitorPeriods().Count() > 0
                            ? Period::parse(lot->monitorPeriods().back().first)
                            : Period();
    r.conditions = AnalysedConditions(lot->formSet());
    r.pipeline = pipeline;
    r.count = count;
    return r;
}

void PlanStatsWindow::startBacktest() {
    if (m_backtestRunning) return;
    if (!active()) {
        m_backtest->setText(QStringLiteral("未选择彩票种类"));
        return;
    }
    AnalysisRequest request = requestOf(std::size_t(m_drawCount->value()), m_pipeline->isChecked());
    m_backtestSerial = request.serial;
    m_backtestRunning = true;
    m_runCmd->setEnabled(false);
    m_progress->setValue(0);
    m_progress->show();
    m_cancelCmd->show();
    m_backtest->setText(QStringLiteral("回测中……"));
    m_work->post(BacktestLane, [this, engine = m_engine,
                                request = std::move(request)](const RunControl& control) {
        auto view = engine->runBacktest(request, control);
        return [this, view = std::move(view)] { backtestDone(view); };
    });
}

void PlanStatsWindow::cancelBacktest() {
    if (!m_backtestRunning) return;
    m_work->cancel(BacktestLane);
    m_backtestRunning = false;
    // The engine keeps the backtest shown before; the cancelled one never counts.
    m_backtestSerial = m_backtestView ? m_backtestView->serial : 0;
    m_progress->hide();
    m_cancelCmd->hide();
    m_runCmd->setEnabled(true);
    m_backtest->setText(QStringLiteral("回测已取消"));
}

void PlanStatsWindow::backtestProgress(int lane, int percent) {
    if (lane == BacktestLane && m_backtestRunning) m_progress->setValue(percent);
}

void PlanStatsWindow::backtestDone(Result<BacktestView> view) {
    m_backtestRunning = false;
    m_progress->hide();
    m_cancelCmd->hide();
    m_runCmd->setEnabled(true);
    if (!view) {
        m_backtestSerial = m_backtestView ? m_backtestView->serial : 0;
        const bool conditions =
            view.code() == ErrorCode::KillListOutOfSpace || view.code() == ErrorCode::OutOfRange;
        m_backtest->setText(errorText(conditions ? QStringLiteral("条件有误：")
                                                 : QStringLiteral("读取开奖数据失败："),
                                      view.failure()));
        return;
    }
    m_backtestView = std::move(view).value();
    m_backtestExtends = true;
    showBacktest();
    showCharts();
}

void PlanStatsWindow::showBacktest() {
    if (!m_backtestView) return;
    const BacktestView& v = *m_backtestView;
    const LotteryClass* lot = active();
    const bool stale = lot && !BasisMatches(v.basis, lot->formSet());
    m_backtestStale = stale;
    if (!m_backtestRunning) {
        QString head =
            v.basis.pipeline ? QStringLiteral("按自动做号回测") : QStringLiteral("固定条件回测");
        if (v.skipped > 0) head += QStringLiteral("，跳过无效或重复开奖 %1 期").arg(v.skipped);
        m_backtest->setText(head + FiguresHtml(v.figures));
    }
    m_backtestBasis->setText(BasisText(v.basis, stale));
    m_backtestBasis->setStyleSheet(stale ? QStringLiteral("color: rgb(192, 0, 0);")
                                         : QStringLiteral("color: #555;"));
}

// The kill table follows the conditions: asked again whenever they or the count change.
void PlanStatsWindow::requestKill() {
    AnalysisRequest request = requestOf(std::size_t(m_drawCount->value()), false);
    m_killSerial = request.serial;
    m_killAsked = request.conditions;
    m_killCount = request.count;
    if (m_killView) m_killBasis->setText(QStringLiteral("条件已改变，正在按新条件计算……"));
    m_work->post(KillLane, [this, engine = m_engine,
                            request = std::move(request)](const RunControl& control) {
        auto view = engine->runKillRates(request, control);
        return [this, view = std::move(view)] { killDone(view); };
    });
}

void PlanStatsWindow::killDone(Result<KillView> view) {
    if (!view) {
        m_killView.reset();
        m_killTable->setRowCount(0);
        m_killBasis->setText(errorText(QStringLiteral("杀错率无法计算："), view.failure()));
        return;
    }
    if (view->serial != m_killSerial) return;
    m_killView = std::move(view).value();
    showKillTable();
}

// Each conditions look: a stale backtest is marked, the kill table asked for anew.
void PlanStatsWindow::lookAtConditions() {
    LotteryClass* lot = active();
    if (!lot || !isVisible()) return;
    const ConditionSet current = AnalysedConditions(lot->formSet());
    if (m_killSerial == 0 || m_killCount != std::size_t(m_drawCount->value()) ||
        !SameAnalysedConditions(m_killAsked, current, false))
        requestKill();
    const bool stale = m_backtestView && !BasisMatches(m_backtestView->basis, lot->formSet());
    if (stale != m_backtestStale) {
        m_backtestStale = stale;
        showBacktest();
        showCharts();
    }
}

// New draws of the active lottery go to the engine, which adds them to the backtest (while
// its conditions hold) and to the kill table; the views come back while the window shows.
void PlanStatsWindow::forwardDraws() {
    LotteryClass* lot = active();
    if (!lot || lot->monitorPeriods().Count() == 0) return;
    const auto& held = lot->monitorPeriods();
    const Period newest = Period::parse(held.back().first);
    if (lot != m_forwardedLottery) return; // nothing read of this lottery yet
    std::vector<DrawLine> added;
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        const auto [label, haoma] = *it;
        if (Period::parse(label) <= m_forwardedNewest) break;
        added.push_back({label, haoma});
    }
    if (added.empty()) return;
    std::reverse(added.begin(), added.end());
    m_forwardedNewest = newest;
    if (m_backtestView && !BasisMatches(m_backtestView->basis, lot->formSet()))
        m_backtestExtends = false; // the shown backtest keeps its range, marked stale
    const std::uint64_t backtest = m_backtestExtends ? m_backtestSerial : 0;
    const bool report = isVisible();
    m_work->post(
        DrawsLane,
        [this, engine = m_engine, name = m_sourceLottery, added = std::move(added), backtest,
         kill = m_killSerial, report](const RunControl&) -> BackgroundWork::Apply {
            engine->addDraws(name, added, backtest, kill);
            if (!report) return {};
            return [this, b = engine->backtestView(), k = engine->killView()] {
                if (b && b->serial == m_backtestSerial && !m_backtestRunning) {
                    m_backtestView = b;
                    showBacktest();
                    showCharts();
                }
                if (k && k->serial == m_killSerial) {
                    m_killView = k;
                    showKillTable();
                }
            };
        },
        BackgroundWork::Mode::Follow);
}

void PlanStatsWindow::drawCorrected(const std::string& qishu, const std::string& haoma) {
    const bool report = isVisible();
    m_work->post(
        DrawsLane,
        [this, engine = m_engine, name = m_sourceLottery, right = DrawLine{qishu, haoma},
         report](const RunControl&) -> BackgroundWork::Apply {
            engine->correctDraw(name, right);
            if (!report) return {};
            return [this, k = engine->killView()] {
                if (k && k->serial == m_killSerial) {
                    m_killView = k;
                    showKillTable();
                }
            };
        },
        BackgroundWork::Mode::Follow);
}

void PlanStatsWindow::showKillTable() {
    const KillView& v = *m_killView;
    m_killBasis->setText(BasisText(v.basis, false));
    m_killTable->setRowCount(int(v.rows.size()));
    const QString beyond =
        QStringLiteral("与理论杀错率之差超出随机波动（正态近似，|z| > %1，约 99%%）")
            .arg(kSignificanceZ);
    const QString within =
        QStringLiteral("与理论杀错率之差在随机波动之内（|z| ≤ %1，约 99%%）").arg(kSignificanceZ);
    for (int r = 0; r < int(v.rows.size()); ++r) {
        const ConditionKill& k = v.rows[std::size_t(r)];
        m_killTable->setItem(
            r, 0, cell(QString::fromStdString(k.name), Qt::AlignLeft | Qt::AlignVCenter));
        m_killTable->setItem(
            r, 1, cell(QString::fromStdString(k.detail), Qt::AlignLeft | Qt::AlignVCenter));
        m_killTable->setItem(r, 2, cell(QStringLiteral("%1/%2").arg(k.killed).arg(k.draws)));
        auto* rate = cell(Percent(k.rate()));
        const double z = ChanceZ(k.killed, k.draws, k.chanceRate());
        if (k.worseThanChance()) {
            rate->setForeground(kWorseThanChance);
            rate->setToolTip(QStringLiteral("杀错偏多：") + beyond);
        } else if (k.betterThanChance()) {
            rate->setForeground(kBetterThanChance);
            rate->setToolTip(QStringLiteral("杀错偏少：") + beyond);
        } else {
            rate->setToolTip(within + QStringLiteral("，z = %1").arg(z, 0, 'f', 2));
        }
        m_killTable->setItem(r, 3, rate);
        m_killTable->setItem(r, 4, cell(Percent(k.chanceRate())));
    }
}

void PlanStatsWindow::fillRiskTable() {
    LotteryClass* lot = active();
    if (!lot) return;
    const ConditionSet& set = lot->formSet();
    const int space = set.fourDigit() ? 10000 : 1000;
    // A running plan bets its base set; otherwise the current conditions' base set.
    long long size = 0;
    if (lot->hasPlan()) {
        size = set.DAD.count();
    } else if (auto masks = ConditionMasks::Compile(set)) {
        size = masks->baseSize();
    }
    // The table depends on the base set's count alone: filled again only when it changes.
    if (size == m_riskSize && space == m_riskSpace) return;
    m_riskSize = size;
    m_riskSpace = space;
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
