#include "support_http_server.h"

#include <QHostAddress>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace zuohao::test {

QByteArray ReceivedRequest::header(const QByteArray& name) const {
    for (const auto& [n, v] : headers)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return v;
    return {};
}

bool ReceivedRequest::hasHeader(const QByteArray& name) const {
    for (const auto& h : headers)
        if (h.first.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

Answer Answer::text(const QByteArray& body, int status) {
    Answer a;
    a.status = status;
    a.body = body;
    return a;
}

Answer Answer::redirect(const QByteArray& location, int status) {
    Answer a;
    a.status = status;
    a.headers.append({"Location", location});
    return a;
}

Answer Answer::close() {
    Answer a;
    a.kind = Close;
    return a;
}

Answer Answer::truncate() {
    Answer a;
    a.kind = Truncate;
    return a;
}

Answer Answer::hang() {
    Answer a;
    a.kind = Hang;
    return a;
}

Answer Answer::dribble() {
    Answer a;
    a.kind = Dribble;
    return a;
}

Answer& Answer::withHeader(const QByteArray& name, const QByteArray& value) {
    headers.append({name, value});
    return *this;
}

LocalHttpServer::LocalHttpServer(QObject* parent)
    : QObject(parent), m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &LocalHttpServer::onNewConnection);
}

LocalHttpServer::~LocalHttpServer() {
    stop();
}

bool LocalHttpServer::listen() {
    return m_server->listen(QHostAddress::LocalHost, 0);
}

bool LocalHttpServer::listenTls(const QSslConfiguration& tls) {
    auto* server = new QSslServer(this);
    server->setSslConfiguration(tls);
    delete m_server;
    m_server = server;
    m_tls = true;
    // A connection is handed over once its handshake is done.
    connect(server, &QSslServer::pendingConnectionAvailable, this,
            &LocalHttpServer::onNewConnection);
    return m_server->listen(QHostAddress::LocalHost, 0);
}

void LocalHttpServer::stop() {
    m_server->close();
    const auto sockets = m_buffers.keys();
    m_buffers.clear();
    for (QTcpSocket* s : sockets) {
        s->abort();
        s->deleteLater();
    }
}

quint16 LocalHttpServer::port() const {
    return m_server->serverPort();
}

QString LocalHttpServer::url(const QString& path) const {
    return QStringLiteral("%1://127.0.0.1:%2").arg(m_tls ? "https" : "http").arg(port()) + path;
}

void LocalHttpServer::enqueue(const QByteArray& path, const Answer& answer) {
    m_queued[path].append(answer);
}

void LocalHttpServer::setAnswer(const QByteArray& path, const Answer& answer) {
    m_standing[path] = answer;
}

int LocalHttpServer::requestCount(const QByteArray& path) const {
    int n = 0;
    for (const ReceivedRequest& r : m_requests)
        if (r.target.split('?').first() == path) ++n;
    return n;
}

void LocalHttpServer::onNewConnection() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        m_buffers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
    }
}

void LocalHttpServer::onReadyRead(QTcpSocket* socket) {
    if (!m_buffers.contains(socket)) return;
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) return;

    ReceivedRequest request;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> first = lines.first().trimmed().split(' ');
    request.method = first.value(0);
    request.target = first.value(1);
    qsizetype length = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) continue;
        const QByteArray name = line.left(colon).trimmed();
        const QByteArray value = line.mid(colon + 1).trimmed();
        request.headers.append({name, value});
        if (name.compare("Content-Length", Qt::CaseInsensitive) == 0) length = value.toLongLong();
    }
    if (buffer.size() < headEnd + 4 + length) return;
    request.body = buffer.mid(headEnd + 4, length);
    buffer.clear();
    m_requests.append(request);
    emit requestReceived();
    answer(socket, request);
}

void LocalHttpServer::answer(QTcpSocket* socket, const ReceivedRequest& request) {
    const QByteArray path = request.target.split('?').first();
    Answer a = Answer::text("not found", 404);
    if (auto q = m_queued.find(path); q != m_queued.end() && !q->isEmpty())
        a = q->takeFirst();
    else if (auto s = m_standing.find(path); s != m_standing.end())
        a = *s;

    switch (a.kind) {
    case Answer::Hang:
        return;
    case Answer::Close:
        socket->disconnectFromHost();
        return;
    case Answer::Truncate:
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\n12345");
        socket->disconnectFromHost();
        return;
    case Answer::Dribble:
        dribble(socket);
        return;
    case Answer::Respond:
        break;
    }
    QByteArray out = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\n";
    for (const auto& [name, value] : a.headers)
        out += name + ": " + value + "\r\n";
    out += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\n";
    out += "Connection: close\r\n\r\n";
    out += a.body;
    socket->write(out);
    socket->disconnectFromHost();
}

} // namespace zuohao::test

namespace zuohao::test {

void LocalHttpServer::dribble(QTcpSocket* socket) {
    socket->write("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\nConnection: close\r\n\r\n");
    auto* timer = new QTimer(socket); // goes with the socket
    connect(timer, &QTimer::timeout, socket, [socket] {
        if (socket->state() == QAbstractSocket::ConnectedState) socket->write("x");
    });
    timer->start(20);
}

} // namespace zuohao::test
