#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"

#include <QPointer>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString favourites =
    uR"(1:7:1:0:0:0:0:0:0:0:FROM BOUQUET "userbouquet.favourites.tv" ORDER BY bouquet)"_s;
const QString news = uR"(1:7:1:0:0:0:0:0:0:0:FROM BOUQUET "userbouquet.news.tv" ORDER BY bouquet)"_s;

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

QStringList servicesWithEpg(const TavrelDatabase& database, int b)
{
    QStringList services;
    for (const Channel* channel : database.channels(b)) {
        QString entry = channel->serviceReference + QLatin1Char(':');
        for (const EpgItem* event : channel->epgList())
            entry += QString::number(event->start) + QLatin1Char(' ');
        services.append(entry.trimmed());
    }
    return services;
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

class TestDatabase : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshDatabase();
    void guardedLookups_data();
    void guardedLookups();
    void bouquetEpgMerge_data();
    void bouquetEpgMerge();
    void mergeDropsWhatNoChannelTakes();
    void currentServiceEpg_data();
    void currentServiceEpg();
    void receivedDataText_data();
    void receivedDataText();
    void deviceDataModeRule_data();
    void deviceDataModeRule();
    void aboutInfoForcesTvMode();
    void statusCopies();
    void movieRemoval();
    void timerRemovalByIdentity();
    void replacingBouquetsFreesTheOldOnes();
};

void TestDatabase::freshDatabase()
{
    const ManualClock clock;
    TavrelDatabase database(clock);
    QVERIFY(!database.serviceDataLoaded());
    QVERIFY(database.statusData());
    QCOMPARE(database.statusData()->mode, BoxModeStandby);
    QVERIFY(database.statusData()->mute);
    QCOMPARE(database.receivedBytes(), 0);
    QVERIFY(!database.currentService());
    QVERIFY(database.currentServiceEpg().isEmpty());
    fillLineUp(database);
    QVERIFY(database.serviceDataLoaded());
}

void TestDatabase::guardedLookups_data()
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

void TestDatabase::guardedLookups()
{
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, i);
    QFETCH(bool, channel);
    QFETCH(bool, item);

    const ManualClock clock;
    TavrelDatabase database(clock);
    fillLineUp(database);
    OwnedList<EpgItem> events;
    events.push_back(makeEvent(u"s1"_s, 100, 60));
    events.push_back(makeEvent(u"s1"_s, 160, 60));
    database.insertBouquetEpg(std::move(events));

    QCOMPARE(database.hasChannel(b, c), channel);
    QCOMPARE(database.hasEpgItem(b, c, i), item);
    QCOMPARE(database.epgItem(b, c, i) != nullptr, item);
    QCOMPARE(database.channels(b).isEmpty(), b < 0 || b > 2 || b == 1);
    QVERIFY(!database.timerAt(b < 0 ? b : -1));
    QVERIFY(!database.movieAt(-1));
    QVERIFY(!database.isMovieIndexValid(-1));
    QVERIFY(!database.searchResultAt(-1));
    QVERIFY(!database.similarResultAt(0));
}

void TestDatabase::bouquetEpgMerge_data()
{
    QTest::addColumn<QStringList>("services");
    QTest::addColumn<QString>("bouquet");
    QTest::addColumn<QStringList>("expected");

    const QStringList untouched{u"s1:"_s, u"s2:"_s, u"s3:"_s, u"s4:"_s};
    QTest::newRow("now and next for every channel")
        << QStringList{u"s1"_s, u"s1"_s, u"s2"_s, u"s2"_s, u"s3"_s, u"s4"_s} << favourites
        << QStringList{u"s1:100 101"_s, u"s2:102 103"_s, u"s3:104"_s, u"s4:105"_s};
    QTest::newRow("answer that skips channels") << QStringList{u"s1"_s, u"s4"_s} << favourites
                                                << QStringList{u"s1:100"_s, u"s2:"_s, u"s3:"_s, u"s4:101"_s};
    QTest::newRow("unknown channel stops the merge")
        << QStringList{u"s1"_s, u"x9"_s, u"s2"_s} << favourites
        << QStringList{u"s1:100"_s, u"s2:"_s, u"s3:"_s, u"s4:"_s};
    QTest::newRow("channels out of order") << QStringList{u"s3"_s, u"s1"_s} << favourites
                                           << QStringList{u"s1:"_s, u"s2:"_s, u"s3:100"_s, u"s4:"_s};
    QTest::newRow("unknown bouquet") << QStringList{u"s1"_s} << u"1:7:nowhere"_s << untouched;
    QTest::newRow("empty answer") << QStringList{} << favourites << untouched;
}

void TestDatabase::bouquetEpgMerge()
{
    QFETCH(QStringList, services);
    QFETCH(QString, bouquet);
    QFETCH(QStringList, expected);

    const ManualClock clock;
    TavrelDatabase database(clock);
    fillLineUp(database);
    OwnedList<EpgItem> events;
    uint start = 100;
    for (const QString& service : services)
        events.push_back(makeEvent(service, start++, 1, bouquet));
    database.insertBouquetEpg(std::move(events));

    QCOMPARE(servicesWithEpg(database, 0), expected);
    QCOMPARE(servicesWithEpg(database, 2), QStringList{u"n1:"_s});
}

void TestDatabase::mergeDropsWhatNoChannelTakes()
{
    const ManualClock clock;
    TavrelDatabase database(clock);
    fillLineUp(database);
    OwnedList<EpgItem> events;
    events.push_back(makeEvent(u"s1"_s, 100, 60));
    events.push_back(makeEvent(u"s1"_s, 100, 60)); // duplicate
    events.push_back(makeEvent(u"zz"_s, 100, 60)); // no such channel
    const QPointer<EpgItem> kept = events[0].get();
    const QPointer<EpgItem> duplicate = events[1].get();
    const QPointer<EpgItem> stray = events[2].get();
    database.insertBouquetEpg(std::move(events));
    QVERIFY(kept);
    QVERIFY(!duplicate);
    QVERIFY(!stray);
}

void TestDatabase::currentServiceEpg_data()
{
    QTest::addColumn<uint>("firstStart");
    QTest::addColumn<int>("remaining");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("minutesLeft");

    // The clock stands at 10000; the second event always follows the first for 600 s.
    QTest::newRow("running event") << 9700u << 2 << 50 << 5;
    QTest::newRow("not begun counts as complete") << 10100u << 2 << 100 << 0;
    QTest::newRow("first ended, next running") << 9000u << 1 << 67 << 3;
    QTest::newRow("both ended") << 8000u << 0 << 0 << 0;
}

void TestDatabase::currentServiceEpg()
{
    QFETCH(uint, firstStart);
    QFETCH(int, remaining);
    QFETCH(int, progress);
    QFETCH(int, minutesLeft);

    const ManualClock clock(10000);
    TavrelDatabase database(clock);
    auto service = std::make_unique<CurrentServiceE2>();
    service->serviceReference = u"s1"_s;
    service->events.push_back(makeEvent(u"s1"_s, firstStart, 600));
    service->events.push_back(makeEvent(u"s1"_s, firstStart + 600, 600));
    database.setCurrentService(std::move(service));

    const QList<EpgItem*> events = database.currentServiceEpg();
    QCOMPARE(events.size(), remaining);
    QCOMPARE(database.currentService()->events.size(), size_t(remaining));
    if (remaining > 0) {
        QCOMPARE(events.first()->progress, progress);
        QCOMPARE(events.first()->minutesLeft, minutesLeft);
    }
}

void TestDatabase::receivedDataText_data()
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

void TestDatabase::receivedDataText()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);

    const ManualClock clock;
    TavrelDatabase database(clock);
    database.addReceivedBytes(bytes / 2);
    database.addReceivedBytes(bytes - bytes / 2);
    QCOMPARE(database.receivedBytes(), bytes);
    QCOMPARE(database.receivedDataText(), text);
}

void TestDatabase::deviceDataModeRule_data()
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

void TestDatabase::deviceDataModeRule()
{
    QFETCH(bool, videoActive);
    QFETCH(int, statusMode);
    QFETCH(bool, standby);
    QFETCH(int, expectedMode);

    const ManualClock clock;
    TavrelDatabase database(clock);
    if (statusMode >= 0) {
        auto status = std::make_unique<StatusInfoE1>();
        status->mode = statusMode;
        status->standby = standby;
        database.setStatusInfoE1(std::move(status));
    }
    auto data = std::make_unique<DeviceData>();
    data->videoActive = videoActive;
    data->volume = 42;
    data->agc = u"80"_s;
    database.setDeviceData(std::move(data));

    QCOMPARE(int(database.statusData()->mode), expectedMode);
    QCOMPARE(database.statusData()->volume, 42);
    QCOMPARE(database.statusData()->agcText, u"80"_s);
}

void TestDatabase::aboutInfoForcesTvMode()
{
    const ManualClock clock;
    TavrelDatabase database(clock);
    auto about = std::make_unique<AboutInfo>();
    about->enigmaVersion = u"2024-03-01"_s;
    about->hddFree = u"1243.7 GB"_s;
    database.setAboutInfo(std::move(about));
    QCOMPARE(database.statusData()->mode, BoxModeTv);
    QCOMPARE(database.statusData()->hddFree, u"1243.7 GB"_s);
}

void TestDatabase::statusCopies()
{
    const ManualClock clock;
    TavrelDatabase database(clock);
    auto signal = std::make_unique<SignalInfo>();
    signal->snrDbText = u"12.34 dB"_s;
    signal->agcText = u"78 %"_s;
    database.setSignalInfo(std::move(signal));
    auto service = std::make_unique<CurrentServiceE2>();
    service->serviceReference = u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
    service->providerName = u"ARD"_s;
    service->videoSize = u"1920x1080"_s;
    database.setCurrentService(std::move(service));
    database.setVolume(false, 55);
    database.setStandby(true);
    database.setCurrentTime(u"20:17:42"_s);

    const StatusData& status = *database.statusData();
    QCOMPARE(status.snrDbText, u"12.34 dB"_s);
    QCOMPARE(status.agcText, u"78 %"_s);
    QCOMPARE(status.serviceReference, u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s);
    QCOMPARE(status.provider, u"ARD"_s);
    QCOMPARE(status.videoFormat, u"1920x1080"_s);
    QCOMPARE(status.volume, 55);
    QVERIFY(!status.mute);
    QVERIFY(status.standby);
    QCOMPARE(status.currentTime, u"20:17:42"_s);
}

void TestDatabase::movieRemoval()
{
    const ManualClock clock;
    TavrelDatabase database(clock);
    database.setMovies(movieList({u"a"_s, u"b"_s}));
    database.removeMovieAt(-1);
    database.removeMovieAt(2);
    QCOMPARE(database.movies().size(), 2);
    QVERIFY(!database.movieAt(2));
    QCOMPARE(database.movieAt(1)->title, u"b"_s);

    QVERIFY(database.removeMovie(u"r/b"_s));
    QVERIFY(!database.removeMovie(u"r/b"_s));
    QCOMPARE(database.movies().size(), 1);
    database.removeMovieAt(0);
    QVERIFY(database.movies().isEmpty());
}

void TestDatabase::timerRemovalByIdentity()
{
    const ManualClock clock;
    TavrelDatabase database(clock);
    const QString service = u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
    OwnedList<TimerEntry> timers;
    timers.push_back(makeTimer(service, u"early"_s, 100, 200));
    timers.push_back(makeTimer(service, u"late"_s, 300, 400));
    database.setTimers(std::move(timers));

    // The later timer of the same service goes, not the first one of that service.
    QVERIFY(database.removeTimer(service, 300, 400));
    QCOMPARE(database.timers().size(), 1);
    QCOMPARE(database.timerAt(0)->name, u"early"_s);
    QVERIFY(!database.removeTimer(service, 300, 400));

    QVERIFY(database.removeTimer(service));
    QVERIFY(database.timers().isEmpty());
    QVERIFY(!database.removeTimer(service));
}

void TestDatabase::replacingBouquetsFreesTheOldOnes()
{
    const ManualClock clock;
    TavrelDatabase database(clock);
    fillLineUp(database);
    const QPointer<Channel> oldChannel = database.channel(0, 0);
    OwnedList<EpgItem> events;
    events.push_back(makeEvent(u"s1"_s, 100, 60));
    database.insertBouquetEpg(std::move(events));
    const QPointer<EpgItem> oldEvent = database.epgItem(0, 0, 0);
    QVERIFY(oldEvent);

    fillLineUp(database);
    QVERIFY(!oldChannel);
    QVERIFY(!oldEvent);
    QCOMPARE(database.bouquets().size(), 3);
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
