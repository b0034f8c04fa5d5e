#pragma once
// JianKongForm, the monitor window: a small modeless window beside the main window where
// the user sets the monitor's thresholds, switches monitoring on and off, sees the last
// 100 evaluated periods, the running plan and its base set, copies that base set, reads
// the log of finished plans and hears the alarm.
//
// Every lottery has its own monitor (LotteryClass::monitor()); the window shows and edits the
// one of the lottery chosen in its 彩种 list. Everything the user sets and everything shown
// lives in that lottery's MonitorState; the window only shows it. Closing the window saves
// its captions into the state and "unloads" it; any later use loads it again from the state
// (the load step).
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/model/DrawNumbers.h"
#include "core/model/MonitorState.h"
#include "core/model/NumberList.h"
#include "gui/common/DrawSources.h"

class QBoxLayout;
class QCheckBox;
class QLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace zuohao {
class LotteryClass;
} // namespace zuohao

namespace zuohao::gui {

class BackgroundWork;
class MonitorGridModel;
class MonitorSettingsBox;

class JianKongForm : public QWidget {
    Q_OBJECT
public:
    // The lotteries the player follows, in the order of the main window's tabs.
    using LotteryList = std::function<std::vector<LotteryClass*>()>;

    // `lotteries` gives the lotteries the 彩种 list offers; the first is chosen at first. A
    // monitor starts from its lottery's base set (DAD) unless a monitor plan runs.
    explicit JianKongForm(LotteryList lotteries, QWidget* parent = nullptr);
    ~JianKongForm() override;

    // The lotteries were added, renamed or removed: the 彩种 list is read again; the chosen
    // lottery stays chosen while it is still listed, else the first is chosen.
    void lotteriesChanged();
    // Chooses the lottery whose monitor the window shows (as a pick in the 彩种 list).
    void chooseLottery(LotteryClass* lottery);
    // The lottery whose monitor the window shows; null while there is none.
    LotteryClass* lottery() const { return m_activeCls; }

    // Binds the window to the chosen lottery and refreshes its period list; while monitoring
    // also reloads the grid and texts from the state. Called after every redraw of the
    // main window and before the monitor button shows the window.
    void Kasi();
    // Switches monitoring on and replays every period (the restart after a draw, a transfer
    // or a reduction). Without a base set it changes nothing and reports the reason through
    // restartSkipped, never in a box; the start button tells the user in a box.
    void ReashStar();
    // Plays the alarm when the last evaluation of `lottery`'s monitor raised one, a plan's
    // base set is shown and the sound switch is on.
    void Playsound(LotteryClass& lottery);
    // After a refresh of `lottery` with new draws: `alarmPeriods` are its periods that raised
    // the alarm. Sounds once (sound switch on, that lottery monitoring) when any did,
    // whichever of the refresh's draws it was, and shows them, with the lottery's name, in
    // the alarm note, whichever lottery the window shows.
    void Playsound(LotteryClass& lottery, const std::vector<std::string>& alarmPeriods);

    // Start-up: loads the window without showing it, selects the entry 1 in SZCom(0),
    // SZCom(1) and SZCom(2) and the entry 0 in SZCom(3) (stored as the settings, as a
    // click would), and stores "开始监控" as the saved start caption.
    void prepareAtStartUp();
    // A lottery added to the list: its monitor starts from the start-up entries.
    void startMonitor(LotteryClass& lottery);
    // Draws the 回测 button replays the rule over (copied on this thread, read on the
    // worker); without one the lottery's own draws.
    void setDrawSource(DrawSourceFn source) { m_source = std::move(source); }
    // 回测: the current rule replayed over the draws on the worker, its result written to
    // the log; while it runs the button cancels it.
    void HuiCeCom_Click();
    bool backtestRunning() const { return m_backtestRunning; }

    // The sound switch (CheckSound).
    bool soundOn() const;
    void setSoundOn(bool on);
    // Shows the settings, the lock period and the record box held in the state (after they were
    // restored).
    void showSettings();

    // Whether the window is loaded (false after it was closed, until its next use).
    bool isLoaded() const { return m_loaded; }

signals:
    // An automatic restart did not happen, and why.
    void restartSkipped(const QString& reason);
    // The 提醒设置 button.
    void notifySettingsRequested();
    // The user changed a setting, the lock period or the sound switch.
    void settingsChanged();
    // A line was added to a lottery's record box by the window (a backtest's result).
    void logAdded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    QLayout* buildChooser();
    QLayout* buildSwitches();
    void buildPlanBoxes(QBoxLayout* top);
    void buildGrid(QBoxLayout* top);
    void wireSignals();
    // The chosen lottery's monitor (an idle one while no lottery is listed).
    MonitorState& state();
    // The chosen lottery, the first listed when none is chosen yet.
    LotteryClass* current();
    void chooserPicked(int index);

    // Loads the window when it was unloaded: the controls start as designed, then the
    // load step fills them from the state.
    void ensureLoaded();
    void loadStep();
    void closeStep();

    void LayoutMonitorGrid();
    void FillMonitorGrid();
    // Shows the texts the monitor computation writes: plan label, copy button, base set,
    // start caption and whether the period list may be changed.
    void showOutputs();
    void showLog();
    // Both ReashStar and the start/stop button end here: message on failure, then redraw.
    void afterSwitch(bool ok, const std::string& error);
    void keepStartCaption();

    void jiankongComClick();
    void DadiComClick();

    LotteryList m_lotteries;
    std::vector<LotteryClass*> m_listed; // what the 彩种 list shows, in its order
    std::array<int, 4> m_startEntries{}; // the segment entries every monitor starts from
    int m_startSegmentPeriod = 0;
    LotteryClass* m_activeCls = nullptr;
    MonitorState m_idle;
    bool m_loaded = false;

    QComboBox* m_chooser = nullptr;           // 彩种
    MonitorSettingsBox* m_settings = nullptr; // QSCom, ZhuoQiTxt, SZCom(0..3)
    QCheckBox* m_checkSound = nullptr;
    QPushButton* m_jiankongCom = nullptr;
    QPushButton* m_huiCeCom = nullptr;
    QPushButton* m_notifyCom = nullptr;
    DrawSourceFn m_source;
    BackgroundWork* m_work = nullptr;
    bool m_backtestRunning = false;
    LotteryClass* m_backtestLottery = nullptr; // the lottery the running backtest replays
    void startRuleBacktest();
    void ruleBacktestEnded();
    // Adds a line to the record box of `lottery` while it is still listed.
    void addBacktestLine(LotteryClass* lottery, const std::string& line);
    QLabel* m_planLabel = nullptr;
    QLabel* m_alarmNote = nullptr;
    QPushButton* m_dadiCom = nullptr;
    QPlainTextEdit* m_dadiTextBox = nullptr;
    NumberList m_shownBase; // what DadiTextBox shows
    QPlainTextEdit* m_record = nullptr;
    QTableView* m_grid = nullptr;
    MonitorGridModel* m_gridModel = nullptr;
};

} // namespace zuohao::gui
