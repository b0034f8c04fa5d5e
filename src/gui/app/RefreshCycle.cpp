// The refresh cycle: every 6 seconds the active lottery is asked for new draws (or, without
// history, for its history), after the server time has been requested. A tick is a short
// sequence of steps, each run to its end from the event loop: the first shows that the
// refresh has begun and sends the time request, the second runs when the request has been
// answered or given up and reads the draws and hands them to the notifier; when the notifier
// sent a request, a third step hands them to the rest once the request has gone out. Nothing
// waits in between, so no other work ever runs inside a step.
#include <QTimer>

#include "gui/acquire/ServerTime.h"
#include "gui/app/ArchiveLink.h"
#include "gui/app/LotteryForm.h"
#include "gui/app/NotifyLink.h"
#include "gui/common/WorkGate.h"
#include "gui/display/HistoryGrid.h"
#include "gui/display/PlanDisplay.h"
#include "gui/making/MakingPanel.h"
#include "gui/monitor/JianKongForm.h"
#include "notify/NotificationCenter.h"
#include "notify/Postman.h"

#include <chrono>
#include <memory>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zuohao::gui {

namespace {
// Work a modal box may have to defer, one key each.
constexpr int kRefreshWork = 1;
constexpr int kRefreshEndWork = 3;
constexpr int kRefreshRestWork = 4;
// The longest the rest of a refresh waits for the notifier's request to go out.
constexpr std::chrono::milliseconds kNotifyHeadStart{100};
} // namespace

void LotteryForm::GetNewTimer_Timer() {
    // A tick that fires while a box is open runs once the box has been closed.
    WorkGate::run(this, kRefreshWork, [this] { startTick(); });
}

bool LotteryForm::refreshUnderWay() const {
    return m_inTick;
}

void LotteryForm::startTick() {
    // A tick that fires while the previous one waits for the time service is not started
    // beside it: it runs once the previous one has ended.
    if (m_inTick) {
        m_tickDue = true;
        return;
    }
    m_inTick = true;
    m_tickNote.clear();
    m_tickAlarm.clear();
    m_tickDrew = false;
    ShowLabelTxt(QStringLiteral("正在获取最新数据......"));
    // Each step reads the active lottery afresh: the user may switch meanwhile.
    if (!m_form.ActiveCls->hasHistory()) {
        // From the timer the file dialog is never opened: the status line says why.
        loadHistory(*m_form.ActiveCls, AskForFile::No);
        endTick(QString());
        return;
    }
    m_time->RequestServerTime([this](const TimeService::Answer& time) {
        const QString error = time ? QString() : QString::fromStdString(time.error());
        WorkGate::run(this, kRefreshEndWork, [this, error] {
            if (error.isEmpty()) {
                LotteryClass& lottery = *m_form.ActiveCls;
                routeTick(lottery, lottery.GetLotteryNew());
                return;
            }
            endTick(error);
        });
    });
}

void LotteryForm::routeTick(LotteryClass& lottery, const RefreshEvents& events) {
    using Stage = RefreshRouter::Stage;
    const int waiting = m_notify ? m_notify->center().pending() : 0;
    m_router.route(lottery, events, Stage::Notify, Stage::Archive);
    const auto rest = [this, &lottery, events] {
        m_router.route(lottery, events, Stage::Archive);
        endTick(QString());
    };
    if (!m_notify || m_notify->center().pending() <= waiting) {
        rest();
        return;
    }
    // A request of the notifier is written by the network stack while the event loop runs:
    // the rest of the refresh waits till it has gone out (or kNotifyHeadStart at most), so the
    // message is on its way before anything is written or redrawn.
    auto* wait = new QObject(this);
    auto done = std::make_shared<bool>(false);
    const auto go = [this, rest, wait, done] {
        if (*done) return;
        *done = true;
        wait->deleteLater();
        WorkGate::run(this, kRefreshRestWork, rest);
    };
    connect(&m_notify->center().postman(), &notify::Postman::requestSent, wait, go);
    QTimer::singleShot(kNotifyHeadStart, wait, go);
}

void LotteryForm::endTick(const QString& error) {
    // A monitor restart that could not run during the tick says why after the time, and so
    // does the draw archive while something about it is worth telling.
    m_archive->flush();
    QString note = m_tickNote.isEmpty() ? QString() : QStringLiteral("  ") + m_tickNote;
    // An alarm is told till the next draw, not only by the refresh that raised it.
    if (m_tickDrew && m_tickAlarm.isEmpty()) m_alarmNote.clear();
    if (!m_alarmNote.isEmpty()) note += QStringLiteral("    ") + m_alarmNote;
    if (const QString archiveNotice = m_archive->notice(); !archiveNotice.isEmpty())
        note += QStringLiteral("    ") + archiveNotice;
    if (!error.isEmpty())
        showRefreshStatus(QStringLiteral("产生错误:") + error + note);
    else
        showRefreshStatus(QStringLiteral("最后刷新:  ") +
                          TimeService::StatusTime(m_time->serverTime()) + note);
    m_inTick = false;
    if (m_tickDue) {
        m_tickDue = false;
        QTimer::singleShot(0, this, &LotteryForm::GetNewTimer_Timer);
    }
}

void LotteryForm::showRefreshStatus(const QString& text) {
    const FeedStatus& feed = m_form.ActiveCls->feedStatus();
    QString notice = QString::fromStdString(feed.notice);
    if (notice.isEmpty()) notice = noSourceNote(m_form.ActiveCls->index());
    m_showLabel->setStyleSheet(feed.alarm ? QStringLiteral("color: #C00000; font-weight: bold;")
                                          : QString());
    m_fileLink->setVisible(feed.alarm);
    ShowLabelTxt(notice.isEmpty() ? text : text + QStringLiteral("  ") + notice);
    emit refreshShown();
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

} // namespace zuohao::gui
