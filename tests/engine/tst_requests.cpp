// Both engines against the simulated receiver, over real HTTP on 127.0.0.1: what each request
// sends, what the answers leave in the image, broken, refused and overlapping answers, the
// session id of receivers that guard their web interface, and answers read off the GUI thread.

#include "box/requestse1.h"
#include "box/requestse2.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tests/common/simulatedreceiver.h"

#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <thread>

using namespace Qt::StringLiterals;
using boxsim::FaultKind;
using boxsim::Personality;

Q_DECLARE_METATYPE(Personality)

namespace {

const QString favourites =
    uR"(1:7:1:0:0:0:0:0:0:0:FROM BOUQUET "userbouquet.favourites.tv" ORDER BY bouquet)"_s;
const QByteArray favouritesEncoded =
    "1:7:1:0:0:0:0:0:0:0:FROM%20BOUQUET%20%22userbouquet.favourites.tv%22%20ORDER%20BY%20bouquet";
const QString daserste = u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
const QString zdf = u"1:0:19:2B66:3F3:1:C00000:0:0:0:"_s;
// The Enigma1 receiver writes its references in lower case.
const QString dasersteE1 = u"1:0:1:283d:3fb:1:c00000:0:0:0:"_s;
const QString zdfE1 = u"1:0:1:2b66:3f3:1:c00000:0:0:0:"_s;

constexpr Personality e2 = Personality::Enigma2;
constexpr Personality e1 = Personality::Enigma1;

const char* nameOf(Personality personality)
{
    return personality == e2 ? "Enigma2" : "Enigma1";
}

// What a table row asks the engine to do.
using EngineCall = std::function<void(TavrelRequest&)>;

// An EPG event of this channel, as a timer is set for it.
std::unique_ptr<EpgItem> eventOf(const QString& service, const QString& id)
{
    auto event = std::make_unique<EpgItem>();
    event->serviceReference = service;
    event->eventId = id;
    return event;
}

// Two requests of one kind, the first answered last.
enum Overlap
{
    TwoServiceEpgs,
    TwoBouquetEpgs,
    TwoBouquetNowNext,
    TwoOfTheType,
};

// An Enigma2 engine whose readings off the GUI thread wait until the test lets them go on.
class HeldRequestsE2 : public RequestsE2
{
public:
    using RequestsE2::RequestsE2;

    void release(int readings = 1) { m_gate->release(readings); }
    std::shared_ptr<QSemaphore> gate() const { return m_gate; }
    int started() const { return m_started->available(); }

protected:
    AnswerReader answerReader(const Reply& reply) const override
    {
        AnswerReader reader = RequestsE2::answerReader(reply);
        if (!reader)
            return reader;
        QThread* gui = thread();
        return [reader, gate = m_gate, started = m_started, gui](const QString& text) {
            // Small answers are read in the dispatch, at once.
            if (QThread::currentThread() != gui) {
                started->release();
                gate->acquire();
            }
            return reader(text);
        };
    }

private:
    // Shared with readings that may outlive a test step.
    std::shared_ptr<QSemaphore> m_gate = std::make_shared<QSemaphore>();
    std::shared_ptr<QSemaphore> m_started = std::make_shared<QSemaphore>();
};

} // namespace

Q_DECLARE_METATYPE(EngineCall)

class TestRequests : public QObject
{
    Q_OBJECT

    // A fresh receiver, image and engine of this web interface; Enigma2 unless a test says.
    void open(Personality personality)
    {
        cleanup();
        m_receiver = std::make_unique<SimulatedReceiver>(personality);
        QVERIFY(m_receiver->port != 0);
        m_database = std::make_unique<TavrelDatabase>(m_receiver->clock);
        if (personality == e2)
            m_engine = std::make_unique<RequestsE2>(m_database.get());
        else
            m_engine = std::make_unique<RequestsE1>(m_database.get());
        m_busy = std::make_unique<QSignalSpy>(m_engine.get(), &TavrelRequest::networkRequestIsActive);
        m_failed = std::make_unique<QSignalSpy>(m_engine.get(), &TavrelRequest::requestFailed);
    }

    RequestsE2* engineE2() const { return qobject_cast<RequestsE2*>(m_engine.get()); }
    RequestsE1* engineE1() const { return qobject_cast<RequestsE1*>(m_engine.get()); }

    // Waits until every reply was handled and no delayed request is pending.
    void settle(int timeoutMs = 10000) { QTRY_VERIFY_WITH_TIMEOUT(m_engine->isSettled(), timeoutMs); }

    void send(RequestType type)
    {
        m_engine->sendRequest(type);
        settle();
    }

    void loadLineUp()
    {
        send(ReqServices);
        m_receiver->box.clearRequests();
        m_busy->clear();
        m_failed->clear();
        QVERIFY(m_database->serviceDataLoaded());
    }

    // The value of one query item in each request to this path, in order.
    QStringList queried(const QByteArray& path, const QString& item) const
    {
        QStringList values;
        for (const boxsim::LoggedRequest& request : m_receiver->requestsTo(path))
            values.append(request.queryValue(item));
        return values;
    }

    // The first argument of each emission, in order.
    static QVariantList firsts(const QSignalSpy& spy)
    {
        QVariantList values;
        for (const QVariantList& emission : spy)
            values.append(emission.value(0));
        return values;
    }

    // The request type and network error of a failed request, as it reports them.
    static QVariantList failure(RequestType type, QNetworkReply::NetworkError error)
    {
        return {QVariant::fromValue(type), QVariant::fromValue(error)};
    }

    // The HTTP status of every request the receiver saw, in order.
    QList<int> statuses() const
    {
        QList<int> list;
        for (const boxsim::LoggedRequest& request : m_receiver->box.requests())
            list.append(request.status);
        return list;
    }

    std::unique_ptr<SimulatedReceiver> m_receiver;
    std::unique_ptr<TavrelDatabase> m_database;
    std::unique_ptr<TavrelRequest> m_engine;
    // What the engine open() made reported: busy on and off, failed requests.
    std::unique_ptr<QSignalSpy> m_busy;
    std::unique_ptr<QSignalSpy> m_failed;

private Q_SLOTS:
    void init()
    {
        // A warning from the network layer means a reply was mishandled.
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        open(e2);
    }

    void cleanup()
    {
        m_busy.reset();
        m_failed.reset();
        m_engine.reset();
        m_database.reset();
        m_receiver.reset();
    }

    void fixedUrls_data()
    {
        QTest::addColumn<int>("type");
        // Empty: the engine has no address for it (see requestWithoutUrlSendsNothing).
        QTest::addColumn<QByteArray>("enigma2");
        QTest::addColumn<QByteArray>("enigma1");

        const auto row = [](const char* name, RequestType type, const char* enigma2, const char* enigma1) {
            QTest::newRow(name) << int(type) << QByteArray(enigma2) << QByteArray(enigma1);
        };
        row("forward", ReqForward, "/web/remotecontrol?command=401", "/cgi-bin/videocontrol?command=forward");
        row("rewind", ReqRewind, "/web/remotecontrol?command=398", "/cgi-bin/videocontrol?command=rewind");
        row("play", ReqPlay, "/web/remotecontrol?command=399", "/cgi-bin/videocontrol?command=play");
        row("record", ReqRecord, "/web/recordnow?recordnow=true", "/cgi-bin/videocontrol?command=record");
        row("pause", ReqPause, "/web/remotecontrol?command=400", "/cgi-bin/videocontrol?command=pause");
        row("stop", ReqStop, "", "/cgi-bin/videocontrol?command=stop");
        row("key ok", ReqKeyOk, "/web/remotecontrol?command=352", "/cgi-bin/rc?352");
        row("key exit", ReqKeyExit, "/web/remotecontrol?command=174", "/cgi-bin/rc?1");
        row("mute", ReqMute, "/web/vol?set=mute", "/cgi-bin/rc?113");
        row("volume", ReqVolume, "/web/vol?set", "");
        row("volume up", ReqVolumeUp, "", "/cgi-bin/rc?115");
        row("volume down", ReqVolumeDown, "", "/cgi-bin/rc?114");
        row("status", ReqStatus, "/web/powerstate", "/cgi-bin/status");
        row("current service", ReqCurrentService, "/web/getcurrent", "");
        row("about", ReqAbout, "/web/about", "/body?mode=help");
        row("data", ReqData, "", "/data");
        row("current time", ReqCurrentTime, "/web/currenttime", "");
        row("services", ReqServices, "/web/getallservices",
            "/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true");
        row("current epg", ReqEpg, "", "/cgi-bin/getcurrentepg");
        row("signal", ReqSignal, "/web/signal", "");
        row("satellite finder", ReqSatfinderConfig, "", "/body?mode=controlSatFinder");
        row("movie list", ReqMovieList, "/web/movielist", "/body?mode=zap&zapmode=3&zapsubmode=1");
        row("message answer", ReqMessageAnswer, "/web/messageanswer?getanswer=True", "");
        row("timer list", ReqTimerList, "/web/timerlist", "/xml/timers");
        row("timer cleanup", ReqTimerCleanup, "/web/timercleanup?cleanup=true", "/cleanupTimerList");
        row("shutdown", ReqShutdown, "/web/powerstate?newstate=1", "");
        row("reboot", ReqReboot, "/web/powerstate?newstate=2", "");
        row("restart gui", ReqRestartGui, "/web/powerstate?newstate=3", "");
        row("wake up", ReqWakeup, "/web/powerstate?newstate=4", "/cgi-bin/admin?command=wakeup");
        row("standby", ReqStandby, "/web/powerstate?newstate=5", "/cgi-bin/admin?command=standby");
    }

    void fixedUrls()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, enigma2);
        QFETCH(QByteArray, enigma1);

        for (const auto& [personality, target] : {std::pair(e2, enigma2), std::pair(e1, enigma1)}) {
            if (target.isEmpty())
                continue;
            open(personality);
            m_receiver->noPowerDowntime();
            m_engine->sendRequest(RequestType(type));
            settle();
            QCOMPARE(m_receiver->box.requestTargets().value(0), target);
        }
    }

    void parameterisedUrls_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("decoded");
        QTest::addColumn<EngineCall>("call");

        const auto row = [](const char* name, const QByteArray& target, const QString& item,
                            const QString& decoded, const EngineCall& call) {
            QTest::newRow(name) << target << item << decoded << call;
        };
        row("bouquet epg with quotes and spaces", "/web/epgmulti?bRef=" + favouritesEncoded, u"bRef"_s,
            favourites, [](TavrelRequest& e) { e.requestBouquetEpg(favourites); });
        row("bouquet now events", "/web/epgnow?bRef=" + favouritesEncoded, u"bRef"_s, favourites,
            [](TavrelRequest& e) { e.requestBouquetEpgNow(favourites); });
        row("similar events", "/web/epgsimilar?sRef=" + daserste.toLatin1() + "&eventid=4711", u"eventid"_s,
            u"4711"_s, [](TavrelRequest& e) { e.requestSimilarEpg(daserste, u"4711"_s); });
        row("zap", "/web/zap?sRef=" + zdf.toLatin1(), u"sRef"_s, zdf,
            [](TavrelRequest& e) { e.zapToService(zdf); });
        const QString movie = u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/Schöne T&T +1.ts"_s;
        row("play movie with spaces, umlaut and ampersand",
            "/web/zap?sRef=1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/Sch%C3%B6ne%20T%26T%20%2B1.ts", u"sRef"_s,
            movie, [movie](TavrelRequest& e) { e.playMovie(movie); });
        const QString odd = u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/#100%.ts"_s;
        row("delete movie with hash and percent",
            "/web/moviedelete?sRef=1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/%23100%25.ts", u"sRef"_s, odd,
            [odd](TavrelRequest& e) { e.deleteMovie(odd); });
        const QString text = u"Tom & Jerry # 1+1=2 100% über"_s;
        row("message with every troublesome character",
            "/web/message?text=Tom%20%26%20Jerry%20%23%201%2B1%3D2%20100%25%20%C3%BCber&type=2&timeout=15",
            u"text"_s, text, [text](TavrelRequest& e) { e.sendMessageE2(text, false, 15); });
        const QByteArray timer =
            "/web/timeraddbyeventid?sRef=" + daserste.toLatin1() + "&eventid=815&justplay=";
        row("zap timer", timer + '1', u"justplay"_s, u"1"_s,
            [](TavrelRequest& e) { e.addTimerForEvent(eventOf(daserste, u"815"_s).get(), true); });
        row("record timer", timer + '0', u"eventid"_s, u"815"_s,
            [](TavrelRequest& e) { e.addTimerForEvent(eventOf(daserste, u"815"_s).get(), false); });
        row("delete timer",
            "/web/timerdelete?sRef=" + daserste.toLatin1() + "&begin=1796590000&end=1796593600", u"end"_s,
            u"1796593600"_s, [](TavrelRequest& e) {
                TimerEntry timer;
                timer.serviceReference = daserste;
                timer.begin = 1796590000;
                timer.end = 1796593600;
                e.deleteTimer(&timer);
            });
        row("set volume", "/web/vol?set=set55", u"set"_s, u"set55"_s,
            [](TavrelRequest& e) { e.setVolume(u"55"_s); });
        row("search with ampersand and umlaut", "/web/epgsearch?search=Tom%20%26%20J%C3%A4rry%2B",
            u"search"_s, u"Tom & Järry+"_s, [](TavrelRequest& e) { e.searchEpg(u"Tom & Järry+"_s); });
    }

    void parameterisedUrls()
    {
        QFETCH(QByteArray, target);
        QFETCH(QString, item);
        QFETCH(QString, decoded);
        QFETCH(EngineCall, call);

        call(*m_engine);
        settle();
        const boxsim::LoggedRequest first = m_receiver->box.requests().value(0);
        QCOMPARE(first.target(), target);
        QCOMPARE(first.queryValue(item), decoded);
    }

    void requestWithoutUrlSendsNothing_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QList<int>>("types");

        QTest::newRow("Enigma2") << e2 << QList<int>{ReqStop, ReqVideoPosition,   ReqVolumeUp,
                                                     ReqData, ReqSatfinderConfig, ReqMultiEpg};
        // The Enigma1 engine also leaves alone what only the other interface has.
        QTest::newRow("Enigma1") << e1
                                 << QList<int>{ReqVolume,        ReqCurrentService, ReqCurrentTime, ReqSignal,
                                               ReqEpgNow,        ReqEpgNext,        ReqEpgSimilar,  ReqZap,
                                               ReqMessageAnswer, ReqEpgSearch};
    }

    void requestWithoutUrlSendsNothing()
    {
        QFETCH(Personality, personality);
        QFETCH(QList<int>, types);

        open(personality);
        if (personality == e1) {
            EpgItem event;
            m_engine->requestBouquetEpgNow(u"x"_s);
            m_engine->requestSimilarEpg(dasersteE1, u"1"_s);
            m_engine->sendMessageE2(u"x"_s, true, 1);
            m_engine->addTimerForEvent(&event, false);
            m_engine->searchEpg(u"x"_s);
        }
        for (int type : std::as_const(types))
            m_engine->sendRequest(RequestType(type));
        QVERIFY(m_engine->isSettled());
        QTest::qWait(50);
        QVERIFY(m_receiver->box.requests().isEmpty());
        QCOMPARE(m_busy->count(), 0);
    }

    void startUpChain()
    {
        QSignalSpy services(engineE2(), &RequestsE2::finishedServiceDataRequest);
        QSignalSpy about(engineE2(), &RequestsE2::finishedAboutRequest);
        QSignalSpy signalInfo(engineE2(), &RequestsE2::finishedSignalRequest);
        send(ReqServices);

        QStringList targets = m_receiver->targets();
        // Requests overlap, so only causes are ordered: services before everything; status before
        // the volume; the first good current service before the about data, and that before the
        // signal. The current service comes twice: after the services and after the status.
        QCOMPARE(targets.first(), u"/web/getallservices"_s);
        QVERIFY(targets.indexOf(u"/web/vol?set"_s) > targets.indexOf(u"/web/powerstate"_s));
        QVERIFY(targets.indexOf(u"/web/about"_s) > targets.indexOf(u"/web/getcurrent"_s));
        QVERIFY(targets.indexOf(u"/web/signal"_s) > targets.indexOf(u"/web/about"_s));
        targets.sort();
        QCOMPARE(targets, (QStringList{u"/web/about"_s, u"/web/currenttime"_s, u"/web/getallservices"_s,
                                       u"/web/getcurrent"_s, u"/web/getcurrent"_s, u"/web/powerstate"_s,
                                       u"/web/signal"_s, u"/web/vol?set"_s}));

        QCOMPARE(services.count(), 1);
        QCOMPARE(about.count(), 1);
        QCOMPARE(signalInfo.count(), 1);
        QCOMPARE(signalInfo.first().first().value<const SignalInfo*>(), m_database->signalInfo());
        QCOMPARE(firsts(*m_busy), (QVariantList{true, false}));

        // The database was filled before each signal.
        QCOMPARE(m_database->bouquets().first()->reference, favourites);
        QCOMPARE(m_database->statusData()->serviceReference, m_receiver->box.currentServiceReference());
        QCOMPARE(m_database->statusData()->mode, BoxModeTv);
        QVERIFY(!m_database->statusData()->currentTime.isEmpty());
    }

    void zapWithRefresh()
    {
        loadLineUp();
        QSignalSpy epg(engineE2(), &RequestsE2::finishedEpgDataRequest);
        m_engine->zapToServiceInBouquet(zdf, favourites);
        settle();

        QCOMPARE(m_receiver->box.currentServiceReference(), zdf);
        QCOMPARE(m_receiver->targets().mid(0, 2),
                 (QStringList{u"/web/zap?sRef="_s + zdf, u"/web/powerstate"_s}));
        QCOMPARE(queried("/web/epgservice", u"sRef"_s), QStringList{zdf});
        QCOMPARE(queried("/web/epgnow", u"bRef"_s), QStringList{favourites});
        QCOMPARE(queried("/web/epgnext", u"bRef"_s), QStringList{favourites});
        // The EPG waits for the receiver to tune: 800 ms after the zap answer.
        const qint64 tuning = SimulatedReceiver::msBetween(m_receiver->requestsTo("/web/zap").first(),
                                                           m_receiver->requestsTo("/web/epgservice").first());
        QVERIFY2(tuning >= 790 && tuning < 2000, qPrintable(QString::number(tuning)));
        QVERIFY(m_receiver->requestsTo("/web/epgnext").first().sequence >
                m_receiver->requestsTo("/web/epgnow").first().sequence);
        // Service EPG, now events, next events.
        QCOMPARE(epg.count(), 3);
        QVERIFY(m_database->hasEpg(0, 1)); // ZDF's
    }

    void standbyChangeAsksForTheServiceAgain_data()
    {
        QTest::addColumn<bool>("receiverInStandby");
        QTest::addColumn<int>("currentServiceRequests");

        // The image starts awake; a receiver in standby is a change.
        QTest::newRow("standby is news") << true << 2;
        QTest::newRow("awake as known") << false << 1;
    }

    void standbyChangeAsksForTheServiceAgain()
    {
        QFETCH(bool, receiverInStandby);
        QFETCH(int, currentServiceRequests);

        m_receiver->box.setStandby(receiverInStandby);
        QSignalSpy power(engineE2(), &RequestsE2::finishedPowerstateRequest);
        send(ReqStatus);

        QCOMPARE(firsts(power), QVariantList{receiverInStandby});
        QCOMPARE(m_database->statusData()->standby, receiverInStandby);
        const auto current = m_receiver->requestsTo("/web/getcurrent");
        QCOMPARE(current.size(), currentServiceRequests);
        if (currentServiceRequests == 2)
            QVERIFY(SimulatedReceiver::msBetween(m_receiver->requestsTo("/web/powerstate").first(),
                                                 current.at(1)) >= 490);
    }

    void overlappingRequestsAreAllHandled_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<int>("overlap");
        QTest::addColumn<int>("type"); // for two of one type
        QTest::addColumn<QString>("delayedPath");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<int>("emitted");

        // The first answer comes last; by then a second request of its type has been sent.
        const auto row = [](Personality personality, const char* name, Overlap overlap, RequestType type,
                            const char* path, const char* signal, int emitted = 2) {
            QTest::addRow("%s: %s", nameOf(personality), name)
                << personality << int(overlap) << int(type) << QString::fromLatin1(path) << QByteArray(signal)
                << emitted;
        };
        const auto twoOf = [&](Personality personality, const char* name, RequestType type, const char* path,
                               const char* signal) {
            row(personality, name, TwoOfTheType, type, path, signal);
        };
        row(e2, "service EPG", TwoServiceEpgs, ReqNone, "/web/epgservice", SIGNAL(finishedEpgDataRequest()));
        row(e2, "bouquet now/next", TwoBouquetNowNext, ReqNone, "/web/epgnow",
            SIGNAL(finishedEpgDataRequest()), 4);
        twoOf(e2, "status", ReqStatus, "/web/powerstate", SIGNAL(finishedPowerstateRequest(bool)));
        twoOf(e2, "signal", ReqSignal, "/web/signal", SIGNAL(finishedSignalRequest(const SignalInfo*)));
        twoOf(e2, "timer list", ReqTimerList, "/web/timerlist", SIGNAL(finishedTimerListRequest()));
        twoOf(e2, "movie list", ReqMovieList, "/web/movielist", SIGNAL(finishedMovieListRequest()));
        row(e1, "bouquet EPG", TwoBouquetEpgs, ReqNone, "/getMultiEPG",
            SIGNAL(finishedMultiEpgDataRequest()));
        row(e1, "service EPG", TwoServiceEpgs, ReqNone, "/cgi-bin/getcurrentepg",
            SIGNAL(finishedEpgDataRequest()));
        twoOf(e1, "status", ReqStatus, "/cgi-bin/status", SIGNAL(finishedStatusRequest()));
        twoOf(e1, "timer list", ReqTimerList, "/xml/timers", SIGNAL(finishedTimerListRequest()));
        twoOf(e1, "movie list", ReqMovieList, "/body", SIGNAL(finishedMovieListRequest()));
    }

    void overlappingRequestsAreAllHandled()
    {
        QFETCH(Personality, personality);
        QFETCH(int, overlap);
        QFETCH(int, type);
        QFETCH(QString, delayedPath);
        QFETCH(QByteArray, signal);
        QFETCH(int, emitted);

        open(personality);
        loadLineUp();
        const QString first = m_database->bouquet(0)->reference;
        const QString second = m_database->bouquet(1)->reference;
        m_receiver->box.setPathFault(delayedPath, {.latencyMs = 300, .times = 1});
        QSignalSpy finished(m_engine.get(), signal.constData());
        switch (Overlap(overlap)) {
        case TwoServiceEpgs:
            // The Enigma1 page tells the channel by its bouquet.
            if (personality == e2) {
                m_engine->requestServiceEpg(daserste, favourites);
                m_engine->requestServiceEpg(zdf, favourites);
            } else {
                m_engine->requestServiceEpg(QString(), first);
                m_engine->requestServiceEpg(QString(), second);
            }
            break;
        case TwoBouquetEpgs:
            m_engine->requestBouquetEpg(first);
            m_engine->requestBouquetEpg(second);
            break;
        case TwoBouquetNowNext:
            m_engine->requestBouquetEpgNow(first);
            m_engine->requestBouquetEpgNow(second);
            break;
        case TwoOfTheType:
            m_engine->sendRequest(RequestType(type));
            m_engine->sendRequest(RequestType(type));
            break;
        }
        settle();

        QCOMPARE(finished.count(), emitted);
        QCOMPARE(m_busy->count(QVariantList{false}), m_busy->count(QVariantList{true}));
        if (overlap == TwoServiceEpgs && personality == e2) {
            // Each answer went to its own channel.
            QVERIFY(m_database->hasEpg(0, 0) && m_database->hasEpg(0, 1));
            QCOMPARE(m_database->epgItem(0, 0, 0)->serviceReference, daserste);
            QCOMPARE(m_database->epgItem(0, 1, 0)->serviceReference, zdf);
            QCOMPARE(m_busy->count(QVariantList{true}), 2);
        }
        if (overlap == TwoBouquetEpgs) {
            // Each answer went to its own bouquet.
            QVERIFY(m_database->hasEpg(0, 0) && m_database->hasEpg(1, 0));
            QCOMPARE(m_database->epgItem(1, 0, 0)->bouquetReference, second);
        }
        if (overlap == TwoBouquetNowNext) {
            // The late answer's next events are asked for its own bouquet, and land there.
            QCOMPARE(queried("/web/epgnext", u"bRef"_s), (QStringList{second, first}));
            QVERIFY(m_database->hasEpgItem(0, 0, 1) && m_database->hasEpgItem(1, 0, 1));
            QCOMPARE(m_busy->count(QVariantList{true}), 2);
        }
    }

    void lateAnswerOfAReplacedEngineIsIgnored()
    {
        loadLineUp();
        m_receiver->box.setPathFault(u"/web/epgservice"_s, {.latencyMs = 200, .times = 1});
        QSignalSpy epg(engineE2(), &RequestsE2::finishedEpgDataRequest);
        m_engine->requestServiceEpg(daserste, favourites);
        // As the controller retires an engine: the new one works with the same database at once.
        auto retired = std::move(m_engine);
        retired->abandon();
        m_engine = std::make_unique<RequestsE2>(m_database.get());
        QSignalSpy fresh(engineE2(), &RequestsE2::finishedEpgDataRequest);
        m_engine->requestServiceEpg(zdf, favourites);
        settle();
        QTRY_COMPARE(m_receiver->requestsTo("/web/epgservice").size(), 2);
        QTest::qWait(400);

        QCOMPARE(epg.count(), 0);
        QCOMPARE(m_busy->count(QVariantList{false}), 0);
        QCOMPARE(fresh.count(), 1);
        QVERIFY(!m_database->hasEpg(0, 0) && m_database->hasEpg(0, 1));
    }

    void currentServiceRetries()
    {
        m_receiver->box.setPathFault(u"/web/getcurrent"_s, {FaultKind::MalformedBody});
        QSignalSpy unreadable(m_engine.get(), &TavrelRequest::replyUnreadable);
        send(ReqCurrentService);
        // One request and three retries in the engine's life.
        QCOMPARE(m_receiver->requestsTo("/web/getcurrent").size(), 4);
        QCOMPARE(unreadable.count(), 4);

        m_receiver->box.clearRequests();
        send(ReqCurrentService);
        QCOMPARE(m_receiver->requestsTo("/web/getcurrent").size(), 1);
        QVERIFY(!m_database->currentService());
    }

    void timerCommandOutcomes()
    {
        loadLineUp();
        const auto event = eventOf(daserste, QString::number(m_receiver->box.nextEvent(daserste).value().id));

        const qsizetype timersBefore = m_receiver->box.timers().size();
        QSignalSpy added(engineE2(), &RequestsE2::finishedTimerEventAddRequest);
        m_engine->addTimerForEvent(event.get(), false);
        settle();
        // The receiver says "Timer '...' added" without the word "successfully".
        QCOMPARE(firsts(added), QVariantList{true});
        QCOMPARE(m_receiver->box.timers().size(), timersBefore + 1);

        // The same event again overlaps: the receiver reports a conflict.
        m_engine->addTimerForEvent(event.get(), false);
        settle();
        QCOMPARE(firsts(added), (QVariantList{true, false}));

        event->eventId = u"999999999"_s;
        m_engine->addTimerForEvent(event.get(), true);
        settle();
        QCOMPARE(firsts(added), (QVariantList{true, false, false}));
    }

    void timerDeleteReloadsTheList()
    {
        // The receiver's first timer, alone.
        const boxsim::Timer timer = m_receiver->box.timers().first();
        m_receiver->box.clearTimers();
        QVERIFY(m_receiver->box.addTimer(timer));

        QSignalSpy deleted(engineE2(), &RequestsE2::finishedTimerEventDelRequest);
        QSignalSpy list(engineE2(), &RequestsE2::finishedTimerListRequest);
        TimerEntry entry;
        entry.serviceReference = timer.serviceReference;
        entry.begin = uint(timer.begin);
        entry.end = uint(timer.end);
        m_engine->deleteTimer(&entry);
        settle();

        QCOMPARE(m_receiver->targets().mid(1), QStringList{u"/web/timerlist"_s});
        QCOMPARE(firsts(deleted), QVariantList{true});
        QCOMPARE(list.count(), 1);
        QVERIFY(m_receiver->box.timers().isEmpty());
        QVERIFY(m_database->timers().isEmpty());

        // Deleting it once more finds nothing to delete.
        m_engine->deleteTimer(&entry);
        settle();
        QCOMPARE(firsts(deleted), (QVariantList{true, false}));
    }

    void messages_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<bool>("untilConfirmed"); // a question on Enigma2
        QTest::addColumn<int>("fault");
        QTest::addColumn<QByteArray>("target"); // empty: the message fails

        const auto row = [](const char* name, Personality personality, bool untilConfirmed, FaultKind fault,
                            const QByteArray& target = {}) {
            QTest::newRow(name) << personality << untilConfirmed << int(fault) << target;
        };
        const auto none = FaultKind::None;
        row("Enigma1: until confirmed", e1, true, none,
            "/cgi-bin/xmessage?caption=Hi&timeout=-1&body=Tom%20%26%20Jerry%20%2B%20%23");
        row("Enigma1: with time-out", e1, false, none,
            "/cgi-bin/xmessage?caption=Hi&timeout=10&body=Tom%20%26%20Jerry%20%2B%20%23");
        row("Enigma1: server error", e1, false, FaultKind::Http500);
        row("Enigma1: unexpected answer", e1, false, FaultKind::MalformedBody);
        row("Enigma2: question", e2, true, none,
            "/web/message?text=Tom%20%26%20Jerry%20%2B%20%23&type=0&timeout=10");
        row("Enigma2: server error", e2, false, FaultKind::Http500);
    }

    void messages()
    {
        QFETCH(Personality, personality);
        QFETCH(bool, untilConfirmed);
        QFETCH(int, fault);
        QFETCH(QByteArray, target);

        open(personality);
        if (fault != int(FaultKind::None))
            m_receiver->box.setPathFault(personality == e2 ? u"/web/message"_s : u"/cgi-bin/xmessage"_s,
                                         {FaultKind(fault)});
        QSignalSpy sent(m_engine.get(), SIGNAL(finishedMessageSendRequest(bool)));
        if (personality == e2)
            m_engine->sendMessageE2(u"Tom & Jerry + #"_s, untilConfirmed, 10);
        else
            m_engine->sendMessageE1(u"Hi"_s, u"Tom & Jerry + #"_s, untilConfirmed, 10);
        settle();
        // Every message gets its outcome, the failed ones too.
        QCOMPARE(firsts(sent), QVariantList{!target.isEmpty()});
        if (!target.isEmpty()) {
            QCOMPARE(m_receiver->box.requestTargets().first(), target);
            QCOMPARE(m_receiver->box.messages().last().text, u"Tom & Jerry + #"_s);
        }
    }

    void fullUnicodeAndLatin1Fallback()
    {
        loadLineUp();
        QStringList names;
        for (const Bouquet* bouquet : m_database->bouquets())
            for (const Channel* channel : bouquet->channels)
                names.append(channel->name);
        QStringList expected;
        for (const boxsim::Bouquet& bouquet : m_receiver->box.bouquets())
            for (const boxsim::Service& service : bouquet.services)
                expected.append(service.name);
        // Greek and Arabic names and umlauts come through untouched.
        QCOMPARE(names, expected);

        // An old receiver that sends Latin-1 without saying so, in the middle of UTF-8 text: the
        // UTF-8 stays whole.
        QTemporaryDir replay;
        QDir(replay.path()).mkpath(u"web"_s);
        QFile file(replay.path() + u"/web/getallservices.xml"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\"?><e2servicelistrecursive><e2bouquet><e2servicereference>1:7:x"
                   "</e2servicereference><e2servicename>M\xfcnchen "
                   "\xce\x95\xce\xbb\xce\xbb\xce\xac\xce\xb4\xce\xb1"
                   "</e2servicename><e2servicelist/></e2bouquet></e2servicelistrecursive>");
        file.close();
        QVERIFY(m_receiver->box.setReplayDirectory(replay.path()));
        m_engine->sendRequest(ReqServices);
        QTRY_COMPARE(m_database->bouquets().size(), 1);
        QCOMPARE(m_database->bouquets().first()->name, u"München Ελλάδα"_s);
        m_receiver->box.setReplayDirectory(QString());
        settle();
    }

    void receivedBytesAreCounted()
    {
        send(ReqTimerList);
        QVERIFY(m_database->receivedBytes() > 100);
        const qint64 after = m_database->receivedBytes();
        send(ReqTimerList);
        QCOMPARE(m_database->receivedBytes(), 2 * after);
    }

    void authentication_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("right credentials") << u"geheim"_s << true;
        QTest::newRow("wrong password") << u"falsch"_s << false;
        QTest::newRow("no password") << QString() << false;
    }

    void authentication()
    {
        QFETCH(QString, password);
        QFETCH(bool, accepted);

        m_receiver->box.setCredentials(u"root"_s, u"geheim"_s);
        m_receiver->saveProfile(u"root"_s, password);
        QSignalSpy errorCode(m_engine.get(), SIGNAL(networkErrorOccurred(QNetworkReply::NetworkError)));
        QSignalSpy about(engineE2(), &RequestsE2::finishedAboutRequest);
        send(ReqAbout);

        if (accepted) {
            QCOMPARE(about.count(), 1);
            QCOMPARE(m_failed->count(), 0);
            QCOMPARE(m_receiver->box.requests().last().user, u"root"_s);
        } else {
            // The about request and its follow-up, the signal, are each refused once, not asked
            // again and again.
            QCOMPARE(about.count(), 0);
            QCOMPARE(m_failed->count(), 2);
            QCOMPARE(m_failed->first().mid(0, 2),
                     failure(ReqAbout, QNetworkReply::AuthenticationRequiredError));
            QCOMPARE(errorCode.count(), 2);
            // Refused at once: the credentials went with the first try.
            QCOMPARE(m_receiver->box.requests().size(), 2);
            QVERIFY(m_database->aboutInfo() == nullptr);
        }
    }

    void credentialsAreReadAtChallengeTime()
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

    void failuresKeepStoredData_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("server error") << int(FaultKind::Http500);
        QTest::newRow("not found") << int(FaultKind::Http404);
        QTest::newRow("cut off") << int(FaultKind::CutBody);
        QTest::newRow("malformed") << int(FaultKind::MalformedBody);
    }

    void failuresKeepStoredData()
    {
        QFETCH(int, kind);

        loadLineUp();
        m_engine->sendRequest(ReqTimerList);
        send(ReqMovieList);
        const int timers = int(m_database->timers().size());
        const int movies = int(m_database->movies().size());
        QVERIFY(timers > 0 && movies > 0);

        m_busy->clear();
        m_receiver->box.setFault({FaultKind(kind)});
        QSignalSpy timerList(engineE2(), &RequestsE2::finishedTimerListRequest);
        QSignalSpy movieList(engineE2(), &RequestsE2::finishedMovieListRequest);
        QSignalSpy services(engineE2(), &RequestsE2::finishedServiceDataRequest);
        m_engine->sendRequest(ReqTimerList);
        m_engine->sendRequest(ReqMovieList);
        send(ReqServices);

        QCOMPARE(int(m_database->timers().size()), timers);
        QCOMPARE(int(m_database->movies().size()), movies);
        QCOMPARE(m_database->bouquets().size(), m_receiver->box.bouquets().size());
        QCOMPARE(timerList.count(), 1);
        QCOMPARE(movieList.count(), 0);
        QCOMPARE(services.count(), 0);
        // Every busy indication that was switched on is switched off again.
        QCOMPARE(m_busy->count(QVariantList{true}), m_busy->count(QVariantList{false}));
    }

    void failedPowerStateChangesNothing()
    {
        m_database->setStandby(true);
        m_receiver->box.setPathFault(u"/web/powerstate"_s, {FaultKind::Http500});
        QSignalSpy power(engineE2(), &RequestsE2::finishedPowerstateRequest);
        send(ReqStatus);
        QCOMPARE(power.count(), 0);
        QVERIFY(m_database->statusData()->standby);
        // The follow-ups still go out; no delayed current-service request was scheduled.
        QCOMPARE(m_receiver->requestsTo("/web/getcurrent").size(), 1);
    }

    void hangingReceiverTimesOut()
    {
        m_receiver->box.setPathFault(u"/web/about"_s, {FaultKind::Hang});
        m_engine->setTransferTimeouts(300, 600);
        QSignalSpy errorFlag(m_engine.get(), qOverload<bool>(&TavrelRequest::networkErrorOccurred));
        m_engine->sendRequest(ReqAbout);
        settle(5000);
        QCOMPARE(m_failed->count(), 1);
        QCOMPARE(m_failed->first().mid(0, 2), failure(ReqAbout, QNetworkReply::OperationCanceledError));
        QVERIFY(errorFlag.count() >= 1);
        QVERIFY(!m_database->aboutInfo());
    }

    void refusedConnection()
    {
        loadLineUp();
        const int bouquets = int(m_database->bouquets().size());
        m_receiver->box.close();
        QSignalSpy errorCode(m_engine.get(), SIGNAL(networkErrorOccurred(QNetworkReply::NetworkError)));
        send(ReqServices);
        QCOMPARE(m_failed->count(), 1);
        QCOMPARE(firsts(errorCode), QVariantList{QVariant::fromValue(QNetworkReply::ConnectionRefusedError)});
        QCOMPARE(int(m_database->bouquets().size()), bouquets);
    }

    void profileChangeRebuildsUrls()
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

    // Enigma1 alone from here on, up to the session guard.

    void commandsAreFollowedByTheirPage_data()
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

    void commandsAreFollowedByTheirPage()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, followUp);

        open(e1);
        send(RequestType(type));
        const QList<QByteArray> targets = m_receiver->box.requestTargets();
        QCOMPARE(targets.value(1), followUp);
        // The status page brings the data page, which brings nothing.
        QVERIFY(targets.size() <= 3);
    }

    void referencesSurviveTheReceiversDoubleDecoding_data()
    {
        QTest::addColumn<QString>("reference");
        QTest::addColumn<bool>("keptAsPrinted");

        // The page prints references escaped; they are read back as the receiver knows them,
        // unless that form holds a "%" of its own, which only the printed form can carry.
        QTest::newRow("slashes, spaces, umlauts and ampersand")
            << u"1:0:1:283d:3fb:1:c00000:0:0:0:/hdd/movie/Schöne Grüße & Co #1.ts"_s << false;
        QTest::newRow("percent sign") << u"1:0:1:283d:3fb:1:c00000:0:0:0:/hdd/movie/100% Spaß.ts"_s << true;
        QTest::newRow("plus sign") << u"1:0:1:283d:3fb:1:c00000:0:0:0:/hdd/movie/Teil 1+2.ts"_s << false;
    }

    void referencesSurviveTheReceiversDoubleDecoding()
    {
        QFETCH(QString, reference);
        QFETCH(bool, keptAsPrinted);

        open(e1);
        boxsim::Movie movie;
        movie.reference = reference;
        movie.title = u"Film"_s;
        movie.fileSize = 4'000'000'000;
        m_receiver->box.setMovies({movie});
        send(ReqMovieList);
        QCOMPARE(m_database->movies().size(), 1);
        const QString stored = m_database->movieAt(0)->serviceReference;
        QCOMPARE(stored == reference, !keptAsPrinted);
        QCOMPARE(stored.contains(QLatin1String("%2fhdd%2fmovie%2f")), keptAsPrinted);

        QSignalSpy movies(engineE1(), &RequestsE1::finishedMovieListRequest);
        m_engine->renameMovie(stored, u"Neu & besser + 1"_s);
        settle();
        QCOMPARE(m_receiver->box.movies().first().title, u"Neu & besser + 1"_s);
        QCOMPARE(movies.count(), 1); // the list comes again after a rename

        m_engine->playMovie(stored);
        settle();
        QCOMPARE(m_receiver->box.playingMovie(), reference);

        m_engine->deleteMovie(stored);
        settle();
        QVERIFY(m_receiver->box.movies().isEmpty());
        QVERIFY(m_database->movies().isEmpty());
    }

    void zapRefreshesStatusThenEpg()
    {
        open(e1);
        QSignalSpy epg(engineE1(), &RequestsE1::finishedEpgDataRequest);
        m_engine->zapToService(zdfE1);
        settle();
        QCOMPARE(m_receiver->box.currentServiceReference(), zdfE1);
        const auto zap = m_receiver->requestsTo("/cgi-bin/zapTo").first();
        const auto status = m_receiver->requestsTo("/cgi-bin/status");
        const auto page = m_receiver->requestsTo("/cgi-bin/getcurrentepg");
        QCOMPARE(zap.queryValue(u"path"_s), zdfE1);
        QCOMPARE(status.size(), 1);
        QCOMPARE(page.size(), 1);
        QVERIFY(SimulatedReceiver::msBetween(zap, status.first()) < 500);
        QVERIFY(SimulatedReceiver::msBetween(zap, page.first()) >= 990);
        QCOMPARE(epg.count(), 1);
    }

    void secondZapRestartsTheWait()
    {
        open(e1);
        m_engine->zapToService(zdfE1);
        QTRY_COMPARE(m_receiver->requestsTo("/cgi-bin/status").size(), 1);
        QTest::qWait(500);
        m_engine->zapToService(dasersteE1);
        settle();
        const auto zaps = m_receiver->requestsTo("/cgi-bin/zapTo");
        const auto pages = m_receiver->requestsTo("/cgi-bin/getcurrentepg");
        QCOMPARE(zaps.size(), 2);
        QCOMPARE(pages.size(), 1);
        QVERIFY(SimulatedReceiver::msBetween(zaps.at(1), pages.first()) >= 990);
    }

    void unreadableEpgIsRetriedOnce()
    {
        open(e1);
        m_receiver->box.setPathFault(u"/cgi-bin/getcurrentepg"_s, {FaultKind::Http404});
        QSignalSpy epg(engineE1(), &RequestsE1::finishedEpgDataRequest);
        m_engine->requestServiceEpg(QString(), u"4097:7:0:33fc5"_s);
        settle();
        QCOMPARE(m_receiver->requestsTo("/cgi-bin/getcurrentepg").size(), 2);
        QCOMPARE(epg.count(), 2);
    }

    void lineUpAndBouquetEpg()
    {
        open(e1);
        QSignalSpy services(engineE1(), &RequestsE1::finishedServiceDataRequest);
        send(ReqServices);
        QCOMPARE(services.count(), 1);
        const QList<boxsim::Bouquet> lineUp = m_receiver->box.bouquets();
        QVERIFY(!m_database->bouquets().isEmpty());
        QCOMPARE(m_database->bouquets().first()->name, lineUp.first().name);
        const QString bouquetRef = m_database->bouquets().first()->reference;

        QSignalSpy multi(engineE1(), &RequestsE1::finishedMultiEpgDataRequest);
        m_engine->requestBouquetEpg(bouquetRef);
        settle();
        QCOMPARE(multi.count(), 1);
        QCOMPARE(queried("/getMultiEPG", u"ref"_s), QStringList{bouquetRef});
        QVERIFY(m_database->hasEpg(0, 0));
        const boxsim::Event now = *m_receiver->box.currentEvent(m_database->channel(0, 0)->serviceReference);
        QCOMPARE(m_database->epgItem(0, 0, 0)->title, now.title);
    }

    void timerList()
    {
        open(e1);
        QSignalSpy list(engineE1(), &RequestsE1::finishedTimerListRequest);
        send(ReqTimerList);
        const qsizetype stored = m_database->timers().size();
        QCOMPARE(stored, m_receiver->box.timers().size());
        QVERIFY(stored > 0);

        // An unreadable list keeps what was shown.
        m_receiver->box.setPathFault(u"/xml/timers"_s, {.kind = FaultKind::CutBody, .times = 1});
        send(ReqTimerList);
        QCOMPARE(m_database->timers().size(), stored);

        // A receiver without timers answers an empty list, which is a list.
        m_receiver->box.clearTimers();
        send(ReqTimerList);
        QVERIFY(m_database->timers().isEmpty());
        QCOMPARE(list.count(), 3);
    }

    void statusNeedsCredentials()
    {
        open(e1);
        m_receiver->saveProfile();
        QSignalSpy status(engineE1(), &RequestsE1::finishedStatusRequest);
        send(ReqStatus);
        QCOMPARE(status.count(), 0);
        QCOMPARE(m_failed->first().at(0).value<RequestType>(), ReqStatus);
        QVERIFY(!m_database->statusInfoE1());

        m_receiver->saveProfile(u"root"_s, u"root"_s);
        send(ReqStatus);
        QCOMPARE(status.count(), 1);
        QCOMPARE(m_database->statusData()->serviceReference, m_receiver->box.currentServiceReference());
    }

    void busyIndicationIsBalanced()
    {
        open(e1);
        m_engine->sendRequest(ReqServices);
        m_engine->sendRequest(ReqMovieList);
        m_engine->sendRequest(ReqTimerList);
        m_engine->requestServiceEpg(QString(), u"4097:7:0:33fc5"_s);
        settle();
        m_engine->requestBouquetEpg(m_database->bouquets().first()->reference);
        settle();
        QCOMPARE(m_busy->count(QVariantList{true}), 5);
        QCOMPARE(m_busy->count(QVariantList{false}), 5);
    }

    // Receivers that guard their web interface with a session id, and receivers that do not:
    // the engine learns the guard from the first refusal, asks for an id once and sends it from
    // then on.

    void sessionFlows_data()
    {
        QTest::addColumn<QString>("flow");
        QTest::addColumn<QByteArray>("command"); // carried out once, whatever the guard
        QTest::addColumn<bool>("guarded");
        QTest::addColumn<int>("refused"); // requests turned away before the id was known

        const struct
        {
            const char* flow;
            const char* command;
            int refused;
        } rows[] = {{"full load", "", 1},
                    {"zap", "/web/zap", 1},
                    {"timer add", "/web/timeraddbyeventid", 1},
                    {"movie delete", "/web/moviedelete", 1},
                    {"three at once", "", 3}};
        for (const bool guarded : {true, false}) {
            for (const auto& row : rows)
                QTest::addRow("%s, %s", row.flow, guarded ? "guarded" : "open")
                    << QString::fromLatin1(row.flow) << QByteArray(row.command) << guarded << row.refused;
        }
    }

    void sessionFlows()
    {
        QFETCH(QString, flow);
        QFETCH(QByteArray, command);
        QFETCH(bool, guarded);
        QFETCH(int, refused);

        boxsim::BoxSim& box = m_receiver->box;
        box.setSessionGuard(guarded);
        const QList<boxsim::Movie> movies = box.movies();
        const qsizetype timers = box.timers().size();
        const auto event = eventOf(zdf, QString::number(box.nextEvent(zdf)->id));
        QSignalSpy added(engineE2(), &RequestsE2::finishedTimerEventAddRequest);
        QSignalSpy deleted(engineE2(), &RequestsE2::finishedMovieDelRequest);
        const QMap<QString, std::function<void()>> start{
            {u"full load"_s, [&] { m_engine->sendRequest(ReqServices); }},
            {u"zap"_s, [&] { m_engine->zapToServiceInBouquet(zdf, u"1:7:1:0:0:0:0:0:0:0:"_s); }},
            {u"timer add"_s, [&] { m_engine->addTimerForEvent(event.get(), false); }},
            {u"movie delete"_s, [&] { m_engine->deleteMovie(movies.first().reference); }},
            {u"three at once"_s, [&] {
                 for (const RequestType type : {ReqAbout, ReqTimerList, ReqMovieList})
                     m_engine->sendRequest(type);
             }}};
        start[flow]();
        settle();

        QCOMPARE(m_failed->count(), 0);
        const QStringList targets = m_receiver->targets();
        QCOMPARE(targets.count(u"/web/session"_s), guarded ? 1 : 0);
        QCOMPARE(statuses().count(412), guarded ? refused : 0);
        // Before the id was known nothing carried one; after it everything does.
        const qsizetype session = targets.indexOf(u"/web/session"_s);
        for (qsizetype i = 0; i < targets.size(); ++i)
            QCOMPARE(targets.at(i).contains(u"sessionid="_s), guarded && i > session);
        QCOMPARE(m_engine->urlForRequest(ReqStatus).query(), QString());
        // Refused before it acted, a command goes again once and is carried out once.
        if (!command.isEmpty())
            QCOMPARE(m_receiver->requestsTo(command).size(), guarded ? 2 : 1);
        if (flow == u"full load"_s)
            QVERIFY(m_database->serviceDataLoaded() && m_database->aboutInfo() && m_database->signalInfo());
        if (flow == u"zap"_s)
            QVERIFY(box.currentServiceReference() == zdf &&
                    m_receiver->requestsTo("/web/epgnext").size() == 1);
        if (flow == u"timer add"_s)
            QVERIFY(firsts(added) == QVariantList{true} && box.timers().size() == timers + 1);
        if (flow == u"movie delete"_s)
            QVERIFY(firsts(deleted) == QVariantList{true} && box.movies().size() == movies.size() - 1);
        if (flow == u"three at once"_s)
            QVERIFY(m_database->aboutInfo() && m_database->timers().size() == timers &&
                    m_database->movies().size() == movies.size());
    }

    void expiredSessionIdIsRenewedOnce()
    {
        m_receiver->box.setSessionGuard(true);
        m_receiver->box.setSessionLifetime(600);
        send(ReqCurrentTime);
        const QString first = m_receiver->box.requests().last().queryValue(u"sessionid"_s);
        QVERIFY(!first.isEmpty());
        m_receiver->box.advanceTime(601);
        m_receiver->box.clearRequests();
        QSignalSpy time(engineE2(), &RequestsE2::finishedCurrentTimeRequest);
        QSignalSpy errors(m_engine.get(), qOverload<bool>(&TavrelRequest::networkErrorOccurred));
        send(ReqCurrentTime);

        const QString renewed = m_receiver->box.requests().last().queryValue(u"sessionid"_s);
        QVERIFY(!renewed.isEmpty() && renewed != first);
        QCOMPARE(m_receiver->targets(),
                 (QStringList{u"/web/currenttime?sessionid="_s + first, u"/web/session"_s,
                              u"/web/currenttime?sessionid="_s + renewed}));
        QCOMPARE(statuses(), (QList<int>{412, 200, 200}));
        QCOMPARE(time.count(), 1);
        QCOMPARE(errors.count(), 0);
    }

    void eventsRetriedForASessionIdLandInTheirOwnBouquet()
    {
        loadLineUp();
        m_receiver->box.setSessionGuard(true);
        const QString first = m_database->bouquet(0)->reference;
        const QString second = m_database->bouquet(1)->reference;
        // Both are refused for want of an id and go again once it is known.
        m_engine->requestBouquetEpg(first);
        m_engine->requestBouquetEpg(second);
        settle();

        QCOMPARE(statuses().count(412), 2);
        QVERIFY(m_database->hasEpg(0, 0) && m_database->hasEpg(1, 0));
        QCOMPARE(m_database->epgItem(0, 0, 0)->bouquetReference, first);
        QCOMPARE(m_busy->count(QVariantList{true}), m_busy->count(QVariantList{false}));
    }

    void sessionGuardThatCannotBePassed_data()
    {
        QTest::addColumn<QString>("path"); // where the receiver always refuses
        QTest::addColumn<int>("kind");
        QTest::addColumn<QList<int>>("statuses");
        QTest::addColumn<QString>("reason");

        const QString refusal = u"sessionid is missing, invalid or expired!"_s;
        QTest::newRow("no id from the session either")
            << u"/web/session"_s << int(FaultKind::SessionRefused) << QList<int>{412, 412} << refusal;
        QTest::newRow("fresh id refused as well")
            << u"/web/getallservices"_s << int(FaultKind::SessionRefused) << QList<int>{412, 200, 412}
            << refusal;
        QTest::newRow("session page broken")
            << u"/web/session"_s << int(FaultKind::Http500) << QList<int>{412, 500} << QString();
    }

    void sessionGuardThatCannotBePassed()
    {
        QFETCH(QString, path);
        QFETCH(int, kind);
        QFETCH(QList<int>, statuses);
        QFETCH(QString, reason);

        m_receiver->box.setSessionGuard(true);
        m_receiver->box.setPathFault(path, {FaultKind(kind)});
        QSignalSpy refused(m_engine.get(), &TavrelRequest::sessionRefused);
        QSignalSpy errorCode(m_engine.get(), SIGNAL(networkErrorOccurred(QNetworkReply::NetworkError)));
        send(ReqServices);
        QTest::qWait(100); // nothing more is asked

        QCOMPARE(this->statuses(), statuses);
        QCOMPARE(firsts(refused), QVariantList{reason});
        QCOMPARE(m_failed->count(), 1);
        QCOMPARE(m_failed->first().at(0).value<RequestType>(), ReqServices);
        QCOMPARE(m_failed->first().at(2).toInt(), 412);
        QCOMPARE(errorCode.count(), 1);
        QCOMPARE(m_busy->count(QVariantList{true}), m_busy->count(QVariantList{false}));
        QVERIFY(!m_database->serviceDataLoaded());
    }

    // Big answers (bouquets, EPG lists) are read off the GUI thread. What the engine reports must
    // not change for that: answers are handled in the order they finished, small ones are read at
    // once, and an engine that goes away while it reads neither crashes nor leaks. (That what they
    // build lives in the GUI thread is checked where the controller loads the receiver.)

    void laterSmallAnswerWaitsForTheBigOne()
    {
        HeldRequestsE2 engine(m_database.get());
        engine.setBackgroundReadBytes(0);
        QStringList order;
        connect(&engine, &RequestsE2::finishedServiceDataRequest, &engine, [&] { order << u"services"_s; });
        connect(&engine, &RequestsE2::finishedVolumeRequest, &engine, [&] { order << u"volume"_s; });
        m_receiver->box.setPathFault(u"/web/vol"_s, {.latencyMs = 100});

        engine.sendRequest(ReqServices);
        engine.sendRequest(ReqVolume);
        // The bouquets are being read while the volume answer comes in.
        QTRY_COMPARE(engine.started(), 1);
        QTRY_COMPARE(m_receiver->requestsTo("/web/vol").size(), 1);
        QTRY_VERIFY(m_receiver->requestsTo("/web/vol").first().status != 0);
        QTest::qWait(50);
        QVERIFY(order.isEmpty());
        QVERIFY(!engine.isSettled());

        // Released only now, the services answer: the follow-up requests wait behind the gate too.
        engine.release(100);
        QTRY_VERIFY_WITH_TIMEOUT(engine.isSettled(), 10000);
        QCOMPARE(order.mid(0, 2), (QStringList{u"services"_s, u"volume"_s}));
        QVERIFY(m_database->serviceDataLoaded());
    }

    void smallAnswersAreReadAtOnce()
    {
        HeldRequestsE2 engine(m_database.get());
        // The default line-up's answers are all far below the size worth a thread.
        QSignalSpy services(&engine, &RequestsE2::finishedServiceDataRequest);
        engine.sendRequest(ReqServices);
        QTRY_VERIFY_WITH_TIMEOUT(engine.isSettled(), 10000);
        QCOMPARE(services.size(), 1);
        QCOMPARE(engine.started(), 0);
    }

    void engineGoneWhileReading_data()
    {
        QTest::addColumn<bool>("abandonFirst");
        QTest::newRow("deleted while reading") << false;
        QTest::newRow("abandoned, then deleted while reading") << true;
    }

    void engineGoneWhileReading()
    {
        QFETCH(bool, abandonFirst);
        auto engine = std::make_unique<HeldRequestsE2>(m_database.get());
        engine->setBackgroundReadBytes(0);
        QSignalSpy services(engine.get(), &RequestsE2::finishedServiceDataRequest);
        engine->sendRequest(ReqServices);
        QTRY_COMPARE(engine->started(), 1);

        if (abandonFirst) {
            engine->abandon();
            engine->release();
            QTest::qWait(100);
            QVERIFY(services.isEmpty());
        }
        // The reading ends a moment after the engine is asked to go; deletion waits for it.
        std::thread releaser([gate = engine->gate()] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            gate->release();
        });
        engine.reset();
        releaser.join();
        QVERIFY(services.isEmpty());
        QVERIFY(!m_database->serviceDataLoaded());
    }
};

QTEST_GUILESS_MAIN(TestRequests)
#include "tst_requests.moc"
