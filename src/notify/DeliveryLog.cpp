#include "notify/DeliveryLog.h"

#include <QStringList>

namespace zuohao::notify {

QString DeliveryEntry::line() const {
    return QStringLiteral("%1  %2（%3）  %4  %5")
        .arg(time.toString(QStringLiteral("MM-dd hh:mm:ss")), target, address, title, outcome);
}

void DeliveryLog::add(DeliveryEntry entry) {
    m_entries.push_back(std::move(entry));
    while (m_entries.size() > kLimit)
        m_entries.pop_front();
}

QString DeliveryLog::text() const {
    QStringList lines;
    for (const DeliveryEntry& e : m_entries)
        lines << e.line();
    return lines.join(QLatin1Char('\n'));
}

} // namespace zuohao::notify
