// 计划统计: layout, wiring, the plans' records and the pictures.
#include "gui/display/PlanStatsWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <array>

#include "core/acquire/LotteryClass.h"
#include "gui/common/BackgroundWork.h"
#include "gui/common/Fonts.h"
#include "gui/display/PlanStatsCharts.h"
#include "gui/display/WrapLabel.h"

namespace zuohao::gui {

namespace {
constexpr int kMaxDraws = 1000000;
constexpr int kFontSize = 10;
constexpr int kNoteFontSize = 9;
// Lines a backtest's basis keeps room for, however long its conditions.
constexpr int kBasisLines = 3;
// The width at which the room of a backtest's full figures is measured.
constexpr int kNarrowColumn = 360;
constexpr QSize kPreferredSize(1280, 720);

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

// A line telling what a figure was computed from: small, grey, wrapped, every line kept
// however tight the column (two at least, so that the layout does not jump).
QLabel* newNote(QWidget* parent, const QString& name, int minLines = 2) {
    auto* l = new WrapLabel(parent, minLines);
    l->setObjectName(name);
    l->setFont(ChineseFont(kNoteFontSize));
    l->setStyleSheet(QStringLiteral("color: #555;"));
    return l;
}

QLabel* newFigures(QWidget* parent, const QString& name, const QString& text, int minLines = 1) {
    auto* l = new WrapLabel(parent, minLines);
    l->setObjectName(name);
    l->setTextFormat(Qt::RichText);
    l->setText(text);
    return l;
}
} // namespace

PlanStatsWindow::PlanStatsWindow(std::function<LotteryClass*()> active, QWidget* parent)
    : QWidget(parent, Qt::Window), m_active(std::move(active)), m_work(new BackgroundWork(this)),
      m_engine(std::make_shared<PlanStatsEngine>()) {
    setObjectName(QStringLiteral("PlanStatsWindow"));
    setWindowTitle(QStringLiteral("计划统计"));
    buildControls();
    wireSignals();
}

// The worker stops (its running job at its next look) before the window's state goes.
PlanStatsWindow::~PlanStatsWindow() {
    delete m_work;
}

LotteryClass* PlanStatsWindow::active() const {
    return m_active ? m_active() : nullptr;
}

void PlanStatsWindow::buildControls() {
    setFont(ChineseFont(kFontSize));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // A small screen scrolls the window's content instead of cutting it off.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);
    auto* columns = new QHBoxLayout(content);
    columns->addWidget(buildPlansColumn(), 3);
    columns->addWidget(buildTablesColumn(), 2);
    m_conditionsLook = new QTimer(this);
    m_conditionsLook->setInterval(kConditionsLookMs);
    fitToScreen();
}

QWidget* PlanStatsWindow::buildPlansColumn() {
    auto* column = new QWidget(this);
    auto* left = new QVBoxLayout(column);
    left->setContentsMargins(0, 0, 0, 0);
    auto* running = new QGroupBox(QStringLiteral("当前计划"), column);
    auto* runningBox = new QVBoxLayout(running);
    m_running = newFigures(running, QStringLiteral("RunningFigures"), QString());
    runningBox->addWidget(m_running);
    left->addWidget(running);
    m_endedBox = new QGroupBox(column);
    m_endedBox->setObjectName(QStringLiteral("EndedPlan"));
    auto* endedBox = new QVBoxLayout(m_endedBox);
    m_ended = newFigures(m_endedBox, QStringLiteral("EndedFigures"), QString());
    endedBox->addWidget(m_ended);
    m_endedBox->hide();
    left->addWidget(m_endedBox);

    auto* chartHead = new QHBoxLayout;
    m_chartSource = newNote(column, QStringLiteral("ChartSource"));
    chartHead->addWidget(m_chartSource, 1);
    m_rateView = new QComboBox(column);
    m_rateView->setObjectName(QStringLiteral("RateView"));
    m_rateView->addItem(QStringLiteral("最近%1期走势").arg(RollingRateChart::kRecentShown));
    m_rateView->addItem(QStringLiteral("每日命中率"));
    m_rateView->setToolTip(QStringLiteral("长期记录按日看命中率与理论值；最近几百期看滚动命中率"));
    chartHead->addWidget(m_rateView);
    left->addLayout(chartHead);
    m_chart = new RollingRateChart(column);
    m_chart->setObjectName(QStringLiteral("RollingRateChart"));
    left->addWidget(m_chart, 2);
    left->addWidget(new QLabel(QStringLiteral("最近100期（红为中，灰为挂）"), column));
    m_strip = new HitStrip(column);
    m_strip->setObjectName(QStringLiteral("HitStrip"));
    left->addWidget(m_strip);
    left->addWidget(buildBacktestBox());
    return column;
}

QWidget* PlanStatsWindow::buildBacktestBox() {
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
    // The button right after the fixed controls: nothing its row holds changes width.
    m_runCmd = new QPushButton(QStringLiteral("开始回测"), backtest);
    m_runCmd->setObjectName(QStringLiteral("BacktestCmd"));
    controls->addWidget(m_runCmd);
    controls->addStretch(1);
    backtestBox->addLayout(controls);
    auto* progressRow = new QHBoxLayout;
    m_progress = new QProgressBar(backtest);
    m_progress->setObjectName(QStringLiteral("BacktestProgress"));
    m_progress->setRange(0, 100);
    m_cancelCmd = new QPushButton(QStringLiteral("取消"), backtest);
    m_cancelCmd->setObjectName(QStringLiteral("BacktestCancel"));
    progressRow->addWidget(m_progress, 1);
    progressRow->addWidget(m_cancelCmd);
    // Hidden, they keep their room: the box and its buttons stay where they are.
    for (QWidget* w : {static_cast<QWidget*>(m_progress), static_cast<QWidget*>(m_cancelCmd)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
        w->hide();
    }
    backtestBox->addLayout(progressRow);
    m_backtest =
        newFigures(backtest, QStringLiteral("BacktestFigures"), QStringLiteral("尚未回测"));
    backtestBox->addWidget(m_backtest);
    m_backtestBasis = newNote(backtest, QStringLiteral("BacktestBasis"), kBasisLines);
    backtestBox->addWidget(m_backtestBasis);
    // The box keeps the room of a full result at a narrow column: a run, its result or a word
    // in their place never changes its height, and as it sits at the column's foot its
    // buttons never move.
    PlanFigures widest;
    widest.stats.periods = widest.stats.hits = widest.stats.longestMissRun = kMaxDraws;
    m_backtest->setText(QStringLiteral("按自动做号回测，跳过无效或重复开奖 %1 期").arg(kMaxDraws) +
                        FiguresHtml(widest));
    m_backtestBasis->setText(QString(kNarrowColumn / kNoteFontSize, QChar(0x671F)));
    backtest->setMinimumHeight(backtest->sizeHint().height());
    m_backtest->setText(QStringLiteral("尚未回测"));
    m_backtestBasis->clear();
    return backtest;
}

QWidget* PlanStatsWindow::buildTablesColumn() {
    auto* column = new QWidget(this);
    auto* right = new QVBoxLayout(column);
    right->setContentsMargins(0, 0, 0, 0);
    m_histogram = new MissRunHistogram(column);
    m_histogram->setObjectName(QStringLiteral("MissRunHistogram"));
    right->addWidget(m_histogram, 2);
    right->addWidget(new QLabel(QStringLiteral("杀错率（每个条件单独计算）"), column));
    m_killBasis = newNote(column, QStringLiteral("KillBasis"));
    right->addWidget(m_killBasis);
    m_killTable =
        newTable(column, QStringLiteral("KillTable"),
                 {QStringLiteral("条件"), QStringLiteral("设置"), QStringLiteral("杀错次数"),
                  QStringLiteral("实际杀错率"), QStringLiteral("理论杀错率")});
    // The counts (up to a million draws) keep their width; the settings take what is left.
    for (int c : {0, 2, 3, 4})
        m_killTable->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    right->addWidget(m_killTable, 2);
    right->addWidget(new QLabel(
        QStringLiteral("连挂风险：连挂 k 期以上在未来 100/500/1440 期内出现的理论机会"), column));
    m_riskNote = newNote(column, QStringLiteral("RiskNote"));
    right->addWidget(m_riskNote);
    m_riskTable =
        newTable(column, QStringLiteral("RiskTable"),
                 {QStringLiteral("连挂期数"), QStringLiteral("100期内"), QStringLiteral("500期内"),
                  QStringLiteral("1440期内"), QStringLiteral("连挂成本(注)")});
    right->addWidget(m_riskTable, 3);
    return column;
}

// The preferred size where the screen has room; on a smaller screen its available area.
void PlanStatsWindow::fitToScreen() {
    const QScreen* s = screen();
    if (!s) {
        resize(kPreferredSize);
        return;
    }
    const QRect avail = s->availableGeometry();
    // Room for the window frame, which the window system adds around the client area.
    const QSize frame(16, 40);
    const QSize size = kPreferredSize.boundedTo(avail.size() - frame);
    resize(size);
    move(avail.center() - QPoint(size.width() / 2, size.height() / 2 + frame.height() / 4));
}

void PlanStatsWindow::wireSignals() {
    connect(m_runCmd, &QPushButton::clicked, this, &PlanStatsWindow::startBacktest);
    connect(m_cancelCmd, &QPushButton::clicked, this, &PlanStatsWindow::cancelBacktest);
    connect(m_work, &BackgroundWork::progress, this, &PlanStatsWindow::backtestProgress);
    connect(m_conditionsLook, &QTimer::timeout, this, &PlanStatsWindow::lookAtConditions);
    connect(m_drawCount, &QSpinBox::valueChanged, this, &PlanStatsWindow::lookAtConditions);
    connect(m_rateView, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_viewChosen = true;
        m_chart->setView(index == 0 ? RollingRateChart::View::Recent
                                    : RollingRateChart::View::Daily);
    });
}

void PlanStatsWindow::setDrawSource(DrawSourceFn source) {
    m_source = std::move(source);
}

void PlanStatsWindow::showAndRaise() {
    show();
    raise();
    activateWindow();
}

bool PlanStatsWindow::busy() const {
    for (int lane = 0; lane < BackgroundWork::kLanes; ++lane)
        if (m_work->busy(lane)) return true;
    return false;
}

void PlanStatsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_conditionsLook->start();
    absorbPlans();
    postPlanFigures();
    lookAtConditions();
    fillRiskTable();
}

void PlanStatsWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_conditionsLook->stop();
}

void PlanStatsWindow::drawsChanged() {
    // The plans' lines are collected and the draws handed on at every draw, shown or not.
    absorbPlans();
    forwardDraws();
    if (!isVisible()) return;
    lookAtConditions();
    fillRiskTable();
}

void PlanStatsWindow::absorbPlans() {
    LotteryClass* lot = active();
    if (lot && m_plans.absorb(*lot) && isVisible()) postPlanFigures();
}

// The chance figures of a long record take a moment: computed on the worker.
void PlanStatsWindow::postPlanFigures() {
    struct Copy {
        std::uint64_t number;
        std::string startQi;
        PlanTally tally;
        int space;
    };
    const auto copyOf = [](const std::optional<PlanWatch::Record>& r) -> std::optional<Copy> {
        if (!r) return std::nullopt;
        return Copy{r->number, r->startQi, r->tally, r->spaceSize};
    };
    m_work->post(PlansLane,
                 [this, running = copyOf(m_plans.running()), ended = copyOf(m_plans.ended())](
                     const RunControl& control) -> BackgroundWork::Apply {
                     std::array<std::optional<RecordFigures>, 2> out;
                     const std::array<const std::optional<Copy>*, 2> in{&running, &ended};
                     for (std::size_t i = 0; i < in.size(); ++i) {
                         const std::optional<Copy>& c = *in[i];
                         if (!c) continue;
                         auto f = FiguresOf(c->tally, c->space, control);
                         if (!f) return {}; // superseded by newer figures
                         out[i] = RecordFigures{c->number, c->startQi, std::move(f).value()};
                     }
                     return [this, out = std::move(out)] {
                         m_runningFigures = out[0];
                         m_endedFigures = out[1];
                         showPlans();
                         showCharts();
                     };
                 });
}

const PlanFigures* PlanStatsWindow::figuresOf(const std::optional<PlanWatch::Record>& record,
                                              const std::optional<RecordFigures>& figures) const {
    if (!record || !figures || figures->number != record->number ||
        figures->startQi != record->startQi ||
        figures->figures.stats.periods != record->tally.periods())
        return nullptr;
    return &figures->figures;
}

void PlanStatsWindow::showPlans() {
    const auto& running = m_plans.running();
    m_running->setText(
        RunningPlanHtml(running ? &*running : nullptr, figuresOf(running, m_runningFigures)));
    const PlanFigures* ended = figuresOf(m_plans.ended(), m_endedFigures);
    m_endedBox->setVisible(ended != nullptr);
    if (!ended) return;
    m_endedBox->setTitle(EndedPlanTitle(*ended));
    m_ended->setText(ended->stats.periods > 0 ? FiguresHtml(*ended) : QString());
}

// The pictures show the backtest once there is one (the longer record), else the running
// plan, else the plan that ended last; each says which.
void PlanStatsWindow::showCharts() {
    const PlanFigures* f = nullptr;
    QString source, title;
    bool stale = false;
    if (m_backtestView) {
        f = &m_backtestView->figures;
        const LotteryClass* lot = active();
        stale = lot && !BasisMatches(m_backtestView->basis, lot->formSet());
        title = QStringLiteral("回测命中率走势");
        source = QStringLiteral("回测｜") + BasisText(m_backtestView->basis, stale);
    } else if ((f = figuresOf(m_plans.running(), m_runningFigures))) {
        title = QStringLiteral("当前计划命中率走势");
        source = QStringLiteral("当前计划｜") +
                 RangeText(f->firstPeriod, f->lastPeriod, std::size_t(f->stats.periods));
    } else if ((f = figuresOf(m_plans.ended(), m_endedFigures))) {
        title = QStringLiteral("上一个计划命中率走势");
        source = QStringLiteral("上一个计划｜") +
                 RangeText(f->firstPeriod, f->lastPeriod, std::size_t(f->stats.periods));
    }
    if (!f) {
        m_chartSource->setText(QStringLiteral("图表：暂无计划或回测结果"));
        m_chart->clearRecord(QStringLiteral("命中率走势"));
        m_strip->setHits({});
        m_histogram->showClasses({}, false);
        return;
    }
    m_chartSource->setText(QStringLiteral("图表来自：") + source);
    m_chart->showRecord(title, *f, stale);
    if (!m_viewChosen) {
        const auto view = RollingRateChart::naturalView(*f);
        const QSignalBlocker block(m_rateView);
        m_rateView->setCurrentIndex(view == RollingRateChart::View::Recent ? 0 : 1);
        m_chart->setView(view);
    }
    m_strip->setHits(f->recent, stale);
    m_histogram->showClasses(f->runClasses, stale);
}

} // namespace zuohao::gui
