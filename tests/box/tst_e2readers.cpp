#include "box/e2readers.h"
#include "e2answers.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/records.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

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

} // namespace

// The readers of the Enigma2 answers on the receiver's samples and on answers built around one
// element: events, lists (bouquets, timers, recordings), status and command results.
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

    void bouquetEpgRetention_data()
    {
        QTest::addColumn<QString>("children");
        QTest::addColumn<bool>("kept");
        QTest::addColumn<uint>("start");
        QTest::addColumn<int>("duration");
        QTest::addColumn<uint>("end");

        const auto row = [](const char* name, const QString& start, const QString& duration) -> QTestData& {
            return QTest::newRow(name) << u"<e2eventstart>" + start + u"</e2eventstart><e2eventduration>" +
                                              duration + u"</e2eventduration><e2eventtitle>T</e2eventtitle>";
        };
        row("start and duration numbers", u"1710443700"_s, u"5400"_s)
            << true << 1710443700u << 5400 << 1710449100u;
        row("duration not a number", u"1710443700"_s, u"abc"_s) << false << 0u << 0 << 0u;
        row("start and duration None", u"None"_s, u"None"_s) << false << 0u << 0 << 0u;
        row("duration N/A", u"1710443700"_s, u"N/A"_s) << false << 0u << 0 << 0u;
        row("duration empty", u"1710443700"_s, QString()) << false << 0u << 0 << 0u;
        row("duration 0 ends before the start", u"1710443700"_s, u"0"_s)
            << true << 1710443700u << -1 << 1710443699u;
        row("negative duration", u"1710443700"_s, u"-60"_s) << true << 1710443700u << -1 << 1710443699u;
        row("start and duration 0 (no EPG)", u"0"_s, u"0"_s) << false << 0u << 0 << 0u;
        row("start None with a duration", u"None"_s, u"600"_s) << false << 0u << 0 << 0u;
        row("float time stamp", u"1710443700.37"_s, u"5400.0"_s)
            << true << 1710443700u << 5400 << 1710449100u;
        row("padded values", u"\n\t1710443700\t"_s, u"\n 5400 \n"_s)
            << true << 1710443700u << 5400 << 1710449100u;
        row("start beyond 32 bits", u"99999999999"_s, u"60"_s) << false << 0u << 0 << 0u;
        row("number with trailing words", u"1710443700"_s, u"5400 s"_s) << false << 0u << 0 << 0u;
        QTest::newRow("no duration element")
            << u"<e2eventstart>1710443700</e2eventstart>"_s << true << 1710443700u << -1 << 1710443699u;
        QTest::newRow("neither start nor duration")
            << u"<e2eventtitle>T</e2eventtitle>"_s << false << 0u << 0 << 0u;
    }

    void bouquetEpgRetention()
    {
        QFETCH(QString, children);
        QFETCH(bool, kept);
        OwnedList<EpgItem> events;
        // A well-formed answer is read even when none of its events is of use.
        QVERIFY(parseE2BouquetEpg(oneEvent(children), u"bq"_s, events, sampleClock()));
        QCOMPARE(events.size(), size_t(kept ? 1 : 0));
        if (!kept)
            return;
        QTEST(events.front()->start, "start");
        QTEST(events.front()->duration, "duration");
        QTEST(events.front()->end, "end");
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

    void displayTexts_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("shown");

        QTest::newRow("padded with newlines and tabs") << u"\n\t\tTagesschau\t\n"_s << u"Tagesschau"_s;
        QTest::newRow("None is no text") << u"None"_s << QString();
        QTest::newRow("N/A is no text") << u"N/A"_s << QString();
        QTest::newRow("<n/a> is no text") << u"&lt;n/a&gt;"_s << QString();
        QTest::newRow("padded None is no text") << u"\n None\t"_s << QString();
        QTest::newRow("ampersand escaped once") << u"Tom &amp; Jerry"_s << u"Tom & Jerry"_s;
        QTest::newRow("ampersand escaped twice") << u"A&amp;amp;E HD"_s << u"A&E HD"_s;
        QTest::newRow("quotes escaped twice") << u"&amp;quot;Tatort&amp;quot;"_s << u"\"Tatort\""_s;
        QTest::newRow("angle brackets escaped twice") << u"&amp;lt;Bundestag&amp;gt;"_s << u"<Bundestag>"_s;
        QTest::newRow("apostrophe escaped twice")
            << u"Rock &amp;apos;n&amp;apos; Roll"_s << u"Rock 'n' Roll"_s;
        QTest::newRow("character reference escaped twice") << u"Gr&amp;#252;n"_s << u"Grün"_s;
        QTest::newRow("hex reference escaped twice") << u"Gr&amp;#xFC;n"_s << u"Grün"_s;
        QTest::newRow("reference outside the BMP escaped twice") << u"&amp;#x1F3AC; Kino"_s << u"🎬 Kino"_s;
        QTest::newRow("unknown entity stays") << u"&amp;nbsp;AT&amp;T"_s << u"&nbsp;AT&T"_s;
        QTest::newRow("reference to a surrogate stays") << u"&amp;#xD800;"_s << u"&#xD800;"_s;
        QTest::newRow("reference beyond Unicode stays") << u"&amp;#x110000;"_s << u"&#x110000;"_s;
        QTest::newRow("ampersand at the end stays") << u"Tom &amp;"_s << u"Tom &"_s;
        QTest::newRow("characters outside the BMP") << u"🎬 Film 𝄞"_s << u"🎬 Film 𝄞"_s;
        QTest::newRow("character references outside the BMP") << u"&#x1F3AC;&#119070;"_s << u"🎬𝄞"_s;
        QTest::newRow("Greek") << u"Ειδήσεις"_s << u"Ειδήσεις"_s;
        QTest::newRow("CDATA section") << u"<![CDATA[A & B <live>]]>"_s << u"A & B <live>"_s;
        QTest::newRow("inner line breaks stay") << u"\nZeile 1\nZeile 2\n"_s << u"Zeile 1\nZeile 2"_s;
        QTest::newRow("stray control characters") << u"Nach\u0001richten\u001b"_s << u"Nachrichten"_s;
        QTest::newRow("child elements left out") << u"Titel<b>fett</b>"_s << u"Titel"_s;
    }

    void displayTexts()
    {
        QFETCH(QString, xml);
        OwnedList<EpgItem> events;
        QVERIFY(parseE2EventList(e2Document("e2eventlist"_L1, e2TimedEvent(xml)), events, sampleClock()));
        QCOMPARE(events.size(), size_t(1));
        QTEST(events.front()->title, "shown");
    }

    void referencesStayAsSent_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("reference");

        QTest::newRow("plain service")
            << u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s << u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
        QTest::newRow("padded") << u"\n\t1:0:19:283D:3FB:1:C00000:0:0:0:\t\n"_s
                                << u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
        QTest::newRow("marker with blanks")
            << u"1:64:1:0:0:0:0:0:0:0::--- Privat ---"_s << u"1:64:1:0:0:0:0:0:0:0::--- Privat ---"_s;
        QTest::newRow("escapes are not undone twice")
            << u"1:0:0:0:0:0:0:0:0:0:/media/A&amp;amp;E.ts"_s << u"1:0:0:0:0:0:0:0:0:0:/media/A&amp;E.ts"_s;
        QTest::newRow("None is kept") << u"None"_s << u"None"_s;
    }

    void referencesStayAsSent()
    {
        QFETCH(QString, xml);
        OwnedList<EpgItem> events;
        QVERIFY(parseE2EventList(oneEvent(u"<e2eventservicereference>" + xml + u"</e2eventservicereference>"),
                                 events, sampleClock()));
        QCOMPARE(events.size(), size_t(1));
        QTEST(events.front()->serviceReference, "reference");
    }

    void currentServiceOfSample()
    {
        CurrentServiceE2 service;
        QVERIFY(parseE2CurrentService(e2Answer(u"e2-getcurrent.xml"_s), service, sampleClock()));
        QCOMPARE(QStringList({service.serviceReference, service.serviceName, service.providerName,
                              service.videoWidth, service.videoHeight, service.videoSize}),
                 QStringList({u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s, u"Das Erste HD"_s, u"ARD"_s, u"1280"_s,
                              u"720"_s, u"1280x720"_s}));
        QCOMPARE(service.events.size(), size_t(2));
        QCOMPARE(service.events[0]->title + u'|' + QString::number(service.events[0]->start) + u'|' +
                     QString::number(service.events[0]->end) + u'|' + service.events[0]->startTime,
                 u"Tatort: Schöne Bescherung|1710443700|1710449100|20:15"_s);
        QCOMPARE(service.events[1]->title + u'|' + service.events[1]->startTime, u"Tagesthemen|21:45"_s);
        QVERIFY(service.events[1]->descriptionExtended.endsWith(u"Moderation: Ingo Zamperoni"_s));
    }

    void currentService_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("serviceName");
        QTest::addColumn<int>("events");

        const QString event = u"<e2event><e2eventstart>1710443700</e2eventstart>"
                              u"<e2eventduration>5400</e2eventduration></e2event>"_s;
        const QString noEpgEvent =
            u"<e2event><e2eventid>N/A</e2eventid><e2eventstart>0</e2eventstart>"
            u"<e2eventduration>0</e2eventduration><e2eventtitle>N/A</e2eventtitle></e2event>"_s;
        const auto answer = [](const QString& service, const QString& events) {
            return e2Document("e2currentserviceinformation"_L1, u"<e2service>" + service +
                                                                    u"</e2service><e2eventlist>" + events +
                                                                    u"</e2eventlist>");
        };
        const QString ref = u"<e2servicereference>1:0:19:6F0E:431:1:C00000:0:0:0:</e2servicereference>"_s;

        QTest::newRow("double escaped service name")
            << answer(ref + u"<e2servicename>A&amp;amp;E HD</e2servicename>", event) << true << u"A&E HD"_s
            << 1;
        QTest::newRow("empty reference fails even with events")
            << answer(u"<e2servicereference></e2servicereference><e2servicename>X</e2servicename>"_s,
                      event + event)
            << false << QString() << 0;
        QTest::newRow("no service element fails")
            << e2Document("e2currentserviceinformation"_L1, QString()) << false << QString() << 0;
        QTest::newRow("events of a service without EPG are dropped")
            << answer(ref, noEpgEvent + noEpgEvent) << true << QString() << 0;
        QTest::newRow("events at any depth")
            << answer(ref, u"<e2eventgroup>" + event + u"</e2eventgroup>") << true << QString() << 1;
        QTest::newRow("wrong root") << e2Document("e2service"_L1, ref) << false << QString() << 0;
    }

    void currentService()
    {
        QFETCH(QString, xml);
        QFETCH(bool, read);
        CurrentServiceE2 service;
        service.serviceName = u"left over"_s;
        QCOMPARE(parseE2CurrentService(xml, service, sampleClock()), read);
        QTEST(service.serviceName, "serviceName");
        QTEST(int(service.events.size()), "events");
        if (!read)
            QVERIFY(service.serviceReference.isEmpty());
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
        QCOMPARE(favourites[0]->name, u"Das Erste HD"_s);
        QCOMPARE(favourites[0]->serviceReference, u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s);
        QCOMPARE(favourites[3]->serviceReference, u"1:64:1:0:0:0:0:0:0:0::--- Privat ---"_s);
        QCOMPARE(favourites[7]->name, u"ΕΡΤ World"_s);
        QCOMPARE(favourites[8]->name, u"الجزيرة"_s);
        QCOMPARE(bouquets[1]->channels[0]->name, u"A&E HD"_s);
        for (const auto& bouquet : bouquets) {
            for (const Channel* channel : bouquet->channels) {
                QCOMPARE(channel->parent(), bouquet.get());
                QVERIFY(channel->bouquetName.isEmpty());
            }
        }
    }

    void services_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QStringList>("bouquets"); // name/channel names

        const QString service =
            u"<e2service><e2servicereference>1:0:1:1:1:1:C00000:0:0:0:</e2servicereference>"
            u"<e2servicename>Eins</e2servicename></e2service>"_s;
        QTest::newRow("no bouquet at all") << QString() << false << QStringList();
        QTest::newRow("bouquet without service list")
            << u"<e2bouquet><e2servicename>Leer</e2servicename></e2bouquet>"_s << true
            << QStringList{u"Leer/"_s};
        QTest::newRow("services below nested lists")
            << u"<e2bouquet><e2servicename>B</e2servicename><e2servicelist><group>" + service + u"</group>" +
                   service + u"</e2servicelist></e2bouquet>"
            << true << QStringList{u"B/Eins,Eins"_s};
        QTest::newRow("bouquets below other elements")
            << u"<wrapper><e2bouquet><e2servicename>B</e2servicename></e2bouquet></wrapper>"_s << true
            << QStringList{u"B/"_s};
        QTest::newRow("double escaped and padded names")
            << u"<e2bouquet><e2servicename>\n\tDoku &amp;amp; Serien\t</e2servicename><e2servicelist>"
               u"<e2service><e2servicename>&amp;quot;Welt&amp;quot;</e2servicename></e2service>"
               u"</e2servicelist></e2bouquet>"_s
            << true << QStringList{u"Doku & Serien/\"Welt\""_s};
        QTest::newRow("unknown elements skipped")
            << u"<e2bouquet><e2servicename>B</e2servicename><e2extra><e2servicename>X</e2servicename></"
               u"e2extra>"
               u"<e2servicelist>" +
                   service + u"</e2servicelist></e2bouquet>"
            << true << QStringList{u"B/Eins"_s};
    }

    void services()
    {
        QFETCH(QString, body);
        QFETCH(bool, read);
        OwnedList<Bouquet> bouquets;
        QCOMPARE(parseE2Services(e2Document("e2servicelistrecursive"_L1, body), bouquets), read);
        QStringList seen;
        for (const auto& bouquet : bouquets) {
            QStringList channels;
            for (const Channel* channel : bouquet->channels)
                channels << channel->name;
            seen << bouquet->name + u'/' + channels.join(u',');
        }
        QTEST(seen, "bouquets");
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
        QCOMPARE(timers[3]->descriptionExtended, QString()); // N/A without EPG
        QCOMPARE(timers[3]->name, u"Ειδήσεις"_s);
    }

    void timers_data()
    {
        QTest::addColumn<QString>("children");
        QTest::addColumn<int>("duration");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("texts"); // date|begin|end

        const QString evening = u"<e2timebegin>1710443400</e2timebegin><e2timeend>1710449700</e2timeend>"_s;
        const QString eveningTexts = march14 + u"|20:10|21:55";
        const auto row = [&](const char* name, const QString& more, int duration, bool cancelled) {
            QTest::newRow(name) << evening + more << duration << cancelled << eveningTexts;
        };
        row("duration missing", QString(), -1, false);
        row("duration 0", u"<e2duration>0</e2duration>"_s, -1, false);
        row("duration None", u"<e2duration>None</e2duration>"_s, -1, false);
        row("duration as float", u"<e2duration>6300.0</e2duration>"_s, 6300, false);
        row("cancelled True", u"<e2cancled>True</e2cancled>"_s, -1, true);
        row("cancelled padded", u"<e2cancled>\n True\t</e2cancled>"_s, -1, true);
        row("cancelled other text keeps false", u"<e2cancled>yes</e2cancled>"_s, -1, false);
        QTest::newRow("over midnight shows the end's date")
            << u"<e2timebegin>1710455400</e2timebegin><e2timeend>1710459000</e2timeend>"_s << -1 << false
            << QDate(2024, 3, 15).toString(Qt::TextDate) + u"|23:30|00:30";
        QTest::newRow("float time stamps")
            << u"<e2timebegin>1710443400.5</e2timebegin><e2timeend>1710449700.25</e2timeend>"_s << -1 << false
            << eveningTexts;
        QTest::newRow("begin None leaves its texts empty")
            << u"<e2timebegin>None</e2timebegin><e2timeend>1710449700</e2timeend>"_s << -1 << false
            << march14 + u"||21:55";
    }

    void timers()
    {
        QFETCH(QString, children);
        OwnedList<TimerEntry> timers;
        QVERIFY(parseE2TimerList(e2Document("e2timerlist"_L1, u"<e2timer>" + children + u"</e2timer>"),
                                 timers, sampleClock()));
        QCOMPARE(timers.size(), size_t(1));
        QTEST(timers[0]->duration, "duration");
        QTEST(timers[0]->cancelled, "cancelled");
        QTEST(QStringList({timers[0]->dateText, timers[0]->beginTimeText, timers[0]->endTimeText}).join(u'|'),
              "texts");
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
        QCOMPARE(movies[1]->title + u'|' + movies[1]->fileSizeText, u"Ειδήσεις|1519.87 MB"_s);
        QCOMPARE(movies[1]->descriptionExtended, QString());
        QCOMPARE(movies[2]->title + u'|' + movies[2]->serviceName + u'|' + movies[2]->length,
                 u"Storage Wars & Co|A&E HD|?:??"_s);
        QCOMPARE(movies[2]->serviceReference,
                 u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/20240310 1805 - A&E HD - Storage Wars & Co.ts"_s);
    }

    void movieFileSizes_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("shown");

        QTest::newRow("1234567890 bytes") << u"1234567890"_s << u"1234.57 MB"_s;
        QTest::newRow("5 GB recording") << u"5368709120"_s << u"5368.71 MB"_s;
        QTest::newRow("just above 32 bits") << u"4294967296"_s << u"4294.97 MB"_s;
        QTest::newRow("100 GB recording") << u"100000000000"_s << u"100000 MB"_s;
        QTest::newRow("padded") << u"\n\t5368709120\t\n"_s << u"5368.71 MB"_s;
        QTest::newRow("as float") << u"1234567890.0"_s << u"1234.57 MB"_s;
        QTest::newRow("empty recording") << u"0"_s << u"0 MB"_s;
        QTest::newRow("not a number") << u"big"_s << u"0 MB"_s;
        QTest::newRow("None") << u"None"_s << u"0 MB"_s;
        QTest::newRow("empty") << QString() << u"0 MB"_s;
        QTest::newRow("negative") << u"-5"_s << u"0 MB"_s;
        QTest::newRow("beyond 64 bits") << u"99999999999999999999"_s << u"0 MB"_s;
    }

    void movieFileSizes()
    {
        QFETCH(QString, size);
        OwnedList<MovieEntry> movies;
        QVERIFY(parseE2MovieList(
            e2Document("e2movielist"_L1, u"<e2movie><e2filesize>" + size + u"</e2filesize></e2movie>"),
            movies));
        QCOMPARE(movies.size(), size_t(1));
        QTEST(movies[0]->fileSizeText, "shown");
    }

    void emptyLists_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("timersRead");
        QTest::addColumn<bool>("moviesRead");

        QTest::newRow("timer list without timers") << u"e2-timerlist-empty.xml"_s << true << false;
        QTest::newRow("movie folder without recordings") << u"e2-movielist-empty.xml"_s << false << true;
        QTest::newRow("command answer is neither list") << u"e2-timercleanup.xml"_s << false << false;
        QTest::newRow("event list is neither list") << u"e2-epgservice-empty.xml"_s << false << false;
    }

    void emptyLists()
    {
        QFETCH(QString, file);
        const QString text = e2Answer(file);
        OwnedList<TimerEntry> timers;
        timers.push_back(std::make_unique<TimerEntry>());
        OwnedList<MovieEntry> movies;
        movies.push_back(std::make_unique<MovieEntry>());
        QTEST(parseE2TimerList(text, timers, sampleClock()), "timersRead");
        QTEST(parseE2MovieList(text, movies), "moviesRead");
        QVERIFY(timers.empty());
        QVERIFY(movies.empty());
    }

    void powerState_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("inStandby");

        const auto answer = [](const QString& value) {
            return e2Document("e2powerstate"_L1, u"<e2instandby>" + value + u"</e2instandby>");
        };
        QTest::newRow("running sample") << e2Answer(u"e2-powerstate.xml"_s) << false;
        QTest::newRow("standby sample") << e2Answer(u"e2-powerstate-standby.xml"_s) << true;
        QTest::newRow("padded false") << answer(u"\n\tfalse\t\n"_s) << false;
        QTest::newRow("capitalised False means standby") << answer(u"False"_s) << true;
        QTest::newRow("true") << answer(u"true"_s) << true;
        QTest::newRow("first element of another name")
            << e2Document("e2powerstate"_L1, u"<e2other>true</e2other><e2instandby>true</e2instandby>"_s)
            << false;
        QTest::newRow("another answer") << e2Answer(u"e2-vol.xml"_s) << false;
        QTest::newRow("truncated") << answer(u"true"_s).chopped(10) << false;
    }

    void powerState()
    {
        QFETCH(QString, text);
        QTEST(parseE2PowerState(text), "inStandby");
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

    void about_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("model");
        QTest::addColumn<bool>("lanDhcp");
        QTest::addColumn<QString>("hddFree");

        QTest::newRow("no enigma version")
            << u"<e2about><e2model>Uno</e2model></e2about>"_s << false << QString() << false << QString();
        QTest::newRow("enigma version None")
            << u"<e2about><e2enigmaversion>None</e2enigmaversion><e2model>Uno</e2model></e2about>"_s << false
            << QString() << false << QString();
        QTest::newRow("without disk, DHCP off")
            << u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2landhcp>False</e2landhcp></e2about>"_s
            << true << QString() << false << QString();
        QTest::newRow("padded DHCP")
            << u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2landhcp>\n\tTrue\n</e2landhcp></e2about>"_s
            << true << QString() << true << QString();
        QTest::newRow("two disks, the last remains")
            << u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2hddinfo><free>1 GB</free></e2hddinfo>"
               u"<e2hddinfo><free>2 GB</free></e2hddinfo></e2about>"_s
            << true << QString() << false << u"2 GB"_s;
        QTest::newRow("later about wins")
            << u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2model>A</e2model></e2about>"
               u"<e2about><e2model>B&amp;amp;C</e2model></e2about>"_s
            << true << u"B&C"_s << false << QString();
    }

    void about()
    {
        QFETCH(QString, body);
        QFETCH(bool, read);
        AboutInfo about;
        about.model = u"left over"_s;
        QCOMPARE(parseE2About(e2Document("e2abouts"_L1, body), about), read);
        QTEST(about.model, "model");
        QTEST(about.lanDhcp, "lanDhcp");
        QTEST(about.hddFree, "hddFree");
    }

    void currentTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("time");

        QTest::newRow("sample") << e2Answer(u"e2-currenttime.xml"_s) << true << u"20:17:42"_s;
        QTest::newRow("before ten") << e2Document("e2currenttime"_L1, u" 8:05:09"_s) << true << u"8:05:09"_s;
        QTest::newRow("another answer") << e2Answer(u"e2-powerstate.xml"_s) << false << QString();
        QTest::newRow("not closed") << u"<e2currenttime>20:17:42"_s << false << QString();
    }

    void currentTime()
    {
        QFETCH(QString, text);
        QString time = u"left over"_s;
        QTEST(parseE2CurrentTime(text, time), "read");
        QTEST(time, "time");
    }

    void signal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("snrPercent");
        QTest::addColumn<int>("ber");
        QTest::addColumn<int>("agcPercent");
        QTest::addColumn<QString>("snrText");

        QTest::newRow("sample") << e2Answer(u"e2-signal.xml"_s) << true << 78 << 0 << 93 << u"78 %"_s;
        QTest::newRow("75, 0 and 90 percent")
            << signalAnswer({u"12 dB"_s, u"75 %"_s, u"0"_s, u"90 %"_s}) << true << 75 << 0 << 90 << u"75 %"_s;
        QTest::newRow("full signal is 100, not 10")
            << signalAnswer({u"16.00 dB"_s, u"100 %"_s, u"12"_s, u"100 %"_s}) << true << 100 << 12 << 100
            << u"100 %"_s;
        QTest::newRow("single digit percentages")
            << signalAnswer({u"1 dB"_s, u"7 %"_s, u"0"_s, u"5%"_s}) << true << 7 << 0 << 5 << u"7 %"_s;
        QTest::newRow("values on indented lines")
            << signalAnswer(
                   {u"\n\t\t12.34 dB\n\t"_s, u"\n\t\t64 %\n\t"_s, u"\n\t\t0\n\t"_s, u"\n\t\t78 %\n\t"_s})
            << true << 64 << 0 << 78 << u"64 %"_s;
        QTest::newRow("no tuner is no signal")
            << signalAnswer({u" dB"_s, u" %"_s, QString(), u" %"_s}) << true << 0 << 0 << 0 << QString();
        QTest::newRow("standby is no signal")
            << signalAnswer({u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s}) << true << 0 << 0 << 0 << QString();
        QTest::newRow("AGC None") << signalAnswer({u"12 dB"_s, u"64 %"_s, u"0"_s, u"None"_s}) << false << 0
                                  << 0 << 0 << QString();
        QTest::newRow("only three values")
            << signalAnswer({u"12 dB"_s, u"64 %"_s, u"0"_s}) << false << 0 << 0 << 0 << QString();
        QTest::newRow("another answer") << e2Answer(u"e2-vol.xml"_s) << false << 0 << 0 << 0 << QString();
    }

    void signal()
    {
        QFETCH(QString, text);
        QFETCH(bool, read);
        SignalInfo signal;
        signal.snrText = u"left over"_s;
        QCOMPARE(parseE2Signal(text, signal), read);
        QTEST(signal.snrPercent, "snrPercent");
        QTEST(signal.ber, "ber");
        QTEST(signal.agcPercent, "agcPercent");
        QTEST(signal.snrText, "snrText");
    }

    void volume_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("muted");

        QTest::newRow("status sample") << e2Answer(u"e2-vol.xml"_s) << true << 45 << false;
        QTest::newRow("mute sample") << e2Answer(u"e2-vol-mute.xml"_s) << true << 45 << true;
        QTest::newRow("set sample") << e2Answer(u"e2-vol-set.xml"_s) << true << 30 << false;
        QTest::newRow("refused command still carries the level")
            << volumeAnswer({u"False"_s, u"Unknown Volume command "_s, u"45"_s, u"False"_s}) << true << 45
            << false;
        QTest::newRow("100 and muted")
            << volumeAnswer({u"True"_s, u""_s, u"100"_s, u"True"_s}) << true << 100 << true;
        QTest::newRow("padded") << volumeAnswer({u"True"_s, u""_s, u"\n\t30\t"_s, u"\n\tFalse\t"_s}) << true
                                << 30 << false;
        QTest::newRow("level not a number leaves the outputs")
            << volumeAnswer({u"True"_s, u""_s, u"loud"_s, u"True"_s}) << false << -7 << false;
        QTest::newRow("level missing") << volumeAnswer({u"True"_s, u""_s}) << false << -7 << false;
        QTest::newRow("another answer") << e2Answer(u"e2-signal.xml"_s) << false << -7 << false;
    }

    void volume()
    {
        QFETCH(QString, text);
        QFETCH(bool, read);
        int level = -7;
        bool muted = false;
        QCOMPARE(parseE2Volume(text, muted, level), read);
        QTEST(level, "level");
        QTEST(muted, "muted");
    }

    void messageAnswer_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("answer");

        QTest::newRow("yes sample") << e2Answer(u"e2-messageanswer.xml"_s) << true << int(AnswerYes);
        QTest::newRow("no") << simpleResult(u"True"_s, u"Answer is NO!"_s) << true << int(AnswerNo);
        QTest::newRow("timeout with state False")
            << simpleResult(u"False"_s, u"No answer in time"_s) << true << int(AnswerTimeout);
        QTest::newRow("yes with blanks around")
            << simpleResult(u"True"_s, u"  Answer is YES!\n"_s) << true << int(AnswerYes);
        QTest::newRow("lower case is no answer")
            << simpleResult(u"True"_s, u"answer is yes!"_s) << false << -1;
        QTest::newRow("message sent is no answer") << e2Answer(u"e2-message.xml"_s) << false << -1;
        QTest::newRow("first element not the state")
            << e2Document("e2simplexmlresult"_L1, u"<e2statetext>Answer is YES!</e2statetext>"_s) << false
            << -1;
    }

    void messageAnswer()
    {
        QFETCH(QString, text);
        QFETCH(bool, read);
        MessageAnswer answer = MessageAnswer(-1);
        QCOMPARE(parseE2MessageAnswer(text, answer), read);
        QTEST(int(answer), "answer");
    }

    void movieDeleteResult_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("deleted");

        QTest::newRow("deleted sample") << e2Answer(u"e2-moviedelete.xml"_s) << true;
        QTest::newRow("failed sample") << e2Answer(u"e2-moviedelete-fail.xml"_s) << false;
        QTest::newRow("padded True") << simpleResult(u"\n\tTrue\t"_s, u"deleted"_s) << true;
        QTest::newRow("lower case true") << simpleResult(u"true"_s, u"deleted"_s) << false;
        QTest::newRow("state not first")
            << e2Document("e2simplexmlresult"_L1, u"<e2statetext>x</e2statetext><e2state>True</e2state>"_s)
            << false;
    }

    void movieDeleteResult()
    {
        QFETCH(QString, text);
        QTEST(parseE2MovieDeleteResult(text), "deleted");
    }

    void timerCommandResult_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<bool>("successWord");

        QTest::newRow("timer added (no success word)") << e2Answer(u"e2-timeradd-ok.xml"_s) << true << false;
        QTest::newRow("event not found") << e2Answer(u"e2-timeradd-noevent.xml"_s) << false << false;
        QTest::newRow("timer deleted") << e2Answer(u"e2-timerdelete-ok.xml"_s) << true << true;
        QTest::newRow("conflict") << simpleResult(u"False"_s, u"Conflicting Timer(s) detected! Tatort"_s)
                                  << false << false;
        QTest::newRow("state False wins over the word")
            << simpleResult(u"False"_s, u"not added successfully"_s) << false << true;
        QTest::newRow("padded state") << simpleResult(u"\n True\t"_s, u"Timer 'x' added"_s) << true << false;
        QTest::newRow("no state: the word decides")
            << e2Document("e2simplexmlresult"_L1, u"<e2statetext>deleted successfully</e2statetext>"_s)
            << true << true;
        QTest::newRow("state neither True nor False: the word decides")
            << simpleResult(u"None"_s, u"Timer 'x' added"_s) << false << false;
        QTest::newRow("plain text with the word")
            << u"Timer event was created successfully."_s << true << true;
        QTest::newRow("plain text without it") << u"Timer event was created."_s << false << false;
        QTest::newRow("word in other case") << u"Successfully"_s << false << false;
    }

    void timerCommandResult()
    {
        QFETCH(QString, text);
        QTEST(parseE2TimerCommandResult(text), "succeeded");
        QTEST(containsSuccessWord(text), "successWord");
    }
};

QTEST_GUILESS_MAIN(TestE2Readers)
#include "tst_e2readers.moc"
