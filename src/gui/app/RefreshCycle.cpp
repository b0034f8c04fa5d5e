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
constexpr int kRefreshNextWork = 5;
// Lotteries are read one after another in one step of the event loop till the step has taken
// this long; the rest follow in steps of their own, so the window keeps answering.
constexpr std::chrono::milliseconds kStepBudget{4};
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
    // The list is taken now; a lottery the player removes meanwhile is skipped.
    const LotteryDesk& desk = *m_form.m_desk;
    m_toRead.clear();
    for (int i = 0; i < desk.count(); ++i)
        m_toRead.push_back(&desk.lottery(i));
    m_nextRead = 0;
    m_step.start();
    readNext();
}

bool RefreshCycle::readable(const LotteryClass* lottery) const {
    const LotteryDesk& desk = *m_form.m_desk;
    const int i = desk.indexOf(lottery);
    return i >= 0 && desk.hasSource(i) && lottery->hasHistory();
}

bool RefreshCycle::moreToRead() const {
    for (std::size_t k = m_nextRead; k < m_toRead.size(); ++k)
        if (readable(m_toRead[k])) return true;
    return false;
}

bool RefreshCycle::shownIsNext() const {
    for (std::size_t k = m_nextRead; k < m_toRead.size(); ++k)
        if (readable(m_toRead[k])) return m_toRead[k] == m_form.ActiveCls();
    return false;
}

void RefreshCycle::readNext() {
    while (m_nextRead < m_toRead.size()) {
        LotteryClass* lot = m_toRead[m_nextRead++];
        if (!readable(lot)) continue;
        route(*lot, lot->GetLotteryNew());
        return;
    }
    m_toRead.clear();
    end(QString());
}

void RefreshCycle::route(LotteryClass& lottery, RefreshEvents events) {
    using Stage = RefreshRouter::Stage;
    NotifyLink* notify = m_form.m_notify.get();
    const int waiting = notify ? notify->center().pending() : 0;
    m_form.m_router.route(lottery, events, Stage::Notify, Stage::Archive);
    const auto rest = [this, lot = &lottery, events = std::move(events)] {
        // A lottery the player removed meanwhile is gone with its events.
        if (m_form.m_desk->indexOf(lot) >= 0)
            m_form.m_router.route(*lot, events, RefreshRouter::Stage::Archive);
        // The next lottery in the same step while the step is short, else at the event
        // loop's next turn (later when a box is open). The lottery shown, whose grid and
        // panel are redrawn too, always begins a step of its own.
        if (!moreToRead() || (m_step.elapsed() < kStepBudget.count() && !shownIsNext())) {
            readNext();
            return;
        }
        QTimer::singleShot(0, this, [this] {
            WorkGate::run(this, kRefreshNextWork, [this] {
                m_step.start();
                readNext();
            });
        });
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
        WorkGate::run(this, kRefreshRestWork, [this, rest] {
            m_step.start();
            rest();
        });
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
