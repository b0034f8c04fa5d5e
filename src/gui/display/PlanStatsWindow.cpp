// 计划统计: layout, wiring and the running plan's figures.
#include "gui/display/PlanStatsWindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <map>

#include "core/acquire/LotteryClass.h"
#include "core/analysis/Chance.h"
#include "core/analysis/PlanRecord.h"
#include "core/model/Text.h"
#include "gui/common/Fonts.h"
#include "gui/display/PlanStatsCharts.h"
#include "gui/display/PlanStatsFigures.h"

namespace zuohao::gui {

namespace {
constexpr int kMaxDraws = 1000000;
constexpr int kFontSize = 10;

QTableWidget* newTable(QWidget* parent, const QString& name, const QStringList& headers) {
    auto* t = new QTableWidget(0, int(headers.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headers);
    t->verticalHeader()->setVisible(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 6);
    return t;
}
} // namespace

PlanStatsWindow::PlanStatsWindow(std::function<LotteryClass*()> active, QWidget* parent)
    : QWidget(parent, Qt::Window), m_active(std::move(active)) {
    setObjectName(QStringLiteral("PlanStatsWindow"));
    setWindowTitle(QStringLiteral("计划统计"));
    buildControls();
    wireSignals();
}

PlanStatsWindow::~PlanStatsWindow() = default;

void PlanStatsWindow::buildControls() {
    setFont(ChineseFont(kFontSize));
    auto* columns = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);

    auto* running = new QGroupBox(QStringLiteral("当前计划"), this);
    auto* runningBox = new QVBoxLayout(running);
    m_running = new QLabel(running);
    m_running->setObjectName(QStringLiteral("RunningFigures"));
    m_running->setTextFormat(Qt::RichText);
    runningBox->addWidget(m_running);
    left->addWidget(running);

    m_chart = new RollingRateChart(this);
    m_chart->setObjectName(QStringLiteral("RollingRateChart"));
    left->addWidget(m_chart, 2);
    left->addWidget(new QLabel(QStringLiteral("最近100期（红为中，灰为挂）"), this));
    m_strip = new HitStrip(this);
    m_strip->setObjectName(QStringLiteral("HitStrip"));
    left->addWidget(m_strip);

    auto* backtest = new QGroupBox(QStringLiteral("回测当前条件"), this);
    auto* backtestBox = new QVBoxLayout(backtest);
    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("最近"), backtest));
    m_drawCount = new QSpinBox(backtest);
    m_drawCount->setObjectName(QStringLiteral("BacktestDraws"));
    m_drawCount->setRange(10, kMaxDraws);
    m_drawCount->setValue(kDefaultDraws);
    controls->addWidget(m_drawCount);
    controls->addWidget(new QLabel(QStringLiteral("期"), backtest));
    m_pipeline = new QCheckBox(QStringLiteral("按自动做号回测"), backtest);
    m_pipeline->setObjectName(QStringLiteral("BacktestAuto"));
    m_pipeline->setToolTip(
        QStringLiteral("每期按勾选的统计列重新生成选号，如同计划运行时的自动做号"));
    controls->addWidget(m_pipeline);
    controls->addStretch(1);
    m_runCmd = new QPushButton(QStringLiteral("开始回测"), backtest);
    m_runCmd->setObjectName(QStringLiteral("BacktestCmd"));
    controls->addWidget(m_runCmd);
    backtestBox->addLayout(controls);
    auto* progressRow = new QHBoxLayout;
    m_progress = new QProgressBar(backtest);
    m_progress->setObjectName(QStringLiteral("BacktestProgress"));
    m_progress->setRange(0, 100);
    m_cancelCmd = new QPushButton(QStringLiteral("取消"), backtest);
    m_cancelCmd->setObjectName(QStringLiteral("BacktestCancel"));
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancelCmd);
    m_progress->hide();
    m_cancelCmd->hide();
    backtestBox->addLayout(progressRow);
    m_backtest = new QLabel(QStringLiteral("尚未回测"), backtest);
    m_backtest->setObjectName(QStringLiteral("BacktestFigures"));
    m_backtest->setTextFormat(Qt::RichText);
    backtestBox->addWidget(m_backtest);
    left->addWidget(backtest);

    m_histogram = new MissRunHistogram(this);
    m_histogram->setObjectName(QStringLiteral("MissRunHistogram"));
    right->addWidget(m_histogram, 2);

    right->addWidget(
        new QLabel(QStringLiteral("杀错率（最近回测期数内，每个条件单独计算）"), this));
    m_killTable =
        newTable(this, QStringLiteral("KillTable"),
                 {QStringLiteral("条件"), QStringLiteral("设置"), QStringLiteral("杀错次数"),
                  QStringLiteral("实际杀错率"), QStringLiteral("理论杀错率")});
    right->addWidget(m_killTable, 2);

    right->addWidget(new QLabel(
        QStringLiteral("连挂风险：连挂 k 期以上在未来 100/500/1440 期内出现的理论机会"), this));
    m_riskNote = new QLabel(this);
    m_riskNote->setObjectName(QStringLiteral("RiskNote"));
    m_riskNote->setWordWrap(true);
    right->addWidget(m_riskNote);
    m_riskTable =
        newTable(this, QStringLiteral("RiskTable"),
                 {QStringLiteral("连挂期数"), QStringLiteral("100期内"), QStringLiteral("500期内"),
                  QStringLiteral("1440期内"), QStringLiteral("连挂成本(注)")});
    right->addWidget(m_riskTable, 3);

    resize(1280, 720);
}

void PlanStatsWindow::wireSignals() {
    connect(m_runCmd, &QPushButton::clicked, this, &PlanStatsWindow::startBacktest);
    connect(m_cancelCmd, &QPushButton::clicked, this, &PlanStatsWindow::cancelBacktest);
}

void PlanStatsWindow::setDrawProvider(DrawProvider provider) {
    m_provider = std::move(provider);
}

void PlanStatsWindow::showAndRaise() {
    show();
    raise();
    activateWindow();
}

void PlanStatsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshRunning();
    refreshTables();
}

void PlanStatsWindow::drawsChanged() {
    // The plan's lines are collected at every draw, shown or not.
    if (LotteryClass* lot = m_active ? m_active() : nullptr) m_record.absorb(*lot);
    if (!isVisible()) return;
    refreshRunning();
    refreshTables();
}

Result<std::vector<DrawLine>> PlanStatsWindow::drawsFor(std::size_t count) const {
    if (m_provider) return m_provider(count);
    LotteryClass* lot = m_active ? m_active() : nullptr;
    if (!lot) return std::vector<DrawLine>{};
    return HeldDraws(*lot)(count);
}

void PlanStatsWindow::refreshRunning() {
    LotteryClass* lot = m_active ? m_active() : nullptr;
    if (lot) m_record.absorb(*lot);
    const RunningPlan plan = lot ? m_record.plan() : RunningPlan{};
    m_running->setText(RunningFiguresHtml(plan));
    // The chart shows the backtest once there is one: the longer record.
    if (m_backtestHits.empty()) {
        showChart(QStringLiteral("当前计划命中率走势"), plan.hits, plan.chance);
    }
}

void PlanStatsWindow::showChart(const QString& title, const std::vector<bool>& hits,
                                double chance) {
    m_chart->showRecord(title, hits, chance);
    m_strip->setHits(hits);
}

} // namespace zuohao::gui
