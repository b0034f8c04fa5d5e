#include "notify/Courier.h"

#include <QDateTime>

#include "notify/DeliveryLog.h"
#include "notify/MessageText.h"
#include "notify/Postman.h"
#include "notify/RobotRequest.h"

namespace zuohao::notify {

namespace {
QString seconds(std::chrono::milliseconds ms) {
    return QString::number(double(ms.count()) / 1000.0, 'g', 3);
}
} // namespace

Courier::Courier(const Target& target, Postman& postman, DeliveryLog& log,
                 const DeliveryTimes& times, QObject* parent)
    : QObject(parent), m_target(target), m_postman(postman), m_log(log), m_times(times) {
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, &Courier::waited);
}

Courier::~Courier() = default;

void Courier::submit(Message m) {
    if (m.kind == MessageKind::Alarm) {
        // An alarm still waiting stands for this one too: the newest is sent, with the count.
        for (Message& waiting : m_queue) {
            if (waiting.kind != MessageKind::Alarm) continue;
            m.folded += waiting.folded + 1;
            waiting = std::move(m);
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
    if (m_current || m_queue.empty() || m_wait.isActive()) return;
    if (m_sinceSent.isValid()) {
        const auto since = std::chrono::milliseconds(m_sinceSent.elapsed());
        if (since < m_times.coalesceWindow) {
            m_wait.start(m_times.coalesceWindow - since);
            return;
        }
    }
    m_current = std::move(m_queue.front());
    m_queue.pop_front();
    m_failures = 0;
    attempt();
}

void Courier::attempt() {
    m_sinceSent.start();
    m_postman.send(m_target, *m_current, m_times.attemptLimit, this,
                   [this](const AttemptResult& r) { attemptEnded(r); });
}

void Courier::attemptEnded(const AttemptResult& r) {
    if (!m_current) return;
    if (r.accepted) {
        note(*m_current, QStringLiteral("已送达"));
    } else if (r.retryable && m_failures < m_times.backoff.size()) {
        const auto delay = m_times.backoff[m_failures++];
        note(*m_current, QStringLiteral("失败（%1），%2 秒后重试").arg(r.reason, seconds(delay)));
        m_wait.start(delay);
        return;
    } else {
        note(*m_current, QStringLiteral("未送达（%1）").arg(r.reason));
        emit gaveUp(m_target.name, r.reason);
    }
    m_current.reset();
    pump();
}

void Courier::waited() {
    if (m_current)
        attempt();
    else
        pump();
}

void Courier::note(const Message& m, const QString& outcome) {
    QString title = messageTitle(m);
    if (m.folded > 0) title += QStringLiteral("（合并 %1 次）").arg(m.folded + 1);
    m_log.add(
        {QDateTime::currentDateTime(), m_target.name, redactedUrl(m_target.url), title, outcome});
    emit logged();
}

} // namespace zuohao::notify
