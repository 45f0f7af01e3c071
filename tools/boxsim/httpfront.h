#pragma once

#include "tools/boxsim/answer.h"
#include "tools/boxsim/boxtypes.h"
#include "tools/boxsim/faulttable.h"
#include "tools/boxsim/sessionguard.h"
#include "tools/boxsim/simrandom.h"

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QTimer>

#include <optional>

class QHttpServerResponder;

namespace boxsim {

class SimClock;
class TapServer;

// The receiver's HTTP front: listens, records every request, checks Basic authentication,
// applies faults and hands the rest to the active web interface. Nothing here blocks: delays,
// trickling, hanging answers and unreachable periods all run on timers.
class HttpFront : public QAbstractHttpServer
{
    Q_OBJECT
public:
    explicit HttpFront(SimClock* clock, QObject* parent = nullptr);
    ~HttpFront() override;

    void setInterface(WebInterface* webInterface);

    bool listenOn(const QHostAddress& address, quint16 port);
    void stop();
    bool isListening() const;
    quint16 port() const { return m_port; }
    QHostAddress address() const { return m_address; }
    QString errorString() const { return m_error; }

    void setCredentials(const QString& user, const QString& password);
    void clearCredentials();
    void setSeed(quint64 seed);

    FaultTable& faults() { return m_faults; }
    SessionGuard& sessions() { return m_sessions; }
    // To be called after the faults changed: a global Refuse starts or stops listening.
    void faultsChanged();

    // The receiver is switched off or rebooting: no connections for ms milliseconds.
    void goDown(int ms);
    bool isReachable() const;

    const QList<LoggedRequest>& log() const { return m_log; }
    void clearLog();

signals:
    void requestReceived(const boxsim::LoggedRequest& request);
    void requestAnswered(quint64 sequence, int status);
    void reachableChanged(bool reachable);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    friend class Delivery;

    void updateListening();
    void markAnswered(quint64 sequence, int status);
    // The interface's error page, with the interface's transport.
    Answer finishedError(int status) const;
    Answer unauthorized() const;
    static QByteArray malformed(const Answer& answer);
    // The session guard's refusal, when the request lacks a valid id.
    std::optional<Answer> sessionRefusal(const QHttpServerRequest& request, const IncomingRequest& incoming,
                                         const Fault& fault) const;

    SimClock* const m_clock;
    TapServer* const m_tcp;
    WebInterface* m_interface = nullptr;
    FaultTable m_faults;
    SessionGuard m_sessions;
    SimRandom m_random;
    QHostAddress m_address = QHostAddress(QHostAddress::LocalHost);
    quint16 m_port = 0;
    bool m_bound = false;
    bool m_wantListening = false;
    bool m_down = false;
    bool m_reachable = false;
    QTimer m_downTimer;
    QString m_error;
    QString m_user;
    QString m_password;
    bool m_authEnabled = false;
    QList<LoggedRequest> m_log;
    quint64 m_nextSequence = 1;
};

} // namespace boxsim
