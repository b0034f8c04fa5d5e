#include "notify/Courier.h"

#include <QDateTime>

#include "notify/DeliveryLog.h"
#include "notify/MessageText.h"
#include "notify/Postman.h"
#include "notify/RobotRequest.h"

namespace zuohao::notify {

namespace {
constexpr double kMillisPerSecond = 1000.0;
constexpr int kSecondsPerMinute = 60;

QString seconds(std::chrono::milliseconds ms) {
    return QString::number(double(ms.count()) / kMillisPerSecond, 'g', 3);
}
QString minutes(std::chrono::milliseconds ms) {
    return QString::number(double(ms.count()) / kMillisPerSecond / kSecondsPerMinute, 'g', 3);
}
} // namespace

Courier::Courier(const Target& target, Postman& postman, DeliveryLog& log,
                 const DeliveryTimes& times, QObject* parent)
    : QObject(parent), m_target(target), m_postman(postman), m_log(log), m_times(times) {
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, [this] {
        if (m_current && !m_inFlight) attempt();
    });
}

Courier::~Courier() = default;

void Courier::submit(Message m) {
    if (m_current && !m_inFlight) {
        // The target failed last time: what it is still owed goes again now, with the news.
        m_wait.stop();
        m_failures = 0;
        if (m.kind == MessageKind::Alarm && m_current->kind == MessageKind::Alarm) {
            m_current = mergedAlarm(*m_current, std::move(m));
            m_age.start();
        } else {
            m_queue.push_back(std::move(m));
        }
        attempt();
        return;
    }
    if (m.kind == MessageKind::Alarm) {
        // An alarm still waiting stands for this one too: the newest is sent, with the others.
        for (Message& waiting : m_queue) {
            if (waiting.kind != MessageKind::Alarm) continue;
            waiting = mergedAlarm(waiting, std::move(m));
            return;
        }
    }
    m_queue.push_back(std::move(m));
    if (m_queue.size() > kQueueLimit) {
        note(m_queue.front(), QStringLiteral("未送达：等待的消息过多，已丢弃"));
        m_queue.pop_front();
    }
    pump();
}

void Courier::pump() {
    if (m_current || m_queue.empty()) return;
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    m_failures = 0;
    m_blindSends = 0;
    m_age.start();
    attempt();
}

void Courier::attempt() {
    m_inFlight = true;
    m_postman.send(m_target, *m_current, m_times.attemptLimit, this,
                   [this](const AttemptResult& r) { attemptEnded(r); });
}

void Courier::attemptEnded(const AttemptResult& r) {
    m_inFlight = false;
    if (!m_current) return;
    if (r.accepted) {
        note(*m_current, m_blindSends > 0
                             ? QStringLiteral("已送达（此前超时的一次发送也可能已送达）")
                             : QStringLiteral("已送达"));
        finish();
        return;
    }
    if (r.maybeDelivered) ++m_blindSends;
    if (!r.retryable) {
        giveUp(QStringLiteral("未送达（%1），重试无用").arg(r.reason), r.reason);
        return;
    }
    if (m_blindSends >= kBlindSendsAllowed) {
        giveUp(QStringLiteral("可能已送达：发出 %1 次都没有应答，不再重发").arg(m_blindSends),
               r.reason);
        return;
    }
    const auto delay =
        m_failures < m_times.backoff.size() ? m_times.backoff[m_failures] : m_times.retryEvery;
    ++m_failures;
    if (std::chrono::milliseconds(m_age.elapsed()) + delay > m_times.usefulness) {
        giveUp(QStringLiteral("未送达（%1），已过 %2 分钟，不再重试")
                   .arg(r.reason, minutes(m_times.usefulness)),
               r.reason);
        return;
    }
    const QString maybe = r.maybeDelivered ? QStringLiteral("，可能已送达") : QString();
    note(*m_current,
         QStringLiteral("失败（%1%2），%3 秒后重试").arg(r.reason, maybe, seconds(delay)));
    m_wait.start(delay);
}

void Courier::giveUp(const QString& outcome, const QString& reason) {
    note(*m_current, outcome);
    emit gaveUp(m_target.name, reason);
    finish();
}

void Courier::finish() {
    m_current.reset();
    pump();
}

void Courier::note(const Message& m, const QString& outcome) {
    m_log.add({QDateTime::currentDateTime(), m_target.name, redactedUrl(m_target.url),
               messageSummary(m), outcome});
    emit logged();
}

} // namespace zuohao::notify
