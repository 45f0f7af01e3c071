#include "tools/boxsim/receiverstate.h"

#include "tools/boxsim/simclock.h"

#include <QDateTime>

#include <algorithm>

namespace boxsim {

namespace {

constexpr int MarginBefore = 300; // the receiver starts recordings 5 minutes early
constexpr int MarginAfter = 600;  // and ends them 10 minutes late
constexpr int UnknownLength = 3600;
constexpr qint64 BytesPerSecond = 1153433; // about 4 GB per hour
constexpr qint64 MiB = 1024 * 1024;
constexpr qint64 GiB = 1024 * MiB;
constexpr int MaxMessages = 100;

QString sanitizedFilePart(QString s, bool enigma1)
{
    s.replace(u':', u'_');
    s.replace(u'/', u'_');
    if (enigma1) {
        s.replace(u'&', u'_');
        s.replace(u'\'', u'_');
    }
    return s;
}

} // namespace

ReceiverState::ReceiverState(Personality personality, SimClock* clock, QObject* parent)
    : QObject(parent)
    , m_personality(personality)
    , m_clock(clock)
{}

qint64 ReceiverState::now() const
{
    return m_clock->now();
}

void ReceiverState::setSeed(quint64 seed)
{
    m_epg.setSeed(seed);
    m_random.reseed(mix64(seed, 0x7369676eULL));
    emit changed();
}

void ReceiverState::setLineUp(const LineUp& lineUp)
{
    m_lineUp = lineUp;
    m_lineUpChosen = true;
    const LineUpService* first = m_lineUp.firstService();
    m_liveReference = first ? first->reference : QString();
    emit changed();
}

void ReceiverState::reset()
{
    m_hasContent = false;
    m_timers.clear();
    m_movies.clear();
    m_messages.clear();
    m_pressedKeys.clear();
    m_scriptedAnswers.clear();
    m_questionPending = false;
    m_playing = false;
    emit changed();
}

void ReceiverState::setDowntime(PowerAction action, int ms)
{
    ms = std::max(0, ms);
    switch (action) {
    case PowerAction::RestartGui:
        m_downtimeRestart = ms;
        break;
    case PowerAction::Reboot:
        m_downtimeReboot = ms;
        break;
    case PowerAction::DeepStandby:
        m_downtimeDeepStandby = ms;
        break;
    }
}

int ReceiverState::downtime(PowerAction action) const
{
    switch (action) {
    case PowerAction::RestartGui:
        return m_downtimeRestart;
    case PowerAction::Reboot:
        return m_downtimeReboot;
    case PowerAction::DeepStandby:
        return m_downtimeDeepStandby;
    }
    return 0;
}

void ReceiverState::ensureContent()
{
    if (m_hasContent)
        return;
    m_hasContent = true;
    if (!m_lineUpChosen) {
        m_lineUp = LineUp::makeDefault(m_personality);
        m_lineUpChosen = true;
    }
    if (m_liveReference.isEmpty() || !m_lineUp.service(m_liveReference)) {
        const LineUpService* first = m_lineUp.firstService();
        m_liveReference = first ? first->reference : QString();
    }
    m_standby = false;
    m_bootTime = now() - (49 * 3600 + 7 * 60);
    m_volume = m_personality == Personality::Enigma2 ? 45 : 40;
    m_muted = false;
    m_playing = false;
    m_stopAsked = false;
    m_satellites = {
        {QStringLiteral("Astra 19.2E"),
         {{QStringLiteral("10743 / 22000 / H"), QStringLiteral("10743750:22000000:0:5:192:2:")},
          {QStringLiteral("11836 / 27500 / H"), QStringLiteral("11836500:27500000:0:3:192:2:")},
          {QStringLiteral("12109 / 27500 / H"), QStringLiteral("12109500:27500000:0:3:192:2:")}}},
        {QStringLiteral("Hotbird 13.0E"),
         {{QStringLiteral("11034 / 27500 / V"), QStringLiteral("11034000:27500000:1:3:130:2:")},
          {QStringLiteral("12476 / 27500 / H"), QStringLiteral("12476000:27500000:0:3:130:2:")}}},
    };
    m_satSatellite = 0;
    m_satTransponder = 1;
    buildDefaultMovies();
    buildDefaultTimers();
}

void ReceiverState::buildDefaultMovies()
{
    const bool e2 = m_personality == Personality::Enigma2;
    const qint64 t = now();
    struct MovieRow
    {
        const char16_t* title;
        const char16_t* description;
        const char16_t* extended;
        const char16_t* service;
        const char* e1Service;
        qint64 age;
        int length;
        qint64 size;
        const char16_t* tags;
    };
    const MovieRow e2Movies[] = {
        {u"Tatort: Schöne Bescherung", u"Fernsehfilm Deutschland 2023",
         u"Kommissarin Lürsen & Kommissar Stedefreund ermitteln.\nDie Spur führt zu einem alten "
         u"\"Bekannten\".",
         u"Das Erste HD", "", 26 * 3600, 5400, 5 * GiB + 123456789, u""},
        {u"Ειδήσεις", u"Κεντρικό δελτίο ειδήσεων", u"", u"ΕΡΤ World", "", 50 * 3600, 4200, 1519867904, u""},
        {u"Storage Wars & Co", u"Staffel 3, Folge 12",
         u"Die Bieter treffen sich in Kalifornien.\nDarren findet einen Safe.", u"A&E HD", "", 5 * 86400, -1,
         812126208, u"Doku Serie"},
        {u"heute journal", u"", u"Nachrichten und Hintergründe.", u"ZDF HD", "", 30 * 86400, 1800, 956301312,
         u""},
    };
    const MovieRow e1Movies[] = {
        {u"Tatort: Schöne Bescherung", u"", u"", u"Das Erste", "1:0:1:283d:3fb:1:c00000:0:0:0:", 26 * 3600,
         5400, 4412 * MiB, u""},
        {u"heute-journal", u"", u"", u"ZDF", "1:0:1:2b66:3f3:1:c00000:0:0:0:", 50 * 3600, 1800, 912 * MiB,
         u""},
        {u"Tom & Jerry - Die 'Kult'-Edition", u"", u"", u"RTL Television",
         "1:0:1:2ee3:441:1:c00000:0:0:0:", 5 * 86400, 4800, 2210 * MiB, u""},
        {u"alte Aufnahme", u"", u"", u"", "1:0:1:0:0:0:0:0:0:0:", 400 * 86400, 600, 37 * MiB, u""},
    };
    m_movies.clear();
    for (const MovieRow& row : (e2 ? e2Movies : e1Movies)) {
        Movie movie;
        movie.title = QString::fromUtf16(row.title);
        movie.description = QString::fromUtf16(row.description);
        movie.descriptionExtended = QString::fromUtf16(row.extended);
        movie.serviceName = QString::fromUtf16(row.service);
        movie.time = (t - row.age) / 60 * 60;
        movie.lengthSeconds = row.length;
        movie.fileSize = row.size;
        movie.tags = QString::fromUtf16(row.tags);
        if (e2) {
            movie.fileName =
                movieFileBase(movie.serviceName, movie.title, movie.time) + QStringLiteral(".ts");
            movie.reference = QStringLiteral("1:0:0:0:0:0:0:0:0:0:") + movie.fileName;
        } else {
            const QString base = movie.serviceName.isEmpty()
                                     ? QStringLiteral("/hdd/movie/") + movie.title
                                     : movieFileBase(movie.serviceName, movie.title, movie.time);
            movie.fileName = base + QStringLiteral(".ts");
            movie.reference = QString::fromLatin1(row.e1Service) + movie.fileName;
        }
        m_movies.append(movie);
    }
}

QString ReceiverState::movieFileBase(const QString& serviceName, const QString& title, qint64 time) const
{
    const QDateTime local = QDateTime::fromSecsSinceEpoch(time);
    if (m_personality == Personality::Enigma2)
        return QStringLiteral("/media/hdd/movie/") + local.toString(QStringLiteral("yyyyMMdd HHmm")) +
               QStringLiteral(" - ") + sanitizedFilePart(serviceName, false) + QStringLiteral(" - ") +
               sanitizedFilePart(title, false);
    return QStringLiteral("/hdd/movie/") + local.toString(QStringLiteral("yy-MM-dd")) +
           QStringLiteral(" - ") + sanitizedFilePart(serviceName, true) + QStringLiteral(" - ") +
           sanitizedFilePart(title, true);
}

void ReceiverState::buildDefaultTimers()
{
    m_timers.clear();
    QList<const LineUpService*> withEpg;
    for (const LineUpBouquet& bouquet : m_lineUp.bouquets()) {
        for (const LineUpService& service : bouquet.services) {
            if (service.hasEpg && !service.isMarker())
                withEpg.append(&service);
            if (withEpg.size() >= 3)
                break;
        }
        if (withEpg.size() >= 3)
            break;
    }
    if (withEpg.isEmpty())
        return;
    const qint64 t = now();
    const auto timerFor = [&](const LineUpService& service, qint64 at, bool justPlay, bool disabled) {
        Timer timer = timerForEvent(service, m_epg.at(service, at), justPlay);
        timer.disabled = disabled;
        TimerEntry entry;
        entry.timer = timer;
        entry.recorded = true; // its recording, if any, is not part of the default movies
        entry.zapped = t >= timer.begin;
        m_timers.append(entry);
    };
    timerFor(*withEpg.at(0), t - 20 * 3600, false, false);
    timerFor(*withEpg.value(1, withEpg.at(0)), t + 30 * 3600, false, true);
    timerFor(*withEpg.value(2, withEpg.at(0)), t + 36 * 3600, true, false);
}

void ReceiverState::update()
{
    ensureContent();
    const qint64 t = now();
    bool changedSomething = false;
    for (TimerEntry& entry : m_timers) {
        const Timer& timer = entry.timer;
        if (timer.disabled)
            continue;
        if (timer.justPlay && !entry.zapped && t >= timer.begin) {
            entry.zapped = true;
            if (t < std::max(timer.end, timer.begin + 60)) {
                m_playing = false;
                m_liveReference = timer.serviceReference;
                changedSomething = true;
            }
        }
        if (!timer.justPlay && !entry.recorded && t >= timer.end) {
            entry.recorded = true;
            m_movies.append(recordingToMovie(timer));
            changedSomething = true;
        }
    }
    if (m_playing && !m_paused && playbackPosition() >= playbackLength()) {
        m_playing = false;
        changedSomething = true;
    }
    if (changedSomething)
        emit changed();
}

const LineUp& ReceiverState::lineUp()
{
    ensureContent();
    return m_lineUp;
}

qint64 ReceiverState::epgFrom() const
{
    return now() - EpgGenerator::WindowBefore;
}

qint64 ReceiverState::epgTo() const
{
    return now() + EpgGenerator::WindowAfter;
}

QList<EpgEvent> ReceiverState::windowEvents(const LineUpService& service) const
{
    return m_epg.events(service, epgFrom(), epgTo());
}

QString ReceiverState::currentReference()
{
    update();
    return m_playing ? m_playingReference : m_liveReference;
}

QString ReceiverState::liveReference()
{
    update();
    return m_liveReference;
}

const LineUpService* ReceiverState::liveService()
{
    update();
    return m_lineUp.service(m_liveReference);
}

void ReceiverState::zap(const QString& reference)
{
    update();
    if (movieIndex(reference) >= 0) {
        playMovie(reference);
        return;
    }
    m_playing = false;
    m_stopAsked = false;
    m_liveReference = reference;
    emit changed();
}

bool ReceiverState::isStandby()
{
    update();
    return m_standby;
}

void ReceiverState::setStandby(bool standby)
{
    update();
    if (standby)
        m_playing = false;
    m_standby = standby;
    emit changed();
}

void ReceiverState::powerAction(PowerAction action)
{
    update();
    m_playing = false;
    switch (action) {
    case PowerAction::RestartGui:
        break;
    case PowerAction::Reboot:
        m_standby = false;
        m_bootTime = now();
        break;
    case PowerAction::DeepStandby:
        // Woken up again, the receiver comes back in standby.
        m_standby = true;
        m_bootTime = now();
        break;
    }
    emit changed();
    emit wentDown(downtime(action));
}

qint64 ReceiverState::bootTime()
{
    update();
    return m_bootTime;
}

int ReceiverState::maxVolume() const
{
    return m_personality == Personality::Enigma2 ? 100 : 63;
}

int ReceiverState::volumeStep() const
{
    return m_personality == Personality::Enigma2 ? 5 : 3;
}

int ReceiverState::volume()
{
    update();
    return m_volume;
}

bool ReceiverState::isMuted()
{
    update();
    return m_muted;
}

void ReceiverState::setVolume(int volume)
{
    update();
    m_volume = std::clamp(volume, 0, maxVolume());
    emit changed();
}

void ReceiverState::changeVolume(int delta)
{
    update();
    setVolume(m_volume + delta);
}

void ReceiverState::setMuted(bool muted)
{
    update();
    m_muted = muted;
    emit changed();
}

TimerState ReceiverState::timerState(const Timer& timer) const
{
    const qint64 t = now();
    if (t >= timer.end || (timer.justPlay && t >= timer.begin))
        return TimerState::Ended;
    if (timer.disabled || t < timer.begin - PrepareTime)
        return TimerState::Waiting;
    if (t < timer.begin)
        return TimerState::Preparing;
    return TimerState::Running;
}

Timer ReceiverState::withState(const Timer& timer) const
{
    Timer t = timer;
    t.state = timerState(timer);
    return t;
}

Timer ReceiverState::timerForEvent(const LineUpService& service, const std::optional<EpgEvent>& event,
                                   bool justPlay)
{
    Timer timer;
    timer.serviceReference = service.reference;
    timer.serviceName = service.name;
    if (event) {
        const Programme& p = EpgGenerator::programme(*event);
        timer.eventId = event->id;
        timer.name = p.title;
        timer.description = p.description;
        timer.descriptionExtended = p.descriptionExtended;
        timer.begin = event->start - MarginBefore;
        timer.end = event->end() + MarginAfter;
    }
    timer.justPlay = justPlay;
    timer.afterEvent = justPlay ? 0 : 3;
    timer.location = justPlay ? QString() : QStringLiteral("/media/hdd/movie/");
    return timer;
}

QList<Timer> ReceiverState::timers()
{
    update();
    QList<Timer> result;
    result.reserve(m_timers.size());
    for (const TimerEntry& entry : m_timers)
        result.append(withState(entry.timer));
    return result;
}

TimerAddResult ReceiverState::addTimer(const Timer& timer)
{
    update();
    TimerAddResult result;
    if (!timer.justPlay && !timer.disabled) {
        // One recording at a time: any recording that overlaps is a conflict.
        for (const TimerEntry& entry : m_timers) {
            const Timer& other = entry.timer;
            if (other.justPlay || other.disabled || timerState(other) == TimerState::Ended)
                continue;
            if (timer.begin < other.end && other.begin < timer.end)
                result.conflicts.append(other.name);
        }
    }
    if (!result.conflicts.isEmpty())
        return result;
    TimerEntry entry;
    entry.timer = timer;
    entry.timer.state = TimerState::Waiting;
    entry.zapped = now() >= timer.end;
    m_timers.append(entry);
    std::stable_sort(m_timers.begin(), m_timers.end(),
                     [](const TimerEntry& a, const TimerEntry& b) { return a.timer.begin < b.timer.begin; });
    result.added = true;
    emit changed();
    return result;
}

std::optional<Timer> ReceiverState::removeTimer(const QString& reference, qint64 begin,
                                                std::optional<qint64> end)
{
    update();
    for (qsizetype i = 0; i < m_timers.size(); ++i) {
        const Timer& timer = m_timers.at(i).timer;
        if (timer.serviceReference == reference && timer.begin == begin && (!end || timer.end == *end)) {
            const Timer removed = withState(timer);
            m_timers.removeAt(i);
            emit changed();
            return removed;
        }
    }
    return std::nullopt;
}

int ReceiverState::cleanupTimers()
{
    update();
    const qsizetype before = m_timers.size();
    m_timers.removeIf(
        [this](const TimerEntry& entry) { return timerState(entry.timer) == TimerState::Ended; });
    const int removed = int(before - m_timers.size());
    if (removed > 0)
        emit changed();
    return removed;
}

void ReceiverState::clearTimers()
{
    update();
    m_timers.clear();
    emit changed();
}

bool ReceiverState::isRecording()
{
    update();
    return std::any_of(m_timers.cbegin(), m_timers.cend(), [this](const TimerEntry& entry) {
        return !entry.timer.justPlay && timerState(entry.timer) == TimerState::Running;
    });
}

bool ReceiverState::startInstantRecording()
{
    update();
    if (m_playing)
        return false;
    const qint64 t = now();
    Timer timer;
    timer.serviceReference = m_liveReference;
    const LineUpService* service = m_lineUp.service(m_liveReference);
    timer.serviceName = service ? service->name : QString();
    timer.begin = t;
    timer.end = t + UnknownLength;
    timer.name = timer.serviceName;
    if (service) {
        if (const std::optional<EpgEvent> event = m_epg.at(*service, t)) {
            const Programme& p = EpgGenerator::programme(*event);
            timer.eventId = event->id;
            timer.name = p.title;
            timer.description = p.description;
            timer.descriptionExtended = p.descriptionExtended;
            timer.end = event->end();
        }
    }
    timer.afterEvent = 0;
    timer.location = QStringLiteral("/media/hdd/movie/");
    TimerEntry entry;
    entry.timer = timer;
    entry.instant = true;
    entry.zapped = true;
    m_timers.append(entry);
    emit changed();
    return true;
}

bool ReceiverState::stopInstantRecording()
{
    update();
    bool stopped = false;
    const qint64 t = now();
    for (TimerEntry& entry : m_timers) {
        if (entry.instant && timerState(entry.timer) == TimerState::Running) {
            entry.timer.end = t;
            stopped = true;
        }
    }
    if (stopped)
        update();
    return stopped;
}

Movie ReceiverState::recordingToMovie(const Timer& timer) const
{
    Movie movie;
    movie.title = timer.name;
    movie.description = timer.description;
    movie.descriptionExtended = timer.descriptionExtended;
    movie.serviceName = timer.serviceName;
    movie.time = timer.begin;
    movie.lengthSeconds = int(timer.end - timer.begin);
    movie.fileSize = qint64(movie.lengthSeconds) * BytesPerSecond;
    movie.fileName = movieFileBase(timer.serviceName, timer.name, timer.begin) + QStringLiteral(".ts");
    if (m_personality == Personality::Enigma2)
        movie.reference = QStringLiteral("1:0:0:0:0:0:0:0:0:0:") + movie.fileName;
    else
        movie.reference = timer.serviceReference + movie.fileName;
    return movie;
}

QList<Movie> ReceiverState::movies()
{
    update();
    return m_movies;
}

void ReceiverState::setMovies(const QList<Movie>& movies)
{
    update();
    m_movies = movies;
    if (m_playing && movieIndex(m_playingReference) < 0)
        m_playing = false;
    emit changed();
}

int ReceiverState::movieIndex(const QString& reference) const
{
    for (qsizetype i = 0; i < m_movies.size(); ++i) {
        if (m_movies.at(i).reference == reference)
            return int(i);
    }
    return -1;
}

std::optional<Movie> ReceiverState::movie(const QString& reference)
{
    update();
    const int index = movieIndex(reference);
    return index < 0 ? std::nullopt : std::optional<Movie>(m_movies.at(index));
}

std::optional<Movie> ReceiverState::deleteMovie(const QString& reference)
{
    update();
    const int index = movieIndex(reference);
    if (index < 0)
        return std::nullopt;
    const Movie removed = m_movies.takeAt(index);
    if (m_playing && m_playingReference == reference)
        m_playing = false;
    emit changed();
    return removed;
}

bool ReceiverState::renameMovie(const QString& reference, const QString& title)
{
    update();
    const int index = movieIndex(reference);
    if (index < 0)
        return false;
    m_movies[index].title = title;
    emit changed();
    return true;
}

qint64 ReceiverState::diskCapacity() const
{
    return m_personality == Personality::Enigma2 ? qint64(2000398934016) : qint64(152627) * MiB;
}

qint64 ReceiverState::diskFree()
{
    update();
    qint64 used = m_personality == Personality::Enigma2 ? 600 * GiB : 80 * GiB;
    for (const Movie& movie : std::as_const(m_movies))
        used += movie.fileSize;
    return std::max<qint64>(0, diskCapacity() - used);
}

bool ReceiverState::isPlaying()
{
    update();
    return m_playing;
}

std::optional<Movie> ReceiverState::playingMovie()
{
    update();
    if (!m_playing)
        return std::nullopt;
    const int index = movieIndex(m_playingReference);
    return index < 0 ? std::nullopt : std::optional<Movie>(m_movies.at(index));
}

int ReceiverState::playbackLength()
{
    const int index = movieIndex(m_playingReference);
    if (index < 0)
        return UnknownLength;
    const int length = m_movies.at(index).lengthSeconds;
    return length > 0 ? length : UnknownLength;
}

int ReceiverState::playbackPosition()
{
    if (!m_playing)
        return 0;
    const qint64 position = m_playBase + (m_paused ? 0 : now() - m_playSince);
    return int(std::clamp<qint64>(position, 0, playbackLength()));
}

bool ReceiverState::isPaused()
{
    update();
    return m_playing && m_paused;
}

void ReceiverState::playMovie(const QString& reference)
{
    ensureContent();
    if (movieIndex(reference) < 0)
        return;
    m_playing = true;
    m_playingReference = reference;
    m_playBase = 0;
    m_playSince = now();
    m_paused = false;
    m_stopAsked = false;
    emit changed();
}

void ReceiverState::stopPlayback()
{
    update();
    m_playing = false;
    m_stopAsked = false;
    emit changed();
}

void ReceiverState::pausePlayback()
{
    update();
    if (!m_playing || m_paused)
        return;
    m_playBase = playbackPosition();
    m_paused = true;
    emit changed();
}

void ReceiverState::resumePlayback()
{
    update();
    if (!m_playing || !m_paused)
        return;
    m_playSince = now();
    m_paused = false;
    emit changed();
}

void ReceiverState::skip(int seconds)
{
    update();
    if (!m_playing)
        return;
    setPlaybackPosition(playbackPosition() + seconds);
}

void ReceiverState::setPlaybackPosition(int seconds)
{
    update();
    if (!m_playing)
        return;
    m_playBase = std::clamp(seconds, 0, playbackLength());
    m_playSince = now();
    emit changed();
}

void ReceiverState::pressKey(int code, bool longPress)
{
    update();
    m_pressedKeys.append({code, longPress});
    // The movie player asks "stop playback?" on Exit; OK confirms it.
    switch (code) {
    case 1:
    case 174:
        m_stopAsked = m_playing;
        break;
    case 352:
        if (m_stopAsked)
            stopPlayback();
        break;
    case 398:
    case 168:
        skip(-SkipSeconds);
        break;
    case 401:
    case 208:
        skip(SkipSeconds);
        break;
    case 399:
    case 207:
        resumePlayback();
        break;
    case 400:
    case 119:
        if (m_paused)
            resumePlayback();
        else
            pausePlayback();
        break;
    case 113:
        setMuted(!m_muted);
        break;
    case 114:
        changeVolume(-volumeStep());
        break;
    case 115:
        changeVolume(volumeStep());
        break;
    case 116:
        setStandby(!m_standby);
        break;
    default:
        break;
    }
}

void ReceiverState::showMessage(const ScreenMessage& message)
{
    update();
    m_messages.append(message);
    if (m_messages.size() > MaxMessages)
        m_messages.removeFirst();
    if (message.type == 0 && m_personality == Personality::Enigma2) {
        m_questionPending = true;
        m_pendingAnswer = m_scriptedAnswers.isEmpty() ? m_defaultAnswer : m_scriptedAnswers.takeFirst();
    }
    emit changed();
}

MessageAnswer ReceiverState::takeMessageAnswer()
{
    update();
    if (!m_questionPending)
        return MessageAnswer::NoAnswer;
    m_questionPending = false;
    return m_pendingAnswer;
}

void ReceiverState::setMessageAnswer(MessageAnswer answer)
{
    m_defaultAnswer = answer;
}

void ReceiverState::scriptMessageAnswers(const QList<MessageAnswer>& answers)
{
    m_scriptedAnswers = answers;
}

SignalSample ReceiverState::signal()
{
    update();
    SignalSample sample;
    const bool e2 = m_personality == Personality::Enigma2;
    sample.snrPercent = (e2 ? 78 : 71) + m_random.between(-4, 4);
    sample.snrDb = 12.34 + (sample.snrPercent - (e2 ? 78 : 71)) * 0.15;
    sample.ber = m_random.bounded(8) == 0 ? m_random.between(1, 40) : 0;
    sample.agcPercent = (e2 ? 93 : 78) + m_random.between(-3, 3);
    sample.locked = true;
    sample.sync = true;
    return sample;
}

SignalSample ReceiverState::tuneSatfinder(const QString& params)
{
    update();
    for (int s = 0; s < m_satellites.size(); ++s) {
        const QList<Transponder>& transponders = m_satellites.at(s).transponders;
        for (int t = 0; t < transponders.size(); ++t) {
            if (transponders.at(t).params == params) {
                m_satSatellite = s;
                m_satTransponder = t;
                return signal();
            }
        }
    }
    // Nothing to lock on: noise only.
    SignalSample sample;
    sample.snrPercent = m_random.between(0, 9);
    sample.agcPercent = m_random.between(10, 25);
    sample.ber = m_random.between(5000, 9999);
    return sample;
}

} // namespace boxsim
