#include "tools/boxsim/sessionguard.h"

#include "tools/boxsim/simclock.h"
#include "tools/boxsim/simrandom.h"

namespace boxsim {

SessionGuard::SessionGuard(const SimClock* clock)
    : m_clock(clock)
{}

void SessionGuard::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        m_sessions.clear();
}

void SessionGuard::expireAll()
{
    for (Session& session : m_sessions)
        session.expired = true;
}

bool SessionGuard::guards(const QString& path) const
{
    // The session itself and the playlists a media player fetches go without an id.
    return m_enabled && path.startsWith(QLatin1String("/web/")) && !isSessionPath(path) &&
           !path.endsWith(QLatin1String(".m3u"));
}

bool SessionGuard::isSessionPath(const QString& path) const
{
    return path == QLatin1String("/web/session");
}

bool SessionGuard::isValid(const Session& session) const
{
    return !session.expired && (m_lifetime <= 0 || m_clock->now() - session.issuedAt < m_lifetime);
}

bool SessionGuard::accepts(const QString& client, const QString& id) const
{
    const auto it = m_sessions.constFind(client);
    return it != m_sessions.cend() && isValid(*it) && !id.isEmpty() && it->id == id.toLatin1();
}

Answer SessionGuard::issue(const QString& client)
{
    Session& session = m_sessions[client];
    if (session.id.isEmpty() || !isValid(session)) {
        ++m_issued;
        const quint64 bits = mix64(m_seed, m_issued);
        session.id = QByteArray::number(bits, 16).rightJustified(16, '0') +
                     QByteArray::number(mix64(bits), 16).rightJustified(16, '0');
        session.issuedAt = m_clock->now();
        session.expired = false;
    }
    Answer answer;
    answer.contentType = "application/xhtml+xml; charset=UTF-8";
    answer.body =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2sessionid>" + session.id + "</e2sessionid>\n";
    return answer;
}

Answer SessionGuard::refused()
{
    Answer answer;
    answer.status = 412;
    answer.contentType = "text/html";
    answer.body = "sessionid is missing, invalid or expired!";
    return answer;
}

QString SessionGuard::clientKey(const QString& address, const QByteArray& userAgent)
{
    return address + QLatin1Char('\n') + QString::fromLatin1(userAgent);
}

} // namespace boxsim
