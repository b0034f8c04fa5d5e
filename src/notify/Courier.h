#pragma once
// One target's queue: its messages go out one at a time and in order, at most one per
// coalescing window (alarms that wait meanwhile are folded into one that says how many it
// stands for), a failed attempt is retried after each of the backoff delays and then given
// up, and every outcome goes to the delivery log. All timing is asynchronous: nothing here
// ever waits.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <deque>
#include <optional>
#include <vector>

#include "notify/NotifyTypes.h"

namespace zuohao::notify {

class DeliveryLog;
class Postman;
struct AttemptResult;

// The times of delivery; tests shorten them.
struct DeliveryTimes {
    std::chrono::milliseconds attemptLimit{10000};
    std::vector<std::chrono::milliseconds> backoff{
        std::chrono::seconds(5), std::chrono::seconds(30), std::chrono::minutes(2)};
    std::chrono::milliseconds coalesceWindow{10000};
};

class Courier : public QObject {
    Q_OBJECT
public:
    Courier(const Target& target, Postman& postman, DeliveryLog& log, const DeliveryTimes& times,
            QObject* parent = nullptr);
    ~Courier() override;

    const Target& target() const { return m_target; }
    // New settings of the same target: used from the next attempt on.
    void setTarget(const Target& target) { m_target = target; }
    void setTimes(const DeliveryTimes& times) { m_times = times; }

    void submit(Message m);
    // Messages waiting or on their way.
    int pending() const { return int(m_queue.size()) + (m_current ? 1 : 0); }

    // Messages a target that cannot be reached keeps waiting; older ones are dropped (and logged).
    static constexpr std::size_t kQueueLimit = 50;

signals:
    // A message could not be delivered (for the status line): the target's name and why.
    void gaveUp(const QString& target, const QString& reason);
    void logged();

private:
    void pump();
    void attempt();
    void attemptEnded(const AttemptResult& r);
    void waited();
    void note(const Message& m, const QString& outcome);

    Target m_target;
    Postman& m_postman;
    DeliveryLog& m_log;
    DeliveryTimes m_times;
    std::deque<Message> m_queue;
    std::optional<Message> m_current; // on its way, or waiting for its next attempt
    std::size_t m_failures = 0;
    QElapsedTimer m_sinceSent; // since the last message went out
    QTimer m_wait;             // the rest of the window, or the backoff
};

} // namespace zuohao::notify
