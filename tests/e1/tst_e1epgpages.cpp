#include "box/e1parsers.h"
#include "e1pages.h"
#include "model/clock.h"
#include "model/epgitem.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The Enigma1 EPG pages: the current service's events and the multi-EPG table of a bouquet.
class TestE1EpgPages : public QObject
{
    Q_OBJECT

private slots:
    void currentEpgOfSample();
    void currentEpg_data();
    void currentEpg();
    void multiEpgOfSample();
    void multiEpg_data();
    void multiEpg();
    void multiEpgReducedRowByRow();
    void localTimeOfTheClock();

private:
    const ManualClock m_clock{sampleNow, sampleUtcOffset};
};

namespace {

const QString bouquet = u"4097:7:0:33fc5:0:0:0:0:0:0:/var/tuxbox/config/enigma/userbouquet.33fc5.tv"_s;

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

QStringList eventsSeen(const OwnedList<EpgItem>& events)
{
    QStringList seen;
    for (const auto& event : events) {
        seen << event->serviceName + u'|' + event->serviceReference + u'|' + QString::number(event->start) +
                    u'|' + QString::number(event->duration) + u'|' + event->title + u'|' +
                    event->descriptionExtended;
    }
    return seen;
}

} // namespace

void TestE1EpgPages::currentEpgOfSample()
{
    OwnedList<EpgItem> events;
    QVERIFY(parseCurrentEpgE1(e1Page(u"e1-currentepg.html"_s), bouquet, events, m_clock));
    QCOMPARE(events.size(), size_t(4));
    const EpgItem& first = *events[0];
    QCOMPARE(first.serviceName, u"Das Erste"_s);
    QCOMPARE(first.serviceReference, reference);
    QCOMPARE(first.bouquetReference, bouquet);
    QCOMPARE(first.start, 1710442800u);
    QCOMPARE(first.duration, 900);
    QCOMPARE(first.end, 1710443700u);
    QCOMPARE(first.startDate, QDate(2024, 3, 14).toString(Qt::TextDate));
    QCOMPARE(first.startTime, u"20:00"_s);
    QCOMPARE(first.title, u"Tagesschau"_s);
    QCOMPARE(first.descriptionExtended, u"Themen u. a.: Bundestag beschließt Haushalt - Das Wetter"_s);
    QCOMPARE(events[1]->title, u"Tatort: Schöne Bescherung"_s);
    QCOMPARE(
        events[1]->descriptionExtended,
        u"Kommissarin Lürsen & Kommissar Stedefreund ermitteln. Die Spur führt zu einem alten \"Bekannten\"."_s);
    // The receiver writes '<' and '&' into event texts as they are.
    QCOMPARE(events[3]->descriptionExtended, u"Zu Gast: Politiker <Bundestag> & Journalisten im Gespräch."_s);
    QCOMPARE(events[3]->startTime, u"22:15"_s);
    for (const auto& event : events) {
        QVERIFY(event->eventId.isEmpty());
        QCOMPARE(event->progress, 0);
    }
}

void TestE1EpgPages::currentEpg_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QStringList>("events");

    const QString event = u"Das Erste|" + reference + u"|1710442800|900|Titel|Text";
    const QString row =
        currentEpgRow(recordLink(reference, u"1710442800"_s, u"900"_s), u"Titel"_s, description);
    QTest::newRow("one event") << currentEpgPage(row) << true << QStringList{event};
    QTest::newRow("row without description gives no event")
        << currentEpgPage(
               currentEpgRow(recordLink(reference, u"1710442800"_s, u"900"_s), u"Titel"_s, QString()) + row)
        << true << QStringList{event};
    QTest::newRow("row without title")
        << currentEpgPage(
               currentEpgRow(recordLink(reference, u"1710442800"_s, u"900"_s), QString(), description))
        << true << QStringList{u"Das Erste|" + reference + u"|1710442800|900||Text"};
    QTest::newRow("zero duration") << currentEpgPage(
                                          currentEpgRow(recordLink(reference, u"1710442800"_s, u"0"_s),
                                                        u"Titel"_s, description))
                                   << true
                                   << QStringList{u"Das Erste|" + reference + u"|1710442800|-1|Titel|Text"};
    QTest::newRow("escaped reference")
        << currentEpgPage(currentEpgRow(
               recordLink(u"1:0:1:1:1:1:0:0:0:0:%2fhdd%2fa%20b%2ets"_s, u"1710442800"_s, u"900"_s),
               u"Titel"_s, description))
        << true << QStringList{u"Das Erste|1:0:1:1:1:1:0:0:0:0:/hdd/a b.ts|1710442800|900|Titel|Text"_s};
    QTest::newRow("switch link before the record link")
        << currentEpgPage(QString(row).replace(u"<a href"_s,
                                               u"<a href=\"javascript:switchChannel('x')\">z</a><a href"_s))
        << true << QStringList{event};
    QTest::newRow("start not a number drops the event")
        << currentEpgPage(currentEpgRow(recordLink(reference, u"bald"_s, u"900"_s), u"Titel"_s, description) +
                          row)
        << true << QStringList{event};
    QTest::newRow("broken: last link without a duration")
        << currentEpgPage(row + currentEpgRow(recordLink(reference, u"1710442800"_s, u"lang"_s), u"Titel"_s,
                                              description))
        << false << QStringList();
    QTest::newRow("broken: link with too few arguments")
        << currentEpgPage(row + currentEpgRow(u"javascript:record('" + reference + u"','1710442800','900')",
                                              u"Titel"_s, description))
        << false << QStringList();
    QTest::newRow("broken: no event rows") << currentEpgPage(QString()) << false << QStringList();
    QTest::newRow("broken: without the heading")
        << QString(currentEpgPage(row)).remove(u"<th colspan=\"3\">Das Erste</th>"_s) << false
        << QStringList();
    QTest::newRow("broken: another table")
        << QString(currentEpgPage(row)).replace(u"id=\"epg\""_s, u"id=\"x\""_s) << false << QStringList();
    const QString sample = e1Page(u"e1-currentepg.html"_s);
    QTest::newRow("broken: without record links")
        << without(sample, u"javascript:record("_s) << false << QStringList();
    // Cut off anywhere before its table ends, the page would give fewer events or garbled ones.
    QTest::newRow("broken: cut inside a link")
        << sample.left(sample.lastIndexOf(u"'4500'"_s) + 3) << false << QStringList();
    QTest::newRow("broken: cut in a description, then bytes that are not text")
        << sample.left(sample.lastIndexOf(u"Journalisten"_s)) + u"\u00ff\u00fe<<" << false << QStringList();
    QTest::newRow("broken: cut after a whole row")
        << sample.left(sample.lastIndexOf(u"</tr>"_s) + 5) << false << QStringList();
    QTest::newRow("broken: an event row the page leaves open")
        << currentEpgPage(QString(row).remove(u"</tr>"_s) + row) << false << QStringList();
}

void TestE1EpgPages::currentEpg()
{
    QFETCH(QString, page);
    QFETCH(bool, read);
    OwnedList<EpgItem> events;
    events.push_back(std::make_unique<EpgItem>());
    QCOMPARE(parseCurrentEpgE1(page, bouquet, events, m_clock), read);
    QTEST(eventsSeen(events), "events");
}

void TestE1EpgPages::multiEpgOfSample()
{
    OwnedList<EpgItem> events;
    QVERIFY(parseMultiEpgE1(e1Page(u"e1-multiepg.html"_s), bouquet, events, m_clock));
    QStringList seen;
    for (const auto& event : events)
        seen << event->serviceName + u": " + event->startTime + u' ' + event->title;
    // In page order: the services one after the other, each with its events.
    QCOMPARE(seen,
             QStringList({u"Das Erste: 20:00 Tagesschau"_s, u"Das Erste: 20:15 Tatort: Schöne Bescherung"_s,
                          u"Das Erste: 21:45 Tagesthemen"_s, u"Das Erste: 22:15 maischberger"_s,
                          u"ZDF: 20:00 heute"_s, u"ZDF: 20:15 Der Bergdoktor"_s,
                          u"ZDF: 21:45 heute journal"_s, u"ΕΡΤ SAT: 20:00 Ειδήσεις"_s}));
    QCOMPARE(events[4]->serviceReference, u"1:0:1:6d66:437:1:c00000:0:0:0:"_s);
    QCOMPARE(events[4]->duration, 1140);
    QCOMPARE(events[3]->descriptionExtended, u"Zu Gast: Politiker <Bundestag> & Journalisten im Gespräch."_s);
    QCOMPARE(events[7]->descriptionExtended, u"Κεντρικό δελτίο"_s);
    for (const auto& event : events)
        QCOMPARE(event->bouquetReference, bouquet);
}

void TestE1EpgPages::multiEpg_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QStringList>("events");

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
    QTest::newRow("two services") << page(row(u"Eins"_s, cell(eins, description)) +
                                          row(u"Zwei"_s, cell(zwei, description) + cell(zwei, description)))
                                  << true
                                  << QStringList{u"Eins|" + reference + u"|1710442800|900|Titel|Text",
                                                 u"Zwei|1:0:1:2:2:2:0:0:0:0:|1710443700|1800|Titel|Text"_s,
                                                 u"Zwei|1:0:1:2:2:2:0:0:0:0:|1710443700|1800|Titel|Text"_s};
    QTest::newRow("cell without description gives no event")
        << page(row(u"Eins"_s, cell(eins, QString()) + cell(eins, description))) << true
        << QStringList{u"Eins|" + reference + u"|1710442800|900|Titel|Text"};
    QTest::newRow("row without channel span is skipped")
        << page(u"<tr><td><a href=\"" + eins + u"\">x</a>Text</td></tr>" +
                row(u"Eins"_s, cell(eins, description)))
        << true << QStringList{u"Eins|" + reference + u"|1710442800|900|Titel|Text"};
    QTest::newRow("service without events")
        << page(row(u"Leer"_s, QString()) + row(u"Eins"_s, cell(eins, description))) << true
        << QStringList{u"Eins|" + reference + u"|1710442800|900|Titel|Text"};
    QTest::newRow("upper-case markup, unquoted id")
        << QString(page(row(u"Eins"_s, cell(eins, description))))
               .replace(u"<tr>"_s, u"<TR>"_s)
               .replace(u"</tr>"_s, u"</TR>"_s)
               .replace(u"<table id=\"mepg\">"_s, u"<TABLE ID=mepg>"_s)
               .replace(u"</table>"_s, u"</TABLE>"_s)
        << true << QStringList{u"Eins|" + reference + u"|1710442800|900|Titel|Text"};
    // The receiver prints '<' in texts as it is.
    QTest::newRow("text that looks like a row tag")
        << page(row(u"Eins"_s, cell(eins, u"<span class=\"description\">Soundtrack <trivia></span>"_s)))
        << true << QStringList{u"Eins|" + reference + u"|1710442800|900|Titel|Soundtrack <trivia>"};
    QTest::newRow("broken: last link without a duration")
        << page(row(u"Eins"_s, cell(eins, description) +
                                   cell(recordLink(reference, u"1710442800"_s, QString()), description)))
        << false << QStringList();
    QTest::newRow("broken: no events at all") << page(row(u"Leer"_s, QString())) << false << QStringList();
    QTest::newRow("broken: the current-EPG page")
        << e1Page(u"e1-currentepg.html"_s) << false << QStringList();
    const QString sample = e1Page(u"e1-multiepg.html"_s);
    QTest::newRow("broken: without the table id")
        << without(sample, u"id=\"mepg\""_s) << false << QStringList();
    QTest::newRow("broken: cut inside a link")
        << sample.left(sample.indexOf(u"1710443700','5400'"_s) + 12) << false << QStringList();
    QTest::newRow("broken: cut in a description, then bytes that are not text")
        << sample.left(sample.indexOf(u"Nachrichten und"_s)) + u"\u00ff\u00fe<<" << false << QStringList();
    QTest::newRow("broken: cut after a whole row")
        << sample.left(sample.indexOf(u"</tr>"_s, sample.indexOf(u"<tbody>"_s)) + 5) << false
        << QStringList();
    QTest::newRow("broken: an event cell the page leaves open")
        << page(row(u"Eins"_s, QString(cell(eins, description)).remove(u"</td>"_s) + cell(eins, description)))
        << false << QStringList();
    QTest::newRow("broken: a service row the page leaves open")
        << page(QString(row(u"Eins"_s, cell(eins, description))).remove(u"</tr>"_s) +
                row(u"Zwei"_s, cell(zwei, description)))
        << false << QStringList();
}

void TestE1EpgPages::multiEpg()
{
    QFETCH(QString, page);
    QFETCH(bool, read);
    OwnedList<EpgItem> events;
    events.push_back(std::make_unique<EpgItem>());
    QCOMPARE(parseMultiEpgE1(page, bouquet, events, m_clock), read);
    QTEST(eventsSeen(events), "events");
}

void TestE1EpgPages::multiEpgReducedRowByRow()
{
    // Each service's events are handed over on their own, as soon as its row is read, so that a
    // big bouquet's whole day is never held at once.
    QStringList rows;
    OwnedList<EpgItem> events;
    QVERIFY(parseMultiEpgE1(e1Page(u"e1-multiepg.html"_s), bouquet, events, m_clock,
                            [&](OwnedList<EpgItem>& row) {
                                if (row.empty())
                                    return;
                                rows << row.front()->serviceName + u':' + QString::number(row.size());
                                for (const auto& event : row)
                                    QCOMPARE(event->serviceName, row.front()->serviceName);
                                row.resize(1);
                            }));
    QCOMPARE(rows, QStringList({u"Das Erste:4"_s, u"ZDF:3"_s, u"ΕΡΤ SAT:1"_s}));
    QCOMPARE(events.size(), 3U);
    QCOMPARE(events[2]->serviceName, u"ΕΡΤ SAT"_s);
}

void TestE1EpgPages::localTimeOfTheClock()
{
    // Dates and times are shown in the user's zone, which the clock supplies.
    const ManualClock tokyo(sampleNow, 9 * 3600);
    OwnedList<EpgItem> events;
    QVERIFY(parseCurrentEpgE1(e1Page(u"e1-currentepg.html"_s), bouquet, events, tokyo));
    QCOMPARE(events[0]->startTime, u"04:00"_s);
    QCOMPARE(events[0]->startDate, QDate(2024, 3, 15).toString(Qt::TextDate));
}

QTEST_GUILESS_MAIN(TestE1EpgPages)
#include "tst_e1epgpages.moc"
