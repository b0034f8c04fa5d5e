#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the client tests: answers each path with queued
// answers (then a standing one), can fail by closing the connection, cut a body short,
// redirect or never answer, and records every request it read.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class QSslConfiguration;
class QTimer;

class QTcpServer;
class QTcpSocket;

namespace zuohao::test {

using HeaderList = QList<QPair<QByteArray, QByteArray>>;

struct ReceivedRequest {
    QByteArray method;
    QByteArray target; // as sent, percent-encoding kept
    HeaderList headers;
    QByteArray body;
    // The value of a header (name compared without regard to case); empty when absent.
    QByteArray header(const QByteArray& name) const;
    bool hasHeader(const QByteArray& name) const;
};

struct Answer {
    enum Kind { Respond, Close, Truncate, Hang, Dribble };
    Kind kind = Respond;
    int status = 200;
    HeaderList headers;
    QByteArray body;

    static Answer text(const QByteArray& body, int status = 200);
    static Answer redirect(const QByteArray& location, int status = 302);
    // Closes the connection without answering.
    static Answer close();
    // Sends the headers and half the promised body, then closes.
    static Answer truncate();
    // Keeps the connection open and never answers.
    static Answer hang();
    // Sends the headers, then one byte of a long body every 20 ms for as long as the
    // client stays (the connection is never idle, yet the answer never ends).
    static Answer dribble();
    Answer& withHeader(const QByteArray& name, const QByteArray& value);
};

class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    explicit LocalHttpServer(QObject* parent = nullptr);
    ~LocalHttpServer() override;

    bool listen();
    // Listens for HTTPS with the certificate and key of `tls`.
    bool listenTls(const QSslConfiguration& tls);
    void stop();
    quint16 port() const;
    // "http://127.0.0.1:<port>" + path ("https://" when listening for HTTPS).
    QString url(const QString& path) const;

    // Answers used once each, in order, for requests to a path (the target before "?").
    void enqueue(const QByteArray& path, const Answer& answer);
    // The answer for a path once its queue is empty (404 when none is set).
    void setAnswer(const QByteArray& path, const Answer& answer);

    const QList<ReceivedRequest>& requests() const { return m_requests; }
    int requestCount(const QByteArray& path) const;

signals:
    // A whole request has been read (it is the last of requests()).
    void requestReceived();

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const ReceivedRequest& request);
    void dribble(QTcpSocket* socket);

    QTcpServer* m_server;
    bool m_tls = false;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QByteArray, QList<Answer>> m_queued;
    QHash<QByteArray, Answer> m_standing;
    QList<ReceivedRequest> m_requests;
};

} // namespace zuohao::test
