#pragma once
// One target's queue: its messages go out one at a time and in order, each the moment it can.
// A failed attempt is retried on a bounded schedule while the message is still of use, then
// dropped (logged); a failure that no retry can mend (a certificate refused, a 4xx answer, a
// robot's bad token or signature) is not retried. A new alarm that finds one still owed is
// merged with it and tried at once, so a target that recovers has it within seconds. Queues of
// different targets never wait on each other, and nothing here ever blocks.
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
    // One attempt: connecting, sending and the answer.
    std::chrono::milliseconds attemptLimit{5000};
    // The waits after the first failures, then retryEvery after each later one.
    std::vector<std::chrono::milliseconds> backoff{
        std::chrono::seconds(5), std::chrono::seconds(15), std::chrono::seconds(30)};
    std::chrono::milliseconds retryEvery{std::chrono::seconds(60)};
    // A message older than this is of no more use: it is dropped instead of retried.
    std::chrono::milliseconds usefulness{std::chrono::minutes(10)};
};

// Sends whose answer never came (the request had gone out) before a message is no longer
// retried: it may have arrived each time, so it arrives at most this often.
inline constexpr int kBlindSendsAllowed = 2;

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
    void finish();
    void giveUp(const QString& outcome, const QString& reason);
    void note(const Message& m, const QString& outcome);

    Target m_target;
    Postman& m_postman;
    DeliveryLog& m_log;
    DeliveryTimes m_times;
    std::deque<Message> m_queue;
    std::optional<Message> m_current; // on its way, or waiting for its next attempt
    bool m_inFlight = false;
    std::size_t m_failures = 0;
    int m_blindSends = 0; // attempts of the current message cut off after it was sent
    QElapsedTimer m_age;  // of the current message (its newest alarm when merged)
    QTimer m_wait;        // until the next attempt
};

} // namespace zuohao::notify
