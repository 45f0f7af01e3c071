#include "model/tavreldatabase.h"

#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/recordfields.h"

#include <QtMath>

#include <algorithm>

namespace {

template<typename T>
QList<T*> pointersOf(const OwnedList<T>& list)
{
    QList<T*> pointers;
    pointers.reserve(qsizetype(list.size()));
    for (const auto& entry : list)
        pointers.append(entry.get());
    return pointers;
}

template<typename T>
T* entryAt(const OwnedList<T>& list, int i)
{
    return i >= 0 && size_t(i) < list.size() ? list[size_t(i)].get() : nullptr;
}

// Removes the first entry the predicate picks; false when there is none.
template<typename T, typename Picks>
bool eraseFirst(OwnedList<T>& list, Picks picks)
{
    const auto found =
        std::find_if(list.begin(), list.end(), [&](const auto& entry) { return picks(*entry); });
    if (found == list.end())
        return false;
    list.erase(found);
    return true;
}

} // namespace

TavrelDatabase::TavrelDatabase(const Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_statusData(std::make_unique<StatusData>())
{}

// Bouquets go with the QObject children; the rest with their owners.
TavrelDatabase::~TavrelDatabase() = default;

Bouquet* TavrelDatabase::bouquet(int b) const
{
    Q_ASSERT(hasBouquet(b));
    return m_bouquets.at(b);
}

Bouquet* TavrelDatabase::bouquetWithReference(const QString& reference) const
{
    const auto found = std::find_if(m_bouquets.cbegin(), m_bouquets.cend(),
                                    [&](const Bouquet* bouquet) { return bouquet->reference == reference; });
    return found == m_bouquets.cend() ? nullptr : *found;
}

std::optional<std::pair<int, int>> TavrelDatabase::findService(const QString& serviceReference) const
{
    for (int b = 0; b < m_bouquets.size(); ++b) {
        const QList<Channel*>& channels = m_bouquets.at(b)->channels;
        for (int c = 0; c < channels.size(); ++c) {
            if (channels.at(c)->serviceReference == serviceReference)
                return std::make_pair(b, c);
        }
    }
    return std::nullopt;
}

QList<Channel*> TavrelDatabase::channels(int b) const
{
    if (!hasBouquet(b))
        return {};
    return m_bouquets.at(b)->channels;
}

Channel* TavrelDatabase::channel(int b, int c) const
{
    Q_ASSERT(hasChannel(b, c));
    return m_bouquets.at(b)->channels.at(c);
}

bool TavrelDatabase::bouquetHasChannels(int b) const
{
    return hasBouquet(b) && !m_bouquets.at(b)->channels.isEmpty();
}

bool TavrelDatabase::hasChannel(int b, int c) const
{
    return bouquetHasChannels(b) && c >= 0 && c < m_bouquets.at(b)->channels.size();
}

QList<EpgItem*> TavrelDatabase::epgList(int b, int c) const
{
    return channel(b, c)->epgList();
}

bool TavrelDatabase::hasEpg(int b, int c) const
{
    return hasChannel(b, c) && channel(b, c)->hasEpg();
}

bool TavrelDatabase::hasEpgItem(int b, int c, int i) const
{
    return hasEpg(b, c) && i >= 0 && i < channel(b, c)->epgList().size();
}

EpgItem* TavrelDatabase::epgItem(int b, int c, int i) const
{
    return hasEpgItem(b, c, i) ? channel(b, c)->epgList().at(i) : nullptr;
}

QList<TimerEntry*> TavrelDatabase::timers() const
{
    return pointersOf(m_timers);
}

QList<MovieEntry*> TavrelDatabase::movies() const
{
    return pointersOf(m_movies);
}

QList<EpgItem*> TavrelDatabase::searchResults() const
{
    return pointersOf(m_searchResults);
}

QList<EpgItem*> TavrelDatabase::similarResults() const
{
    return pointersOf(m_similarResults);
}

TimerEntry* TavrelDatabase::timerAt(int i) const
{
    return entryAt(m_timers, i);
}

MovieEntry* TavrelDatabase::movieAt(int i) const
{
    return entryAt(m_movies, i);
}

bool TavrelDatabase::isMovieIndexValid(int i) const
{
    return i >= 0 && size_t(i) < m_movies.size();
}

EpgItem* TavrelDatabase::searchResultAt(int i) const
{
    return entryAt(m_searchResults, i);
}

EpgItem* TavrelDatabase::similarResultAt(int i) const
{
    return entryAt(m_similarResults, i);
}

QList<EpgItem*> TavrelDatabase::currentServiceEpg()
{
    if (!m_currentService)
        return {};
    auto& events = m_currentService->events;
    const qint64 now = m_clock.now();
    events.erase(events.begin(), std::find_if(events.begin(), events.end(),
                                              [now](const auto& event) { return qint64(event->end) > now; }));
    if (!events.empty()) {
        EpgItem* running = events.front().get();
        float elapsed = float(running->duration) - float(qint64(running->end) - now);
        // An event that has not begun counts as fully elapsed: the receiver calls it current.
        if (elapsed < 0)
            elapsed = float(running->duration);
        running->minutesLeft = (running->duration - int(elapsed)) / 60;
        running->progress = qRound((100.0f / float(running->duration)) * elapsed);
    }
    return pointersOf(events);
}

QString TavrelDatabase::receivedDataText() const
{
    if (m_receivedBytes < 1024)
        return QString::number(m_receivedBytes) + QStringLiteral(" Bytes");
    if (m_receivedBytes < 1048576)
        return QString::number(float(m_receivedBytes) * 0.0009765625f, 'f', 3) + QStringLiteral(" kB");
    return QString::number(float(m_receivedBytes) * 9.5367431640625e-07f, 'f', 3) + QStringLiteral(" MB");
}

void TavrelDatabase::setBouquets(OwnedList<Bouquet> bouquets)
{
    qDeleteAll(m_bouquets);
    m_bouquets.clear();
    m_bouquets.reserve(qsizetype(bouquets.size()));
    for (auto& bouquet : bouquets) {
        bouquet->setParent(this);
        m_bouquets.append(bouquet.release());
    }
    m_serviceDataLoaded = true;
}

void TavrelDatabase::insertBouquetEpg(OwnedList<EpgItem> items)
{
    if (items.empty())
        return;
    const Bouquet* bouquet = bouquetWithReference(items.front()->bouquetReference);
    if (!bouquet)
        return;

    // The receiver lists the events in its channel order; one cursor walks both lists.
    // A whole-day answer starts with events that are over: they must not take the two places
    // of the running and the coming event.
    const qint64 now = m_clock.now();
    keepServiceSchedule(*bouquet, items, now);
    size_t cursor = 0;
    for (Channel* channel : bouquet->channels) {
        while (cursor < items.size() && channel->serviceReference == items[cursor]->serviceReference) {
            if (qint64(items[cursor]->end) > now)
                channel->addEpgItem(std::move(items[cursor]));
            ++cursor;
        }
        if (cursor == items.size())
            break;
    }
    // What no channel took goes with `items`.
}

void TavrelDatabase::keepServiceSchedule(const Bouquet& bouquet, const OwnedList<EpgItem>& items, qint64 now)
{
    // The answer to a single service's EPG request lists that service alone, and more than the
    // two events now/next keeps: that is the channel's schedule. Bouquet answers list many
    // services, the current and next event answers one event per service.
    const QString& service = items.front()->serviceReference;
    const bool oneService = std::all_of(items.begin(), items.end(),
                                        [&](const auto& item) { return item->serviceReference == service; });
    const auto upcoming = std::count_if(items.begin(), items.end(),
                                        [now](const auto& item) { return qint64(item->end) > now; });
    if (!oneService || upcoming <= 2)
        return;
    for (Channel* channel : bouquet.channels) {
        if (channel->serviceReference != service)
            continue;
        OwnedList<EpgItem> copies;
        copies.reserve(items.size());
        for (const auto& item : items)
            copies.push_back(item->clone());
        channel->setSchedule(std::move(copies), now);
        return;
    }
}

bool TavrelDatabase::hasEvent(int b, int c, int i) const
{
    return hasChannel(b, c) && i >= 0 && i < channel(b, c)->events().size();
}

EpgItem* TavrelDatabase::event(int b, int c, int i) const
{
    return hasEvent(b, c, i) ? channel(b, c)->events().at(i) : nullptr;
}

QList<EpgItem*> TavrelDatabase::events(int b, int c) const
{
    return hasChannel(b, c) ? channel(b, c)->events() : QList<EpgItem*>();
}

void TavrelDatabase::setTimers(OwnedList<TimerEntry> timers)
{
    m_timers = std::move(timers);
}

bool TavrelDatabase::removeTimer(const QString& serviceReference)
{
    return eraseFirst(m_timers,
                      [&](const TimerEntry& timer) { return timer.serviceReference == serviceReference; });
}

bool TavrelDatabase::removeTimer(const QString& serviceReference, uint begin, uint end)
{
    return eraseFirst(m_timers, [&](const TimerEntry& timer) {
        return timer.serviceReference == serviceReference && timer.begin == begin && timer.end == end;
    });
}

void TavrelDatabase::clearTimers()
{
    m_timers.clear();
}

void TavrelDatabase::setMovies(OwnedList<MovieEntry> movies)
{
    m_movies = std::move(movies);
}

void TavrelDatabase::removeMovieAt(int i)
{
    if (isMovieIndexValid(i))
        m_movies.erase(m_movies.begin() + i);
}

bool TavrelDatabase::removeMovie(const QString& serviceReference)
{
    return eraseFirst(m_movies,
                      [&](const MovieEntry& movie) { return movie.serviceReference == serviceReference; });
}

void TavrelDatabase::setSearchResults(OwnedList<EpgItem> items)
{
    m_searchResults = std::move(items);
}

void TavrelDatabase::setSimilarResults(OwnedList<EpgItem> items)
{
    m_similarResults = std::move(items);
}

void TavrelDatabase::setStatusInfoE1(std::unique_ptr<StatusInfoE1> statusInfo)
{
    m_statusInfoE1 = std::move(statusInfo);
    copyIntoStatus(*m_statusInfoE1, *m_statusData);
    m_statusData->mode = BoxMode(m_statusInfoE1->mode);
}

void TavrelDatabase::setDeviceData(std::unique_ptr<DeviceData> deviceData)
{
    m_deviceData = std::move(deviceData);
    const DeviceData& data = *m_deviceData;
    StatusData& status = *m_statusData;
    copyIntoStatus(data, status);
    // A live service with a moving play position is time-shifted, unless it is a recording.
    if (data.videoActive && m_statusInfoE1 && m_statusInfoE1->mode != BoxModeMovie)
        status.mode = BoxModeTimeshift;
    if (status.standby)
        status.mode = BoxModeStandby;
}

void TavrelDatabase::setAboutInfo(std::unique_ptr<AboutInfo> aboutInfo)
{
    m_aboutInfo = std::move(aboutInfo);
    m_statusData->mode = BoxModeTv;
    copyIntoStatus(*m_aboutInfo, *m_statusData);
}

void TavrelDatabase::setAboutInfoE1(std::unique_ptr<AboutInfoE1> aboutInfo)
{
    m_aboutInfoE1 = std::move(aboutInfo);
}

void TavrelDatabase::setCurrentTime(const QString& text)
{
    m_statusData->currentTime = text;
}

void TavrelDatabase::setSignalInfo(std::unique_ptr<SignalInfo> signalInfo)
{
    m_signalInfo = std::move(signalInfo);
    copyIntoStatus(*m_signalInfo, *m_statusData);
}

void TavrelDatabase::setCurrentService(std::unique_ptr<CurrentServiceE2> currentService)
{
    m_currentService = std::move(currentService);
    copyIntoStatus(*m_currentService, *m_statusData);
}

void TavrelDatabase::setSatfinderConfig(std::unique_ptr<SatfinderConfig> config)
{
    m_satfinderConfig = std::move(config);
}

void TavrelDatabase::setStandby(bool standby)
{
    m_statusData->standby = standby;
}

void TavrelDatabase::setVolume(bool mute, int level)
{
    m_statusData->mute = mute;
    m_statusData->volume = level;
}

void TavrelDatabase::addReceivedBytes(qint64 bytes)
{
    m_receivedBytes += bytes;
}
