#pragma once
// The main window: lottery tabs, status line, the history grid, the conditions panel and
// base-set box, the picked windows, the refresh cycle and the monitor window.
#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "core/acquire/DrawSource.h"
#include "core/acquire/LotteryClass.h"
#include "core/model/MonitorState.h"
#include "gui/app/Application.h"
#include "gui/app/HelpWindow.h"
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
class TabLabel;
class TimeService;
class DesktopWindowLink;

// What the plan box says in a demo before a plan starts.
QString DemoPrompt(double intervalSeconds);

class LotteryForm : public QMainWindow {
    Q_OBJECT
public:
    explicit LotteryForm(const AppOptions& options, QWidget* parent = nullptr);
    ~LotteryForm() override;

    // The lottery table: created on first use, alive for the whole run.
    LotteryClass& Lotteries(int index);
    LotteryClass* ActiveCls() const { return m_form.ActiveCls; }
    // The first lottery's monitor (each lottery has its own: LotteryClass::monitor()).
    MonitorState& monitorState() { return Lotteries(0).monitor(); }
    FormState& formState() { return m_form; }
    MakingPanel* makingPanel() const { return m_panel; }
    HistoryGrid* historyGrid() const { return m_grid; }
    JianKongForm* jianKongForm() const { return m_jianKong; }
    HandPicker* handPicker() const { return m_hands; }
    QTimer* getNewTimer() const { return m_getNewTimer; }
    QPushButton* drawFileLink() const { return m_fileLink; }
    QTimer* timerGetHwnd() const { return m_timerGetHwnd; }
    ArchiveLink* archiveLink() const { return m_archive.get(); }
    int SelectedIndex() const { return m_selectedIndex; }
    NotifyLink* notifyLink() const { return m_notify.get(); }
    LastingNote* lastingNote() const { return m_lastingNote; }
    // The player's work as it is now, and as kept in its file (written a moment after each
    // change and at closing).
    SavedWork currentWork() const;
    void saveWork();

    void ShowLabelTxt(const QString& text);
    void MenuItemLabel_Click(int index);
    void GetNewTimer_Timer();
    // Whether a refresh tick has begun and not yet ended (it may wait for the time service).
    bool refreshUnderWay() const;
    void LuJing_Click(); // 路径: choose the draw file and reload history
    void RedrawPlanDisplay();
    void JianKongCmd_Click();
    // One step of the delayed transfer (TimerGetHwnd tick).
    void TimerGetHwnd_Timer();
    // Reads the window hand `index` has just picked.
    void CaptureFromHand(int index, quint64 handle);

    // The one way a lottery's refresh or history load reaches the windows (in the router's
    // order: notifier, archive, feed log, sound, redraw).
    void routeRefresh(LotteryClass& lottery, const RefreshEvents& events);
    RefreshRouter& refreshRouter() { return m_router; }

signals:
    // A refresh has ended and its status is shown.
    void refreshShown();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    void Form_QueryUnload();
    void ActiveCls_OnLotteryRefresh();
    void BuildLotteryTable();
    void BuildLotteryMenu();
    // Why the lottery of tab `index` shows no draws (it has no draw source); empty when it has.
    QString noSourceNote(int index) const;
    QString noSourceTip(int index) const; // the same, told at length for the tab's tooltip
    void HighlightMenuItem(int index);
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
    // The steps of a refresh tick: the start sends the time request, the end reads the draws
    // (unless `error`, the request's failure) and writes the status line.
    void startTick();
    void endTick(const QString& error);
    // The end of a tick that read draws: the events go to the notifier, then (at once, or at
    // the event loop's next turn when a request went out) to the rest, and the tick ends.
    void routeTick(LotteryClass& lottery, const RefreshEvents& events);
    // The refresh's last status text, with what the draw feed has to say (red when the file
    // has given nothing usable for a while, with the link that opens the file dialog).
    void showRefreshStatus(const QString& text);

    // The subscribers of a refresh's events, wired once.
    void wireRefresh();
    // Loads a lottery's history ("正在获取数据..." while it reads) and routes what it did.
    void loadHistory(LotteryClass& lottery, AskForFile ask);
    // After a refresh with new draws: sounds the monitor's alarm for the periods that raised
    // it and names them in the status line.
    void alarmRaised(LotteryClass& lottery, const std::vector<AlarmRaised>& alarms);
    // The redraw after a lottery's draws changed.
    void lotteryRefreshed(LotteryClass* source);
    // A monitor restart that could not run: the reason goes to the status line.
    void monitorRestartSkipped(const QString& reason);

    // The delayed transfer's countdown.
    void startCountdown();
    void stopCountdown();
    // One second of the countdown; true when the countdown has ended.
    bool countdownStep();
    void transferFromWindows();

    // The kept work: read at load (a file that cannot be read is set aside), applied to the
    // lotteries, the panels and the monitor; every change schedules a write.
    void restoreWork();
    // Stores the draw file path (in the user's copy when the shared file cannot be written).
    void storeDrawPath();
    void workChanged();
    // Once a lottery's draws have loaded: the selection texts kept at the last run come back
    // when the newest period is still the one they were kept at.
    void putBackKeptSelections(LotteryClass& lottery);

    AppOptions m_options;
    QString m_iniPath;
    std::array<std::unique_ptr<LotteryClass>, 2> m_lotteries;
    RefreshRouter m_router;
    FormState m_form;
    std::unique_ptr<TimeService> m_time;
    std::unique_ptr<DesktopWindowLink> m_windowLink;
    std::unique_ptr<DrawSource> m_drawSource; // the file named by the path box
    DemoFeed* m_demo = nullptr;
    std::unique_ptr<FeedLog> m_feedLog;
    std::unique_ptr<ArchiveLink> m_archive; // closed before the demo's folder goes

    int m_selectedIndex = -1;
    int m_yanchiCount = 0;
    int m_countdownDue = 0; // seconds that passed while other work ran
    bool m_activating = false;
    bool m_inTick = false;  // a refresh tick has begun and not yet ended
    bool m_tickDue = false; // a tick fired meanwhile: it runs when the current one ends
    QString m_tickNote;     // what the tick has to add to its closing status line
    QString m_workPath;
    QTimer* m_workTimer = nullptr;
    bool m_workReady = false; // restored: changes from now on are the player's
    // The selections of the last run, per lottery, till its draws have loaded.
    struct KeptSelections {
        std::string period;
        std::array<std::string, kSelGroups> sel;
    };
    std::array<std::optional<KeptSelections>, 2> m_keptSelections;
    QString m_tickAlarm;     // the periods of this tick that raised the monitor's alarm
    QString m_alarmNote;     // the last alarm: told with every refresh till the next draw
    bool m_tickDrew = false; // the active lottery took a draw during this tick

    QWidget* m_menuPic = nullptr;
    std::array<QFrame*, 4> m_menuItemPic{};
    std::array<TabLabel*, 4> m_menuItemLabel{};
    QFrame* m_linePic = nullptr;
    QLabel* m_showLabel = nullptr;
    LastingNote* m_lastingNote = nullptr;
    QWidget* m_picture4 = nullptr;
    QLineEdit* m_zelkc = nullptr;
    QPushButton* m_luJing = nullptr;
    QPushButton* m_fileLink = nullptr;
    QPushButton* m_jianKongCmd = nullptr;
    QLabel* m_mengImage = nullptr;
    HistoryGrid* m_grid = nullptr;
    MakingPanel* m_panel = nullptr;
    HandPicker* m_hands = nullptr;
    JianKongForm* m_jianKong = nullptr;
    QPushButton* m_planStatsCmd = nullptr;
    PlanStatsWindow* m_planStats = nullptr;
    HelpWindow* m_help = nullptr;
    QTimer* m_getNewTimer = nullptr;
    QTimer* m_timerGetHwnd = nullptr;
    std::unique_ptr<NotifyLink> m_notify; // last: it goes first, while the windows are there
};

} // namespace zuohao::gui
