#pragma once

#include "tools/boxsim/answer.h"

#include <QByteArray>
#include <QHash>
#include <QString>

namespace boxsim {

class SimClock;

// The "extended security" of the Enigma2 web interface: a request below /web/ must carry the
// sessionid that /web/session handed out to this client, or it is answered 412. An id belongs
// to the client's address and User-Agent together; when it has expired, /web/session hands out
// a new one and the old one is refused from then on.
class SessionGuard
{
public:
    explicit SessionGuard(const SimClock* clock);

    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // Seconds on the receiver's clock an id stays valid; 0: until expireAll().
    void setLifetime(qint64 secs) { m_lifetime = secs; }
    // Every id handed out expires now.
    void expireAll();
    void setSeed(quint64 seed) { m_seed = seed; }

    // Paths that need an id while the guard is on.
    bool guards(const QString& path) const;
    bool isSessionPath(const QString& path) const;
    bool accepts(const QString& client, const QString& id) const;
    // The answer of /web/session: the client's valid id, a new one when it has none.
    Answer issue(const QString& client);
    // A request without a valid id.
    static Answer refused();

    // Who asks: the address and User-Agent together.
    static QString clientKey(const QString& address, const QByteArray& userAgent);

private:
    struct Session
    {
        QByteArray id;
        qint64 issuedAt = 0;
        bool expired = false;
    };

    bool isValid(const Session& session) const;

    const SimClock* const m_clock;
    bool m_enabled = false;
    qint64 m_lifetime = 0;
    quint64 m_seed = 1;
    quint64 m_issued = 0;
    QHash<QString, Session> m_sessions;
};

} // namespace boxsim
