#include "box/e2readers.h"
#include "e2answers.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/records.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The readers of the receiver's lists: bouquets with their channels, timers and recordings.
class TestE2ListReaders : public QObject
{
    Q_OBJECT

private slots:
    void servicesOfSample();
    void services_data();
    void services();
    void timersOfSample();
    void timers_data();
    void timers();
    void moviesOfSample();
    void movieFileSizes_data();
    void movieFileSizes();
    void emptyLists_data();
    void emptyLists();

private:
    const ManualClock m_clock{sampleNow, sampleUtcOffset};
};

void TestE2ListReaders::servicesOfSample()
{
    OwnedList<Bouquet> bouquets;
    QVERIFY(parseE2Services(e2Answer(u"e2-getallservices.xml"_s), bouquets));
    QStringList names;
    for (const auto& bouquet : bouquets)
        names << bouquet->name + u'/' + QString::number(bouquet->channels.size());
    // The bouquet without services is listed as a plain service between the others.
    QCOMPARE(names,
             QStringList({u"Favourites (TV)/9"_s, u"Doku & Serien/3"_s, u"Neu/0"_s, u"Last Scanned/1"_s}));

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

void TestE2ListReaders::services_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QStringList>("bouquets"); // name/channel names

    const QString service = u"<e2service><e2servicereference>1:0:1:1:1:1:C00000:0:0:0:</e2servicereference>"
                            u"<e2servicename>Eins</e2servicename></e2service>"_s;
    QTest::newRow("no bouquet at all") << QString() << false << QStringList();
    QTest::newRow("bouquet without service list")
        << u"<e2bouquet><e2servicename>Leer</e2servicename></e2bouquet>"_s << true << QStringList{u"Leer/"_s};
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
        << u"<e2bouquet><e2servicename>B</e2servicename><e2extra><e2servicename>X</e2servicename></e2extra>"
           u"<e2servicelist>" +
               service + u"</e2servicelist></e2bouquet>"
        << true << QStringList{u"B/Eins"_s};
}

void TestE2ListReaders::services()
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

void TestE2ListReaders::timersOfSample()
{
    OwnedList<TimerEntry> timers;
    QVERIFY(parseE2TimerList(e2Answer(u"e2-timerlist.xml"_s), timers, m_clock));
    QCOMPARE(timers.size(), size_t(4));

    const TimerEntry& running = *timers[0];
    QCOMPARE(running.serviceReference, u"1:0:19:283D:3FB:1:C00000:0:0:0:"_s);
    QCOMPARE(running.serviceName, u"Das Erste HD"_s);
    QCOMPARE(running.eit, u"21424"_s);
    QCOMPARE(running.name, u"Tatort: Schöne Bescherung"_s);
    QCOMPARE(running.description, u"Fernsehfilm Deutschland 2023"_s);
    QVERIFY(running.descriptionExtended.startsWith(u"Kommissarin Lürsen & Kommissar"_s));
    QCOMPARE(running.disabled, u"0"_s);
    QCOMPARE(running.begin, 1710443400u);
    QCOMPARE(running.end, 1710449700u);
    QCOMPARE(running.beginTimeText, u"20:10"_s);
    QCOMPARE(running.endTimeText, u"21:55"_s);
    QCOMPARE(running.dateText, QDate(2024, 3, 14).toString(Qt::TextDate));
    QCOMPARE(running.duration, 6300);
    QCOMPARE(running.startPrepare, u"1710443380"_s);
    QCOMPARE(running.justPlay, u"0"_s);
    QCOMPARE(running.afterEvent, u"3"_s);
    QCOMPARE(running.location, u"/media/hdd/movie/"_s);
    QCOMPARE(running.state, u"2"_s);
    QCOMPARE(running.cancelled, false);

    const TimerEntry& zap = *timers[1];
    QCOMPARE(zap.justPlay, u"1"_s);
    QCOMPARE(zap.location, QString()); // None without a folder
    QCOMPARE(zap.state, u"0"_s);
    QCOMPARE(timers[2]->serviceName, u"A&E HD"_s);
    QCOMPARE(timers[3]->descriptionExtended, QString()); // N/A without EPG
    QCOMPARE(timers[3]->name, u"Ειδήσεις"_s);
}

void TestE2ListReaders::timers_data()
{
    QTest::addColumn<QString>("children");
    QTest::addColumn<int>("duration");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("dateText");
    QTest::addColumn<QString>("beginTimeText");
    QTest::addColumn<QString>("endTimeText");

    const QString evening = u"<e2timebegin>1710443400</e2timebegin><e2timeend>1710449700</e2timeend>"_s;
    const QString march14 = QDate(2024, 3, 14).toString(Qt::TextDate);
    QTest::newRow("duration missing") << evening << -1 << false << march14 << u"20:10"_s << u"21:55"_s;
    QTest::newRow("duration 0") << evening + u"<e2duration>0</e2duration>" << -1 << false << march14
                                << u"20:10"_s << u"21:55"_s;
    QTest::newRow("duration None") << evening + u"<e2duration>None</e2duration>" << -1 << false << march14
                                   << u"20:10"_s << u"21:55"_s;
    QTest::newRow("duration as float") << evening + u"<e2duration>6300.0</e2duration>" << 6300 << false
                                       << march14 << u"20:10"_s << u"21:55"_s;
    QTest::newRow("cancelled True") << evening + u"<e2cancled>True</e2cancled>" << -1 << true << march14
                                    << u"20:10"_s << u"21:55"_s;
    QTest::newRow("cancelled padded")
        << evening + u"<e2cancled>\n True\t</e2cancled>" << -1 << true << march14 << u"20:10"_s << u"21:55"_s;
    QTest::newRow("cancelled other text keeps false")
        << evening + u"<e2cancled>yes</e2cancled>" << -1 << false << march14 << u"20:10"_s << u"21:55"_s;
    QTest::newRow("over midnight shows the end's date")
        << u"<e2timebegin>1710455400</e2timebegin><e2timeend>1710459000</e2timeend>"_s << -1 << false
        << QDate(2024, 3, 15).toString(Qt::TextDate) << u"23:30"_s << u"00:30"_s;
    QTest::newRow("float time stamps") << u"<e2timebegin>1710443400.5</e2timebegin><e2timeend>1710449700.25"
                                          u"</e2timeend>"_s
                                       << -1 << false << march14 << u"20:10"_s << u"21:55"_s;
    QTest::newRow("begin None leaves its texts empty")
        << u"<e2timebegin>None</e2timebegin><e2timeend>1710449700</e2timeend>"_s << -1 << false << march14
        << QString() << u"21:55"_s;
}

void TestE2ListReaders::timers()
{
    QFETCH(QString, children);
    OwnedList<TimerEntry> timers;
    QVERIFY(parseE2TimerList(e2Document("e2timerlist"_L1, u"<e2timer>" + children + u"</e2timer>"), timers,
                             m_clock));
    QCOMPARE(timers.size(), size_t(1));
    QTEST(timers[0]->duration, "duration");
    QTEST(timers[0]->cancelled, "cancelled");
    QTEST(timers[0]->dateText, "dateText");
    QTEST(timers[0]->beginTimeText, "beginTimeText");
    QTEST(timers[0]->endTimeText, "endTimeText");
}

void TestE2ListReaders::moviesOfSample()
{
    OwnedList<MovieEntry> movies;
    QVERIFY(parseE2MovieList(e2Answer(u"e2-movielist.xml"_s), movies));
    QCOMPARE(movies.size(), size_t(3));
    const MovieEntry& first = *movies[0];
    QCOMPARE(first.title, u"Tatort: Schöne Bescherung"_s);
    QCOMPARE(
        first.serviceReference,
        u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/20240314 2010 - Das Erste HD - Tatort_ Schöne Bescherung.ts"_s);
    QCOMPARE(first.description, u"Fernsehfilm Deutschland 2023"_s);
    QVERIFY(first.descriptionExtended.endsWith(u"Darsteller: Sabine Postel, Oliver Mommsen"_s));
    QCOMPARE(first.serviceName, u"Das Erste HD"_s);
    QCOMPARE(first.time, 1710443400u);
    QCOMPARE(first.length, u"7:42"_s);
    QCOMPARE(first.fileName,
             u"/media/hdd/movie/20240314 2010 - Das Erste HD - Tatort_ Schöne Bescherung.ts"_s);
    QCOMPARE(first.fileSizeText, u"462.078 MB"_s);
    QCOMPARE(movies[1]->title, u"Ειδήσεις"_s);
    QCOMPARE(movies[1]->descriptionExtended, QString());
    QCOMPARE(movies[1]->fileSizeText, u"1519.87 MB"_s);
    QCOMPARE(movies[2]->title, u"Storage Wars & Co"_s);
    QCOMPARE(movies[2]->serviceName, u"A&E HD"_s);
    QCOMPARE(movies[2]->serviceReference,
             u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/20240310 1805 - A&E HD - Storage Wars & Co.ts"_s);
    QCOMPARE(movies[2]->length, u"?:??"_s);
}

void TestE2ListReaders::movieFileSizes_data()
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

void TestE2ListReaders::movieFileSizes()
{
    QFETCH(QString, size);
    OwnedList<MovieEntry> movies;
    QVERIFY(parseE2MovieList(
        e2Document("e2movielist"_L1, u"<e2movie><e2filesize>" + size + u"</e2filesize></e2movie>"), movies));
    QCOMPARE(movies.size(), size_t(1));
    QTEST(movies[0]->fileSizeText, "shown");
}

void TestE2ListReaders::emptyLists_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("timersRead");
    QTest::addColumn<bool>("moviesRead");

    QTest::newRow("timer list without timers") << u"e2-timerlist-empty.xml"_s << true << false;
    QTest::newRow("movie folder without recordings") << u"e2-movielist-empty.xml"_s << false << true;
    QTest::newRow("command answer is neither list") << u"e2-timercleanup.xml"_s << false << false;
    QTest::newRow("event list is neither list") << u"e2-epgservice-empty.xml"_s << false << false;
}

void TestE2ListReaders::emptyLists()
{
    QFETCH(QString, file);
    const QString text = e2Answer(file);
    OwnedList<TimerEntry> timers;
    timers.push_back(std::make_unique<TimerEntry>());
    OwnedList<MovieEntry> movies;
    movies.push_back(std::make_unique<MovieEntry>());
    QTEST(parseE2TimerList(text, timers, m_clock), "timersRead");
    QTEST(parseE2MovieList(text, movies), "moviesRead");
    QVERIFY(timers.empty());
    QVERIFY(movies.empty());
}

QTEST_GUILESS_MAIN(TestE2ListReaders)
#include "tst_e2listreaders.moc"
