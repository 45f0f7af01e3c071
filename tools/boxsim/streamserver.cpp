#include "tools/boxsim/streamserver.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace boxsim {

namespace {

constexpr int sendIntervalMs = 100;
constexpr int packetsPerSend = 40;
constexpr qsizetype longestHead = 8192;

} // namespace

StreamServer::StreamServer(std::function<bool(const QString&)> knows, QObject* parent)
    : QObject(parent)
    , m_knows(std::move(knows))
    , m_server(new QTcpServer(this))
{
    connect(m_server, &QTcpServer::newConnection, this, &StreamServer::accept);
}

quint16 StreamServer::listen(quint16 port, const QHostAddress& address)
{
    return m_server->listen(address, port) ? m_server->serverPort() : 0;
}

void StreamServer::accept()
{
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readHead(socket); });
    }
}

void StreamServer::readHead(QTcpSocket* socket)
{
    if (socket->property("streaming").toBool())
        return;
    const QByteArray head = socket->peek(longestHead);
    if (!head.contains("\r\n\r\n")) {
        if (head.size() >= longestHead)
            socket->disconnectFromHost();
        return;
    }
    socket->setProperty("streaming", true);
    const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
    const QString reference = requestLine.size() == 3 && requestLine.at(1).startsWith('/')
                                  ? QUrl::fromPercentEncoding(requestLine.at(1).mid(1))
                                  : QString();
    m_requests.append(reference);
    if (requestLine.value(0) != "GET" || !m_knows(reference)) {
        socket->write("HTTP/1.0 404 Not Found\r\nContent-Type: text/plain\r\n\r\nService not found\n");
        socket->disconnectFromHost();
        return;
    }
    socket->write("HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: video/mp2t\r\n\r\n");
    stream(socket);
}

void StreamServer::stream(QTcpSocket* socket)
{
    auto transport = std::make_shared<TransportStream>();
    auto* timer = new QTimer(socket);
    const int sends = std::max(1, m_durationMs / sendIntervalMs);
    auto sent = std::make_shared<int>(0);
    connect(timer, &QTimer::timeout, socket, [socket, timer, transport, sends, sent] {
        socket->write(transport->packets(packetsPerSend));
        if (++*sent >= sends) {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    socket->write(transport->packets(packetsPerSend));
    timer->start(sendIntervalMs);
}

} // namespace boxsim
