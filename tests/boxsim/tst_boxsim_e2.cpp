// The Enigma2 personality over real HTTP: every URL the application uses answers in the layout of
// a real receiver's answer, and the living state behind it (timers, recordings, playback, disk)
// moves with the clock as a receiver's does.

#include "tests/boxsim/receivertest.h"
#include "tests/common/testdata.h"

#include <QDateTime>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using boxsimtest::Client;
using boxsimtest::enc;
using boxsimtest::Fetched;
using boxsimtest::Now;
using boxsimtest::XmlTree;

namespace {

QString eventTarget(const QString& path, const QString& reference, int eventId, int justPlay = -1)
{
    QString target =
        path + u"?sRef="_s + QString::fromLatin1(enc(reference)) + u"&eventid="_s + QString::number(eventId);
    if (justPlay >= 0)
        target += u"&justplay="_s + QString::number(justPlay);
    return target;
}

} // namespace

class TestBoxSimE2 : public boxsimtest::ReceiverTest
{
    Q_OBJECT

public:
    TestBoxSimE2()
        : ReceiverTest(boxsim::Personality::Enigma2, PowerDowntime::None)
    {}

private:
    QString service(int index) const { return m_box->bouquets().first().services.at(index).reference; }
    XmlTree xml(const QString& target)
    {
        const Fetched fetched = get(target.toLatin1());
        [&] { QCOMPARE(fetched.status, 200); }();
        return XmlTree::parse(fetched.body);
    }
    // A command's answer: state|text.
    QString result(const QString& target)
    {
        return xml(target).line(u"e2simplexmlresult"_s, {u"e2state"_s, u"e2statetext"_s});
    }
    QString addTimer(const QString& reference, int eventId, int justPlay)
    {
        return result(eventTarget(u"/web/timeraddbyeventid"_s, reference, eventId, justPlay));
    }

private slots:
    void answersInTheLayoutOfAReceiver_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("sample"); // a real receiver's answer under tests/data/e2

        // A throw-away receiver with the same clock gives the references the rows need.
        boxsim::BoxSim box(boxsim::Personality::Enigma2);
        box.setFixedTime(Now);
        const QByteArray bouquet = enc(box.bouquets().first().reference);
        const QString das = box.bouquets().first().services.first().reference;
        const boxsim::Event event = *box.nextEvent(das);
        const boxsim::Timer timer = box.timers().first();
        const QByteArray movie = enc(box.movies().first().reference);

        QTest::newRow("remote control key") << "/web/remotecontrol?command=352"_ba << u"remotecontrol"_s;
        QTest::newRow("record now") << "/web/recordnow?recordnow=true"_ba << u"recordnow"_s;
        QTest::newRow("mute") << "/web/vol?set=mute"_ba << u"vol-mute"_s;
        QTest::newRow("set volume") << "/web/vol?set=set30"_ba << u"vol-set"_s;
        QTest::newRow("volume status") << "/web/vol"_ba << u"vol"_s;
        QTest::newRow("power state") << "/web/powerstate"_ba << u"powerstate"_s;
        QTest::newRow("standby") << "/web/powerstate?newstate=5"_ba << u"powerstate-standby"_s;
        QTest::newRow("current service") << "/web/getcurrent"_ba << u"getcurrent"_s;
        QTest::newRow("about") << "/web/about"_ba << u"about"_s;
        QTest::newRow("current time") << "/web/currenttime"_ba << u"currenttime"_s;
        QTest::newRow("all services") << "/web/getallservices"_ba << u"getallservices"_s;
        QTest::newRow("signal") << "/web/signal"_ba << u"signal"_s;
        QTest::newRow("EPG of a service") << "/web/epgservice?sRef="_ba + enc(das) << u"epgservice"_s;
        QTest::newRow("EPG of a bouquet") << "/web/epgmulti?bRef="_ba + bouquet << u"epgmulti"_s;
        QTest::newRow("now events") << "/web/epgnow?bRef="_ba + bouquet << u"epgnow"_s;
        QTest::newRow("next events") << "/web/epgnext?bRef="_ba + bouquet << u"epgnext"_s;
        QTest::newRow("EPG search") << "/web/epgsearch?search=Tatort"_ba << u"epgsearch"_s;
        QTest::newRow("similar events")
            << eventTarget(u"/web/epgsimilar"_s, das, event.id).toLatin1() << u"epgsimilar"_s;
        QTest::newRow("movie list") << "/web/movielist"_ba << u"movielist"_s;
        QTest::newRow("movie delete") << "/web/moviedelete?sRef="_ba + movie << u"moviedelete"_s;
        QTest::newRow("zap") << "/web/zap?sRef="_ba + enc(das) << u"zap"_s;
        QTest::newRow("movie play") << "/web/zap?sRef="_ba + movie << u"zap"_s;
        QTest::newRow("message") << "/web/message?text=Hallo%20Welt&type=0&timeout=10"_ba << u"message"_s;
        QTest::newRow("message answer") << "/web/messageanswer?getanswer=True"_ba << u"messageanswer"_s;
        QTest::newRow("timer list") << "/web/timerlist"_ba << u"timerlist"_s;
        QTest::newRow("timer cleanup") << "/web/timercleanup?cleanup=true"_ba << u"timercleanup"_s;
        QTest::newRow("timer add by event id")
            << eventTarget(u"/web/timeraddbyeventid"_s, das, event.id, 0).toLatin1() << u"timeradd-ok"_s;
        QTest::newRow("timer delete")
            << "/web/timerdelete?sRef="_ba + enc(timer.serviceReference) +
                   "&begin=" + QByteArray::number(timer.begin) + "&end=" + QByteArray::number(timer.end)
            << u"timerdelete-ok"_s;
        for (const int newState : {1, 2, 3, 4})
            QTest::addRow("power action %d", newState)
                << "/web/powerstate?newstate="_ba + QByteArray::number(newState) << u"powerstate"_s;
    }

    void answersInTheLayoutOfAReceiver()
    {
        QFETCH(QByteArray, target);
        QFETCH(QString, sample);

        const Fetched fetched = get(target);
        QCOMPARE(fetched.error, QNetworkReply::NoError);
        QVERIFY2(fetched.contentType.startsWith("text/xml"), fetched.contentType.constData());
        const XmlTree tree = XmlTree::parse(fetched.body);
        QVERIFY2(tree.ok, qPrintable(tree.error));
        const XmlTree real =
            XmlTree::parse(testDataBytes(u"e2/e2-"_s + sample + u".xml"_s).value_or(QByteArray()));
        QVERIFY(real.ok);
        // Nothing a receiver would not send, and every element the receiver's answer has.
        const QSet<QString> paths = tree.paths();
        const QSet<QString> realPaths = real.paths();
        QVERIFY2(paths == realPaths, qPrintable((paths - realPaths).values().join(u' ') + u" | missing: "_s +
                                                (realPaths - paths).values().join(u' ')));
        if (tree.root == u"e2simplexmlresult")
            QVERIFY(
                QStringList({u"True"_s, u"False"_s}).contains(tree.value(u"e2simplexmlresult/e2state"_s)));
        QCOMPARE(m_box->requestTargets(), QList<QByteArray>{target});
    }

    void answersAreStreamedChunkedWithPaddedValues()
    {
        const Fetched fetched = get("/web/about");
        QCOMPARE(fetched.transferEncoding, "chunked"_ba);
        QVERIFY(fetched.contentLength.isEmpty());

        const QTime time = QDateTime::fromSecsSinceEpoch(Now).time();
        QCOMPARE(xml(u"/web/currenttime"_s).raw(u"e2currenttime"_s),
                 u"\n\t"_s + QString::asprintf("%2d:%02d:%02d", time.hour(), time.minute(), time.second()) +
                     u"\n"_s);
        QCOMPARE(xml(u"/web/powerstate"_s).raw(u"e2powerstate/e2instandby"_s), u"\nfalse\t"_s);
        QCOMPARE(xml(u"/web/getcurrent"_s).raw(u"e2currentserviceinformation/e2service/e2iswidescreen"_s),
                 u"\n1\t\t"_s);
    }

    void answersWithoutContent_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        const QByteArray emptyList =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2eventlist>\n</e2eventlist>\n";
        QTest::newRow("EPG of an unknown service")
            << "/web/epgservice?sRef=1:0:1:DEAD:1:1:0:0:0:0:"_ba << 200 << emptyList;
        QTest::newRow("EPG of a service without EPG")
            << "/web/epgservice?sRef=1:0:19:2B7A:3FB:1:C00000:0:0:0:"_ba << 200 << emptyList;
        QTest::newRow("now events of an unknown bouquet")
            << "/web/epgnow?bRef=nothing"_ba << 200 << emptyList;
        QTest::newRow("search without hits") << "/web/epgsearch?search=Zzyzx"_ba << 200 << emptyList;
        QTest::newRow("unknown web path") << "/web/nothing"_ba << 404 << "<html>"_ba;
        QTest::newRow("outside the web interface") << "/cgi-bin/status"_ba << 404 << "<html>"_ba;
        QTest::newRow("zap without reference") << "/web/zap"_ba << 500 << "<html>"_ba;
        QTest::newRow("timer delete without end")
            << "/web/timerdelete?sRef=x&begin=1"_ba << 500 << "<html>"_ba;
    }

    void answersWithoutContent()
    {
        QFETCH(QByteArray, target);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        const Fetched fetched = get(target);
        QCOMPARE(fetched.status, status);
        if (status == 200)
            QCOMPARE(fetched.body, body);
        else
            QVERIFY(fetched.contentType.startsWith("text/html") && fetched.body.contains(body));
    }

    void powerStateCommands_data()
    {
        QTest::addColumn<bool>("standbyBefore");
        QTest::addColumn<int>("newState");
        QTest::addColumn<bool>("standbyAfter");
        QTest::newRow("standby from on") << false << 5 << true;
        QTest::newRow("standby from standby") << true << 5 << true;
        QTest::newRow("wake up from standby") << true << 4 << false;
        QTest::newRow("toggle from on") << false << 0 << true;
        QTest::newRow("toggle from standby") << true << 0 << false;
        QTest::newRow("deep standby comes back in standby") << false << 1 << true;
        QTest::newRow("reboot comes back on") << true << 2 << false;
    }

    void powerStateCommands()
    {
        QFETCH(bool, standbyBefore);
        QFETCH(int, newState);
        QFETCH(bool, standbyAfter);
        m_box->setStandby(standbyBefore);
        const auto inStandby = [this](const QString& target) {
            return xml(target).value(u"e2powerstate/e2instandby"_s) == u"true";
        };
        // The answer reports the state from before the command, as receivers do.
        QCOMPARE(inStandby(u"/web/powerstate?newstate="_s + QString::number(newState)), standbyBefore);
        QCOMPARE(inStandby(u"/web/powerstate"_s), standbyAfter);
    }

    void volumeCommands_data()
    {
        QTest::addColumn<QByteArray>("set");
        QTest::addColumn<QString>("answer"); // result|text|current|muted
        QTest::newRow("status") << QByteArray() << u"True|Status|45|False"_s;
        QTest::newRow("empty set") << "?set"_ba << u"False|Unknown Volume command|45|False"_s;
        QTest::newRow("set 30") << "?set=set30"_ba << u"True|Volume set to 30|30|False"_s;
        QTest::newRow("set above 100") << "?set=set150"_ba << u"True|Volume set to 100|100|False"_s;
        QTest::newRow("set not a number")
            << "?set=setabc"_ba << u"False|Wrong parameter format 'set=setabc'. Use set=set15|45|False"_s;
        QTest::newRow("mute") << "?set=mute"_ba << u"True|Mute toggled|45|True"_s;
        QTest::newRow("up") << "?set=up"_ba << u"True|Volume changed|50|False"_s;
        QTest::newRow("down") << "?set=down"_ba << u"True|Volume changed|40|False"_s;
    }

    void volumeCommands()
    {
        QFETCH(QByteArray, set);
        QFETCH(QString, answer);
        const XmlTree tree = xml(u"/web/vol"_s + QString::fromLatin1(set));
        QCOMPARE(QStringList({tree.value(u"e2volume/e2result"_s), tree.value(u"e2volume/e2resulttext"_s),
                              tree.value(u"e2volume/e2current"_s), tree.value(u"e2volume/e2ismuted"_s)})
                     .join(u'|'),
                 answer);
        QCOMPARE(m_box->volume(), answer.section(u'|', 2, 2).toInt());
    }

    void timerFollowsTheClockIntoARecording()
    {
        m_box->clearTimers();
        const QString zdf = service(1);
        const boxsim::Event event = *m_box->nextEvent(zdf);
        const int moviesBefore = int(m_box->movies().size());
        QCOMPARE(addTimer(zdf, event.id, 0), u"True|Timer '"_s + event.title + u"' added"_s);
        const qint64 begin = event.start - 300;
        const qint64 end = event.end() + 600;
        const XmlTree list = xml(u"/web/timerlist"_s);
        QCOMPARE(list.values(u"e2timerlist/e2timer/e2eit"_s), QStringList{QString::number(event.id)});
        QCOMPARE(list.line(u"e2timerlist/e2timer"_s, {u"e2timebegin"_s, u"e2timeend"_s}),
                 QString::number(begin) + u'|' + QString::number(end));
        // Waiting, about to begin, recording, ended: each with the clock.
        const QList<std::pair<qint64, QString>> states{
            {Now, u"0"_s}, {begin - 10, u"1"_s}, {begin, u"2"_s}, {end, u"3"_s}};
        for (const auto& [time, expected] : states) {
            m_box->setFixedTime(time);
            QCOMPARE(xml(u"/web/timerlist"_s).value(u"e2timerlist/e2timer/e2state"_s), expected);
            QCOMPARE(m_box->isRecording(), expected == u"2");
        }
        // The finished recording is a movie now.
        const XmlTree movies = xml(u"/web/movielist"_s);
        QCOMPARE(movies.count(u"e2movielist/e2movie"_s), moviesBefore + 1);
        QCOMPARE(movies.values(u"e2movielist/e2movie/e2title"_s).last(), event.title);
    }

    void timerAddsThatAReceiverRefuses()
    {
        m_box->clearTimers();
        const QString zdf = service(1);
        const QString pro7 = service(4);
        const boxsim::Event first = *m_box->nextEvent(zdf);
        QCOMPARE(addTimer(zdf, first.id, 0), u"True|Timer '"_s + first.title + u"' added"_s);
        // An event of another service that overlaps the first recording.
        const QList<boxsim::Event> events = m_box->events(pro7);
        const auto overlapping = std::find_if(events.cbegin(), events.cend(), [&](const boxsim::Event& e) {
            return e.start < first.end() && first.start < e.end();
        });
        QVERIFY(overlapping != events.cend());
        QCOMPARE(addTimer(pro7, overlapping->id, 0),
                 u"False|Conflicting Timer(s) detected! "_s + first.title);
        QCOMPARE(m_box->timers().size(), 1);
        // A zap timer needs no tuner for long and is accepted.
        QCOMPARE(addTimer(pro7, overlapping->id, 1), u"True|Timer '"_s + overlapping->title + u"' added"_s);
        QCOMPARE(m_box->timers().size(), 2);
        QCOMPARE(addTimer(zdf, 99999, 0), u"False|EventId not found"_s);
    }

    void zapTimerZapsWhenItBegins()
    {
        m_box->clearTimers();
        const QString pro7 = service(4);
        const boxsim::Event event = *m_box->nextEvent(pro7);
        QCOMPARE(addTimer(pro7, event.id, 1), u"True|Timer '"_s + event.title + u"' added"_s);
        QVERIFY(m_box->currentServiceReference() != pro7);
        m_box->setFixedTime(event.start - 300);
        QCOMPARE(m_box->currentServiceReference(), pro7);
    }

    void timerDeleteAndCleanup()
    {
        const QList<boxsim::Timer> timers = m_box->timers();
        QCOMPARE(timers.size(), 3);
        QCOMPARE(timers.first().state, boxsim::TimerState::Ended);
        const boxsim::Timer waiting = timers.at(1);
        const auto remove = [&](qint64 end) {
            return result(u"/web/timerdelete?sRef="_s + QString::fromLatin1(enc(waiting.serviceReference)) +
                          u"&begin="_s + QString::number(waiting.begin) + u"&end="_s + QString::number(end));
        };
        QCOMPARE(remove(waiting.end + 1), u"False|No matching Timer found"_s);
        QCOMPARE(remove(waiting.end),
                 u"True|The timer '"_s + waiting.name + u"' has been deleted successfully"_s);
        QCOMPARE(m_box->timers().size(), 2);
        // Finished timers stay until a clean-up.
        QCOMPARE(result(u"/web/timercleanup?cleanup=true"_s), u"True|List of Timers has been cleaned"_s);
        QCOMPARE(xml(u"/web/timerlist"_s).values(u"e2timerlist/e2timer/e2justplay"_s), QStringList{u"1"_s});
    }

    void instantRecordRunsUntilTheEventEnds()
    {
        m_box->clearTimers();
        const boxsim::Event event = *m_box->currentEvent(m_box->currentServiceReference());
        QCOMPARE(result(u"/web/recordnow?recordnow=true"_s),
                 u"True|Instant record for current Event started"_s);
        QVERIFY(m_box->isRecording());
        QCOMPARE(xml(u"/web/timerlist"_s).line(u"e2timerlist/e2timer"_s, {u"e2state"_s, u"e2timeend"_s}),
                 u"2|"_s + QString::number(event.end()));
        m_box->setFixedTime(event.end());
        QVERIFY(!m_box->isRecording());
        QCOMPARE(m_box->movies().last().title, event.title);
    }

    void moviePlaybackPositionMoves()
    {
        const QString live = m_box->currentServiceReference();
        const boxsim::Movie movie = m_box->movies().first();
        const QString play = u"/web/zap?sRef="_s + QString::fromLatin1(enc(movie.reference));
        xml(play);
        QCOMPARE(xml(u"/web/getcurrent"_s)
                     .line(u"e2currentserviceinformation/e2service"_s,
                           {u"e2servicereference"_s, u"e2servicename"_s}),
                 movie.reference + u'|' + movie.title);

        // Each step: a key (0 for none), seconds that pass, then the position.
        const QList<std::tuple<int, int, int>> steps{
            {0, 120, 120}, {400, 60, 120}, {399, 30, 150}, {401, 0, 210}, {398, 0, 150}};
        for (const auto& [key, seconds, position] : steps) {
            if (key != 0)
                xml(u"/web/remotecontrol?command="_s + QString::number(key)); // pause, play, forward, rewind
            m_box->advanceTime(seconds);
            QCOMPARE(m_box->playbackPosition(), position);
        }
        xml(u"/web/remotecontrol?command=174"_s); // exit asks to stop, OK confirms
        QVERIFY(m_box->isPlaying());
        xml(u"/web/remotecontrol?command=352"_s);
        QVERIFY(!m_box->isPlaying());
        QCOMPARE(m_box->currentServiceReference(), live);

        // Playback ends by itself at the end of the recording.
        xml(play);
        m_box->advanceTime(movie.lengthSeconds);
        QVERIFY(!m_box->isPlaying());
    }

    void movieDeleteFreesTheDisk()
    {
        const QList<boxsim::Movie> movies = m_box->movies();
        const auto freeSpace = [this] {
            return xml(u"/web/about"_s)
                .value(u"e2abouts/e2about/e2hddinfo/free"_s)
                .split(u' ')
                .first()
                .toDouble();
        };
        const double freeBefore = freeSpace();
        const QString remove =
            u"/web/moviedelete?sRef="_s + QString::fromLatin1(enc(movies.first().reference));
        QCOMPARE(result(remove),
                 u"True|The movie '"_s + movies.first().title + u"' has been deleted successfully"_s);
        QCOMPARE(xml(u"/web/movielist"_s).count(u"e2movielist/e2movie"_s), movies.size() - 1);
        QVERIFY(freeSpace() > freeBefore + 4.9);
        QCOMPARE(result(remove).section(u'|', 0, 0), u"False"_s);
    }

    void epgSearchAndSimilarEvents()
    {
        const XmlTree found = xml(u"/web/epgsearch?search=tatort"_s);
        const QStringList titles = found.values(u"e2eventlist/e2event/e2eventtitle"_s);
        QVERIFY(!titles.isEmpty());
        QCOMPARE(titles.filter(u"Tatort"_s), titles);
        QVERIFY(found.values(u"e2eventlist/e2event/e2eventcurrenttime"_s).contains(u"None"_s));

        const QString das = service(0);
        const QList<boxsim::Event> events = m_box->events(das);
        const boxsim::Event event = events.at(events.size() / 2);
        const XmlTree similar = xml(eventTarget(u"/web/epgsimilar"_s, das, event.id));
        const QStringList similarTitles = similar.values(u"e2eventlist/e2event/e2eventtitle"_s);
        QVERIFY(!similarTitles.isEmpty());
        QCOMPARE(similarTitles, QStringList(similarTitles.size(), event.title));
        // The event asked about is not similar to itself.
        const QStringList ids = similar.values(u"e2eventlist/e2event/e2eventid"_s);
        const QStringList references = similar.values(u"e2eventlist/e2event/e2eventservicereference"_s);
        for (int i = 0; i < ids.size(); ++i)
            QVERIFY(!(ids.at(i) == QString::number(event.id) && references.at(i) == das));
    }

    void sameSeedGivesSameAnswers()
    {
        const auto answers = [](quint64 seed) -> QByteArray {
            boxsim::BoxSim box(boxsim::Personality::Enigma2);
            box.setFixedTime(Now);
            box.setSeed(seed);
            box.useGeneratedLineUp(3, 40);
            [&] { QVERIFY(box.listen() != 0); }();
            Client client;
            const QByteArray bouquet = enc(box.bouquets().at(1).reference);
            return client.get(box.baseUrl(), "/web/getallservices").body +
                   client.get(box.baseUrl(), "/web/epgnow?bRef=" + bouquet).body +
                   client.get(box.baseUrl(), "/web/signal").body;
        };
        const QByteArray first = answers(7);
        QCOMPARE(XmlTree::parse(first.left(first.indexOf("<?xml", 10)))
                     .count(u"e2servicelistrecursive/e2bouquet/e2servicelist/e2service"_s),
                 120);
        QCOMPARE(answers(7), first);
        QVERIFY(answers(8) != first);
    }
};

QTEST_GUILESS_MAIN(TestBoxSimE2)
#include "tst_boxsim_e2.moc"
