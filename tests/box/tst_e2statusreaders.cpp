#include "box/e2readers.h"
#include "e2answers.h"
#include "model/records.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The readers of status and command answers: power state, about, time, signal, volume,
// message answers and the results of movie and timer commands.
class TestE2StatusReaders : public QObject
{
    Q_OBJECT

private slots:
    void powerState_data();
    void powerState();
    void aboutOfSample();
    void about_data();
    void about();
    void currentTime_data();
    void currentTime();
    void signal_data();
    void signal();
    void volume_data();
    void volume();
    void messageAnswer_data();
    void messageAnswer();
    void movieDeleteResult_data();
    void movieDeleteResult();
    void timerCommandResult_data();
    void timerCommandResult();
};

namespace {

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

void TestE2StatusReaders::powerState_data()
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

void TestE2StatusReaders::powerState()
{
    QFETCH(QString, text);
    QTEST(parseE2PowerState(text), "inStandby");
}

void TestE2StatusReaders::aboutOfSample()
{
    AboutInfo about;
    QVERIFY(parseE2About(e2Answer(u"e2-about.xml"_s), about));
    QCOMPARE(about.enigmaVersion, u"2024-03-10"_s);
    QCOMPARE(about.imageVersion, u"7.4"_s);
    QCOMPARE(about.webifVersion, u"OWIF 1.5.2"_s);
    QCOMPARE(about.fpVersion, QString()); // None
    QCOMPARE(about.model, u"Uno 4K SE"_s);
    QCOMPARE(about.lanMac, u"00:1d:ec:0a:1b:2c"_s);
    QCOMPARE(about.lanDhcp, true);
    QCOMPARE(about.lanIp, u"192.168.178.44"_s);
    QCOMPARE(about.lanMask, u"255.255.255.0"_s);
    QCOMPARE(about.lanGateway, u"192.168.178.1"_s);
    QCOMPARE(about.hddModel, u"ATA(ST2000LM015-2E81)"_s);
    QCOMPARE(about.hddCapacity, u"1.8 TB"_s);
    QCOMPARE(about.hddFree, u"1243.7 GB"_s);
    QCOMPARE(about.tunerName, u"Tuner B"_s); // the last tuner listed
    QCOMPARE(about.tunerType, u"Vuplus DVB-S NIM(7376 FBC) (DVB-S2)"_s);
}

void TestE2StatusReaders::about_data()
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
        << u"<e2about><e2enigmaversion>4.2</e2enigmaversion><e2landhcp>False</e2landhcp></e2about>"_s << true
        << QString() << false << QString();
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

void TestE2StatusReaders::about()
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

void TestE2StatusReaders::currentTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("time");

    QTest::newRow("sample") << e2Answer(u"e2-currenttime.xml"_s) << true << u"20:17:42"_s;
    QTest::newRow("before ten") << e2Document("e2currenttime"_L1, u" 8:05:09"_s) << true << u"8:05:09"_s;
    QTest::newRow("another answer") << e2Answer(u"e2-powerstate.xml"_s) << false << QString();
    QTest::newRow("not closed") << u"<e2currenttime>20:17:42"_s << false << QString();
}

void TestE2StatusReaders::currentTime()
{
    QFETCH(QString, text);
    QString time = u"left over"_s;
    QTEST(parseE2CurrentTime(text, time), "read");
    QTEST(time, "time");
}

void TestE2StatusReaders::signal_data()
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
        << signalAnswer({u"\n\t\t12.34 dB\n\t"_s, u"\n\t\t64 %\n\t"_s, u"\n\t\t0\n\t"_s, u"\n\t\t78 %\n\t"_s})
        << true << 64 << 0 << 78 << u"64 %"_s;
    QTest::newRow("no tuner is no signal")
        << signalAnswer({u" dB"_s, u" %"_s, QString(), u" %"_s}) << true << 0 << 0 << 0 << QString();
    QTest::newRow("standby is no signal")
        << signalAnswer({u"N/A"_s, u"N/A"_s, u"N/A"_s, u"N/A"_s}) << true << 0 << 0 << 0 << QString();
    QTest::newRow("AGC None") << signalAnswer({u"12 dB"_s, u"64 %"_s, u"0"_s, u"None"_s}) << false << 0 << 0
                              << 0 << QString();
    QTest::newRow("only three values")
        << signalAnswer({u"12 dB"_s, u"64 %"_s, u"0"_s}) << false << 0 << 0 << 0 << QString();
    QTest::newRow("another answer") << e2Answer(u"e2-vol.xml"_s) << false << 0 << 0 << 0 << QString();
}

void TestE2StatusReaders::signal()
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

void TestE2StatusReaders::volume_data()
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
    QTest::newRow("100 and muted") << volumeAnswer({u"True"_s, u""_s, u"100"_s, u"True"_s}) << true << 100
                                   << true;
    QTest::newRow("padded") << volumeAnswer({u"True"_s, u""_s, u"\n\t30\t"_s, u"\n\tFalse\t"_s}) << true << 30
                            << false;
    QTest::newRow("level not a number leaves the outputs")
        << volumeAnswer({u"True"_s, u""_s, u"loud"_s, u"True"_s}) << false << -7 << false;
    QTest::newRow("level missing") << volumeAnswer({u"True"_s, u""_s}) << false << -7 << false;
    QTest::newRow("another answer") << e2Answer(u"e2-signal.xml"_s) << false << -7 << false;
}

void TestE2StatusReaders::volume()
{
    QFETCH(QString, text);
    QFETCH(bool, read);
    int level = -7;
    bool muted = false;
    QCOMPARE(parseE2Volume(text, muted, level), read);
    QTEST(level, "level");
    QTEST(muted, "muted");
}

void TestE2StatusReaders::messageAnswer_data()
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
    QTest::newRow("lower case is no answer") << simpleResult(u"True"_s, u"answer is yes!"_s) << false << -1;
    QTest::newRow("message sent is no answer") << e2Answer(u"e2-message.xml"_s) << false << -1;
    QTest::newRow("first element not the state")
        << e2Document("e2simplexmlresult"_L1, u"<e2statetext>Answer is YES!</e2statetext>"_s) << false << -1;
}

void TestE2StatusReaders::messageAnswer()
{
    QFETCH(QString, text);
    QFETCH(bool, read);
    MessageAnswer answer = MessageAnswer(-1);
    QCOMPARE(parseE2MessageAnswer(text, answer), read);
    QTEST(int(answer), "answer");
}

void TestE2StatusReaders::movieDeleteResult_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("deleted sample") << e2Answer(u"e2-moviedelete.xml"_s) << true;
    QTest::newRow("failed sample") << e2Answer(u"e2-moviedelete-fail.xml"_s) << false;
    QTest::newRow("padded True") << simpleResult(u"\n\tTrue\t"_s, u"deleted"_s) << true;
    QTest::newRow("lower case true") << simpleResult(u"true"_s, u"deleted"_s) << false;
    QTest::newRow("state not first") << e2Document("e2simplexmlresult"_L1,
                                                   u"<e2statetext>x</e2statetext><e2state>True</e2state>"_s)
                                     << false;
}

void TestE2StatusReaders::movieDeleteResult()
{
    QFETCH(QString, text);
    QTEST(parseE2MovieDeleteResult(text), "deleted");
}

void TestE2StatusReaders::timerCommandResult_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<bool>("successWord");

    QTest::newRow("timer added (no success word)") << e2Answer(u"e2-timeradd-ok.xml"_s) << true << false;
    QTest::newRow("event not found") << e2Answer(u"e2-timeradd-noevent.xml"_s) << false << false;
    QTest::newRow("timer deleted") << e2Answer(u"e2-timerdelete-ok.xml"_s) << true << true;
    QTest::newRow("conflict") << simpleResult(u"False"_s, u"Conflicting Timer(s) detected! Tatort"_s) << false
                              << false;
    QTest::newRow("state False wins over the word")
        << simpleResult(u"False"_s, u"not added successfully"_s) << false << true;
    QTest::newRow("padded state") << simpleResult(u"\n True\t"_s, u"Timer 'x' added"_s) << true << false;
    QTest::newRow("no state: the word decides")
        << e2Document("e2simplexmlresult"_L1, u"<e2statetext>deleted successfully</e2statetext>"_s) << true
        << true;
    QTest::newRow("state neither True nor False: the word decides")
        << simpleResult(u"None"_s, u"Timer 'x' added"_s) << false << false;
    QTest::newRow("plain text with the word") << u"Timer event was created successfully."_s << true << true;
    QTest::newRow("plain text without it") << u"Timer event was created."_s << false << false;
    QTest::newRow("word in other case") << u"Successfully"_s << false << false;
}

void TestE2StatusReaders::timerCommandResult()
{
    QFETCH(QString, text);
    QTEST(parseE2TimerCommandResult(text), "succeeded");
    QTEST(containsSuccessWord(text), "successWord");
}

QTEST_GUILESS_MAIN(TestE2StatusReaders)
#include "tst_e2statusreaders.moc"
