#pragma once
// The delivery log: what happened to each message sent to a target (sent, retried, given up),
// the newest 200 entries, for the settings window. Addresses are kept redacted and reasons
// scrubbed, so it never holds a secret. With a file it is kept on disk as well, a line an
// entry, rotated once it grows past a bound (one older file kept), and read back at start-up.
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <cstddef>
#include <deque>
#include <optional>

namespace zuohao::notify {

struct DeliveryEntry {
    QDateTime time;
    QString target;  // the target's name
    QString address; // redacted
    QString title;   // what was sent: title, lottery, periods (告警 腾讯分分彩 第…期)
    QString outcome; // 已送达, 失败 … 秒后重试, 未送达 …
    QString line() const;
    // The entry as a line of the file, and back; nothing for a line that is not one.
    QString fileLine() const;
    static std::optional<DeliveryEntry> fromFileLine(QStringView line);
};

class DeliveryLog {
public:
    static constexpr std::size_t kLimit = 200;
    // Past this size the file is renamed to `<file>.1` (replacing the older one) and begun anew.
    static constexpr qint64 kFileLimit = 256 * 1024;

    // Keeps the log in `path` from now on, after reading back the entries it holds. Returns
    // false, with why, when the file cannot be written (the log then lives in memory only).
    bool setFile(const QString& path, QString* error = nullptr);
    void add(DeliveryEntry entry);
    const std::deque<DeliveryEntry>& entries() const { return m_entries; }
    // Every entry as a line, oldest first.
    QString text() const;

private:
    void keep(DeliveryEntry entry);
    void append(const DeliveryEntry& entry);

    std::deque<DeliveryEntry> m_entries;
    QString m_path;
};

} // namespace zuohao::notify
