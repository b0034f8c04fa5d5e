#include "notify/Postman.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QSslError>
#include <QTimer>
#include <memory>

#include "notify/RobotRequest.h"

namespace zuohao::notify {

namespace {
constexpr qsizetype kAnswerShown = 300;
constexpr qsizetype kBodyRead = 64 * 1024; // a robot's answer is a few dozen bytes

constexpr double kMillisPerSecond = 1000.0;

// Why no answer came, with its detail.
void noteFailure(AttemptResult& r, QNetworkReply* reply, bool timedOut,
                 std::chrono::milliseconds limit, const QString& sslProblem) {
    if (timedOut) {
        r.problem = SendProblem::Timeout;
        r.detail = QString::number(double(limit.count()) / kMillisPerSecond, 'g', 3);
        r.reason = QStringLiteral("超时：%1 秒内没有应答").arg(r.detail);
        return;
    }
    switch (reply->error()) {
    case QNetworkReply::ConnectionRefusedError:
        r.problem = SendProblem::ConnectionRefused;
        r.reason = QStringLiteral("连接被拒绝");
        return;
    case QNetworkReply::HostNotFoundError:
        r.problem = SendProblem::HostNotFound;
        r.reason = QStringLiteral("找不到服务器");
        return;
    case QNetworkReply::RemoteHostClosedError:
        r.problem = SendProblem::ConnectionClosed;
        r.reason = QStringLiteral("服务器断开了连接");
        return;
    case QNetworkReply::SslHandshakeFailedError:
        r.problem = SendProblem::TlsFailed;
        r.detail = sslProblem;
        r.reason = QStringLiteral("HTTPS 证书验证失败") +
                   (sslProblem.isEmpty() ? QString() : QStringLiteral("：") + sslProblem);
        return;
    default:
        r.problem = SendProblem::Network;
        r.detail = reply->errorString();
        r.reason = r.detail;
        return;
    }
}
} // namespace

QString AttemptResult::answerText() const {
    if (status == 0) return reason;
    QString shown = QString::fromUtf8(body).trimmed();
    if (shown.size() > kAnswerShown) shown = shown.left(kAnswerShown) + QStringLiteral("…");
    return QStringLiteral("HTTP %1 %2").arg(status).arg(shown);
}

Postman::Postman(QObject* parent) : QObject(parent), m_manager(new QNetworkAccessManager(this)) {}

Postman::~Postman() = default;

qint64 Postman::now() const {
    return m_clock ? m_clock() : QDateTime::currentMSecsSinceEpoch();
}

void Postman::addCaCertificates(const QList<QSslCertificate>& certificates) {
    m_extraCas += certificates;
    m_manager->clearConnectionCache(); // a kept connection would go on with the old trust
}

void Postman::send(const Target& t, const Message& m, std::chrono::milliseconds limit,
                   QObject* context, std::function<void(const AttemptResult&)> done) {
    BuiltRequest built = buildRequest(t, m, now());
    if (!built) {
        AttemptResult r;
        r.retryable = false;
        r.reason = built.error;
        r.problem = built.problem;
        QTimer::singleShot(0, context, [done, r] { done(r); });
        return;
    }
    const OutgoingRequest& out = *built.request;
    QNetworkRequest request(out.url);
    if (!out.contentType.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, out.contentType);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArrayLiteral("zuohao"));
    if (!m_extraCas.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(m_extraCas);
        request.setSslConfiguration(tls);
    }
    QNetworkReply* reply = m_manager->sendCustomRequest(request, out.method, out.body);
    reply->setParent(context); // goes (and is aborted) with its context
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    auto timedOut = std::make_shared<bool>(false);
    auto sslProblem = std::make_shared<QString>();
    auto sent = std::make_shared<bool>(false);
    connect(reply, &QNetworkReply::requestSent, reply, [sent] { *sent = true; });
    connect(reply, &QNetworkReply::requestSent, this, &Postman::requestSent);
    connect(deadline, &QTimer::timeout, reply, [reply, timedOut] {
        *timedOut = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::sslErrors, reply, [sslProblem](const QList<QSslError>& e) {
        if (!e.isEmpty() && sslProblem->isEmpty()) *sslProblem = e.first().errorString();
    });
    connect(reply, &QNetworkReply::finished, context,
            [reply, t, limit, timedOut, sslProblem, sent, done = std::move(done)] {
                reply->deleteLater();
                AttemptResult r;
                const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
                if (!*timedOut && status.isValid()) {
                    r.status = status.toInt();
                    const QByteArray body = reply->read(kBodyRead);
                    r.body = scrub(QString::fromUtf8(body.left(kBodyKept)), t).toUtf8();
                    const AnswerVerdict v = judgeAnswer(t.kind, r.status, body);
                    r.accepted = v.accepted;
                    r.reason = scrub(v.reason, t);
                    r.problem = v.problem;
                    r.detail = scrub(v.detail, t);
                    r.retryable = v.worthRetrying;
                } else {
                    noteFailure(r, reply, *timedOut, limit, *sslProblem);
                    r.retryable = r.problem != SendProblem::TlsFailed;
                    r.maybeDelivered = *timedOut && *sent;
                    r.reason = scrub(r.reason, t);
                    r.detail = scrub(r.detail, t);
                }
                done(r);
            });
    deadline->start(limit);
}

} // namespace zuohao::notify
