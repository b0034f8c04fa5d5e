#include "gui/acquire/HttpClass.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>
#include <vector>

#include "gui/common/ChineseText.h"

namespace zuohao::gui {

// ---- StringDictionary ----------------------------------------------------------------

QStringList StringDictionary::Keys() const {
    QStringList out;
    for (const Entry& e : *this)
        out.append(e.first);
    return out;
}

QStringList StringDictionary::Items() const {
    QStringList out;
    for (const Entry& e : *this)
        out.append(e.second);
    return out;
}

// ---- Like ------------------------------------------------------------------------------

namespace {

struct LikeToken {
    enum Kind { Star, Any, Digit, Set, Char } kind = Char;
    QChar ch;
    bool negate = false;
    QList<QPair<QChar, QChar>> ranges;

    bool matches(QChar c) const {
        switch (kind) {
        case Any:
            return true;
        case Digit:
            return c >= u'0' && c <= u'9';
        case Char:
            return c == ch;
        case Set: {
            bool in = false;
            for (const auto& [lo, hi] : ranges)
                in = in || (c >= lo && c <= hi);
            return in != negate;
        }
        case Star:
            break;
        }
        return false;
    }
};

std::optional<QList<LikeToken>> parseLike(const QString& pattern) {
    QList<LikeToken> tokens;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        LikeToken t;
        if (c == u'*')
            t.kind = LikeToken::Star;
        else if (c == u'?')
            t.kind = LikeToken::Any;
        else if (c == u'#')
            t.kind = LikeToken::Digit;
        else if (c == u'[') {
            const qsizetype close = pattern.indexOf(u']', i + 1);
            if (close < 0) return std::nullopt;
            QString body = pattern.mid(i + 1, close - i - 1);
            i = close;
            if (body.isEmpty()) continue; // "[]" stands for no character at all
            t.kind = LikeToken::Set;
            if (body.startsWith(u'!')) {
                t.negate = true;
                body.remove(0, 1);
            }
            for (qsizetype k = 0; k < body.size(); ++k) {
                if (k + 2 < body.size() && body[k + 1] == u'-') {
                    if (body[k] > body[k + 2]) return std::nullopt;
                    t.ranges.append({body[k], body[k + 2]});
                    k += 2;
                } else {
                    t.ranges.append({body[k], body[k]});
                }
            }
        } else {
            t.ch = c;
        }
        tokens.append(t);
    }
    return tokens;
}

} // namespace

std::optional<bool> LikeMatch(const QString& text, const QString& pattern) {
    const auto tokens = parseLike(pattern);
    if (!tokens) return std::nullopt;
    // match[j]: the first i characters of the text match the first j tokens.
    const qsizetype n = tokens->size();
    std::vector<char> match(std::size_t(n + 1), 0), next(std::size_t(n + 1), 0);
    match[0] = 1;
    for (qsizetype j = 0; j < n; ++j)
        match[std::size_t(j + 1)] = match[std::size_t(j)] && (*tokens)[j].kind == LikeToken::Star;
    for (const QChar c : text) {
        next.assign(next.size(), 0);
        for (qsizetype j = 0; j < n; ++j) {
            const LikeToken& t = (*tokens)[j];
            const auto at = std::size_t(j);
            if (t.kind == LikeToken::Star)
                next[at + 1] = next[at] || match[at + 1] || match[at];
            else
                next[at + 1] = match[at] && t.matches(c);
        }
        match.swap(next);
    }
    return match[std::size_t(n)] != 0;
}

// ---- HttpClass -------------------------------------------------------------------------

namespace {

// The client sends exactly the cookies of its dictionary and keeps no others.
class NoCookieJar : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    QList<QNetworkCookie> cookiesForUrl(const QUrl&) const override { return {}; }
    bool setCookiesFromUrl(const QList<QNetworkCookie>&, const QUrl&) override { return false; }
};

// Methods that every server knows go out in capitals (the program passes "get"); any other
// method is sent as given.
QByteArray httpVerb(const QString& conn) {
    static const QStringList known{"GET", "POST", "HEAD", "PUT", "DELETE", "OPTIONS", "PATCH"};
    const QString upper = conn.trimmed().toUpper();
    if (upper.isEmpty()) return "GET";
    if (known.contains(upper)) return upper.toLatin1();
    return conn.trimmed().toUtf8();
}

// Whether the reply carries an answer of the server (any status, errors included) rather
// than a failure of the connection or the protocol.
bool isServerAnswer(const QNetworkReply* reply) {
    if (!reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) return false;
    const int e = reply->error();
    return e == QNetworkReply::NoError || (e >= 201 && e <= 299) ||
           e == QNetworkReply::ProtocolInvalidOperationError || (e >= 401 && e <= 499);
}

// The response text: decoded by the charset the server names, a byte order mark, or UTF-8.
QString responseText(const QByteArray& body, const QString& contentType) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?([^\"';\\s]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const auto m = charset.match(contentType); m.hasMatch()) {
        if (IsChineseCharset(m.captured(1))) return DecodeChinese(body);
        QStringDecoder dec(m.captured(1).toLatin1().constData());
        if (dec.isValid()) return dec.decode(body);
    }
    if (const auto enc = QStringConverter::encodingForData(body)) {
        QStringDecoder dec(*enc);
        return dec.decode(body);
    }
    return QString::fromUtf8(body);
}

// The raw bytes read as Simplified Chinese text (GB18030, the superset of code page 936).
QString chineseText(const QByteArray& body) {
    return DecodeChinese(body);
}

// All response headers in one text, as the request object gives them: "Name: value" lines
// ended by CR LF, each Set-Cookie on a line of its own.
QString headerText(const QNetworkReply* reply) {
    QByteArray out;
    for (const auto& [name, value] : reply->rawHeaderPairs()) {
        const bool cookie = name.compare("set-cookie", Qt::CaseInsensitive) == 0;
        const QList<QByteArray> values = cookie ? value.split('\n') : QList<QByteArray>{value};
        for (const QByteArray& v : values)
            out += name + ": " + v + "\r\n";
    }
    return QString::fromUtf8(out);
}

} // namespace

HttpClass::HttpClass(QObject* parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this)) {
    m_manager->setCookieJar(new NoCookieJar(m_manager));
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &HttpClass::attemptTimedOut);
}

HttpClass::~HttpClass() {
    dropReply();
}

void HttpClass::SetHttpProperty(const QString& urlStr, const QString& conn, bool reUrl, bool async,
                                const QString& post, bool isSendHead, bool isSendCookie,
                                bool isGetCookie, qint16 getBody) {
    UrlStr = urlStr;
    Conn = conn;
    ReUrl = reUrl;
    Async = async;
    Post = post;
    IsSendHead = isSendHead;
    IsSendCookie = isSendCookie;
    IsGetCookie = isGetCookie;
    GetBody = getBody;
    SendRequest();
}

void HttpClass::SetHeadItem(const QString& HeadName, const QString& HeadStr) {
    HeadDic.Set(HeadName, HeadStr);
}

void HttpClass::CookieDicAddItem(const QString& KeyStr, const QString& ItemStr) {
    if (ItemStr.isEmpty())
        CookieDic.Remove(KeyStr);
    else
        CookieDic.Set(KeyStr, ItemStr);
}

void HttpClass::GetHttpCookies(const QString& FilterStr) {
    QStringList lines;
    for (QString line : m_responseHeaders.split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.contains(QStringLiteral("Set-Cookie"))) lines.append(line);
    }
    const QString pattern = u'*' + FilterStr + u'*';
    for (const QString& line : lines) {
        // A line that does not have the form "Set-Cookie: name=value; ..." ends the
        // collection there; the cookies taken so far stay.
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        if (colon < 0) return;
        const QString pair = line.mid(colon + 2).section(u';', 0, 0);
        const qsizetype eq = pair.indexOf(u'=');
        if (eq < 0) return;
        const QString name = pair.left(eq);
        const auto matched = LikeMatch(name, pattern);
        if (!matched) return;
        if (*matched) CookieDic.Set(name, pair.mid(eq + 1));
    }
}

QByteArray HttpClass::CookieHeaderValue(const StringDictionary& cookies) {
    QStringList pairs;
    for (const auto& [name, value] : cookies)
        pairs.append(name + u'=' + value);
    QString text = pairs.join(QStringLiteral("; "));
    text.remove(u'\n');
    text.remove(u'\r');
    return (text + u';').toUtf8();
}

void HttpClass::SendRequest() {
    HttpBody.clear();
    dropReply();
    m_state = State::Sending;

    QNetworkRequest request(QUrl(UrlStr, QUrl::TolerantMode));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         ReUrl ? QNetworkRequest::NoLessSafeRedirectPolicy
                               : QNetworkRequest::ManualRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    // HTTP/1.1 keeps the header names as the server writes them (Set-Cookie is looked for
    // by its exact name).
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setTransferTimeout(int(m_attemptLimit.count()));
    if (IsSendHead) SendHeaders(request);
    if (IsSendCookie) SendCookies(request);

    const QByteArray verb = httpVerb(Conn);
    if (verb == "GET" || verb == "HEAD")
        m_reply = m_manager->sendCustomRequest(request, verb);
    else
        m_reply = m_manager->sendCustomRequest(request, verb, Post.toUtf8());
    QNetworkReply* reply = m_reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { replyFinished(reply); });
    m_deadline.start(m_attemptLimit);
}

void HttpClass::SendHeaders(QNetworkRequest& request) const {
    for (const auto& [name, value] : HeadDic)
        request.setRawHeader(name.toUtf8(), value.toUtf8());
}

void HttpClass::SendCookies(QNetworkRequest& request) const {
    request.setRawHeader("Cookie", CookieHeaderValue(CookieDic));
}

void HttpClass::OnResponseFinished() {
    if (IsGetCookie) GetHttpCookies(QString());
    switch (GetBody) {
    case 0:
    case 1:
    case 4:
    case 6:
        HttpBody = responseText(m_responseBytes, m_contentType);
        break;
    case 5:
        HttpBody = chineseText(m_responseBytes);
        break;
    default:
        HttpBody.clear();
        break;
    }
    m_state = State::Finished;
    emit responseFinished();
}

void HttpClass::OnError(int ErrorNumber, const QString& ErrorDescription) {
    Q_UNUSED(ErrorNumber);
    m_lastError = ErrorDescription;
    ++RetryCount;
    if (RetryCount >= kMaxErrors) {
        RetryCount = 0;
        m_state = State::GivenUp;
        emit requestGivenUp();
        return;
    }
    SendRequest();
}

void HttpClass::replyFinished(QNetworkReply* reply) {
    if (reply != m_reply) return;
    m_deadline.stop();
    m_reply = nullptr;
    reply->deleteLater();
    if (!isServerAnswer(reply)) {
        OnError(int(reply->error()), reply->errorString());
        return;
    }
    m_statusCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_responseHeaders = headerText(reply);
    m_responseBytes = reply->readAll();
    m_contentType = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    OnResponseFinished();
}

void HttpClass::attemptTimedOut() {
    if (!m_reply) return;
    dropReply();
    OnError(int(QNetworkReply::TimeoutError), QStringLiteral("操作超时"));
}

void HttpClass::dropReply() {
    m_deadline.stop();
    if (!m_reply) return;
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

} // namespace zuohao::gui
