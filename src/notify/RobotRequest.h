#pragma once
// The request each kind of target gets, and how its answer is judged, as the robots'
// documentation describes them:
// - 企业微信 group robot: POST JSON {"msgtype":"text","text":{"content":...}} to the webhook
//   (content at most 2048 bytes of UTF-8); success is {"errcode":0,...}.
// - 钉钉 group robot: POST JSON {"msgtype":"text","text":{"content":...}}; with a signing secret
//   the URL gets &timestamp=<ms>&sign=<urlEncode(Base64(HmacSHA256(key = secret,
//   timestamp + "\n" + secret)))>; with a keyword the content must contain it; success is
//   {"errcode":0,...}.
// - 飞书 group robot: POST JSON {"msg_type":"text","content":{"text":...}}; with a signing
//   secret the body also carries "timestamp" (seconds) and "sign" = Base64(HmacSHA256(key =
//   timestamp + "\n" + secret, empty message)); success is {"code":0,...} (older answers:
//   {"StatusCode":0,...}).
// - generic webhook: the user's method, content type and body template; success is any 2xx.
//
// Nothing here sends: the requests are data, so that the desktop program and zuohao-cli send
// byte for byte the same and tests can check them without a network.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

#include "notify/NotifyTypes.h"

namespace zuohao::notify {

struct OutgoingRequest {
    QUrl url;
    QByteArray method;      // GET, POST, PUT, PATCH
    QByteArray contentType; // empty when there is no body
    QByteArray body;
};

struct [[nodiscard]] BuiltRequest {
    std::optional<OutgoingRequest> request;
    QString error; // why there is no request (shown to the user; never holds a secret)
    SendProblem problem = SendProblem::None;
    explicit operator bool() const { return request.has_value(); }
};

// The request that sends `m` to `t` at the time `nowMs` (milliseconds since the epoch; the
// robots' signatures carry it).
BuiltRequest buildRequest(const Target& t, const Message& m, qint64 nowMs);

// The text a robot is sent: the message's text, with the keyword in front when the text lacks
// it, cut to what the robot takes.
QString robotText(const Target& t, const Message& m);

// The signatures, Base64 (钉钉's still to be URL-encoded into the address).
QByteArray dingTalkSign(const QString& secret, qint64 timestampMs);
QByteArray feishuSign(const QString& secret, qint64 timestampSeconds);

// A body template with its {field}s replaced by the message's values, each escaped for the
// content type (JSON string content, form encoding, or as is); unknown {names} stay.
QString expandTemplate(const QString& tpl, const Message& m, const QString& contentType);

struct AnswerVerdict {
    bool accepted = false;
    QString reason; // why not: "HTTP 500", "errcode 310000：keywords not in content", ...
    SendProblem problem = SendProblem::None;
    QString detail; // see SendProblem
    // Whether trying again can help: not after a 4xx other than 408 and 429, nor after a
    // robot's refusal other than its rate limit (a bad token, signature or keyword).
    bool worthRetrying = true;
};

// Whether the target accepted the message: a 2xx answer and, from a robot, its success code.
AnswerVerdict judgeAnswer(TargetKind kind, int status, const QByteArray& body);

// Why an address cannot be used (None when it can): only https://, or http:// to this
// computer or a private network address.
SendProblem addressProblem(const QUrl& url);
// The same as the settings window says it; empty when the address can be used.
QString urlProblem(const QUrl& url);
// A note for an address that can be used but sends in clear text (http:// on the local
// network); empty otherwise.
QString urlNote(const QUrl& url);
// Whether a host is this computer or a private network address (by its literal address).
bool isLocalHost(const QString& host);

// An address as the delivery log keeps it: scheme, host and port only, the rest (where the
// robots carry their keys) masked.
QString redactedUrl(const QString& url);
// A text (an error description, an answer) with every secret of the target masked.
QString scrub(QString text, const Target& t);

} // namespace zuohao::notify
