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

const QString march14 = QDate(2024, 3, 14).toString(Qt::TextDate);

} // namespace

// Broken, truncated, huge and hostile answers, and every input the fuzzers ever tripped over:
// no reader may crash, hang, or hand over anything half-read.
class TestE2HostileAnswers : public QObject
{
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(TestE2HostileAnswers)
#include "tst_e2hostileanswers.moc"
