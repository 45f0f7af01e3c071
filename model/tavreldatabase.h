#pragma once

#include "model/ownedlist.h"
#include "model/records.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

class Bouquet;
class Channel;
class Clock;
class EpgItem;
struct CurrentServiceE2;

// The in-memory image of one receiver. Everything handed to it is owned by it from then on;
// pages only read and drop their pointers when a new image replaces this one.
//
// Indices are zero-based. Lookups that take an index from outside are guarded (null, false
// or an empty list when it is out of range); bouquet(), channel() and epgList() expect an
// index that passed hasChannel() first.
class TavrelDatabase : public QObject
{
    Q_OBJECT

public:
    explicit TavrelDatabase(const Clock& clock, QObject* parent = nullptr);
    ~TavrelDatabase() override;

    const Clock& clock() const { return m_clock; }

    // Bouquets and channels.
    QList<Bouquet*> bouquets() const { return m_bouquets; }
    Bouquet* bouquet(int b) const;
    QList<Channel*> channels(int b) const;
    Channel* channel(int b, int c) const;
    bool hasBouquet(int b) const { return b >= 0 && b < m_bouquets.size(); }
    // The bouquet with this reference; null when the line-up has none.
    Bouquet* bouquetWithReference(const QString& reference) const;
    // Where the service first stands in the line-up: bouquet and channel index.
    std::optional<std::pair<int, int>> findService(const QString& serviceReference) const;
    bool bouquetHasChannels(int b) const;
    bool hasChannel(int b, int c) const;
    QList<EpgItem*> epgList(int b, int c) const;
    bool hasEpg(int b, int c) const;
    bool hasEpgItem(int b, int c, int i) const;
    EpgItem* epgItem(int b, int c, int i) const;
    // A channel's events to browse and search: its schedule where it has one, now/next
    // otherwise (guarded).
    QList<EpgItem*> events(int b, int c) const;
    bool hasEvent(int b, int c, int i) const;
    EpgItem* event(int b, int c, int i) const;
    bool serviceDataLoaded() const { return m_serviceDataLoaded; }

    // Lists.
    QList<TimerEntry*> timers() const;
    QList<MovieEntry*> movies() const;
    QList<EpgItem*> searchResults() const;
    QList<EpgItem*> similarResults() const;
    TimerEntry* timerAt(int i) const;
    MovieEntry* movieAt(int i) const;
    bool isMovieIndexValid(int i) const;
    EpgItem* searchResultAt(int i) const;
    EpgItem* similarResultAt(int i) const;

    // Latest answers.
    StatusData* statusData() const { return m_statusData.get(); }
    StatusInfoE1* statusInfoE1() const { return m_statusInfoE1.get(); }
    DeviceData* deviceData() const { return m_deviceData.get(); }
    AboutInfo* aboutInfo() const { return m_aboutInfo.get(); }
    AboutInfoE1* aboutInfoE1() const { return m_aboutInfoE1.get(); }
    SatfinderConfig* satfinderConfig() const { return m_satfinderConfig.get(); }
    CurrentServiceE2* currentService() const { return m_currentService.get(); }
    SignalInfo* signalInfo() const { return m_signalInfo.get(); }

    // The current service's events from the running one on, with its progress brought up to
    // now; ended events are dropped. Empty without a current service.
    QList<EpgItem*> currentServiceEpg();

    qint64 receivedBytes() const { return m_receivedBytes; }
    // The received byte count as "123 Bytes", "1.500 kB" or "2.000 MB".
    QString receivedDataText() const;

    // Setters; each takes what it is given and drops what it replaces.
    void setBouquets(OwnedList<Bouquet> bouquets);
    // Merges one bouquet's events, in the receiver's channel order, into its channels; events
    // that ended are skipped. The answer for one service's EPG also becomes its schedule.
    void insertBouquetEpg(OwnedList<EpgItem> items);
    void setTimers(OwnedList<TimerEntry> timers);
    // Removes the first timer of this service.
    bool removeTimer(const QString& serviceReference);
    // Removes the timer that is the given one: same service, begin and end. Holds also when
    // the timer list has been reloaded since the caller took its entry.
    bool removeTimer(const QString& serviceReference, uint begin, uint end);
    void clearTimers();
    void setMovies(OwnedList<MovieEntry> movies);
    void removeMovieAt(int i);
    // Removes the recording with this reference, wherever it stands in the list now.
    bool removeMovie(const QString& serviceReference);
    void setSearchResults(OwnedList<EpgItem> items);
    void setSimilarResults(OwnedList<EpgItem> items);
    void setStatusInfoE1(std::unique_ptr<StatusInfoE1> statusInfo);
    void setDeviceData(std::unique_ptr<DeviceData> deviceData);
    void setAboutInfo(std::unique_ptr<AboutInfo> aboutInfo);
    void setAboutInfoE1(std::unique_ptr<AboutInfoE1> aboutInfo);
    void setCurrentTime(const QString& text);
    void setSignalInfo(std::unique_ptr<SignalInfo> signalInfo);
    void setCurrentService(std::unique_ptr<CurrentServiceE2> currentService);
    void setSatfinderConfig(std::unique_ptr<SatfinderConfig> config);
    void setStandby(bool standby);
    void setVolume(bool mute, int level);
    void addReceivedBytes(qint64 bytes);

private:
    void keepServiceSchedule(const Bouquet& bouquet, const OwnedList<EpgItem>& items, qint64 now);

    const Clock& m_clock;
    QList<Bouquet*> m_bouquets; // children of this database
    bool m_serviceDataLoaded = false;
    OwnedList<TimerEntry> m_timers;
    OwnedList<MovieEntry> m_movies;
    OwnedList<EpgItem> m_searchResults;
    OwnedList<EpgItem> m_similarResults;
    std::unique_ptr<StatusInfoE1> m_statusInfoE1;
    std::unique_ptr<DeviceData> m_deviceData;
    const std::unique_ptr<StatusData> m_statusData;
    std::unique_ptr<SatfinderConfig> m_satfinderConfig;
    std::unique_ptr<AboutInfo> m_aboutInfo;
    std::unique_ptr<AboutInfoE1> m_aboutInfoE1;
    std::unique_ptr<CurrentServiceE2> m_currentService;
    std::unique_ptr<SignalInfo> m_signalInfo;
    qint64 m_receivedBytes = 0;
};
