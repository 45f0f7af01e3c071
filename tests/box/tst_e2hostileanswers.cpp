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

// Broken, truncated, huge and hostile answers, and every input the fuzzers ever tripped over:
// no reader may crash, hang, or hand over anything half-read.
class TestE2HostileAnswers : public QObject
{
    Q_OBJECT

private slots:
    void everyAnswerLeavesCleanOutputs_data();
    void everyAnswerLeavesCleanOutputs();
    void unreadableAnswers_data();
    void unreadableAnswers();
    void controlCharactersAreDropped();
    void charactersOutsideTheBmp();
    void paddedAndMissingValues();
    void emptyElements();
    void floatValues();
    void prefixedNamesAreOtherNames();
    void hugeAnswers();
    void deepNesting();
};

namespace {

// What every reader made of one answer.
struct Outcome
{
    bool powerState = false;
    bool services = false;
    bool currentService = false;
    bool bouquetEpg = false;
    bool eventList = false;
    bool about = false;
    bool currentTime = false;
    bool signal = false;
    bool volume = false;
    bool messageAnswer = false;
    bool movieDelete = false;
    bool timerList = false;
    bool movieList = false;
    bool timerCommand = false;
    bool clean = true; // every reader that gave false left its output empty

    bool anyRead() const
    {
        return powerState || services || currentService || bouquetEpg || eventList || about || currentTime ||
               signal || volume || messageAnswer || movieDelete || timerList || movieList;
    }
};

// Runs every reader on the text and checks that a reader that gives false leaves nothing behind.
Outcome readWithEveryReader(const QString& text)
{
    Outcome outcome;
    outcome.powerState = parseE2PowerState(text);

    OwnedList<Bouquet> bouquets;
    outcome.services = parseE2Services(text, bouquets);
    CurrentServiceE2 service;
    outcome.currentService = parseE2CurrentService(text, service, sampleClock());

    OwnedList<EpgItem> events;
    events.push_back(std::make_unique<EpgItem>());
    outcome.bouquetEpg = parseE2BouquetEpg(text, u"bq"_s, events, sampleClock());
    const bool bouquetEpgClean = outcome.bouquetEpg || events.empty();
    events.push_back(std::make_unique<EpgItem>());
    outcome.eventList = parseE2EventList(text, events, sampleClock());
    const bool eventListClean = outcome.eventList || events.empty();

    AboutInfo about;
    outcome.about = parseE2About(text, about);
    QString time;
    outcome.currentTime = parseE2CurrentTime(text, time);
    SignalInfo signal;
    outcome.signal = parseE2Signal(text, signal);
    bool muted = false;
    int level = -7;
    outcome.volume = parseE2Volume(text, muted, level);
    MessageAnswer answer = MessageAnswer(-1);
    outcome.messageAnswer = parseE2MessageAnswer(text, answer);
    outcome.movieDelete = parseE2MovieDeleteResult(text);

    OwnedList<TimerEntry> timers;
    timers.push_back(std::make_unique<TimerEntry>());
    outcome.timerList = parseE2TimerList(text, timers, sampleClock());
    OwnedList<MovieEntry> movies;
    movies.push_back(std::make_unique<MovieEntry>());
    outcome.movieList = parseE2MovieList(text, movies);
    outcome.timerCommand = parseE2TimerCommandResult(text);

    outcome.clean = bouquetEpgClean && eventListClean && (outcome.about || about.model.isEmpty()) &&
                    (outcome.currentTime || time.isEmpty()) && (outcome.signal || signal.snrText.isEmpty()) &&
                    (outcome.volume || (level == -7 && !muted)) &&
                    (outcome.messageAnswer || answer == MessageAnswer(-1)) &&
                    (outcome.timerList || timers.empty()) && (outcome.movieList || movies.empty()) &&
                    (outcome.services || bouquets.empty()) &&
                    (outcome.currentService || (service.events.empty() && service.serviceName.isEmpty()));
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

void TestE2HostileAnswers::everyAnswerLeavesCleanOutputs_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = testDataNames(u"e2"_s);
    QVERIFY(files.size() > 40);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << file;
}

void TestE2HostileAnswers::everyAnswerLeavesCleanOutputs()
{
    QFETCH(QString, file);
    const std::optional<QByteArray> bytes = testDataBytes(u"e2/"_s + file);
    QVERIFY(bytes.has_value());
    // Once as UTF-8 as the engine decodes, once as Latin-1 as it reads bodies that are not UTF-8.
    for (const QString& text : {QString::fromUtf8(*bytes), QString::fromLatin1(*bytes)})
        QVERIFY(readWithEveryReader(text).clean);
}

void TestE2HostileAnswers::unreadableAnswers_data()
{
    QTest::addColumn<QString>("text");

    const QStringList files{
        u"broken-empty.xml"_s,
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
        u"broken-control-reference.xml"_s,
    };
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << e2Answer(file);
    QTest::newRow("only the XML declaration") << u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"_s;
    QTest::newRow("only blanks") << u"\n\t \n"_s;
    QTest::newRow("NUL characters") << QString(64, QChar(0));
    QTest::newRow("half a tag") << u"<e2eventlist"_s;
    QTest::newRow("two roots") << u"<e2timerlist/><e2timerlist/>"_s;
    QTest::newRow("unclosed deep nesting") << u"<e2eventlist>"_s + nested(100000, QString(), false);
}

void TestE2HostileAnswers::unreadableAnswers()
{
    QFETCH(QString, text);
    const Outcome outcome = readWithEveryReader(text);
    QVERIFY(outcome.clean);
    QVERIFY(!outcome.anyRead());
    QCOMPARE(outcome.timerCommand, containsSuccessWord(text));
}

void TestE2HostileAnswers::controlCharactersAreDropped()
{
    OwnedList<EpgItem> events;
    QVERIFY(parseE2BouquetEpg(e2Answer(u"broken-control-characters-epgnow.xml"_s), u"bq"_s, events,
                              sampleClock()));
    QCOMPARE(events.size(), size_t(1));
    QCOMPARE(events[0]->title, u"Tatort: Kiel"_s);
    QCOMPARE(events[0]->description, u"Teil1"_s);
    QCOMPARE(events[0]->serviceName, u"Das Erste HD"_s);
}

void TestE2HostileAnswers::charactersOutsideTheBmp()
{
    OwnedList<Bouquet> bouquets;
    QVERIFY(parseE2Services(e2Answer(u"broken-outside-bmp-services.xml"_s), bouquets));
    QCOMPARE(bouquets.size(), size_t(1));
    QCOMPARE(bouquets[0]->name, u"🎬 Kino 🍿"_s);
    QCOMPARE(bouquets[0]->channels.size(), 1);
    QCOMPARE(bouquets[0]->channels[0]->name, u"𝄞 Musik 🎵"_s);
}

void TestE2HostileAnswers::paddedAndMissingValues()
{
    CurrentServiceE2 service;
    QVERIFY(parseE2CurrentService(e2Answer(u"broken-padded-none-values-getcurrent.xml"_s), service,
                                  sampleClock()));
    QCOMPARE(service.serviceReference, u"1:0:19:6F0E:431:1:C00000:0:0:0:"_s);
    QCOMPARE(service.serviceName, u"A&E HD"_s);
    QCOMPARE(service.providerName, QString());
    QCOMPARE(service.videoWidth, QString());
    QCOMPARE(service.videoHeight, QString());
    QCOMPARE(service.videoSize, QString());
    // The second event is the receiver's "no EPG" filler and is left out.
    QCOMPARE(service.events.size(), size_t(1));
    const EpgItem& now = *service.events[0];
    QCOMPARE(now.eventId, u"4711"_s);
    QCOMPARE(now.title, u"Storage Wars & Co"_s);
    QCOMPARE(now.description, QString());
    QCOMPARE(now.descriptionExtended, u"\"Alles muss raus\""_s);
    QCOMPARE(now.start, 1710443700u);
    QCOMPARE(now.duration, 1800);
    QCOMPARE(now.end, 1710445500u);
    QCOMPARE(now.currentTime, u"1710443862.37"_s);
    QCOMPARE(now.serviceName, u"A&E HD"_s);
}

void TestE2HostileAnswers::emptyElements()
{
    // A signal answer with nothing in it is no signal, not an unreadable answer.
    SignalInfo signal;
    signal.agcPercent = 7;
    QVERIFY(parseE2Signal(e2Answer(u"broken-empty-elements-signal.xml"_s), signal));
    QCOMPARE(signal.agcPercent, 0);
    QVERIFY(signal.snrText.isEmpty());
    bool muted = false;
    int level = 12;
    QVERIFY(!parseE2Volume(e2Answer(u"broken-empty-elements-volume.xml"_s), muted, level));
    QCOMPARE(level, 12);

    OwnedList<TimerEntry> timers;
    QVERIFY(parseE2TimerList(e2Answer(u"broken-empty-elements-timerlist.xml"_s), timers, sampleClock()));
    QCOMPARE(timers.size(), size_t(1));
    QCOMPARE(timers[0]->serviceReference, QString());
    QCOMPARE(timers[0]->begin, 0u);
    QCOMPARE(timers[0]->end, 0u);
    QCOMPARE(timers[0]->dateText, QString());
    QCOMPARE(timers[0]->beginTimeText, QString());
    QCOMPARE(timers[0]->duration, -1);
    QCOMPARE(timers[0]->cancelled, false);
}

void TestE2HostileAnswers::floatValues()
{
    OwnedList<MovieEntry> movies;
    QVERIFY(parseE2MovieList(e2Answer(u"broken-float-values-movielist.xml"_s), movies));
    QCOMPARE(movies.size(), size_t(1));
    QCOMPARE(movies[0]->title, u"Doku & Wissen"_s);
    QCOMPARE(movies[0]->time, 1710090300u);
    QCOMPARE(movies[0]->length, QString());
    QCOMPARE(movies[0]->fileSizeText, u"5368.71 MB"_s);
}

void TestE2HostileAnswers::prefixedNamesAreOtherNames()
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

void TestE2HostileAnswers::hugeAnswers()
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

void TestE2HostileAnswers::deepNesting()
{
    // Events are found at any depth, and the depth costs no stack.
    OwnedList<EpgItem> events;
    QVERIFY(parseE2EventList(e2Document("e2eventlist"_L1, nested(100000, e2TimedEvent(u"tief"_s))), events,
                             sampleClock()));
    QCOMPARE(events.size(), size_t(1));
    QCOMPARE(events[0]->title, u"tief"_s);

    // Deep inside one event: its own fields stay readable, the rest is skipped.
    QVERIFY(parseE2EventList(
        e2Document("e2eventlist"_L1, u"<e2event><e2eventtitle>oben</e2eventtitle>" +
                                         nested(100000, u"<e2eventtitle>x</e2eventtitle>"_s) + u"</e2event>"),
        events, sampleClock()));
    QCOMPARE(events.size(), size_t(1));
    QCOMPARE(events[0]->title, u"oben"_s);

    const Outcome outcome = readWithEveryReader(nested(100000, u"x"_s));
    QVERIFY(!outcome.anyRead());
}

QTEST_GUILESS_MAIN(TestE2HostileAnswers)
#include "tst_e2hostileanswers.moc"
