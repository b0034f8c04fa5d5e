// Where a lottery's refresh or history load goes once the draw feed has returned what it did:
// the subscribers, wired once here in the router's order, and the main window's own part (the
// monitor's sound, the status line, the redraw).
#include "core/model/Captions.h"
#include "gui/app/ArchiveLink.h"
#include "gui/app/FeedLog.h"
#include "gui/app/LotteryForm.h"
#include "gui/app/NotifyLink.h"
#include "gui/app/RefreshCycle.h"
#include "gui/app/TabStrip.h"
#include "gui/app/TransferCountdown.h"
#include "gui/app/WorkKeeper.h"
#include "gui/common/QtText.h"
#include "gui/display/PlanStatsWindow.h"
#include "gui/monitor/JianKongForm.h"

#include <QWidget>

namespace zuohao::gui {

void LotteryForm::wireRefresh() {
    using Stage = RefreshRouter::Stage;
    // First the notifier: its request is on its way before anything is written or redrawn.
    m_router.subscribe(Stage::Notify, [this](LotteryClass& lot, const RefreshEvents& e) {
        if (m_notify) m_notify->tell(lot, e);
    });
    m_router.subscribe(Stage::Archive, [this](LotteryClass& lot, const RefreshEvents& e) {
        if (!m_archive) return;
        for (const DrawCorrected& c : e.corrected)
            m_archive->drawCorrected(lot.name(), c.period, c.newHaoma);
        for (const DrawEntered& d : e.entered)
            m_archive->drawEntered(lot.name(), d.period, d.haoma);
        if (e.drew) m_archive->flush(); // the poll's draws, in one transaction
    });
    m_router.subscribe(Stage::FeedLog, [this](LotteryClass& lot, const RefreshEvents& e) {
        for (const DrawCorrected& c : e.corrected)
            m_feedLog->corrected(lot.name(), c.period, c.newHaoma);
        for (const DrawEntered& d : e.entered)
            m_feedLog->entered(lot.name(), d.period, d.haoma);
    });
    // Once per refresh that brought draws, alarm or none (a history load sounds nothing).
    m_router.subscribe(Stage::Sound, [this](LotteryClass& lot, const RefreshEvents& e) {
        if (e.drew && !e.historyLoaded) alarmRaised(lot, e.alarms);
    });
    m_router.subscribe(Stage::Repaint, [this](LotteryClass& lot, const RefreshEvents& e) {
        if (&lot == m_form.ActiveCls)
            for (const DrawCorrected& c : e.corrected)
                m_planStats->drawCorrected(c.period, c.newHaoma);
        if (e.restart == MonitorRestart::Skipped)
            monitorRestartSkipped(QStringLiteral("监控未重启：") + toQ(e.restartProblem));
        if (e.drew) lotteryRefreshed(&lot);
        if (e.askForFile && &lot == m_form.ActiveCls) LuJing_Click();
    });
}

void LotteryForm::routeRefresh(LotteryClass& lottery, const RefreshEvents& events) {
    m_router.route(lottery, events);
}

void LotteryForm::loadHistory(LotteryClass& lottery, AskForFile ask) {
    if (m_desk->hasSource(m_desk->indexOf(&lottery)))
        ShowLabelTxt(QStringLiteral("正在获取数据..."));
    routeRefresh(lottery, lottery.GetLotteryHisroty(ask));
}

void LotteryForm::alarmRaised(LotteryClass& lottery, const std::vector<AlarmRaised>& alarms) {
    std::vector<std::string> periods;
    for (const AlarmRaised& a : alarms)
        periods.push_back(a.period);
    // The lottery's own monitor raised it: the sound plays whichever lottery is shown.
    m_jianKong->Playsound(lottery, periods);
    if (alarms.empty()) return;
    const QString note = toQ(AlarmNoteText(lottery.name(), periods));
    // Raised while another lottery is shown: its tab is marked till the player shows it.
    if (&lottery != m_form.ActiveCls) m_tabs->markAlarm(m_desk->indexOf(&lottery));
    m_cycle->noteAlarm(lottery, note);
}

void LotteryForm::lotteryRefreshed(LotteryClass* source) {
    m_work->putBackKeptSelections(*source);
    m_work->noteMonitorLogs();
    m_cycle->noteDrew(*source);
    // The monitor window may show another lottery than the tab: it follows its own.
    if (source != m_form.ActiveCls) {
        if (source == m_jianKong->lottery()) m_jianKong->Kasi();
        // A lottery out of sight counts down to its own transfer too.
        if (m_form.IsActivated && source->hasPlan()) m_countdown->begin(*source);
        return;
    }
    ActiveCls_OnLotteryRefresh();
    m_planStats->drawsChanged();
}

void LotteryForm::monitorRestartSkipped(const QString& reason) {
    m_cycle->noteRestartSkipped(reason);
}

} // namespace zuohao::gui
