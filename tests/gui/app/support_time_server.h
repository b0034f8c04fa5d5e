#pragma once
// A time service on 127.0.0.1 that answers every request with a fixed body.
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

class TimeServer : public QTcpServer {
public:
    QByteArray body = "2025-01-02 03:04:05";
    int requests = 0;
    int delayMs = 0;  // the answer comes this much later
    int open = 0;     // requests being answered now
    int mostOpen = 0; // the most answered at once
    int dropped = 0;  // requests whose client went away before the answer

    bool start() { return listen(QHostAddress::LocalHost, 0); }
    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/cgi-node/common/service_time").arg(serverPort());
    }

protected:
    void incomingConnection(qintptr fd) override {
        auto* socket = new QTcpSocket(this);
        socket->setSocketDescriptor(fd);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            m_buffer[socket] += socket->readAll();
            if (!m_buffer[socket].contains("\r\n\r\n")) return;
            m_buffer[socket].clear();
            ++requests;
            mostOpen = std::max(mostOpen, ++open);
            m_waiting.insert(socket);
            QTimer::singleShot(delayMs, socket, [this, socket] {
                if (!m_waiting.remove(socket)) return;
                --open;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                              QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" +
                              body);
                socket->disconnectFromHost();
            });
        });
        connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            m_buffer.remove(socket);
            if (m_waiting.remove(socket)) {
                --open;
                ++dropped;
            }
            socket->deleteLater();
        });
    }

private:
    QHash<QTcpSocket*, QByteArray> m_buffer;
    QSet<QTcpSocket*> m_waiting; // read, not yet answered
};
