#include "box/e1parsers.h"
#include "box/htmldocument.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/records.h"
#include "tests/common/testdata.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

#include <functional>
#include <type_traits>

using namespace Qt::StringLiterals;

// Element handles are views into their document: a temporary document hands none out, and a
// document can neither be copied nor moved away from its handles.
template<typename Document>
concept HandsOutElements = requires(Document&& document)
{
    std::forward<Document>(document).select(u"td");
};
static_assert(HandsOutElements<const HtmlDocument&>);
static_assert(!HandsOutElements<HtmlDocument&&>);
static_assert(!std::is_copy_constructible_v<HtmlDocument> && !std::is_move_constructible_v<HtmlDocument>);

namespace {

const QString bouquet = u"4097:7:0:33fc5:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.33fc5.tv"_s;

// A page from tests/data/e1, decoded as the engine decodes reply bodies.
QString e1Page(const QString& fileName)
{
    return testData(QStringLiteral("e1/") + fileName);
}

// The file names in tests/data/e1 that match the pattern ("e1-*", "broken-*").
QStringList e1PageNames(const QString& pattern)
{
    return testDataNames(QStringLiteral("e1"), pattern);
}

// The page with every occurrence of the text removed.
QString without(QString page, const QString& text)
{
    return page.remove(text);
}

// The page with the first line that holds `moved` taken out and put back after the first line that
// holds `after`.
QString withLineMoved(const QString& page, const QString& moved, const QString& after)
{
    QStringList lines = page.split(u'\n');
    const auto lineWith = [&lines](const QString& text) {
        return lines.indexOf(QRegularExpression(u".*" + QRegularExpression::escape(text) + u".*"));
    };
    const qsizetype from = lineWith(moved);
    if (from < 0)
        return page;
    const QString line = lines.takeAt(from);
    const qsizetype to = lineWith(after);
    if (to < 0)
        return page;
    lines.insert(to + 1, line);
    return lines.join(u'\n');
}

// Two megabytes of bytes of every value, read as the engine reads a body that is not UTF-8.
QString noisePage()
{
    constexpr qsizetype size = 2 * 1024 * 1024;
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(20240314);
    for (char& byte : bytes)
        byte = char(random.bounded(256));
    return QString::fromLatin1(bytes);
}

// Two megabytes of the receiver's own page lines in random order: every marker is there, but
// scattered and out of place.
QString shuffledPages()
{
    QStringList lines;
    for (const QString& name : e1PageNames(QStringLiteral("e1-*")))
        lines += e1Page(name).split(u'\n');
    QRandomGenerator random(1970);
    QString page;
    while (page.size() < 2 * 1024 * 1024)
        page += lines.at(random.bounded(lines.size())) + u'\n';
    return page;
}

// A reader's outcome: "refused" when it gave false and left its output empty (every text empty,
// every number 0, no entries), as it must, so that nothing of the page can look read.
QStringList outcome(bool read, const QStringList& seen, bool empty)
{
    if (read)
        return seen;
    return empty ? QStringList{QStringLiteral("refused")}
                 : QStringList{QStringLiteral("refused, but left")} + seen;
}

// A record's fields as one "name=value; ..." line (names: "time,mode").
QStringList record(bool read, const char* names, const QStringList& values)
{
    QStringList line;
    bool empty = true;
    for (const QString& value : values) {
        line << QString::fromLatin1(names).section(u',', line.size(), line.size()) + u'=' + value;
        empty = empty && (value.isEmpty() || value == u"0");
    }
    return outcome(read, {line.join(u"; ")}, empty);
}

template<typename Item>
QStringList entries(bool read, const OwnedList<Item>& items, QString (*entry)(const Item&))
{
    QStringList seen;
    for (const auto& item : items)
        seen << entry(*item);
    return outcome(read, seen, items.empty());
}

// What the reader of one kind of page ("status", "services", ...) made of it: the record's
// fields, or one entry a line. Every output starts from values no page holds.
QStringList readAs(QStringView kind, const QString& page)
{
    const auto n = [](auto value) { return QString::number(value); };
    if (kind == u"status") {
        StatusInfoE1 s{u"old"_s, true, true, 3, u"old"_s, u"old"_s, u"old"_s, u"old"_s};
        const bool read = parseStatusPageE1(page, s);
        return record(read, "time,standby,recording,mode,reference,name,provider,format",
                      {s.currentTime, n(s.standby), n(s.recording), n(s.mode), s.serviceReference,
                       s.serviceName, s.provider, s.videoFormat});
    }
    if (kind == u"data") {
        DeviceData d;
        d.nowSt = d.videoTime = u"old"_s;
        d.volume = d.videoPosition = 9;
        const bool read = parseDataPageE1(page, d);
        return record(read,
                      "playing,position,mute,volume,event,play time,event time,disk,disk time,up,agc,snr,ber",
                      {n(d.videoActive), n(d.videoPosition), n(d.mute), n(d.volume), d.nowSt, d.videoTime,
                       d.nowD, d.diskGB, d.diskH, d.upTime, d.agc, d.snr, d.ber});
    }
    if (kind == u"satellite finder") {
        SatfinderData d{5, 5, 5, true, true};
        const bool read = parseSatfinderDataE1(page, d);
        return record(read, "snr,agc,ber,lock,sync", {n(d.snr), n(d.agc), n(d.ber), n(d.lock), n(d.sync)});
    }
    if (kind == u"satellite finder control") {
        SatfinderConfig c{4, 4, {u"old"_s}, {{u"old"_s}}, {{u"old"_s}}};
        const bool read = parseSatfinderConfigE1(page, c);
        return record(read, "satellite,transponder,satellites,transponder lists,reference lists",
                      {n(c.currentBouquet), n(c.currentChannel), n(c.satellites.size()),
                       n(c.channelNames.size()), n(c.channelRefs.size())});
    }
    if (kind == u"about") {
        AboutInfoE1 a;
        a.model = a.manufacturer = a.processor = a.harddisk = u"old"_s;
        a.usbStick = a.linuxKernel = a.firmware = a.webInterface = u"old"_s;
        const bool read = parseAboutPageE1(page, a);
        return record(read, "model,manufacturer,processor,disk,usb,kernel,firmware,web interface",
                      {a.model, a.manufacturer, a.processor, a.harddisk, a.usbStick, a.linuxKernel,
                       a.firmware, a.webInterface});
    }
    if (kind == u"timer command")
        return {u"success=" + n(answerIsSuccess(page))};
    if (kind == u"services") {
        OwnedList<Bouquet> bouquets;
        bouquets.push_back(std::make_unique<Bouquet>());
        const bool read = parseServiceListE1(page, bouquets);
        return entries<Bouquet>(read, bouquets, [](const Bouquet& bouquet) -> QString {
            QStringList channels;
            for (const Channel* channel : bouquet.channels)
                channels << channel->name;
            return bouquet.name + u'=' + bouquet.reference + u'/' + channels.join(u',');
        });
    }
    if (kind == u"movies") {
        OwnedList<MovieEntry> movies;
        movies.push_back(std::make_unique<MovieEntry>());
        const bool read = parseMovieListE1(page, movies);
        return entries<MovieEntry>(read, movies, [](const MovieEntry& movie) -> QString {
            return movie.title + u'=' + movie.serviceReference;
        });
    }
    if (kind == u"timers" || kind == u"timer times") {
        OwnedList<TimerEntry> timers;
        timers.push_back(std::make_unique<TimerEntry>());
        const bool read = parseTimerListE1(page, timers, sampleClock());
        if (kind == u"timers")
            return entries<TimerEntry>(read, timers,
                                       [](const TimerEntry& timer) { return timer.serviceName; });
        return entries<TimerEntry>(read, timers, [](const TimerEntry& t) {
            return QStringList({QString::number(t.duration), QString::number(t.begin), QString::number(t.end),
                                t.endTimeText})
                .join(u'|');
        });
    }
    if (kind == u"current EPG" || kind == u"multi-EPG") {
        OwnedList<EpgItem> events;
        events.push_back(std::make_unique<EpgItem>());
        const bool read = kind == u"current EPG" ? parseCurrentEpgE1(page, bouquet, events, sampleClock())
                                                 : parseMultiEpgE1(page, bouquet, events, sampleClock());
        return entries<EpgItem>(read, events, [](const EpgItem& e) {
            return QStringList({e.serviceName, e.serviceReference, QString::number(e.start),
                                QString::number(e.duration), e.title, e.descriptionExtended})
                .join(u'|');
        });
    }
    qWarning("no reader of the kind %s", qPrintable(kind.toString()));
    return {};
}

// Rows that remove each of the page's fixed texts in turn.
void addMissingMarkerRows(const char* kind, const QString& page, const QStringList& markers)
{
    for (const QString& marker : markers) {
        QTest::addRow("%s: broken: without \"%s\"", kind, qPrintable(marker))
            << without(page, marker) << u"refused"_s;
    }
}

// Rows whose page is the sample with every occurrence of one text replaced.
std::function<QTestData&(const char*, QStringView, QStringView)> editedRows(const char* kind,
                                                                            const QString& sample)
{
    return [kind, sample](const char* name, QStringView from, QStringView to) -> QTestData& {
        return QTest::addRow("%s: %s", kind, name) << QString(sample).replace(from.toString(), to.toString());
    };
}

// The reading with some fields changed: with(reading, u"mode=2; standby=1").
QString with(const QString& reading, QStringView changes)
{
    QStringList fields = reading.split(u"; "_s);
    for (const QString& change : changes.toString().split(u"; "_s)) {
        for (QString& field : fields) {
            if (field.section(u'=', 0, 0) == change.section(u'=', 0, 0))
                field = change;
        }
    }
    return fields.join(u"; ");
}

// One row of the current-EPG table as the receiver writes it.
QString currentEpgRow(const QString& link, const QString& title, const QString& description)
{
    return u"<tr valign=\"middle\"><td><span class=\"time\">14.03.2024 20:00</span></td><td><a href=\"" +
           link + u"\"><img src=\"timer.gif\"></a></td><td class=\"genre02\"><span class=\"event\">" + title +
           u"</span><br>Genre: News<br>" + description + u"</td></tr>\n";
}

QString currentEpgPage(const QString& rows)
{
    return u"<html><body><table id=\"epg\"><thead><tr><th colspan=\"3\">Das Erste</th></tr></thead><tbody>" +
           rows + u"</tbody></table></body></html>";
}

QString recordLink(const QString& reference, const QString& start, const QString& duration)
{
    return u"javascript:record('" + reference + u"','" + start + u"','" + duration +
           u"','Titel','Das Erste','0')";
}

const QString reference = u"1:0:1:6dca:44d:1:c00000:0:0:0:"_s;
const QString description = u"<span class=\"description\">Text</span>"_s;

const QStringList refused{u"refused"_s};

// Reads the row's page with the reader of that kind; what it made of it must be the row's.
void readsAs(QStringView kind)
{
    QFETCH(QString, page);
    QTEST(readAs(kind, page), "seen");
}

// Every reader (see readAs()) with its own sample page.
const QList<std::pair<QString, QString>> readers{
    {u"status"_s, u"e1-status.html"_s},
    {u"data"_s, u"e1-data.js"_s},
    {u"services"_s, u"e1-getServices.txt"_s},
    {u"movies"_s, u"e1-movies.html"_s},
    {u"current EPG"_s, u"e1-currentepg.html"_s},
    {u"multi-EPG"_s, u"e1-multiepg.html"_s},
    {u"timers"_s, u"e1-timers.xml"_s},
    {u"satellite finder"_s, u"e1-satfinder.html"_s},
    {u"satellite finder control"_s, u"e1-controlSatFinder.html"_s},
    {u"about"_s, u"e1-about.html"_s}};

QStringList ids(const QList<HtmlElement>& elements)
{
    QStringList result;
    for (const HtmlElement& element : elements)
        result << element.attribute("id"_L1);
    return result;
}

} // namespace

// The Enigma1 page readers on the receiver's samples and on pages built from them: the pages that
// fill one record (status, data, satellite finder and its control page, about, timer command
// answers), the lists of the image (services, movies, timers) and the EPG pages; and the HTML
// document they are read with.
class TestE1Pages : public QObject
{
    Q_OBJECT

private slots:
    // The pages that fill one record, read as readAs() shows them. Most rows edit the receiver's
    // sample and name the fields their edit changes.
    void recordPages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("seen");

        const auto broken = [](const char* name, const QString& page) {
            QTest::newRow(name) << page << u"refused"_s;
        };
        QString sample = e1Page(u"e1-status.html"_s);
        auto edited = editedRows("status", sample);
        const QString status = u"time=Thu Mar 14 20:17:42 2024; standby=0; recording=0; mode=0; "
                               u"reference=1:0:1:6dca:44d:1:c00000:0:0:0:; name=Das Erste; provider=ARD; "
                               u"format=720x576 16:9 25 fps"_s;
        // The receiver ends the time with a line break inside its cell and leaves the label cell of
        // the last row, the video format, open.
        QTest::newRow("status: sample") << sample << status;
        edited("standby ON", u"Standby:</td><td>OFF", u"Standby:</td><td>ON") << with(status, u"standby=1");
        edited("recording ON", u"Recording:</td><td>OFF", u"Recording:</td><td>ON")
            << with(status, u"recording=1");
        edited("movie mode", u"Mode:</td><td>0", u"Mode:</td><td>2") << with(status, u"mode=2");
        edited("mode digit beyond the known modes", u"Mode:</td><td>0", u"Mode:</td><td>7")
            << with(status, u"mode=1");
        edited("broken: mode not a digit", u"Mode:</td><td>0", u"Mode:</td><td>x") << u"refused"_s;
        edited("time cell without line break", u"2024\n</td>", u"2024</td>") << status;
        edited("video format cell closed like the others", u"vidformat:<td>", u"vidformat:</td><td>")
            << status;
        edited("escaped movie reference", u"1:0:1:6dca:44d:1:c00000:0:0:0:</td>",
               u"1:0:0:0:0:0:0:0:0:0:%2fhdd%2fmovie%2fSch%c3%b6ne%20Bescherung%2ets</td>")
            << with(status, u"reference=1:0:0:0:0:0:0:0:0:0:/hdd/movie/Schöne Bescherung.ts");
        edited("full Unicode name", u"<td>Das Erste</td>", u"<td>ΕΡΤ SAT · 😀</td>")
            << with(status, u"name=ΕΡΤ SAT · 😀");
        addMissingMarkerRows("status", sample,
                             {u"Current time:"_s, u"Standby:"_s, u"Recording:"_s, u"Mode:"_s,
                              u"Current service reference:"_s, u"name:"_s, u"provider:"_s, u"vidformat:"_s,
                              u"</td></tr>"_s});
        broken("status: broken: standby after mode", withLineMoved(sample, u"Standby:"_s, u"Mode:"_s));
        broken("status: broken: name after the video format",
               withLineMoved(sample, u"name:"_s, u"vidformat:"_s));
        broken("status: broken: ends after the mode", sample.left(sample.indexOf(u"Current service"_s)));

        sample = e1Page(u"e1-data.js"_s);
        edited = editedRows("data", sample);
        const QString data = u"playing=0; position=0; mute=0; volume=40; event=Tatort: Schöne Bescherung; "
                             u"play time=0:00; event time=(90); disk=57.42 GB; disk time=~29 h, 41 min; "
                             u"up=49:07 h up; agc=78; snr=71; ber=0"_s;
        QTest::newRow("data: sample") << sample << data;
        QTest::newRow("data: playing a recording")
            << QString(sample)
                   .replace(u"videoTime = \"0:00\""_s, u"videoTime = \"1:23:45\""_s)
                   .replace(u"videoPosition = 0"_s, u"videoPosition = 7"_s)
            << with(data, u"playing=1; position=7; play time=1:23:45");
        edited("position without play time", u"videoPosition = 0", u"videoPosition = 7")
            << with(data, u"position=7");
        QTest::newRow("data: muted") << QString(sample)
                                            .replace(u"volume = 40"_s, u"volume = 0"_s)
                                            .replace(u"mute = 0"_s, u"mute = 1"_s)
                                     << with(data, u"mute=1; volume=0");
        edited("volume not a number", u"volume = 40", u"volume = x") << with(data, u"volume=0");
        edited("texts with raw markup characters and Unicode", u"Tatort: Schöne Bescherung",
               u"Tom & Jerry <Kult> · Ειδήσεις")
            << with(data, u"event=Tom & Jerry <Kult> · Ειδήσεις");
        edited("assignments without blanks", u" = ", u"=") << data;
        edited("broken: play position not a number", u"videoPosition = 0", u"videoPosition = \"0\"")
            << u"refused"_s;
        addMissingMarkerRows("data", sample,
                             {u"updateCycleTime"_s, u"nowD"_s, u"nowSt"_s, u"diskGB"_s, u"diskH"_s,
                              u"upTime"_s, u"volume"_s, u"mute"_s, u"videoTime"_s, u"videoPosition"_s,
                              u"agc"_s, u"snr"_s, u"ber"_s});
        broken("data: broken: volume after mute", withLineMoved(sample, u"var volume"_s, u"var mute"_s));
        broken("data: broken: disk data before the service",
               withLineMoved(sample, u"var nowD"_s, u"var diskH"_s));
        broken("data: broken: ends in the play time", sample.left(sample.indexOf(u"0:00"_s) + 2));
        broken("data: broken: cut after the last value", sample.left(sample.indexOf(u"var ber = 0;"_s) + 12));

        sample = e1Page(u"e1-satfinder.html"_s);
        edited = editedRows("satellite finder", sample);
        const QString satfinder = u"snr=71; agc=78; ber=0; lock=1; sync=1"_s;
        QTest::newRow("satellite finder: sample") << sample << satfinder;
        edited("unlocked", u"disabled checked>&nbsp;LOCK", u"disabled>&nbsp;LOCK")
            << with(satfinder, u"lock=0");
        edited("not synchronised", u"disabled checked>&nbsp;SYNC", u"disabled>&nbsp;SYNC")
            << with(satfinder, u"sync=0");
        edited("full signal", u">71%", u">100%") << with(satfinder, u"snr=100");
        edited("bit errors", u"<td align=\"center\">0</td>", u"<td align=\"center\">1234</td>")
            << with(satfinder, u"ber=1234");
        edited("broken: bit error rate not a number", u"<td align=\"center\">0</td>",
               u"<td align=\"center\">n/a</td>")
            << u"refused"_s;
        addMissingMarkerRows("satellite finder", sample,
                             {u"SNR:"_s, u"AGC:"_s, u"BER:"_s, u">&nbsp;LOCK"_s, u">&nbsp;SYNC"_s,
                              u"<td align=\"center\">"_s});
        broken("satellite finder: broken: AGC row before the SNR row", QString(sample)
                                                                           .replace(u"SNR:"_s, u"%%"_s)
                                                                           .replace(u"AGC:"_s, u"SNR:"_s)
                                                                           .replace(u"%%"_s, u"AGC:"_s));

        sample = e1Page(u"e1-controlSatFinder.html"_s);
        edited = editedRows("satellite finder control", sample);
        const QString control = u"satellite=0; transponder=1; satellites=2; transponder lists=2; "
                                u"reference lists=2"_s;
        QTest::newRow("satellite finder control: sample") << sample << control;
        edited("second satellite selected", u"currentBouquet = 0", u"currentBouquet = 1")
            << with(control, u"satellite=1");
        QTest::newRow("satellite finder control: nothing selected")
            << QString(sample)
                   .replace(u"currentBouquet = 0"_s, u"currentBouquet = -1"_s)
                   .replace(u"currentChannel = 1"_s, u"currentChannel = -1"_s)
            << with(control, u"transponder=0");
        // Indices the page names beyond its own lists select the first entry.
        edited("satellite beyond the list", u"currentBouquet = 0", u"currentBouquet = 2") << control;
        edited("transponder beyond the list", u"currentChannel = 1", u"currentChannel = 3")
            << with(control, u"transponder=0");
        edited("satellite not a number", u"currentBouquet = 0", u"currentBouquet = x") << control;
        edited("broken: transponder not a number", u"currentChannel = 1", u"currentChannel = x")
            << u"refused"_s;
        addMissingMarkerRows("satellite finder control", sample,
                             {u"CONTROL: Satfinder"_s, u"bouquets = new Array"_s, u"currentBouquet"_s,
                              u"currentChannel"_s, u"function init()"_s});
        edited("broken: satellite list not closed", u"\"Hotbird 13.0E\"\n\t\t);", u"\"Hotbird 13.0E\"\n")
            << u"refused"_s;
        broken("satellite finder control: broken: selection before the satellite list",
               withLineMoved(sample, u"var currentBouquet"_s, u"var channels"_s));

        sample = e1Page(u"e1-about.html"_s);
        edited = editedRows("about", sample);
        // The kernel cell holds a line break.
        const QString about = u"model=ST7020; manufacturer=Example-Multimedia; processor=STB04500, 252MHz; "
                              u"disk=WDC WD1600JB-00REA0 (master, 152627 MB); usb=none; kernel=Linux version "
                              u"2.6.9 (build@receiver) (gcc version 3.4.4) #1 Thu May 15 17:20:41 CEST 2008; "
                              u"firmware=release 1.2.2, 15.05.2008; web interface=6.0.4"_s;
        QTest::newRow("about: sample") << sample << about;
        edited("padded label", u"<td>Model</td>", u"<td>\n Model </td>") << about;
        edited("later row overwrites", u"</tbody>", u"<tr><td>Model</td><td>Zweite</td></tr></tbody>")
            << with(about, u"model=Zweite");
        edited("entities and Unicode", u"<td>ST7020</td>", u"<td>Box &amp; Co &#8211; Ω</td>")
            << with(about, u"model=Box & Co – Ω");
        edited("model row without value cell", u"<td>Model</td><td>ST7020</td>", u"<td>Model</td>")
            << u"refused"_s;
        broken("about: broken: only a model row elsewhere in the page", u"<p>Model</p><p>ST7020</p>"_s);

        QTest::newRow("timer command: timer added")
            << e1Page(u"e1-addTimerEvent-ok.html"_s) << u"success=1"_s;
        QTest::newRow("timer command: timer deleted page")
            << e1Page(u"e1-deleteTimerEvent.html"_s) << u"success=1"_s;
        QTest::newRow("timer command: capital S")
            << u"Timer event was created Successfully."_s << u"success=0"_s;
        QTest::newRow("timer command: other answer") << e1Page(u"e1-admin-standby.html"_s) << u"success=0"_s;
        QTest::newRow("timer command: empty answer") << QString() << u"success=0"_s;
    }

    void recordPages()
    {
        QFETCH(QString, page);
        QTEST(readAs(QString::fromLatin1(QTest::currentDataTag()).section(u':', 0, 0), page).join(u'\n'),
              "seen");
    }

    void servicesOfSample()
    {
        const QString listing = e1Page(u"e1-getServices.txt"_s);
        // The bouquet open on the receiver is marked, the mark is not part of its name. A renamed
        // service has no provider field. The last bouquet has no services, and the listing ends
        // without a line break.
        const QString folder = u"/var/tuxbox/config/enigma/userbouquet.33fc"_s;
        QCOMPARE(readAs(u"services", listing),
                 QStringList({u"Favourites (TV)=4097:7:0:33fc5:0:0:0:0:0:0:" + folder +
                                  u"5.tv/Das Erste,ZDF,arte,RTL Television,ProSieben,Mein 3sat,ΕΡΤ SAT",
                              u"Sport & Doku=4097:7:0:33fc6:0:0:0:0:0:0:" + folder +
                                  u"6.tv/Eurosport,DMAX,unnamed service",
                              u"Radio-Test=4097:7:0:33fc7:0:0:0:0:0:0:" + folder + u"7.tv/"}));
        OwnedList<Bouquet> bouquets;
        QVERIFY(parseServiceListE1(listing, bouquets));
        const QList<Channel*>& favourites = bouquets[0]->channels;
        QCOMPARE(favourites[0]->serviceReference + u'|' + favourites[6]->serviceReference,
                 u"1:0:1:6dca:44d:1:c00000:0:0:0:|1:0:1:2f1a:3a98:13e:820000:0:0:0:"_s);
        for (const auto& bouquet : bouquets) {
            for (const Channel* channel : bouquet->channels) {
                QCOMPARE(channel->parent(), bouquet.get());
                QCOMPARE(channel->bouquetName, bouquet->name);
            }
        }
    }

    // Bouquets as name=reference/channel names.
    void services_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("seen");

        const auto row = [](const char* name, const QString& page, const QStringList& seen) {
            QTest::newRow(name) << page << seen;
        };
        const QString favourites = u"4097:7:0:1:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.1.tv;Fav"_s;
        const QString fav = u"Fav=4097:7:0:1:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.1.tv"_s;
        const QString eins = u"1:0:1:1:1:1:c00000:0:0:0:;Eins;ARD;192"_s;
        const QString zwei = u"1:0:1:2:1:1:c00000:0:0:0:;Zwei;ZDF;192"_s;
        const QString withEins = favourites + u'\n' + eins + u'\n';
        row("bouquet with services", withEins + zwei + u'\n', {fav + u"/Eins,Zwei"});
        row("selected bouquet", favourites + u";selected\n" + eins, {fav + u"/Eins"});
        row("line ends with carriage returns", favourites + u";selected\r\n" + eins + u"\r\n",
            {fav + u"/Eins"});
        row("same bouquet name twice keeps each its own services", withEins + favourites + u'\n' + zwei,
            {fav + u"/Eins", fav + u"/Zwei"});
        row("bouquet reference without file name", u"4097:7:0:1:0:0:0:0:0:0:;Alle Sender\n"_s + eins,
            {u"Alle Sender=4097:7:0:1:0:0:0:0:0:0:/Eins"_s});
        row("name with semicolon", favourites + u";Sport;Doku\n" + eins,
            {fav.left(3) + u";Sport;Doku" + fav.sliced(3) + u"/Eins"});
        row("renamed and lost services",
            favourites +
                u"\n1:0:1:3:1:1:c00000:0:0:0:;Umbenannt;192\n1:0:1:5:1:1:c00000:0:0:0:;Ohne Anbieter\n"
                u"1:0:1:4:1:1:c00000:0:0:0:;unnamed service;unnamed provider",
            {fav + u"/Umbenannt,Ohne Anbieter,unnamed service"});
        row("radio service in the bouquet", favourites + u"\n1:0:2:6:1:1:c00000:0:0:0:;Radio Eins;ARD;192",
            {fav + u"/Radio Eins"});
        row("blank lines, blanks around lines, a west position, no line break at the end",
            u"\n  \n"_s + favourites + u"  \n\t" + eins + u"\n1:0:1:7:1:1:c00000:0:0:0:;West;TV;-300",
            {fav + u"/Eins,West"});
        row("blank lines after the last service", withEins + u"\n \n", {fav + u"/Eins"});
        // A listing cut off in a record, or with something else where a record belongs, would be a
        // shorter list or one with a garbled name.
        row("broken: cut in the last service's name", withEins + zwei.left(zwei.indexOf(u"Zwei") + 2),
            refused);
        row("broken: cut in the last service's provider",
            favourites + u'\n' + zwei.left(zwei.indexOf(u"ZDF") + 2), refused);
        row("broken: cut in the last reference", withEins + zwei.left(9), refused);
        row("broken: cut after the last bouquet's reference",
            withEins + favourites.left(favourites.indexOf(u';') + 1), refused);
        row("broken: cut off and bytes that are not text",
            withEins + zwei.left(zwei.indexOf(u"ZDF") + 2) + u"\u00ff\u00fe<<", refused);
        row("broken: an unreadable bouquet line", withEins + u"4097 rubbish\n" + zwei, refused);
        row("broken: a reference that is no reference",
            favourites + u"\n1:0:1:zz:1:1:c00000:0:0:0:;Eins;ARD;192", refused);
        row("broken: control characters in a line",
            favourites + u'\n' + QString(eins).replace(u"Eins"_s, u"E\u0001ns"_s) + u'\n', refused);
        row("broken: only an unreadable bouquet line", u"4097 rubbish\n"_s + eins, refused);
    }

    void services() { readsAs(u"services"); }

    void movies_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("seen"); // title=reference
        const auto broken = [](const char* name, const QString& page) {
            QTest::newRow(name) << page << refused;
        };

        const QString sample = e1Page(u"e1-movies.html"_s);

        const qsizetype arraysBegin = sample.indexOf(u"\tchannels[0]"_s);
        const qsizetype arraysEnd = sample.indexOf(u"\n", sample.indexOf(u"\tchannelRefs[0]"_s));
        const auto withArrays = [&](const QString& titles, const QString& references) {
            return QString(sample).replace(arraysBegin, arraysEnd - arraysBegin,
                                           u"\tchannels[0] = new Array(" + titles +
                                               u");\n\tchannelRefs[0] = new Array(" + references + u");");
        };
        // The receiver prints references escaped; the image keeps the reference it knows.
        const QString folder = u"/hdd/movie/24-03-1"_s;
        QTest::newRow("sample")
            << sample
            << QStringList{u"[04412 MB] Tatort: Schöne Bescherung=1:0:1:6dca:44d:1:c00000:0:0:0:" + folder +
                               u"4 - Das Erste - Tatort_ Schöne Bescherung.ts",
                           u"[00912 MB] heute-journal=1:0:1:6d66:437:1:c00000:0:0:0:" + folder +
                               u"3 - ZDF - heute-journal.ts",
                           u"[02210 MB] Tom & Jerry - Die 'Kult'-Edition=1:0:1:2ee3:441:1:c00000:0:0:0:" +
                               folder + u"0 - RTL Television - Tom _ Jerry - Die _Kult_-Edition.ts",
                           u"[00037 MB] alte Aufnahme=1:0:1:0:0:0:0:0:0:0:/hdd/movie/alte Aufnahme.ts"_s};
        QTest::newRow("no recordings") << withArrays(u"\"none\""_s, u"\"none\""_s) << QStringList();
        QTest::newRow("empty arrays") << withArrays(QString(), QString()) << QStringList();
        broken("broken: fewer references than titles",
               withArrays(u"\"[00001 MB] a\", \"[00002 MB] b\""_s, u"\"1:0:1:0:0:0:0:0:0:0:%2fa%2ets\""_s));
        broken("broken: a reference as the receiver never prints one",
               withArrays(u"\"[00001 MB] a\""_s, u"\"1:0:1:0:0:0:0:0:0:0:/hdd/a b.ts\""_s));
        QTest::newRow("quotes inside a title")
            << withArrays(u"\"[00001 MB] Die \"Bekannten\"\",\"[00002 MB] b\""_s, u"\"r1\",\"r2\""_s)
            << QStringList{u"[00001 MB] Die \"Bekannten\"=r1"_s, u"[00002 MB] b=r2"_s};
        QTest::newRow("escaped quote and items across lines")
            << withArrays(u"\n\t\t\"[00001 MB] \\\"a\\\"\" ,\n\t\t\"[00002 MB] b\"\n\t"_s, u"\"r1\",\"r2\""_s)
            << QStringList{u"[00001 MB] \"a\"=r1"_s, u"[00002 MB] b=r2"_s};
        // A file name that is not UTF-8, or that holds a '%', only reaches the receiver intact in the
        // form it printed: it decodes references once more after the query.
        QTest::newRow("Latin-1 file name stays escaped")
            << withArrays(u"\"[00001 MB] a\""_s, u"\"1:0:1:0:0:0:0:0:0:0:%2fhdd%2fK%e4se%2ets\""_s)
            << QStringList{u"[00001 MB] a=1:0:1:0:0:0:0:0:0:0:%2fhdd%2fK%e4se%2ets"_s};
        QTest::newRow("percent sign in the file name stays escaped")
            << withArrays(u"\"[00001 MB] a\""_s, u"\"1:0:1:0:0:0:0:0:0:0:%2f100%25%2ets\""_s)
            << QStringList{u"[00001 MB] a=1:0:1:0:0:0:0:0:0:0:%2f100%25%2ets"_s};
        broken("broken: title array not closed",
               withArrays(u"\"[00001 MB] a\", \"[00002 MB] b"_s, u"\"r1\""_s));
        broken("broken: an item that is not a string",
               withArrays(u"\"[00001 MB] a\", titles[1]"_s, u"\"r1\""_s));
        for (const QString& marker : {u"ZAP: Movies"_s, u"function init()"_s, u"new Array("_s}) {
            QTest::addRow("broken: without \"%s\"", qPrintable(marker)) << without(sample, marker) << refused;
        }
        broken("broken: without the reference array",
               QString(sample).replace(u"channelRefs[0] = new Array("_s, u"channelRefs[0] = ("_s));
    }

    void movies() { readsAs(u"movies"); }

    void timersOfSample()
    {
        OwnedList<TimerEntry> timers;
        QVERIFY(parseTimerListE1(e1Page(u"e1-timers.xml"_s), timers, sampleClock()));
        QCOMPARE(timers.size(), size_t(4));
        // Repeating timers are dated on the first day of 1970.
        const TimerEntry& t = *timers[0];
        QCOMPARE(
            QStringList({t.type, t.action, t.status, t.typeData, t.serviceReference, t.serviceName,
                         t.dateText, t.beginTimeText, t.endTimeText, t.startText, QString::number(t.duration),
                         QString::number(t.begin), QString::number(t.end), t.description})
                .join(u'|'),
            u"REPEATING|ZAP|ACTIVE|32768034|1:0:1:6dca:44d:1:c00000:0:0:0:|Das Erste|01.01.1970|19:00|"
            u"19:15|64800|900|64800|65700|Tagesschau"_s);
        // Entries glued together without separators are entries all the same.
        const TimerEntry& finished = *timers[1];
        QCOMPARE(finished.status + u'|' + QString::number(finished.begin) + u'|' +
                     QString::number(finished.end) + u'|' + finished.endTimeText,
                 u"FINISHED|1710362100|1710364200|22:10"_s);
        QCOMPARE(timers[2]->description + u'|' + timers[2]->endTimeText,
                 u"Tatort: Schöne Bescherung|22:00"_s);
        // The receiver escapes some texts twice.
        QCOMPARE(timers[3]->description + u'|' + timers[3]->startText,
                 u"Tom & Jerry - Die 'Kult'-Edition|1710529800"_s);
    }

    void timers_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("seen"); // service names
        const auto broken = [](const char* name, const QString& page) {
            QTest::newRow(name) << page << refused;
        };

        const QString timer =
            u"<timer><type>SINGLE</type><service><reference>1:0:1:1:1:1:c00000:0:0:0:</reference><name>%1</"
            u"name>"
            u"</service><event><date>14.03.2024</date><time>20:10</time><duration>600</duration></event></timer>"_s;
        const QString header = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"_s;
        QTest::newRow("no timers") << header + u"<timers>\n</timers>\n" << QStringList();
        QTest::newRow("no timers in an empty element") << header + u"<timers/>" << QStringList();
        QTest::newRow("timers below other elements")
            << header + u"<timers><group>" + timer.arg(u"A") + u"</group>" + timer.arg(u"B") + u"</timers>"
            << QStringList{u"A"_s, u"B"_s};
        QTest::newRow("unknown elements skipped")
            << header + u"<timers><note><name>x</name></note>" +
                   QString(timer).replace(u"<type>"_s, u"<extra><type>NO</type></extra><type>"_s).arg(u"A") +
                   u"</timers>"
            << QStringList{u"A"_s};
        QTest::newRow("full Unicode") << header + u"<timers>" + timer.arg(u"ΕΡΤ SAT · 😀") + u"</timers>"
                                      << QStringList{u"ΕΡΤ SAT · 😀"_s};
        broken("broken: only the declaration", header);
        broken("broken: another list", header + u"<e2timerlist>" + timer.arg(u"A") + u"</e2timerlist>");
    }

    void timers() { readsAs(u"timers"); }

    void timerTimes_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("seen"); // duration|begin|end|end time

        // 14.03.2024 20:10 in the zone of the samples (UTC+1).
        constexpr uint evening = 1710443400;
        const QString at2010 = u"<date>14.03.2024</date><time>20:10</time>"_s;
        const auto row = [](const char* name, const QString& event, int duration, uint begin, uint end,
                            const QString& endTime) {
            QTest::newRow(name) << u"<timers><timer><event>" + event + u"</event></timer></timers>"
                                << QStringList{QStringList({QString::number(duration), QString::number(begin),
                                                            QString::number(end), endTime})
                                                   .join(u'|')};
        };
        row("date, time, duration", at2010 + u"<duration>600</duration>", 600, evening, evening + 600,
            u"20:20"_s);
        row("duration before date and time", u"<duration>600</duration>" + at2010, 600, evening,
            evening + 600, u"20:20"_s);
        row("one-digit minute", u"<date>14.03.2024</date><time>20:5</time><duration>60</duration>"_s, 60,
            evening - 300, evening - 240, u"20:06"_s);
        row("one-digit hour", u"<date>14.03.2024</date><time>8:05</time><duration>60</duration>"_s, 60,
            evening - 43500, evening - 43440, u"08:06"_s);
        row("ends after midnight", u"<date>14.03.2024</date><time>23:30</time><duration>3600</duration>"_s,
            3600, evening + 12'000, evening + 15'600, u"00:30"_s);
        row("zero duration", at2010 + u"<duration>0</duration>", -1, evening, evening, u"20:10"_s);
        row("empty duration", at2010 + u"<duration></duration>", -1, evening, evening, u"20:10"_s);
        row("duration not a number", at2010 + u"<duration>lang</duration>", -1, evening, evening, u"20:10"_s);
        row("duration too large for the field", at2010 + u"<duration>4294967295</duration>", -1, evening,
            evening, u"20:10"_s);
        row("without duration", at2010, -1, evening, evening, u"20:10"_s);
        row("invalid date", u"<date>31.02.2024</date><time>20:10</time><duration>600</duration>"_s, 600, 0, 0,
            u"20:20"_s);
        row("invalid time", u"<date>14.03.2024</date><time>25:10</time><duration>600</duration>"_s, 600, 0, 0,
            QString());
        row("before 1970 in local time",
            u"<date>01.01.1970</date><time>00:30</time><duration>600</duration>"_s, 600, 0, 600, u"00:40"_s);
    }

    void timerTimes() { readsAs(u"timer times"); }

    void currentEpgOfSample()
    {
        const QString page = e1Page(u"e1-currentepg.html"_s);
        OwnedList<EpgItem> events;
        QVERIFY(parseCurrentEpgE1(page, bouquet, events, sampleClock()));
        QCOMPARE(events.size(), size_t(4));
        QCOMPARE(readAs(u"current EPG", page).first(),
                 u"Das Erste|" + reference +
                     u"|1710442800|900|Tagesschau|Themen u. a.: Bundestag beschließt "
                     u"Haushalt - Das Wetter");
        QCOMPARE(events[0]->end, 1710443700u);
        QCOMPARE(events[0]->startDate + u' ' + events[0]->startTime,
                 QDate(2024, 3, 14).toString(Qt::TextDate) + u" 20:00");
        QCOMPARE(
            events[1]->title + u'|' + events[1]->descriptionExtended,
            u"Tatort: Schöne Bescherung|Kommissarin Lürsen & Kommissar Stedefreund ermitteln. Die Spur führt "
            u"zu einem alten \"Bekannten\"."_s);
        // The receiver writes '<' and '&' into event texts as they are.
        QCOMPARE(events[3]->descriptionExtended + u'|' + events[3]->startTime,
                 u"Zu Gast: Politiker <Bundestag> & Journalisten im Gespräch.|22:15"_s);
        for (const auto& event : events) {
            QVERIFY(event->eventId.isEmpty());
            QCOMPARE(event->progress, 0);
            QCOMPARE(event->bouquetReference, bouquet);
        }
    }

    // Events as service|reference|start|duration|title|description.
    void currentEpg_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("seen");
        const auto broken = [](const char* name, const QString& page) {
            QTest::newRow(name) << page << refused;
        };

        const QString event = u"Das Erste|" + reference + u"|1710442800|900|Titel|Text";
        const auto row = currentEpgRow;
        const QString link = recordLink(reference, u"1710442800"_s, u"900"_s);
        const QString one = row(link, u"Titel"_s, description);
        QTest::newRow("one event") << currentEpgPage(one) << QStringList{event};
        QTest::newRow("row without description gives no event")
            << currentEpgPage(row(link, u"Titel"_s, QString()) + one) << QStringList{event};
        QTest::newRow("row without title")
            << currentEpgPage(row(link, QString(), description))
            << QStringList{u"Das Erste|" + reference + u"|1710442800|900||Text"};
        QTest::newRow("zero duration")
            << currentEpgPage(row(recordLink(reference, u"1710442800"_s, u"0"_s), u"Titel"_s, description))
            << QStringList{u"Das Erste|" + reference + u"|1710442800|-1|Titel|Text"};
        QTest::newRow("escaped reference")
            << currentEpgPage(
                   row(recordLink(u"1:0:1:1:1:1:0:0:0:0:%2fhdd%2fa%20b%2ets"_s, u"1710442800"_s, u"900"_s),
                       u"Titel"_s, description))
            << QStringList{u"Das Erste|1:0:1:1:1:1:0:0:0:0:/hdd/a b.ts|1710442800|900|Titel|Text"_s};
        QTest::newRow("switch link before the record link")
            << currentEpgPage(QString(one).replace(
                   u"<a href"_s, u"<a href=\"javascript:switchChannel('x')\">z</a><a href"_s))
            << QStringList{event};
        QTest::newRow("start not a number drops the event")
            << currentEpgPage(row(recordLink(reference, u"bald"_s, u"900"_s), u"Titel"_s, description) + one)
            << QStringList{event};
        broken("broken: last link without a duration",
               currentEpgPage(
                   one + row(recordLink(reference, u"1710442800"_s, u"lang"_s), u"Titel"_s, description)));
        broken("broken: link with too few arguments",
               currentEpgPage(one + row(u"javascript:record('" + reference + u"','1710442800','900')",
                                        u"Titel"_s, description)));
        broken("broken: no event rows", currentEpgPage(QString()));
        broken("broken: without the heading",
               QString(currentEpgPage(one)).remove(u"<th colspan=\"3\">Das Erste</th>"_s));
        broken("broken: another table", QString(currentEpgPage(one)).replace(u"id=\"epg\""_s, u"id=\"x\""_s));
        const QString sample = e1Page(u"e1-currentepg.html"_s);
        // Cut off anywhere before its table ends, the page would give fewer events or garbled ones.
        broken("broken: cut inside a link", sample.left(sample.lastIndexOf(u"'4500'"_s) + 3));
        QTest::newRow("broken: cut in a description, then bytes that are not text")
            << sample.left(sample.lastIndexOf(u"Journalisten"_s)) + u"\u00ff\u00fe<<" << refused;
        broken("broken: cut after a whole row", sample.left(sample.lastIndexOf(u"</tr>"_s) + 5));
        broken("broken: an event row the page leaves open",
               currentEpgPage(QString(one).remove(u"</tr>"_s) + one));
    }

    void currentEpg() { readsAs(u"current EPG"); }

    void multiEpg_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("seen");
        const auto broken = [](const char* name, const QString& page) {
            QTest::newRow(name) << page << refused;
        };

        const auto cell = [](const QString& link, const QString& text) -> QString {
            return u"<td class=\"genre02\" colspan=\"4\"><a href=\"" + link +
                   u"\"><img src=\"timer.gif\" /></a>&#160;<span class=\"time\">14.03. - 20:00 </span><br />"
                   u"<span class=\"event\"><b>Titel</b></span><br />" +
                   text + u"</td>";
        };
        const auto page = [](const QString& rows) -> QString {
            return u"<html><body><table id=\"mepg\"><thead><tr><th>CHANNEL</th></tr></thead><tbody>" + rows +
                   u"</tbody></table></body></html>";
        };
        const auto row = [](const QString& name, const QString& cells) -> QString {
            return u"<tr><td id=\"channel\"><span class=\"channel\">" + name +
                   u"</span></td><td colspan=\"3\">&#160;</td>" + cells +
                   u"<td colspan=\"80\">&#160;</td></tr>\n";
        };
        const QString eins = recordLink(reference, u"1710442800"_s, u"900"_s);
        const QString zwei = recordLink(u"1:0:1:2:2:2:0:0:0:0:"_s, u"1710443700"_s, u"1800"_s);
        const QString einsEvent = u"Eins|" + reference + u"|1710442800|900|Titel|Text";
        const QString zweiEvent = u"Zwei|1:0:1:2:2:2:0:0:0:0:|1710443700|1800|Titel|Text"_s;
        const QString einsRow = row(u"Eins"_s, cell(eins, description));
        QTest::newRow("two services")
            << page(einsRow + row(u"Zwei"_s, cell(zwei, description) + cell(zwei, description)))
            << QStringList{einsEvent, zweiEvent, zweiEvent};
        QTest::newRow("cell without description gives no event")
            << page(row(u"Eins"_s, cell(eins, QString()) + cell(eins, description)))
            << QStringList{einsEvent};
        QTest::newRow("row without channel span is skipped")
            << page(u"<tr><td><a href=\"" + eins + u"\">x</a>Text</td></tr>" + einsRow)
            << QStringList{einsEvent};
        QTest::newRow("service without events")
            << page(row(u"Leer"_s, QString()) + einsRow) << QStringList{einsEvent};
        QTest::newRow("upper-case markup, unquoted id")
            << QString(page(einsRow))
                   .replace(u"<tr>"_s, u"<TR>"_s)
                   .replace(u"</tr>"_s, u"</TR>"_s)
                   .replace(u"<table id=\"mepg\">"_s, u"<TABLE ID=mepg>"_s)
                   .replace(u"</table>"_s, u"</TABLE>"_s)
            << QStringList{einsEvent};
        // The receiver prints '<' in texts as it is.
        QTest::newRow("text that looks like a row tag")
            << page(row(u"Eins"_s, cell(eins, u"<span class=\"description\">Soundtrack <trivia></span>"_s)))
            << QStringList{u"Eins|" + reference + u"|1710442800|900|Titel|Soundtrack <trivia>"};
        broken(
            "broken: last link without a duration",
            page(row(u"Eins"_s, cell(eins, description) +
                                    cell(recordLink(reference, u"1710442800"_s, QString()), description))));
        broken("broken: no events at all", page(row(u"Leer"_s, QString())));
        const QString sample = e1Page(u"e1-multiepg.html"_s);
        broken("broken: without the table id", without(sample, u"id=\"mepg\""_s));
        broken("broken: cut inside a link", sample.left(sample.indexOf(u"1710443700','5400'"_s) + 12));
        QTest::newRow("broken: cut in a description, then bytes that are not text")
            << sample.left(sample.indexOf(u"Nachrichten und"_s)) + u"\u00ff\u00fe<<" << refused;
        broken("broken: cut after a whole row",
               sample.left(sample.indexOf(u"</tr>"_s, sample.indexOf(u"<tbody>"_s)) + 5));
        broken("broken: an event cell the page leaves open",
               page(row(u"Eins"_s,
                        QString(cell(eins, description)).remove(u"</td>"_s) + cell(eins, description))));
        broken("broken: a service row the page leaves open",
               page(QString(einsRow).remove(u"</tr>"_s) + row(u"Zwei"_s, cell(zwei, description))));
    }

    void multiEpg() { readsAs(u"multi-EPG"); }

    void multiEpgReducedRowByRow()
    {
        // Each service's events are handed over on their own, as soon as its row is read, so that a
        // big bouquet's whole day is never held at once.
        QStringList rows;
        OwnedList<EpgItem> events;
        QVERIFY(parseMultiEpgE1(e1Page(u"e1-multiepg.html"_s), bouquet, events, sampleClock(),
                                [&](OwnedList<EpgItem>& row) {
                                    if (row.empty())
                                        return;
                                    QStringList seen;
                                    for (const auto& event : row) {
                                        QCOMPARE(event->serviceName, row.front()->serviceName);
                                        seen << event->startTime + u' ' + event->title;
                                    }
                                    rows << row.front()->serviceName + u": " + seen.join(u", ");
                                    row.resize(1);
                                }));
        // In page order: the services one after the other, each with its events.
        QCOMPARE(rows, QStringList({u"Das Erste: 20:00 Tagesschau, 20:15 Tatort: Schöne Bescherung, 21:45 "
                                    u"Tagesthemen, 22:15 maischberger"_s,
                                    u"ZDF: 20:00 heute, 20:15 Der Bergdoktor, 21:45 heute journal"_s,
                                    u"ΕΡΤ SAT: 20:00 Ειδήσεις"_s}));
        QCOMPARE(events.size(), 3U);
        QCOMPARE(events[1]->serviceReference + u'|' + QString::number(events[1]->duration),
                 u"1:0:1:6d66:437:1:c00000:0:0:0:|1140"_s);
        QCOMPARE(events[2]->serviceName + u'|' + events[2]->descriptionExtended,
                 u"ΕΡΤ SAT|Κεντρικό δελτίο"_s);
        for (const auto& event : events)
            QCOMPARE(event->bouquetReference, bouquet);
    }

    void localTimeOfTheClock()
    {
        // Dates and times are shown in the user's zone, which the clock supplies.
        const ManualClock tokyo(sampleNow, 9 * 3600);
        OwnedList<EpgItem> events;
        QVERIFY(parseCurrentEpgE1(e1Page(u"e1-currentepg.html"_s), bouquet, events, tokyo));
        QCOMPARE(events[0]->startTime, u"04:00"_s);
        QCOMPARE(events[0]->startDate, QDate(2024, 3, 15).toString(Qt::TextDate));
    }

    // Every Enigma1 page reader on pages it must refuse: broken pages, pages of other kinds, an empty
    // body and megabytes of noise. A refused page leaves nothing behind, and no page takes long.
    void refusedPages_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("page");

        const QStringList samples = e1PageNames(u"e1-*"_s);
        QStringList broken = e1PageNames(u"broken-*"_s);
        broken.removeIf([](const QString& name) { return name.startsWith(u"broken-fuzz-"); });
        for (const auto& [reader, ownPage] : readers) {
            for (const QString& name : broken)
                QTest::addRow("%s: %s", qPrintable(reader), qPrintable(name)) << reader << e1Page(name);
            for (const QString& name : samples) {
                if (name != ownPage) {
                    QTest::addRow("%s: page of another kind %s", qPrintable(reader), qPrintable(name))
                        << reader << e1Page(name);
                }
            }
            QTest::addRow("%s: empty body", qPrintable(reader)) << reader << QString();
        }
    }

    void refusedPages()
    {
        QFETCH(QString, reader);
        QFETCH(QString, page);
        QCOMPARE(readAs(reader, page), refused);
    }

    void noise_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<bool>("randomBytes");

        for (const auto& [reader, ownPage] : readers) {
            QTest::addRow("%s: 2 MB of random bytes", qPrintable(reader)) << reader << true;
            QTest::addRow("%s: 2 MB of page lines out of order", qPrintable(reader)) << reader << false;
        }
    }

    void noise()
    {
        QFETCH(QString, reader);
        QFETCH(bool, randomBytes);
        static const QString random = noisePage();
        static const QString shuffled = shuffledPages();
        QElapsedTimer timer;
        timer.start();
        const QStringList seen = readAs(reader, randomBytes ? random : shuffled);
        // Lines of the receiver's own pages in random order may well read as a page; random bytes
        // never do. Either way a refused page leaves nothing.
        if (randomBytes)
            QCOMPARE(seen, refused);
        QVERIFY(seen.value(0) != u"refused, but left");
        QVERIFY2(timer.elapsed() < 15'000, qPrintable(QString::number(timer.elapsed())));
    }

    void fuzzFindings_data()
    {
        QTest::addColumn<QString>("page");
        const QStringList findings = e1PageNames(u"broken-fuzz-*"_s);
        for (const QString& name : findings)
            QTest::newRow(qPrintable(name)) << e1Page(name);
        if (findings.isEmpty())
            QTest::newRow("no findings kept") << QString();
    }

    void fuzzFindings()
    {
        // Inputs the fuzzers once crashed a reader with; every reader must take them in its stride.
        QFETCH(QString, page);
        for (const auto& [reader, ownPage] : readers)
            QVERIFY2(readAs(reader, page).value(0) != u"refused, but left", qPrintable(reader));
    }

    // The HTML document that the Enigma1 EPG and about pages are read with.
    void selectionInDocumentOrder()
    {
        const HtmlDocument page(
            u"<table id=t1><tr id=r1><td id=c1>1<table id=t2><tr id=r2><td id=c2>2</td></tr></table>"
            u"</td><td id=c3>3</td></tr></table><p id=p1><span id=s1><span id=s2></span></span>"_s);
        QVERIFY(page.isParsed());
        // An element comes before its descendants, and they before its later siblings.
        QCOMPARE(ids(page.select(u"td")), QStringList({u"c1"_s, u"c2"_s, u"c3"_s}));
        QCOMPARE(ids(page.select(u"tr")), QStringList({u"r1"_s, u"r2"_s}));
        QCOMPARE(ids(page.select(u"span")), QStringList({u"s1"_s, u"s2"_s}));
        QCOMPARE(page.first(u"td")->attribute("id"_L1), u"c1"_s);

        // Selecting below an element finds only its descendants, never itself.
        const HtmlElement outer = *page.first(u"table");
        QCOMPARE(ids(outer.select(u"table")), QStringList{u"t2"_s});
        QCOMPARE(ids(page.select(u"tr").at(1).select(u"td")), QStringList{u"c2"_s});
        QVERIFY(!page.first(u"span")->first(u"td"));
    }

    void selectors_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QStringList>("found");

        const QString spans =
            u"<span id=a class=\"event\"></span><span id=b class=\"time event genre02\"></span>"
            u"<span id=c class=\" \tevent\n \"></span><span id=d class=\"events\"></span>"
            u"<span id=e></span><div id=f class=event></div>"_s;
        QTest::newRow("tag alone") << spans << u"span"_s
                                   << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, u"e"_s};
        QTest::newRow("class among several and padded")
            << spans << u"span.event"_s << QStringList{u"a"_s, u"b"_s, u"c"_s};
        QTest::newRow("class of another tag") << spans << u"div.event"_s << QStringList{u"f"_s};
        QTest::newRow("part of a class name") << spans << u"span.even"_s << QStringList();
        QTest::newRow("upper-case tag in selector") << spans << u"SPAN.genre02"_s << QStringList{u"b"_s};
        QTest::newRow("upper-case tags in the page")
            << u"<TABLE><TR><TD ID=x>1</TD></TR></TABLE>"_s << u"td"_s << QStringList{u"x"_s};
        // Pages without a doctype are read in quirks mode, where class names ignore case.
        QTest::newRow("class case in a page without doctype")
            << u"<span id=x class=Event></span>"_s << u"span.event"_s << QStringList{u"x"_s};
        QTest::newRow("class case in a standards page")
            << u"<!DOCTYPE html><span id=x class=Event></span>"_s << u"span.event"_s << QStringList();
        QTest::newRow("unknown tag") << u"<p><Bundestag id=x>y</p>"_s << u"bundestag"_s
                                     << QStringList{u"x"_s};
        QTest::newRow("empty selector") << spans << QString() << QStringList();
        QTest::newRow("class without tag") << spans << u".event"_s << QStringList();
        QTest::newRow("tag with empty class") << spans << u"span."_s << QStringList();
        QTest::newRow("descendant selector is not supported") << spans << u"div span"_s << QStringList();
        QTest::newRow("id selector is not supported") << spans << u"#a"_s << QStringList();
    }

    void selectors()
    {
        QFETCH(QString, markup);
        QFETCH(QString, selector);
        const HtmlDocument page(markup);
        QTEST(ids(page.select(selector)), "found");
        // The first is the first found, and it matches the selector.
        const std::optional<HtmlElement> first = page.first(selector);
        QFETCH(QStringList, found);
        QCOMPARE(first && first->matches(selector) ? first->attribute("id"_L1) : QString(), found.value(0));
    }

    void plainText_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("text");

        QTest::newRow("nested inline markup")
            << u"<td> Tom <b>und <i>Jerry</i></b>!</td>"_s << u"Tom und Jerry!"_s;
        QTest::newRow("line breaks and tabs collapse")
            << u"<td>Linux version 2.6.9\n\t #1 Thu May 15 2008\n</td>"_s
            << u"Linux version 2.6.9 #1 Thu May 15 2008"_s;
        QTest::newRow("br separates words")
            << u"<td>CHANNEL<br />14.03.<br>19:15 </td>"_s << u"CHANNEL 14.03. 19:15"_s;
        QTest::newRow("block elements separate words")
            << u"<td><div>a</div><div>b</div>c</td>"_s << u"a b c"_s;
        QTest::newRow("entities") << u"<td>Tom &amp; Jerry &lt;3 &#228;&auml; &#x263a; &quot;x&quot;</td>"_s
                                  << u"Tom & Jerry <3 ää ☺ \"x\""_s;
        QTest::newRow("no-break space stays") << u"<td>&nbsp;a&#160;b</td>"_s << u"\u00a0a\u00a0b"_s;
        QTest::newRow("script and style are not text")
            << u"<td>a<script>var x = \"<b>\";</script><style>td { }</style>b</td>"_s << u"ab"_s;
        QTest::newRow("comments are not text") << u"<td>a<!-- hidden -->b</td>"_s << u"ab"_s;
        QTest::newRow("full Unicode") << u"<td>Ειδήσεις · الجزيرة · 😀</td>"_s << u"Ειδήσεις · الجزيرة · 😀"_s;
        QTest::newRow("empty element") << u"<td> \n </td>"_s << QString();
    }

    void plainText()
    {
        QFETCH(QString, markup);
        const HtmlDocument page(u"<table><tr>" + markup + u"</tr></table>");
        const std::optional<HtmlElement> cell = page.first(u"td");
        QVERIFY(cell);
        QTEST(cell->plainText(), "text");
    }

    void strayTagsAsText_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("browserText");
        QTest::addColumn<QString>("receiverText");

        QTest::newRow("unclosed stray tag")
            << u"Politiker <Bundestag> & Journalisten"_s << u"Politiker & Journalisten"_s
            << u"Politiker <Bundestag> & Journalisten"_s;
        QTest::newRow("stray tag with words")
            << u"<Die Sendung mit der Maus> heute"_s << u"heute"_s << u"<Die Sendung mit der Maus> heute"_s;
        QTest::newRow("stray tag closed by itself") << u"a <x>b</x> c"_s << u"a b c"_s << u"a <x>b</x> c"_s;
        QTest::newRow("known tags stay markup")
            << u"<b>fett</b> & mehr"_s << u"fett & mehr"_s << u"fett & mehr"_s;
        QTest::newRow("lone less-than sign")
            << u"1 < 2 & 3 <= 4"_s << u"1 < 2 & 3 <= 4"_s << u"1 < 2 & 3 <= 4"_s;
    }

    void strayTagsAsText()
    {
        QFETCH(QString, markup);
        const HtmlDocument page(u"<p><span class=description>" + markup + u"</span> after</p>");
        const std::optional<HtmlElement> span = page.first(u"span.description");
        QVERIFY(span);
        QTEST(span->plainText(), "browserText");
        QTEST(span->plainText(UnknownTags::AsText), "receiverText");
    }

    void attributes()
    {
        const HtmlDocument page(
            u"<a href=\"javascript:record('1:0:1','x &amp; y')\" title=\"&lt;&#228;&gt;\" "
            u"class=\"time event\">link</a><Bundestag>"_s);
        const HtmlElement link = *page.first(u"a");
        QCOMPARE(QStringList({link.tagName(), link.attribute("href"_L1), link.attribute("title"_L1)}),
                 QStringList({u"a"_s, u"javascript:record('1:0:1','x & y')"_s, u"<ä>"_s}));
        QVERIFY(link.attribute("name"_L1).isNull());
        // Classes: "event" and "time" are, "tim" is not.
        QCOMPARE(QList<bool>({link.hasClass(u"event"), link.hasClass(u"time"), link.hasClass(u"tim")}),
                 QList<bool>({true, true, false}));
        QCOMPARE(page.first(u"bundestag")->tagName(), u"bundestag"_s);
    }

    void outerMarkup_data()
    {
        QTest::addColumn<QString>("markup");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("outer");

        QTest::newRow("with its own end tag") << u"<table><tr><td class=\"x\">a <b>b</b></td></tr></table>"_s
                                              << u"td"_s << 0 << u"<td class=\"x\">a <b>b</b></td>"_s;
        QTest::newRow("end tag in other case")
            << u"<p><SPAN>a</Span></p>"_s << u"span"_s << 0 << u"<SPAN>a</Span>"_s;
        // The receiver leaves the label cell of the video format open.
        QTest::newRow("closed by the next cell")
            << u"<table><tr><td>vidformat:<td>720x576</td></tr></table>"_s << u"td"_s << 0
            << u"<td>vidformat:"_s;
        QTest::newRow("closed by the parent's end tag")
            << u"<table><tr><td>a</tr></table>"_s << u"td"_s << 0 << u"<td>a"_s;
        QTest::newRow("open at the end of the page") << u"<p>a<b>bold"_s << u"b"_s << 0 << u"<b>bold"_s;
        QTest::newRow("stray tag closed by its parent")
            << u"<span>x <Bundestag> & y</span>"_s << u"bundestag"_s << 0 << u"<Bundestag> & y"_s;
        QTest::newRow("after multi-byte text")
            << u"<p>Schöne</p><p>Grüße, Ειδήσεις</p>"_s << u"p"_s << 1 << u"<p>Grüße, Ειδήσεις</p>"_s;
        QTest::newRow("entities stay as written") << u"<a href=\"x?a=1&amp;b=2\">&lt;</a>"_s << u"a"_s << 0
                                                  << u"<a href=\"x?a=1&amp;b=2\">&lt;</a>"_s;
        QTest::newRow("row the parser put into a table section")
            << u"<table><tr><td>1</td></tr></table>"_s << u"tbody"_s << 0 << u"<tr><td>1</td></tr>"_s;
    }

    void outerMarkup()
    {
        QFETCH(QString, markup);
        QFETCH(QString, selector);
        QFETCH(int, index);
        const HtmlDocument page(markup);
        const QList<HtmlElement> elements = page.select(selector);
        QVERIFY(index < elements.size());
        QTEST(elements.at(index).outerMarkup(), "outer");
    }

    void childrenAndSiblings()
    {
        const HtmlDocument page(
            u"<table><tr><td id=a>1</td> text <td id=b>2</td><!-- note --><td id=c>3</td></tr>"
            u"</table>"_s);
        const HtmlElement row = *page.first(u"tr");
        QCOMPARE(ids(row.children()), QStringList({u"a"_s, u"b"_s, u"c"_s}));
        const HtmlElement first = *page.first(u"td");
        // Text and comments between cells are not siblings.
        QCOMPARE(first.nextSibling()->attribute("id"_L1), u"b"_s);
        QCOMPARE(first.nextSibling()->nextSibling()->attribute("id"_L1), u"c"_s);
        QVERIFY(!first.nextSibling()->nextSibling()->nextSibling());
        QVERIFY(first.children().isEmpty());
    }

    void bytesThatAreNotText()
    {
        // Stray NUL bytes and bytes that are not UTF-8 neither stop the page nor break what follows.
        const QByteArray bytes("<table><tr><td>a\0b\xff\xfe</td><td>after</td></tr></table>", 52);
        const HtmlDocument page(bytes);
        QVERIFY(page.isParsed());
        const QList<HtmlElement> cells = page.select(u"td");
        QCOMPARE(cells.size(), 2);
        QVERIFY(cells.at(0).plainText().startsWith(u'a'));
        QCOMPARE(cells.at(1).plainText(), u"after"_s);

        const HtmlDocument empty(QByteArray{});
        QVERIFY(empty.isParsed());
        QVERIFY(empty.select(u"td").isEmpty());
    }

    void deepNesting_data()
    {
        QTest::addColumn<QByteArray>("unit");
        QTest::addColumn<int>("repeats");
        QTest::addColumn<bool>("parsed");

        // Deep pages are refused after a quick look, so they can be long; pages that are parsed are
        // kept to a few megabytes.
        constexpr int many = 400'000;
        constexpr int longPage = 100'000;
        QTest::newRow("nested blocks") << QByteArray("<div>") << many << false;
        QTest::newRow("nested inline elements") << QByteArray("<span>") << many << false;
        QTest::newRow("nested formatting elements") << QByteArray("<b><i><u>") << many << false;
        QTest::newRow("unknown tags of noise") << QByteArray("<x y=\"<\">") << many << false;
        QTest::newRow("end tags that cannot close") << QByteArray("<div><table><td></div>") << many << false;
        QTest::newRow("formatting reopened by the parser") << QByteArray("<p><font></p>") << many << false;
        QTest::newRow("cells left open in long tables")
            << QByteArray("<tr><td>a<td>b</tr>") << longPage << true;
        QTest::newRow("paragraphs left open") << QByteArray("<p>a") << longPage << true;
        QTest::newRow("closed elements") << QByteArray("<div><b>a</b></div>") << longPage << true;
        QTest::newRow("nesting a page may have") << QByteArray("<div>") << 300 << true;
    }

    void deepNesting()
    {
        QFETCH(QByteArray, unit);
        QFETCH(int, repeats);
        QElapsedTimer timer;
        timer.start();
        const HtmlDocument page(QByteArray("<table>") + unit.repeated(repeats));
        QTEST(page.isParsed(), "parsed");
        page.select(u"td");
        // The parser's time grows with the square of the depth; deep pages must be refused before.
        QVERIFY2(timer.elapsed() < 10'000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestE1Pages)
#include "tst_e1pages.moc"
