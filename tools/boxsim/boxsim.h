#pragma once

// The simulated receiver: an Enigma2 or Enigma1 web interface on 127.0.0.1 for tests and the
// demo. It is written from the receivers' documented behaviour and shares no code with the
// application, so tests against it stay honest.
//
//     boxsim::BoxSim box(boxsim::Personality::Enigma2);
//     box.setFixedTime(1710443862);          // optional: exact clock
//     const quint16 port = box.listen();     // port 0: a free port is chosen
//     ... requests to box.baseUrl() ...
//     box.setPathFault(u"/web/epgnow"_s, {boxsim::FaultKind::Http500});
//     QCOMPARE(box.requestTargets(), QList<QByteArray>{"/web/getallservices", ...});
//
// Everything runs in the thread of the BoxSim object and never blocks, so a test can embed the
// receiver in its own event loop.

#include "tools/boxsim/boxtypes.h"

#include <QHostAddress>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

namespace boxsim {

class HttpFront;
class ReceiverState;
class SimClock;
class StreamServer;
class WebInterface;

class BoxSim : public QObject
{
    Q_OBJECT
public:
    explicit BoxSim(Personality personality, QObject* parent = nullptr);
    ~BoxSim() override;

    Personality personality() const { return m_personality; }

    // --- Network ---------------------------------------------------------------------------
    // Listens on address:port (port 0: any free port) and returns the port, or 0 on failure
    // (errorString() says why).
    quint16 listen(quint16 port = 0, const QHostAddress& address = QHostAddress(QHostAddress::LocalHost));
    void close();
    bool isListening() const;
    quint16 port() const;
    QUrl baseUrl() const; // "http://127.0.0.1:<port>"
    QString errorString() const;
    // The port on which the receiver streams its channels (Enigma2 only; port 0: any free one);
    // 0 on failure. The references asked for there, decoded, in order.
    quint16 listenForStreams(quint16 port = 0,
                             const QHostAddress& address = QHostAddress(QHostAddress::LocalHost));
    QStringList streamRequests() const;

    // --- Authentication ----------------------------------------------------------------------
    // With credentials every request needs HTTP Basic authentication (401 with
    // WWW-Authenticate: Basic realm="..." otherwise). Enigma1 asks for it on /cgi-bin/status
    // even without credentials; it then accepts root/root.
    void setCredentials(const QString& user, const QString& password);
    void clearCredentials();

    // --- Session guard -----------------------------------------------------------------------
    // With the guard every request below /web/ (but /web/session) needs the sessionid that
    // /web/session gave this client (address and User-Agent), or it is answered 412.
    void setSessionGuard(bool enabled);
    bool hasSessionGuard() const;
    // Seconds on the receiver's clock an id stays valid; 0 (default): until expireSessions().
    void setSessionLifetime(qint64 secs);
    // Every id handed out is refused from now on; /web/session hands out new ones.
    void expireSessions();

    // --- Clock and seed ----------------------------------------------------------------------
    void setFixedTime(qint64 secsSinceEpoch); // the clock stands still until advanced
    void useSystemTime();
    void advanceTime(qint64 secs); // also with the system clock (shifts it)
    qint64 currentTime() const;
    // The seed of the generated line-up, the EPG, signal fluctuation and latency jitter.
    void setSeed(quint64 seed);
    quint64 seed() const { return m_seed; }

    // --- Line-up and EPG ----------------------------------------------------------------------
    void useDefaultLineUp();
    void useGeneratedLineUp(int bouquets, int servicesPerBouquet);
    QList<Bouquet> bouquets() const;
    // EPG of a service from a day ago to two days ahead of the clock.
    QList<Event> events(const QString& serviceReference) const;
    std::optional<Event> currentEvent(const QString& serviceReference) const;
    std::optional<Event> nextEvent(const QString& serviceReference) const;
    // Rebuilds the default state (movies, timers, volume ...) from the current clock and seed.
    void resetState();

    // --- Faults ------------------------------------------------------------------------------
    void setFault(const Fault& fault); // for every path
    void clearFault();
    // For one decoded path ("/web/epgnow"); "/web/*" covers every path below /web/.
    void setPathFault(const QString& path, const Fault& fault);
    void clearPathFault(const QString& path);
    void clearFaults();

    // --- Request log -------------------------------------------------------------------------
    QList<LoggedRequest> requests() const;
    // Raw "path?query" of every request that passed authentication, in order of arrival.
    QList<QByteArray> requestTargets() const;
    void clearRequests();

    // --- Replay ------------------------------------------------------------------------------
    // Answers from DIR instead of the living receiver (see README); an empty string ends it.
    // False when the directory does not exist.
    bool setReplayDirectory(const QString& directory);
    QString replayDirectory() const { return m_replayDirectory; }

    // --- Living state ------------------------------------------------------------------------
    QString currentServiceReference() const; // the movie's reference during playback
    void setCurrentService(const QString& reference);
    bool isStandby() const;
    void setStandby(bool standby);
    int volume() const; // Enigma2 0-100, Enigma1 0-63
    void setVolume(int volume);
    bool isMuted() const;
    void setMuted(bool muted);
    bool isRecording() const;
    // An instant recording of the current event (one hour without EPG); false during playback.
    bool startRecording();
    // Ends running instant recordings now; they become movies.
    void stopRecording();
    QList<Timer> timers() const;
    // False (and nothing added) when it overlaps another recording.
    bool addTimer(const Timer& timer);
    void clearTimers();
    QList<Movie> movies() const;
    void setMovies(const QList<Movie>& movies);
    bool isPlaying() const;
    QString playingMovie() const;
    void playMovie(const QString& reference); // as a zap to the movie's reference
    void stopPlayback();
    int playbackPosition() const; // seconds from the start of the recording
    void setPlaybackPosition(int seconds);
    bool isPaused() const;
    void setMessageAnswer(MessageAnswer answer);                    // for every question
    void scriptMessageAnswers(const QList<MessageAnswer>& answers); // the next questions first
    QList<ScreenMessage> messages() const;
    // The remote-control keys pressed, in order.
    QList<RemoteKeyPress> remoteKeys() const;
    bool isReachable() const;
    void makeUnreachable(int ms);
    // How long reboot, GUI restart and deep standby keep the receiver unreachable (ms).
    void setDowntime(PowerAction action, int ms);

signals:
    // Emitted when a request arrives, before it is answered.
    void requestReceived(const boxsim::LoggedRequest& request);
    // Emitted when the status line of an answer was written.
    void requestAnswered(quint64 sequence, int status);
    void reachableChanged(bool reachable);
    void stateChanged();

private:
    void applyGeneratedLineUp();
    void activateInterface();

    const Personality m_personality;
    quint64 m_seed = 1;
    int m_generatedBouquets = 0;
    int m_generatedServices = 0;
    QString m_replayDirectory;
    const std::unique_ptr<SimClock> m_clock;
    ReceiverState* const m_state;
    HttpFront* const m_front;
    StreamServer* m_streams = nullptr;
    std::unique_ptr<WebInterface> m_living;
    std::unique_ptr<WebInterface> m_replay;
};

} // namespace boxsim
