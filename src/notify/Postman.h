#pragma once
// One attempt to deliver a message: the request built for the target sent through Qt's
// network access manager, asynchronously, cut off after a time limit, and its answer judged.
// HTTPS is always verified against the system's certificate authorities; nothing here can turn
// that off.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSslCertificate>
#include <QString>
#include <chrono>
#include <functional>

#include "notify/NotifyTypes.h"

class QNetworkAccessManager;

namespace zuohao::notify {

struct AttemptResult {
    bool accepted = false;
    // False when no retry can succeed: no attempt could be made (a bad address), the
    // certificate was refused, a 4xx answer other than 408 and 429, a robot's refusal other
    // than its rate limit.
    bool retryable = true;
    bool maybeDelivered = false; // cut off after the request had gone out
    int status = 0;              // the HTTP status; 0 when no answer came
    QByteArray body;             // the answer's body (its start), secrets masked
    QString reason;              // why not accepted, secrets masked
    SendProblem problem = SendProblem::None;
    QString detail; // see SendProblem, secrets masked
    // The answer as the settings window and zuohao-cli show it: "HTTP 200 {...}" or the reason.
    QString answerText() const;
};

class Postman : public QObject {
    Q_OBJECT
public:
    explicit Postman(QObject* parent = nullptr);
    ~Postman() override;

    // Sends `m` to `t` and returns at once. `done` runs once, in `context`'s thread, when the
    // attempt has ended; nothing runs when `context` is destroyed first (the request is then
    // aborted).
    void send(const Target& t, const Message& m, std::chrono::milliseconds limit, QObject* context,
              std::function<void(const AttemptResult&)> done);

    // The clock the robots' signatures are made with (milliseconds since the epoch).
    void setClock(std::function<qint64()> nowMs) { m_clock = std::move(nowMs); }
    qint64 now() const;
    // Certificate authorities trusted besides the system's (a local test server's own).
    void addCaCertificates(const QList<QSslCertificate>& certificates);

    // How much of an answer's body is kept.
    static constexpr qsizetype kBodyKept = 2000;

signals:
    // A request has been written to the network in full (its answer may still be to come).
    void requestSent();

private:
    QNetworkAccessManager* m_manager;
    std::function<qint64()> m_clock;
    QList<QSslCertificate> m_extraCas;
};

} // namespace zuohao::notify
