#include "box/e2readers.h"
#include "e2answers.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The readers of event answers: the now/next and service EPG of a bouquet, search and similar
// events, and the current service with its events.
class TestE2EventReaders : public QObject
{
    Q_OBJECT

private slots:
    void bouquetEpgOfSamples_data();
    void bouquetEpgOfSamples();
    void bouquetEpgFillsEveryField();
    void bouquetEpgRetention_data();
    void bouquetEpgRetention();
    void eventListOfSamples_data();
    void eventListOfSamples();
    void eventListKeepsEventsWithoutEpg();
    void displayTexts_data();
    void displayTexts();
    void referencesStayAsSent_data();
    void referencesStayAsSent();
    void currentServiceOfSample();
    void currentService_data();
    void currentService();

private:
    const ManualClock m_clock{sampleNow, sampleUtcOffset};
};

namespace {

QString oneEvent(const QString& children)
{
    return e2Document("e2eventlist"_L1, u"<e2event>" + children + u"</e2event>");
}

} // namespace

void TestE2EventReaders::bouquetEpgOfSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("count");

    QTest::newRow("epgnow drops the services without EPG") << u"e2-epgnow.xml"_s << 7;
    QTest::newRow("epgnext drops the services without EPG") << u"e2-epgnext.xml"_s << 7;
    QTest::newRow("epgmulti keeps every event") << u"e2-epgmulti.xml"_s << 6;
    QTest::newRow("epgservice keeps every event") << u"e2-epgservice.xml"_s << 4;
    QTest::newRow("epgservice without events is an empty list") << u"e2-epgservice-empty.xml"_s << 0;
}

void TestE2EventReaders::bouquetEpgOfSamples()
{
    QFETCH(QString, file);
    QFETCH(int, count);
    const QString bouquet =
        u"1:7:1:0:0:0:0:0:0:0:FROM BOUQUET \"userbouquet.favourites.tv\" ORDER BY bouquet"_s;
    OwnedList<EpgItem> events;
    QVERIFY(parseE2BouquetEpg(e2Answer(file), bouquet, events, m_clock));
    QCOMPARE(int(events.size()), count);
    for (const auto& event : events) {
        QCOMPARE(event->bouquetReference, bouquet);
        QVERIFY(event->start > 0);
        QVERIFY(!event->title.isEmpty());
    }
}

void TestE2EventReaders::bouquetEpgFillsEveryField()
{
    OwnedList<EpgItem> events;
    QVERIFY(parseE2BouquetEpg(e2Answer(u"e2-epgnow.xml"_s), u"bq"_s, events, m_clock));
    const EpgItem& first = *events.at(0);
    QCOMPARE(first.eventId, u"21424"_s);
    QCOMPARE(first.start, 1710443700u);
    QCOMPARE(first.duration, 5400);
    QCOMPARE(first.end, 1710449100u);
    QCOMPARE(first.startDate, QDate(2024, 3, 14).toString(Qt::TextDate));
    QCOMPARE(first.startTime, u"20:15"_s);
    QCOMPARE(first.currentTime, u"1710443862"_s);
    QCOMPARE(first.title, u"Tatort: Schöne Bescherung"_s);
    QCOMPARE(first.description, u"Fernsehfilm Deutschland 2023"_s);
    QVERIFY(first.descriptionExtended.startsWith(u"Kommissarin Lürsen & Kommissar Stedefreund"_s));
    QVERIFY(first.descriptionExtended.contains(u"Hafen – und zu einem alten \"Bekannten\".\n\nRegie"_s));
    QCOMPARE(first.serviceReference, u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s);
    QCOMPARE(first.serviceName, u"Das Erste HD"_s);
    QCOMPARE(first.progress, 0);
    QCOMPARE(first.minutesLeft, 0);

    const EpgItem& arabic = *events.back();
    QCOMPARE(arabic.serviceName, u"الجزيرة"_s);
    QCOMPARE(arabic.title, u"نشرة الأخبار"_s);
    QCOMPARE(arabic.startTime, u"20:00"_s);
}

void TestE2EventReaders::bouquetEpgRetention_data()
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
    row("float time stamp", u"1710443700.37"_s, u"5400.0"_s) << true << 1710443700u << 5400 << 1710449100u;
    row("padded values", u"\n\t1710443700\t"_s, u"\n 5400 \n"_s)
        << true << 1710443700u << 5400 << 1710449100u;
    row("start beyond 32 bits", u"99999999999"_s, u"60"_s) << false << 0u << 0 << 0u;
    row("number with trailing words", u"1710443700"_s, u"5400 s"_s) << false << 0u << 0 << 0u;
    QTest::newRow("no duration element")
        << u"<e2eventstart>1710443700</e2eventstart>"_s << true << 1710443700u << -1 << 1710443699u;
    QTest::newRow("neither start nor duration")
        << u"<e2eventtitle>T</e2eventtitle>"_s << false << 0u << 0 << 0u;
}

void TestE2EventReaders::bouquetEpgRetention()
{
    QFETCH(QString, children);
    QFETCH(bool, kept);
    OwnedList<EpgItem> events;
    // A well-formed answer is read even when none of its events is of use.
    QVERIFY(parseE2BouquetEpg(oneEvent(children), u"bq"_s, events, m_clock));
    QCOMPARE(events.size(), size_t(kept ? 1 : 0));
    if (!kept)
        return;
    QTEST(events.front()->start, "start");
    QTEST(events.front()->duration, "duration");
    QTEST(events.front()->end, "end");
}

void TestE2EventReaders::eventListOfSamples_data()
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

void TestE2EventReaders::eventListOfSamples()
{
    QFETCH(QString, file);
    QFETCH(QStringList, titles);
    OwnedList<EpgItem> events;
    QVERIFY(parseE2EventList(e2Answer(file), events, m_clock));
    QStringList read;
    for (const auto& event : events) {
        read << event->title;
        QVERIFY(event->bouquetReference.isEmpty());
        QVERIFY(event->currentTime.isEmpty() || event->currentTime == u"0"); // None or 0 there
    }
    QCOMPARE(read, titles);
}

void TestE2EventReaders::eventListKeepsEventsWithoutEpg()
{
    OwnedList<EpgItem> events;
    QVERIFY(parseE2EventList(e2Answer(u"e2-epgnow.xml"_s), events, m_clock));
    QCOMPARE(events.size(), size_t(9));
    const EpgItem& noEpg = *events.at(2);
    QCOMPARE(noEpg.serviceName, u"arte HD"_s);
    QCOMPARE(noEpg.eventId, QString());
    QCOMPARE(noEpg.title, QString());
    QCOMPARE(noEpg.description, QString());
    QCOMPARE(noEpg.startDate, QString());
    QCOMPARE(noEpg.startTime, QString());
    QCOMPARE(noEpg.start, 0u);
    QCOMPARE(noEpg.duration, -1);
    QCOMPARE(noEpg.end, 0u);
}

void TestE2EventReaders::displayTexts_data()
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
    QTest::newRow("apostrophe escaped twice") << u"Rock &amp;apos;n&amp;apos; Roll"_s << u"Rock 'n' Roll"_s;
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

void TestE2EventReaders::displayTexts()
{
    QFETCH(QString, xml);
    OwnedList<EpgItem> events;
    QVERIFY(parseE2EventList(e2Document("e2eventlist"_L1, e2TimedEvent(xml)), events, m_clock));
    QCOMPARE(events.size(), size_t(1));
    QTEST(events.front()->title, "shown");
}

void TestE2EventReaders::referencesStayAsSent_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("reference");

    QTest::newRow("plain service") << u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s
                                   << u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
    QTest::newRow("padded") << u"\n\t1:0:19:283D:3FB:1:C00000:0:0:0:\t\n"_s
                            << u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s;
    QTest::newRow("marker with blanks")
        << u"1:64:1:0:0:0:0:0:0:0::--- Privat ---"_s << u"1:64:1:0:0:0:0:0:0:0::--- Privat ---"_s;
    QTest::newRow("escapes are not undone twice")
        << u"1:0:0:0:0:0:0:0:0:0:/media/A&amp;amp;E.ts"_s << u"1:0:0:0:0:0:0:0:0:0:/media/A&amp;E.ts"_s;
    QTest::newRow("None is kept") << u"None"_s << u"None"_s;
}

void TestE2EventReaders::referencesStayAsSent()
{
    QFETCH(QString, xml);
    OwnedList<EpgItem> events;
    QVERIFY(parseE2EventList(oneEvent(u"<e2eventservicereference>" + xml + u"</e2eventservicereference>"),
                             events, m_clock));
    QCOMPARE(events.size(), size_t(1));
    QTEST(events.front()->serviceReference, "reference");
}

void TestE2EventReaders::currentServiceOfSample()
{
    CurrentServiceE2 service;
    QVERIFY(parseE2CurrentService(e2Answer(u"e2-getcurrent.xml"_s), service, m_clock));
    QCOMPARE(service.serviceReference, u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s);
    QCOMPARE(service.serviceName, u"Das Erste HD"_s);
    QCOMPARE(service.providerName, u"ARD"_s);
    QCOMPARE(service.videoWidth, u"1280"_s);
    QCOMPARE(service.videoHeight, u"720"_s);
    QCOMPARE(service.videoSize, u"1280x720"_s);
    QCOMPARE(service.events.size(), size_t(2));
    QCOMPARE(service.events[0]->title, u"Tatort: Schöne Bescherung"_s);
    QCOMPARE(service.events[0]->start, 1710443700u);
    QCOMPARE(service.events[0]->end, 1710449100u);
    QCOMPARE(service.events[0]->startTime, u"20:15"_s);
    QCOMPARE(service.events[1]->title, u"Tagesthemen"_s);
    QCOMPARE(service.events[1]->startTime, u"21:45"_s);
    QVERIFY(service.events[1]->descriptionExtended.endsWith(u"Moderation: Ingo Zamperoni"_s));
}

void TestE2EventReaders::currentService_data()
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
        << answer(ref + u"<e2servicename>A&amp;amp;E HD</e2servicename>", event) << true << u"A&E HD"_s << 1;
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

void TestE2EventReaders::currentService()
{
    QFETCH(QString, xml);
    QFETCH(bool, read);
    CurrentServiceE2 service;
    service.serviceName = u"left over"_s;
    QCOMPARE(parseE2CurrentService(xml, service, m_clock), read);
    QTEST(service.serviceName, "serviceName");
    QTEST(int(service.events.size()), "events");
    if (!read)
        QVERIFY(service.serviceReference.isEmpty());
}

QTEST_GUILESS_MAIN(TestE2EventReaders)
#include "tst_e2eventreaders.moc"
