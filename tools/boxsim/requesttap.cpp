#include "tools/boxsim/requesttap.h"

#include <QTcpSocket>

namespace boxsim {

namespace {

constexpr qsizetype MaxHeadSize = 256 * 1024;

} // namespace

RequestTap::RequestTap(QTcpSocket* socket)
    : QObject(socket)
    , m_socket(socket)
{}

void RequestTap::beforeServer()
{
    const qint64 available = m_socket->bytesAvailable();
    if (available < m_seenInBuffer)
        m_seenInBuffer = available; // read by someone else meanwhile; never count bytes twice
    if (available > m_seenInBuffer)
        feed(m_socket->peek(available).mid(m_seenInBuffer));
    m_seenInBuffer = available;
}

void RequestTap::afterServer()
{
    m_seenInBuffer = m_socket->bytesAvailable();
}

std::optional<RawRequestLine> RequestTap::takeNext()
{
    if (m_lines.isEmpty())
        return std::nullopt;
    return m_lines.takeFirst();
}

void RequestTap::feed(const QByteArray& bytes)
{
    QByteArray data = bytes;
    while (!data.isEmpty()) {
        if (m_bodyRemaining > 0) {
            const qint64 skip = std::min<qint64>(m_bodyRemaining, data.size());
            data.remove(0, skip);
            m_bodyRemaining -= skip;
            continue;
        }
        m_pending += data;
        data.clear();
        // Empty lines between requests are allowed.
        while (m_pending.startsWith("\r\n"))
            m_pending.remove(0, 2);
        const qsizetype end = m_pending.indexOf("\r\n\r\n");
        if (end < 0) {
            if (m_pending.size() > MaxHeadSize)
                m_pending.clear();
            return;
        }
        const QByteArray head = m_pending.left(end);
        data = m_pending.mid(end + 4);
        m_pending.clear();

        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> parts = lines.value(0).trimmed().split(' ');
        m_lines.append({parts.value(0), parts.value(1)});
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length")
                m_bodyRemaining = std::max<qint64>(0, line.mid(colon + 1).trimmed().toLongLong());
        }
    }
}

TapServer::TapServer(QObject* parent)
    : QTcpServer(parent)
{}

RequestTap* TapServer::tapOf(QTcpSocket* socket)
{
    return socket ? socket->findChild<RequestTap*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void TapServer::incomingConnection(qintptr descriptor)
{
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    auto* tap = new RequestTap(socket);
    // Connected before the HTTP server connects its own slot (which it does inside
    // addPendingConnection), so it runs first ...
    connect(socket, &QIODevice::readyRead, tap, &RequestTap::beforeServer);
    addPendingConnection(socket);
    // ... and this one runs after the server's slot.
    connect(socket, &QIODevice::readyRead, tap, &RequestTap::afterServer);
}

} // namespace boxsim
