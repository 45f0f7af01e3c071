#include "box/e2readers.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/records.h"
#include "tests/common/testdata.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// An answer from tests/data/e2, decoded as the engine decodes reply bodies.
QString e2Answer(const QString& fileName)
{
    return testData(QStringLiteral("e2/") + fileName);
}

// A complete answer around the given elements, as receivers frame them.
QString e2Document(QLatin1StringView root, const QString& body)
{
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" + root + u">\n" + body + u"\n</" + root + u">\n";
}

// An event of a list that began at 20:15 sample time and runs 90 minutes.
QString e2TimedEvent(const QString& title)
{
    return u"<e2event><e2eventid>1</e2eventid><e2eventstart>1710443700</e2eventstart>"
           u"<e2eventduration>5400</e2eventduration><e2eventtitle>" +
           title + u"</e2eventtitle></e2event>";
}

// A record's fields in one line, "|" between them, so that a sample's record compares at once
// and a failure shows every field side by side. The long extended descriptions are left out.
QString fields(const EpgItem& e)
{
    const auto n = [](auto value) { return QString::number(value); };
    return QStringList{e.eventId,     n(e.start),    n(e.duration),   n(e.end),      e.startDate,
                       e.startTime,   e.currentTime, e.title,         e.description, e.serviceReference,
                       e.serviceName, n(e.progress), n(e.minutesLeft)}
        .join(u'|');
}

QString fields(const TimerEntry& t)
{
    const auto n = [](auto value) { return QString::number(value); };
    return QStringList{t.serviceReference, t.serviceName, t.eit,          t.name,     t.description,
                       t.disabled,         n(t.begin),    n(t.end),       t.dateText, t.beginTimeText,
                       t.endTimeText,      n(t.duration), t.startPrepare, t.justPlay, t.afterEvent,
                       t.location,         t.state,       n(t.cancelled)}
        .join(u'|');
}

QString fields(const MovieEntry& m)
{
    return QStringList{m.title,  m.serviceReference, m.description, m.serviceName, QString::number(m.time),
                       m.length, m.fileName,         m.fileSizeText}
        .join(u'|');
}

QString bouquetsSeen(const OwnedList<Bouquet>& bouquets)
{
    QStringList seen;
    for (const auto& bouquet : bouquets) {
        QStringList channels;
        for (const Channel* channel : bouquet->channels)
            channels << channel->name;
        seen << bouquet->name + u'/' + channels.join(u',');
    }
    return seen.join(u'|');
}

// What the reader of one kind of answer ("power", "signal", ...) made of the text, as "read|outputs". The
// outputs start from values no answer holds, so that what a refused answer leaves behind shows.
QString readAs(const QString& kind, const QString& text)
{
    const auto n = [](auto value) { return QString::number(value); };
    QStringList seen;
    if (kind == u"power") {
        seen << n(parseE2PowerState(text));
    } else if (kind == u"about") {
        AboutInfo about;
        about.model = u"left over"_s;
        seen << n(parseE2About(text, about)) << about.model << n(about.lanDhcp) << about.hddFree;
    } else if (kind == u"time") {
        QString time = u"left over"_s;
        seen << n(parseE2CurrentTime(text, time)) << time;
    } else if (kind == u"signal") {
        SignalInfo signal;
        signal = {7, 7, 7, u"left over"_s, u"left over"_s, u"left over"_s, u"left over"_s};
        seen << n(parseE2Signal(text, signal)) << n(signal.snrPercent) << n(signal.ber)
             << n(signal.agcPercent) << signal.snrText;
    } else if (kind == u"volume") {
        int level = -7;
        bool muted = false;
        seen << n(parseE2Volume(text, muted, level)) << n(level) << n(muted);
    } else if (kind == u"message answer") {
        MessageAnswer answer = MessageAnswer(-1);
        seen << n(parseE2MessageAnswer(text, answer)) << n(int(answer));
    } else if (kind == u"movie delete") {
        seen << n(parseE2MovieDeleteResult(text));
    } else if (kind == u"command") {
        E2CommandResult result{true, u"left over"_s};
        seen << n(parseE2CommandResult(text, result)) << n(result.accepted) << result.text;
    } else if (kind == u"timer command") {
        seen << n(parseE2TimerCommandResult(text)) << n(containsSuccessWord(text));
    } else if (kind == u"current service") {
        CurrentServiceE2 service;
        service.serviceName = u"left over"_s;
        seen << n(parseE2CurrentService(text, service, sampleClock())) << service.serviceReference
             << service.serviceName << n(service.events.size());
    } else if (kind == u"services") {
        OwnedList<Bouquet> bouquets;
        seen << n(parseE2Services(text, bouquets)) << bouquetsSeen(bouquets);
    } else if (kind == u"bouquet EPG" || kind == u"events") {
        OwnedList<EpgItem> events;
        events.push_back(std::make_unique<EpgItem>());
        seen << n(kind == u"events" ? parseE2EventList(text, events, sampleClock())
                                    : parseE2BouquetEpg(text, u"bq"_s, events, sampleClock()));
        for (const auto& e : events) {
            if (kind == u"events")
                seen << e->title << e->serviceReference;
            else
                seen << n(e->start) << n(e->duration) << n(e->end);
        }
    } else if (kind == u"timers") {
        OwnedList<TimerEntry> timers;
        timers.push_back(std::make_unique<TimerEntry>());
        seen << n(parseE2TimerList(text, timers, sampleClock()));
        for (const auto& t : timers)
            seen << n(t->duration) << n(t->cancelled) << t->dateText << t->beginTimeText << t->endTimeText;
    } else if (kind == u"bouquet EPG texts") {
        OwnedList<EpgItem> events;
        seen << n(parseE2BouquetEpg(text, u"bq"_s, events, sampleClock()));
        for (const auto& e : events)
            seen << e->title << e->description << e->serviceName;
    } else if (kind == u"current service in full") {
        CurrentServiceE2 service;
        seen << n(parseE2CurrentService(text, service, sampleClock())) << service.serviceReference
             << service.serviceName << service.providerName << service.videoWidth << service.videoHeight
             << service.videoSize;
        for (const auto& event : service.events)
            seen << fields(*event) << event->descriptionExtended;
    } else if (kind == u"timers in full") {
        OwnedList<TimerEntry> timers;
        seen << n(parseE2TimerList(text, timers, sampleClock()));
        for (const auto& timer : timers)
            seen << fields(*timer);
    } else if (kind == u"movies in full") {
        OwnedList<MovieEntry> movies;
        seen << n(parseE2MovieList(text, movies));
        for (const auto& m : movies)
            seen << m->title << n(m->time) << m->length << m->fileSizeText;
    } else if (kind == u"movies") {
        OwnedList<MovieEntry> movies;
        movies.push_back(std::make_unique<MovieEntry>());
        seen << n(parseE2MovieList(text, movies));
        for (const auto& movie : movies)
            seen << movie->fileSizeText;
    }
    return seen.join(u'|');
}

QString oneEvent(const QString& children)
{
    return e2Document("e2eventlist"_L1, u"<e2event>" + children + u"</e2event>");
}

const QString march14 = QDate(2024, 3, 14).toString(Qt::TextDate);

QString children(QLatin1StringView root, const QStringList& values, const QStringList& names)
{
    QString body;
    for (qsizetype i = 0; i < values.size(); ++i)
        body += u'<' + names[i] + u'>' + values[i] + u"</" + names[i] + u'>';
    return e2Document(root, body);
}

QString signalAnswer(const QStringList& values)
{
    return children("e2frontendstatus"_L1, values,
                    {u"e2snrdb"_s, u"e2snr"_s, u"e2ber"_s, u"e2acg"_s}); // "acg" as the receiver spells it
}

QString volumeAnswer(const QStringList& values)
{
    return children("e2volume"_L1, values,
                    {u"e2result"_s, u"e2resulttext"_s, u"e2current"_s, u"e2ismuted"_s});
}

QString simpleResult(const QString& state, const QString& text)
{
    return e2Document("e2simplexmlresult"_L1,
                      u"<e2state>" + state + u"</e2state><e2statetext>" + text + u"</e2statetext>");
}

// Every reader (see readAs()) with what it shows for an answer it refuses: its outputs emptied,
// or left as they were by the readers that only write them on success.
const QList<std::pair<QString, QString>> readers{{u"power"_s, u"0"_s},
                                                 {u"services"_s, u"0|"_s},
                                                 {u"current service"_s, u"0|||0"_s},
                                                 {u"bouquet EPG"_s, u"0"_s},
                                                 {u"events"_s, u"0"_s},
                                                 {u"about"_s, u"0||0|"_s},
                                                 {u"time"_s, u"0|"_s},
                                                 {u"signal"_s, u"0|0|0|0|"_s},
                                                 {u"volume"_s, u"0|-7|0"_s},
                                                 {u"message answer"_s, u"0|-1"_s},
                                                 {u"movie delete"_s, u"0"_s},
                                                 {u"command"_s, u"0|1|left over"_s},
                                                 {u"timers"_s, u"0"_s},
                                                 {u"movies"_s, u"0"_s}};

// What every reader made of one answer: the readers that read it, and whether every reader that
// gave false left its outputs as it must.
struct Outcome
{
    QStringList read;
    bool clean = true;
    bool timerCommand = false;
};

Outcome readWithEveryReader(const QString& text)
{
    Outcome outcome;
    for (const auto& [kind, refused] : readers) {
        const QString seen = readAs(kind, text);
        if (seen.startsWith(u'1'))
            outcome.read << kind;
        else
            outcome.clean = outcome.clean && seen == refused;
    }
    outcome.timerCommand = parseE2TimerCommandResult(text);
    return outcome;
}

QString nested(int depth, const QString& inner, bool closed = true)
{
    QString text;
    text.reserve(depth * 8 + inner.size());
    for (int i = 0; i < depth; ++i)
        text += u"<n>";
    text += inner;
    if (closed) {
        for (int i = 0; i < depth; ++i)
            text += u"</n>";
    }
    return text;
}

} // namespace

// The readers of the Enigma2 answers on the receiver's samples and on answers built around one
// element: events, lists (bouquets, timers, recordings), status and command results; and on
// broken, truncated, huge and hostile answers.
class TestE2Readers : public QObject
{
    Q_OBJECT

private slots:
    void bouquetEpgFillsEveryField()
    {
        // The services without EPG are dropped, and every event knows the bouquet it was asked for.
        OwnedList<EpgItem> events;
        QVERIFY(parseE2BouquetEpg(e2Answer(u"e2-epgnow.xml"_s), u"bq"_s, events, sampleClock()));
        QCOMPARE(events.size(), size_t(7));
        for (const auto& event : events)
            QCOMPARE(event->bouquetReference, u"bq"_s);
        QCOMPARE(fields(*events.at(0)),
                 u"21424|1710443700|5400|1710449100|" + march14 +
                     u"|20:15|1710443862|Tatort: Schöne Bescherung|Fernsehfilm Deutschland "
                     u"2023|1:0:19:283D:3FB:1:C00000:0:0:0:|Das Erste HD|0|0");
        const QString extended = events.at(0)->descriptionExtended;
        QVERIFY(extended.startsWith(u"Kommissarin Lürsen & Kommissar Stedefreund"_s));
        QVERIFY(extended.contains(u"Hafen – und zu einem alten \"Bekannten\".\n\nRegie"_s));
        const EpgItem& arabic = *events.back();
        QCOMPARE(arabic.serviceName + u'|' + arabic.title + u'|' + arabic.startTime,
                 u"الجزيرة|نشرة الأخبار|20:00"_s);
    }

    void eventListOfSamples_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("titles");

        QTest::newRow("search") << u"e2-epgsearch.xml"_s
                                << QStringList{u"Tatort: Schöne Bescherung"_s,
                                               u"Tatort: Borowski & das Haus am Meer"_s,
                                               u"Tatort: Die Wahrheit"_s};
        QTest::newRow("similar") << u"e2-epgsimilar.xml"_s
                                 << QStringList{u"Tatort: Borowski & das Haus am Meer"_s};
        QTest::newRow("nothing found is an empty list") << u"e2-epgservice-empty.xml"_s << QStringList();
    }

    void eventListOfSamples()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, titles);
        OwnedList<EpgItem> events;
        QVERIFY(parseE2EventList(e2Answer(file), events, sampleClock()));
        QStringList read;
        for (const auto& event : events) {
            read << event->title;
            QVERIFY(event->bouquetReference.isEmpty());
            QVERIFY(event->currentTime.isEmpty() || event->currentTime == u"0"); // None or 0 there
        }
        QCOMPARE(read, titles);
    }

    void eventListKeepsEventsWithoutEpg()
    {
        OwnedList<EpgItem> events;
        QVERIFY(parseE2EventList(e2Answer(u"e2-epgnow.xml"_s), events, sampleClock()));
        QCOMPARE(events.size(), size_t(9));
        QCOMPARE(fields(*events.at(2)),
                 u"|0|-1|0|||1710443862|||1:0:19:2B7A:3FB:1:C00000:0:0:0:|arte HD|0|0"_s);
    }

    void servicesOfSample()
    {
        OwnedList<Bouquet> bouquets;
        QVERIFY(parseE2Services(e2Answer(u"e2-getallservices.xml"_s), bouquets));
        QStringList names;
        for (const auto& bouquet : bouquets)
            names << bouquet->name + u'/' + QString::number(bouquet->channels.size());
        // The bouquet without services is listed as a plain service between the others.
        QCOMPARE(names, QStringList(
                            {u"Favourites (TV)/9"_s, u"Doku & Serien/3"_s, u"Neu/0"_s, u"Last Scanned/1"_s}));

        // Bouquet references go back to the receiver with their quotes.
        QCOMPARE(bouquets[0]->reference,
                 u"1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.favourites.tv\" ORDER BY bouquet"_s);
        QCOMPARE(bouquets[2]->reference,
                 u"1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.dbe02.tv\" ORDER BY bouquet"_s);

        const QList<Channel*>& favourites = bouquets[0]->channels;
        QCOMPARE(
            QStringList({favourites[0]->name, favourites[0]->serviceReference,
                         favourites[3]->serviceReference, favourites[7]->name, favourites[8]->name})
                .join(u'|'),
            u"Das Erste HD|1:0:19:283D:3FB:1:C00000:0:0:0:|1:64:1:0:0:0:0:0:0:0::--- Privat ---|ΕΡΤ World|"
            u"الجزيرة"_s);
        QCOMPARE(bouquets[1]->channels[0]->name, u"A&E HD"_s);
        for (const auto& bouquet : bouquets) {
            for (const Channel* channel : bouquet->channels) {
                QCOMPARE(channel->parent(), bouquet.get());
                QVERIFY(channel->bouquetName.isEmpty());
            }
        }
    }

    void timersOfSample()
    {
        OwnedList<TimerEntry> timers;
        QVERIFY(parseE2TimerList(e2Answer(u"e2-timerlist.xml"_s), timers, sampleClock()));
        QCOMPARE(timers.size(), size_t(4));
        QCOMPARE(fields(*timers[0]), u"1:0:19:283D:3FB:1:C00000:0:0:0:|Das Erste HD|21424|Tatort: Schöne "
                                     u"Bescherung|Fernsehfilm Deutschland 2023|0|1710443400|1710449700|" +
                                         march14 + u"|20:10|21:55|6300|1710443380|0|3|/media/hdd/movie/|2|0");
        QVERIFY(timers[0]->descriptionExtended.startsWith(u"Kommissarin Lürsen & Kommissar"_s));
        // A zap timer: no folder (None), waiting.
        QCOMPARE(timers[1]->justPlay + u'|' + timers[1]->location + u'|' + timers[1]->state, u"1||0"_s);
        QCOMPARE(timers[2]->serviceName, u"A&E HD"_s);
        // N/A without EPG
        QCOMPARE(timers[3]->name + u'|' + timers[3]->descriptionExtended, u"Ειδήσεις|"_s);
    }

    void moviesOfSample()
    {
        OwnedList<MovieEntry> movies;
        QVERIFY(parseE2MovieList(e2Answer(u"e2-movielist.xml"_s), movies));
        QCOMPARE(movies.size(), size_t(3));
        const QString file =
            u"/media/hdd/movie/20240314 2010 - Das Erste HD - Tatort_ Schöne Bescherung.ts"_s;
        QCOMPARE(fields(*movies[0]), u"Tatort: Schöne Bescherung|1:0:0:0:0:0:0:0:0:0:" + file +
                                         u"|Fernsehfilm Deutschland 2023|Das Erste HD|1710443400|7:42|" +
                                         file + u"|462.078 MB");
        QVERIFY(movies[0]->descriptionExtended.endsWith(u"Darsteller: Sabine Postel, Oliver Mommsen"_s));
        QCOMPARE(movies[1]->title + u'|' + movies[1]->fileSizeText + u'|' + movies[1]->descriptionExtended,
                 u"Ειδήσεις|1519.87 MB|"_s);
        QCOMPARE(
            movies[2]->title + u'|' + movies[2]->serviceName + u'|' + movies[2]->length + u'|' +
                movies[2]->serviceReference,
            u"Storage Wars & Co|A&E HD|?:??|1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/20240310 1805 - A&E HD - "
            u"Storage Wars & Co.ts"_s);
    }

    void aboutOfSample()
    {
        AboutInfo a;
        QVERIFY(parseE2About(e2Answer(u"e2-about.xml"_s), a));
        // The front processor's None is no version; of two tuners the last one listed remains.
        QCOMPARE(QStringList({a.enigmaVersion, a.imageVersion, a.webifVersion, a.fpVersion, a.model, a.lanMac,
                              QString::number(a.lanDhcp), a.lanIp, a.lanMask, a.lanGateway, a.hddModel,
                              a.hddCapacity, a.hddFree, a.tunerName, a.tunerType})
                     .join(u'|'),
                 u"2024-03-10|7.4|OWIF 1.5.2||Uno 4K SE|00:1d:ec:0a:1b:2c|1|192.168.178.44|255.255.255.0|"
                 u"192.168.178.1|ATA(ST2000LM015-2E81)|1.8 TB|1243.7 GB|Tuner B|Vuplus DVB-S NIM(7376 FBC) "
                 u"(DVB-S2)"_s);
    }

    void answers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("seen"); // see readAs()

        // The reader is the one the row's name begins with.
        const auto row = [](const char* name, const QString& text, const QString& seen) {
            QTest::newRow(name) << text << seen;
        };
        const auto standby = [](const QString& value) {
            return e2Document("e2powerstate"_L1, u"<e2instandby>" + value + u"</e2instandby>");
        };
        row("power: running sample", e2Answer(u"e2-powerstate.xml"_s), u"0"_s);
        row("power: standby sample", e2Answer(u"e2-powerstate-standby.xml"_s), u"1"_s);
        row("power: padded false", standby(u"\n\tfalse\t\n"_s), u"0"_s);
        row("power: capitalised False means standby", standby(u"False"_s), u"1"_s);
        row("power: true", standby(u"true"_s), u"1"_s);
        row("power: first element of another name",
            e2Document("e2powerstate"_L1, u"<e2other>true</e2other><e2instandby>true</e2instandby>"_s),
            u"0"_s);
        row("power: another answer", e2Answer(u"e2-vol.xml"_s), u"0"_s);
        row("power: truncated", standby(u"true"_s).chopped(10), u"0"_s);

        // read|model|DHCP|free disk space
        const auto abouts = [](const QString& body) { return e2Document("e2abouts"_L1, body); };
        row("about: no enigma version", abouts(u"<e2about><e2model>Uno</e2model></e2about>"_s), u"0||0|"_s);
        row("about: enigma version None",
            abouts(u"<e2about><e2enigmaversion>None</e2enigmaversion><e2model>Uno</e2model></e2about>"_s),
            u"0||0|"_s);
        row("about: without disk, DHCP off",
            abouts(
                u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2landhcp>False</e2landhcp></e2about>"_s),
            u"1||0|"_s);
        row("about: padded DHCP",
            abouts(
                u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2landhcp>\n\tTrue\n</e2landhcp></e2about>"_s),
            u"1||1|"_s);
        row("about: two disks, the last remains",
            abouts(u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2hddinfo><free>1 GB</free></e2hddinfo>"
                   u"<e2hddinfo><free>2 GB</free></e2hddinfo></e2about>"_s),
            u"1||0|2 GB"_s);
        row("about: later about wins",
            abouts(u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2model>A</e2model></e2about>"
                   u"<e2about><e2model>B&amp;amp;C</e2model></e2about>"_s),
            u"1|B&C|0|"_s);

        row("time: sample", e2Answer(u"e2-currenttime.xml"_s), u"1|20:17:42"_s);
        row("time: before ten", e2Document("e2currenttime"_L1, u" 8:05:09"_s), u"1|8:05:09"_s);
        row("time: another answer", e2Answer(u"e2-powerstate.xml"_s), u"0|"_s);
        row("time: not closed", u"<e2currenttime>20:17:42"_s, u"0|"_s);

        // read|SNR %|BER|AGC %|SNR text
        row("signal: sample", e2Answer(u"e2-signal.xml"_s), u"1|78|0|93|78 %"_s);
        row("signal: 75, 0 and 90 percent", signalAnswer({u"12 dB"_s, u"75 %"_s, u"0"_s, u"90 %"_s}),
            u"1|75|0|90|75 %"_s);
        row("signal: full signal is 100, not 10",
            signalAnswer({u"16.00 dB"_s, u"100 %"_s, u"12"_s, u"100 %"_s}), u"1|100|12|100|100 %"_s);
        row("signal: single digit percentages", signalAnswer({u"1 dB"_s, u"7 %"_s, u"0"_s, u"5%"_s}),
            u"1|7|0|5|7 %"_s);
        row("signal: values on indented lines",
            signalAnswer(
                {u"\n\t\t12.34 dB\n\t"_s, u"\n\t\t64 %\n\t"_s, u"\n\t\t0\n\t"_s, u"\n\t\t78 %\n\t"_s}),
            u"1|64|0|78|64 %"_s);
        row("signal: no tuner is no signal", signalAnswer({u" dB"_s, u" %"_s, QString(), u" %"_s}),
            u"1|0|0|0|"_s);
        row("signal: standby is no signal", signalAnswer({u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s}),
            u"1|0|0|0|"_s);
        row("signal: AGC None", signalAnswer({u"12 dB"_s, u"64 %"_s, u"0"_s, u"None"_s}), u"0|0|0|0|"_s);
        row("signal: only three values", signalAnswer({u"12 dB"_s, u"64 %"_s, u"0"_s}), u"0|0|0|0|"_s);
        row("signal: another answer", e2Answer(u"e2-vol.xml"_s), u"0|0|0|0|"_s);

        // read|level|muted; a refused answer leaves the outputs as they were
        row("volume: status sample", e2Answer(u"e2-vol.xml"_s), u"1|45|0"_s);
        row("volume: mute sample", e2Answer(u"e2-vol-mute.xml"_s), u"1|45|1"_s);
        row("volume: set sample", e2Answer(u"e2-vol-set.xml"_s), u"1|30|0"_s);
        row("volume: refused command still carries the level",
            volumeAnswer({u"False"_s, u"Unknown Volume command "_s, u"45"_s, u"False"_s}), u"1|45|0"_s);
        row("volume: 100 and muted", volumeAnswer({u"True"_s, u""_s, u"100"_s, u"True"_s}), u"1|100|1"_s);
        row("volume: padded", volumeAnswer({u"True"_s, u""_s, u"\n\t30\t"_s, u"\n\tFalse\t"_s}), u"1|30|0"_s);
        row("volume: level not a number leaves the outputs",
            volumeAnswer({u"True"_s, u""_s, u"loud"_s, u"True"_s}), u"0|-7|0"_s);
        row("volume: level missing", volumeAnswer({u"True"_s, u""_s}), u"0|-7|0"_s);
        row("volume: another answer", e2Answer(u"e2-signal.xml"_s), u"0|-7|0"_s);

        // read|answer: 0 yes, 1 no, 2 timeout, -1 untouched
        row("message answer: yes sample", e2Answer(u"e2-messageanswer.xml"_s), u"1|0"_s);
        row("message answer: no", simpleResult(u"True"_s, u"Answer is NO!"_s), u"1|1"_s);
        row("message answer: timeout with state False", simpleResult(u"False"_s, u"No answer in time"_s),
            u"1|2"_s);
        row("message answer: yes with blanks around", simpleResult(u"True"_s, u"  Answer is YES!\n"_s),
            u"1|0"_s);
        row("message answer: lower case is no answer", simpleResult(u"True"_s, u"answer is yes!"_s),
            u"0|-1"_s);
        row("message answer: message sent is no answer", e2Answer(u"e2-message.xml"_s), u"0|-1"_s);
        row("message answer: first element not the state",
            e2Document("e2simplexmlresult"_L1, u"<e2statetext>Answer is YES!</e2statetext>"_s), u"0|-1"_s);

        row("movie delete: deleted sample", e2Answer(u"e2-moviedelete.xml"_s), u"1"_s);
        row("movie delete: failed sample", e2Answer(u"e2-moviedelete-fail.xml"_s), u"0"_s);
        row("movie delete: padded True", simpleResult(u"\n\tTrue\t"_s, u"deleted"_s), u"1"_s);
        row("movie delete: lower case true", simpleResult(u"true"_s, u"deleted"_s), u"0"_s);
        row("movie delete: state not first",
            e2Document("e2simplexmlresult"_L1, u"<e2statetext>x</e2statetext><e2state>True</e2state>"_s),
            u"0"_s);

        // read|accepted|text
        row("command: zap sample", e2Answer(u"e2-zap.xml"_s),
            u"1|1|Active service is now '1:0:19:283D:3FB:1:C00000:0:0:0:'"_s);
        row("command: remote control sample", e2Answer(u"e2-remotecontrol.xml"_s),
            u"1|1|RC command '352' has been issued"_s);
        row("command: lower-case false", simpleResult(u"false"_s, u"refused"_s), u"1|0|refused"_s);
        row("command: power state answer", e2Answer(u"e2-powerstate.xml"_s), u"1|1|"_s);
        row("command: no state", e2Document("e2simplexmlresult"_L1, u"<e2statetext>x</e2statetext>"_s),
            u"0|1|left over"_s);

        // succeeded|success word
        row("timer command: timer added (no success word)", e2Answer(u"e2-timeradd-ok.xml"_s), u"1|0"_s);
        row("timer command: event not found", e2Answer(u"e2-timeradd-noevent.xml"_s), u"0|0"_s);
        row("timer command: timer deleted", e2Answer(u"e2-timerdelete-ok.xml"_s), u"1|1"_s);
        row("timer command: conflict", simpleResult(u"False"_s, u"Conflicting Timer(s) detected! Tatort"_s),
            u"0|0"_s);
        row("timer command: state False wins over the word",
            simpleResult(u"False"_s, u"not added successfully"_s), u"0|1"_s);
        row("timer command: padded state", simpleResult(u"\n True\t"_s, u"Timer 'x' added"_s), u"1|0"_s);
        row("timer command: no state: the word decides",
            e2Document("e2simplexmlresult"_L1, u"<e2statetext>deleted successfully</e2statetext>"_s),
            u"1|1"_s);
        row("timer command: state neither True nor False: the word decides",
            simpleResult(u"None"_s, u"Timer 'x' added"_s), u"0|0"_s);
        row("timer command: plain text with the word", u"Timer event was created successfully."_s, u"1|1"_s);
        row("timer command: plain text without it", u"Timer event was created."_s, u"0|0"_s);
        row("timer command: word in other case", u"Successfully"_s, u"0|0"_s);

        // read|reference|name|events
        const QString event = u"<e2event><e2eventstart>1710443700</e2eventstart>"
                              u"<e2eventduration>5400</e2eventduration></e2event>"_s;
        const QString noEpgEvent =
            u"<e2event><e2eventid>N/A</e2eventid><e2eventstart>0</e2eventstart>"
            u"<e2eventduration>0</e2eventduration><e2eventtitle>N/A</e2eventtitle></e2event>"_s;
        const auto currentAnswer = [](const QString& service, const QString& events) {
            return e2Document("e2currentserviceinformation"_L1, u"<e2service>" + service +
                                                                    u"</e2service><e2eventlist>" + events +
                                                                    u"</e2eventlist>");
        };
        const QString aeHd = u"1:0:19:6F0E:431:1:C00000:0:0:0:"_s;
        const QString ref = u"<e2servicereference>" + aeHd + u"</e2servicereference>";
        row("current service: double escaped service name",
            currentAnswer(ref + u"<e2servicename>A&amp;amp;E HD</e2servicename>", event),
            u"1|" + aeHd + u"|A&E HD|1");
        row("current service: empty reference fails even with events",
            currentAnswer(u"<e2servicereference></e2servicereference><e2servicename>X</e2servicename>"_s,
                          event + event),
            u"0|||0"_s);
        row("current service: no service element fails",
            e2Document("e2currentserviceinformation"_L1, QString()), u"0|||0"_s);
        row("current service: events of a service without EPG are dropped",
            currentAnswer(ref, noEpgEvent + noEpgEvent), u"1|" + aeHd + u"||0");
        row("current service: events at any depth",
            currentAnswer(ref, u"<e2eventgroup>" + event + u"</e2eventgroup>"), u"1|" + aeHd + u"||1");
        row("current service: wrong root", e2Document("e2service"_L1, ref), u"0|||0"_s);
        // The service, then each event's fields and its extended description.
        const QString erste = u"1:0:19:283D:3FB:1:C00000:0:0:0:|Das Erste HD"_s;
        row("current service in full: sample", e2Answer(u"e2-getcurrent.xml"_s),
            u"1|" + erste + u"|ARD|1280|720|1280x720|21424|1710443700|5400|1710449100|" + march14 +
                u"|20:15|1710443862|Tatort: Schöne Bescherung|Fernsehfilm Deutschland 2023|" + erste +
                u"|0|0|Kommissarin Lürsen & Kommissar Stedefreund ermitteln: In der Nacht vor Heiligabend "
                u"wird ein Paketbote tot aufgefunden.\nDie Spur führt in ein Logistikzentrum am Bremer Hafen "
                u"– und zu einem alten \"Bekannten\".\n\nRegie: Max Mustermann\nDarsteller: Sabine Postel, "
                u"Oliver Mommsen|21425|1710449100|1800|1710450900|" +
                march14 + u"|21:45|1710443862|Tagesthemen|mit Wetter|" + erste +
                u"|0|0|Berichte, Analysen und Kommentare zum Tag.\nModeration: Ingo Zamperoni");

        // read|bouquet/channel names|...
        const auto listing = [](const QString& body) {
            return e2Document("e2servicelistrecursive"_L1, body);
        };
        const QString service =
            u"<e2service><e2servicereference>1:0:1:1:1:1:C00000:0:0:0:</e2servicereference>"
            u"<e2servicename>Eins</e2servicename></e2service>"_s;
        row("services: no bouquet at all", listing(QString()), u"0|"_s);
        row("services: bouquet without service list",
            listing(u"<e2bouquet><e2servicename>Leer</e2servicename></e2bouquet>"_s), u"1|Leer/"_s);
        row("services: services below nested lists",
            listing(u"<e2bouquet><e2servicename>B</e2servicename><e2servicelist><group>" + service +
                    u"</group>" + service + u"</e2servicelist></e2bouquet>"),
            u"1|B/Eins,Eins"_s);
        row("services: bouquets below other elements",
            listing(u"<wrapper><e2bouquet><e2servicename>B</e2servicename></e2bouquet></wrapper>"_s),
            u"1|B/"_s);
        row("services: double escaped and padded names",
            listing(u"<e2bouquet><e2servicename>\n\tDoku &amp;amp; Serien\t</e2servicename><e2servicelist>"
                    u"<e2service><e2servicename>&amp;quot;Welt&amp;quot;</e2servicename></e2service>"
                    u"</e2servicelist></e2bouquet>"_s),
            u"1|Doku & Serien/\"Welt\""_s);
        row("services: unknown elements skipped",
            listing(u"<e2bouquet><e2servicename>B</e2servicename><e2extra><e2servicename>X</e2servicename>"
                    u"</e2extra><e2servicelist>" +
                    service + u"</e2servicelist></e2bouquet>"),
            u"1|B/Eins"_s);

        // read, then start|duration|end of each event kept
        const auto timed = [](const QString& start, const QString& duration) {
            return oneEvent(u"<e2eventstart>" + start + u"</e2eventstart><e2eventduration>" + duration +
                            u"</e2eventduration><e2eventtitle>T</e2eventtitle>");
        };
        // A well-formed answer is read even when none of its events is of use.
        const QString evening = u"1|1710443700|5400|1710449100"_s;
        const QString endsBeforeStart = u"1|1710443700|-1|1710443699"_s;
        row("bouquet EPG: start and duration numbers", timed(u"1710443700"_s, u"5400"_s), evening);
        row("bouquet EPG: duration not a number", timed(u"1710443700"_s, u"abc"_s), u"1"_s);
        row("bouquet EPG: start and duration None", timed(u"None"_s, u"None"_s), u"1"_s);
        row("bouquet EPG: duration N/A", timed(u"1710443700"_s, u"N/A"_s), u"1"_s);
        row("bouquet EPG: duration empty", timed(u"1710443700"_s, QString()), u"1"_s);
        row("bouquet EPG: duration 0 ends before the start", timed(u"1710443700"_s, u"0"_s), endsBeforeStart);
        row("bouquet EPG: negative duration", timed(u"1710443700"_s, u"-60"_s), endsBeforeStart);
        row("bouquet EPG: start and duration 0 (no EPG)", timed(u"0"_s, u"0"_s), u"1"_s);
        row("bouquet EPG: start None with a duration", timed(u"None"_s, u"600"_s), u"1"_s);
        row("bouquet EPG: float time stamp", timed(u"1710443700.37"_s, u"5400.0"_s), evening);
        row("bouquet EPG: padded values", timed(u"\n\t1710443700\t"_s, u"\n 5400 \n"_s), evening);
        row("bouquet EPG: start beyond 32 bits", timed(u"99999999999"_s, u"60"_s), u"1"_s);
        row("bouquet EPG: number with trailing words", timed(u"1710443700"_s, u"5400 s"_s), u"1"_s);
        row("bouquet EPG: no duration element", oneEvent(u"<e2eventstart>1710443700</e2eventstart>"_s),
            endsBeforeStart);
        row("bouquet EPG: neither start nor duration", oneEvent(u"<e2eventtitle>T</e2eventtitle>"_s), u"1"_s);

        // read, then title|reference of each event: titles are shown as the user reads them,
        // service references stay exactly as sent.
        const auto titled = [](const QString& xml) {
            return e2Document("e2eventlist"_L1, e2TimedEvent(xml));
        };
        row("events: padded with newlines and tabs", titled(u"\n\t\tTagesschau\t\n"_s), u"1|Tagesschau|"_s);
        row("events: None is no text", titled(u"None"_s), u"1||"_s);
        row("events: N/A is no text", titled(u"N/A"_s), u"1||"_s);
        row("events: <n/a> is no text", titled(u"&lt;n/a&gt;"_s), u"1||"_s);
        row("events: padded None is no text", titled(u"\n None\t"_s), u"1||"_s);
        row("events: ampersand escaped once", titled(u"Tom &amp; Jerry"_s), u"1|Tom & Jerry|"_s);
        row("events: ampersand escaped twice", titled(u"A&amp;amp;E HD"_s), u"1|A&E HD|"_s);
        row("events: quotes escaped twice", titled(u"&amp;quot;Tatort&amp;quot;"_s), u"1|\"Tatort\"|"_s);
        row("events: angle brackets escaped twice", titled(u"&amp;lt;Bundestag&amp;gt;"_s),
            u"1|<Bundestag>|"_s);
        row("events: apostrophe escaped twice", titled(u"Rock &amp;apos;n&amp;apos; Roll"_s),
            u"1|Rock 'n' Roll|"_s);
        row("events: character reference escaped twice", titled(u"Gr&amp;#252;n"_s), u"1|Grün|"_s);
        row("events: hex reference escaped twice", titled(u"Gr&amp;#xFC;n"_s), u"1|Grün|"_s);
        row("events: reference outside the BMP escaped twice", titled(u"&amp;#x1F3AC; Kino"_s),
            u"1|🎬 Kino|"_s);
        row("events: unknown entity stays", titled(u"&amp;nbsp;AT&amp;T"_s), u"1|&nbsp;AT&T|"_s);
        row("events: reference to a surrogate stays", titled(u"&amp;#xD800;"_s), u"1|&#xD800;|"_s);
        row("events: reference beyond Unicode stays", titled(u"&amp;#x110000;"_s), u"1|&#x110000;|"_s);
        row("events: ampersand at the end stays", titled(u"Tom &amp;"_s), u"1|Tom &|"_s);
        row("events: characters outside the BMP", titled(u"🎬 Film 𝄞"_s), u"1|🎬 Film 𝄞|"_s);
        row("events: character references outside the BMP", titled(u"&#x1F3AC;&#119070;"_s), u"1|🎬𝄞|"_s);
        row("events: Greek", titled(u"Ειδήσεις"_s), u"1|Ειδήσεις|"_s);
        row("events: CDATA section", titled(u"<![CDATA[A & B <live>]]>"_s), u"1|A & B <live>|"_s);
        row("events: inner line breaks stay", titled(u"\nZeile 1\nZeile 2\n"_s), u"1|Zeile 1\nZeile 2|"_s);
        row("events: stray control characters", titled(u"Nach\u0001richten\u001b"_s), u"1|Nachrichten|"_s);
        row("events: child elements left out", titled(u"Titel<b>fett</b>"_s), u"1|Titel|"_s);
        const auto referenced = [](const QString& xml) {
            return oneEvent(u"<e2eventservicereference>" + xml + u"</e2eventservicereference>");
        };
        const QString das = u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
        row("events: plain service reference", referenced(das), u"1||" + das);
        row("events: padded reference", referenced(u"\n\t" + das + u"\t\n"), u"1||" + das);
        row("events: reference marker with blanks", referenced(u"1:64:1:0:0:0:0:0:0:0::--- Privat ---"_s),
            u"1||1:64:1:0:0:0:0:0:0:0::--- Privat ---"_s);
        row("events: reference escapes are not undone twice",
            referenced(u"1:0:0:0:0:0:0:0:0:0:/media/A&amp;amp;E.ts"_s),
            u"1||1:0:0:0:0:0:0:0:0:0:/media/A&amp;E.ts"_s);
        row("events: None reference is kept", referenced(u"None"_s), u"1||None"_s);

        // read, then duration|cancelled|date|begin|end of each timer
        const auto timer = [](const QString& children) {
            return e2Document("e2timerlist"_L1, u"<e2timer>" + children + u"</e2timer>");
        };
        const QString begin = u"<e2timebegin>1710443400</e2timebegin><e2timeend>1710449700</e2timeend>"_s;
        const QString texts = march14 + u"|20:10|21:55";
        row("timers: duration missing", timer(begin), u"1|-1|0|" + texts);
        row("timers: duration 0", timer(begin + u"<e2duration>0</e2duration>"), u"1|-1|0|" + texts);
        row("timers: duration None", timer(begin + u"<e2duration>None</e2duration>"), u"1|-1|0|" + texts);
        row("timers: duration as float", timer(begin + u"<e2duration>6300.0</e2duration>"),
            u"1|6300|0|" + texts);
        row("timers: cancelled True", timer(begin + u"<e2cancled>True</e2cancled>"), u"1|-1|1|" + texts);
        row("timers: cancelled padded", timer(begin + u"<e2cancled>\n True\t</e2cancled>"),
            u"1|-1|1|" + texts);
        row("timers: cancelled other text keeps false", timer(begin + u"<e2cancled>yes</e2cancled>"),
            u"1|-1|0|" + texts);
        row("timers: over midnight shows the end's date",
            timer(u"<e2timebegin>1710455400</e2timebegin><e2timeend>1710459000</e2timeend>"_s),
            u"1|-1|0|" + QDate(2024, 3, 15).toString(Qt::TextDate) + u"|23:30|00:30");
        row("timers: float time stamps",
            timer(u"<e2timebegin>1710443400.5</e2timebegin><e2timeend>1710449700.25</e2timeend>"_s),
            u"1|-1|0|" + texts);
        row("timers: begin None leaves its texts empty",
            timer(u"<e2timebegin>None</e2timebegin><e2timeend>1710449700</e2timeend>"_s),
            u"1|-1|0|" + march14 + u"||21:55");
        // An empty list is a list, another answer is none.
        row("timers: list without timers", e2Answer(u"e2-timerlist-empty.xml"_s), u"1"_s);
        row("timers: movie folder without recordings", e2Answer(u"e2-movielist-empty.xml"_s), u"0"_s);
        row("timers: command answer", e2Answer(u"e2-timercleanup.xml"_s), u"0"_s);
        row("timers: event list", e2Answer(u"e2-epgservice-empty.xml"_s), u"0"_s);

        // read, then the file size shown for each recording
        const auto sized = [](const QString& size) {
            return e2Document("e2movielist"_L1, u"<e2movie><e2filesize>" + size + u"</e2filesize></e2movie>");
        };
        row("movies: 1234567890 bytes", sized(u"1234567890"_s), u"1|1234.57 MB"_s);
        row("movies: 5 GB recording", sized(u"5368709120"_s), u"1|5368.71 MB"_s);
        row("movies: just above 32 bits", sized(u"4294967296"_s), u"1|4294.97 MB"_s);
        row("movies: 100 GB recording", sized(u"100000000000"_s), u"1|100000 MB"_s);
        row("movies: padded size", sized(u"\n\t5368709120\t\n"_s), u"1|5368.71 MB"_s);
        row("movies: size as float", sized(u"1234567890.0"_s), u"1|1234.57 MB"_s);
        row("movies: empty recording", sized(u"0"_s), u"1|0 MB"_s);
        row("movies: size not a number", sized(u"big"_s), u"1|0 MB"_s);
        row("movies: size None", sized(u"None"_s), u"1|0 MB"_s);
        row("movies: size empty", sized(QString()), u"1|0 MB"_s);
        row("movies: negative size", sized(u"-5"_s), u"1|0 MB"_s);
        row("movies: size beyond 64 bits", sized(u"99999999999999999999"_s), u"1|0 MB"_s);
        row("movies: timer list without timers", e2Answer(u"e2-timerlist-empty.xml"_s), u"0"_s);
        row("movies: folder without recordings", e2Answer(u"e2-movielist-empty.xml"_s), u"1"_s);
        row("movies: command answer", e2Answer(u"e2-timercleanup.xml"_s), u"0"_s);
        row("movies: event list", e2Answer(u"e2-epgservice-empty.xml"_s), u"0"_s);
    }

    void answers()
    {
        QFETCH(QString, text);
        QTEST(readAs(QString::fromLatin1(QTest::currentDataTag()).section(u':', 0, 0), text), "seen");
    }

    // Broken, truncated, huge and hostile answers, and every input the fuzzers ever tripped over:
    // no reader may crash, hang, or hand over anything half-read.
    void everyAnswerLeavesCleanOutputs_data()
    {
        QTest::addColumn<QString>("file");
        const QStringList files = testDataNames(u"e2"_s);
        QVERIFY(files.size() > 40);
        for (const QString& file : files)
            QTest::newRow(qPrintable(file)) << file;
    }

    void everyAnswerLeavesCleanOutputs()
    {
        QFETCH(QString, file);
        const std::optional<QByteArray> bytes = testDataBytes(u"e2/"_s + file);
        QVERIFY(bytes.has_value());
        // Once as UTF-8 as the engine decodes, once as Latin-1 as it reads bodies that are not UTF-8.
        for (const QString& text : {QString::fromUtf8(*bytes), QString::fromLatin1(*bytes)})
            QVERIFY(readWithEveryReader(text).clean);
    }

    void unreadableAnswers_data()
    {
        QTest::addColumn<QString>("text");

        const QStringList files{u"broken-empty.xml"_s,
                                u"broken-not-xml.html"_s,
                                u"broken-plain-text.txt"_s,
                                u"broken-truncated-epgnow.xml"_s,
                                u"broken-truncated-timerlist.xml"_s,
                                u"broken-trailing-garbage-movielist.xml"_s,
                                u"broken-mismatched-tags-services.xml"_s,
                                u"broken-billion-laughs.xml"_s,
                                u"broken-internal-entity.xml"_s,
                                u"broken-external-entity.xml"_s,
                                u"broken-undeclared-entity.xml"_s,
                                u"broken-control-reference.xml"_s};
        for (const QString& file : files)
            QTest::newRow(qPrintable(file)) << e2Answer(file);
        QTest::newRow("only the XML declaration") << u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"_s;
        QTest::newRow("only blanks") << u"\n\t \n"_s;
        QTest::newRow("NUL characters") << QString(64, QChar(0));
        QTest::newRow("half a tag") << u"<e2eventlist"_s;
        QTest::newRow("two roots") << u"<e2timerlist/><e2timerlist/>"_s;
        QTest::newRow("unclosed deep nesting") << u"<e2eventlist>"_s + nested(100000, QString(), false);
    }

    void unreadableAnswers()
    {
        QFETCH(QString, text);
        const Outcome outcome = readWithEveryReader(text);
        QVERIFY(outcome.clean);
        QCOMPARE(outcome.read, QStringList());
        QCOMPARE(outcome.timerCommand, containsSuccessWord(text));
    }

    void answersReadDespiteFaults_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("seen"); // see readAs()

        QTest::newRow("control characters dropped")
            << u"bouquet EPG texts"_s << u"broken-control-characters-epgnow.xml"_s
            << u"1|Tatort: Kiel|Teil1|Das Erste HD"_s;
        QTest::newRow("characters outside the BMP")
            << u"services"_s << u"broken-outside-bmp-services.xml"_s << u"1|🎬 Kino 🍿/𝄞 Musik 🎵"_s;
        // Padded values, None and N/A; the second event is the receiver's "no EPG" filler and is
        // left out.
        QTest::newRow("padded and missing values")
            << u"current service in full"_s << u"broken-padded-none-values-getcurrent.xml"_s
            << u"1|1:0:19:6F0E:431:1:C00000:0:0:0:|A&E HD|||||4711|1710443700|1800|1710445500|"_s + march14 +
                   u"|20:15|1710443862.37|Storage Wars & Co||1:0:19:6F0E:431:1:C00000:0:0:0:|A&E HD|0|0|"
                   u"\"Alles muss raus\"";
        // A signal answer with nothing in it is no signal, not an unreadable answer.
        QTest::newRow("empty signal elements")
            << u"signal"_s << u"broken-empty-elements-signal.xml"_s << u"1|0|0|0|"_s;
        QTest::newRow("empty volume elements")
            << u"volume"_s << u"broken-empty-elements-volume.xml"_s << u"0|-7|0"_s;
        QTest::newRow("empty timer elements")
            << u"timers in full"_s << u"broken-empty-elements-timerlist.xml"_s
            << u"1|||||||0|0||||-1||||||0"_s;
        QTest::newRow("float values") << u"movies in full"_s << u"broken-float-values-movielist.xml"_s
                                      << u"1|Doku & Wissen|1710090300||5368.71 MB"_s;
    }

    void answersReadDespiteFaults()
    {
        QFETCH(QString, kind);
        QFETCH(QString, file);
        QTEST(readAs(kind, e2Answer(file)), "seen");
    }

    void prefixedNamesAreOtherNames()
    {
        OwnedList<EpgItem> events;
        QVERIFY(parseE2EventList(
            u"<e2eventlist xmlns:x=\"urn:x\"><x:e2event><e2eventtitle>a</e2eventtitle></x:e2event>"
            u"<e2event><y:e2eventtitle>b</y:e2eventtitle></e2event></e2eventlist>"_s,
            events, sampleClock()));
        QCOMPARE(events.size(), size_t(1));
        QCOMPARE(events[0]->title, QString());
        QVERIFY(!parseE2EventList(u"<x:e2eventlist xmlns:x=\"urn:x\"/>"_s, events, sampleClock()));
    }

    void hugeAnswers()
    {
        // epgmulti without limits sends every event of every service: many megabytes.
        const QString description(400, u'x');
        QString body;
        int count = 0;
        while (body.size() < 5 * 1024 * 1024) {
            body += e2TimedEvent(u"Folge " + QString::number(count) + u' ' + description);
            ++count;
        }
        OwnedList<EpgItem> events;
        QVERIFY(parseE2BouquetEpg(e2Document("e2eventlist"_L1, body), u"bq"_s, events, sampleClock()));
        QCOMPARE(int(events.size()), count);
        QVERIFY(events.back()->title.startsWith(u"Folge " + QString::number(count - 1)));

        // One text of 5 MB.
        const QString title(5 * 1024 * 1024, u'y');
        QVERIFY(parseE2EventList(e2Document("e2eventlist"_L1, e2TimedEvent(title)), events, sampleClock()));
        QCOMPARE(events.size(), size_t(1));
        QCOMPARE(events[0]->title.size(), title.size());
    }

    void deepNesting()
    {
        // Events are found at any depth, and the depth costs no stack.
        OwnedList<EpgItem> events;
        QVERIFY(parseE2EventList(e2Document("e2eventlist"_L1, nested(100000, e2TimedEvent(u"tief"_s))),
                                 events, sampleClock()));
        QCOMPARE(events.size(), size_t(1));
        QCOMPARE(events[0]->title, u"tief"_s);

        // Deep inside one event: its own fields stay readable, the rest is skipped.
        QVERIFY(parseE2EventList(
            e2Document("e2eventlist"_L1, u"<e2event><e2eventtitle>oben</e2eventtitle>" +
                                             nested(100000, u"<e2eventtitle>x</e2eventtitle>"_s) +
                                             u"</e2event>"),
            events, sampleClock()));
        QCOMPARE(events.size(), size_t(1));
        QCOMPARE(events[0]->title, u"oben"_s);

        QCOMPARE(readWithEveryReader(nested(100000, u"x"_s)).read, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestE2Readers)
#include "tst_e2readers.moc"
