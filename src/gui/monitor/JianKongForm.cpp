#include "gui/monitor/JianKongForm.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "core/acquire/LotteryClass.h"
#include "core/model/Captions.h"
#include "core/monitor/Monitor.h"
#include "gui/common/Keyboard.h"
#include "gui/common/QtText.h"
#include "gui/common/Seams.h"
#include "gui/common/WorkGate.h"
#include "gui/monitor/MonitorGrid.h"
#include "gui/monitor/MonitorSettingsBox.h"

namespace zuohao::gui {

JianKongForm::JianKongForm(LotteryList lotteries, QWidget* parent)
    : QWidget(parent, Qt::Window), m_lotteries(std::move(lotteries)) {
    setWindowTitle(QStringLiteral("做号计划 - 监控"));
    buildControls();
    wireSignals();
}

JianKongForm::~JianKongForm() = default;

void JianKongForm::buildControls() {
    setFont(monitorFont());
    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(8, 8, 8, 8);
    top->setSpacing(6);
    top->addLayout(buildChooser());
    m_settings = new MonitorSettingsBox(state(), this);
    top->addWidget(m_settings);
    top->addLayout(buildSwitches());
    buildPlanBoxes(top);
    buildGrid(top);
    m_grid->setTabKeyNavigation(false); // Tab leaves the grid
    const auto boxes = m_settings->tabOrder();
    QList<QWidget*> chain{m_chooser};
    chain.append(QList<QWidget*>(boxes.begin(), boxes.end()));
    chain << m_checkSound << m_jiankongCom << m_huiCeCom << m_dadiCom << m_dadiTextBox << m_record
          << m_grid;
    SetTabChain(chain);
}

// The sound switch and the start/stop button.
QLayout* JianKongForm::buildSwitches() {
    auto* switches = new QHBoxLayout();
    m_checkSound = new QCheckBox(QStringLiteral("监控音开关"), this);
    m_checkSound->setObjectName(QStringLiteral("CheckSound"));
    m_checkSound->setChecked(true);
    m_checkSound->setToolTip(QStringLiteral("告警时播放提示音"));
    m_jiankongCom = new QPushButton(QString::fromUtf8(kStartCaption), this);
    m_jiankongCom->setObjectName(QStringLiteral("jiankongCom"));
    switches->addWidget(m_checkSound);
    switches->addStretch(1);
    m_jiankongCom->setToolTip(QStringLiteral("按主窗口的大底开始或停止监控"));
    switches->addWidget(m_jiankongCom);
    m_huiCeCom = new QPushButton(QStringLiteral("回测"), this);
    m_huiCeCom->setObjectName(QStringLiteral("HuiCeCom"));
    m_huiCeCom->setToolTip(QStringLiteral("用历史开奖回测当前的监控设置"));
    switches->addWidget(m_huiCeCom);
    m_notifyCom = new QPushButton(QStringLiteral("提醒设置"), this);
    m_notifyCom->setObjectName(QStringLiteral("NotifyCom"));
    switches->addWidget(m_notifyCom);
    return switches;
}

// The running plan: its label, the copy button, its base set, and the log of finished plans.
void JianKongForm::buildPlanBoxes(QBoxLayout* top) {
    m_planLabel = new QLabel(this);
    m_planLabel->setObjectName(QStringLiteral("计划Label"));
    m_planLabel->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0);"));
    top->addWidget(m_planLabel);
    m_alarmNote = new QLabel(this);
    m_alarmNote->setObjectName(QStringLiteral("AlarmNote"));
    m_alarmNote->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0); font-weight: bold;"));
    m_alarmNote->setWordWrap(true);
    top->addWidget(m_alarmNote);

    m_dadiCom = new QPushButton(QString::fromUtf8(kCopyBaseCaption), this);
    m_dadiCom->setObjectName(QStringLiteral("DadiCom"));
    m_dadiCom->setToolTip(QStringLiteral("把告警计划的大底复制到剪贴板"));
    top->addWidget(m_dadiCom);

    auto textBox = [this](const char* name, int lines) {
        auto* t = new QPlainTextEdit(this);
        t->setObjectName(QString::fromUtf8(name));
        t->setReadOnly(true);
        t->setFixedHeight(t->fontMetrics().lineSpacing() * lines + 10);
        return t;
    };
    m_dadiTextBox = textBox("DadiTextBox", 3);
    top->addWidget(m_dadiTextBox);
    m_record = textBox("记录", 4);
    m_record->setPlaceholderText(QStringLiteral("记录"));
    top->addWidget(m_record);
}

// The grid of the last 100 evaluated periods.
void JianKongForm::buildGrid(QBoxLayout* top) {
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("ZSGrid_0"));
    m_gridModel = new MonitorGridModel(m_grid);
    setUpMonitorGridView(m_grid, m_gridModel);
    int gridWidth = 2 * m_grid->frameWidth() + m_grid->verticalScrollBar()->sizeHint().width();
    for (int c = 1; c < MonitorGridModel::kColumns; ++c)
        gridWidth += m_grid->columnWidth(c);
    m_grid->setMinimumWidth(gridWidth);
    m_grid->setMinimumHeight(12 * m_grid->verticalHeader()->defaultSectionSize());
    top->addWidget(m_grid, 1);
}

void JianKongForm::wireSignals() {
    connect(m_jiankongCom, &QPushButton::clicked, this, &JianKongForm::jiankongComClick);
    connect(m_huiCeCom, &QPushButton::clicked, this, &JianKongForm::HuiCeCom_Click);
    connect(m_notifyCom, &QPushButton::clicked, this, &JianKongForm::notifySettingsRequested);
    connect(m_settings, &MonitorSettingsBox::settingsChanged, this, &JianKongForm::settingsChanged);
    connect(m_dadiCom, &QPushButton::clicked, this, &JianKongForm::DadiComClick);
    connect(m_checkSound, &QCheckBox::toggled, this, &JianKongForm::settingsChanged);
    connect(m_chooser, &QComboBox::activated, this, &JianKongForm::chooserPicked);
}

// ---- Public operations -------------------------------------------------------------

void JianKongForm::Kasi() {
    ensureLoaded();
    LotteryClass* lot = current();
    if (lot && !lot->monitorPeriods().empty())
        m_settings->bindPeriods(lot->monitorPeriods(), state().Monitoring);
    // While monitoring, the grid and texts follow the newest evaluation.
    if (state().Monitoring) loadStep();
    showOutputs();
}

void JianKongForm::ReashStar() {
    ensureLoaded();
    LotteryClass* lot = current();
    if (!lot) return;
    const auto r = lot->ReashStar(lot->formSet().DAD);
    // An automatic restart (after a draw, a transfer, a reduction) shows no box: nobody
    // clicked, and a box here would stall the refresh. The reason goes to the status line.
    if (!r) {
        showOutputs();
        emit restartSkipped(QStringLiteral("监控未重启：") + toQ(r.error()));
        return;
    }
    afterSwitch(true, {});
}

void JianKongForm::Playsound(LotteryClass& lottery) {
    const MonitorState& s = lottery.monitor();
    std::vector<std::string> periods;
    if (s.AlarmSound && !s.Outputs.base.empty() && !s.MonitorRows.empty())
        periods.push_back(s.MonitorRows.back().period.text());
    Playsound(lottery, periods);
}

void JianKongForm::Playsound(LotteryClass& lottery, const std::vector<std::string>& alarmPeriods) {
    ensureLoaded();
    MonitorState& s = lottery.monitor();
    // Only while monitoring: switched off, nothing is evaluated and no alarm is due.
    s.LastAlarmPeriods = s.Monitoring ? alarmPeriods : std::vector<std::string>{};
    showOutputs();
    const bool enabled = m_checkSound->checkState() != Qt::Unchecked;
    if (!s.LastAlarmPeriods.empty() && enabled) seams().playAlarm();
}

void JianKongForm::prepareAtStartUp() {
    ensureLoaded();
    m_settings->prepareAtStartUp();
    // Every lottery's monitor starts from the same entries as the first, and so does one the
    // player adds later.
    const MonitorState& chosen = state();
    m_startEntries = chosen.SegmentSettings;
    m_startSegmentPeriod = chosen.SegmentPeriod;
    for (LotteryClass* lot : m_listed)
        if (&lot->monitor() != &chosen) startMonitor(*lot);
    state().SavedStart = StartButton::Start;
}

void JianKongForm::startMonitor(LotteryClass& lottery) {
    MonitorState& m = lottery.monitor();
    m.SegmentSettings = m_startEntries;
    m.SegmentPeriod = m_startSegmentPeriod;
    m.SavedStart = StartButton::Start;
}

// ---- Load and close ----------------------------------------------------------------

void JianKongForm::showEvent(QShowEvent* event) {
    ensureLoaded();
    QWidget::showEvent(event);
}

void JianKongForm::closeEvent(QCloseEvent* event) {
    hide();
    closeStep();
    event->accept();
}

void JianKongForm::ensureLoaded() {
    if (m_loaded) return;
    if (m_chooser->count() == 0) lotteriesChanged();
    m_loaded = true;
    // A newly loaded window lets the user choose the lock period.
    state().PeriodListEnabled = true;
    loadStep();
}

void JianKongForm::loadStep() {
    m_settings->loadStep();
    LayoutMonitorGrid();
    FillMonitorGrid();
    MonitorState& s = state();
    s.Outputs = s.SavedOutputs;
    s.Start = s.SavedStart;
    showOutputs();
    showLog();
}

void JianKongForm::closeStep() {
    MonitorState& s = state();
    s.SavedStart = s.Start;
    s.SavedOutputs = s.Outputs;
    m_loaded = false;
}

// ---- Grid --------------------------------------------------------------------------

void JianKongForm::LayoutMonitorGrid() {
    m_gridModel->layout(state().GridRowCount);
}

void JianKongForm::FillMonitorGrid() {
    MonitorState& s = state();
    const std::size_t n = s.MonitorRows.Count();
    // One row or none: the grid keeps what it shows.
    if (n <= 1) return;
    s.GridRowCount = int(n);
    LayoutMonitorGrid();
    // The rows are rendered here, when the grid is filled, never as they are evaluated.
    int row = 0;
    for (const MonitorRow& r : s.MonitorRows)
        m_gridModel->setRow(row++, MonitorGridRow::fromRow(r));
    m_grid->scrollToBottom();
}

// ---- Shown texts -------------------------------------------------------------------

void JianKongForm::showOutputs() {
    const MonitorState& s = state();
    m_planLabel->setText(toQ(s.PlanLabelCaption()));
    m_dadiCom->setText(toQ(s.CopyButtonCaption()));
    // The plan's base set is rendered when it changes, not at every period.
    if (!(m_shownBase == s.Outputs.base)) {
        m_shownBase = s.Outputs.base;
        m_dadiTextBox->setPlainText(toQ(m_shownBase.text()));
    }
    m_jiankongCom->setText(toQ(s.StartCaption()));
    m_settings->setPeriodListEnabled(s.PeriodListEnabled);
    // Every lottery's standing alarm, the chosen one's first: an alarm of a lottery not shown
    // is seen here too, under its name.
    QStringList notes;
    auto addNote = [&notes](const LotteryClass* lot) {
        const std::string note = AlarmNoteText(lot->name(), lot->monitor().LastAlarmPeriods);
        if (!note.empty()) notes << toQ(note);
    };
    if (m_activeCls) addNote(m_activeCls);
    for (const LotteryClass* lot : m_listed)
        if (lot != m_activeCls) addNote(lot);
    m_alarmNote->setText(notes.join(QLatin1Char('\n')));
    m_alarmNote->setVisible(!notes.isEmpty());
}

void JianKongForm::showLog() {
    const QString log = toQ(state().LogText());
    if (m_record->toPlainText() ==
        QString(log).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
        return;
    m_record->setPlainText(log);
    m_record->verticalScrollBar()->setValue(m_record->verticalScrollBar()->maximum());
}

void JianKongForm::afterSwitch(bool ok, const std::string& error) {
    if (!ok) {
        showOutputs();
        informUser(this, toQ(error));
        return;
    }
    keepStartCaption();
    showOutputs();
    FillMonitorGrid();
    showLog();
}

void JianKongForm::keepStartCaption() {
    // The reload that follows every redraw while monitoring restores the saved caption;
    // saving it at each switch keeps "停止监控" on the button while monitoring runs.
    state().SavedStart = state().Start;
}

// ---- Handlers ----------------------------------------------------------------------

void JianKongForm::jiankongComClick() {
    LotteryClass* lot = current();
    if (!lot) return;
    const bool wasOn = state().Monitoring;
    const auto r = lot->ToggleMonitoring(lot->formSet().DAD);
    // Switching off changes the button and the period list and clears the alarm and the
    // plan label; the grid stays.
    if (wasOn) {
        keepStartCaption();
        showOutputs();
        return;
    }
    afterSwitch(r.ok(), r.error());
}

bool JianKongForm::soundOn() const {
    return m_checkSound->isChecked();
}

void JianKongForm::setSoundOn(bool on) {
    m_checkSound->setChecked(on);
}

void JianKongForm::showSettings() {
    if (!m_loaded) return; // the load step shows them
    m_settings->showSettings();
    showLog();
}

void JianKongForm::DadiComClick() {
    const MonitorState& s = state();
    if (s.Outputs.base.empty()) return;
    seams().setClipboardText(toQ(s.Outputs.base.text()));
}

} // namespace zuohao::gui
