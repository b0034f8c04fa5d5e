#include "gui/app/RefreshCycle.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <memory>

#include "gui/acquire/ServerTime.h"
#include "gui/app/ArchiveLink.h"
#include "gui/app/LotteryForm.h"
#include "gui/app/NotifyLink.h"
#include "gui/common/WorkGate.h"
#include "notify/NotificationCenter.h"
#include "notify/Postman.h"

namespace zuohao::gui {

namespace {
// Work a modal box may have to defer, one key each.
constexpr int kRefreshWork = 1;
constexpr int kRefreshEndWork = 3;
constexpr int kRefreshRestWork = 4;
// The longest the rest of a refresh waits for the notifier's request to go out.
constexpr std::chrono::milliseconds kNotifyHeadStart{100};
} // namespace

RefreshCycle::RefreshCycle(LotteryForm& form) : QObject(&form), m_form(form) {}

void RefreshCycle::timerFired() {
    // A tick that fires while a box is open runs once the box has been closed.
    WorkGate::run(this, kRefreshWork, [this] { start(); });
}

void RefreshCycle::start() {
    // A tick that fires while the previous one waits for the time service is not started
    // beside it: it runs once the previous one has ended.
    if (m_inTick) {
        m_tickDue = true;
        return;
    }
    m_inTick = true;
    m_tickNote.clear();
    m_tickAlarmed.clear();
    m_tickDrew.clear();
    m_form.ShowLabelTxt(QStringLiteral("正在获取最新数据......"));
    // A lottery without history loads it (from the timer the file dialog is never opened: the
    // status line says why); the others are read once the time has come.
    const LotteryDesk& desk = *m_form.m_desk;
    bool anyHeld = false;
    for (int i = 0; i < desk.count(); ++i) {
        if (!desk.hasSource(i)) continue;
        LotteryClass& lot = desk.lottery(i);
        if (lot.hasHistory())
            anyHeld = true;
        else
            m_form.loadHistory(lot, AskForFile::No);
    }
    if (!anyHeld) {
        end(QString());
        return;
    }
    m_form.m_time->RequestServerTime([this](const TimeService::Answer& time) {
        const QString error = time ? QString() : QString::fromStdString(time.error());
        WorkGate::run(this, kRefreshEndWork, [this, error] {
            if (error.isEmpty())
                readAll();
            else
                end(error);
        });
    });
}

void RefreshCycle::readAll() {
    // Each lottery in turn; the list is read afresh (the player may have changed it meanwhile).
    std::vector<Read> reads;
    const LotteryDesk& desk = *m_form.m_desk;
    for (int i = 0; i < desk.count(); ++i) {
        LotteryClass& lot = desk.lottery(i);
        if (desk.hasSource(i) && lot.hasHistory()) reads.push_back({&lot, lot.GetLotteryNew()});
    }
    route(std::move(reads));
}

void RefreshCycle::route(std::vector<Read> reads) {
    using Stage = RefreshRouter::Stage;
    NotifyLink* notify = m_form.m_notify.get();
    const int waiting = notify ? notify->center().pending() : 0;
    for (Read& r : reads)
        m_form.m_router.route(*r.lottery, r.events, Stage::Notify, Stage::Archive);
    const auto rest = [this, reads = std::move(reads)] {
        for (const Read& r : reads)
            // A lottery the player removed meanwhile is gone with its events.
            if (m_form.m_desk->indexOf(r.lottery) >= 0)
                m_form.m_router.route(*r.lottery, r.events, Stage::Archive);
        end(QString());
    };
    if (!notify || notify->center().pending() <= waiting) {
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
    connect(&notify->center().postman(), &notify::Postman::requestSent, wait, go);
    QTimer::singleShot(kNotifyHeadStart, wait, go);
}

void RefreshCycle::end(const QString& error) {
    // A monitor restart that could not run during the tick says why after the time, and so
    // does the draw archive while something about it is worth telling.
    m_form.m_archive->flush();
    // An alarm is told till its lottery's next draw, not only by the refresh that raised it.
    for (const LotteryClass* lot : m_tickDrew)
        if (!m_tickAlarmed.count(lot)) m_alarmNotes.erase(lot);
    QString note = m_tickNote.isEmpty() ? QString() : QStringLiteral("  ") + m_tickNote;
    if (const LotteryClass* active = m_form.ActiveCls())
        if (const QString alarm = alarmNote(*active); !alarm.isEmpty())
            note += QStringLiteral("    ") + alarm;
    if (const QString archiveNotice = m_form.m_archive->notice(); !archiveNotice.isEmpty())
        note += QStringLiteral("    ") + archiveNotice;
    if (!error.isEmpty())
        showStatus(QStringLiteral("产生错误:") + error + note);
    else
        showStatus(QStringLiteral("最后刷新:  ") +
                   TimeService::StatusTime(m_form.m_time->serverTime()) + note);
    m_inTick = false;
    if (m_tickDue) {
        m_tickDue = false;
        QTimer::singleShot(0, this, &RefreshCycle::timerFired);
    }
}

void RefreshCycle::showStatus(const QString& text) {
    const LotteryClass& active = *m_form.ActiveCls();
    const FeedStatus& feed = active.feedStatus();
    QString notice = QString::fromStdString(feed.notice);
    if (notice.isEmpty()) notice = m_form.noSourceNote(m_form.SelectedIndex());
    m_form.m_showLabel->setStyleSheet(
        feed.alarm ? QStringLiteral("color: #C00000; font-weight: bold;") : QString());
    m_form.m_fileLink->setVisible(feed.alarm);
    m_form.ShowLabelTxt(notice.isEmpty() ? text : text + QStringLiteral("  ") + notice);
    emit m_form.refreshShown();
}

void RefreshCycle::noteRestartSkipped(const QString& reason) {
    if (m_inTick)
        m_tickNote = reason;
    else
        m_form.ShowLabelTxt(reason);
}

void RefreshCycle::noteAlarm(const LotteryClass& lottery, const QString& note) {
    m_alarmNotes[&lottery] = note; // stays in the status line till the lottery's next draw
    if (m_inTick)
        m_tickAlarmed.insert(&lottery);
    else if (&lottery == m_form.ActiveCls())
        m_form.ShowLabelTxt(note);
}

void RefreshCycle::noteDrew(const LotteryClass& lottery) {
    if (m_inTick) m_tickDrew.insert(&lottery);
}

QString RefreshCycle::alarmNote(const LotteryClass& lottery) const {
    const auto it = m_alarmNotes.find(&lottery);
    return it == m_alarmNotes.end() ? QString() : it->second;
}

} // namespace zuohao::gui
