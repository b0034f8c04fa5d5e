#include "gui/acquire/ServerTime.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace zuohao::gui {

TimeService::TimeService(QString url) : m_url(std::move(url)), m_serverTime(ZeroTime()) {}

QDateTime TimeService::ZeroTime() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

zuohao::Result<QDateTime> TimeService::RequestServerTime() {
    if (m_url.isEmpty()) {
        m_serverTime = QDateTime::currentDateTime();
        return m_serverTime;
    }
    HttpClass http;
    http.setAttemptLimit(m_attemptLimit);
    http.SetHttpProperty(m_url, QStringLiteral("get"), true, true, QStringLiteral("True"), true,
                         false, false, 0);
    if (!http.WaitForResponse())
        return zuohao::fail(("无法获取服务器时间: " + http.lastError()).toStdString());
    const auto time = ParseDateTime(http.HttpBody);
    // The answer is not a date-time: the same words the date conversion has always used.
    if (!time) return zuohao::fail("类型不匹配");
    m_serverTime = *time;
    return m_serverTime;
}

std::optional<QDateTime> TimeService::ParseDateTime(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{4})[-/.](\\d{1,2})[-/.](\\d{1,2})"
                       "(?:(?:\\s+|T)(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2})(?:[.,](\\d{1,9}))?)?"
                       "(?:\\s*([AaPp][Mm]))?"
                       "\\s*(Z|[+-]\\d{2}(?::?\\d{2})?)?)?$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;

    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid()) return std::nullopt;

    int hour = m.captured(4).toInt();
    const int minute = m.captured(5).toInt();
    const int second = m.captured(6).toInt();
    const int msec =
        m.captured(7).isEmpty() ? 0 : m.captured(7).left(3).leftJustified(3, u'0').toInt();
    if (const QString ampm = m.captured(8).toUpper(); !ampm.isEmpty()) {
        if (hour < 1 || hour > 12) return std::nullopt;
        hour = hour % 12 + (ampm == u"PM" ? 12 : 0);
    }
    const QTime time(hour, minute, second, msec);
    if (!time.isValid()) return std::nullopt;

    const QString zone = m.captured(9);
    if (zone.isEmpty()) return QDateTime(date, time);
    int offset = 0;
    if (zone != u"Z") {
        const QString digits = zone.mid(1).remove(u':');
        offset = digits.left(2).toInt() * 3600 + digits.mid(2).toInt() * 60;
        if (zone.startsWith(u'-')) offset = -offset;
    }
    return QDateTime(date, time, QTimeZone(offset)).toLocalTime();
}

QString TimeService::StatusTime(const QDateTime& time) {
    return (time.isValid() ? time : ZeroTime()).toString(QStringLiteral("MM-dd hh:mm:ss"));
}

QString TimeService::LocalStatusTime(const QDateTime& time) {
    return (time.isValid() ? time : ZeroTime()).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace zuohao::gui
