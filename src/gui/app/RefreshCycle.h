#pragma once
// The refresh cycle: every 6 seconds each lottery with a draw file is asked for new draws (or,
// without history, for its history), after the server time has been requested, whichever tab
// is shown. A tick is a short sequence of steps, each run to its end from the event loop: the
// first shows that the refresh has begun and sends the time request, the second runs when the
// request has been answered or given up and reads the draws of the first lottery and hands them
// to the notifier; when the notifier sent a request, a further step hands them to the rest once
// the request has gone out. The next lotteries follow in the same step while it is short, else
// in a step of their own, so that the GUI thread is never held by all of them at once; the
// lottery shown, redrawn with its draws, always begins a step of its own. Nothing
// waits in between, so no other work ever runs inside a step. A lottery whose file fails says so in
// its own feed state and holds no other.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <map>
#include <set>
#include <vector>

#include "core/acquire/RefreshEvents.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

class LotteryForm;

class RefreshCycle : public QObject {
    Q_OBJECT
public:
    explicit RefreshCycle(LotteryForm& form);

    // The refresh timer's tick (deferred while a box is open).
    void timerFired();
    // Whether a tick has begun and not yet ended.
    bool underWay() const { return m_inTick; }

    // What the routes of a refresh tell the cycle: a monitor restart that could not run, an
    // alarm of `lottery` (its note, named by the lottery), a lottery that took draws.
    void noteRestartSkipped(const QString& reason);
    void noteAlarm(const LotteryClass& lottery, const QString& note);
    void noteDrew(const LotteryClass& lottery);
    // The alarm note of `lottery` told with every refresh till its next draw; empty: none.
    QString alarmNote(const LotteryClass& lottery) const;
    // The lotteries of the list changed: notes of lotteries that went are dropped.
    void forgetNotes() { m_alarmNotes.clear(); }
    // The refresh's last status text, with what the active lottery's feed has to say (red when
    // the file has given nothing usable for a while, with the link that opens the file dialog).
    void showStatus(const QString& text);

private:
    void start();
    void readAll();
    // Reads the next lottery of the tick that has a draw file and history; the tick ends when
    // none is left.
    void readNext();
    // Whether a lottery of the tick is still to be read (else the tick ends in this step).
    bool moreToRead() const;
    // Whether the next lottery to read is the one shown.
    bool shownIsNext() const;
    // Whether `lottery` is still in the list, with a draw file and its history loaded.
    bool readable(const LotteryClass* lottery) const;
    // The events go to the notifier, then (at once, or at the event loop's next turn when a
    // request went out) to the rest, and the next lottery is read.
    void route(LotteryClass& lottery, RefreshEvents events);
    void end(const QString& error);

    LotteryForm& m_form;
    bool m_inTick = false;  // a refresh tick has begun and not yet ended
    bool m_tickDue = false; // a tick fired meanwhile: it runs when the current one ends
    QString m_tickNote;     // what the tick has to add to its closing status line
    std::vector<LotteryClass*> m_toRead; // the lotteries of this tick, in tab order
    std::size_t m_nextRead = 0;
    QElapsedTimer m_step;                        // since the current step of the tick began
    std::set<const LotteryClass*> m_tickAlarmed; // lotteries that raised 告警 this tick
    std::set<const LotteryClass*> m_tickDrew;    // lotteries that took a draw this tick
    std::map<const LotteryClass*, QString> m_alarmNotes;
};

} // namespace zuohao::gui
