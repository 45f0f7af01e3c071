// The Enigma1 personality over real HTTP: commands answer 204 with an empty body, pages close the
// connection after their Content-Length, references are decoded twice and printed escaped, and
// the living state behind the pages reacts. How the application reads the pages themselves is
// pinned by its own tests against this receiver.

#include "tests/boxsim/receivertest.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using boxsimtest::afterMarker;
using boxsimtest::Client;
using boxsimtest::enc;
using boxsimtest::Fetched;
using boxsimtest::Now;
using boxsimtest::XmlTree;

namespace {

// The receiver's escaping of references printed into pages: letters, digits and ':' stay, every
// other byte becomes '%' and lower-case hex without zero padding.
QByteArray escaped(const QString& reference)
{
    QByteArray out;
    for (const char c : reference.toUtf8()) {
        const uchar u = uchar(c);
        if (std::isalnum(u) || u == ':')
            out += c;
        else
            out += '%' + QByteArray::number(u, 16);
    }
    return out;
}

// A variable of the data page; its script names the variables once before they are set, so the
// values are read behind "updateCycleTime" as scrapers do.
QString dataValue(const QString& page, const QString& marker, int offset, const QString& terminator)
{
    return afterMarker(page.mid(page.indexOf(u"updateCycleTime"_s)), marker, offset, terminator);
}

} // namespace

class TestBoxSimE1 : public boxsimtest::ReceiverTest
{
    Q_OBJECT

public:
    TestBoxSimE1()
        : ReceiverTest(boxsim::Personality::Enigma1, PowerDowntime::None)
    {}

private:
    QString page(const QByteArray& target)
    {
        const Fetched fetched = get(target);
        [&] { QCOMPARE(fetched.status, 200); }();
        return QString::fromUtf8(fetched.body);
    }
    void command(const QByteArray& target)
    {
        const Fetched fetched = get(target);
        QCOMPARE(fetched.status, 204);
        QVERIFY(fetched.body.isEmpty());
    }
    QString data(const QString& marker, int offset, const QString& terminator)
    {
        return dataValue(page("/data"), marker, offset, terminator);
    }
    QString status(const QString& marker, int offset, int length)
    {
        const QString text = page("/cgi-bin/status");
        return text.mid(text.indexOf(marker) + offset, length);
    }
    QString service(int bouquet, int index) const
    {
        return m_box->bouquets().at(bouquet).services.at(index).reference;
    }

private slots:
    void answersCloseTheConnection_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("status"); // 204: a command, answered without a body

        boxsim::BoxSim box(boxsim::Personality::Enigma1);
        const QByteArray movie = escaped(box.movies().first().reference);
        for (const char* command : {"forward", "rewind", "play", "record", "pause", "stop"})
            QTest::addRow("video control %s", command)
                << "/cgi-bin/videocontrol?command="_ba + command << 204;
        QTest::newRow("video position") << "/setVideo?position=10"_ba << 204;
        QTest::newRow("remote key") << "/cgi-bin/rc?352"_ba << 204;
        QTest::newRow("set volume") << "/setVolume?volume=30"_ba << 204;
        QTest::newRow("zap") << "/cgi-bin/zapTo?path="_ba +
                                    enc(box.bouquets().first().services.first().reference)
                             << 204;
        QTest::newRow("movie rename") << "/cgi-bin/renameMovie?ref="_ba + movie + "&desc=Neu" << 204;
        QTest::newRow("movie delete") << "/cgi-bin/deleteMovie?ref="_ba + movie << 204;
        QTest::newRow("timer cleanup") << "/cleanupTimerList"_ba << 204;
        QTest::newRow("data page") << "/data"_ba << 200;
        QTest::newRow("timer list") << "/xml/timers"_ba << 200;
        QTest::newRow("message") << "/cgi-bin/xmessage?caption=Hi&timeout=-1&body=Text"_ba << 200;
        QTest::newRow("admin command") << "/cgi-bin/admin?command=wakeup"_ba << 200;
    }

    void answersCloseTheConnection()
    {
        QFETCH(QByteArray, target);
        QFETCH(int, status);
        const QByteArray answer = boxsimtest::rawGet(m_box->port(), target);
        QVERIFY2(answer.startsWith(QByteArray("HTTP/1.1 " + QByteArray::number(status))),
                 answer.left(40).constData());
        const qsizetype headEnd = answer.indexOf("\r\n\r\n");
        QVERIFY(headEnd > 0);
        const QByteArray head = answer.left(headEnd);
        const qsizetype bodySize = answer.size() - headEnd - 4;
        QVERIFY(head.contains("Connection: close"));
        QVERIFY(head.contains(QByteArray("Content-Length: " + QByteArray::number(bodySize))));
        QCOMPARE(bodySize == 0, status == 204);
        QCOMPARE(m_box->requestTargets(), QList<QByteArray>{target});
    }

    void statusPageAlwaysAsksForLogin()
    {
        Client anonymous;
        const Fetched refused = anonymous.get(m_box->baseUrl(), "/cgi-bin/status");
        QCOMPARE(refused.status, 401);
        QCOMPARE(refused.authenticate, "Basic realm=\"Enigma1 WebInterface\""_ba);
        QVERIFY(!m_box->requests().last().authorized);
        QCOMPARE(anonymous.get(m_box->baseUrl(), "/data").status, 200);
        QCOMPARE(get("/cgi-bin/status").status, 200);
        QCOMPARE(m_box->requests().last().user, u"root"_s);

        // With credentials set, every path asks for them.
        m_box->setCredentials(u"admin"_s, u"geheim"_s);
        QCOMPARE(get("/data").status, 401);
        Client client;
        client.setCredentials(u"admin"_s, u"geheim"_s);
        QCOMPARE(client.get(m_box->baseUrl(), "/data").status, 200);
        QCOMPARE(client.get(m_box->baseUrl(), "/cgi-bin/status").status, 200);
        QCOMPARE(m_box->requests().last().user, u"admin"_s);
    }

    void dataPageAndServiceListing()
    {
        const QString text = page("/data");
        static const QRegularExpression variable(u"var (\\w+) = "_s);
        QStringList names;
        for (auto it = variable.globalMatch(text); it.hasNext();)
            names.append(it.next().captured(1));
        QCOMPARE(names.join(u' '),
                 u"updateCycleTime standby serviceName nowT nowD nowSt nextT nextD nextSt diskGB "
                 "diskH apid vpid ip lock upTime volume mute dolby crypt format recording "
                 "vlcparms serviceReference videoTime videoPosition agc snr ber "
                 "streamingClientStatus"_s);
        const boxsim::Event now = *m_box->currentEvent(m_box->currentServiceReference());
        QCOMPARE(dataValue(text, u"nowSt"_s, 9, u"\";"_s), now.title);
        QCOMPARE(dataValue(text, u"nowD"_s, 8, u"\";"_s),
                 u"("_s + QString::number(now.duration / 60) + u")"_s);

        // "selected" marks the bouquet of the current service; renamed and lost services keep what
        // the receiver shows for them; an empty bouquet is followed directly by the next one.
        const auto listing = [this] {
            return page("/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true")
                .split(u'\n', Qt::SkipEmptyParts);
        };
        const QString favourites = m_box->bouquets().at(0).reference;
        QStringList lines = listing();
        QCOMPARE(lines.first(), favourites + u";Favourites (TV);selected"_s);
        QVERIFY(lines.contains(u"1:0:1:6d67:437:1:c00000:0:0:0:;Mein 3sat;192"_s));
        QVERIFY(lines.contains(u"1:0:1:1fa4:4b1:1:c00000:0:0:0:;unnamed service;unnamed provider"_s));
        QVERIFY(
            lines.at(lines.indexOf(m_box->bouquets().at(2).reference + u";Neu"_s) + 1).startsWith(u"4097"_s));
        command("/cgi-bin/zapTo?path=" + enc(service(3, 1)));
        lines = listing();
        QVERIFY(lines.contains(m_box->bouquets().at(3).reference + u";Last Scanned;selected"_s));
        QVERIFY(lines.contains(favourites + u";Favourites (TV)"_s));
    }

    void playbackPositionOnTheDataPage()
    {
        const boxsim::Movie movie = m_box->movies().first();
        const int half = movie.lengthSeconds / 2;
        command("/cgi-bin/zapTo?path=" + escaped(movie.reference));
        QCOMPARE(status(u"Mode:"_s, 14, 1), u"2"_s);
        // The status page prints the reference escaped again.
        QCOMPARE(afterMarker(page("/cgi-bin/status"), u"Current service reference:"_s, 35, u"</td></tr>"_s),
                 QString::fromLatin1(escaped(movie.reference)));
        m_box->advanceTime(125);
        QCOMPARE(data(u"videoTime"_s, 13, u"\";"_s), u"2:05"_s);
        QCOMPARE(data(u"videoPosition"_s, 16, u";"_s), QString::number(125 * 20 / movie.lengthSeconds));

        command("/setVideo?position=10");
        QCOMPARE(m_box->playbackPosition(), half);
        QCOMPARE(data(u"videoPosition"_s, 16, u";"_s), u"10"_s);
        // Each step: a video command, seconds that pass, then the position.
        const QList<std::tuple<QByteArray, int, int>> steps{
            {"pause", 600, half}, {"play", 60, half + 60}, {"rewind", 0, half}};
        for (const auto& [videoCommand, seconds, position] : steps) {
            command("/cgi-bin/videocontrol?command=" + videoCommand);
            m_box->advanceTime(seconds);
            QCOMPARE(m_box->playbackPosition(), position);
        }
        command("/cgi-bin/videocontrol?command=stop");
        QVERIFY(!m_box->isPlaying());
        QCOMPARE(data(u"videoTime"_s, 13, u"\";"_s), u"0:00"_s);
        QCOMPARE(data(u"videoPosition"_s, 16, u";"_s), u"0"_s);
        QCOMPARE(status(u"Mode:"_s, 14, 1), u"0"_s);
    }

    // The movie page of an empty disk names "none" as title and as reference.
    void emptyMovieListReadsNone()
    {
        for (const boxsim::Movie& movie : m_box->movies())
            command("/cgi-bin/deleteMovie?ref=" + escaped(movie.reference));
        QVERIFY(m_box->movies().isEmpty());
        const QString empty = page("/body?mode=zap&zapmode=3&zapsubmode=1");
        QVERIFY(empty.contains(u"channels[0] = new Array(\"none\");"_s));
        QVERIFY(empty.contains(u"channelRefs[0] = new Array(\"none\");"_s));
    }

    void timersAddDeleteAndCleanup()
    {
        m_box->clearTimers();
        const QString zdf = service(0, 1);
        const boxsim::Event event = *m_box->nextEvent(zdf);
        const QByteArray add = "/addTimerEvent?ref=" + enc(zdf) +
                               "&start=" + QByteArray::number(event.start) +
                               "&duration=" + QByteArray::number(event.duration) +
                               "&descr=" + enc(event.title) + "&channel=ZDF&after_event=0";
        QCOMPARE(get(add).body, "Timer event was created successfully."_ba);
        const XmlTree list = XmlTree::parse(get("/xml/timers").body);
        QCOMPARE(list.count(u"timers/timer"_s), 1);
        const QDateTime begin = QDateTime::fromSecsSinceEpoch(event.start);
        QCOMPARE(
            list.line(u"timers/timer"_s, {u"status"_s, u"action"_s, u"service/reference"_s, u"event/start"_s,
                                          u"event/duration"_s, u"event/date"_s, u"event/time"_s}),
            QStringList({u"ACTIVE"_s, u"DVR"_s, zdf, QString::number(event.start),
                         QString::number(event.duration), begin.toString(u"dd.MM.yyyy"_s),
                         begin.toString(u"HH:mm"_s)})
                .join(u'|'));

        // Finished timers stay until the list is cleaned up.
        m_box->setFixedTime(event.end());
        QCOMPARE(XmlTree::parse(get("/xml/timers").body).value(u"timers/timer/status"_s), u"FINISHED"_s);
        command("/cleanupTimerList");
        QVERIFY(m_box->timers().isEmpty());

        // Delete by reference, start and type data.
        m_box->setFixedTime(Now);
        QVERIFY(get(add).body.contains("successfully"));
        const QString typeData = XmlTree::parse(get("/xml/timers").body).value(u"timers/timer/typedata"_s);
        const QByteArray remove = "/deleteTimerEvent?ref=" + escaped(zdf) +
                                  "&start=" + QByteArray::number(event.start) +
                                  "&type=" + typeData.toLatin1() + "&force=yes";
        get(remove);
        QVERIFY(m_box->timers().isEmpty());
        // What is gone cannot be deleted again.
        QVERIFY(!get(remove).body.contains("successfully"));
    }

    void volumeStandbyAndRecordingOnThePages()
    {
        const auto volumeAndMute = [this]() -> QString {
            const QString text = page("/data");
            return dataValue(text, u"var volume"_s, 13, u";"_s) + u'|' +
                   dataValue(text, u"mute"_s, 7, u";"_s);
        };
        QCOMPARE(volumeAndMute(), u"40|0"_s);
        // Each command with what the data page shows after it: a volume beyond the receiver's scale
        // is ignored, and the volume reads 0 while muted.
        const QList<std::pair<QByteArray, QString>> steps{{"/setVolume?volume=63"_ba, u"63|0"_s},
                                                          {"/setVolume?volume=80"_ba, u"63|0"_s},
                                                          {"/cgi-bin/rc?114"_ba, u"60|0"_s},
                                                          {"/cgi-bin/rc?113"_ba, u"0|1"_s},
                                                          {"/cgi-bin/rc?113"_ba, u"60|0"_s}};
        for (const auto& [target, shown] : steps) {
            command(target);
            QCOMPARE(volumeAndMute(), shown);
        }

        QVERIFY(page("/cgi-bin/admin?command=standby").contains(u"Standby initiated..."_s));
        QCOMPARE(status(u"Standby:"_s, 17, 3), u"ON<"_s);
        QCOMPARE(data(u"var standby"_s, 14, u";"_s), u"1"_s);
        page("/cgi-bin/admin?command=wakeup");
        QVERIFY(!m_box->isStandby());

        const int movies = int(m_box->movies().size());
        command("/cgi-bin/videocontrol?command=record");
        QCOMPARE(status(u"Recording:"_s, 19, 2), u"ON"_s);
        QCOMPARE(data(u"var recording"_s, 16, u";"_s), u"1"_s);
        m_box->advanceTime(600);
        command("/cgi-bin/videocontrol?command=stop");
        QVERIFY(!m_box->isRecording());
        QCOMPARE(m_box->movies().size(), movies + 1);
        QCOMPARE(m_box->movies().last().lengthSeconds, 600);
    }

    void messageAnswers_data()
    {
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("complete message") << "caption=Hinweis&timeout=10&body=Aufnahme+l%C3%A4uft"_ba
                                          << "+ok"_ba;
        QTest::newRow("until confirmed") << "caption=Hinweis&timeout=-1&body=Text"_ba
                                         << "+ok"_ba;
        QTest::newRow("no timeout") << "caption=Hinweis&body=Text"_ba
                                    << "E: no timeout set"_ba;
        QTest::newRow("no caption") << "timeout=5&body=Text"_ba
                                    << "E: no caption set"_ba;
        QTest::newRow("no body") << "caption=Hinweis&timeout=5"_ba
                                 << "E: no body set"_ba;
    }

    void messageAnswers()
    {
        QFETCH(QByteArray, query);
        QFETCH(QByteArray, answer);
        QCOMPARE(get("/cgi-bin/xmessage?" + query).body, answer);
        QCOMPARE(m_box->messages().size(), answer == "+ok" ? 1 : 0);
        if (query.contains("l%C3%A4uft"))
            QCOMPARE(m_box->messages().first().text, u"Aufnahme läuft"_s);
    }

    void epgRowsAndSatelliteLock()
    {
        const QString multi = page("/getMultiEPG?ref=" + enc(m_box->bouquets().at(1).reference));
        QCOMPARE(multi.count(u"<tr><td id=\"channel\""_s), 4); // the lost service has no EPG, no row
        QVERIFY(multi.contains(u"<span class=\"channel\">A&E</span>"_s));
        QVERIFY(!page("/getMultiEPG?ref=nothing").contains(u"id=\"channel\""_s));
        // The current EPG follows a zap: the first record link is the running event.
        const QString zdf = service(0, 1);
        command("/cgi-bin/zapTo?path=" + enc(zdf));
        const QString current = page("/cgi-bin/getcurrentepg");
        QCOMPARE(afterMarker(current, u"<th colspan=\"3\">"_s, 16, u"</th>"_s), u"ZDF"_s);
        static const QRegularExpression record(
            u"javascript:record\\('[^']*','(\\d+)','(\\d+)','([^']*)','ZDF','0'\\)"_s);
        const QRegularExpressionMatch first = record.match(current);
        const boxsim::Event now = *m_box->currentEvent(zdf);
        QCOMPARE(first.capturedTexts().mid(1),
                 QStringList({QString::number(now.start), QString::number(now.duration), now.title}));
        command("/cgi-bin/zapTo?path=" + enc(service(0, 2)));
        QVERIFY(!page("/cgi-bin/getcurrentepg").contains(u"javascript:record("_s)); // no EPG, no rows

        const auto locked = [this](const QByteArray& transponder) {
            const QString text = page("/satFinder?" + transponder);
            return text.mid(text.indexOf(u">&nbsp;LOCK"_s) - 7, 7) == u"checked";
        };
        QVERIFY(!locked("10000000:27500000:0:3:192:2:"));
        QVERIFY(locked("12476000:27500000:0:3:130:2:"));
        const QString control = page("/body?mode=controlSatFinder");
        QCOMPARE(afterMarker(control, u"currentBouquet"_s, 17, u";"_s) + u'|' +
                     afterMarker(control, u"currentChannel"_s, 17, u";"_s),
                 u"1|1"_s);
    }
};

QTEST_GUILESS_MAIN(TestBoxSimE1)
#include "tst_boxsim_e1.moc"
