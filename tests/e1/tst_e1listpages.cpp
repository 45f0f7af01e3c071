#include "box/e1parsers.h"
#include "e1pages.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/records.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The Enigma1 pages that fill the lists of the image: the service listing, the movie page and
// the timer list.
class TestE1ListPages : public QObject
{
    Q_OBJECT

private slots:
    void servicesOfSample();
    void services_data();
    void services();
    void moviesOfSample();
    void movies_data();
    void movies();
    void timersOfSample();
    void timers_data();
    void timers();
    void timerTimes_data();
    void timerTimes();

private:
    const ManualClock m_clock{sampleNow, sampleUtcOffset};
};

void TestE1ListPages::servicesOfSample()
{
    OwnedList<Bouquet> bouquets;
    QVERIFY(parseServiceListE1(e1Page(u"e1-getServices.txt"_s), bouquets));
    QCOMPARE(bouquets.size(), size_t(3));

    const Bouquet& favourites = *bouquets[0];
    // The bouquet open on the receiver is marked, the mark is not part of its name.
    QCOMPARE(favourites.name, u"Favourites (TV)"_s);
    QCOMPARE(favourites.reference,
             u"4097:7:0:33fc5:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.33fc5.tv"_s);
    QCOMPARE(favourites.channels.size(), 7);
    QCOMPARE(favourites.channels[0]->name, u"Das Erste"_s);
    QCOMPARE(favourites.channels[0]->serviceReference, u"1:0:1:6dca:44d:1:c00000:0:0:0:"_s);
    // A renamed service has no provider field.
    QCOMPARE(favourites.channels[5]->name, u"Mein 3sat"_s);
    QCOMPARE(favourites.channels[6]->name, u"ΕΡΤ SAT"_s);
    QCOMPARE(favourites.channels[6]->serviceReference, u"1:0:1:2f1a:3a98:13e:820000:0:0:0:"_s);

    const Bouquet& sport = *bouquets[1];
    QCOMPARE(sport.name, u"Sport & Doku"_s);
    QCOMPARE(sport.channels.size(), 3);
    QCOMPARE(sport.channels[2]->name, u"unnamed service"_s);

    // The last bouquet has no services, and the listing ends without a line break.
    QCOMPARE(bouquets[2]->name, u"Radio-Test"_s);
    QVERIFY(bouquets[2]->channels.isEmpty());

    for (const auto& bouquet : bouquets) {
        for (const Channel* channel : bouquet->channels) {
            QCOMPARE(channel->parent(), bouquet.get());
            QCOMPARE(channel->bouquetName, bouquet->name);
        }
    }
}

void TestE1ListPages::services_data()
{
    QTest::addColumn<QString>("listing");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QStringList>("bouquets"); // name=reference/channel names

    const QString favourites = u"4097:7:0:1:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.1.tv;Fav"_s;
    const QString favouritesSeen = u"Fav=4097:7:0:1:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.1.tv"_s;
    const QString eins = u"1:0:1:1:1:1:c00000:0:0:0:;Eins;ARD;192"_s;
    const QString zwei = u"1:0:1:2:1:1:c00000:0:0:0:;Zwei;ZDF;192"_s;
    QTest::newRow("bouquet with services") << favourites + u'\n' + eins + u'\n' + zwei + u'\n' << true
                                           << QStringList{favouritesSeen + u"/Eins,Zwei"};
    QTest::newRow("selected bouquet")
        << favourites + u";selected\n" + eins << true << QStringList{favouritesSeen + u"/Eins"};
    QTest::newRow("line ends with carriage returns") << favourites + u";selected\r\n" + eins + u"\r\n"
                                                     << true << QStringList{favouritesSeen + u"/Eins"};
    QTest::newRow("same bouquet name twice keeps each its own services")
        << favourites + u'\n' + eins + u'\n' + favourites + u'\n' + zwei << true
        << QStringList{favouritesSeen + u"/Eins", favouritesSeen + u"/Zwei"};
    QTest::newRow("bouquet reference without file name")
        << u"4097:7:0:1:0:0:0:0:0:0:;Alle Sender\n"_s + eins << true
        << QStringList{u"Alle Sender=4097:7:0:1:0:0:0:0:0:0:/Eins"_s};
    QTest::newRow("name with semicolon")
        << favourites + u";Sport;Doku\n" + eins << true
        << QStringList{favouritesSeen.left(3) + u";Sport;Doku" + favouritesSeen.sliced(3) + u"/Eins"};
    QTest::newRow("renamed and lost services")
        << favourites +
               u"\n1:0:1:3:1:1:c00000:0:0:0:;Umbenannt;192\n1:0:1:5:1:1:c00000:0:0:0:;Ohne Anbieter\n"
               u"1:0:1:4:1:1:c00000:0:0:0:;unnamed service;unnamed provider"
        << true << QStringList{favouritesSeen + u"/Umbenannt,Ohne Anbieter,unnamed service"};
    QTest::newRow("radio service in the bouquet")
        << favourites + u"\n1:0:2:6:1:1:c00000:0:0:0:;Radio Eins;ARD;192" << true
        << QStringList{favouritesSeen + u"/Radio Eins"};
    QTest::newRow("blank lines, blanks around lines, a west position, no line break at the end")
        << u"\n  \n"_s + favourites + u"  \n\t" + eins + u"\n1:0:1:7:1:1:c00000:0:0:0:;West;TV;-300" << true
        << QStringList{favouritesSeen + u"/Eins,West"};
    QTest::newRow("blank lines after the last service") << favourites + u'\n' + eins + u"\n\n \n"
                                                        << true << QStringList{favouritesSeen + u"/Eins"};
    // A listing cut off in a record, or with something else where a record belongs, would be a
    // shorter list or one with a garbled name.
    QTest::newRow("broken: cut in the last service's name")
        << favourites + u'\n' + eins + u'\n' + zwei.left(zwei.indexOf(u"Zwei") + 2) << false << QStringList();
    QTest::newRow("broken: cut in the last service's provider")
        << favourites + u'\n' + zwei.left(zwei.indexOf(u"ZDF") + 2) << false << QStringList();
    QTest::newRow("broken: cut in the last reference")
        << favourites + u'\n' + eins + u'\n' + zwei.left(9) << false << QStringList();
    QTest::newRow("broken: cut after the last bouquet's reference")
        << favourites + u'\n' + eins + u'\n' + favourites.left(favourites.indexOf(u';') + 1) << false
        << QStringList();
    QTest::newRow("broken: cut off and bytes that are not text")
        << favourites + u'\n' + eins + u'\n' + zwei.left(zwei.indexOf(u"ZDF") + 2) + u"\u00ff\u00fe<<"
        << false << QStringList();
    QTest::newRow("broken: a line that is no record")
        << favourites + u"\nrubbish without reference end\n" + eins << false << QStringList();
    QTest::newRow("broken: an unreadable bouquet line")
        << favourites + u'\n' + eins + u"\n4097 rubbish\n" + zwei << false << QStringList();
    QTest::newRow("broken: a reference that is no reference")
        << favourites + u"\n1:0:1:zz:1:1:c00000:0:0:0:;Eins;ARD;192" << false << QStringList();
    QTest::newRow("broken: control characters in a line")
        << favourites + u'\n' + QString(eins).replace(u"Eins"_s, u"E\u0001ns"_s) + u'\n' << false
        << QStringList();
    QTest::newRow("broken: services without any bouquet") << eins + u'\n' + zwei << false << QStringList();
    QTest::newRow("broken: only an unreadable bouquet line")
        << u"4097 rubbish\n"_s + eins << false << QStringList();
    QTest::newRow("broken: empty listing") << QString() << false << QStringList();
}

void TestE1ListPages::services()
{
    QFETCH(QString, listing);
    QFETCH(bool, read);
    OwnedList<Bouquet> bouquets;
    bouquets.push_back(std::make_unique<Bouquet>());
    QCOMPARE(parseServiceListE1(listing, bouquets), read);
    QStringList seen;
    for (const auto& bouquet : bouquets) {
        QStringList channels;
        for (const Channel* channel : bouquet->channels)
            channels << channel->name;
        seen << bouquet->name + u'=' + bouquet->reference + u'/' + channels.join(u',');
    }
    QTEST(seen, "bouquets");
}

void TestE1ListPages::moviesOfSample()
{
    OwnedList<MovieEntry> movies;
    QVERIFY(parseMovieListE1(e1Page(u"e1-movies.html"_s), movies));
    QCOMPARE(movies.size(), size_t(4));
    QCOMPARE(movies[0]->title, u"[04412 MB] Tatort: Schöne Bescherung"_s);
    // The receiver prints references escaped; the image keeps the reference it knows.
    QCOMPARE(
        movies[0]->serviceReference,
        u"1:0:1:6dca:44d:1:c00000:0:0:0:/hdd/movie/24-03-14 - Das Erste - Tatort_ Schöne Bescherung.ts"_s);
    QCOMPARE(movies[2]->title, u"[02210 MB] Tom & Jerry - Die 'Kult'-Edition"_s);
    QCOMPARE(movies[3]->serviceReference, u"1:0:1:0:0:0:0:0:0:0:/hdd/movie/alte Aufnahme.ts"_s);
}

void TestE1ListPages::movies_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QStringList>("movies"); // title=reference

    const QString sample = e1Page(u"e1-movies.html"_s);
    const qsizetype arraysBegin = sample.indexOf(u"\tchannels[0]"_s);
    const qsizetype arraysEnd = sample.indexOf(u"\n", sample.indexOf(u"\tchannelRefs[0]"_s));
    const auto withArrays = [&](const QString& titles, const QString& references) {
        return QString(sample).replace(arraysBegin, arraysEnd - arraysBegin,
                                       u"\tchannels[0] = new Array(" + titles +
                                           u");\n\tchannelRefs[0] = new Array(" + references + u");");
    };
    QTest::newRow("no recordings") << withArrays(u"\"none\""_s, u"\"none\""_s) << true << QStringList();
    QTest::newRow("empty arrays") << withArrays(QString(), QString()) << true << QStringList();
    QTest::newRow("broken: fewer references than titles")
        << withArrays(u"\"[00001 MB] a\", \"[00002 MB] b\""_s, u"\"1:0:1:0:0:0:0:0:0:0:%2fa%2ets\""_s)
        << false << QStringList();
    QTest::newRow("broken: a title without its size")
        << withArrays(u"\"[00001 MB] a\", \"b\u00ff\u00fe<<\""_s, u"\"r1\",\"r2\""_s) << false
        << QStringList();
    QTest::newRow("broken: a reference as the receiver never prints one")
        << withArrays(u"\"[00001 MB] a\""_s, u"\"1:0:1:0:0:0:0:0:0:0:/hdd/a b.ts\""_s) << false
        << QStringList();
    QTest::newRow("quotes inside a title")
        << withArrays(u"\"[00001 MB] Die \"Bekannten\"\",\"[00002 MB] b\""_s, u"\"r1\",\"r2\""_s) << true
        << QStringList{u"[00001 MB] Die \"Bekannten\"=r1"_s, u"[00002 MB] b=r2"_s};
    QTest::newRow("escaped quote and items across lines")
        << withArrays(u"\n\t\t\"[00001 MB] \\\"a\\\"\" ,\n\t\t\"[00002 MB] b\"\n\t"_s, u"\"r1\",\"r2\""_s)
        << true << QStringList{u"[00001 MB] \"a\"=r1"_s, u"[00002 MB] b=r2"_s};
    // A file name that is not UTF-8, or that holds a '%', only reaches the receiver intact in the
    // form it printed: it decodes references once more after the query.
    QTest::newRow("Latin-1 file name stays escaped")
        << withArrays(u"\"[00001 MB] a\""_s, u"\"1:0:1:0:0:0:0:0:0:0:%2fhdd%2fK%e4se%2ets\""_s) << true
        << QStringList{u"[00001 MB] a=1:0:1:0:0:0:0:0:0:0:%2fhdd%2fK%e4se%2ets"_s};
    QTest::newRow("percent sign in the file name stays escaped")
        << withArrays(u"\"[00001 MB] a\""_s, u"\"1:0:1:0:0:0:0:0:0:0:%2f100%25%2ets\""_s) << true
        << QStringList{u"[00001 MB] a=1:0:1:0:0:0:0:0:0:0:%2f100%25%2ets"_s};
    QTest::newRow("broken: title array not closed")
        << withArrays(u"\"[00001 MB] a\", \"[00002 MB] b"_s, u"\"r1\""_s) << false << QStringList();
    QTest::newRow("broken: an item that is not a string")
        << withArrays(u"\"[00001 MB] a\", titles[1]"_s, u"\"r1\""_s) << false << QStringList();
    for (const QString& marker : {u"ZAP: Movies"_s, u"function init()"_s, u"new Array("_s}) {
        QTest::addRow("broken: without \"%s\"", qPrintable(marker))
            << without(sample, marker) << false << QStringList();
    }
    QTest::newRow("broken: without the reference array")
        << QString(sample).replace(u"channelRefs[0] = new Array("_s, u"channelRefs[0] = ("_s) << false
        << QStringList();
}

void TestE1ListPages::movies()
{
    QFETCH(QString, page);
    QFETCH(bool, read);
    OwnedList<MovieEntry> movies;
    movies.push_back(std::make_unique<MovieEntry>());
    QCOMPARE(parseMovieListE1(page, movies), read);
    QStringList seen;
    for (const auto& movie : movies)
        seen << movie->title + u'=' + movie->serviceReference;
    QTEST(seen, "movies");
}

void TestE1ListPages::timersOfSample()
{
    OwnedList<TimerEntry> timers;
    QVERIFY(parseTimerListE1(e1Page(u"e1-timers.xml"_s), timers, m_clock));
    QCOMPARE(timers.size(), size_t(4));

    // Repeating timers are dated on the first day of 1970.
    const TimerEntry& repeating = *timers[0];
    QCOMPARE(repeating.type, u"REPEATING"_s);
    QCOMPARE(repeating.action, u"ZAP"_s);
    QCOMPARE(repeating.status, u"ACTIVE"_s);
    QCOMPARE(repeating.typeData, u"32768034"_s);
    QCOMPARE(repeating.serviceReference, u"1:0:1:6dca:44d:1:c00000:0:0:0:"_s);
    QCOMPARE(repeating.serviceName, u"Das Erste"_s);
    QCOMPARE(repeating.dateText, u"01.01.1970"_s);
    QCOMPARE(repeating.beginTimeText, u"19:00"_s);
    QCOMPARE(repeating.endTimeText, u"19:15"_s);
    QCOMPARE(repeating.startText, u"64800"_s);
    QCOMPARE(repeating.duration, 900);
    QCOMPARE(repeating.begin, 64800u);
    QCOMPARE(repeating.end, 65700u);
    QCOMPARE(repeating.description, u"Tagesschau"_s);

    // Entries glued together without separators are entries all the same.
    const TimerEntry& finished = *timers[1];
    QCOMPARE(finished.status, u"FINISHED"_s);
    QCOMPARE(finished.begin, 1710362100u);
    QCOMPARE(finished.end, 1710364200u);
    QCOMPARE(finished.endTimeText, u"22:10"_s);

    QCOMPARE(timers[2]->description, u"Tatort: Schöne Bescherung"_s);
    QCOMPARE(timers[2]->endTimeText, u"22:00"_s);
    // The receiver escapes some texts twice.
    QCOMPARE(timers[3]->description, u"Tom & Jerry - Die 'Kult'-Edition"_s);
    QCOMPARE(timers[3]->startText, u"1710529800"_s);
}

void TestE1ListPages::timers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QStringList>("names");

    const QString timer =
        u"<timer><type>SINGLE</type><service><reference>1:0:1:1:1:1:c00000:0:0:0:</reference><name>%1</name>"
        u"</service><event><date>14.03.2024</date><time>20:10</time><duration>600</duration></event></timer>"_s;
    const QString header = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"_s;
    QTest::newRow("no timers") << header + u"<timers>\n</timers>\n" << true << QStringList();
    QTest::newRow("no timers in an empty element") << header + u"<timers/>" << true << QStringList();
    QTest::newRow("timers below other elements")
        << header + u"<timers><group>" + timer.arg(u"A") + u"</group>" + timer.arg(u"B") + u"</timers>"
        << true << QStringList{u"A"_s, u"B"_s};
    QTest::newRow("unknown elements skipped")
        << header + u"<timers><note><name>x</name></note>" +
               QString(timer).replace(u"<type>"_s, u"<extra><type>NO</type></extra><type>"_s).arg(u"A") +
               u"</timers>"
        << true << QStringList{u"A"_s};
    QTest::newRow("full Unicode") << header + u"<timers>" + timer.arg(u"ΕΡΤ SAT · 😀") + u"</timers>" << true
                                  << QStringList{u"ΕΡΤ SAT · 😀"_s};
    QTest::newRow("broken: cut off") << QString(header + u"<timers>" + timer.arg(u"A")).chopped(20) << false
                                     << QStringList();
    QTest::newRow("broken: only the declaration") << header << false << QStringList();
    QTest::newRow("broken: another list")
        << header + u"<e2timerlist>" + timer.arg(u"A") + u"</e2timerlist>" << false << QStringList();
    QTest::newRow("broken: a page") << e1Page(u"e1-status.html"_s) << false << QStringList();
    QTest::newRow("broken: empty answer") << QString() << false << QStringList();
}

void TestE1ListPages::timers()
{
    QFETCH(QString, answer);
    QFETCH(bool, read);
    OwnedList<TimerEntry> timers;
    timers.push_back(std::make_unique<TimerEntry>());
    QCOMPARE(parseTimerListE1(answer, timers, m_clock), read);
    QStringList names;
    for (const auto& timer : timers)
        names << timer->serviceName;
    QTEST(names, "names");
}

void TestE1ListPages::timerTimes_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("duration");
    QTest::addColumn<uint>("begin");
    QTest::addColumn<uint>("end");
    QTest::addColumn<QString>("endTime");

    // 14.03.2024 20:10 in the zone of the samples (UTC+1).
    constexpr uint evening = 1710443400;
    QTest::newRow("date, time, duration")
        << u"<date>14.03.2024</date><time>20:10</time><duration>600</duration>"_s << 600 << evening
        << evening + 600 << u"20:20"_s;
    QTest::newRow("duration before date and time")
        << u"<duration>600</duration><date>14.03.2024</date><time>20:10</time>"_s << 600 << evening
        << evening + 600 << u"20:20"_s;
    QTest::newRow("one-digit minute") << u"<date>14.03.2024</date><time>20:5</time><duration>60</duration>"_s
                                      << 60 << evening - 300 << evening - 240 << u"20:06"_s;
    QTest::newRow("one-digit hour") << u"<date>14.03.2024</date><time>8:05</time><duration>60</duration>"_s
                                    << 60 << evening - 43500 << evening - 43440 << u"08:06"_s;
    QTest::newRow("ends after midnight")
        << u"<date>14.03.2024</date><time>23:30</time><duration>3600</duration>"_s << 3600 << evening + 12'000
        << evening + 15'600 << u"00:30"_s;
    QTest::newRow("zero duration") << u"<date>14.03.2024</date><time>20:10</time><duration>0</duration>"_s
                                   << -1 << evening << evening << u"20:10"_s;
    QTest::newRow("empty duration") << u"<date>14.03.2024</date><time>20:10</time><duration></duration>"_s
                                    << -1 << evening << evening << u"20:10"_s;
    QTest::newRow("duration not a number")
        << u"<date>14.03.2024</date><time>20:10</time><duration>lang</duration>"_s << -1 << evening << evening
        << u"20:10"_s;
    QTest::newRow("duration too large for the field")
        << u"<date>14.03.2024</date><time>20:10</time><duration>4294967295</duration>"_s << -1 << evening
        << evening << u"20:10"_s;
    QTest::newRow("without duration")
        << u"<date>14.03.2024</date><time>20:10</time>"_s << -1 << evening << evening << u"20:10"_s;
    QTest::newRow("invalid date") << u"<date>31.02.2024</date><time>20:10</time><duration>600</duration>"_s
                                  << 600 << 0u << 0u << u"20:20"_s;
    QTest::newRow("invalid time") << u"<date>14.03.2024</date><time>25:10</time><duration>600</duration>"_s
                                  << 600 << 0u << 0u << QString();
    QTest::newRow("before 1970 in local time")
        << u"<date>01.01.1970</date><time>00:30</time><duration>600</duration>"_s << 600 << 0u << 600u
        << u"00:40"_s;
}

void TestE1ListPages::timerTimes()
{
    QFETCH(QString, event);
    OwnedList<TimerEntry> timers;
    QVERIFY(
        parseTimerListE1(u"<timers><timer><event>" + event + u"</event></timer></timers>", timers, m_clock));
    QCOMPARE(timers.size(), size_t(1));
    QTEST(timers[0]->duration, "duration");
    QTEST(timers[0]->begin, "begin");
    QTEST(timers[0]->end, "end");
    QTEST(timers[0]->endTimeText, "endTime");
}

QTEST_GUILESS_MAIN(TestE1ListPages)
#include "tst_e1listpages.moc"
