#include "tools/boxsim/boxsim.h"

#include "tools/boxsim/enigma1interface.h"
#include "tools/boxsim/enigma2interface.h"
#include "tools/boxsim/httpfront.h"
#include "tools/boxsim/receiverstate.h"
#include "tools/boxsim/replayinterface.h"
#include "tools/boxsim/simclock.h"
#include "tools/boxsim/streamserver.h"

#include <QDir>

namespace boxsim {

BoxSim::BoxSim(Personality personality, QObject* parent)
    : QObject(parent)
    , m_personality(personality)
    , m_clock(std::make_unique<SimClock>())
    , m_state(new ReceiverState(personality, m_clock.get(), this))
    , m_front(new HttpFront(m_clock.get(), this))
{
    if (personality == Personality::Enigma2)
        m_living = std::make_unique<Enigma2Interface>(m_state);
    else
        m_living = std::make_unique<Enigma1Interface>(m_state);
    activateInterface();
    setSeed(1);

    connect(m_front, &HttpFront::requestReceived, this, &BoxSim::requestReceived);
    connect(m_front, &HttpFront::requestAnswered, this, &BoxSim::requestAnswered);
    connect(m_front, &HttpFront::reachableChanged, this, &BoxSim::reachableChanged);
    connect(m_state, &ReceiverState::changed, this, &BoxSim::stateChanged);
    connect(m_state, &ReceiverState::wentDown, m_front, &HttpFront::goDown);
}

BoxSim::~BoxSim()
{
    // The front refers to the interfaces; it goes first.
    delete m_front;
}

void BoxSim::activateInterface()
{
    m_front->setInterface(m_replay ? m_replay.get() : m_living.get());
}

quint16 BoxSim::listenForStreams(quint16 port, const QHostAddress& address)
{
    if (m_personality != Personality::Enigma2)
        return 0;
    if (!m_streams)
        m_streams = new StreamServer(
            [this](const QString& reference) { return m_state->lineUp().service(reference) != nullptr; },
            this);
    return m_streams->listen(port, address);
}

QStringList BoxSim::streamRequests() const
{
    return m_streams ? m_streams->requests() : QStringList();
}

quint16 BoxSim::listen(quint16 port, const QHostAddress& address)
{
    return m_front->listenOn(address, port) ? m_front->port() : 0;
}

void BoxSim::close()
{
    m_front->stop();
}

bool BoxSim::isListening() const
{
    return m_front->isListening();
}

quint16 BoxSim::port() const
{
    return m_front->port();
}

QUrl BoxSim::baseUrl() const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(m_front->address().toString());
    url.setPort(m_front->port());
    return url;
}

QString BoxSim::errorString() const
{
    return m_front->errorString();
}

void BoxSim::setCredentials(const QString& user, const QString& password)
{
    m_front->setCredentials(user, password);
}

void BoxSim::clearCredentials()
{
    m_front->clearCredentials();
}

void BoxSim::setSessionGuard(bool enabled)
{
    m_front->sessions().setEnabled(enabled);
}

bool BoxSim::hasSessionGuard() const
{
    return m_front->sessions().isEnabled();
}

void BoxSim::setSessionLifetime(qint64 secs)
{
    m_front->sessions().setLifetime(secs);
}

void BoxSim::expireSessions()
{
    m_front->sessions().expireAll();
}

void BoxSim::setFixedTime(qint64 secsSinceEpoch)
{
    m_clock->setFixed(secsSinceEpoch);
}

void BoxSim::useSystemTime()
{
    m_clock->useSystemTime();
}

void BoxSim::advanceTime(qint64 secs)
{
    m_clock->advance(secs);
    m_state->update();
}

qint64 BoxSim::currentTime() const
{
    return m_clock->now();
}

void BoxSim::setSeed(quint64 seed)
{
    m_seed = seed;
    m_state->setSeed(seed);
    m_front->setSeed(seed);
    if (m_generatedBouquets > 0)
        applyGeneratedLineUp();
}

void BoxSim::applyGeneratedLineUp()
{
    m_state->setLineUp(
        LineUp::makeGenerated(m_personality, m_generatedBouquets, m_generatedServices, m_seed));
}

void BoxSim::useDefaultLineUp()
{
    m_generatedBouquets = 0;
    m_generatedServices = 0;
    m_state->setLineUp(LineUp::makeDefault(m_personality));
}

void BoxSim::useGeneratedLineUp(int bouquets, int servicesPerBouquet)
{
    // No bouquets make an empty line-up, not the default one.
    m_generatedBouquets = std::max(0, bouquets);
    m_generatedServices = std::max(0, servicesPerBouquet);
    applyGeneratedLineUp();
}

QList<Bouquet> BoxSim::bouquets() const
{
    return m_state->lineUp().toPublic();
}

QList<Event> BoxSim::events(const QString& serviceReference) const
{
    QList<Event> result;
    const LineUpService* service = m_state->lineUp().service(serviceReference);
    if (!service)
        return result;
    const QList<EpgEvent> events = m_state->windowEvents(*service);
    result.reserve(events.size());
    for (const EpgEvent& event : events)
        result.append(m_state->epg().toPublic(event, *service));
    return result;
}

std::optional<Event> BoxSim::currentEvent(const QString& serviceReference) const
{
    const LineUpService* service = m_state->lineUp().service(serviceReference);
    if (!service)
        return std::nullopt;
    const std::optional<EpgEvent> event = m_state->epg().at(*service, m_clock->now());
    return event ? std::optional<Event>(m_state->epg().toPublic(*event, *service)) : std::nullopt;
}

std::optional<Event> BoxSim::nextEvent(const QString& serviceReference) const
{
    const LineUpService* service = m_state->lineUp().service(serviceReference);
    if (!service)
        return std::nullopt;
    const std::optional<EpgEvent> event = m_state->epg().after(*service, m_clock->now());
    return event ? std::optional<Event>(m_state->epg().toPublic(*event, *service)) : std::nullopt;
}

void BoxSim::resetState()
{
    m_state->reset();
}

void BoxSim::setFault(const Fault& fault)
{
    m_front->faults().setGlobal(fault);
    m_front->faultsChanged();
}

void BoxSim::clearFault()
{
    m_front->faults().clearGlobal();
    m_front->faultsChanged();
}

void BoxSim::setPathFault(const QString& path, const Fault& fault)
{
    m_front->faults().set(path, fault);
    m_front->faultsChanged();
}

void BoxSim::clearPathFault(const QString& path)
{
    m_front->faults().clear(path);
    m_front->faultsChanged();
}

void BoxSim::clearFaults()
{
    m_front->faults().clearAll();
    m_front->faultsChanged();
}

QList<LoggedRequest> BoxSim::requests() const
{
    return m_front->log();
}

QList<QByteArray> BoxSim::requestTargets() const
{
    QList<QByteArray> targets;
    for (const LoggedRequest& request : m_front->log()) {
        if (request.authorized)
            targets.append(request.target());
    }
    return targets;
}

void BoxSim::clearRequests()
{
    m_front->clearLog();
}

bool BoxSim::setReplayDirectory(const QString& directory)
{
    if (directory.isEmpty()) {
        m_replay.reset();
        m_replayDirectory.clear();
        activateInterface();
        return true;
    }
    if (!QDir(directory).exists())
        return false;
    m_replayDirectory = QDir(directory).absolutePath();
    m_replay = std::make_unique<ReplayInterface>(m_replayDirectory, m_living.get(),
                                                 m_personality == Personality::Enigma2);
    activateInterface();
    return true;
}

QString BoxSim::currentServiceReference() const
{
    return m_state->currentReference();
}

void BoxSim::setCurrentService(const QString& reference)
{
    m_state->zap(reference);
}

QList<RemoteKeyPress> BoxSim::remoteKeys() const
{
    return m_state->pressedKeys();
}

bool BoxSim::isStandby() const
{
    return m_state->isStandby();
}

void BoxSim::setStandby(bool standby)
{
    m_state->setStandby(standby);
}

int BoxSim::volume() const
{
    return m_state->volume();
}

void BoxSim::setVolume(int volume)
{
    m_state->setVolume(volume);
}

bool BoxSim::isMuted() const
{
    return m_state->isMuted();
}

void BoxSim::setMuted(bool muted)
{
    m_state->setMuted(muted);
}

bool BoxSim::isRecording() const
{
    return m_state->isRecording();
}

bool BoxSim::startRecording()
{
    return m_state->startInstantRecording();
}

void BoxSim::stopRecording()
{
    m_state->stopInstantRecording();
}

QList<Timer> BoxSim::timers() const
{
    return m_state->timers();
}

bool BoxSim::addTimer(const Timer& timer)
{
    return m_state->addTimer(timer).added;
}

void BoxSim::clearTimers()
{
    m_state->clearTimers();
}

QList<Movie> BoxSim::movies() const
{
    return m_state->movies();
}

void BoxSim::setMovies(const QList<Movie>& movies)
{
    m_state->setMovies(movies);
}

bool BoxSim::isPlaying() const
{
    return m_state->isPlaying();
}

QString BoxSim::playingMovie() const
{
    const std::optional<Movie> movie = m_state->playingMovie();
    return movie ? movie->reference : QString();
}

void BoxSim::playMovie(const QString& reference)
{
    m_state->playMovie(reference);
}

void BoxSim::stopPlayback()
{
    m_state->stopPlayback();
}

void BoxSim::setPlaybackPosition(int seconds)
{
    m_state->setPlaybackPosition(seconds);
}

int BoxSim::playbackPosition() const
{
    m_state->update();
    return m_state->playbackPosition();
}

bool BoxSim::isPaused() const
{
    return m_state->isPaused();
}

void BoxSim::setMessageAnswer(MessageAnswer answer)
{
    m_state->setMessageAnswer(answer);
}

void BoxSim::scriptMessageAnswers(const QList<MessageAnswer>& answers)
{
    m_state->scriptMessageAnswers(answers);
}

QList<ScreenMessage> BoxSim::messages() const
{
    return m_state->messages();
}

bool BoxSim::isReachable() const
{
    return m_front->isReachable();
}

void BoxSim::makeUnreachable(int ms)
{
    m_front->goDown(ms);
}

void BoxSim::setDowntime(PowerAction action, int ms)
{
    m_state->setDowntime(action, ms);
}

} // namespace boxsim
