#pragma once
// The server time: asked of the time service (GET on an address ending in
// "/cgi-node/common/service_time", answered by a plain date-time text) before each fetch
// of new draws. Without an address the local clock stands in for the server.
#include <QDateTime>
#include <QPointer>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

#include "core/model/Result.h"
#include "gui/acquire/HttpClass.h"

namespace zuohao::gui {

class TimeService {
public:
    explicit TimeService(QString url = {});
    ~TimeService();
    TimeService(const TimeService&) = delete;
    TimeService& operator=(const TimeService&) = delete;

    QString url() const { return m_url; }
    void setUrl(const QString& url) { m_url = url; }
    // Cut-off of each attempt of the request (tests shorten it).
    void setAttemptLimit(std::chrono::milliseconds limit) { m_attemptLimit = limit; }

    using Answer = zuohao::Result<QDateTime>;
    using AnswerHandler = std::function<void(const Answer&)>;

    // Asks the service for the time and returns at once; `done` gets the answer when the
    // request has finished or been given up, and the time is kept as the server time. A
    // request given up or an answer that is not a date-time is an error (its text is for the
    // status line); the server time then keeps its previous value. Without an address the
    // local clock is taken, nothing is sent and `done` runs before this returns. A request
    // made while one is under way replaces it.
    void RequestServerTime(AnswerHandler done);
    // Whether a request is under way.
    bool busy() const { return !m_http.isNull(); }
    // Drops the request under way; its `done` never runs.
    void cancel();

    // The last server time obtained; ZeroTime() before the first.
    QDateTime serverTime() const { return m_serverTime; }

    // The zero date-time, 1899-12-30 00:00:00.
    static QDateTime ZeroTime();

    // A date-time text as the service writes it: "2025-01-02 03:04:05", "2025/1/2 3:04:05",
    // ISO 8601 with "T" (with or without a zone; a zoned time is turned into local time),
    // seconds and time optional, AM/PM allowed, blanks around it ignored.
    static std::optional<QDateTime> ParseDateTime(const QString& text);

    // "mm-dd hh:mm:ss" for the status line; empty for an invalid time or the zero date (no
    // server time known yet).
    static QString StatusTime(const QDateTime& time);
    // "yyyy-mm-dd hh:mm:ss".
    static QString LocalStatusTime(const QDateTime& time);

    static constexpr const char* kServicePath = "/cgi-node/common/service_time";

private:
    // The answer a request that has ended gives; a time read is kept as the server time.
    Answer answerOf(const HttpClass& http);

    QString m_url;
    QDateTime m_serverTime;
    std::chrono::milliseconds m_attemptLimit = HttpClass::kAttemptLimit;
    QPointer<HttpClass> m_http; // the request under way
};

} // namespace zuohao::gui
