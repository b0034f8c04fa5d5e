#pragma once
// The delivery log: what happened to each message sent to a target (sent, retried, given up),
// the newest 200 entries, for the settings window. Addresses are kept redacted and reasons
// scrubbed, so it never holds a secret.
#include <QDateTime>
#include <QString>
#include <cstddef>
#include <deque>

namespace zuohao::notify {

struct DeliveryEntry {
    QDateTime time;
    QString target;  // the target's name
    QString address; // redacted
    QString title;   // what was sent (告警, 断期, ...)
    QString outcome; // 已送达, 失败 … 秒后重试, 未送达 …
    QString line() const;
};

class DeliveryLog {
public:
    static constexpr std::size_t kLimit = 200;
    void add(DeliveryEntry entry);
    const std::deque<DeliveryEntry>& entries() const { return m_entries; }
    // Every entry as a line, oldest first.
    QString text() const;

private:
    std::deque<DeliveryEntry> m_entries;
};

} // namespace zuohao::notify
