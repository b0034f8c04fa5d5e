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
#include "gui/monitor/PeriodListModel.h"

namespace zuohao::gui {

namespace {
// Shows `text` in a drop-down list: its entry when the list has one, else nothing.
void selectText(QComboBox* box, const std::string& text) {
    box->setCurrentIndex(box->findText(toQ(text), Qt::MatchExactly));
}

constexpr int kSegmentChoices = 31; // 0 to 30
} // namespace

JianKongForm::JianKongForm(MonitorState& state, std::function<LotteryClass*()> lottery0,
                           std::function<QString()> mainBaseText, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_lottery0(std::move(lottery0)),
      m_mainBaseText(std::move(mainBaseText)) {
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
    top->addLayout(buildSettings());
    top->addLayout(buildSwitches());
    buildPlanBoxes(top);
    buildGrid(top);
    m_grid->setTabKeyNavigation(false); // Tab leaves the grid
    SetTabChain({m_qsCom, m_zhuoQiTxt, m_szCom[0], m_szCom[1], m_szCom[3], m_szCom[2], m_checkSound,
                 m_jiankongCom, m_huiCeCom, m_dadiCom, m_dadiTextBox, m_record, m_grid});
}

// The lock period, the segment length and the four segment settings.
QLayout* JianKongForm::buildSettings() {
    auto* settings = new QGridLayout();
    settings->setHorizontalSpacing(6);
    settings->setVerticalSpacing(4);
    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QString::fromUtf8(name));
        return l;
    };
    auto combo = [this](const QString& name) {
        auto* c = new QComboBox(this);
        c->setObjectName(name);
        c->setEditable(false);
        return c;
    };

    m_label1 = label("Label1", "锁定期数：");
    m_qsCom = combo(QStringLiteral("QSCom"));
    m_qsCom->setMinimumContentsLength(12);
    m_periodModel = new PeriodListModel(m_qsCom);
    m_qsCom->setModel(m_periodModel);
    m_label2 = label("Label2", "分段周期：");
    m_zhuoQiTxt = new QLineEdit(this);
    m_zhuoQiTxt->setObjectName(QStringLiteral("ZhuoQiTxt"));
    m_label3[0] = label("Label3_0", "分段中次数：");
    m_label3[1] = label("Label3_1", "二阶计划：");
    for (int i = 0; i < 4; ++i)
        m_szCom[std::size_t(i)] = combo(QStringLiteral("SZCom_%1").arg(i));

    // What each box means, in the order of `boxes` below.
    const char* tips[] = {
        "锁定期数：从这一期起回放评估（监控进行中不可更改）",
        "分段周期：每段包含的期数；每段结束时在表中画一条线，段内中奖次数重新计算",
        "分段中次数（左）：段内中奖次数不少于此值时才可告警",
        "分段中次数（右）：段内中奖次数不多于此值时才可告警",
        "二阶计划（左）：连挂期数达到此值时触发，满足分段中次数即告警",
        "二阶计划（右）：告警后计划跟进的期数；连挂超过它即不再触发",
    };
    const char* names[] = {"锁定期数",        "分段周期",          "分段中次数 下限",
                           "分段中次数 上限", "二阶计划 触发连挂", "二阶计划 期数"};
    QWidget* boxes[] = {m_qsCom, m_zhuoQiTxt, m_szCom[0], m_szCom[1], m_szCom[3], m_szCom[2]};
    for (std::size_t i = 0; i < std::size(boxes); ++i) {
        boxes[i]->setToolTip(QString::fromUtf8(tips[i]));
        boxes[i]->setAccessibleName(QString::fromUtf8(names[i]));
    }
    m_label3[0]->setToolTip(m_szCom[0]->toolTip() + QLatin1Char('\n') + m_szCom[1]->toolTip());
    m_label3[1]->setToolTip(m_szCom[3]->toolTip() + QLatin1Char('\n') + m_szCom[2]->toolTip());
    m_label2->setToolTip(m_zhuoQiTxt->toolTip());
    m_label1->setToolTip(m_qsCom->toolTip());

    settings->addWidget(m_label1, 0, 0);
    settings->addWidget(m_qsCom, 0, 1, 1, 2);
    settings->addWidget(m_label2, 1, 0);
    settings->addWidget(m_zhuoQiTxt, 1, 1, 1, 2);
    settings->addWidget(m_label3[0], 2, 0);
    settings->addWidget(m_szCom[0], 2, 1);
    settings->addWidget(m_szCom[1], 2, 2);
    // The plan row: trigger value on the left (SZCom(3)), plan length on the right.
    settings->addWidget(m_label3[1], 3, 0);
    settings->addWidget(m_szCom[3], 3, 1);
    settings->addWidget(m_szCom[2], 3, 2);
    settings->setColumnStretch(1, 1);
    settings->setColumnStretch(2, 1);
    return settings;
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
    // A setting is taken when the user picks an entry; lists cleared or filled from code
    // do not overwrite the settings.
    connect(m_qsCom, &QComboBox::activated, this, &JianKongForm::QSComClick);
    for (int i = 0; i < 4; ++i) {
        connect(m_szCom[std::size_t(i)], &QComboBox::activated, this, [this, i] { SZComClick(i); });
    }
    connect(m_zhuoQiTxt, &QLineEdit::textChanged, this, &JianKongForm::ZhuoQiTxtChange);
    connect(m_dadiCom, &QPushButton::clicked, this, &JianKongForm::DadiComClick);
    connect(m_checkSound, &QCheckBox::toggled, this, &JianKongForm::settingsChanged);
}

// ---- Public operations -------------------------------------------------------------

// The list follows the periods held without being rebuilt at every draw: periods dropped at
// the old end are removed, new ones appended. Anything else (a history reload, a rebuilt
// tail) makes it anew, so it never collects repeats.
void JianKongForm::syncPeriodList(const DrawNumbers& periods) {
    m_periodModel->sync(periods);
}

void JianKongForm::Kasi() {
    ensureLoaded();
    m_activeCls = m_lottery0();
    if (m_activeCls && !m_activeCls->LotteryDic_Jiankong.empty()) {
        syncPeriodList(m_activeCls->LotteryDic_Jiankong);
        // The user's lock period stays while it is still among the periods held (new draws
        // must not move it back to the first one); otherwise the first period is taken.
        const int kept = m_qsCom->findText(toQ(m_state.LockPeriod), Qt::MatchExactly);
        if (m_state.Monitoring) {
            selectText(m_qsCom, m_state.LockPeriod);
        } else {
            m_qsCom->setCurrentIndex(kept >= 0 ? kept : 0);
            m_state.LockPeriod = toStd(m_qsCom->currentText());
        }
    }
    // While monitoring, the grid and texts follow the newest evaluation.
    if (m_state.Monitoring) loadStep();
    showOutputs();
}

void JianKongForm::ReashStar() {
    ensureLoaded();
    if (!m_activeCls) m_activeCls = m_lottery0();
    if (!m_activeCls) return;
    const auto r = zuohao::ReashStar(m_state, *m_activeCls, toStd(m_mainBaseText()));
    // An automatic restart (after a draw, a transfer, a reduction) shows no box: nobody
    // clicked, and a box here would stall the refresh. The reason goes to the status line.
    if (!r) {
        showOutputs();
        emit restartSkipped(QStringLiteral("监控未重启：") + toQ(r.error()));
        return;
    }
    afterSwitch(true, {});
}

void JianKongForm::Playsound() {
    std::vector<std::string> periods;
    if (m_state.AlarmSound && !m_state.BaseText().empty() && !m_state.MonitorRows.empty())
        periods.push_back(m_state.MonitorRows.back().first);
    Playsound(periods);
}

void JianKongForm::Playsound(const std::vector<std::string>& alarmPeriods) {
    ensureLoaded();
    // Only while monitoring: switched off, nothing is evaluated and no alarm is due.
    m_state.LastAlarmPeriods = m_state.Monitoring ? alarmPeriods : std::vector<std::string>{};
    showOutputs();
    const bool enabled = m_checkSound->checkState() != Qt::Unchecked;
    const bool due = !m_state.LastAlarmPeriods.empty();
    if (due && enabled) seams().playAlarm();
    if (due) emit alarmRaised(); // the sound switch is the room's; the pushes have their own
}

void JianKongForm::prepareAtStartUp() {
    ensureLoaded();
    for (int i = 0; i < 3; ++i) {
        m_szCom[std::size_t(i)]->setCurrentIndex(1);
        SZComClick(i);
    }
    m_szCom[3]->setCurrentIndex(0);
    SZComClick(3);
    m_state.SavedStart = StartButton::Start;
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
    m_loaded = true;
    // A newly loaded window lets the user choose the lock period.
    m_state.PeriodListEnabled = true;
    loadStep();
}

void JianKongForm::loadStep() {
    for (std::size_t i = 0; i < m_szCom.size(); ++i) {
        QComboBox* box = m_szCom[i];
        box->clear();
        for (int n = 0; n < kSegmentChoices; ++n)
            box->addItem(QString::number(n));
        selectText(box, m_state.SegmentSettings[i]);
    }
    selectText(m_qsCom, m_state.LockPeriod);
    m_zhuoQiTxt->setText(toQ(m_state.SegmentPeriod));
    m_activeCls = m_lottery0();
    LayoutMonitorGrid();
    FillMonitorGrid();
    m_state.Outputs = m_state.SavedOutputs;
    m_state.Start = m_state.SavedStart;
    showOutputs();
    showLog();
}

void JianKongForm::closeStep() {
    m_state.SavedStart = m_state.Start;
    m_state.SavedOutputs = m_state.Outputs;
    m_loaded = false;
}

// ---- Grid --------------------------------------------------------------------------

void JianKongForm::LayoutMonitorGrid() {
    m_gridModel->layout(m_state.GridRowCount);
}

void JianKongForm::FillMonitorGrid() {
    const std::size_t n = m_state.MonitorRows.Count();
    // One row or none: the grid keeps what it shows.
    if (n <= 1) return;
    m_state.GridRowCount = int(std::min(n, kMonitorRowLimit));
    LayoutMonitorGrid();
    const std::size_t first = n > kMonitorRowLimit ? n - kMonitorRowLimit : 0;
    auto it = m_state.MonitorRows.begin();
    std::advance(it, long(first));
    for (int row = 0; it != m_state.MonitorRows.end(); ++it, ++row)
        m_gridModel->setRow(row, MonitorGridRow::fromRow(*it->second));
    m_grid->scrollToBottom();
}

// ---- Shown texts -------------------------------------------------------------------

void JianKongForm::showOutputs() {
    m_planLabel->setText(toQ(m_state.PlanLabelCaption()));
    m_dadiCom->setText(toQ(m_state.CopyButtonCaption()));
    if (m_dadiTextBox->toPlainText() != toQ(m_state.BaseText()))
        m_dadiTextBox->setPlainText(toQ(m_state.BaseText()));
    m_jiankongCom->setText(toQ(m_state.StartCaption()));
    m_qsCom->setEnabled(m_state.PeriodListEnabled);
    m_alarmNote->setText(toQ(AlarmNoteText(m_state.LastAlarmPeriods)));
    m_alarmNote->setVisible(!m_state.LastAlarmPeriods.empty());
}

void JianKongForm::showLog() {
    const QString log = toQ(m_state.LogText());
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
    m_state.SavedStart = m_state.Start;
}

// ---- Handlers ----------------------------------------------------------------------

void JianKongForm::jiankongComClick() {
    if (!m_activeCls) m_activeCls = m_lottery0();
    if (!m_activeCls) return;
    const bool wasOn = m_state.Monitoring;
    const auto r = ToggleMonitoring(m_state, *m_activeCls, toStd(m_mainBaseText()));
    // Switching off changes the button and the period list and clears the alarm and the
    // plan label; the grid stays.
    if (wasOn) {
        keepStartCaption();
        showOutputs();
        return;
    }
    afterSwitch(r.ok(), r.error());
}

void JianKongForm::QSComClick() {
    m_state.LockPeriod = toStd(m_qsCom->currentText());
    emit settingsChanged();
}

void JianKongForm::SZComClick(int index) {
    m_state.SegmentSettings[std::size_t(index)] = toStd(m_szCom[std::size_t(index)]->currentText());
    emit settingsChanged();
}

void JianKongForm::ZhuoQiTxtChange() {
    m_state.SegmentPeriod = toStd(m_zhuoQiTxt->text());
    emit settingsChanged();
}

bool JianKongForm::soundOn() const {
    return m_checkSound->isChecked();
}

void JianKongForm::setSoundOn(bool on) {
    m_checkSound->setChecked(on);
}

void JianKongForm::showSettings() {
    if (!m_loaded) return; // the load step shows them
    for (std::size_t i = 0; i < m_szCom.size(); ++i)
        selectText(m_szCom[i], m_state.SegmentSettings[i]);
    selectText(m_qsCom, m_state.LockPeriod);
    const QSignalBlocker quiet(m_zhuoQiTxt);
    m_zhuoQiTxt->setText(toQ(m_state.SegmentPeriod));
}

void JianKongForm::DadiComClick() {
    const QString base = m_dadiTextBox->toPlainText();
    if (base.isEmpty()) return;
    seams().setClipboardText(base);
}

} // namespace zuohao::gui
