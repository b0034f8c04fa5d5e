#include "gui/acquire/ServerTime.h"

#include "core/acquire/TimeText.h"

#include <QTimeZone>

namespace zuohao::gui {

TimeService::TimeService(QString url) : m_url(std::move(url)), m_serverTime(ZeroTime()) {}

QDateTime TimeService::ZeroTime() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

TimeService::~TimeService() {
    cancel();
}

void TimeService::RequestServerTime(AnswerHandler done) {
    cancel();
    if (m_url.isEmpty()) {
        m_serverTime = QDateTime::currentDateTime();
        done(m_serverTime);
        return;
    }
    // One client per request, released once it has ended (never inside its own signal).
    auto* http = new HttpClass;
    m_http = http;
    http->setAttemptLimit(m_attemptLimit);
    const auto end = [this, http, done = std::move(done)] {
        m_http = nullptr;
        http->deleteLater();
        done(answerOf(*http));
    };
    QObject::connect(http, &HttpClass::responseFinished, http, end);
    QObject::connect(http, &HttpClass::requestGivenUp, http, end);
    http->SetHttpProperty(m_url, QStringLiteral("get"), true, true, QStringLiteral("True"), true,
                          false, false, 0);
}

TimeService::Answer TimeService::answerOf(const HttpClass& http) {
    if (http.state() != HttpClass::State::Finished)
        return zuohao::fail(("无法获取服务器时间: " + http.lastError()).toStdString());
    const auto time = ParseDateTime(http.HttpBody);
    // The answer is not a date-time: the same words the date conversion has always used.
    if (!time) return zuohao::fail("类型不匹配");
    m_serverTime = *time;
    return m_serverTime;
}

void TimeService::cancel() {
    if (!m_http) return;
    HttpClass* http = m_http;
    m_http = nullptr;
    delete http;
}

std::optional<QDateTime> TimeService::ParseDateTime(const QString& text) {
    const std::optional<TimeFields> t = ParseServiceTime(text.toStdString());
    if (!t) return std::nullopt;
    const QDate date(t->year, t->month, t->day);
    const QTime time(t->hour, t->minute, t->second, t->msec);
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    if (!t->zoned) return QDateTime(date, time);
    return QDateTime(date, time, QTimeZone(t->offsetSeconds)).toLocalTime();
}

QString TimeService::StatusTime(const QDateTime& time) {
    // No time is shown until one is known (the zero date would read as a real one).
    if (!time.isValid() || time == ZeroTime()) return {};
    return time.toString(QStringLiteral("MM-dd hh:mm:ss"));
}

QString TimeService::LocalStatusTime(const QDateTime& time) {
    return (time.isValid() ? time : ZeroTime()).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

} // namespace zuohao::gui
