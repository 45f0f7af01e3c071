#pragma once

#include "tools/boxsim/transportstream.h"

#include <QHostAddress>
#include <QObject>
#include <QStringList>

#include <functional>

class QTcpServer;
class QTcpSocket;

namespace boxsim {

// The receiver's stream port: "GET /<service reference>" is answered with a transport stream of
// that channel for a few seconds, a reference the receiver does not know with 404. Every
// reference asked for is logged, decoded, in order.
class StreamServer : public QObject
{
    Q_OBJECT
public:
    // knows tells whether the receiver has the service.
    StreamServer(std::function<bool(const QString&)> knows, QObject* parent = nullptr);

    quint16 listen(quint16 port, const QHostAddress& address);
    QStringList requests() const { return m_requests; }
    // How long each stream runs, in milliseconds (default 3000).
    void setStreamDuration(int ms) { m_durationMs = ms; }

private:
    void accept();
    void readHead(QTcpSocket* socket);
    void stream(QTcpSocket* socket);

    std::function<bool(const QString&)> m_knows;
    QTcpServer* m_server;
    QStringList m_requests;
    int m_durationMs = 3000;
};

} // namespace boxsim
