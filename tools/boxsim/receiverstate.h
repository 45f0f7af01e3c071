#pragma once

#include "tools/boxsim/boxtypes.h"
#include "tools/boxsim/epg.h"
#include "tools/boxsim/lineup.h"
#include "tools/boxsim/simrandom.h"

#include <QObject>
#include <QStringList>

#include <optional>

namespace boxsim {

class SimClock;

// One sample of the tuner's measurements; values move a little on every reading.
struct SignalSample
{
    int snrPercent = 0;
    double snrDb = 0;
    int ber = 0;
    int agcPercent = 0;
    bool locked = false;
    bool sync = false;
};

struct Transponder
{
    QString label;  // "11836 / 27500 / H"
    QString params; // "11836500:27500000:0:3:192:2:"
};

struct Satellite
{
    QString name;
    QList<Transponder> transponders;
};

struct TimerAddResult
{
    bool added = false;
    QStringList conflicts; // names of the timers in the way
};

// The living receiver behind both web interfaces: line-up and EPG, current service, power,
// volume, timers and recordings, movies and playback, screen messages, tuner and disk. Time
// comes from the SimClock; anything that follows the clock (timer states, zap timers, finished
// recordings, playback position) is brought up to date by update(), which every reader calls.
// The content is built lazily on first use, so the clock, seed and line-up can be chosen first.
class ReceiverState : public QObject
{
    Q_OBJECT
public:
    // A timer prepares this many seconds before it begins.
    static constexpr int PrepareTime = 20;
    // One forward or rewind step during playback.
    static constexpr int SkipSeconds = 60;

    explicit ReceiverState(Personality personality, SimClock* clock, QObject* parent = nullptr);

    Personality personality() const { return m_personality; }
    qint64 now() const;

    // Configuration
    void setSeed(quint64 seed);
    void setLineUp(const LineUp& lineUp);
    // Forgets everything and rebuilds the default content from the clock and seed on next use.
    void reset();
    void setDowntime(PowerAction action, int ms);
    int downtime(PowerAction action) const;

    // Brings the clock-driven state up to date (and builds the content on first use).
    void update();

    // Line-up and EPG
    const LineUp& lineUp();
    const EpgGenerator& epg() const { return m_epg; }
    qint64 epgFrom() const;
    qint64 epgTo() const;
    QList<EpgEvent> windowEvents(const LineUpService& service) const;

    // Current service: the live service, or the movie while one plays.
    QString currentReference();
    QString liveReference();
    const LineUpService* liveService();
    void zap(const QString& reference);

    // Power
    bool isStandby();
    void setStandby(bool standby);
    void powerAction(PowerAction action);
    qint64 bootTime();

    // Volume in the personality's scale (Enigma2 0-100, Enigma1 0-63)
    int maxVolume() const;
    // One step of the volume keys.
    int volumeStep() const;
    int volume();
    bool isMuted();
    void setVolume(int volume);
    void changeVolume(int delta);
    void setMuted(bool muted);

    // Timers and recording
    QList<Timer> timers();
    // A timer on the service for the event with the receiver's recording margins; without an
    // event it names only the service.
    static Timer timerForEvent(const LineUpService& service, const std::optional<EpgEvent>& event,
                               bool justPlay);
    TimerState timerState(const Timer& timer) const;
    TimerAddResult addTimer(const Timer& timer);
    std::optional<Timer> removeTimer(const QString& reference, qint64 begin, std::optional<qint64> end);
    int cleanupTimers();
    void clearTimers();
    bool isRecording();
    bool startInstantRecording();
    bool stopInstantRecording();

    // Movies and playback
    QList<Movie> movies();
    void setMovies(const QList<Movie>& movies);
    std::optional<Movie> movie(const QString& reference);
    std::optional<Movie> deleteMovie(const QString& reference);
    bool renameMovie(const QString& reference, const QString& title);
    qint64 diskCapacity() const;
    qint64 diskFree();
    bool isPlaying();
    std::optional<Movie> playingMovie();
    int playbackLength();
    int playbackPosition();
    bool isPaused();
    void playMovie(const QString& reference);
    void stopPlayback();
    void pausePlayback();
    void resumePlayback();
    void skip(int seconds);
    void setPlaybackPosition(int seconds);
    // Remote-control keys (Linux input codes) as the receiver's screen reacts to them.
    void pressKey(int code, bool longPress = false);
    // Every key pressed, in order.
    QList<RemoteKeyPress> pressedKeys() const { return m_pressedKeys; }

    // Screen messages
    void showMessage(const ScreenMessage& message);
    QList<ScreenMessage> messages() const { return m_messages; }
    // The viewer's answer to the last question; a question is answered once.
    MessageAnswer takeMessageAnswer();
    void setMessageAnswer(MessageAnswer answer);
    void scriptMessageAnswers(const QList<MessageAnswer>& answers);

    // Tuner
    SignalSample signal();
    const QList<Satellite>& satellites() const { return m_satellites; }
    int satfinderSatellite() const { return m_satSatellite; }
    int satfinderTransponder() const { return m_satTransponder; }
    SignalSample tuneSatfinder(const QString& params);

signals:
    void changed();
    // The receiver went down for a power action; it is back after downtimeMs.
    void wentDown(int downtimeMs);

private:
    struct TimerEntry
    {
        Timer timer;
        bool instant = false;
        bool zapped = false;
        bool recorded = false;
    };

    void ensureContent();
    void buildDefaultMovies();
    void buildDefaultTimers();
    Movie recordingToMovie(const Timer& timer) const;
    QString movieFileBase(const QString& serviceName, const QString& title, qint64 time) const;
    int movieIndex(const QString& reference) const;
    Timer withState(const Timer& timer) const;

    const Personality m_personality;
    SimClock* const m_clock;
    bool m_hasContent = false;
    bool m_lineUpChosen = false;
    LineUp m_lineUp;
    EpgGenerator m_epg;
    SimRandom m_random;

    QString m_liveReference;
    bool m_standby = false;
    qint64 m_bootTime = 0;
    int m_volume = 0;
    bool m_muted = false;
    int m_downtimeRestart = 3000;
    int m_downtimeReboot = 8000;
    int m_downtimeDeepStandby = 10000;

    QList<RemoteKeyPress> m_pressedKeys;
    QList<TimerEntry> m_timers;
    QList<Movie> m_movies;

    bool m_playing = false;
    QString m_playingReference;
    qint64 m_playBase = 0;
    qint64 m_playSince = 0;
    bool m_paused = false;
    bool m_stopAsked = false;

    QList<ScreenMessage> m_messages;
    bool m_questionPending = false;
    MessageAnswer m_pendingAnswer = MessageAnswer::Yes;
    MessageAnswer m_defaultAnswer = MessageAnswer::Yes;
    QList<MessageAnswer> m_scriptedAnswers;

    QList<Satellite> m_satellites;
    int m_satSatellite = 0;
    int m_satTransponder = 1;
};

} // namespace boxsim
