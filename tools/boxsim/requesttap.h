#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include <optional>

class QTcpSocket;

namespace boxsim {

// The request line of one request exactly as it came over the wire.
struct RawRequestLine
{
    QByteArray method;
    QByteArray target;
};

// Watches one connection and records the request lines before the HTTP server parses them,
// because the parsed URL is normalised (hex digits upper-cased, unreserved characters decoded)
// and tests need the bytes the client sent. It peeks at the socket in a slot that runs before
// the server's and notes in a slot that runs after it how much the server left unread.
class RequestTap : public QObject
{
    Q_OBJECT
public:
    explicit RequestTap(QTcpSocket* socket);

    // Called in this order for each readyRead: before and after the server read.
    void beforeServer();
    void afterServer();

    std::optional<RawRequestLine> takeNext();

private:
    void feed(const QByteArray& bytes);

    QTcpSocket* const m_socket;
    qint64 m_seenInBuffer = 0;
    qint64 m_bodyRemaining = 0;
    QByteArray m_pending;
    QList<RawRequestLine> m_lines;
};

// A TCP server whose connections carry a RequestTap.
class TapServer : public QTcpServer
{
    Q_OBJECT
public:
    explicit TapServer(QObject* parent = nullptr);

    static RequestTap* tapOf(QTcpSocket* socket);

protected:
    void incomingConnection(qintptr descriptor) override;
};

} // namespace boxsim
