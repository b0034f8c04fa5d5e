// The main window's life: load, first activation, closing, the lottery tabs, the draw file of
// each lottery and the reaction to new draws of the active lottery.
#include "gui/app/LotteryForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/model/Captions.h"
#include "core/model/NumberTables.h"
#include "gui/acquire/DemoFeed.h"
#include "gui/acquire/ServerTime.h"
#include "gui/app/ArchiveLink.h"
#include "gui/app/FeedLog.h"
#include "gui/app/NotifyLink.h"
#include "gui/app/RefreshCycle.h"
#include "gui/app/TabStrip.h"
#include "gui/app/TransferCountdown.h"
#include "gui/app/WorkKeeper.h"
#include "gui/common/DrawSources.h"
#include "gui/common/LastingNote.h"
#include "gui/common/QtText.h"
#include "gui/common/Settings.h"
#include "gui/common/WorkGate.h"
#include "gui/display/HistoryGrid.h"
#include "gui/display/PlanDisplay.h"
#include "gui/display/PlanStatsWindow.h"
#include "gui/lotteries/LotterySettingsWindow.h"
#include "gui/making/MakingPanel.h"
#include "gui/monitor/JianKongForm.h"
#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/HandPicker.h"

// Resources of a static library are registered by hand.
static void initAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace zuohao::gui {

namespace {
// The history grid at start-up: its header row and a row for each draw a lottery holds.
constexpr int kStartUpGridRows = 1 + int(kHeldDraws);

// The user's own copy of the fixed initialisation file (none for a file given by --ini).
QString userIniCopy(const AppOptions& options, const QString& iniPath) {
    if (!options.iniCopyPath.isEmpty()) return options.iniCopyPath;
    return iniPath == DefaultIniPath() ? UserIniPath() : QString();
}
} // namespace

LotteryForm::LotteryForm(const AppOptions& options, QWidget* parent)
    : QMainWindow(parent), m_options(options) {
    initAppResources();
    setObjectName(QStringLiteral("LotteryForm"));
    setWindowTitle(QStringLiteral("做号计划 zuohao"));
    m_iniPath = options.iniPath.isEmpty() ? DefaultIniPath() : options.iniPath;
    m_time = std::make_unique<TimeService>(options.timeUrl);
    m_feedLog = std::make_unique<FeedLog>(options.feedLog);
    m_windowLink = DesktopWindowLink::create();
    m_form.RedrawPlanDisplay = [this] { RedrawPlanDisplay(); };
    m_form.ShowLabelTxt = [this](const QString& t) { ShowLabelTxt(t); };
    m_form.ForgetPickedWindow = [this](int k) { m_countdown->forgetPick(k); };
    m_form.ShowMonitor = [this] { m_jianKong->Kasi(); };
    m_desk = std::make_unique<LotteryDesk>(
        [this] { return m_archive ? toStd(m_archive->path()) : std::string(); },
        std::chrono::milliseconds(options.pollMs));
    m_desk->setStoreFirst([this](const QString& path) { return storeDrawPath(path); });
    buildWindow();
    m_cycle = std::make_unique<RefreshCycle>(*this);
    m_countdown = std::make_unique<TransferCountdown>(*this);
    wire();
    wireRefresh();
    Form_Load();
}

LotteryForm::~LotteryForm() {
    // The path box loses the focus as the window goes: its end of editing must not call back
    // into a window whose parts are gone.
    m_zelkc->disconnect(this);
}

QTimer* LotteryForm::timerGetHwnd() const {
    return m_form.ActiveCls ? m_countdown->timerOf(*m_form.ActiveCls) : nullptr;
}

LotteryClass& LotteryForm::Lotteries(int index) {
    return m_desk->lottery(index);
}

void LotteryForm::Form_Load() {
    m_picture4->setEnabled(false);
    // The delay, normalised and stored back by the delay box's own change behaviour.
    m_panel->setDelay(ParseDelay(ReadDelaySetting()));
    m_panel->setCountdown(m_form.Yanchi);
    const QPixmap meng(QStringLiteral(":/app/meng.png"));
    if (!meng.isNull()) m_mengImage->setPixmap(meng); // a missing picture is not fatal
    // The lotteries of the list, each with its draw file.
    const QString listPath =
        m_options.lotteryListPath.isEmpty() ? DefaultLotteryListPath() : m_options.lotteryListPath;
    const QString userCopy = userIniCopy(m_options, m_iniPath);
    const QString setAside = m_desk->load({listPath, m_iniPath, userCopy});
    // The status line is rewritten at once (and every refresh): these stay till read.
    if (!setAside.isEmpty()) m_lastingNote->showNote(setAside);
    BuildNumberTables();
    BuildLotteryMenu();
    m_form.ActiveCls = &Lotteries(0);
    if (m_options.demo) {
        m_demo = new DemoFeed(m_options.demoInterval, this);
        if (m_demo->start()) {
            m_desk->overrideFirstDrawFile(m_demo->path());
            m_panel->setPlanPrompt(DemoPrompt(m_options.demoInterval));
        } else
            ShowLabelTxt(QStringLiteral("演示开奖文件无法写入"));
    } else if (!m_options.drawFile.isEmpty()) {
        m_desk->overrideFirstDrawFile(m_options.drawFile);
    } else if (const QString readFrom = IniReadPath(m_iniPath, userCopy); readFrom != m_iniPath) {
        m_lastingNote->showNote(SettingsInUserCopyText(readFrom));
    }
    m_grid->PrepareHistoryGrid(kStartUpGridRows, m_desk->name(0), QStringLiteral(" 万千百"));
    LayoutConditionsPanel();
    m_panel->setAutoMaking(true);
    m_panel->WeiOption_Click(9);
    m_selectedIndex = -1;
    MenuItemLabel_Click(0);
    m_jianKong->prepareAtStartUp(); // hidden; its lists start from valid entries
    Lotteries(0).monitor().SavedStart = StartButton::Start;
    m_archive = ArchiveLink::attach(
        *this, m_options, m_demo,
        [this](const std::string& lottery) {
            const auto i = m_desk->registry().find(lottery);
            return i ? toStd(m_desk->drawFile(*i)) : std::string();
        },
        m_luJing);
    // The analyses read the archive, then the draws read since.
    const auto archivePath = [this] {
        return m_archive ? toStd(m_archive->path()) : std::string();
    };
    m_planStats->setDrawSource(DrawSourceOf(archivePath, [this] { return m_form.ActiveCls; }));
    m_jianKong->setDrawSource(DrawSourceOf(archivePath, [this] { return m_jianKong->lottery(); }));
    m_notify = std::make_unique<NotifyLink>(*this);
    m_work = std::make_unique<WorkKeeper>(
        *this, m_options.workPath.isEmpty() ? DefaultSavedWorkPath() : m_options.workPath);
    m_work->restore();
    buildKeyboard();
}

QString DemoPrompt(double intervalSeconds) {
    return QStringLiteral("演示：稍后开出第一期，之后每 %1 秒一期。勾选走势表上方的列、点胆码或"
                          "粘贴杀号，再点“开始缩水”：计划每期的结果写在这里。")
        .arg(intervalSeconds);
}

void LotteryForm::Form_Activate() {
    if (m_form.IsActivated || m_activating) return;
    m_activating = true; // the file dialog the history load may open runs an event loop
    loadHistory(Lotteries(0), AskForFile::Yes);
    // The other lotteries with a draw file load theirs without asking.
    for (int i = 1; i < m_desk->count(); ++i)
        if (m_desk->hasSource(i)) loadHistory(Lotteries(i), AskForFile::No);
    m_form.IsActivated = true;
    m_activating = false;
    m_getNewTimer->setInterval(m_options.pollMs);
    m_getNewTimer->start();
}

void LotteryForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_form.IsActivated) QTimer::singleShot(0, this, &LotteryForm::Form_Activate);
}

bool LotteryForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !m_form.IsActivated)
        QTimer::singleShot(0, this, &LotteryForm::Form_Activate);
    return QMainWindow::event(event);
}

QString LotteryForm::storeDrawPath(const QString& path) {
    // The demo's own file is never stored as the betting program's file.
    if (m_options.demo) return {};
    // A failed write of the fixed file goes to the user's own copy; one that goes nowhere
    // leaves the old file untouched and says so. Stored as the old program and its peers write
    // it (C:\...), whatever was typed.
    const IniWriteResult written =
        WriteIniWithFallback(kIniSection, kIniKey, QDir::toNativeSeparators(path), m_iniPath,
                             userIniCopy(m_options, m_iniPath));
    if (!written.ok) return SettingsNotSavedText(written);
    if (written.path != m_iniPath) m_lastingNote->showNote(SettingsInUserCopyText(written.path));
    return {};
}

void LotteryForm::Form_QueryUnload() {
    m_panel->commitDelay(); // a delay still being typed is kept
    saveWork();
    if (const QString note = storeDrawPath(m_desk->drawFile(0)); !note.isEmpty())
        ShowLabelTxt(note);
    m_getNewTimer->stop();
    m_time->cancel(); // a refresh waiting for the time service ends here
    m_countdown->stopAll();
    m_jianKong->close();
}

void LotteryForm::closeEvent(QCloseEvent* event) {
    // Kept running in the tray: the window only hides, the refresh and the monitor go on.
    if (m_notify && m_notify->keepRunningOnClose()) {
        event->ignore();
        hide();
        return;
    }
    Form_QueryUnload();
    event->accept();
    QApplication::quit();
}

void LotteryForm::ActiveCls_OnLotteryRefresh() {
    LotteryClass& lot = *m_form.ActiveCls;
    m_picture4->setEnabled(lot.hasHistory());
    RedrawPlanDisplay();
    m_panel->ShowFormSet();
    if (!m_form.IsActivated || !lot.hasPlan()) return;
    m_countdown->begin(lot);
}

void LotteryForm::BuildLotteryMenu() {
    QStringList names;
    QStringList tips;
    for (int i = 0; i < m_desk->count(); ++i) {
        names << m_desk->name(i);
        tips << noSourceTip(i);
    }
    m_tabs->setTabs(names, tips);
}

QString LotteryForm::noSourceNote(int index) const {
    if (index < 0 || m_desk->hasSource(index)) return {};
    return QStringLiteral("%1还没有开奖文件（在它的标签上点“取路径”选择）")
        .arg(m_desk->name(index));
}

QString LotteryForm::noSourceTip(int index) const {
    if (index < 0 || m_desk->hasSource(index)) return {};
    return QStringLiteral("%1还没有开奖文件：点选此标签，再点“取路径”选择投注程序为%1写入的"
                          "开奖文本（也可在“彩票设置”里填写），%1的开奖就会读入")
        .arg(m_desk->name(index));
}

void LotteryForm::MenuItemLabel_Click(int index) {
    if (index == m_selectedIndex || index < 0 || index >= m_desk->count()) return;
    m_selectedIndex = index;
    m_tabs->highlight(index);
    m_form.ActiveCls = &Lotteries(index);
    // The kill lists, extra digits, hands and countdown shown are the chosen lottery's own.
    m_countdown->showShown();
    showDrawFile();
    if (m_form.ActiveCls->hasHistory()) {
        ShowLabelTxt(QStringLiteral("正在写入数据,请稍后......"));
        RedrawPlanDisplay();
    }
    m_panel->ShowFormSet();
    // The base set and the plan shown are the chosen lottery's own.
    const LotteryClass& lot = *m_form.ActiveCls;
    m_panel->showBaseSet();
    m_panel->setPlanText(lot.hasPlan() && lot.newestDraw() ? toQ(lot.newestDraw()->PlanTxt())
                                                           : QString());
    const QString note = noSourceNote(index);
    const QString alarm = m_cycle->alarmNote(lot);
    ShowLabelTxt(QStringLiteral("最后刷新时间:  ") +
                 TimeService::LocalStatusTime(QDateTime::currentDateTime()) +
                 (note.isEmpty() ? QString() : QStringLiteral("    ") + note) +
                 (alarm.isEmpty() ? QString() : QStringLiteral("    ") + alarm));
}

void LotteryForm::RedrawPlanDisplay() {
    // The block titles carry the caption of the position option shown.
    const int w = m_form.CurWei;
    const QString plan = zuohao::gui::RedrawPlanDisplay(
        *m_grid, *m_form.ActiveCls,
        PlanDisplayOptions{w, m_panel->weiCaption(w), m_form.KillTextBusy});
    m_panel->setPlanText(plan);
    m_jianKong->Kasi();
}

void LotteryForm::JianKongCmd_Click() {
    m_jianKong->Kasi();
    m_jianKong->show();
    m_jianKong->raise();
}

void LotteryForm::ShowLabelTxt(const QString& text) {
    m_showLabel->setText(text);
    m_showLabel->setToolTip(text); // the whole text where the line is too narrow for it
    // Shown with the window's next paint: no work holds the event loop for long, and a paint
    // forced here would paint the whole window (the grid just redrawn with it) inside the step.
    m_showLabel->update();
}

void LotteryForm::showDrawFile() {
    m_zelkc->setText(m_desk->drawFile(m_selectedIndex));
    m_tabs->setTip(m_selectedIndex, noSourceTip(m_selectedIndex));
    // 彩票设置, when open, shows a file chosen on a tab too (its next change builds on it).
    if (m_lotterySettings && !(m_lotterySettings->registry() == m_desk->registry()))
        m_lotterySettings->setRegistry(m_desk->registry());
}

void LotteryForm::drawFileTyped(const QString& text) {
    // Lottery 0 reads what is typed from the next poll on (kept at closing, as always); another
    // lottery takes its file when the typing ends, and keeps it in the list.
    if (m_selectedIndex == 0) (void)m_desk->setDrawFile(0, text, false);
}

void LotteryForm::LuJing_Click() {
    const int index = m_selectedIndex;
    std::optional<QString> name = askOpenFileName(this, m_desk->drawFile(index));
    if (!name) return;
    // The demo's own file is never stored as the betting program's file.
    const QString note = m_desk->setDrawFile(index, *name, !(m_options.demo && index == 0));
    if (!note.isEmpty()) ShowLabelTxt(note);
    showDrawFile();
    loadHistory(Lotteries(index), AskForFile::Yes);
}

} // namespace zuohao::gui
