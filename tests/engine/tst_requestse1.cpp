#include "box/requestse1.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tests/common/simulatedreceiver.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using boxsim::FaultKind;

namespace {

const QString daserste = QStringLiteral("1:0:1:283d:3fb:1:c00000:0:0:0:");
const QString zdf = QStringLiteral("1:0:1:2b66:3f3:1:c00000:0:0:0:");

} // namespace

class TestRequestsE1 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fixedUrls_data();
    void fixedUrls();
    void commandsAreFollowedByTheirPage_data();
    void commandsAreFollowedByTheirPage();
    void referencesSurviveTheReceiversDoubleDecoding_data();
    void referencesSurviveTheReceiversDoubleDecoding();
    void messages_data();
    void messages();
    void zapRefreshesStatusThenEpg();
    void secondZapRestartsTheWait();
    void unreadableEpgIsRetriedOnce();
    void lineUpAndBouquetEpg();
    void timerList();
    void timerCommands();
    void satelliteFinder();
    void statusNeedsCredentials();
    void busyIndicationIsBalanced();
    void overlappingRequestsAreAllHandled_data();
    void overlappingRequestsAreAllHandled();
    void operationsOfTheOtherInterfaceSendNothing();

private:
    void settle(int timeoutMs = 10000);

    std::unique_ptr<SimulatedReceiver> m_receiver;
    std::unique_ptr<TavrelDatabase> m_database;
    std::unique_ptr<RequestsE1> m_engine;
};

void TestRequestsE1::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    m_receiver = std::make_unique<SimulatedReceiver>(boxsim::Personality::Enigma1);
    QVERIFY(m_receiver->port != 0);
    m_database = std::make_unique<TavrelDatabase>(m_receiver->clock);
    m_engine = std::make_unique<RequestsE1>(m_database.get());
}

void TestRequestsE1::cleanup()
{
    m_engine.reset();
    m_database.reset();
    m_receiver.reset();
}

void TestRequestsE1::settle(int timeoutMs)
{
    QTRY_VERIFY_WITH_TIMEOUT(m_engine->isSettled(), timeoutMs);
}

void TestRequestsE1::fixedUrls_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("target");

    QTest::newRow("forward") << int(ReqForward) << QByteArray("/cgi-bin/videocontrol?command=forward");
    QTest::newRow("rewind") << int(ReqRewind) << QByteArray("/cgi-bin/videocontrol?command=rewind");
    QTest::newRow("play") << int(ReqPlay) << QByteArray("/cgi-bin/videocontrol?command=play");
    QTest::newRow("record") << int(ReqRecord) << QByteArray("/cgi-bin/videocontrol?command=record");
    QTest::newRow("pause") << int(ReqPause) << QByteArray("/cgi-bin/videocontrol?command=pause");
    QTest::newRow("stop") << int(ReqStop) << QByteArray("/cgi-bin/videocontrol?command=stop");
    QTest::newRow("key ok") << int(ReqKeyOk) << QByteArray("/cgi-bin/rc?352");
    QTest::newRow("key exit") << int(ReqKeyExit) << QByteArray("/cgi-bin/rc?1");
    QTest::newRow("volume up") << int(ReqVolumeUp) << QByteArray("/cgi-bin/rc?115");
    QTest::newRow("mute") << int(ReqMute) << QByteArray("/cgi-bin/rc?113");
    QTest::newRow("volume down") << int(ReqVolumeDown) << QByteArray("/cgi-bin/rc?114");
    QTest::newRow("status") << int(ReqStatus) << QByteArray("/cgi-bin/status");
    QTest::newRow("about") << int(ReqAbout) << QByteArray("/body?mode=help");
    QTest::newRow("data") << int(ReqData) << QByteArray("/data");
    QTest::newRow("services") << int(ReqServices)
                              << QByteArray(
                                     "/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true");
    QTest::newRow("current epg") << int(ReqEpg) << QByteArray("/cgi-bin/getcurrentepg");
    QTest::newRow("satellite finder") << int(ReqSatfinderConfig) << QByteArray("/body?mode=controlSatFinder");
    QTest::newRow("movie list") << int(ReqMovieList) << QByteArray("/body?mode=zap&zapmode=3&zapsubmode=1");
    QTest::newRow("timer list") << int(ReqTimerList) << QByteArray("/xml/timers");
    QTest::newRow("timer cleanup") << int(ReqTimerCleanup) << QByteArray("/cleanupTimerList");
    QTest::newRow("wake up") << int(ReqWakeup) << QByteArray("/cgi-bin/admin?command=wakeup");
    QTest::newRow("standby") << int(ReqStandby) << QByteArray("/cgi-bin/admin?command=standby");
}

void TestRequestsE1::fixedUrls()
{
    QFETCH(int, type);
    QFETCH(QByteArray, target);

    m_engine->sendRequest(RequestType(type));
    settle();
    QVERIFY(!m_receiver->box.requestTargets().isEmpty());
    QCOMPARE(m_receiver->box.requestTargets().first(), target);
}

void TestRequestsE1::commandsAreFollowedByTheirPage_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("followUp");

    QTest::newRow("play, then data") << int(ReqPlay) << QByteArray("/data");
    QTest::newRow("stop, then data") << int(ReqStop) << QByteArray("/data");
    QTest::newRow("volume up, then data") << int(ReqVolumeUp) << QByteArray("/data");
    QTest::newRow("mute, then data") << int(ReqMute) << QByteArray("/data");
    QTest::newRow("status, then data") << int(ReqStatus) << QByteArray("/data");
    QTest::newRow("standby, then status") << int(ReqStandby) << QByteArray("/cgi-bin/status");
    QTest::newRow("cleanup, then timers") << int(ReqTimerCleanup) << QByteArray("/xml/timers");
    QTest::newRow("key ok alone") << int(ReqKeyOk) << QByteArray();
}

void TestRequestsE1::commandsAreFollowedByTheirPage()
{
    QFETCH(int, type);
    QFETCH(QByteArray, followUp);

    m_engine->sendRequest(RequestType(type));
    settle();
    const QList<QByteArray> targets = m_receiver->box.requestTargets();
    QCOMPARE(targets.value(1), followUp);
    // The status page brings the data page, which brings nothing.
    QVERIFY(targets.size() <= 3);
}

void TestRequestsE1::referencesSurviveTheReceiversDoubleDecoding_data()
{
    QTest::addColumn<QString>("reference");
    QTest::addColumn<bool>("keptAsPrinted");

    // The page prints references escaped; they are read back as the receiver knows them,
    // unless that form holds a "%" of its own, which only the printed form can carry.
    QTest::newRow("slashes, spaces, umlauts and ampersand")
        << QStringLiteral("1:0:1:283d:3fb:1:c00000:0:0:0:/hdd/movie/Schöne Grüße & Co #1.ts") << false;
    QTest::newRow("percent sign") << QStringLiteral("1:0:1:283d:3fb:1:c00000:0:0:0:/hdd/movie/100% Spaß.ts")
                                  << true;
}

void TestRequestsE1::referencesSurviveTheReceiversDoubleDecoding()
{
    QFETCH(QString, reference);
    QFETCH(bool, keptAsPrinted);

    boxsim::Movie movie;
    movie.reference = reference;
    movie.title = QStringLiteral("Film");
    movie.fileSize = 4'000'000'000;
    m_receiver->box.setMovies({movie});

    m_engine->sendRequest(ReqMovieList);
    settle();
    QCOMPARE(m_database->movies().size(), 1);
    const QString stored = m_database->movieAt(0)->serviceReference;
    QCOMPARE(stored == reference, !keptAsPrinted);
    QCOMPARE(stored.contains(QLatin1String("%2fhdd%2fmovie%2f")), keptAsPrinted);

    QSignalSpy movies(m_engine.get(), &RequestsE1::finishedMovieListRequest);
    m_engine->renameMovie(stored, QStringLiteral("Neu & besser + 1"));
    settle();
    QCOMPARE(m_receiver->box.movies().first().title, QStringLiteral("Neu & besser + 1"));
    QCOMPARE(movies.count(), 1); // the list comes again after a rename

    m_engine->playMovie(stored);
    settle();
    QCOMPARE(m_receiver->box.playingMovie(), reference);

    m_engine->deleteMovie(stored);
    settle();
    QVERIFY(m_receiver->box.movies().isEmpty());
    QVERIFY(m_database->movies().isEmpty());
}

void TestRequestsE1::messages_data()
{
    QTest::addColumn<bool>("untilConfirmed");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("confirmations");

    QTest::newRow("until confirmed")
        << true << int(FaultKind::None)
        << QByteArray("/cgi-bin/xmessage?caption=Hi&timeout=-1&body=Tom%20%26%20Jerry%20%2B%20%23") << 1;
    QTest::newRow("with time-out")
        << false << int(FaultKind::None)
        << QByteArray("/cgi-bin/xmessage?caption=Hi&timeout=10&body=Tom%20%26%20Jerry%20%2B%20%23") << 1;
    QTest::newRow("server error") << false << int(FaultKind::Http500) << QByteArray() << 0;
    QTest::newRow("unexpected answer") << false << int(FaultKind::MalformedBody) << QByteArray() << 0;
}

void TestRequestsE1::messages()
{
    QFETCH(bool, untilConfirmed);
    QFETCH(int, fault);
    QFETCH(QByteArray, target);
    QFETCH(int, confirmations);

    if (fault != int(FaultKind::None)) {
        m_receiver->box.setPathFault(QStringLiteral("/cgi-bin/xmessage"), {FaultKind(fault)});
    }
    QSignalSpy sent(m_engine.get(), &RequestsE1::finishedMessageSendRequest);
    m_engine->sendMessageE1(QStringLiteral("Hi"), QStringLiteral("Tom & Jerry + #"), untilConfirmed, 10);
    settle();
    QCOMPARE(sent.count(QVariantList{true}), confirmations);
    // Every message gets its outcome, the failed ones too.
    QCOMPARE(sent.count(), 1);
    if (!target.isEmpty()) {
        QCOMPARE(m_receiver->box.requestTargets().first(), target);
        QCOMPARE(m_receiver->box.messages().last().text, QStringLiteral("Tom & Jerry + #"));
    }
}

void TestRequestsE1::zapRefreshesStatusThenEpg()
{
    QSignalSpy epg(m_engine.get(), &RequestsE1::finishedEpgDataRequest);
    m_engine->zapToService(zdf);
    settle();
    QCOMPARE(m_receiver->box.currentServiceReference(), zdf);
    const auto zap = m_receiver->requestsTo("/cgi-bin/zapTo").first();
    const auto status = m_receiver->requestsTo("/cgi-bin/status");
    const auto page = m_receiver->requestsTo("/cgi-bin/getcurrentepg");
    QCOMPARE(zap.queryValue(QStringLiteral("path")), zdf);
    QCOMPARE(status.size(), 1);
    QCOMPARE(page.size(), 1);
    QVERIFY(SimulatedReceiver::msBetween(zap, status.first()) < 500);
    QVERIFY(SimulatedReceiver::msBetween(zap, page.first()) >= 990);
    QCOMPARE(epg.count(), 1);
}

void TestRequestsE1::secondZapRestartsTheWait()
{
    m_engine->zapToService(zdf);
    QTRY_COMPARE(m_receiver->requestsTo("/cgi-bin/status").size(), 1);
    QTest::qWait(500);
    m_engine->zapToService(daserste);
    settle();
    const auto zaps = m_receiver->requestsTo("/cgi-bin/zapTo");
    const auto pages = m_receiver->requestsTo("/cgi-bin/getcurrentepg");
    QCOMPARE(zaps.size(), 2);
    QCOMPARE(pages.size(), 1);
    QVERIFY(SimulatedReceiver::msBetween(zaps.at(1), pages.first()) >= 990);
}

void TestRequestsE1::unreadableEpgIsRetriedOnce()
{
    m_receiver->box.setPathFault(QStringLiteral("/cgi-bin/getcurrentepg"), {FaultKind::Http404});
    QSignalSpy epg(m_engine.get(), &RequestsE1::finishedEpgDataRequest);
    m_engine->requestServiceEpg(QString(), QStringLiteral("4097:7:0:33fc5"));
    settle();
    QCOMPARE(m_receiver->requestsTo("/cgi-bin/getcurrentepg").size(), 2);
    QCOMPARE(epg.count(), 2);
}

void TestRequestsE1::lineUpAndBouquetEpg()
{
    QSignalSpy services(m_engine.get(), &RequestsE1::finishedServiceDataRequest);
    m_engine->sendRequest(ReqServices);
    settle();
    QCOMPARE(services.count(), 1);
    const QList<boxsim::Bouquet> lineUp = m_receiver->box.bouquets();
    QVERIFY(!m_database->bouquets().isEmpty());
    QCOMPARE(m_database->bouquets().first()->name, lineUp.first().name);
    const QString bouquetRef = m_database->bouquets().first()->reference;

    QSignalSpy multi(m_engine.get(), &RequestsE1::finishedMultiEpgDataRequest);
    m_engine->requestBouquetEpg(bouquetRef);
    settle();
    QCOMPARE(multi.count(), 1);
    QCOMPARE(m_receiver->requestsTo("/getMultiEPG").first().queryValue(QStringLiteral("ref")).isEmpty(),
             false);
    QVERIFY(m_database->hasEpg(0, 0));
    const boxsim::Event now = *m_receiver->box.currentEvent(m_database->channel(0, 0)->serviceReference);
    QCOMPARE(m_database->epgItem(0, 0, 0)->title, now.title);
}

void TestRequestsE1::timerList()
{
    QSignalSpy list(m_engine.get(), &RequestsE1::finishedTimerListRequest);
    m_engine->sendRequest(ReqTimerList);
    settle();
    const qsizetype stored = m_database->timers().size();
    QCOMPARE(stored, m_receiver->box.timers().size());
    QVERIFY(stored > 0);

    // An unreadable list keeps what was shown.
    m_receiver->box.setPathFault(QStringLiteral("/xml/timers"), {.kind = FaultKind::CutBody, .times = 1});
    m_engine->sendRequest(ReqTimerList);
    settle();
    QCOMPARE(m_database->timers().size(), stored);

    // A receiver without timers answers an empty list, which is a list.
    m_receiver->box.clearTimers();
    m_engine->sendRequest(ReqTimerList);
    settle();
    QVERIFY(m_database->timers().isEmpty());
    QCOMPARE(list.count(), 3);
}

void TestRequestsE1::timerCommands()
{
    m_engine->sendRequest(ReqServices);
    settle();
    const std::optional<boxsim::Event> next = m_receiver->box.nextEvent(zdf);
    QVERIFY(next.has_value());
    EpgItem event;
    event.start = uint(next->start);
    event.duration = next->duration;
    event.title = QStringLiteral("Krimi & Co");

    m_receiver->box.clearTimers();
    QSignalSpy added(m_engine.get(), &RequestsE1::finishedTimerEventAddRequest);
    m_engine->addTimer(zdf, QStringLiteral("ZDF"), &event);
    settle();
    QCOMPARE(added.count(), 1);
    QCOMPARE(added.first().first().toBool(), true);
    QCOMPARE(m_receiver->box.timers().size(), 1);
    QCOMPARE(m_receiver->box.timers().first().serviceReference, zdf);
    QVERIFY(m_receiver->requestsTo("/cgi-bin/status").size() >= 1);

    m_engine->sendRequest(ReqTimerList);
    settle();
    QCOMPARE(m_database->timers().size(), 1);
    QSignalSpy deleted(m_engine.get(), &RequestsE1::finishedTimerEventDelRequest);
    m_engine->deleteTimer(m_database->timerAt(0));
    settle();
    QCOMPARE(deleted.count(), 1);
    QCOMPARE(deleted.first().first().toBool(), true);
    QVERIFY(m_receiver->box.timers().isEmpty());
}

void TestRequestsE1::satelliteFinder()
{
    QSignalSpy config(m_engine.get(), &RequestsE1::finishedSatfinderConfigRequest);
    m_engine->requestSatfinderConfig();
    settle();
    QCOMPARE(config.count(), 1);
    QCOMPARE(config.first().first().value<SatfinderConfig*>(), m_database->satfinderConfig());
    const SatfinderConfig& stored = *m_database->satfinderConfig();
    QVERIFY(!stored.satellites.isEmpty());
    QCOMPARE(stored.channelRefs.size(), stored.satellites.size());

    QSignalSpy data(m_engine.get(), &RequestsE1::finishedSatfinderDataRequest);
    const QString parameters = stored.channelRefs.first().first();
    m_engine->requestSatfinderData(parameters);
    settle();
    QCOMPARE(data.count(), 1);
    QCOMPARE(QString::fromLatin1(m_receiver->box.requestTargets().last()),
             QStringLiteral("/satFinder?") + parameters);
    const SatfinderData* measured = data.first().first().value<SatfinderData*>();
    QVERIFY(measured->snr > 0);
}

void TestRequestsE1::statusNeedsCredentials()
{
    m_receiver->saveProfile();
    QSignalSpy failed(m_engine.get(), &TavrelRequest::requestFailed);
    QSignalSpy status(m_engine.get(), &RequestsE1::finishedStatusRequest);
    m_engine->sendRequest(ReqStatus);
    settle();
    QCOMPARE(status.count(), 0);
    QCOMPARE(failed.first().at(0).value<RequestType>(), ReqStatus);
    QVERIFY(!m_database->statusInfoE1());

    m_receiver->saveProfile(QStringLiteral("root"), QStringLiteral("root"));
    m_engine->sendRequest(ReqStatus);
    settle();
    QCOMPARE(status.count(), 1);
    QCOMPARE(m_database->statusData()->serviceReference, m_receiver->box.currentServiceReference());
}

void TestRequestsE1::busyIndicationIsBalanced()
{
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    m_engine->sendRequest(ReqServices);
    m_engine->sendRequest(ReqMovieList);
    m_engine->sendRequest(ReqTimerList);
    m_engine->requestServiceEpg(QString(), QStringLiteral("4097:7:0:33fc5"));
    settle();
    m_engine->requestBouquetEpg(m_database->bouquets().first()->reference);
    settle();
    QCOMPARE(active.count(QVariantList{true}), 5);
    QCOMPARE(active.count(QVariantList{false}), 5);
}

void TestRequestsE1::overlappingRequestsAreAllHandled_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("delayedPath");
    QTest::addColumn<QByteArray>("signal");

    // The first answer comes last; by then a second request of its type has been sent.
    QTest::newRow("bouquet EPG") << int(ReqMultiEpg) << QStringLiteral("/getMultiEPG")
                                 << QByteArray(SIGNAL(finishedMultiEpgDataRequest()));
    QTest::newRow("service EPG") << int(ReqEpg) << QStringLiteral("/cgi-bin/getcurrentepg")
                                 << QByteArray(SIGNAL(finishedEpgDataRequest()));
    QTest::newRow("status") << int(ReqStatus) << QStringLiteral("/cgi-bin/status")
                            << QByteArray(SIGNAL(finishedStatusRequest()));
    QTest::newRow("timer list") << int(ReqTimerList) << QStringLiteral("/xml/timers")
                                << QByteArray(SIGNAL(finishedTimerListRequest()));
    QTest::newRow("movie list") << int(ReqMovieList) << QStringLiteral("/body")
                                << QByteArray(SIGNAL(finishedMovieListRequest()));
}

void TestRequestsE1::overlappingRequestsAreAllHandled()
{
    QFETCH(int, type);
    QFETCH(QString, delayedPath);
    QFETCH(QByteArray, signal);

    m_engine->sendRequest(ReqServices);
    settle();
    const QString first = m_database->bouquet(0)->reference;
    const QString second = m_database->bouquet(1)->reference;
    m_receiver->box.setPathFault(delayedPath, {.latencyMs = 300, .times = 1});
    QSignalSpy finished(m_engine.get(), signal.constData());
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    if (type == ReqMultiEpg) {
        m_engine->requestBouquetEpg(first);
        m_engine->requestBouquetEpg(second);
    } else if (type == ReqEpg) {
        m_engine->requestServiceEpg(QString(), first);
        m_engine->requestServiceEpg(QString(), second);
    } else {
        m_engine->sendRequest(RequestType(type));
        m_engine->sendRequest(RequestType(type));
    }
    settle();

    QCOMPARE(finished.count(), 2);
    QCOMPARE(active.count(QVariantList{false}), active.count(QVariantList{true}));
    if (type == ReqMultiEpg) {
        // Each answer went to its own bouquet.
        QVERIFY(m_database->hasEpg(0, 0));
        QVERIFY(m_database->hasEpg(1, 0));
        QCOMPARE(m_database->epgItem(1, 0, 0)->bouquetReference, second);
    }
}

void TestRequestsE1::operationsOfTheOtherInterfaceSendNothing()
{
    EpgItem event;
    m_engine->requestBouquetEpgNow(QStringLiteral("x"));
    m_engine->requestSimilarEpg(daserste, QStringLiteral("1"));
    m_engine->sendMessageE2(QStringLiteral("x"), true, 1);
    m_engine->addTimerForEvent(&event, false);
    m_engine->searchEpg(QStringLiteral("x"));
    for (RequestType type : {ReqVolume, ReqCurrentService, ReqCurrentTime, ReqSignal, ReqEpgNow, ReqEpgNext,
                             ReqEpgSimilar, ReqZap, ReqMessageAnswer, ReqEpgSearch})
        m_engine->sendRequest(type);
    QVERIFY(m_engine->isSettled());
    QTest::qWait(50);
    QVERIFY(m_receiver->box.requests().isEmpty());
}

QTEST_GUILESS_MAIN(TestRequestsE1)
#include "tst_requestse1.moc"
