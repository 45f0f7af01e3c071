#include "box/requestse2.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tests/common/simulatedreceiver.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using boxsim::FaultKind;

namespace {

const QString favourites =
    uR"(1:7:1:0:0:0:0:0:0:0:FROM BOUQUET "userbouquet.favourites.tv" ORDER BY bouquet)"_s;
const QByteArray favouritesEncoded =
    "1:7:1:0:0:0:0:0:0:0:FROM%20BOUQUET%20%22userbouquet.favourites.tv%22%20ORDER%20BY%20bouquet";
const QString daserste = u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
const QString zdf = u"1:0:19:2B66:3F3:1:C00000:0:0:0:"_s;

enum Operation
{
    ServiceEpg,
    BouquetEpg,
    BouquetEpgNow,
    SimilarEpg,
    Zap,
    ZapInBouquet,
    PlayMovie,
    DeleteMovie,
    MessageInfo,
    MessageQuestion,
    AddZapTimer,
    AddRecordTimer,
    DeleteTimer,
    SetVolume,
    Search,
};

} // namespace

class TestRequestsE2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fixedUrls_data();
    void fixedUrls();
    void parameterisedUrls_data();
    void parameterisedUrls();
    void requestWithoutUrlSendsNothing();
    void startUpChain();
    void zapWithRefresh();
    void standbyChangeAsksForTheServiceAgain_data();
    void standbyChangeAsksForTheServiceAgain();
    void overlappingRequestsAreAllHandled_data();
    void overlappingRequestsAreAllHandled();
    void lateAnswerOfAReplacedEngineIsIgnored();
    void currentServiceRetries();
    void timerCommandOutcomes();
    void timerDeleteReloadsTheList();
    void messageAnswer();
    void fullUnicodeAndLatin1Fallback();
    void receivedBytesAreCounted();
    void authentication_data();
    void authentication();
    void credentialsAreReadAtChallengeTime();
    void failuresKeepStoredData_data();
    void failuresKeepStoredData();
    void failedMessageIsNoSuccess();
    void failedPowerStateChangesNothing();
    void hangingReceiverTimesOut();
    void refusedConnection();
    void profileChangeRebuildsUrls();

private:
    // Waits until every reply was handled and no delayed request is pending.
    void settle(int timeoutMs = 10000);
    void loadLineUp();

    std::unique_ptr<SimulatedReceiver> m_receiver;
    std::unique_ptr<TavrelDatabase> m_database;
    std::unique_ptr<RequestsE2> m_engine;
};

void TestRequestsE2::init()
{
    // A warning from the network layer means a reply was mishandled.
    QTest::failOnWarning(QRegularExpression(u".*"_s));
    m_receiver = std::make_unique<SimulatedReceiver>(boxsim::Personality::Enigma2);
    QVERIFY(m_receiver->port != 0);
    m_database = std::make_unique<TavrelDatabase>(m_receiver->clock);
    m_engine = std::make_unique<RequestsE2>(m_database.get());
}

void TestRequestsE2::cleanup()
{
    m_engine.reset();
    m_database.reset();
    m_receiver.reset();
}

void TestRequestsE2::settle(int timeoutMs)
{
    QTRY_VERIFY_WITH_TIMEOUT(m_engine->isSettled(), timeoutMs);
}

void TestRequestsE2::loadLineUp()
{
    m_engine->sendRequest(ReqServices);
    settle();
    m_receiver->box.clearRequests();
    QVERIFY(m_database->serviceDataLoaded());
}

void TestRequestsE2::fixedUrls_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("target");

    QTest::newRow("forward") << int(ReqForward) << QByteArray("/web/remotecontrol?command=401");
    QTest::newRow("rewind") << int(ReqRewind) << QByteArray("/web/remotecontrol?command=398");
    QTest::newRow("play") << int(ReqPlay) << QByteArray("/web/remotecontrol?command=399");
    QTest::newRow("record") << int(ReqRecord) << QByteArray("/web/recordnow?recordnow=true");
    QTest::newRow("pause") << int(ReqPause) << QByteArray("/web/remotecontrol?command=400");
    QTest::newRow("key ok") << int(ReqKeyOk) << QByteArray("/web/remotecontrol?command=352");
    QTest::newRow("key exit") << int(ReqKeyExit) << QByteArray("/web/remotecontrol?command=174");
    QTest::newRow("mute") << int(ReqMute) << QByteArray("/web/vol?set=mute");
    QTest::newRow("volume") << int(ReqVolume) << QByteArray("/web/vol?set");
    QTest::newRow("status") << int(ReqStatus) << QByteArray("/web/powerstate");
    QTest::newRow("current service") << int(ReqCurrentService) << QByteArray("/web/getcurrent");
    QTest::newRow("about") << int(ReqAbout) << QByteArray("/web/about");
    QTest::newRow("current time") << int(ReqCurrentTime) << QByteArray("/web/currenttime");
    QTest::newRow("services") << int(ReqServices) << QByteArray("/web/getallservices");
    QTest::newRow("signal") << int(ReqSignal) << QByteArray("/web/signal");
    QTest::newRow("movie list") << int(ReqMovieList) << QByteArray("/web/movielist");
    QTest::newRow("message answer") << int(ReqMessageAnswer)
                                    << QByteArray("/web/messageanswer?getanswer=True");
    QTest::newRow("timer list") << int(ReqTimerList) << QByteArray("/web/timerlist");
    QTest::newRow("timer cleanup") << int(ReqTimerCleanup) << QByteArray("/web/timercleanup?cleanup=true");
    QTest::newRow("shutdown") << int(ReqShutdown) << QByteArray("/web/powerstate?newstate=1");
    QTest::newRow("reboot") << int(ReqReboot) << QByteArray("/web/powerstate?newstate=2");
    QTest::newRow("restart gui") << int(ReqRestartGui) << QByteArray("/web/powerstate?newstate=3");
    QTest::newRow("wake up") << int(ReqWakeup) << QByteArray("/web/powerstate?newstate=4");
    QTest::newRow("standby") << int(ReqStandby) << QByteArray("/web/powerstate?newstate=5");
}

void TestRequestsE2::fixedUrls()
{
    QFETCH(int, type);
    QFETCH(QByteArray, target);

    m_receiver->noPowerDowntime();
    m_engine->sendRequest(RequestType(type));
    settle();
    QVERIFY(!m_receiver->box.requestTargets().isEmpty());
    QCOMPARE(m_receiver->box.requestTargets().first(), target);
}

void TestRequestsE2::parameterisedUrls_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("decoded");

    QTest::newRow("service epg") << int(ServiceEpg)
                                 << QByteArray("/web/epgservice?sRef=" + daserste.toLatin1()) << u"sRef"_s
                                 << daserste;
    QTest::newRow("bouquet epg with quotes and spaces")
        << int(BouquetEpg) << QByteArray("/web/epgmulti?bRef=" + favouritesEncoded) << u"bRef"_s
        << favourites;
    QTest::newRow("bouquet now events")
        << int(BouquetEpgNow) << QByteArray("/web/epgnow?bRef=" + favouritesEncoded) << u"bRef"_s
        << favourites;
    QTest::newRow("similar events") << int(SimilarEpg)
                                    << QByteArray("/web/epgsimilar?sRef=" + daserste.toLatin1() +
                                                  "&eventid=4711")
                                    << u"eventid"_s << u"4711"_s;
    QTest::newRow("zap") << int(Zap) << QByteArray("/web/zap?sRef=" + zdf.toLatin1()) << u"sRef"_s << zdf;
    QTest::newRow("zap in bouquet") << int(ZapInBouquet) << QByteArray("/web/zap?sRef=" + zdf.toLatin1())
                                    << u"sRef"_s << zdf;
    QTest::newRow("play movie with spaces, umlaut and ampersand")
        << int(PlayMovie)
        << QByteArray("/web/zap?sRef=1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/Sch%C3%B6ne%20T%26T%20%2B1.ts")
        << u"sRef"_s << u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/Schöne T&T +1.ts"_s;
    QTest::newRow("delete movie with hash and percent")
        << int(DeleteMovie)
        << QByteArray("/web/moviedelete?sRef=1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/%23100%25.ts") << u"sRef"_s
        << u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/#100%.ts"_s;
    QTest::newRow("message with every troublesome character")
        << int(MessageInfo)
        << QByteArray(
               "/web/message?text=Tom%20%26%20Jerry%20%23%201%2B1%3D2%20100%25%20%C3%BCber&type=2&timeout=15")
        << u"text"_s << u"Tom & Jerry # 1+1=2 100% über"_s;
    QTest::newRow("question") << int(MessageQuestion)
                              << QByteArray("/web/message?text=Essen%3F&type=0&timeout=30") << u"type"_s
                              << u"0"_s;
    QTest::newRow("zap timer") << int(AddZapTimer)
                               << QByteArray("/web/timeraddbyeventid?sRef=" + daserste.toLatin1() +
                                             "&eventid=815&justplay=1")
                               << u"justplay"_s << u"1"_s;
    QTest::newRow("record timer") << int(AddRecordTimer)
                                  << QByteArray("/web/timeraddbyeventid?sRef=" + daserste.toLatin1() +
                                                "&eventid=815&justplay=0")
                                  << u"eventid"_s << u"815"_s;
    QTest::newRow("delete timer") << int(DeleteTimer)
                                  << QByteArray("/web/timerdelete?sRef=" + daserste.toLatin1() +
                                                "&begin=1796590000&end=1796593600")
                                  << u"end"_s << u"1796593600"_s;
    QTest::newRow("set volume") << int(SetVolume) << QByteArray("/web/vol?set=set55") << u"set"_s
                                << u"set55"_s;
    QTest::newRow("search with ampersand and umlaut")
        << int(Search) << QByteArray("/web/epgsearch?search=Tom%20%26%20J%C3%A4rry%2B") << u"search"_s
        << u"Tom & Järry+"_s;
}

void TestRequestsE2::parameterisedUrls()
{
    QFETCH(int, operation);
    QFETCH(QByteArray, target);
    QFETCH(QString, item);
    QFETCH(QString, decoded);

    EpgItem event;
    event.serviceReference = daserste;
    event.eventId = u"815"_s;
    TimerEntry timer;
    timer.serviceReference = daserste;
    timer.begin = 1796590000;
    timer.end = 1796593600;

    switch (Operation(operation)) {
    case ServiceEpg:
        m_engine->requestServiceEpg(daserste, favourites);
        break;
    case BouquetEpg:
        m_engine->requestBouquetEpg(favourites);
        break;
    case BouquetEpgNow:
        m_engine->requestBouquetEpgNow(favourites);
        break;
    case SimilarEpg:
        m_engine->requestSimilarEpg(daserste, u"4711"_s);
        break;
    case Zap:
        m_engine->zapToService(zdf);
        break;
    case ZapInBouquet:
        m_engine->zapToServiceInBouquet(zdf, favourites);
        break;
    case PlayMovie:
        m_engine->playMovie(u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/Schöne T&T +1.ts"_s);
        break;
    case DeleteMovie:
        m_engine->deleteMovie(u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/#100%.ts"_s);
        break;
    case MessageInfo:
        m_engine->sendMessageE2(u"Tom & Jerry # 1+1=2 100% über"_s, false, 15);
        break;
    case MessageQuestion:
        m_engine->sendMessageE2(u"Essen?"_s, true, 30);
        break;
    case AddZapTimer:
        m_engine->addTimerForEvent(&event, true);
        break;
    case AddRecordTimer:
        m_engine->addTimerForEvent(&event, false);
        break;
    case DeleteTimer:
        m_engine->deleteTimer(&timer);
        break;
    case SetVolume:
        m_engine->setVolume(u"55"_s);
        break;
    case Search:
        m_engine->searchEpg(u"Tom & Järry+"_s);
        break;
    }
    settle();
    const QList<boxsim::LoggedRequest> requests = m_receiver->box.requests();
    QVERIFY(!requests.isEmpty());
    QCOMPARE(requests.first().target(), target);
    QCOMPARE(requests.first().queryValue(item), decoded);
}

void TestRequestsE2::requestWithoutUrlSendsNothing()
{
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    for (RequestType type :
         {ReqStop, ReqVideoPosition, ReqVolumeUp, ReqData, ReqSatfinderConfig, ReqMultiEpg})
        m_engine->sendRequest(type);
    QVERIFY(m_engine->isSettled());
    QTest::qWait(50);
    QVERIFY(m_receiver->box.requests().isEmpty());
    QCOMPARE(active.count(), 0);
}

void TestRequestsE2::startUpChain()
{
    QSignalSpy services(m_engine.get(), &RequestsE2::finishedServiceDataRequest);
    QSignalSpy about(m_engine.get(), &RequestsE2::finishedAboutRequest);
    QSignalSpy signalInfo(m_engine.get(), &RequestsE2::finishedSignalRequest);
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    m_engine->sendRequest(ReqServices);
    settle();

    const QStringList targets = m_receiver->targets();
    // Requests overlap, so only causes are ordered: services before everything; status before
    // the volume; the first good current service before the about data, and that before the
    // signal. The current service comes twice: after the services and after the status.
    QCOMPARE(targets.first(), u"/web/getallservices"_s);
    QCOMPARE(targets.count(u"/web/getcurrent"_s), 2);
    QCOMPARE(targets.count(u"/web/powerstate"_s), 1);
    QCOMPARE(targets.count(u"/web/currenttime"_s), 1);
    QCOMPARE(targets.count(u"/web/vol?set"_s), 1);
    QCOMPARE(targets.count(u"/web/about"_s), 1);
    QCOMPARE(targets.count(u"/web/signal"_s), 1);
    QVERIFY(targets.indexOf(u"/web/vol?set"_s) > targets.indexOf(u"/web/powerstate"_s));
    QVERIFY(targets.indexOf(u"/web/about"_s) > targets.indexOf(u"/web/getcurrent"_s));
    QVERIFY(targets.indexOf(u"/web/signal"_s) > targets.indexOf(u"/web/about"_s));
    QCOMPARE(targets.size(), 8);

    QCOMPARE(services.count(), 1);
    QCOMPARE(about.count(), 1);
    QCOMPARE(signalInfo.count(), 1);
    QCOMPARE(signalInfo.first().first().value<const SignalInfo*>(), m_database->signalInfo());
    QCOMPARE(active.count(), 2);
    QCOMPARE(active.last().first().toBool(), false);

    // The database was filled before each signal.
    QCOMPARE(m_database->bouquets().first()->reference, favourites);
    QCOMPARE(m_database->statusData()->serviceReference, m_receiver->box.currentServiceReference());
    QCOMPARE(m_database->statusData()->mode, BoxModeTv);
    QVERIFY(!m_database->statusData()->currentTime.isEmpty());
}

void TestRequestsE2::zapWithRefresh()
{
    loadLineUp();
    QSignalSpy epg(m_engine.get(), &RequestsE2::finishedEpgDataRequest);
    m_engine->zapToServiceInBouquet(zdf, favourites);
    settle();

    QCOMPARE(m_receiver->box.currentServiceReference(), zdf);
    const QStringList targets = m_receiver->targets();
    QCOMPARE(targets.first(), u"/web/zap?sRef="_s + zdf);
    QCOMPARE(targets.at(1), u"/web/powerstate"_s);
    const auto zap = m_receiver->requestsTo("/web/zap").first();
    const auto serviceEpg = m_receiver->requestsTo("/web/epgservice");
    const auto nowEvents = m_receiver->requestsTo("/web/epgnow");
    const auto nextEvents = m_receiver->requestsTo("/web/epgnext");
    QCOMPARE(serviceEpg.size(), 1);
    QCOMPARE(nowEvents.size(), 1);
    QCOMPARE(nextEvents.size(), 1);
    QCOMPARE(serviceEpg.first().queryValue(u"sRef"_s), zdf);
    QCOMPARE(nowEvents.first().queryValue(u"bRef"_s), favourites);
    QCOMPARE(nextEvents.first().queryValue(u"bRef"_s), favourites);
    // The EPG waits for the receiver to tune: 800 ms after the zap answer.
    QVERIFY2(SimulatedReceiver::msBetween(zap, serviceEpg.first()) >= 790,
             qPrintable(QString::number(SimulatedReceiver::msBetween(zap, serviceEpg.first()))));
    QVERIFY(SimulatedReceiver::msBetween(zap, serviceEpg.first()) < 2000);
    QVERIFY(nextEvents.first().sequence > nowEvents.first().sequence);
    // Service EPG, now events, next events.
    QCOMPARE(epg.count(), 3);
    const int zdfIndex = 1;
    QVERIFY(m_database->hasEpg(0, zdfIndex));
}

void TestRequestsE2::standbyChangeAsksForTheServiceAgain_data()
{
    QTest::addColumn<bool>("receiverInStandby");
    QTest::addColumn<int>("currentServiceRequests");

    // The image starts awake; a receiver in standby is a change.
    QTest::newRow("standby is news") << true << 2;
    QTest::newRow("awake as known") << false << 1;
}

void TestRequestsE2::standbyChangeAsksForTheServiceAgain()
{
    QFETCH(bool, receiverInStandby);
    QFETCH(int, currentServiceRequests);

    m_receiver->box.setStandby(receiverInStandby);
    QSignalSpy power(m_engine.get(), &RequestsE2::finishedPowerstateRequest);
    m_engine->sendRequest(ReqStatus);
    settle();

    QCOMPARE(power.count(), 1);
    QCOMPARE(power.first().first().toBool(), receiverInStandby);
    QCOMPARE(m_database->statusData()->standby, receiverInStandby);
    const auto current = m_receiver->requestsTo("/web/getcurrent");
    QCOMPARE(current.size(), currentServiceRequests);
    if (currentServiceRequests == 2) {
        const auto status = m_receiver->requestsTo("/web/powerstate").first();
        QVERIFY(SimulatedReceiver::msBetween(status, current.at(1)) >= 490);
    }
}

enum Overlap
{
    TwoServiceEpgs,
    TwoBouquetNowNext,
    TwoStatus,
    TwoSignals,
    TwoTimerLists,
    TwoMovieLists,
};

void TestRequestsE2::overlappingRequestsAreAllHandled_data()
{
    QTest::addColumn<int>("overlap");
    QTest::addColumn<QString>("delayedPath");
    QTest::addColumn<QByteArray>("signal");
    QTest::addColumn<int>("emitted");

    // The first answer comes last; by then a second request of its type has been sent.
    QTest::newRow("service EPG") << int(TwoServiceEpgs) << u"/web/epgservice"_s
                                 << QByteArray(SIGNAL(finishedEpgDataRequest())) << 2;
    QTest::newRow("bouquet now/next")
        << int(TwoBouquetNowNext) << u"/web/epgnow"_s << QByteArray(SIGNAL(finishedEpgDataRequest())) << 4;
    QTest::newRow("status") << int(TwoStatus) << u"/web/powerstate"_s
                            << QByteArray(SIGNAL(finishedPowerstateRequest(bool))) << 2;
    QTest::newRow("signal") << int(TwoSignals) << u"/web/signal"_s
                            << QByteArray(SIGNAL(finishedSignalRequest(const SignalInfo*))) << 2;
    QTest::newRow("timer list") << int(TwoTimerLists) << u"/web/timerlist"_s
                                << QByteArray(SIGNAL(finishedTimerListRequest())) << 2;
    QTest::newRow("movie list") << int(TwoMovieLists) << u"/web/movielist"_s
                                << QByteArray(SIGNAL(finishedMovieListRequest())) << 2;
}

void TestRequestsE2::overlappingRequestsAreAllHandled()
{
    QFETCH(int, overlap);
    QFETCH(QString, delayedPath);
    QFETCH(QByteArray, signal);
    QFETCH(int, emitted);

    loadLineUp();
    const QString first = m_database->bouquet(0)->reference;
    const QString second = m_database->bouquet(1)->reference;
    m_receiver->box.setPathFault(delayedPath, {.latencyMs = 300, .times = 1});
    QSignalSpy finished(m_engine.get(), signal.constData());
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    switch (Overlap(overlap)) {
    case TwoServiceEpgs:
        m_engine->requestServiceEpg(daserste, favourites);
        m_engine->requestServiceEpg(zdf, favourites);
        break;
    case TwoBouquetNowNext:
        m_engine->requestBouquetEpgNow(first);
        m_engine->requestBouquetEpgNow(second);
        break;
    case TwoStatus:
        m_engine->sendRequest(ReqStatus);
        m_engine->sendRequest(ReqStatus);
        break;
    case TwoSignals:
        m_engine->sendRequest(ReqSignal);
        m_engine->sendRequest(ReqSignal);
        break;
    case TwoTimerLists:
        m_engine->sendRequest(ReqTimerList);
        m_engine->sendRequest(ReqTimerList);
        break;
    case TwoMovieLists:
        m_engine->sendRequest(ReqMovieList);
        m_engine->sendRequest(ReqMovieList);
        break;
    }
    settle();

    QCOMPARE(finished.count(), emitted);
    QCOMPARE(active.count(QVariantList{false}), active.count(QVariantList{true}));
    if (overlap == TwoServiceEpgs) {
        // Each answer went to its own channel.
        QVERIFY(m_database->hasEpg(0, 0));
        QVERIFY(m_database->hasEpg(0, 1));
        QCOMPARE(m_database->epgItem(0, 0, 0)->serviceReference, daserste);
        QCOMPARE(m_database->epgItem(0, 1, 0)->serviceReference, zdf);
        QCOMPARE(active.count(QVariantList{true}), 2);
    }
    if (overlap == TwoBouquetNowNext) {
        // The late answer's next events are asked for its own bouquet, and land there.
        QStringList nextFor;
        for (const auto& request : m_receiver->requestsTo("/web/epgnext"))
            nextFor.append(request.queryValue(u"bRef"_s));
        QCOMPARE(nextFor, (QStringList{second, first}));
        QVERIFY(m_database->hasEpgItem(0, 0, 1));
        QVERIFY(m_database->hasEpgItem(1, 0, 1));
        QCOMPARE(active.count(QVariantList{true}), 2);
    }
}

void TestRequestsE2::lateAnswerOfAReplacedEngineIsIgnored()
{
    loadLineUp();
    m_receiver->box.setPathFault(u"/web/epgservice"_s, {.latencyMs = 200, .times = 1});
    QSignalSpy epg(m_engine.get(), &RequestsE2::finishedEpgDataRequest);
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    m_engine->requestServiceEpg(daserste, favourites);
    // As the controller retires an engine: the new one works with the same database at once.
    auto retired = std::move(m_engine);
    retired->abandon();
    m_engine = std::make_unique<RequestsE2>(m_database.get());
    QSignalSpy fresh(m_engine.get(), &RequestsE2::finishedEpgDataRequest);
    m_engine->requestServiceEpg(zdf, favourites);
    settle();
    QTRY_COMPARE(m_receiver->requestsTo("/web/epgservice").size(), 2);
    QTest::qWait(400);

    QCOMPARE(epg.count(), 0);
    QCOMPARE(active.count(QVariantList{false}), 0);
    QCOMPARE(fresh.count(), 1);
    QVERIFY(!m_database->hasEpg(0, 0));
    QVERIFY(m_database->hasEpg(0, 1));
}

void TestRequestsE2::currentServiceRetries()
{
    m_receiver->box.setPathFault(u"/web/getcurrent"_s, {FaultKind::MalformedBody});
    QSignalSpy unreadable(m_engine.get(), &TavrelRequest::replyUnreadable);
    m_engine->sendRequest(ReqCurrentService);
    settle();
    // One request and three retries in the engine's life.
    QCOMPARE(m_receiver->requestsTo("/web/getcurrent").size(), 4);
    QCOMPARE(unreadable.count(), 4);

    m_receiver->box.clearRequests();
    m_engine->sendRequest(ReqCurrentService);
    settle();
    QCOMPARE(m_receiver->requestsTo("/web/getcurrent").size(), 1);
    QVERIFY(!m_database->currentService());
}

void TestRequestsE2::timerCommandOutcomes()
{
    loadLineUp();
    const std::optional<boxsim::Event> next = m_receiver->box.nextEvent(daserste);
    QVERIFY(next.has_value());
    EpgItem event;
    event.serviceReference = daserste;
    event.eventId = QString::number(next->id);

    const qsizetype timersBefore = m_receiver->box.timers().size();
    QSignalSpy added(m_engine.get(), &RequestsE2::finishedTimerEventAddRequest);
    m_engine->addTimerForEvent(&event, false);
    settle();
    // The receiver says "Timer '...' added" without the word "successfully".
    QCOMPARE(added.count(), 1);
    QCOMPARE(added.first().first().toBool(), true);
    QCOMPARE(m_receiver->box.timers().size(), timersBefore + 1);

    // The same event again overlaps: the receiver reports a conflict.
    m_engine->addTimerForEvent(&event, false);
    settle();
    QCOMPARE(added.count(), 2);
    QCOMPARE(added.last().first().toBool(), false);

    event.eventId = u"999999999"_s;
    m_engine->addTimerForEvent(&event, true);
    settle();
    QCOMPARE(added.last().first().toBool(), false);
}

void TestRequestsE2::timerDeleteReloadsTheList()
{
    boxsim::Timer timer;
    timer.serviceReference = daserste;
    timer.serviceName = u"Das Erste HD"_s;
    timer.name = u"Tatort"_s;
    timer.begin = SimulatedReceiver::startTime + 3600;
    timer.end = timer.begin + 5400;
    m_receiver->box.clearTimers();
    QVERIFY(m_receiver->box.addTimer(timer));

    QSignalSpy deleted(m_engine.get(), &RequestsE2::finishedTimerEventDelRequest);
    QSignalSpy list(m_engine.get(), &RequestsE2::finishedTimerListRequest);
    TimerEntry entry;
    entry.serviceReference = daserste;
    entry.begin = uint(timer.begin);
    entry.end = uint(timer.end);
    m_engine->deleteTimer(&entry);
    settle();

    QCOMPARE(m_receiver->targets().size(), 2);
    QCOMPARE(m_receiver->targets().at(1), u"/web/timerlist"_s);
    QCOMPARE(deleted.count(), 1);
    QCOMPARE(deleted.first().first().toBool(), true);
    QCOMPARE(list.count(), 1);
    QVERIFY(m_receiver->box.timers().isEmpty());
    QVERIFY(m_database->timers().isEmpty());

    // Deleting it once more finds nothing to delete.
    m_engine->deleteTimer(&entry);
    settle();
    QCOMPARE(deleted.last().first().toBool(), false);
}

void TestRequestsE2::messageAnswer()
{
    m_receiver->box.scriptMessageAnswers({boxsim::MessageAnswer::No, boxsim::MessageAnswer::Yes});
    QSignalSpy sent(m_engine.get(), &RequestsE2::finishedMessageSendRequest);
    QSignalSpy answered(m_engine.get(), &RequestsE2::finishedMessageAnswerRequest);
    m_engine->sendMessageE2(u"Tee?"_s, true, 10);
    settle();
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.first().first().toBool(), true);
    QCOMPARE(m_receiver->box.messages().last().text, u"Tee?"_s);

    m_engine->sendRequest(ReqMessageAnswer);
    settle();
    QCOMPARE(answered.count(), 1);
    QCOMPARE(answered.first().first().value<MessageAnswer>(), AnswerNo);
}

void TestRequestsE2::fullUnicodeAndLatin1Fallback()
{
    loadLineUp();
    QStringList names;
    for (const Bouquet* bouquet : m_database->bouquets()) {
        for (const Channel* channel : bouquet->channels)
            names.append(channel->name);
    }
    const QList<boxsim::Bouquet> lineUp = m_receiver->box.bouquets();
    QStringList expected;
    for (const boxsim::Bouquet& bouquet : lineUp) {
        for (const boxsim::Service& service : bouquet.services)
            expected.append(service.name);
    }
    QCOMPARE(names, expected);
    // Greek and Arabic names and umlauts come through untouched.
    QVERIFY(std::any_of(names.cbegin(), names.cend(), [](const QString& name) {
        return std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() > 0xff; });
    }));

    // An old receiver that sends Latin-1 without saying so, in the middle of UTF-8 text: the
    // UTF-8 stays whole.
    QTemporaryDir replay;
    QDir(replay.path()).mkpath(u"web"_s);
    QFile file(replay.path() + u"/web/getallservices.xml"_s);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "<?xml version=\"1.0\"?><e2servicelistrecursive><e2bouquet><e2servicereference>1:7:x"
        "</e2servicereference><e2servicename>M\xfcnchen \xce\x95\xce\xbb\xce\xbb\xce\xac\xce\xb4\xce\xb1"
        "</e2servicename><e2servicelist/></e2bouquet></e2servicelistrecursive>");
    file.close();
    QVERIFY(m_receiver->box.setReplayDirectory(replay.path()));
    m_engine->sendRequest(ReqServices);
    QTRY_COMPARE(m_database->bouquets().size(), 1);
    QCOMPARE(m_database->bouquets().first()->name, u"München Ελλάδα"_s);
    m_receiver->box.setReplayDirectory(QString());
    settle();
}

void TestRequestsE2::receivedBytesAreCounted()
{
    m_engine->sendRequest(ReqTimerList);
    settle();
    QVERIFY(m_database->receivedBytes() > 100);
    const qint64 after = m_database->receivedBytes();
    m_engine->sendRequest(ReqTimerList);
    settle();
    QCOMPARE(m_database->receivedBytes(), 2 * after);
}

void TestRequestsE2::authentication_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("right credentials") << u"geheim"_s << true;
    QTest::newRow("wrong password") << u"falsch"_s << false;
    QTest::newRow("no password") << QString() << false;
}

void TestRequestsE2::authentication()
{
    QFETCH(QString, password);
    QFETCH(bool, accepted);

    m_receiver->box.setCredentials(u"root"_s, u"geheim"_s);
    m_receiver->saveProfile(u"root"_s, password);
    QSignalSpy failed(m_engine.get(), &TavrelRequest::requestFailed);
    QSignalSpy errorCode(m_engine.get(),
                         qOverload<QNetworkReply::NetworkError>(&TavrelRequest::networkErrorOccurred));
    QSignalSpy about(m_engine.get(), &RequestsE2::finishedAboutRequest);
    m_engine->sendRequest(ReqAbout);
    settle();

    if (accepted) {
        QCOMPARE(about.count(), 1);
        QCOMPARE(failed.count(), 0);
        QCOMPARE(m_receiver->box.requests().last().user, u"root"_s);
    } else {
        // The about request and its follow-up, the signal, are each refused once, not asked
        // again and again.
        QCOMPARE(about.count(), 0);
        QCOMPARE(failed.count(), 2);
        QCOMPARE(failed.first().at(0).value<RequestType>(), ReqAbout);
        QCOMPARE(failed.first().at(1).value<QNetworkReply::NetworkError>(),
                 QNetworkReply::AuthenticationRequiredError);
        QCOMPARE(errorCode.count(), 2);
        // Refused at once: the credentials went with the first try.
        QCOMPARE(m_receiver->box.requests().size(), 2);
        QVERIFY(m_database->aboutInfo() == nullptr);
    }
}

void TestRequestsE2::credentialsAreReadAtChallengeTime()
{
    m_receiver->box.setCredentials(u"root"_s, u"neu"_s);
    m_receiver->saveProfile(u"root"_s, u"alt"_s);
    RequestsE2 engine(m_database.get());
    QCOMPARE(engine.profile().password, u"alt"_s);
    // The user corrects the password after the engine was built.
    m_receiver->saveProfile(u"root"_s, u"neu"_s);
    QSignalSpy about(&engine, &RequestsE2::finishedAboutRequest);
    engine.sendRequest(ReqAbout);
    QTRY_VERIFY(engine.isSettled());
    QCOMPARE(about.count(), 1);
}

void TestRequestsE2::failuresKeepStoredData_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("server error") << int(FaultKind::Http500);
    QTest::newRow("not found") << int(FaultKind::Http404);
    QTest::newRow("cut off") << int(FaultKind::CutBody);
    QTest::newRow("malformed") << int(FaultKind::MalformedBody);
}

void TestRequestsE2::failuresKeepStoredData()
{
    QFETCH(int, kind);

    loadLineUp();
    m_engine->sendRequest(ReqTimerList);
    m_engine->sendRequest(ReqMovieList);
    settle();
    const int timers = int(m_database->timers().size());
    const int movies = int(m_database->movies().size());
    QVERIFY(timers > 0);
    QVERIFY(movies > 0);

    m_receiver->box.setFault({FaultKind(kind)});
    QSignalSpy timerList(m_engine.get(), &RequestsE2::finishedTimerListRequest);
    QSignalSpy movieList(m_engine.get(), &RequestsE2::finishedMovieListRequest);
    QSignalSpy services(m_engine.get(), &RequestsE2::finishedServiceDataRequest);
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    m_engine->sendRequest(ReqTimerList);
    m_engine->sendRequest(ReqMovieList);
    m_engine->sendRequest(ReqServices);
    settle();

    QCOMPARE(int(m_database->timers().size()), timers);
    QCOMPARE(int(m_database->movies().size()), movies);
    QCOMPARE(m_database->bouquets().size(), m_receiver->box.bouquets().size());
    QCOMPARE(timerList.count(), 1);
    QCOMPARE(movieList.count(), 0);
    QCOMPARE(services.count(), 0);
    // Every busy indication that was switched on is switched off again.
    QCOMPARE(active.count(QVariantList{true}), active.count(QVariantList{false}));
}

void TestRequestsE2::failedMessageIsNoSuccess()
{
    m_receiver->box.setPathFault(u"/web/message"_s, {FaultKind::Http500});
    QSignalSpy sent(m_engine.get(), &RequestsE2::finishedMessageSendRequest);
    m_engine->sendMessageE2(u"Hallo"_s, false, 5);
    settle();
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.first().first().toBool(), false);
}

void TestRequestsE2::failedPowerStateChangesNothing()
{
    m_database->setStandby(true);
    m_receiver->box.setPathFault(u"/web/powerstate"_s, {FaultKind::Http500});
    QSignalSpy power(m_engine.get(), &RequestsE2::finishedPowerstateRequest);
    m_engine->sendRequest(ReqStatus);
    settle();
    QCOMPARE(power.count(), 0);
    QVERIFY(m_database->statusData()->standby);
    // The follow-ups still go out; no delayed current-service request was scheduled.
    QCOMPARE(m_receiver->requestsTo("/web/getcurrent").size(), 1);
}

void TestRequestsE2::hangingReceiverTimesOut()
{
    m_receiver->box.setPathFault(u"/web/about"_s, {FaultKind::Hang});
    m_engine->setTransferTimeouts(300, 600);
    QSignalSpy failed(m_engine.get(), &TavrelRequest::requestFailed);
    QSignalSpy errorFlag(m_engine.get(), qOverload<bool>(&TavrelRequest::networkErrorOccurred));
    m_engine->sendRequest(ReqAbout);
    settle(5000);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).value<RequestType>(), ReqAbout);
    QCOMPARE(failed.first().at(1).value<QNetworkReply::NetworkError>(),
             QNetworkReply::OperationCanceledError);
    QVERIFY(errorFlag.count() >= 1);
    QVERIFY(!m_database->aboutInfo());
}

void TestRequestsE2::refusedConnection()
{
    loadLineUp();
    const int bouquets = int(m_database->bouquets().size());
    m_receiver->box.close();
    QSignalSpy failed(m_engine.get(), &TavrelRequest::requestFailed);
    QSignalSpy errorCode(m_engine.get(),
                         qOverload<QNetworkReply::NetworkError>(&TavrelRequest::networkErrorOccurred));
    m_engine->sendRequest(ReqServices);
    settle();
    QCOMPARE(failed.count(), 1);
    QCOMPARE(errorCode.count(), 1);
    QCOMPARE(errorCode.first().first().value<QNetworkReply::NetworkError>(),
             QNetworkReply::ConnectionRefusedError);
    QCOMPARE(int(m_database->bouquets().size()), bouquets);
}

void TestRequestsE2::profileChangeRebuildsUrls()
{
    Profile other;
    other.profileName = u"Other"_s;
    other.wlanAddr = u"192.0.2.7"_s;
    other.wlanPort = u"8080"_s;
    m_engine->constructRequestUrls(other);
    QCOMPARE(m_engine->urlForRequest(ReqStatus), QUrl(u"http://192.0.2.7:8080/web/powerstate"_s));
    QCOMPARE(m_engine->requestTypeForUrl(QUrl(u"http://192.0.2.7:8080/web/vol?set=mute"_s)), ReqMute);
    QCOMPARE(m_engine->requestTypeForUrl(QUrl(u"http://127.0.0.1:1/web/vol?set=mute"_s)), ReqNone);
    QCOMPARE(m_engine->urlForRequest(ReqStop), QUrl());
}

QTEST_GUILESS_MAIN(TestRequestsE2)
#include "tst_requestse2.moc"
