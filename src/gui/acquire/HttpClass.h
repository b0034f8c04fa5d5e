#pragma once
// A general HTTP client for one request at a time: request headers and cookies kept in two
// dictionaries, the whole request configured and sent by one call, Set-Cookie answers
// collected into the cookie dictionary, the response text kept in HttpBody, and a request
// that meets an error sent again by the client itself (five errors give it up). It never
// holds up the thread it runs on: the end of a request is told by responseFinished or
// requestGivenUp.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <optional>

#include "core/model/OrderedDict.h"

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace zuohao::gui {

// Header and cookie dictionary: QString keys in insertion order, compared exactly (case
// matters); setting an existing key keeps its place.
class StringDictionary : public OrderedDict<QString, QString> {
public:
    QStringList Keys() const;
    QStringList Items() const;
};

// VB's Like operator (binary comparison): "?" one character, "*" any run, "#" one digit,
// "[abc]", "[a-z]", "[!...]" a character of (or not of) a list. Nothing for an invalid
// pattern (an unclosed "[").
std::optional<bool> LikeMatch(const QString& text, const QString& pattern);

class HttpClass : public QObject {
    Q_OBJECT
public:
    explicit HttpClass(QObject* parent = nullptr);
    ~HttpClass() override;

    StringDictionary HeadDic;   // request headers to send
    StringDictionary CookieDic; // cookies (name to value) to send
    QString HttpBody;           // response text of the last finished request
    QString UrlStr;             // address (non-ASCII characters go out as UTF-8)
    QString Conn;               // HTTP method, for example "get"
    bool ReUrl = false;         // follow redirects
    bool Async = false;         // kept as given: every request runs without blocking
    QString Post;               // request body (not sent with GET and HEAD)
    bool IsSendHead = false;    // send HeadDic as headers
    bool IsSendCookie = false;  // send CookieDic as one Cookie header
    bool IsGetCookie = false;   // collect Set-Cookie answers into CookieDic
    qint16 GetBody = 0;         // 0, 1, 4, 6 text; 5 raw bytes as GB18030; else nothing
    qint16 RetryCount = 0;      // errors seen since the last give-up

    // Stores the nine settings and sends the request; returns at once.
    void SetHttpProperty(const QString& urlStr, const QString& conn, bool reUrl, bool async,
                         const QString& post, bool isSendHead, bool isSendCookie, bool isGetCookie,
                         qint16 getBody);
    // Adds or replaces a request header.
    void SetHeadItem(const QString& HeadName, const QString& HeadStr);
    // Adds or replaces a cookie; an empty value removes it.
    void CookieDicAddItem(const QString& KeyStr, const QString& ItemStr);
    // Collects the cookies of the last response whose names match "*" + FilterStr + "*".
    void GetHttpCookies(const QString& FilterStr);

    enum class State { Idle, Sending, Finished, GivenUp };
    State state() const { return m_state; }
    // The description of the last error the request met (empty when none yet).
    QString lastError() const { return m_lastError; }
    // HTTP status of the last finished response.
    int statusCode() const { return m_statusCode; }
    // Every header of the last finished response, one "Name: value" line each, CR LF ended.
    QString allResponseHeaders() const { return m_responseHeaders; }

    // The Cookie header value formed from a cookie dictionary: "a=1; b=2;", ";" alone
    // when empty, line breaks removed.
    static QByteArray CookieHeaderValue(const StringDictionary& cookies);

    // Each attempt is cut off after this long (10 seconds unless changed, e.g. by tests).
    static constexpr std::chrono::milliseconds kAttemptLimit{10000};
    void setAttemptLimit(std::chrono::milliseconds limit) { m_attemptLimit = limit; }
    // Number of tries after which a request is given up.
    static constexpr int kMaxErrors = 5;

signals:
    void responseFinished();
    void requestGivenUp();

private:
    void SendRequest();
    void SendHeaders(QNetworkRequest& request) const;
    void SendCookies(QNetworkRequest& request) const;
    void OnResponseFinished();
    void OnError(int ErrorNumber, const QString& ErrorDescription);

    void replyFinished(QNetworkReply* reply);
    void attemptTimedOut();
    void dropReply();

    QNetworkAccessManager* m_manager;
    QNetworkReply* m_reply = nullptr;
    QTimer m_deadline;
    std::chrono::milliseconds m_attemptLimit = kAttemptLimit;
    State m_state = State::Idle;
    QString m_lastError;
    int m_statusCode = 0;
    QString m_responseHeaders;
    QByteArray m_responseBytes;
    QString m_contentType;
};

} // namespace zuohao::gui
