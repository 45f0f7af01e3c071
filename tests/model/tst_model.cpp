#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"

#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

using Times = QList<std::pair<uint, int>>; // start and duration of events

namespace {

const QString favourites =
    uR"(1:7:1:0:0:0:0:0:0:0:FROM BOUQUET "userbouquet.favourites.tv" ORDER BY bouquet)"_s;
const QString news = uR"(1:7:1:0:0:0:0:0:0:0:FROM BOUQUET "userbouquet.news.tv" ORDER BY bouquet)"_s;

QList<uint> startsOf(const Channel& channel)
{
    QList<uint> starts;
    for (const EpgItem* event : channel.epgList())
        starts.append(event->start);
    return starts;
}

// The events' starts and the first one's progress and minutes left, as one line.
QString epgLine(const QList<EpgItem*>& events)
{
    QStringList parts;
    for (const EpgItem* event : events)
        parts.append(QString::number(event->start));
    if (!events.isEmpty())
        parts.append(u"%1 %, %2 min"_s.arg(events.first()->progress).arg(events.first()->minutesLeft));
    return parts.join(u' ');
}

std::unique_ptr<Bouquet> makeBouquet(const QString& reference, const QStringList& services)
{
    auto bouquet = std::make_unique<Bouquet>();
    bouquet->reference = reference;
    bouquet->name = reference.section(QLatin1Char('"'), 1, 1);
    for (const QString& service : services) {
        auto channel = std::make_unique<Channel>();
        channel->serviceReference = service;
        channel->name = service;
        bouquet->addChannel(std::move(channel));
    }
    return bouquet;
}

std::unique_ptr<EpgItem> makeEvent(const QString& service, uint start, int duration,
                                   const QString& bouquet = favourites)
{
    auto event = std::make_unique<EpgItem>();
    event->serviceReference = service;
    event->bouquetReference = bouquet;
    event->start = start;
    event->duration = duration;
    event->end = start + uint(duration);
    return event;
}

// Favourites: s1..s4; an empty bouquet; news: n1.
void fillLineUp(TavrelDatabase& database)
{
    OwnedList<Bouquet> bouquets;
    bouquets.push_back(makeBouquet(favourites, {u"s1"_s, u"s2"_s, u"s3"_s, u"s4"_s}));
    bouquets.push_back(makeBouquet(u"empty"_s, {}));
    bouquets.push_back(makeBouquet(news, {u"n1"_s}));
    database.setBouquets(std::move(bouquets));
}

// A bouquet answer of one event per service, starting at 100 and one second apart.
void insertEvents(TavrelDatabase& database, const QString& services, const QString& bouquet = favourites)
{
    OwnedList<EpgItem> events;
    uint start = 100;
    for (const QString& service : services.split(u' ', Qt::SkipEmptyParts))
        events.push_back(makeEvent(service, start++, 1, bouquet));
    database.insertBouquetEpg(std::move(events));
}

// "service:starts" of every channel of the bouquet.
QString servicesWithEpg(const TavrelDatabase& database, int b)
{
    QStringList services;
    for (const Channel* channel : database.channels(b)) {
        QString entry = channel->serviceReference + u':';
        for (const EpgItem* event : channel->epgList())
            entry += QString::number(event->start) + u' ';
        services.append(entry.trimmed());
    }
    return services.join(u" | ");
}

OwnedList<MovieEntry> movieList(const QStringList& titles)
{
    OwnedList<MovieEntry> movies;
    for (const QString& title : titles) {
        auto movie = std::make_unique<MovieEntry>();
        movie->title = title;
        movie->serviceReference = u"r/"_s + title;
        movies.push_back(std::move(movie));
    }
    return movies;
}

std::unique_ptr<TimerEntry> makeTimer(const QString& service, const QString& name, uint begin, uint end)
{
    auto timer = std::make_unique<TimerEntry>();
    timer->serviceReference = service;
    timer->name = name;
    timer->begin = begin;
    timer->end = end;
    return timer;
}

} // namespace

// A channel's now and next events with their ageing on the clock, and the image that holds the
// receiver's bouquets, events, timers, recordings and status.
class TestModel : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_clock.set(0);
        m_database = std::make_unique<TavrelDatabase>(m_clock);
    }

    void addEpgItemKeepsNowAndNext_data()
    {
        QTest::addColumn<QList<uint>>("added"); // in this order
        QTest::addColumn<QList<uint>>("expected");

        QTest::newRow("first event is kept") << QList<uint>{100} << QList<uint>{100};
        QTest::newRow("later event becomes next") << QList<uint>{100, 200} << QList<uint>{100, 200};
        QTest::newRow("equal start is a duplicate") << QList<uint>{100, 100} << QList<uint>{100};
        QTest::newRow("older event is dropped") << QList<uint>{100, 50} << QList<uint>{100};
        QTest::newRow("third event is dropped") << QList<uint>{100, 200, 300} << QList<uint>{100, 200};
    }

    void addEpgItemKeepsNowAndNext()
    {
        QFETCH(QList<uint>, added);
        QFETCH(QList<uint>, expected);

        Channel channel;
        for (uint start : added)
            channel.addEpgItem(makeEvent({}, start, 60));

        QCOMPARE(startsOf(channel), expected);
        for (const EpgItem* event : channel.epgList())
            QCOMPARE(event->parent(), &channel);
        if (expected.size() == 2) {
            QVERIFY(!channel.needsEpg());
            QVERIFY(channel.needsEpgPending());
        }
    }

    void refreshEpg_data()
    {
        QTest::addColumn<bool>("currentService"); // else a channel of the lists
        QTest::addColumn<Times>("events");
        QTest::addColumn<QString>("remaining"); // starts, and the running event's progress
        QTest::addColumn<bool>("needsEpg");     // only a channel asks again

        // The clock stands at 10000 in every row.
        QTest::newRow("running event, half elapsed")
            << false << Times{{9400, 1200}} << u"9400 50 %, 10 min"_s << false;
        QTest::newRow("running event with next")
            << false << Times{{9400, 1200}, {10600, 600}} << u"9400 10600 50 %, 10 min"_s << false;
        QTest::newRow("only event ended an hour ago") << false << Times{{4600, 1800}} << QString() << true;
        QTest::newRow("first ended, next running")
            << false << Times{{8000, 1000}, {9000, 2000}} << u"9000 50 %, 16 min"_s << true;
        QTest::newRow("both ended") << false << Times{{7000, 1000}, {8000, 1000}} << QString() << true;
        QTest::newRow("event ending right now has ended")
            << false << Times{{9000, 1000}} << QString() << true;
        QTest::newRow("first event not begun is dropped")
            << false << Times{{10060, 600}} << QString() << true;
        QTest::newRow("progress rounds to nearest")
            << false << Times{{9998, 3}} << u"9998 67 %, 0 min"_s << false;
        QTest::newRow("event just begun") << false << Times{{10000, 600}} << u"10000 0 %, 10 min"_s << false;
        // The receiver's current service keeps what it sent, only dropping what ended.
        QTest::newRow("current service, running event")
            << true << Times{{9700, 600}, {10300, 600}} << u"9700 10300 50 %, 5 min"_s << false;
        QTest::newRow("current service, not begun counts as complete")
            << true << Times{{10100, 600}, {10700, 600}} << u"10100 10700 100 %, 0 min"_s << false;
        QTest::newRow("current service, first ended, next running")
            << true << Times{{9000, 600}, {9600, 600}} << u"9600 67 %, 3 min"_s << false;
        QTest::newRow("current service, both ended")
            << true << Times{{8000, 600}, {8600, 600}} << QString() << false;
    }

    void refreshEpg()
    {
        QFETCH(bool, currentService);
        QFETCH(Times, events);
        QFETCH(QString, remaining);
        QFETCH(bool, needsEpg);

        if (currentService) {
            m_clock.set(10000);
            auto service = std::make_unique<CurrentServiceE2>();
            service->serviceReference = u"s1"_s;
            for (const auto& [start, duration] : events)
                service->events.push_back(makeEvent(u"s1"_s, start, duration));
            m_database->setCurrentService(std::move(service));
            const QList<EpgItem*> kept = m_database->currentServiceEpg();
            QCOMPARE(epgLine(kept), remaining);
            QCOMPARE(m_database->currentService()->events.size(), size_t(kept.size()));
            return;
        }
        Channel channel;
        for (const auto& [start, duration] : events)
            channel.addEpgItem(makeEvent({}, start, duration));
        channel.refreshEpg(ManualClock(10000));

        QCOMPARE(epgLine(channel.epgList()), remaining);
        QCOMPARE(channel.needsEpg(), needsEpg);
    }

    void takeNeedsEpgCountsOncePerChange()
    {
        const ManualClock clock(10000);
        QVERIFY(!Channel().takeNeedsEpg()); // a fresh channel has nothing to ask for yet

        Channel channel;
        channel.addEpgItem(makeEvent({}, 1000, 600));
        channel.refreshEpg(clock);
        QVERIFY(channel.takeNeedsEpg());
        QVERIFY(!channel.takeNeedsEpg());
        channel.refreshEpg(clock);
        QVERIFY(!channel.takeNeedsEpg());

        // Now and next arrive: the change is counted once more, and nothing is missing.
        channel.addEpgItem(makeEvent({}, 9800, 600));
        channel.addEpgItem(makeEvent({}, 10400, 600));
        QVERIFY(!channel.takeNeedsEpg());
        QVERIFY(!channel.needsEpgPending());

        // The running event ends: the next one moves up and the change counts again.
        channel.refreshEpg(ManualClock(10500));
        QCOMPARE(startsOf(channel), QList<uint>{10400});
        QVERIFY(channel.takeNeedsEpg());
        QVERIFY(!channel.takeNeedsEpg());

        // Clearing the EPG arms the count again.
        channel.clearEpg();
        QVERIFY(!channel.hasEpg());
        QVERIFY(!channel.needsEpg());
        QVERIFY(channel.needsEpgPending());
        QVERIFY(channel.children().isEmpty());
    }

    void guardedLookups_data()
    {
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("c");
        QTest::addColumn<int>("i");
        QTest::addColumn<bool>("channel");
        QTest::addColumn<bool>("item");

        QTest::newRow("first channel, first event") << 0 << 0 << 0 << true << true;
        QTest::newRow("second event") << 0 << 0 << 1 << true << true;
        QTest::newRow("third event") << 0 << 0 << 2 << true << false;
        QTest::newRow("channel without events") << 0 << 3 << 0 << true << false;
        QTest::newRow("negative bouquet") << -1 << 0 << 0 << false << false;
        QTest::newRow("negative channel") << 0 << -1 << 0 << false << false;
        QTest::newRow("negative event") << 0 << 0 << -1 << true << false;
        QTest::newRow("bouquet past the end") << 3 << 0 << 0 << false << false;
        QTest::newRow("channel past the end") << 0 << 4 << 0 << false << false;
        QTest::newRow("empty bouquet") << 1 << 0 << 0 << false << false;
    }

    void guardedLookups()
    {
        QFETCH(int, b);
        QFETCH(int, c);
        QFETCH(int, i);
        QFETCH(bool, channel);
        QFETCH(bool, item);

        fillLineUp(*m_database);
        insertEvents(*m_database, u"s1 s1"_s);

        QCOMPARE(m_database->hasChannel(b, c), channel);
        QCOMPARE(m_database->hasEpgItem(b, c, i), item);
        QCOMPARE(m_database->epgItem(b, c, i) != nullptr, item);
        QCOMPARE(m_database->channels(b).isEmpty(), b < 0 || b > 2 || b == 1);
        QVERIFY(!m_database->timerAt(b < 0 ? b : -1));
        QVERIFY(!m_database->movieAt(-1));
        QVERIFY(!m_database->isMovieIndexValid(-1));
        QVERIFY(!m_database->searchResultAt(-1));
        QVERIFY(!m_database->similarResultAt(0));
    }

    void bouquetEpgMerge_data()
    {
        QTest::addColumn<QString>("services"); // of the answer's events, in order
        QTest::addColumn<QString>("bouquet");
        QTest::addColumn<QString>("expected");

        const QString untouched = u"s1: | s2: | s3: | s4:"_s;
        QTest::newRow("now and next for every channel")
            << u"s1 s1 s2 s2 s3 s4"_s << favourites << u"s1:100 101 | s2:102 103 | s3:104 | s4:105"_s;
        QTest::newRow("answer that skips channels")
            << u"s1 s4"_s << favourites << u"s1:100 | s2: | s3: | s4:101"_s;
        QTest::newRow("unknown channel stops the merge")
            << u"s1 x9 s2"_s << favourites << u"s1:100 | s2: | s3: | s4:"_s;
        QTest::newRow("channels out of order") << u"s3 s1"_s << favourites << u"s1: | s2: | s3:100 | s4:"_s;
        QTest::newRow("unknown bouquet") << u"s1"_s << u"1:7:nowhere"_s << untouched;
        QTest::newRow("empty answer") << QString() << favourites << untouched;
    }

    void bouquetEpgMerge()
    {
        QFETCH(QString, services);
        QFETCH(QString, bouquet);
        QFETCH(QString, expected);

        fillLineUp(*m_database);
        insertEvents(*m_database, services, bouquet);

        QCOMPARE(servicesWithEpg(*m_database, 0), expected);
        QCOMPARE(servicesWithEpg(*m_database, 2), u"n1:"_s);
    }

    void mergeDropsWhatNoChannelTakes()
    {
        fillLineUp(*m_database);
        OwnedList<EpgItem> events;
        events.push_back(makeEvent(u"s1"_s, 100, 60));
        events.push_back(makeEvent(u"s1"_s, 100, 60)); // duplicate
        events.push_back(makeEvent(u"zz"_s, 100, 60)); // no such channel
        const QPointer<EpgItem> kept = events[0].get();
        const QPointer<EpgItem> duplicate = events[1].get();
        const QPointer<EpgItem> stray = events[2].get();
        m_database->insertBouquetEpg(std::move(events));
        QVERIFY(kept);
        QVERIFY(!duplicate);
        QVERIFY(!stray);
    }

    void receivedDataText_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");

        QTest::newRow("nothing") << qint64(0) << u"0 Bytes"_s;
        QTest::newRow("just below a kilobyte") << qint64(1023) << u"1023 Bytes"_s;
        QTest::newRow("one kilobyte") << qint64(1024) << u"1.000 kB"_s;
        QTest::newRow("one and a half kilobytes") << qint64(1536) << u"1.500 kB"_s;
        QTest::newRow("just below a megabyte") << qint64(1048575) << u"1023.999 kB"_s;
        QTest::newRow("one megabyte") << qint64(1048576) << u"1.000 MB"_s;
        QTest::newRow("five gigabytes") << qint64(5) * 1024 * 1024 * 1024 << u"5120.000 MB"_s;
    }

    void receivedDataText()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);

        m_database->addReceivedBytes(bytes / 2);
        m_database->addReceivedBytes(bytes - bytes / 2);
        QCOMPARE(m_database->receivedBytes(), bytes);
        QCOMPARE(m_database->receivedDataText(), text);
    }

    void deviceDataModeRule_data()
    {
        QTest::addColumn<bool>("videoActive");
        QTest::addColumn<int>("statusMode"); // -1: no status page stored yet
        QTest::addColumn<bool>("standby");
        QTest::addColumn<int>("expectedMode");

        QTest::newRow("live service stays live") << false << int(BoxModeTv) << false << int(BoxModeTv);
        QTest::newRow("moving position on live is timeshift")
            << true << int(BoxModeTv) << false << int(BoxModeTimeshift);
        QTest::newRow("moving position in a recording")
            << true << int(BoxModeMovie) << false << int(BoxModeMovie);
        QTest::newRow("no status page yet") << true << -1 << false << int(BoxModeStandby);
        QTest::newRow("standby wins") << true << int(BoxModeTv) << true << int(BoxModeStandby);
    }

    void deviceDataModeRule()
    {
        QFETCH(bool, videoActive);
        QFETCH(int, statusMode);
        QFETCH(bool, standby);
        QFETCH(int, expectedMode);

        if (statusMode >= 0) {
            auto status = std::make_unique<StatusInfoE1>();
            status->mode = statusMode;
            status->standby = standby;
            m_database->setStatusInfoE1(std::move(status));
        }
        auto data = std::make_unique<DeviceData>();
        data->videoActive = videoActive;
        data->volume = 42;
        data->agc = u"80"_s;
        m_database->setDeviceData(std::move(data));

        QCOMPARE(int(m_database->statusData()->mode), expectedMode);
        QCOMPARE(m_database->statusData()->volume, 42);
        QCOMPARE(m_database->statusData()->agcText, u"80"_s);
    }

    void statusCopiesTheAnswers()
    {
        auto about = std::make_unique<AboutInfo>();
        about->enigmaVersion = u"2024-03-01"_s;
        about->hddFree = u"1243.7 GB"_s;
        m_database->setAboutInfo(std::move(about)); // which also means the box shows TV
        auto signal = std::make_unique<SignalInfo>();
        signal->snrDbText = u"12.34 dB"_s;
        signal->agcText = u"78 %"_s;
        m_database->setSignalInfo(std::move(signal));
        auto service = std::make_unique<CurrentServiceE2>();
        service->serviceReference = u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
        service->providerName = u"ARD"_s;
        service->videoSize = u"1920x1080"_s;
        m_database->setCurrentService(std::move(service));
        m_database->setVolume(false, 55);
        m_database->setStandby(true);
        m_database->setCurrentTime(u"20:17:42"_s);

        const StatusData& s = *m_database->statusData();
        QCOMPARE((QStringList{QString::number(s.mode), s.hddFree, s.snrDbText, s.agcText, s.serviceReference,
                              s.provider, s.videoFormat, QString::number(s.volume), QString::number(s.mute),
                              QString::number(s.standby), s.currentTime}),
                 (QStringList{QString::number(BoxModeTv), u"1243.7 GB"_s, u"12.34 dB"_s, u"78 %"_s,
                              u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s, u"ARD"_s, u"1920x1080"_s, u"55"_s, u"0"_s,
                              u"1"_s, u"20:17:42"_s}));
    }

    void movieRemoval()
    {
        m_database->setMovies(movieList({u"a"_s, u"b"_s}));
        m_database->removeMovieAt(-1);
        m_database->removeMovieAt(2);
        QCOMPARE(m_database->movies().size(), 2);
        QVERIFY(!m_database->movieAt(2));
        QCOMPARE(m_database->movieAt(1)->title, u"b"_s);

        QVERIFY(m_database->removeMovie(u"r/b"_s));
        QVERIFY(!m_database->removeMovie(u"r/b"_s));
        QCOMPARE(m_database->movies().size(), 1);
        m_database->removeMovieAt(0);
        QVERIFY(m_database->movies().isEmpty());
    }

    void timerRemovalByIdentity()
    {
        const QString service = u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
        OwnedList<TimerEntry> timers;
        timers.push_back(makeTimer(service, u"early"_s, 100, 200));
        timers.push_back(makeTimer(service, u"late"_s, 300, 400));
        m_database->setTimers(std::move(timers));

        // The later timer of the same service goes, not the first one of that service.
        QVERIFY(m_database->removeTimer(service, 300, 400));
        QCOMPARE(m_database->timers().size(), 1);
        QCOMPARE(m_database->timerAt(0)->name, u"early"_s);
        QVERIFY(!m_database->removeTimer(service, 300, 400));

        QVERIFY(m_database->removeTimer(service));
        QVERIFY(m_database->timers().isEmpty());
        QVERIFY(!m_database->removeTimer(service));
    }

    void replacingBouquetsFreesTheOldOnes()
    {
        QVERIFY(!m_database->serviceDataLoaded());
        fillLineUp(*m_database);
        QVERIFY(m_database->serviceDataLoaded());
        const QPointer<Channel> oldChannel = m_database->channel(0, 0);
        insertEvents(*m_database, u"s1"_s);
        const QPointer<EpgItem> oldEvent = m_database->epgItem(0, 0, 0);
        QVERIFY(oldEvent);

        fillLineUp(*m_database);
        QVERIFY(!oldChannel);
        QVERIFY(!oldEvent);
        QCOMPARE(m_database->bouquets().size(), 3);
    }

private:
    ManualClock m_clock;
    std::unique_ptr<TavrelDatabase> m_database;
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
