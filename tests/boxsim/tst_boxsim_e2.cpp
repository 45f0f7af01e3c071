// The Enigma2 personality over real HTTP: every URL the application uses answers with XML that a
// strict parser accepts, in the receivers' layout, and the living state behind it reacts.

#include "tests/boxsim/receivertest.h"

#include <QDateTime>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using boxsimtest::Client;
using boxsimtest::enc;
using boxsimtest::Fetched;
using boxsimtest::Now;
using boxsimtest::XmlTree;

class TestBoxSimE2 : public boxsimtest::ReceiverTest
{
    Q_OBJECT

public:
    TestBoxSimE2()
        : ReceiverTest(boxsim::Personality::Enigma2, PowerDowntime::None)
    {}

private slots:
    void everyUrlAnswersWellFormedXml_data();
    void everyUrlAnswersWellFormedXml();
    void answersAreStreamedChunked();
    void paddedValuesAsReceiversSendThem();
    void lineUpCarriesEveryKindOfName();
    void epgNowListsEveryServiceOfTheBouquet();
    void epgNextFollowsEpgNow();
    void emptyAnswers_data();
    void emptyAnswers();
    void errorAnswers_data();
    void errorAnswers();
    void zapChangesTheCurrentService();
    void zapToUnknownReferenceAnswersTrue();
    void powerStateCommands_data();
    void powerStateCommands();
    void volumeCommands_data();
    void volumeCommands();
    void timerFollowsTheClockIntoARecording();
    void overlappingRecordingIsAConflict();
    void timerForUnknownEventIsRefused();
    void zapTimerZapsWhenItBegins();
    void timerDeleteAndCleanup();
    void instantRecordRunsUntilTheEventEnds();
    void moviePlaybackPositionMoves();
    void movieDeleteFreesTheDisk();
    void messageAnswers_data();
    void messageAnswers();
    void epgSearchAndSimilarEvents();
    void requestLogKeepsExactTargetsInOrder();
    void stateSetThroughTheLibraryShowsInAnswers();
    void sameSeedGivesSameAnswers();

private:
    QString favourites() const { return m_box->bouquets().first().reference; }
    QString service(int index) const { return m_box->bouquets().first().services.at(index).reference; }
    XmlTree xml(const QByteArray& target)
    {
        const Fetched fetched = get(target);
        [&] { QCOMPARE(fetched.status, 200); }();
        return XmlTree::parse(fetched.body);
    }
};

void TestBoxSimE2::everyUrlAnswersWellFormedXml_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QStringList>("paths");

    // A throw-away receiver with the same clock gives the references the rows need.
    boxsim::BoxSim box(boxsim::Personality::Enigma2);
    box.setFixedTime(Now);
    const QString bouquet = box.bouquets().first().reference;
    const QString das = box.bouquets().first().services.first().reference;
    const boxsim::Event event = *box.nextEvent(das);
    const boxsim::Timer timer = box.timers().first();
    const QString movie = box.movies().first().reference;

    const QStringList rc{u"e2result"_s, u"e2resulttext"_s};
    const QStringList simple{u"e2state"_s, u"e2statetext"_s};
    const QStringList vol{u"e2result"_s, u"e2resulttext"_s, u"e2current"_s, u"e2ismuted"_s};
    const QStringList events{u"e2event/e2eventid"_s,
                             u"e2event/e2eventstart"_s,
                             u"e2event/e2eventduration"_s,
                             u"e2event/e2eventcurrenttime"_s,
                             u"e2event/e2eventtitle"_s,
                             u"e2event/e2eventdescription"_s,
                             u"e2event/e2eventdescriptionextended"_s,
                             u"e2event/e2eventservicereference"_s,
                             u"e2event/e2eventservicename"_s,
                             u"e2event/e2eventgenre"_s};

    QTest::newRow("forward: remote control blue")
        << "/web/remotecontrol?command=401"_ba << u"e2remotecontrol"_s << rc;
    QTest::newRow("rewind: remote control red")
        << "/web/remotecontrol?command=398"_ba << u"e2remotecontrol"_s << rc;
    QTest::newRow("play: remote control green")
        << "/web/remotecontrol?command=399"_ba << u"e2remotecontrol"_s << rc;
    QTest::newRow("pause: remote control yellow")
        << "/web/remotecontrol?command=400"_ba << u"e2remotecontrol"_s << rc;
    QTest::newRow("key OK") << "/web/remotecontrol?command=352"_ba << u"e2remotecontrol"_s << rc;
    QTest::newRow("key exit") << "/web/remotecontrol?command=174"_ba << u"e2remotecontrol"_s << rc;
    QTest::newRow("record now") << "/web/recordnow?recordnow=true"_ba << u"e2simplexmlresult"_s << simple;
    QTest::newRow("mute") << "/web/vol?set=mute"_ba << u"e2volume"_s << vol;
    QTest::newRow("set volume") << "/web/vol?set=set30"_ba << u"e2volume"_s << vol;
    QTest::newRow("volume status") << "/web/vol?set"_ba << u"e2volume"_s << vol;
    QTest::newRow("power state") << "/web/powerstate"_ba << u"e2powerstate"_s
                                 << QStringList{u"e2instandby"_s};
    QTest::newRow("current service") << "/web/getcurrent"_ba << u"e2currentserviceinformation"_s
                                     << QStringList{u"e2service/e2servicereference"_s,
                                                    u"e2service/e2servicename"_s,
                                                    u"e2service/e2providername"_s,
                                                    u"e2service/e2iswidescreen"_s,
                                                    u"e2eventlist/e2event/e2eventtitle"_s,
                                                    u"e2eventlist/e2event/e2eventremaining"_s};
    QTest::newRow("about") << "/web/about"_ba << u"e2abouts"_s
                           << QStringList{u"e2about/e2enigmaversion"_s,
                                          u"e2about/e2imageversion"_s,
                                          u"e2about/e2webifversion"_s,
                                          u"e2about/e2fpversion"_s,
                                          u"e2about/e2model"_s,
                                          u"e2about/e2lanmac"_s,
                                          u"e2about/e2landhcp"_s,
                                          u"e2about/e2lanip"_s,
                                          u"e2about/e2lanmask"_s,
                                          u"e2about/e2langw"_s,
                                          u"e2about/e2hddinfo/model"_s,
                                          u"e2about/e2hddinfo/capacity"_s,
                                          u"e2about/e2hddinfo/free"_s,
                                          u"e2about/e2tunerinfo/e2nim/name"_s,
                                          u"e2about/e2tunerinfo/e2nim/type"_s};
    QTest::newRow("current time") << "/web/currenttime"_ba << u"e2currenttime"_s << QStringList{};
    QTest::newRow("all services") << "/web/getallservices"_ba << u"e2servicelistrecursive"_s
                                  << QStringList{u"e2bouquet/e2servicereference"_s,
                                                 u"e2bouquet/e2servicename"_s,
                                                 u"e2bouquet/e2servicelist/e2service/e2servicereference"_s,
                                                 u"e2bouquet/e2servicelist/e2service/e2servicename"_s};
    QTest::newRow("signal") << "/web/signal"_ba << u"e2frontendstatus"_s
                            << QStringList{u"e2snrdb"_s, u"e2snr"_s, u"e2ber"_s, u"e2acg"_s};
    QTest::newRow("EPG of a service") << "/web/epgservice?sRef="_ba + enc(das) << u"e2eventlist"_s << events;
    QTest::newRow("EPG of a bouquet")
        << "/web/epgmulti?bRef="_ba + enc(bouquet) << u"e2eventlist"_s << events;
    QTest::newRow("movie list") << "/web/movielist"_ba << u"e2movielist"_s
                                << QStringList{u"e2movie/e2servicereference"_s,
                                               u"e2movie/e2title"_s,
                                               u"e2movie/e2description"_s,
                                               u"e2movie/e2descriptionextended"_s,
                                               u"e2movie/e2servicename"_s,
                                               u"e2movie/e2time"_s,
                                               u"e2movie/e2length"_s,
                                               u"e2movie/e2tags"_s,
                                               u"e2movie/e2filename"_s,
                                               u"e2movie/e2filesize"_s,
                                               u"e2locations"_s};
    QTest::newRow("movie delete") << "/web/moviedelete?sRef="_ba + enc(movie) << u"e2simplexmlresult"_s
                                  << simple;
    QTest::newRow("now events") << "/web/epgnow?bRef="_ba + enc(bouquet) << u"e2eventlist"_s << events;
    QTest::newRow("next events") << "/web/epgnext?bRef="_ba + enc(bouquet) << u"e2eventlist"_s << events;
    QTest::newRow("similar events") << "/web/epgsimilar?sRef="_ba + enc(das) +
                                           "&eventid=" + QByteArray::number(event.id)
                                    << u"e2eventlist"_s << QStringList{};
    QTest::newRow("zap and refresh") << "/web/zap?sRef="_ba + enc(das) << u"e2simplexmlresult"_s << simple;
    QTest::newRow("movie play") << "/web/zap?sRef="_ba + enc(movie) << u"e2simplexmlresult"_s << simple;
    QTest::newRow("message question")
        << "/web/message?text=Hallo%20Welt&type=0&timeout=10"_ba << u"e2simplexmlresult"_s << simple;
    QTest::newRow("message answer") << "/web/messageanswer?getanswer=True"_ba << u"e2simplexmlresult"_s
                                    << simple;
    QTest::newRow("EPG search") << "/web/epgsearch?search=Tatort"_ba << u"e2eventlist"_s << events;
    QTest::newRow("timer list") << "/web/timerlist"_ba << u"e2timerlist"_s
                                << QStringList{u"e2timer/e2servicereference"_s,
                                               u"e2timer/e2servicename"_s,
                                               u"e2timer/e2eit"_s,
                                               u"e2timer/e2name"_s,
                                               u"e2timer/e2description"_s,
                                               u"e2timer/e2descriptionextended"_s,
                                               u"e2timer/e2disabled"_s,
                                               u"e2timer/e2timebegin"_s,
                                               u"e2timer/e2timeend"_s,
                                               u"e2timer/e2duration"_s,
                                               u"e2timer/e2justplay"_s,
                                               u"e2timer/e2afterevent"_s,
                                               u"e2timer/e2location"_s,
                                               u"e2timer/e2logentries"_s,
                                               u"e2timer/e2state"_s,
                                               u"e2timer/e2cancled"_s};
    QTest::newRow("timer cleanup") << "/web/timercleanup?cleanup=true"_ba << u"e2simplexmlresult"_s << simple;
    QTest::newRow("timer add by event id") << "/web/timeraddbyeventid?sRef="_ba + enc(das) +
                                                  "&eventid=" + QByteArray::number(event.id) + "&justplay=0"
                                           << u"e2simplexmlresult"_s << simple;
    QTest::newRow("timer delete") << "/web/timerdelete?sRef="_ba + enc(timer.serviceReference) +
                                         "&begin=" + QByteArray::number(timer.begin) +
                                         "&end=" + QByteArray::number(timer.end)
                                  << u"e2simplexmlresult"_s << simple;
    QTest::newRow("shutdown") << "/web/powerstate?newstate=1"_ba << u"e2powerstate"_s
                              << QStringList{u"e2instandby"_s};
    QTest::newRow("reboot") << "/web/powerstate?newstate=2"_ba << u"e2powerstate"_s
                            << QStringList{u"e2instandby"_s};
    QTest::newRow("restart GUI") << "/web/powerstate?newstate=3"_ba << u"e2powerstate"_s
                                 << QStringList{u"e2instandby"_s};
    QTest::newRow("wake up") << "/web/powerstate?newstate=4"_ba << u"e2powerstate"_s
                             << QStringList{u"e2instandby"_s};
    QTest::newRow("standby") << "/web/powerstate?newstate=5"_ba << u"e2powerstate"_s
                             << QStringList{u"e2instandby"_s};
}

void TestBoxSimE2::everyUrlAnswersWellFormedXml()
{
    QFETCH(QByteArray, target);
    QFETCH(QString, root);
    QFETCH(QStringList, paths);

    const Fetched fetched = get(target);
    QCOMPARE(fetched.error, QNetworkReply::NoError);
    QCOMPARE(fetched.status, 200);
    QVERIFY2(fetched.contentType.startsWith("text/xml"), fetched.contentType.constData());
    const XmlTree tree = XmlTree::parse(fetched.body);
    QVERIFY2(tree.ok, qPrintable(tree.error));
    QCOMPARE(tree.root, root);
    for (const QString& path : std::as_const(paths))
        QVERIFY2(tree.count(root + u'/' + path) > 0, qPrintable(path));
    if (root == u"e2simplexmlresult")
        QVERIFY(QStringList({u"True"_s, u"False"_s}).contains(tree.value(u"e2simplexmlresult/e2state"_s)));
    // The receiver got exactly this request.
    QCOMPARE(m_box->requestTargets(), QList<QByteArray>{target});
}

void TestBoxSimE2::answersAreStreamedChunked()
{
    const Fetched fetched = get("/web/about");
    QCOMPARE(fetched.status, 200);
    QCOMPARE(fetched.transferEncoding, "chunked"_ba);
    QVERIFY(fetched.contentLength.isEmpty());
}

void TestBoxSimE2::paddedValuesAsReceiversSendThem()
{
    const QTime time = QDateTime::fromSecsSinceEpoch(Now).time();
    QCOMPARE(xml("/web/currenttime").raw(u"e2currenttime"_s),
             u"\n\t"_s + QString::asprintf("%2d:%02d:%02d", time.hour(), time.minute(), time.second()) +
                 u"\n"_s);
    QCOMPARE(xml("/web/powerstate").raw(u"e2powerstate/e2instandby"_s), u"\nfalse\t"_s);
    QCOMPARE(xml("/web/getcurrent").raw(u"e2currentserviceinformation/e2service/e2iswidescreen"_s),
             u"\n1\t\t"_s);
}

void TestBoxSimE2::lineUpCarriesEveryKindOfName()
{
    const Fetched fetched = get("/web/getallservices");
    QVERIFY(fetched.body.contains("<e2servicename>A&amp;E HD</e2servicename>"));
    const XmlTree tree = XmlTree::parse(fetched.body);
    QVERIFY(tree.ok);
    const QStringList names =
        tree.values(u"e2servicelistrecursive/e2bouquet/e2servicelist/e2service/e2servicename"_s);
    for (const QString& name :
         {u"ΕΡΤ World"_s, u"الجزيرة"_s, u"A&E HD"_s, u"Bayerisches Fernsehen Süd HD"_s, u"--- Privat ---"_s})
        QVERIFY2(names.contains(name), qPrintable(name));
    QVERIFY(tree.values(u"e2servicelistrecursive/e2bouquet/e2servicename"_s).contains(u"Doku & Serien"_s));
    QVERIFY(
        tree.values(u"e2servicelistrecursive/e2bouquet/e2servicereference"_s)
            .contains(u"1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.favourites.tv\" ORDER BY bouquet"_s));
    // The empty bouquet is listed as a plain service.
    QCOMPARE(tree.values(u"e2servicelistrecursive/e2service/e2servicename"_s), QStringList{u"Neu"_s});
    QVERIFY(tree.values(u"e2servicelistrecursive/e2bouquet/e2servicelist/e2service/e2servicereference"_s)
                .contains(u"1:64:1:0:0:0:0:0:0:0::--- Privat ---"_s));
}

void TestBoxSimE2::epgNowListsEveryServiceOfTheBouquet()
{
    const XmlTree tree = xml("/web/epgnow?bRef=" + enc(favourites()));
    QVERIFY(tree.ok);
    const QList<boxsim::Service> services = m_box->bouquets().first().services;
    QCOMPARE(tree.count(u"e2eventlist/e2event"_s), services.size());
    const QStringList references = tree.values(u"e2eventlist/e2event/e2eventservicereference"_s);
    const QStringList ids = tree.values(u"e2eventlist/e2event/e2eventid"_s);
    const QStringList starts = tree.values(u"e2eventlist/e2event/e2eventstart"_s);
    const QStringList durations = tree.values(u"e2eventlist/e2event/e2eventduration"_s);
    const QStringList titles = tree.values(u"e2eventlist/e2event/e2eventtitle"_s);
    for (int i = 0; i < services.size(); ++i) {
        QCOMPARE(references.at(i), services.at(i).reference);
        if (services.at(i).isMarker || !services.at(i).hasEpg) {
            QCOMPARE(ids.at(i), u"None"_s);
            QCOMPARE(titles.at(i), u"None"_s);
            continue;
        }
        const qint64 start = starts.at(i).toLongLong();
        QVERIFY(start <= Now && Now < start + durations.at(i).toLongLong());
        QCOMPARE(titles.at(i), m_box->currentEvent(services.at(i).reference)->title);
    }
    QVERIFY(ids.contains(u"None"_s));
    QCOMPARE(tree.values(u"e2eventlist/e2event/e2eventcurrenttime"_s).first(), QString::number(Now));
}

void TestBoxSimE2::epgNextFollowsEpgNow()
{
    const XmlTree now = xml("/web/epgnow?bRef=" + enc(favourites()));
    const XmlTree next = xml("/web/epgnext?bRef=" + enc(favourites()));
    const QStringList nowStarts = now.values(u"e2eventlist/e2event/e2eventstart"_s);
    const QStringList nowDurations = now.values(u"e2eventlist/e2event/e2eventduration"_s);
    const QStringList nextStarts = next.values(u"e2eventlist/e2event/e2eventstart"_s);
    QCOMPARE(nextStarts.size(), nowStarts.size());
    for (int i = 0; i < nowStarts.size(); ++i) {
        if (nowStarts.at(i) == u"None")
            QCOMPARE(nextStarts.at(i), u"None"_s);
        else
            QCOMPARE(nextStarts.at(i).toLongLong(),
                     nowStarts.at(i).toLongLong() + nowDurations.at(i).toLongLong());
    }
}

void TestBoxSimE2::emptyAnswers_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("body");
    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    QTest::newRow("EPG of an unknown service") << "/web/epgservice?sRef=1:0:1:DEAD:1:1:0:0:0:0:"_ba
                                               << declaration + "<e2eventlist>\n</e2eventlist>\n";
    QTest::newRow("EPG of a service without EPG") << "/web/epgservice?sRef=1:0:19:2B7A:3FB:1:C00000:0:0:0:"_ba
                                                  << declaration + "<e2eventlist>\n</e2eventlist>\n";
    QTest::newRow("now events of an unknown bouquet")
        << "/web/epgnow?bRef=nothing"_ba << declaration + "<e2eventlist>\n</e2eventlist>\n";
    QTest::newRow("search without hits")
        << "/web/epgsearch?search=Zzyzx"_ba << declaration + "<e2eventlist>\n</e2eventlist>\n";
}

void TestBoxSimE2::emptyAnswers()
{
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, body);
    const Fetched fetched = get(target);
    QCOMPARE(fetched.status, 200);
    QCOMPARE(fetched.body, body);
}

void TestBoxSimE2::errorAnswers_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<int>("status");
    QTest::newRow("unknown web path") << "/web/nothing"_ba << 404;
    QTest::newRow("outside the web interface") << "/cgi-bin/status"_ba << 404;
    QTest::newRow("zap without reference") << "/web/zap"_ba << 500;
    QTest::newRow("EPG without reference") << "/web/epgservice"_ba << 500;
    QTest::newRow("timer add without event id") << "/web/timeraddbyeventid?sRef=x"_ba << 500;
    QTest::newRow("timer delete without end") << "/web/timerdelete?sRef=x&begin=1"_ba << 500;
}

void TestBoxSimE2::errorAnswers()
{
    QFETCH(QByteArray, target);
    QFETCH(int, status);
    const Fetched fetched = get(target);
    QCOMPARE(fetched.status, status);
    QVERIFY(fetched.contentType.startsWith("text/html"));
    QVERIFY(fetched.body.contains("<html>"));
}

void TestBoxSimE2::zapChangesTheCurrentService()
{
    const QString zdf = service(1);
    const XmlTree answer = xml("/web/zap?sRef=" + enc(zdf));
    QCOMPARE(answer.value(u"e2simplexmlresult/e2state"_s), u"True"_s);
    QCOMPARE(answer.value(u"e2simplexmlresult/e2statetext"_s), u"Active service is now '"_s + zdf + u"'"_s);
    QCOMPARE(m_box->currentServiceReference(), zdf);
    const XmlTree current = xml("/web/getcurrent");
    QCOMPARE(current.value(u"e2currentserviceinformation/e2service/e2servicereference"_s), zdf);
    QCOMPARE(current.value(u"e2currentserviceinformation/e2service/e2servicename"_s), u"ZDF HD"_s);
    QCOMPARE(current.values(u"e2currentserviceinformation/e2eventlist/e2event/e2eventtitle"_s),
             QStringList({m_box->currentEvent(zdf)->title, m_box->nextEvent(zdf)->title}));
}

void TestBoxSimE2::zapToUnknownReferenceAnswersTrue()
{
    const QString nowhere = u"1:0:1:BEEF:1:1:C00000:0:0:0:"_s;
    QCOMPARE(xml("/web/zap?sRef=" + enc(nowhere)).value(u"e2simplexmlresult/e2state"_s), u"True"_s);
    const XmlTree current = xml("/web/getcurrent");
    QCOMPARE(current.value(u"e2currentserviceinformation/e2service/e2servicereference"_s), nowhere);
    QCOMPARE(current.value(u"e2currentserviceinformation/e2service/e2servicename"_s), QString());
    QCOMPARE(current.values(u"e2currentserviceinformation/e2eventlist/e2event/e2eventtitle"_s),
             QStringList({u"N/A"_s, u"N/A"_s}));
}

void TestBoxSimE2::powerStateCommands_data()
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

void TestBoxSimE2::powerStateCommands()
{
    QFETCH(bool, standbyBefore);
    QFETCH(int, newState);
    QFETCH(bool, standbyAfter);
    m_box->setStandby(standbyBefore);
    const XmlTree answer = xml("/web/powerstate?newstate=" + QByteArray::number(newState));
    // The answer reports the state from before the command, as receivers do.
    QCOMPARE(answer.value(u"e2powerstate/e2instandby"_s), standbyBefore ? u"true"_s : u"false"_s);
    QCOMPARE(m_box->isStandby(), standbyAfter);
    QCOMPARE(xml("/web/powerstate").value(u"e2powerstate/e2instandby"_s),
             standbyAfter ? u"true"_s : u"false"_s);
}

void TestBoxSimE2::volumeCommands_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("muted");
    QTest::newRow("status") << "/web/vol"_ba << u"True"_s << u"Status"_s << 45 << u"False"_s;
    QTest::newRow("empty set") << "/web/vol?set"_ba << u"False"_s << u"Unknown Volume command"_s << 45
                               << u"False"_s;
    QTest::newRow("set 30") << "/web/vol?set=set30"_ba << u"True"_s << u"Volume set to 30"_s << 30
                            << u"False"_s;
    QTest::newRow("set above 100") << "/web/vol?set=set150"_ba << u"True"_s << u"Volume set to 100"_s << 100
                                   << u"False"_s;
    QTest::newRow("set not a number")
        << "/web/vol?set=setabc"_ba << u"False"_s << u"Wrong parameter format 'set=setabc'. Use set=set15"_s
        << 45 << u"False"_s;
    QTest::newRow("mute") << "/web/vol?set=mute"_ba << u"True"_s << u"Mute toggled"_s << 45 << u"True"_s;
    QTest::newRow("up") << "/web/vol?set=up"_ba << u"True"_s << u"Volume changed"_s << 50 << u"False"_s;
}

void TestBoxSimE2::volumeCommands()
{
    QFETCH(QByteArray, target);
    QFETCH(QString, result);
    QFETCH(QString, text);
    QFETCH(int, current);
    QFETCH(QString, muted);
    const Fetched fetched = get(target);
    QVERIFY(fetched.body.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>"));
    const XmlTree tree = XmlTree::parse(fetched.body);
    QCOMPARE(tree.value(u"e2volume/e2result"_s), result);
    QCOMPARE(tree.value(u"e2volume/e2resulttext"_s), text);
    QCOMPARE(tree.value(u"e2volume/e2current"_s).toInt(), current);
    QCOMPARE(tree.value(u"e2volume/e2ismuted"_s), muted);
    QCOMPARE(m_box->volume(), current);
}

void TestBoxSimE2::timerFollowsTheClockIntoARecording()
{
    m_box->clearTimers();
    const QString zdf = service(1);
    const boxsim::Event event = *m_box->nextEvent(zdf);
    const int moviesBefore = int(m_box->movies().size());
    const XmlTree added = xml("/web/timeraddbyeventid?sRef=" + enc(zdf) +
                              "&eventid=" + QByteArray::number(event.id) + "&justplay=0");
    QCOMPARE(added.value(u"e2simplexmlresult/e2state"_s), u"True"_s);
    QCOMPARE(added.value(u"e2simplexmlresult/e2statetext"_s), u"Timer '"_s + event.title + u"' added"_s);

    const auto timerState = [this] { return xml("/web/timerlist").value(u"e2timerlist/e2timer/e2state"_s); };
    const XmlTree list = xml("/web/timerlist");
    QCOMPARE(list.count(u"e2timerlist/e2timer"_s), 1);
    QCOMPARE(list.value(u"e2timerlist/e2timer/e2eit"_s), QString::number(event.id));
    const qint64 begin = list.value(u"e2timerlist/e2timer/e2timebegin"_s).toLongLong();
    const qint64 end = list.value(u"e2timerlist/e2timer/e2timeend"_s).toLongLong();
    QCOMPARE(begin, event.start - 300);
    QCOMPARE(end, event.end() + 600);
    QCOMPARE(timerState(), u"0"_s);

    m_box->setFixedTime(begin - 10);
    QCOMPARE(timerState(), u"1"_s);
    m_box->setFixedTime(begin);
    QCOMPARE(timerState(), u"2"_s);
    QVERIFY(m_box->isRecording());
    m_box->setFixedTime(end);
    QCOMPARE(timerState(), u"3"_s);
    QVERIFY(!m_box->isRecording());
    // The finished recording is a movie now.
    const XmlTree movies = xml("/web/movielist");
    QCOMPARE(movies.count(u"e2movielist/e2movie"_s), moviesBefore + 1);
    QCOMPARE(movies.values(u"e2movielist/e2movie/e2title"_s).last(), event.title);
}

void TestBoxSimE2::overlappingRecordingIsAConflict()
{
    m_box->clearTimers();
    const QString zdf = service(1);
    const QString pro7 = service(4);
    const boxsim::Event first = *m_box->nextEvent(zdf);
    QCOMPARE(xml("/web/timeraddbyeventid?sRef=" + enc(zdf) + "&eventid=" + QByteArray::number(first.id) +
                 "&justplay=0")
                 .value(u"e2simplexmlresult/e2state"_s),
             u"True"_s);
    // An event of another service that overlaps the first recording.
    const QList<boxsim::Event> events = m_box->events(pro7);
    const auto overlapping = std::find_if(events.cbegin(), events.cend(), [&](const boxsim::Event& e) {
        return e.start < first.end() && first.start < e.end();
    });
    QVERIFY(overlapping != events.cend());
    const QByteArray target =
        "/web/timeraddbyeventid?sRef=" + enc(pro7) + "&eventid=" + QByteArray::number(overlapping->id);
    const XmlTree conflict = xml(target + "&justplay=0");
    QCOMPARE(conflict.value(u"e2simplexmlresult/e2state"_s), u"False"_s);
    QCOMPARE(conflict.value(u"e2simplexmlresult/e2statetext"_s),
             u"Conflicting Timer(s) detected! "_s + first.title);
    QCOMPARE(m_box->timers().size(), 1);
    // A zap timer needs no tuner for long and is accepted.
    QCOMPARE(xml(target + "&justplay=1").value(u"e2simplexmlresult/e2state"_s), u"True"_s);
    QCOMPARE(m_box->timers().size(), 2);
}

void TestBoxSimE2::timerForUnknownEventIsRefused()
{
    const XmlTree answer =
        xml("/web/timeraddbyeventid?sRef=" + enc(service(1)) + "&eventid=99999&justplay=0");
    QCOMPARE(answer.value(u"e2simplexmlresult/e2state"_s), u"False"_s);
    QCOMPARE(answer.value(u"e2simplexmlresult/e2statetext"_s), u"EventId not found"_s);
}

void TestBoxSimE2::zapTimerZapsWhenItBegins()
{
    m_box->clearTimers();
    const QString pro7 = service(4);
    const boxsim::Event event = *m_box->nextEvent(pro7);
    QCOMPARE(xml("/web/timeraddbyeventid?sRef=" + enc(pro7) + "&eventid=" + QByteArray::number(event.id) +
                 "&justplay=1")
                 .value(u"e2simplexmlresult/e2state"_s),
             u"True"_s);
    QVERIFY(m_box->currentServiceReference() != pro7);
    m_box->setFixedTime(event.start - 300);
    QCOMPARE(xml("/web/getcurrent").value(u"e2currentserviceinformation/e2service/e2servicereference"_s),
             pro7);
}

void TestBoxSimE2::timerDeleteAndCleanup()
{
    const QList<boxsim::Timer> timers = m_box->timers();
    QCOMPARE(timers.size(), 3);
    QCOMPARE(timers.first().state, boxsim::TimerState::Ended);
    const boxsim::Timer waiting = timers.at(1);

    const XmlTree missing =
        xml("/web/timerdelete?sRef=" + enc(waiting.serviceReference) +
            "&begin=" + QByteArray::number(waiting.begin) + "&end=" + QByteArray::number(waiting.end + 1));
    QCOMPARE(missing.value(u"e2simplexmlresult/e2state"_s), u"False"_s);
    QCOMPARE(missing.value(u"e2simplexmlresult/e2statetext"_s), u"No matching Timer found"_s);

    const XmlTree deleted =
        xml("/web/timerdelete?sRef=" + enc(waiting.serviceReference) +
            "&begin=" + QByteArray::number(waiting.begin) + "&end=" + QByteArray::number(waiting.end));
    QCOMPARE(deleted.value(u"e2simplexmlresult/e2state"_s), u"True"_s);
    QCOMPARE(deleted.value(u"e2simplexmlresult/e2statetext"_s),
             u"The timer '"_s + waiting.name + u"' has been deleted successfully"_s);
    QCOMPARE(m_box->timers().size(), 2);

    // Finished timers stay until a clean-up.
    QCOMPARE(xml("/web/timercleanup?cleanup=true").value(u"e2simplexmlresult/e2statetext"_s),
             u"List of Timers has been cleaned"_s);
    const XmlTree list = xml("/web/timerlist");
    QCOMPARE(list.count(u"e2timerlist/e2timer"_s), 1);
    QCOMPARE(list.value(u"e2timerlist/e2timer/e2justplay"_s), u"1"_s);

    m_box->clearTimers();
    QCOMPARE(get("/web/timerlist").body,
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<e2timerlist>\n</e2timerlist>\n"_ba);
}

void TestBoxSimE2::instantRecordRunsUntilTheEventEnds()
{
    m_box->clearTimers();
    const boxsim::Event event = *m_box->currentEvent(m_box->currentServiceReference());
    const XmlTree answer = xml("/web/recordnow?recordnow=true");
    QCOMPARE(answer.value(u"e2simplexmlresult/e2statetext"_s), u"Instant record for current Event started"_s);
    QVERIFY(m_box->isRecording());
    const XmlTree list = xml("/web/timerlist");
    QCOMPARE(list.value(u"e2timerlist/e2timer/e2state"_s), u"2"_s);
    QCOMPARE(list.value(u"e2timerlist/e2timer/e2timeend"_s).toLongLong(), event.end());
    m_box->setFixedTime(event.end());
    QVERIFY(!m_box->isRecording());
    QCOMPARE(m_box->movies().last().title, event.title);
}

void TestBoxSimE2::moviePlaybackPositionMoves()
{
    const QString live = m_box->currentServiceReference();
    const boxsim::Movie movie = m_box->movies().first();
    xml("/web/zap?sRef=" + enc(movie.reference));
    QVERIFY(m_box->isPlaying());
    const XmlTree current = xml("/web/getcurrent");
    QCOMPARE(current.value(u"e2currentserviceinformation/e2service/e2servicereference"_s), movie.reference);
    QCOMPARE(current.value(u"e2currentserviceinformation/e2service/e2servicename"_s), movie.title);

    QCOMPARE(m_box->playbackPosition(), 0);
    m_box->advanceTime(120);
    QCOMPARE(m_box->playbackPosition(), 120);
    xml("/web/remotecontrol?command=400"); // yellow: pause
    m_box->advanceTime(60);
    QCOMPARE(m_box->playbackPosition(), 120);
    QVERIFY(m_box->isPaused());
    xml("/web/remotecontrol?command=399"); // green: play
    m_box->advanceTime(30);
    QCOMPARE(m_box->playbackPosition(), 150);
    xml("/web/remotecontrol?command=401"); // blue: forward
    QCOMPARE(m_box->playbackPosition(), 210);
    xml("/web/remotecontrol?command=398"); // red: rewind
    QCOMPARE(m_box->playbackPosition(), 150);
    xml("/web/remotecontrol?command=174"); // exit asks to stop, OK confirms
    QVERIFY(m_box->isPlaying());
    xml("/web/remotecontrol?command=352");
    QVERIFY(!m_box->isPlaying());
    QCOMPARE(xml("/web/getcurrent").value(u"e2currentserviceinformation/e2service/e2servicereference"_s),
             live);

    // Playback ends by itself at the end of the recording.
    xml("/web/zap?sRef=" + enc(movie.reference));
    m_box->advanceTime(movie.lengthSeconds);
    QVERIFY(!m_box->isPlaying());
}

void TestBoxSimE2::movieDeleteFreesTheDisk()
{
    const QList<boxsim::Movie> movies = m_box->movies();
    const double freeBefore =
        xml("/web/about").value(u"e2abouts/e2about/e2hddinfo/free"_s).split(u' ').first().toDouble();
    const XmlTree deleted = xml("/web/moviedelete?sRef=" + enc(movies.first().reference));
    QCOMPARE(deleted.value(u"e2simplexmlresult/e2state"_s), u"True"_s);
    QCOMPARE(deleted.value(u"e2simplexmlresult/e2statetext"_s),
             u"The movie '"_s + movies.first().title + u"' has been deleted successfully"_s);
    const XmlTree list = xml("/web/movielist");
    QCOMPARE(list.count(u"e2movielist/e2movie"_s), movies.size() - 1);
    QVERIFY(!list.values(u"e2movielist/e2movie/e2servicereference"_s).contains(movies.first().reference));
    const double freeAfter =
        xml("/web/about").value(u"e2abouts/e2about/e2hddinfo/free"_s).split(u' ').first().toDouble();
    QVERIFY(freeAfter > freeBefore + 4.9);

    const XmlTree again = xml("/web/moviedelete?sRef=" + enc(movies.first().reference));
    QCOMPARE(again.value(u"e2simplexmlresult/e2state"_s), u"False"_s);

    m_box->setMovies({});
    const XmlTree empty = xml("/web/movielist");
    QCOMPARE(empty.count(u"e2movielist/e2movie"_s), 0);
    QCOMPARE(empty.count(u"e2movielist/e2locations"_s), 1);
}

void TestBoxSimE2::messageAnswers_data()
{
    QTest::addColumn<QList<boxsim::MessageAnswer>>("script");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("text");
    QTest::newRow("question answered yes")
        << QList{boxsim::MessageAnswer::Yes} << 0 << u"True"_s << u"Answer is YES!"_s;
    QTest::newRow("question answered no")
        << QList{boxsim::MessageAnswer::No} << 0 << u"True"_s << u"Answer is NO!"_s;
    QTest::newRow("question not answered")
        << QList{boxsim::MessageAnswer::NoAnswer} << 0 << u"False"_s << u"No answer in time"_s;
    QTest::newRow("plain message asks nothing")
        << QList{boxsim::MessageAnswer::Yes} << 2 << u"False"_s << u"No answer in time"_s;
}

void TestBoxSimE2::messageAnswers()
{
    QFETCH(QList<boxsim::MessageAnswer>, script);
    QFETCH(int, type);
    QFETCH(QString, state);
    QFETCH(QString, text);
    m_box->scriptMessageAnswers(script);
    const XmlTree sent =
        xml("/web/message?text=Aufnahme%20%26%20Co%3F&type=" + QByteArray::number(type) + "&timeout=30");
    QCOMPARE(sent.value(u"e2simplexmlresult/e2statetext"_s), u"Message sent successfully!"_s);
    QCOMPARE(m_box->messages().last().text, u"Aufnahme & Co?"_s);
    QCOMPARE(m_box->messages().last().timeout, 30);
    const XmlTree answer = xml("/web/messageanswer?getanswer=True");
    QCOMPARE(answer.value(u"e2simplexmlresult/e2state"_s), state);
    QCOMPARE(answer.value(u"e2simplexmlresult/e2statetext"_s), text);
    // A question is answered once.
    QCOMPARE(xml("/web/messageanswer?getanswer=True").value(u"e2simplexmlresult/e2statetext"_s),
             u"No answer in time"_s);
}

void TestBoxSimE2::epgSearchAndSimilarEvents()
{
    const XmlTree found = xml("/web/epgsearch?search=tatort");
    QVERIFY(found.ok);
    const QStringList titles = found.values(u"e2eventlist/e2event/e2eventtitle"_s);
    QVERIFY(!titles.isEmpty());
    for (const QString& title : titles)
        QVERIFY(title.contains(u"Tatort"_s));
    QVERIFY(found.values(u"e2eventlist/e2event/e2eventcurrenttime"_s).contains(u"None"_s));

    const QString das = service(0);
    const QList<boxsim::Event> events = m_box->events(das);
    const boxsim::Event event = events.at(events.size() / 2);
    const XmlTree similar =
        xml("/web/epgsimilar?sRef=" + enc(das) + "&eventid=" + QByteArray::number(event.id));
    QVERIFY(similar.ok);
    const QStringList similarTitles = similar.values(u"e2eventlist/e2event/e2eventtitle"_s);
    QVERIFY(!similarTitles.isEmpty());
    for (const QString& title : similarTitles)
        QCOMPARE(title, event.title);
    const QStringList ids = similar.values(u"e2eventlist/e2event/e2eventid"_s);
    const QStringList references = similar.values(u"e2eventlist/e2event/e2eventservicereference"_s);
    for (int i = 0; i < ids.size(); ++i)
        QVERIFY(!(ids.at(i) == QString::number(event.id) && references.at(i) == das));
}

void TestBoxSimE2::requestLogKeepsExactTargetsInOrder()
{
    const QByteArray zap = "/web/zap?sRef=" + enc(service(1));
    get("/web/powerstate");
    get(zap);
    get("/web/epgsearch?search=Sch%C3%B6ne+Bescherung");
    QCOMPARE(m_box->requestTargets(),
             QList<QByteArray>({"/web/powerstate", zap, "/web/epgsearch?search=Sch%C3%B6ne+Bescherung"}));
    const QList<boxsim::LoggedRequest> requests = m_box->requests();
    QCOMPARE(requests.size(), 3);
    QCOMPARE(requests.at(0).method, "GET"_ba);
    QCOMPARE(requests.at(0).hasQuery, false);
    QCOMPARE(requests.at(1).queryValue(u"sRef"_s), service(1));
    QCOMPARE(requests.at(2).queryValue(u"search"_s), u"Schöne Bescherung"_s);
    QCOMPARE(requests.at(2).clockTime, Now);
    QCOMPARE(requests.at(2).status, 200);
    QVERIFY(requests.at(0).sequence < requests.at(1).sequence &&
            requests.at(1).sequence < requests.at(2).sequence);
}

void TestBoxSimE2::stateSetThroughTheLibraryShowsInAnswers()
{
    m_box->setCurrentService(service(4));
    QCOMPARE(xml("/web/getcurrent").value(u"e2currentserviceinformation/e2service/e2servicename"_s),
             u"ProSieben"_s);
    m_box->setStandby(true);
    QCOMPARE(xml("/web/powerstate").value(u"e2powerstate/e2instandby"_s), u"true"_s);
    m_box->setVolume(12);
    m_box->setMuted(true);
    const XmlTree volume = xml("/web/vol");
    QCOMPARE(volume.value(u"e2volume/e2current"_s), u"12"_s);
    QCOMPARE(volume.value(u"e2volume/e2ismuted"_s), u"True"_s);

    const boxsim::Movie movie = m_box->movies().at(1);
    m_box->playMovie(movie.reference);
    m_box->setPlaybackPosition(300);
    QCOMPARE(m_box->playbackPosition(), 300);
    QCOMPARE(xml("/web/getcurrent").value(u"e2currentserviceinformation/e2service/e2servicereference"_s),
             movie.reference);
    m_box->stopPlayback();
    QCOMPARE(m_box->currentServiceReference(), service(4));

    m_box->clearTimers();
    QVERIFY(m_box->startRecording());
    QCOMPARE(xml("/web/timerlist").value(u"e2timerlist/e2timer/e2state"_s), u"2"_s);
    m_box->advanceTime(60);
    m_box->stopRecording();
    QCOMPARE(xml("/web/timerlist").value(u"e2timerlist/e2timer/e2state"_s), u"3"_s);
    QCOMPARE(m_box->movies().last().lengthSeconds, 60);

    boxsim::Timer timer;
    timer.serviceReference = service(1);
    timer.serviceName = u"ZDF HD"_s;
    timer.name = u"Von Hand"_s;
    timer.begin = Now + 3600;
    timer.end = Now + 7200;
    QVERIFY(m_box->addTimer(timer));
    QVERIFY(!m_box->addTimer(timer)); // the same time again overlaps
    QVERIFY(xml("/web/timerlist").values(u"e2timerlist/e2timer/e2name"_s).contains(u"Von Hand"_s));
}

void TestBoxSimE2::sameSeedGivesSameAnswers()
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

QTEST_GUILESS_MAIN(TestBoxSimE2)
#include "tst_boxsim_e2.moc"
