// The Enigma1 personality over real HTTP: commands answer 204 with an empty body, pages carry the
// markers scrapers rely on, references are decoded twice and printed escaped, and the living
// state behind it reacts.

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

// Reads a page from left to right as scrapers do: skip to a marker plus an offset, take the text
// up to a terminator, continue behind it.
class Scraper
{
public:
    explicit Scraper(const QString& page)
        : m_rest(page)
    {}

    bool skip(const QString& marker, int offset = 0)
    {
        const qsizetype at = m_rest.indexOf(marker);
        if (at < 0)
            return false;
        m_rest = m_rest.mid(at + offset);
        return true;
    }
    QString cut(const QString& terminator)
    {
        const qsizetype at = m_rest.indexOf(terminator);
        if (at < 0)
            return {};
        const QString value = m_rest.left(at);
        m_rest = m_rest.mid(at);
        return value;
    }
    QString field(const QString& marker, int offset, const QString& terminator)
    {
        return skip(marker, offset) ? cut(terminator) : QString();
    }
    // A quoted array ("a", "b") up to its closing parenthesis.
    QStringList array()
    {
        const QString body = cut(u")"_s);
        QStringList items;
        static const QRegularExpression quoted(u"\"([^\"]*)\""_s);
        for (auto it = quoted.globalMatch(body); it.hasNext();)
            items.append(it.next().captured(1));
        return items;
    }

private:
    QString m_rest;
};

// A variable of the data page; its script names the variables once before they are set, so the
// values are read behind "updateCycleTime" as scrapers do.
QString dataValue(const QString& page, const QString& marker, int offset, const QString& terminator)
{
    return afterMarker(page.mid(page.indexOf(u"updateCycleTime"_s)), marker, offset, terminator);
}

bool isInteger(const QString& s)
{
    bool ok = false;
    s.toLongLong(&ok);
    return ok;
}

} // namespace

class TestBoxSimE1 : public boxsimtest::ReceiverTest
{
    Q_OBJECT

public:
    TestBoxSimE1()
        : ReceiverTest(boxsim::Personality::Enigma1, PowerDowntime::None)
    {}

private slots:
    void everyUrlAnswersInTheReceiversFormat_data();
    void everyUrlAnswersInTheReceiversFormat();
    void pagesCloseTheConnectionWithContentLength();
    void statusPageAlwaysAsksForLogin();
    void credentialsProtectEveryPath();
    void statusPageMarkers();
    void dataPageVariablesInOrder();
    void serviceListing();
    void referencesAreDecodedTwice_data();
    void referencesAreDecodedTwice();
    void playbackPositionOnTheDataPage();
    void movieRenameAndDelete();
    void timersAddDeleteAndCleanup();
    void volumeAndMute();
    void standbyAndRecording();
    void messageAnswers_data();
    void messageAnswers();
    void currentEpgFollowsZap();
    void multiEpgRowsPerServiceWithEpg();
    void satelliteFinderLocksOnKnownTransponders();

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
    QString bouquet(int index) const { return m_box->bouquets().at(index).reference; }
    QString service(int bouquet, int index) const
    {
        return m_box->bouquets().at(bouquet).services.at(index).reference;
    }
    void checkPage(const QString& kind, const QString& text);
};

void TestBoxSimE1::everyUrlAnswersInTheReceiversFormat_data()
{
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QString>("kind"); // "204" for commands, otherwise the page to check

    boxsim::BoxSim box(boxsim::Personality::Enigma1);
    box.setFixedTime(Now);
    const QString favourites = box.bouquets().first().reference;
    const QString das = box.bouquets().first().services.first().reference;
    const QString movie = box.movies().first().reference;
    const boxsim::Event event = *box.nextEvent(box.bouquets().first().services.at(4).reference);
    const boxsim::Timer timer = box.timers().at(1);

    QTest::newRow("forward") << "/cgi-bin/videocontrol?command=forward"_ba << u"204"_s;
    QTest::newRow("rewind") << "/cgi-bin/videocontrol?command=rewind"_ba << u"204"_s;
    QTest::newRow("play") << "/cgi-bin/videocontrol?command=play"_ba << u"204"_s;
    QTest::newRow("record") << "/cgi-bin/videocontrol?command=record"_ba << u"204"_s;
    QTest::newRow("pause") << "/cgi-bin/videocontrol?command=pause"_ba << u"204"_s;
    QTest::newRow("stop") << "/cgi-bin/videocontrol?command=stop"_ba << u"204"_s;
    QTest::newRow("video position") << "/setVideo?position=10"_ba << u"204"_s;
    QTest::newRow("key OK") << "/cgi-bin/rc?352"_ba << u"204"_s;
    QTest::newRow("key exit") << "/cgi-bin/rc?1"_ba << u"204"_s;
    QTest::newRow("volume up") << "/cgi-bin/rc?115"_ba << u"204"_s;
    QTest::newRow("mute") << "/cgi-bin/rc?113"_ba << u"204"_s;
    QTest::newRow("volume down") << "/cgi-bin/rc?114"_ba << u"204"_s;
    QTest::newRow("set volume") << "/setVolume?volume=30"_ba << u"204"_s;
    QTest::newRow("status") << "/cgi-bin/status"_ba << u"status"_s;
    QTest::newRow("about") << "/body?mode=help"_ba << u"about"_s;
    QTest::newRow("data") << "/data"_ba << u"data"_s;
    QTest::newRow("services") << "/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true"_ba
                              << u"services"_s;
    QTest::newRow("current EPG") << "/cgi-bin/getcurrentepg"_ba << u"epg"_s;
    QTest::newRow("satellite finder") << "/satFinder?11836500:27500000:0:3:192:2:"_ba << u"satfinder"_s;
    QTest::newRow("satellite finder control") << "/body?mode=controlSatFinder"_ba << u"satcontrol"_s;
    QTest::newRow("movie list") << "/body?mode=zap&zapmode=3&zapsubmode=1"_ba << u"movies"_s;
    QTest::newRow("movie delete") << "/cgi-bin/deleteMovie?ref="_ba + enc(QString::fromLatin1(escaped(movie)))
                                  << u"204"_s;
    QTest::newRow("movie rename") << "/cgi-bin/renameMovie?ref="_ba +
                                         enc(QString::fromLatin1(escaped(movie))) + "&desc=Neuer%20Titel"
                                  << u"204"_s;
    QTest::newRow("multi EPG") << "/getMultiEPG?ref="_ba + enc(favourites) << u"multiepg"_s;
    QTest::newRow("zap") << "/cgi-bin/zapTo?path="_ba + enc(das) << u"204"_s;
    QTest::newRow("movie play") << "/cgi-bin/zapTo?path="_ba + enc(QString::fromLatin1(escaped(movie)))
                                << u"204"_s;
    QTest::newRow("message") << "/cgi-bin/xmessage?caption=Hi&timeout=-1&body=Text"_ba << u"message"_s;
    QTest::newRow("timer list") << "/xml/timers"_ba << u"timers"_s;
    QTest::newRow("timer cleanup") << "/cleanupTimerList"_ba << u"204"_s;
    QTest::newRow("timer add") << "/addTimerEvent?ref="_ba + enc(event.serviceReference) +
                                      "&start=" + QByteArray::number(event.start) +
                                      "&duration=" + QByteArray::number(event.duration) +
                                      "&descr=" + enc(event.title) + "&channel=" + enc(event.serviceName) +
                                      "&after_event=0"
                               << u"success"_s;
    QTest::newRow("timer delete") << "/deleteTimerEvent?ref="_ba + enc(timer.serviceReference) +
                                         "&start=" + QByteArray::number(timer.begin) + "&type=44&force=yes"
                                  << u"success"_s;
    QTest::newRow("shutdown") << "/cgi-bin/admin?command=shutdown"_ba << u"admin"_s;
    QTest::newRow("reboot") << "/cgi-bin/admin?command=reboot"_ba << u"admin"_s;
    QTest::newRow("restart") << "/cgi-bin/admin?command=restart"_ba << u"admin"_s;
    QTest::newRow("wake up") << "/cgi-bin/admin?command=wakeup"_ba << u"admin"_s;
    QTest::newRow("standby") << "/cgi-bin/admin?command=standby"_ba << u"admin"_s;
}

void TestBoxSimE1::everyUrlAnswersInTheReceiversFormat()
{
    QFETCH(QByteArray, target);
    QFETCH(QString, kind);
    const Fetched fetched = get(target);
    QCOMPARE(fetched.error, QNetworkReply::NoError);
    if (kind == u"204") {
        QCOMPARE(fetched.status, 204);
        QVERIFY(fetched.body.isEmpty());
        QCOMPARE(fetched.contentLength, "0"_ba);
    } else {
        QCOMPARE(fetched.status, 200);
        if (kind == u"message" || kind == u"timers")
            QVERIFY(fetched.contentType.isEmpty()); // these two come without Content-Type
        checkPage(kind, QString::fromUtf8(fetched.body));
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(m_box->requestTargets().last(), target);
}

void TestBoxSimE1::checkPage(const QString& kind, const QString& text)
{
    if (kind == u"status") {
        QVERIFY(!afterMarker(text, u"Current time:"_s, 22, u"</td></tr>"_s).isEmpty());
        QCOMPARE(text.mid(text.indexOf(u"Standby:"_s) + 17, 3), u"OFF"_s);
        QCOMPARE(text.mid(text.indexOf(u"Recording:"_s) + 19, 3), u"OFF"_s);
        QVERIFY(text.at(text.indexOf(u"Mode:"_s) + 14).isDigit());
        QCOMPARE(afterMarker(text, u"Current service reference:"_s, 35, u"</td></tr>"_s),
                 m_box->currentServiceReference());
    } else if (kind == u"about") {
        for (const QString& label : {u"Model"_s, u"Manufacturer"_s, u"Processor"_s, u"Harddisk"_s,
                                     u"USB Stick"_s, u"Linux Kernel"_s, u"Firmware"_s, u"Web Interface"_s})
            QVERIFY2(text.contains(u"<tr><td>"_s + label + u"</td><td>"_s), qPrintable(label));
        QVERIFY(text.contains(u"About Box"_s));
    } else if (kind == u"data") {
        Scraper page(text);
        QVERIFY(page.skip(u"updateCycleTime"_s));
        for (const auto& [marker, skip, terminator] : {std::tuple{u"nowD"_s, 8, u"\";"_s},
                                                       {u"nowSt"_s, 9, u"\";"_s},
                                                       {u"diskGB"_s, 10, u"\";"_s},
                                                       {u"diskH"_s, 9, u"\";"_s},
                                                       {u"upTime"_s, 10, u"\";"_s}})
            QVERIFY2(page.skip(marker, skip) && !page.cut(terminator).isNull(), qPrintable(marker));
        QVERIFY(isInteger(page.field(u"var volume"_s, 13, u";"_s)));
        QVERIFY(isInteger(page.field(u"mute"_s, 7, u";"_s)));
        QVERIFY(!page.field(u"videoTime"_s, 13, u"\";"_s).isNull());
        QVERIFY(isInteger(page.field(u"videoPosition"_s, 16, u";"_s)));
        QVERIFY(isInteger(page.field(u"agc"_s, 6, u";"_s)));
        QVERIFY(isInteger(page.field(u"snr"_s, 6, u";"_s)));
        QVERIFY(isInteger(page.field(u"ber"_s, 6, u";"_s)));
    } else if (kind == u"services") {
        const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.first().startsWith(u"4097"_s));
        for (const QString& line : lines)
            QVERIFY2(line.startsWith(u"4097"_s) ? line.contains(u".tv;"_s)
                                                : line.contains(u"1:0:1"_s) && line.contains(u":;"_s),
                     qPrintable(line));
    } else if (kind == u"epg") {
        QVERIFY(text.contains(u"<th colspan=\"3\">"_s));
        static const QRegularExpression record(u"javascript:record\\('([^']*)','(\\d+)','(\\d+)','"_s);
        const QRegularExpressionMatch match = record.match(text);
        QVERIFY(match.hasMatch());
        QCOMPARE(match.captured(1), QString::fromLatin1(escaped(m_box->currentServiceReference())));
        QVERIFY(text.contains(u"<span class=\"event\">"_s));
        QVERIFY(text.contains(u"<span class=\"description\">"_s));
    } else if (kind == u"satfinder") {
        Scraper page(text);
        QVERIFY(page.skip(u"SNR:"_s) && page.skip(u"<td align=\"center\">"_s, 19) &&
                isInteger(page.cut(u"%"_s)));
        QCOMPARE(text.mid(text.indexOf(u">&nbsp;LOCK"_s) - 7, 7), u"checked"_s);
        QCOMPARE(text.mid(text.indexOf(u">&nbsp;SYNC"_s) - 7, 7), u"checked"_s);
        QVERIFY(page.skip(u"AGC:"_s) && page.skip(u"<td align=\"center\">"_s, 19) &&
                isInteger(page.cut(u"%"_s)));
        QVERIFY(page.skip(u"BER:"_s) && page.skip(u"<td align=\"center\">"_s, 19));
        QVERIFY(isInteger(page.cut(u"</td>"_s)));
    } else if (kind == u"satcontrol") {
        Scraper page(text);
        QVERIFY(text.contains(u"CONTROL: Satfinder"_s));
        QVERIFY(page.skip(u"bouquets = new Array"_s, 24));
        const QStringList satellites = page.array();
        QCOMPARE(satellites, QStringList({u"Astra 19.2E"_s, u"Hotbird 13.0E"_s}));
        QVERIFY(isInteger(page.field(u"currentBouquet"_s, 17, u";"_s)));
        QVERIFY(isInteger(page.field(u"currentChannel"_s, 17, u";"_s)));
        QVERIFY(page.skip(u"function init()"_s));
        for (int pass = 0; pass < 2; ++pass) {
            for (qsizetype s = 0; s < satellites.size(); ++s) {
                QVERIFY(page.skip(u"new Array("_s, 10));
                const QStringList items = page.array();
                QVERIFY(!items.isEmpty());
                if (pass == 1)
                    QVERIFY(items.first().count(u':') == 6);
            }
        }
    } else if (kind == u"movies") {
        QVERIFY(text.startsWith(u"<script>parent.setTitle('ZAP: Movies');</script>"_s));
        Scraper page(text);
        QVERIFY(page.skip(u"function init()"_s) && page.skip(u"new Array("_s, 10));
        const QStringList titles = page.array();
        QVERIFY(page.skip(u"new Array("_s, 10));
        const QStringList references = page.array();
        QCOMPARE(titles.size(), m_box->movies().size());
        QCOMPARE(references.size(), titles.size());
        static const QRegularExpression title(u"^\\[\\d{5} MB\\] .+"_s);
        static const QRegularExpression reference(u"^[A-Za-z0-9:%]+$"_s);
        for (int i = 0; i < titles.size(); ++i) {
            QVERIFY2(title.match(titles.at(i)).hasMatch(), qPrintable(titles.at(i)));
            QVERIFY2(reference.match(references.at(i)).hasMatch(), qPrintable(references.at(i)));
            QCOMPARE(references.at(i), QString::fromLatin1(escaped(m_box->movies().at(i).reference)));
        }
    } else if (kind == u"multiepg") {
        static const QRegularExpression row(
            u"<tr><td id=\"channel\" width=\"200\"><span class=\"channel\">([^<]*)</span>"_s);
        QStringList channels;
        for (auto it = row.globalMatch(text); it.hasNext();)
            channels.append(it.next().captured(1));
        QVERIFY(channels.contains(u"Das Erste"_s));
        QVERIFY(!channels.contains(u"arte"_s)); // no EPG, no row
        QVERIFY(text.contains(u"<td class=\"genre0"_s));
        QVERIFY(text.contains(u"<a href=\"javascript:record('"_s));
    } else if (kind == u"message") {
        QCOMPARE(text, u"+ok"_s);
    } else if (kind == u"timers") {
        const XmlTree tree = XmlTree::parse(text.toUtf8());
        QVERIFY2(tree.ok, qPrintable(tree.error));
        QCOMPARE(tree.root, u"timers"_s);
        QVERIFY(tree.count(u"timers/timer"_s) > 0);
        for (const QString& path :
             {u"type"_s, u"action"_s, u"status"_s, u"typedata"_s, u"service/reference"_s, u"service/name"_s,
              u"event/date"_s, u"event/time"_s, u"event/start"_s, u"event/duration"_s,
              u"event/description"_s})
            QCOMPARE(tree.count(u"timers/timer/"_s + path), tree.count(u"timers/timer"_s));
        for (const QString& date : tree.values(u"timers/timer/event/date"_s))
            QVERIFY(QDate::fromString(date, u"dd.MM.yyyy"_s).isValid());
    } else if (kind == u"success") {
        QVERIFY2(text.contains(u"successfully"_s), qPrintable(text));
    } else if (kind == u"admin") {
        QVERIFY(text.contains(u"initiated..."_s));
    } else {
        QFAIL("unknown page kind");
    }
}

void TestBoxSimE1::pagesCloseTheConnectionWithContentLength()
{
    const QByteArray answer = boxsimtest::rawGet(m_box->port(), "/data");
    const qsizetype headEnd = answer.indexOf("\r\n\r\n");
    QVERIFY(headEnd > 0);
    const QByteArray head = answer.left(headEnd);
    QVERIFY(head.contains("Connection: close"));
    QVERIFY(head.contains(QByteArray("Content-Length: " + QByteArray::number(answer.size() - headEnd - 4))));
}

void TestBoxSimE1::statusPageAlwaysAsksForLogin()
{
    Client anonymous;
    const Fetched refused = anonymous.get(m_box->baseUrl(), "/cgi-bin/status");
    QCOMPARE(refused.error, QNetworkReply::AuthenticationRequiredError);
    QCOMPARE(refused.status, 401);
    QCOMPARE(refused.authenticate, "Basic realm=\"Enigma1 WebInterface\""_ba);
    QVERIFY(!m_box->requests().last().authorized);
    QCOMPARE(anonymous.get(m_box->baseUrl(), "/data").status, 200);

    const Fetched allowed = get("/cgi-bin/status");
    QCOMPARE(allowed.status, 200);
    QCOMPARE(m_box->requests().last().user, u"root"_s);
}

void TestBoxSimE1::credentialsProtectEveryPath()
{
    m_box->setCredentials(u"admin"_s, u"geheim"_s);
    QCOMPARE(get("/data").error, QNetworkReply::AuthenticationRequiredError);
    Client client;
    client.setCredentials(u"admin"_s, u"geheim"_s);
    QCOMPARE(client.get(m_box->baseUrl(), "/data").status, 200);
    QCOMPARE(client.get(m_box->baseUrl(), "/cgi-bin/status").status, 200);
    QCOMPARE(m_box->requests().last().user, u"admin"_s);
}

void TestBoxSimE1::statusPageMarkers()
{
    const QString text = page("/cgi-bin/status");
    const QString current = afterMarker(text, u"Current time:"_s, 22, u"</td></tr>"_s);
    QCOMPARE(current,
             QString::fromLatin1(
                 QDateTime::fromSecsSinceEpoch(Now).toString(u"ddd MMM d HH:mm:ss yyyy"_s).toLatin1()) +
                 u"\n"_s);
    QCOMPARE(afterMarker(text, u"name:"_s, 14, u"</td></tr>"_s), u"Das Erste"_s);
    QCOMPARE(afterMarker(text, u"provider:"_s, 18, u"</td></tr>"_s), u"ARD"_s);
    QCOMPARE(afterMarker(text, u"vidformat:"_s, 14, u"</td></tr>"_s), u"720x576 16:9 25 fps"_s);
}

void TestBoxSimE1::dataPageVariablesInOrder()
{
    const QString text = page("/data");
    static const QRegularExpression variable(u"var (\\w+) = "_s);
    QStringList names;
    for (auto it = variable.globalMatch(text); it.hasNext();)
        names.append(it.next().captured(1));
    QCOMPARE(names, QStringList({u"updateCycleTime"_s,
                                 u"standby"_s,
                                 u"serviceName"_s,
                                 u"nowT"_s,
                                 u"nowD"_s,
                                 u"nowSt"_s,
                                 u"nextT"_s,
                                 u"nextD"_s,
                                 u"nextSt"_s,
                                 u"diskGB"_s,
                                 u"diskH"_s,
                                 u"apid"_s,
                                 u"vpid"_s,
                                 u"ip"_s,
                                 u"lock"_s,
                                 u"upTime"_s,
                                 u"volume"_s,
                                 u"mute"_s,
                                 u"dolby"_s,
                                 u"crypt"_s,
                                 u"format"_s,
                                 u"recording"_s,
                                 u"vlcparms"_s,
                                 u"serviceReference"_s,
                                 u"videoTime"_s,
                                 u"videoPosition"_s,
                                 u"agc"_s,
                                 u"snr"_s,
                                 u"ber"_s,
                                 u"streamingClientStatus"_s}));
    const boxsim::Event now = *m_box->currentEvent(m_box->currentServiceReference());
    QCOMPARE(dataValue(text, u"nowSt"_s, 9, u"\";"_s), now.title);
    QCOMPARE(dataValue(text, u"nowD"_s, 8, u"\";"_s), u"("_s + QString::number(now.duration / 60) + u")"_s);
    QCOMPARE(dataValue(text, u"videoTime"_s, 13, u"\";"_s), u"0:00"_s);
}

void TestBoxSimE1::serviceListing()
{
    const QString text = page("/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true");
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.first(), bouquet(0) + u";Favourites (TV);selected"_s);
    QVERIFY(lines.contains(bouquet(1) + u";Doku & Serien"_s));
    QVERIFY(lines.contains(u"1:0:1:3cf1:3a98:13e:820000:0:0:0:;ΕΡΤ SAT;ERT;130"_s));
    QVERIFY(lines.contains(u"1:0:1:6d67:437:1:c00000:0:0:0:;Mein 3sat;192"_s));                    // renamed
    QVERIFY(lines.contains(u"1:0:1:1fa4:4b1:1:c00000:0:0:0:;unnamed service;unnamed provider"_s)); // lost
    // The empty bouquet is followed directly by the next bouquet.
    const qsizetype empty = lines.indexOf(bouquet(2) + u";Neu"_s);
    QVERIFY(empty > 0);
    QVERIFY(lines.at(empty + 1).startsWith(u"4097"_s));

    // "selected" marks the bouquet of the current service.
    command("/cgi-bin/zapTo?path=" + enc(service(3, 1)));
    const QStringList after = page("/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true")
                                  .split(u'\n', Qt::SkipEmptyParts);
    QVERIFY(after.contains(bouquet(3) + u";Last Scanned;selected"_s));
    QVERIFY(after.contains(bouquet(0) + u";Favourites (TV)"_s));

    // Without listContent only the bouquets, with a bouquet reference only its services.
    QCOMPARE(page("/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:").split(u'\n', Qt::SkipEmptyParts).size(),
             m_box->bouquets().size());
    QCOMPARE(page("/cgi-bin/getServices?ref=" + enc(bouquet(3))).split(u'\n', Qt::SkipEmptyParts).size(),
             m_box->bouquets().at(3).services.size());
}

void TestBoxSimE1::referencesAreDecodedTwice_data()
{
    QTest::addColumn<int>("form");
    QTest::newRow("as printed in the movie page") << 0;
    QTest::newRow("as printed, percent-encoded once more") << 1;
    QTest::newRow("plain reference, percent-encoded") << 2;
}

void TestBoxSimE1::referencesAreDecodedTwice()
{
    QFETCH(int, form);
    const QString movie = m_box->movies().first().reference;
    QVERIFY(movie.contains(u"/hdd/movie/"_s));
    const QByteArray printed = escaped(movie);
    QByteArray value;
    switch (form) {
    case 0:
        value = printed;
        break;
    case 1:
        value = enc(QString::fromLatin1(printed));
        break;
    default:
        value = enc(movie);
        break;
    }
    command("/cgi-bin/zapTo?path=" + value);
    QVERIFY(m_box->isPlaying());
    QCOMPARE(m_box->playingMovie(), movie);
    // The status page prints the reference escaped again.
    QCOMPARE(afterMarker(page("/cgi-bin/status"), u"Current service reference:"_s, 35, u"</td></tr>"_s),
             QString::fromLatin1(printed));
}

void TestBoxSimE1::playbackPositionOnTheDataPage()
{
    const boxsim::Movie movie = m_box->movies().first();
    command("/cgi-bin/zapTo?path=" + escaped(movie.reference));
    QCOMPARE(afterMarker(page("/cgi-bin/status"), u"Mode:"_s, 14, u"</td>"_s), u"2"_s);
    m_box->advanceTime(125);
    QString data = page("/data");
    QCOMPARE(dataValue(data, u"videoTime"_s, 13, u"\";"_s), u"2:05"_s);
    QCOMPARE(dataValue(data, u"videoPosition"_s, 16, u";"_s),
             QString::number(125 * 20 / movie.lengthSeconds));

    command("/setVideo?position=10");
    QCOMPARE(m_box->playbackPosition(), movie.lengthSeconds / 2);
    QCOMPARE(dataValue(page("/data"), u"videoPosition"_s, 16, u";"_s), u"10"_s);

    command("/cgi-bin/videocontrol?command=pause");
    m_box->advanceTime(600);
    QCOMPARE(m_box->playbackPosition(), movie.lengthSeconds / 2);
    command("/cgi-bin/videocontrol?command=play");
    m_box->advanceTime(60);
    QCOMPARE(m_box->playbackPosition(), movie.lengthSeconds / 2 + 60);
    command("/cgi-bin/videocontrol?command=rewind");
    QCOMPARE(m_box->playbackPosition(), movie.lengthSeconds / 2);

    command("/cgi-bin/videocontrol?command=stop");
    QVERIFY(!m_box->isPlaying());
    data = page("/data");
    QCOMPARE(dataValue(data, u"videoTime"_s, 13, u"\";"_s), u"0:00"_s);
    QCOMPARE(dataValue(data, u"videoPosition"_s, 16, u";"_s), u"0"_s);
    QCOMPARE(afterMarker(page("/cgi-bin/status"), u"Mode:"_s, 14, u"</td>"_s), u"0"_s);
}

void TestBoxSimE1::movieRenameAndDelete()
{
    const QList<boxsim::Movie> movies = m_box->movies();
    command("/cgi-bin/renameMovie?ref=" + enc(QString::fromLatin1(escaped(movies.at(1).reference))) +
            "&desc=Tom+%26+Jerry%3A+Neu");
    QCOMPARE(m_box->movies().at(1).title, u"Tom & Jerry: Neu"_s);
    QVERIFY(page("/body?mode=zap&zapmode=3&zapsubmode=1").contains(u"[00912 MB] Tom & Jerry: Neu\""_s));

    for (const boxsim::Movie& movie : movies)
        command("/cgi-bin/deleteMovie?ref=" + escaped(movie.reference));
    QVERIFY(m_box->movies().isEmpty());
    const QString empty = page("/body?mode=zap&zapmode=3&zapsubmode=1");
    QVERIFY(empty.contains(u"channels[0] = new Array(\"none\");"_s));
    QVERIFY(empty.contains(u"channelRefs[0] = new Array(\"none\");"_s));
}

void TestBoxSimE1::timersAddDeleteAndCleanup()
{
    m_box->clearTimers();
    const QString zdf = service(0, 1);
    const boxsim::Event event = *m_box->nextEvent(zdf);
    const QByteArray add = "/addTimerEvent?ref=" + enc(zdf) + "&start=" + QByteArray::number(event.start) +
                           "&duration=" + QByteArray::number(event.duration) + "&descr=" + enc(event.title) +
                           "&channel=ZDF&after_event=0";
    QCOMPARE(get(add).body, "Timer event was created successfully."_ba);
    const XmlTree list = XmlTree::parse(get("/xml/timers").body);
    QCOMPARE(list.count(u"timers/timer"_s), 1);
    QCOMPARE(list.value(u"timers/timer/status"_s), u"ACTIVE"_s);
    QCOMPARE(list.value(u"timers/timer/action"_s), u"DVR"_s);
    QCOMPARE(list.value(u"timers/timer/service/reference"_s), zdf);
    QCOMPARE(list.value(u"timers/timer/event/start"_s), QString::number(event.start));
    QCOMPARE(list.value(u"timers/timer/event/duration"_s), QString::number(event.duration));
    const QDateTime begin = QDateTime::fromSecsSinceEpoch(event.start);
    QCOMPARE(list.value(u"timers/timer/event/date"_s), begin.toString(u"dd.MM.yyyy"_s));
    QCOMPARE(list.value(u"timers/timer/event/time"_s), begin.toString(u"HH:mm"_s));

    // The same time again overlaps: no "successfully".
    QVERIFY(!get(add).body.contains("successfully"));
    QCOMPARE(m_box->timers().size(), 1);

    // Finished timers stay until the list is cleaned up.
    m_box->setFixedTime(event.end());
    const XmlTree finished = XmlTree::parse(get("/xml/timers").body);
    QCOMPARE(finished.value(u"timers/timer/status"_s), u"FINISHED"_s);
    command("/cleanupTimerList");
    QVERIFY(m_box->timers().isEmpty());

    // Delete by reference, start and type data.
    m_box->setFixedTime(Now);
    QVERIFY(get(add).body.contains("successfully"));
    const QString typeData = XmlTree::parse(get("/xml/timers").body).value(u"timers/timer/typedata"_s);
    const QByteArray remove = "/deleteTimerEvent?ref=" + escaped(zdf) +
                              "&start=" + QByteArray::number(event.start) + "&type=" + typeData.toLatin1() +
                              "&force=yes";
    QVERIFY(get(remove).body.contains("Timer event deleted successfully."));
    QVERIFY(m_box->timers().isEmpty());
    QVERIFY(!get(remove).body.contains("successfully"));
}

void TestBoxSimE1::volumeAndMute()
{
    const auto volume = [this] { return dataValue(page("/data"), u"var volume"_s, 13, u";"_s); };
    const auto mute = [this] { return dataValue(page("/data"), u"mute"_s, 7, u";"_s); };
    QCOMPARE(volume(), u"40"_s);
    command("/setVolume?volume=63");
    QCOMPARE(volume(), u"63"_s);
    command("/setVolume?volume=80");
    QCOMPARE(m_box->volume(), 63);
    command("/cgi-bin/rc?114");
    QCOMPARE(volume(), u"60"_s);
    command("/cgi-bin/rc?113");
    QVERIFY(m_box->isMuted());
    QCOMPARE(volume(), u"0"_s); // the receiver reports 0 while muted
    QCOMPARE(mute(), u"1"_s);
    command("/cgi-bin/rc?113");
    QCOMPARE(volume(), u"60"_s);
    QCOMPARE(mute(), u"0"_s);
}

void TestBoxSimE1::standbyAndRecording()
{
    QVERIFY(page("/cgi-bin/admin?command=standby").contains(u"Standby initiated..."_s));
    QString status = page("/cgi-bin/status");
    QCOMPARE(status.mid(status.indexOf(u"Standby:"_s) + 17, 3), u"ON<"_s);
    QCOMPARE(dataValue(page("/data"), u"var standby"_s, 14, u";"_s), u"1"_s);
    page("/cgi-bin/admin?command=wakeup");
    QVERIFY(!m_box->isStandby());

    const int movies = int(m_box->movies().size());
    command("/cgi-bin/videocontrol?command=record");
    status = page("/cgi-bin/status");
    QCOMPARE(status.mid(status.indexOf(u"Recording:"_s) + 19, 2), u"ON"_s);
    QCOMPARE(dataValue(page("/data"), u"var recording"_s, 16, u";"_s), u"1"_s);
    m_box->advanceTime(600);
    command("/cgi-bin/videocontrol?command=stop");
    QVERIFY(!m_box->isRecording());
    QCOMPARE(m_box->movies().size(), movies + 1);
    QCOMPARE(m_box->movies().last().lengthSeconds, 600);
}

void TestBoxSimE1::messageAnswers_data()
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

void TestBoxSimE1::messageAnswers()
{
    QFETCH(QByteArray, query);
    QFETCH(QByteArray, answer);
    const Fetched fetched = get("/cgi-bin/xmessage?" + query);
    QCOMPARE(fetched.body, answer);
    QCOMPARE(m_box->messages().size(), answer == "+ok" ? 1 : 0);
    if (answer == "+ok" && query.contains("l%C3%A4uft"))
        QCOMPARE(m_box->messages().first().text, u"Aufnahme läuft"_s);
}

void TestBoxSimE1::currentEpgFollowsZap()
{
    const QString zdf = service(0, 1);
    command("/cgi-bin/zapTo?path=" + enc(zdf));
    const QString text = page("/cgi-bin/getcurrentepg");
    QCOMPARE(afterMarker(text, u"<th colspan=\"3\">"_s, 16, u"</th>"_s), u"ZDF"_s);
    static const QRegularExpression record(
        u"javascript:record\\('([^']*)','(\\d+)','(\\d+)','([^']*)','ZDF','0'\\)"_s);
    const QRegularExpressionMatch first = record.match(text);
    QVERIFY(first.hasMatch());
    const boxsim::Event now = *m_box->currentEvent(zdf);
    QCOMPARE(first.captured(2).toLongLong(), now.start);
    QCOMPARE(first.captured(3).toInt(), now.duration);
    QCOMPARE(first.captured(4), now.title);

    // A service without EPG gives a page without event rows.
    command("/cgi-bin/zapTo?path=" + enc(service(0, 2)));
    QVERIFY(!page("/cgi-bin/getcurrentepg").contains(u"javascript:record("_s));
}

void TestBoxSimE1::multiEpgRowsPerServiceWithEpg()
{
    const QString text = page("/getMultiEPG?ref=" + enc(bouquet(1)));
    QCOMPARE(text.count(u"<tr><td id=\"channel\""_s), 4); // the lost service has no EPG, no row
    QVERIFY(text.contains(u"<span class=\"channel\">A&E</span>"_s));
    QVERIFY(!page("/getMultiEPG?ref=nothing").contains(u"id=\"channel\""_s));
}

void TestBoxSimE1::satelliteFinderLocksOnKnownTransponders()
{
    const QString unknown = page("/satFinder?10000000:27500000:0:3:192:2:");
    QVERIFY(unknown.mid(unknown.indexOf(u">&nbsp;LOCK"_s) - 7, 7) != u"checked"_s);
    const QString locked = page("/satFinder?12476000:27500000:0:3:130:2:");
    QCOMPARE(locked.mid(locked.indexOf(u">&nbsp;LOCK"_s) - 7, 7), u"checked"_s);
    const QString control = page("/body?mode=controlSatFinder");
    QCOMPARE(afterMarker(control, u"currentBouquet"_s, 17, u";"_s), u"1"_s);
    QCOMPARE(afterMarker(control, u"currentChannel"_s, 17, u";"_s), u"1"_s);
}

QTEST_GUILESS_MAIN(TestBoxSimE1)
#include "tst_boxsim_e1.moc"
