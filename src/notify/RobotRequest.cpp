#include "notify/RobotRequest.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QUrlQuery>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

#include "notify/MessageText.h"

namespace zuohao::notify {

namespace {

constexpr qsizetype kWeComTextBytes = 2048; // 企业微信: content at most 2048 bytes
constexpr int kMillisPerSecond = 1000;
const QByteArray kJson = "application/json; charset=utf-8";
const QString kMask = QStringLiteral("****");

// The longest prefix of `text` whose UTF-8 form fits in `bytes`, never splitting a character.
QString cutToBytes(const QString& text, qsizetype bytes) {
    if (text.toUtf8().size() <= bytes) return text;
    QString out;
    qsizetype used = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const qsizetype size = text.mid(i, n).toUtf8().size();
        if (used + size > bytes) break;
        out += text.mid(i, n);
        used += size;
        i += n - 1;
    }
    return out;
}

QByteArray compact(const QJsonObject& o) {
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray hmacBase64(const QByteArray& key, const QByteArray& message) {
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256).toBase64();
}

QString jsonStringContent(const QString& s) {
    // A JSON array of the one string, without its brackets and quotes.
    const QByteArray doc = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(doc.mid(2, doc.size() - 4));
}

OutgoingRequest jsonPost(const QUrl& url, const QJsonObject& body) {
    return {url, "POST", kJson, compact(body)};
}

// 钉钉: the signature goes into the address, URL-encoded (every byte but A-Z a-z 0-9 - . _ ~).
QUrl signedDingTalkUrl(const QUrl& url, const QString& secret, qint64 nowMs) {
    QString query = url.query(QUrl::FullyEncoded);
    if (!query.isEmpty()) query += QLatin1Char('&');
    query += QStringLiteral("timestamp=%1&sign=%2")
                 .arg(nowMs)
                 .arg(QString::fromLatin1(
                     QUrl::toPercentEncoding(QString::fromLatin1(dingTalkSign(secret, nowMs)))));
    QUrl out = url;
    out.setQuery(query, QUrl::StrictMode);
    return out;
}

QString problemText(SendProblem p) {
    switch (p) {
    case SendProblem::NoAddress:
        return QStringLiteral("未填写地址");
    case SendProblem::BadAddress:
        return QStringLiteral("地址无效");
    case SendProblem::PlainHttpRemote:
        return QStringLiteral("http:// 只能用于本机或局域网地址，其他地址请用 https://");
    case SendProblem::NotHttp:
        return QStringLiteral("只支持 https:// 地址（本机或局域网地址也可用 http://）");
    case SendProblem::BadMethod:
        return QStringLiteral("请求方法只能是 GET、POST、PUT 或 PATCH");
    default:
        return {};
    }
}

BuiltRequest refused(SendProblem p) {
    return {std::nullopt, problemText(p), p};
}

BuiltRequest webhookRequest(const Target& t, const Message& m) {
    const QByteArray method = t.method.trimmed().toUpper().toLatin1();
    static const QList<QByteArray> known{"GET", "POST", "PUT", "PATCH"};
    if (!known.contains(method)) return refused(SendProblem::BadMethod);
    // Fields in the address are percent-encoded; the address itself must still be usable.
    QString address = t.url.trimmed();
    for (const char* name : {"lottery", "period", "group", "run", "text"}) {
        const QString key = QStringLiteral("{%1}").arg(QLatin1String(name));
        if (address.contains(key))
            address.replace(key, QString::fromLatin1(QUrl::toPercentEncoding(
                                     *fieldValue(m, QString::fromLatin1(name)))));
    }
    const QUrl url(address, QUrl::StrictMode);
    if (const SendProblem p = addressProblem(url); p != SendProblem::None) return refused(p);
    OutgoingRequest r{url, method, {}, {}};
    if (method != "GET") {
        r.contentType = t.contentType.trimmed().toUtf8();
        r.body = t.bodyTemplate.isEmpty()
                     ? messageText(m).toUtf8()
                     : expandTemplate(t.bodyTemplate, m, t.contentType).toUtf8();
    }
    return {r, {}};
}

// The integer a robot's answer holds under `key`, when it holds one.
// A code that is no integer of 64 bits (a fraction, a huge number) is a failing code too.
std::optional<qint64> codeOf(const QJsonObject& o, const char* key) {
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble()) return std::nullopt;
    constexpr double kCodeLimit = 9.0e18; // below 2^63
    const double d = v.toDouble();
    if (d != std::trunc(d) || !(std::abs(d) < kCodeLimit))
        return std::numeric_limits<qint64>::min();
    return qint64(d);
}

QString messageOf(const QJsonObject& o) {
    for (const char* key : {"errmsg", "msg", "StatusMessage"})
        if (const QJsonValue v = o.value(QLatin1String(key)); v.isString()) return v.toString();
    return {};
}

bool inRange(quint32 a, quint32 net, int bits) {
    return (a >> (32 - bits)) == (net >> (32 - bits));
}

} // namespace

QByteArray dingTalkSign(const QString& secret, qint64 timestampMs) {
    const QByteArray key = secret.toUtf8();
    return hmacBase64(key, QByteArray::number(timestampMs) + '\n' + key);
}

QByteArray feishuSign(const QString& secret, qint64 timestampSeconds) {
    return hmacBase64(QByteArray::number(timestampSeconds) + '\n' + secret.toUtf8(), {});
}

QString robotText(const Target& t, const Message& m) {
    QString text = messageText(m);
    const QString keyword = t.keyword.trimmed();
    if (!keyword.isEmpty() && !text.contains(keyword)) text = keyword + QLatin1Char(' ') + text;
    if (t.kind == TargetKind::WeCom) text = cutToBytes(text, kWeComTextBytes);
    return text;
}

QString expandTemplate(const QString& tpl, const Message& m, const QString& contentType) {
    const bool json = contentType.contains(QLatin1String("json"), Qt::CaseInsensitive);
    const bool form =
        contentType.contains(QLatin1String("x-www-form-urlencoded"), Qt::CaseInsensitive);
    QString out;
    out.reserve(tpl.size());
    for (qsizetype i = 0; i < tpl.size(); ++i) {
        const qsizetype close = tpl[i] == u'{' ? tpl.indexOf(u'}', i + 1) : -1;
        const auto value = close > i ? fieldValue(m, tpl.mid(i + 1, close - i - 1)) : std::nullopt;
        if (!value) {
            out += tpl[i];
            continue;
        }
        if (json)
            out += jsonStringContent(*value);
        else if (form)
            out += QString::fromLatin1(QUrl::toPercentEncoding(*value));
        else
            out += *value;
        i = close;
    }
    return out;
}

BuiltRequest buildRequest(const Target& t, const Message& m, qint64 nowMs) {
    if (t.url.trimmed().isEmpty()) return refused(SendProblem::NoAddress);
    if (t.kind == TargetKind::Webhook) return webhookRequest(t, m);
    const QUrl url(t.url.trimmed(), QUrl::StrictMode);
    if (const SendProblem p = addressProblem(url); p != SendProblem::None) return refused(p);
    const QString text = robotText(t, m);
    const bool signs = !t.secret.isEmpty();
    switch (t.kind) {
    case TargetKind::WeCom:
        return {jsonPost(url, {{"msgtype", "text"}, {"text", QJsonObject{{"content", text}}}}), {}};
    case TargetKind::DingTalk:
        return {jsonPost(signs ? signedDingTalkUrl(url, t.secret, nowMs) : url,
                         {{"msgtype", "text"}, {"text", QJsonObject{{"content", text}}}}),
                {}};
    case TargetKind::Feishu: {
        QJsonObject body{{"msg_type", "text"}, {"content", QJsonObject{{"text", text}}}};
        if (signs) {
            const qint64 seconds = nowMs / kMillisPerSecond;
            body.insert(QStringLiteral("timestamp"), QString::number(seconds));
            body.insert(QStringLiteral("sign"), QString::fromLatin1(feishuSign(t.secret, seconds)));
        }
        return {jsonPost(url, body), {}};
    }
    case TargetKind::Webhook:
        break;
    }
    return refused(SendProblem::BadAddress); // not a kind of target: nothing to send to
}

namespace {
constexpr int kFirstClientError = 400;
constexpr int kRequestTimeout = 408;
constexpr int kTooManyRequests = 429;
constexpr int kFirstServerError = 500;
// The robots' "too many messages" codes (企业微信 45009, 钉钉 130101, 飞书 11232): the only
// refusals that a later attempt can overcome.
constexpr qint64 kRateLimitCodes[] = {45009, 130101, 11232};
} // namespace

AnswerVerdict judgeAnswer(TargetKind kind, int status, const QByteArray& body) {
    if (status < 200 || status > 299) {
        const bool clientError = status >= kFirstClientError && status < kFirstServerError &&
                                 status != kRequestTimeout && status != kTooManyRequests;
        return {false,
                QStringLiteral("HTTP %1").arg(status),
                SendProblem::HttpStatus,
                {},
                !clientError};
    }
    if (!isRobot(kind)) return {true, {}, SendProblem::None, {}};
    const QJsonDocument doc = QJsonDocument::fromJson(body);
    if (!doc.isObject())
        return {false,
                QStringLiteral("HTTP %1，应答不是机器人的格式").arg(status),
                SendProblem::NotRobotAnswer,
                {}};
    const QJsonObject o = doc.object();
    const char* key = kind == TargetKind::Feishu ? "code" : "errcode";
    std::optional<qint64> code = codeOf(o, key);
    if (!code && kind == TargetKind::Feishu) {
        key = "StatusCode";
        code = codeOf(o, key);
    }
    if (!code)
        return {false, QStringLiteral("HTTP %1，应答中没有 %2").arg(status).arg(key),
                SendProblem::NoResultCode, QLatin1String(key)};
    if (*code == 0) return {true, {}, SendProblem::None, {}};
    const QString msg = messageOf(o);
    const QString result = QStringLiteral("%1 %2").arg(QLatin1String(key)).arg(*code);
    const bool rateLimited = std::find(std::begin(kRateLimitCodes), std::end(kRateLimitCodes),
                                       *code) != std::end(kRateLimitCodes);
    return {false, result + (msg.isEmpty() ? QString() : QStringLiteral("：") + msg),
            SendProblem::RobotRefused, result, rateLimited};
}

bool isLocalHost(const QString& host) {
    const QString h = host.toLower();
    if (h == QLatin1String("localhost") || h.endsWith(QLatin1String(".localhost"))) return true;
    QHostAddress a;
    if (!a.setAddress(h)) return false;
    if (a.isLoopback() || a.isLinkLocal() || a.isUniqueLocalUnicast()) return true;
    bool isV4 = false;
    const quint32 v4 = a.toIPv4Address(&isV4); // also an IPv4 address mapped into IPv6
    if (!isV4) return false;
    return inRange(v4, 0x0A000000, 8) || inRange(v4, 0xAC100000, 12) ||
           inRange(v4, 0xC0A80000, 16) || inRange(v4, 0x7F000000, 8) || inRange(v4, 0xA9FE0000, 16);
}

SendProblem addressProblem(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty()) return SendProblem::BadAddress;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https")) return SendProblem::None;
    if (scheme == QLatin1String("http"))
        return isLocalHost(url.host()) ? SendProblem::None : SendProblem::PlainHttpRemote;
    return SendProblem::NotHttp;
}

QString urlProblem(const QUrl& url) {
    return problemText(addressProblem(url));
}

QString urlNote(const QUrl& url) {
    if (url.scheme().toLower() == QLatin1String("http") && urlProblem(url).isEmpty())
        return QStringLiteral("注意：http:// 不加密，只在本机或局域网内明文传送");
    return {};
}

QString redactedUrl(const QString& url) {
    const QUrl u(url.trimmed(), QUrl::StrictMode);
    if (!u.isValid() || u.host().isEmpty()) return QStringLiteral("（地址无效）");
    QString out = u.scheme() + QStringLiteral("://") + u.host();
    if (u.port() != -1) out += QLatin1Char(':') + QString::number(u.port());
    if (!u.path().isEmpty() && u.path() != QLatin1String("/")) out += QLatin1Char('/') + kMask;
    if (u.hasQuery()) out += QLatin1Char('?') + kMask;
    return out;
}

QString scrub(QString text, const Target& t) {
    QStringList secrets{t.url.trimmed(), t.secret};
    const QUrl u(t.url.trimmed());
    secrets << u.toString(QUrl::FullyEncoded) << u.toDisplayString();
    // The keys themselves: the query's values, long path pieces and the last one (a 飞书
    // hook, an ntfy topic).
    constexpr qsizetype kShortest = 6, kLongPiece = 16;
    for (const auto& [name, value] : QUrlQuery(u).queryItems(QUrl::FullyDecoded))
        secrets << value << QString::fromLatin1(QUrl::toPercentEncoding(value));
    const QStringList pieces = u.path().split(u'/', Qt::SkipEmptyParts);
    for (const QString& piece : pieces)
        if (piece.size() >= kLongPiece || &piece == &pieces.last()) secrets << piece;
    std::sort(secrets.begin(), secrets.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& s : secrets)
        if (s.size() >= kShortest) text.replace(s, kMask);
    return text;
}

} // namespace zuohao::notify
