#include "notify/DeliveryLog.h"

#include <QFile>
#include <QFileDevice>
#include <QStringList>

namespace zuohao::notify {

namespace {
constexpr int kFields = 5;
const QString kTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

// A field on one line: its tabs and line breaks become spaces.
QString flat(QString s) {
    for (QChar& c : s)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return s;
}
} // namespace

QString DeliveryEntry::line() const {
    return QStringLiteral("%1  %2（%3）  %4  %5")
        .arg(time.toString(QStringLiteral("MM-dd hh:mm:ss")), target, address, title, outcome);
}

QString DeliveryEntry::fileLine() const {
    return QStringList{time.toString(kTimeFormat), flat(target), flat(address), flat(title),
                       flat(outcome)}
        .join(QLatin1Char('\t'));
}

std::optional<DeliveryEntry> DeliveryEntry::fromFileLine(QStringView line) {
    const auto parts = line.split(QLatin1Char('\t'));
    if (parts.size() != kFields) return std::nullopt;
    DeliveryEntry e;
    e.time = QDateTime::fromString(parts[0].toString(), kTimeFormat);
    if (!e.time.isValid()) return std::nullopt;
    e.target = parts[1].toString();
    e.address = parts[2].toString();
    e.title = parts[3].toString();
    e.outcome = parts[4].toString();
    return e;
}

bool DeliveryLog::setFile(const QString& path, QString* error) {
    m_path.clear();
    m_entries.clear();
    for (const QString& name : {path + QStringLiteral(".1"), path}) {
        QFile f(name);
        if (!f.open(QIODevice::ReadOnly)) continue;
        // Only the newest entries are kept: the tail of a file larger than its bound is read.
        if (f.size() > kFileLimit) f.seek(f.size() - kFileLimit);
        const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        for (const QString& l : lines)
            if (auto e = DeliveryEntry::fromFileLine(l)) keep(std::move(*e));
    }
    QFile f(path);
    if (!f.open(QIODevice::Append)) {
        if (error) *error = QStringLiteral("无法写入送达记录 %1：%2").arg(path, f.errorString());
        return false;
    }
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_path = path;
    return true;
}

void DeliveryLog::add(DeliveryEntry entry) {
    if (!m_path.isEmpty()) append(entry);
    keep(std::move(entry));
}

void DeliveryLog::keep(DeliveryEntry entry) {
    m_entries.push_back(std::move(entry));
    while (m_entries.size() > kLimit)
        m_entries.pop_front();
}

void DeliveryLog::append(const DeliveryEntry& entry) {
    if (QFile current(m_path); current.size() > kFileLimit) {
        QFile::remove(m_path + QStringLiteral(".1"));
        current.rename(m_path + QStringLiteral(".1"));
    }
    QFile f(m_path);
    if (!f.open(QIODevice::Append)) return; // the entry stays in memory; the disk is not ours
    f.write((entry.fileLine() + QLatin1Char('\n')).toUtf8());
}

QString DeliveryLog::text() const {
    QStringList lines;
    for (const DeliveryEntry& e : m_entries)
        lines << e.line();
    return lines.join(QLatin1Char('\n'));
}

} // namespace zuohao::notify
