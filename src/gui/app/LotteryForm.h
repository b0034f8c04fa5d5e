#pragma once
// The main window: lottery tabs, status line, the history grid, the conditions panel and
// base-set box, the picked windows and the monitor window. The window builds its controls and
// wires them; the work is done by its managers: the lotteries and their draw files
// (LotteryDesk), the tabs (TabStrip), the refresh of every lottery (RefreshCycle), the kept work
// (WorkKeeper) and the delayed transfer (TransferCountdown).
#include <QMainWindow>
#include <memory>
#include <string>

#include "core/acquire/LotteryClass.h"
#include "core/model/MonitorState.h"
#include "gui/app/Application.h"
#include "gui/app/HelpWindow.h"
#include "gui/app/LotteryDesk.h"
#include "gui/app/RefreshRouter.h"
#include "gui/common/SavedWork.h"
#include "gui/making/FormState.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace zuohao::gui {

class ArchiveLink;
class DemoFeed;
class FeedLog;
class HandPicker;
class HistoryGrid;
class JianKongForm;
class LastingNote;
class MakingPanel;
class NotifyLink;
class PlanStatsWindow;
class TimeService;
class DesktopWindowLink;
class LotterySettingsWindow;
class RefreshCycle;
class TabStrip;
class TransferCountdown;
class WorkKeeper;

// What the plan box says in a demo before a plan starts.
QString DemoPrompt(double intervalSeconds);

class LotteryForm : public QMainWindow {
    Q_OBJECT
public:
    explicit LotteryForm(const AppOptions& options, QWidget* parent = nullptr);
    ~LotteryForm() override;

    // The lottery of tab `index` (alive till the list drops it).
    LotteryClass& Lotteries(int index);
    int lotteryCount() const { return m_desk->count(); }
    LotteryDesk& desk() { return *m_desk; }
    LotteryClass* ActiveCls() const { return m_form.ActiveCls; }
    // The first lottery's monitor (each lottery has its own: LotteryClass::monitor()).
    MonitorState& monitorState() { return Lotteries(0).monitor(); }
    FormState& formState() { return m_form; }
    MakingPanel* makingPanel() const { return m_panel; }
    HistoryGrid* historyGrid() const { return m_grid; }
    JianKongForm* jianKongForm() const { return m_jianKong; }
    HandPicker* handPicker() const { return m_hands; }
    TabStrip* tabStrip() const { return m_tabs; }
    QTimer* getNewTimer() const { return m_getNewTimer; }
    QPushButton* drawFileLink() const { return m_fileLink; }
    // The shown lottery's countdown (each lottery counts down its own).
    QTimer* timerGetHwnd() const;
    ArchiveLink* archiveLink() const { return m_archive.get(); }
    int SelectedIndex() const { return m_selectedIndex; }
    NotifyLink* notifyLink() const { return m_notify.get(); }
    LastingNote* lastingNote() const { return m_lastingNote; }
    // 彩票设置, made on first use.
    LotterySettingsWindow* lotterySettings();
    void showLotterySettings();
    // Takes a new lottery list: kept, then tabs and lotteries follow it.
    void applyLotteryList(const LotteryRegistry& registry);
    // The player's work as it is now, and as kept in its file (written a moment after each
    // change and at closing).
    SavedWork currentWork() const;
    void saveWork();

    void ShowLabelTxt(const QString& text);
    void MenuItemLabel_Click(int index);
    void GetNewTimer_Timer();
    // Whether a refresh tick has begun and not yet ended (it may wait for the time service).
    bool refreshUnderWay() const;
    void LuJing_Click(); // 路径: choose the active lottery's draw file and reload its history
    void RedrawPlanDisplay();
    void JianKongCmd_Click();
    // One step of the shown lottery's delayed transfer (TimerGetHwnd tick).
    void TimerGetHwnd_Timer();
    // Reads the window hand `index` has just picked for the shown lottery.
    void CaptureFromHand(int index, quint64 handle);

    // The one way a lottery's refresh or history load reaches the windows (in the router's
    // order: notifier, archive, feed log, sound, redraw).
    void routeRefresh(LotteryClass& lottery, const RefreshEvents& events);
    RefreshRouter& refreshRouter() { return m_router; }
    // Why the lottery of tab `index` shows no draws (it has no draw file); empty when it has.
    QString noSourceNote(int index) const;

signals:
    // A refresh has ended and its status is shown.
    void refreshShown();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    friend class RefreshCycle;
    friend class TransferCountdown;
    friend class WorkKeeper;

    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload();
    void ActiveCls_OnLotteryRefresh();
    void BuildLotteryMenu();
    QString noSourceTip(int index) const; // the same, told at length for the tab's tooltip
    void LayoutConditionsPanel();
    void buildWindow();
    QWidget* buildTabStrip(QWidget* parent);
    QWidget* buildWorkArea(QWidget* parent);
    void buildHelpLinks();
    void buildTimersAndMonitor();
    void fitScreen();
    // The Tab order along the panel, the shortcuts and the controls' accessible names.
    void buildKeyboard();
    void showHelp(HelpWindow::Page page);
    void wire();
    // The path box shows the active lottery's draw file.
    void showDrawFile();
    // The player typed a path: lottery 0 reads it from now on (kept at closing); another
    // lottery takes it, and keeps it, when the typing ends.
    void drawFileTyped(const QString& text);
    void drawFileEntered();
    // Stores lottery 0's draw file (in the user's copy when the shared file cannot be written);
    // the status-line note, empty when it went as usual.
    QString storeDrawPath(const QString& path);

    // The subscribers of a refresh's events, wired once.
    void wireRefresh();
    // Loads a lottery's history ("正在获取数据..." while it reads) and routes what it did.
    void loadHistory(LotteryClass& lottery, AskForFile ask);
    // After a refresh of `lottery` with new draws: sounds the monitor's alarm for the periods
    // that raised it, names them in the status line and marks the lottery's tab when another
    // is shown.
    void alarmRaised(LotteryClass& lottery, const std::vector<AlarmRaised>& alarms);
    // The redraw after a lottery's draws changed.
    void lotteryRefreshed(LotteryClass* source);
    // A monitor restart that could not run: the reason goes to the status line.
    void monitorRestartSkipped(const QString& reason);

    AppOptions m_options;
    QString m_iniPath;
    RefreshRouter m_router;
    FormState m_form;
    std::unique_ptr<LotteryDesk> m_desk;
    std::unique_ptr<TimeService> m_time;
    std::unique_ptr<DesktopWindowLink> m_windowLink;
    DemoFeed* m_demo = nullptr;
    std::unique_ptr<FeedLog> m_feedLog;
    std::unique_ptr<ArchiveLink> m_archive; // closed before the demo's folder goes
    std::unique_ptr<RefreshCycle> m_cycle;
    std::unique_ptr<WorkKeeper> m_work;
    std::unique_ptr<TransferCountdown> m_countdown;

    int m_selectedIndex = -1;
    bool m_activating = false;

    QWidget* m_menuPic = nullptr;
    TabStrip* m_tabs = nullptr;
    QFrame* m_linePic = nullptr;
    QLabel* m_showLabel = nullptr;
    LastingNote* m_lastingNote = nullptr;
    QWidget* m_picture4 = nullptr;
    QLineEdit* m_zelkc = nullptr;
    QPushButton* m_luJing = nullptr;
    QPushButton* m_fileLink = nullptr;
    QPushButton* m_jianKongCmd = nullptr;
    QPushButton* m_lotteriesCmd = nullptr;
    QLabel* m_mengImage = nullptr;
    HistoryGrid* m_grid = nullptr;
    MakingPanel* m_panel = nullptr;
    HandPicker* m_hands = nullptr;
    JianKongForm* m_jianKong = nullptr;
    QPushButton* m_planStatsCmd = nullptr;
    PlanStatsWindow* m_planStats = nullptr;
    LotterySettingsWindow* m_lotterySettings = nullptr;
    HelpWindow* m_help = nullptr;
    QTimer* m_getNewTimer = nullptr;
    std::unique_ptr<NotifyLink> m_notify; // last: it goes first, while the windows are there
};

} // namespace zuohao::gui
