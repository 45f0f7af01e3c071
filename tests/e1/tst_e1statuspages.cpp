#include "box/e1parsers.h"
#include "e1pages.h"
#include "model/records.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The Enigma1 pages that fill one record: status, data, satellite finder and its control page,
// about; and the answers to timer commands.
class TestE1StatusPages : public QObject
{
    Q_OBJECT

private slots:
    void statusOfSample();
    void status_data();
    void status();
    void dataOfSample();
    void data_data();
    void data();
    void satfinderOfSample();
    void satfinder_data();
    void satfinder();
    void satfinderConfigOfSample();
    void satfinderConfig_data();
    void satfinderConfig();
    void aboutOfSample();
    void about_data();
    void about();
    void timerCommandAnswers_data();
    void timerCommandAnswers();
};

namespace {

// Rows that remove each of the page's fixed texts in turn.
void addMissingMarkerRows(const QString& page, const QStringList& markers)
{
    for (const QString& marker : markers)
        QTest::addRow("broken: without \"%s\"", qPrintable(marker)) << without(page, marker) << false;
}

} // namespace

void TestE1StatusPages::statusOfSample()
{
    StatusInfoE1 status;
    QVERIFY(parseStatusPageE1(e1Page(u"e1-status.html"_s), status));
    // The receiver ends the time with a line break inside its cell.
    QCOMPARE(status.currentTime, u"Thu Mar 14 20:17:42 2024"_s);
    QCOMPARE(status.standby, false);
    QCOMPARE(status.recording, false);
    QCOMPARE(status.mode, int(BoxModeTv));
    QCOMPARE(status.serviceReference, u"1:0:1:6dca:44d:1:c00000:0:0:0:"_s);
    QCOMPARE(status.serviceName, u"Das Erste"_s);
    QCOMPARE(status.provider, u"ARD"_s);
    // The last row leaves its label cell open.
    QCOMPARE(status.videoFormat, u"720x576 16:9 25 fps"_s);
}

void TestE1StatusPages::status_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("read");

    const QString sample = e1Page(u"e1-status.html"_s);
    QTest::newRow("sample") << sample << true;
    QTest::newRow("standby ON") << QString(sample).replace(u"Standby:</td><td>OFF"_s,
                                                           u"Standby:</td><td>ON"_s)
                                << true;
    QTest::newRow("recording ON") << QString(sample).replace(u"Recording:</td><td>OFF"_s,
                                                             u"Recording:</td><td>ON"_s)
                                  << true;
    QTest::newRow("movie mode") << QString(sample).replace(u"Mode:</td><td>0"_s, u"Mode:</td><td>2"_s)
                                << true;
    QTest::newRow("mode digit beyond the known modes")
        << QString(sample).replace(u"Mode:</td><td>0"_s, u"Mode:</td><td>7"_s) << true;
    QTest::newRow("broken: mode not a digit")
        << QString(sample).replace(u"Mode:</td><td>0"_s, u"Mode:</td><td>x"_s) << false;
    QTest::newRow("time cell without line break")
        << QString(sample).replace(u"2024\n</td>"_s, u"2024</td>"_s) << true;
    QTest::newRow("video format cell closed like the others")
        << QString(sample).replace(u"vidformat:<td>"_s, u"vidformat:</td><td>"_s) << true;
    QTest::newRow("escaped movie reference")
        << QString(sample).replace(
               u"1:0:1:6dca:44d:1:c00000:0:0:0:</td>"_s,
               u"1:0:0:0:0:0:0:0:0:0:%2fhdd%2fmovie%2fSch%c3%b6ne%20Bescherung%2ets</td>"_s)
        << true;
    QTest::newRow("full Unicode name")
        << QString(sample).replace(u"<td>Das Erste</td>"_s, u"<td>ΕΡΤ SAT · 😀</td>"_s) << true;
    addMissingMarkerRows(sample, {u"Current time:"_s, u"Standby:"_s, u"Recording:"_s, u"Mode:"_s,
                                  u"Current service reference:"_s, u"name:"_s, u"provider:"_s,
                                  u"vidformat:"_s, u"</td></tr>"_s});
    QTest::newRow("broken: standby after mode") << withLineMoved(sample, u"Standby:"_s, u"Mode:"_s) << false;
    QTest::newRow("broken: name after the video format")
        << withLineMoved(sample, u"name:"_s, u"vidformat:"_s) << false;
    QTest::newRow("broken: ends after the mode")
        << sample.left(sample.indexOf(u"Current service"_s)) << false;
}

void TestE1StatusPages::status()
{
    QFETCH(QString, page);
    QFETCH(bool, read);
    // What a failed page leaves behind must not look like a status.
    StatusInfoE1 status{u"old"_s, true, true, 3, u"old"_s, u"old"_s, u"old"_s, u"old"_s};
    QCOMPARE(parseStatusPageE1(page, status), read);
    if (!read) {
        QVERIFY(status.currentTime.isEmpty() && status.serviceReference.isEmpty() &&
                status.videoFormat.isEmpty());
        QVERIFY(!status.standby && !status.recording && status.mode == 0);
        return;
    }
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    QCOMPARE(status.currentTime, u"Thu Mar 14 20:17:42 2024"_s);
    QCOMPARE(status.standby, tag == u"standby ON");
    QCOMPARE(status.recording, tag == u"recording ON");
    QCOMPARE(status.mode, tag == u"movie mode"                          ? int(BoxModeMovie)
                          : tag == u"mode digit beyond the known modes" ? int(BoxModeOther)
                                                                        : int(BoxModeTv));
    QCOMPARE(status.serviceReference, tag == u"escaped movie reference"
                                          ? u"1:0:0:0:0:0:0:0:0:0:/hdd/movie/Schöne Bescherung.ts"_s
                                          : u"1:0:1:6dca:44d:1:c00000:0:0:0:"_s);
    QCOMPARE(status.serviceName, tag == u"full Unicode name" ? u"ΕΡΤ SAT · 😀"_s : u"Das Erste"_s);
    QCOMPARE(status.videoFormat, u"720x576 16:9 25 fps"_s);
}

void TestE1StatusPages::dataOfSample()
{
    DeviceData data;
    QVERIFY(parseDataPageE1(e1Page(u"e1-data.js"_s), data));
    QCOMPARE(data.nowD, u"(90)"_s);
    QCOMPARE(data.nowSt, u"Tatort: Schöne Bescherung"_s);
    QCOMPARE(data.diskGB, u"57.42 GB"_s);
    QCOMPARE(data.diskH, u"~29 h, 41 min"_s);
    QCOMPARE(data.upTime, u"49:07 h up"_s);
    QCOMPARE(data.volume, 40);
    QCOMPARE(data.mute, false);
    QCOMPARE(data.videoTime, u"0:00"_s);
    QCOMPARE(data.videoPosition, 0);
    QCOMPARE(data.videoActive, false);
    QCOMPARE(data.agc, u"78"_s);
    QCOMPARE(data.snr, u"71"_s);
    QCOMPARE(data.ber, u"0"_s);
}

void TestE1StatusPages::data_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("read");

    const QString sample = e1Page(u"e1-data.js"_s);
    QTest::newRow("sample") << sample << true;
    const QString playing = QString(sample)
                                .replace(u"videoTime = \"0:00\""_s, u"videoTime = \"1:23:45\""_s)
                                .replace(u"videoPosition = 0"_s, u"videoPosition = 7"_s);
    QTest::newRow("playing a recording") << playing << true;
    QTest::newRow("position without play time")
        << QString(sample).replace(u"videoPosition = 0"_s, u"videoPosition = 7"_s) << true;
    QTest::newRow("muted")
        << QString(sample).replace(u"volume = 40"_s, u"volume = 0"_s).replace(u"mute = 0"_s, u"mute = 1"_s)
        << true;
    QTest::newRow("volume not a number")
        << QString(sample).replace(u"volume = 40"_s, u"volume = x"_s) << true;
    QTest::newRow("texts with raw markup characters and Unicode")
        << QString(sample).replace(u"Tatort: Schöne Bescherung"_s, u"Tom & Jerry <Kult> · Ειδήσεις"_s)
        << true;
    QTest::newRow("assignments without blanks") << QString(sample).replace(u" = "_s, u"="_s) << true;
    QTest::newRow("broken: play position not a number")
        << QString(sample).replace(u"videoPosition = 0"_s, u"videoPosition = \"0\""_s) << false;
    addMissingMarkerRows(sample, {u"updateCycleTime"_s, u"nowD"_s, u"nowSt"_s, u"diskGB"_s, u"diskH"_s,
                                  u"upTime"_s, u"volume"_s, u"mute"_s, u"videoTime"_s, u"videoPosition"_s,
                                  u"agc"_s, u"snr"_s, u"ber"_s});
    QTest::newRow("broken: volume after mute")
        << withLineMoved(sample, u"var volume"_s, u"var mute"_s) << false;
    QTest::newRow("broken: disk data before the service")
        << withLineMoved(sample, u"var nowD"_s, u"var diskH"_s) << false;
    QTest::newRow("broken: ends in the play time") << sample.left(sample.indexOf(u"0:00"_s) + 2) << false;
    QTest::newRow("broken: cut after the last value")
        << sample.left(sample.indexOf(u"var ber = 0;"_s) + 12) << false;
}

void TestE1StatusPages::data()
{
    QFETCH(QString, page);
    QFETCH(bool, read);
    DeviceData data;
    data.nowSt = u"old"_s;
    data.videoPosition = 9;
    QCOMPARE(parseDataPageE1(page, data), read);
    if (!read) {
        QVERIFY(data.nowSt.isEmpty() && data.videoPosition == 0 && data.ber.isEmpty());
        return;
    }
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    QCOMPARE(data.videoActive, tag == u"playing a recording");
    QCOMPARE(data.videoPosition,
             tag == u"playing a recording" || tag == u"position without play time" ? 7 : 0);
    QCOMPARE(data.mute, tag == u"muted");
    QCOMPARE(data.volume, tag == u"muted" || tag == u"volume not a number" ? 0 : 40);
    QCOMPARE(data.nowSt, tag == u"texts with raw markup characters and Unicode"
                             ? u"Tom & Jerry <Kult> · Ειδήσεις"_s
                             : u"Tatort: Schöne Bescherung"_s);
    QCOMPARE(data.ber, u"0"_s);
}

void TestE1StatusPages::satfinderOfSample()
{
    SatfinderData data;
    QVERIFY(parseSatfinderDataE1(e1Page(u"e1-satfinder.html"_s), data));
    QCOMPARE(data.snr, 71);
    QCOMPARE(data.agc, 78);
    QCOMPARE(data.ber, 0);
    QCOMPARE(data.lock, true);
    QCOMPARE(data.sync, true);
}

void TestE1StatusPages::satfinder_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("read");

    const QString sample = e1Page(u"e1-satfinder.html"_s);
    QTest::newRow("sample") << sample << true;
    QTest::newRow("unlocked") << QString(sample).replace(u"disabled checked>&nbsp;LOCK"_s,
                                                         u"disabled>&nbsp;LOCK"_s)
                              << true;
    QTest::newRow("not synchronised")
        << QString(sample).replace(u"disabled checked>&nbsp;SYNC"_s, u"disabled>&nbsp;SYNC"_s) << true;
    QTest::newRow("full signal") << QString(sample).replace(u">71%"_s, u">100%"_s) << true;
    QTest::newRow("bit errors") << QString(sample).replace(u"<td align=\"center\">0</td>"_s,
                                                           u"<td align=\"center\">1234</td>"_s)
                                << true;
    QTest::newRow("broken: bit error rate not a number")
        << QString(sample).replace(u"<td align=\"center\">0</td>"_s, u"<td align=\"center\">n/a</td>"_s)
        << false;
    addMissingMarkerRows(sample, {u"SNR:"_s, u"AGC:"_s, u"BER:"_s, u">&nbsp;LOCK"_s, u">&nbsp;SYNC"_s,
                                  u"<td align=\"center\">"_s});
    QTest::newRow("broken: AGC row before the SNR row") << QString(sample)
                                                               .replace(u"SNR:"_s, u"%%"_s)
                                                               .replace(u"AGC:"_s, u"SNR:"_s)
                                                               .replace(u"%%"_s, u"AGC:"_s)
                                                        << false;
}

void TestE1StatusPages::satfinder()
{
    QFETCH(QString, page);
    QFETCH(bool, read);
    SatfinderData data{5, 5, 5, true, true};
    QCOMPARE(parseSatfinderDataE1(page, data), read);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    if (!read) {
        QVERIFY(data.snr == 0 && data.agc == 0 && data.ber == 0 && !data.lock && !data.sync);
        return;
    }
    QCOMPARE(data.snr, tag == u"full signal" ? 100 : 71);
    QCOMPARE(data.agc, 78);
    QCOMPARE(data.ber, tag == u"bit errors" ? 1234 : 0);
    QCOMPARE(data.lock, tag != u"unlocked");
    QCOMPARE(data.sync, tag != u"not synchronised");
}

void TestE1StatusPages::satfinderConfigOfSample()
{
    SatfinderConfig config;
    QVERIFY(parseSatfinderConfigE1(e1Page(u"e1-controlSatFinder.html"_s), config));
    QCOMPARE(config.satellites, QStringList({u"Astra 19.2E"_s, u"Hotbird 13.0E"_s}));
    QCOMPARE(config.currentBouquet, 0);
    QCOMPARE(config.currentChannel, 1);
    QCOMPARE(config.channelNames.size(), 2);
    QCOMPARE(config.channelNames[0],
             QStringList({u"10743 / 22000 / H"_s, u"11836 / 27500 / H"_s, u"12109 / 27500 / H"_s}));
    QCOMPARE(config.channelNames[1], QStringList({u"11034 / 27500 / V"_s, u"12476 / 27500 / H"_s}));
    QCOMPARE(config.channelRefs.size(), 2);
    QCOMPARE(config.channelRefs[0][1], u"11836500:27500000:0:3:192:2:"_s);
    QCOMPARE(config.channelRefs[1],
             QStringList({u"11034000:27500000:1:3:130:2:"_s, u"12476000:27500000:0:3:130:2:"_s}));
}

void TestE1StatusPages::satfinderConfig_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("currentBouquet");
    QTest::addColumn<int>("currentChannel");

    const QString sample = e1Page(u"e1-controlSatFinder.html"_s);
    QTest::newRow("sample") << sample << true << 0 << 1;
    QTest::newRow("second satellite selected")
        << QString(sample).replace(u"currentBouquet = 0"_s, u"currentBouquet = 1"_s) << true << 1 << 1;
    QTest::newRow("nothing selected") << QString(sample)
                                             .replace(u"currentBouquet = 0"_s, u"currentBouquet = -1"_s)
                                             .replace(u"currentChannel = 1"_s, u"currentChannel = -1"_s)
                                      << true << 0 << 0;
    // Indices the page names beyond its own lists select the first entry.
    QTest::newRow("satellite beyond the list")
        << QString(sample).replace(u"currentBouquet = 0"_s, u"currentBouquet = 2"_s) << true << 0 << 1;
    QTest::newRow("transponder beyond the list")
        << QString(sample).replace(u"currentChannel = 1"_s, u"currentChannel = 3"_s) << true << 0 << 0;
    QTest::newRow("satellite not a number")
        << QString(sample).replace(u"currentBouquet = 0"_s, u"currentBouquet = x"_s) << true << 0 << 1;
    QTest::newRow("broken: transponder not a number")
        << QString(sample).replace(u"currentChannel = 1"_s, u"currentChannel = x"_s) << false << 0 << 0;
    for (const QString& marker : {u"CONTROL: Satfinder"_s, u"bouquets = new Array"_s, u"currentBouquet"_s,
                                  u"currentChannel"_s, u"function init()"_s}) {
        QTest::addRow("broken: without \"%s\"", qPrintable(marker))
            << without(sample, marker) << false << 0 << 0;
    }
    QTest::newRow("broken: parameters of the second satellite missing")
        << QString(sample).replace(u"channelRefs[1] = new Array("_s, u"channelRefs[1] = ("_s) << false << 0
        << 0;
    QTest::newRow("broken: satellite list not closed")
        << QString(sample).replace(u"\"Hotbird 13.0E\"\n\t\t);"_s, u"\"Hotbird 13.0E\"\n"_s) << false << 0
        << 0;
    QTest::newRow("broken: selection before the satellite list")
        << withLineMoved(sample, u"var currentBouquet"_s, u"var channels"_s) << false << 0 << 0;
}

void TestE1StatusPages::satfinderConfig()
{
    QFETCH(QString, page);
    QFETCH(bool, read);
    SatfinderConfig config{4, 4, {u"old"_s}, {{u"old"_s}}, {{u"old"_s}}};
    QCOMPARE(parseSatfinderConfigE1(page, config), read);
    QTEST(config.currentBouquet, "currentBouquet");
    QTEST(config.currentChannel, "currentChannel");
    QCOMPARE(config.satellites.size(), read ? 2 : 0);
    QCOMPARE(config.channelNames.size(), read ? 2 : 0);
    QCOMPARE(config.channelRefs.size(), read ? 2 : 0);
}

void TestE1StatusPages::aboutOfSample()
{
    AboutInfoE1 about;
    QVERIFY(parseAboutPageE1(e1Page(u"e1-about.html"_s), about));
    QCOMPARE(about.model, u"ST7020"_s);
    QCOMPARE(about.manufacturer, u"Example-Multimedia"_s);
    QCOMPARE(about.processor, u"STB04500, 252MHz"_s);
    QCOMPARE(about.harddisk, u"WDC WD1600JB-00REA0 (master, 152627 MB)"_s);
    QCOMPARE(about.usbStick, u"none"_s);
    // The kernel cell holds a line break.
    QCOMPARE(about.linuxKernel,
             u"Linux version 2.6.9 (build@receiver) (gcc version 3.4.4) #1 Thu May 15 17:20:41 CEST 2008"_s);
    QCOMPARE(about.firmware, u"release 1.2.2, 15.05.2008"_s);
    QCOMPARE(about.webInterface, u"6.0.4"_s);
}

void TestE1StatusPages::about_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("firmware");

    const QString sample = e1Page(u"e1-about.html"_s);
    const QString release = u"release 1.2.2, 15.05.2008"_s;
    QTest::newRow("sample") << sample << true << u"ST7020"_s << release;
    QTest::newRow("padded label") << QString(sample).replace(u"<td>Model</td>"_s, u"<td>\n Model </td>"_s)
                                  << true << u"ST7020"_s << release;
    QTest::newRow("later row overwrites")
        << QString(sample).replace(u"</tbody>"_s, u"<tr><td>Model</td><td>Zweite</td></tr></tbody>"_s) << true
        << u"Zweite"_s << release;
    QTest::newRow("entities and Unicode")
        << QString(sample).replace(u"<td>ST7020</td>"_s, u"<td>Box &amp; Co &#8211; Ω</td>"_s) << true
        << u"Box & Co – Ω"_s << release;
    QTest::newRow("model row without value cell")
        << QString(sample).replace(u"<td>Model</td><td>ST7020</td>"_s, u"<td>Model</td>"_s) << false
        << QString() << QString();
    QTest::newRow("broken: without the model row")
        << without(sample, u"<tr><td>Model</td><td>ST7020</td></tr>"_s) << false << QString() << QString();
    QTest::newRow("broken: only a model row elsewhere in the page")
        << u"<p>Model</p><p>ST7020</p>"_s << false << QString() << QString();
}

void TestE1StatusPages::about()
{
    QFETCH(QString, page);
    QFETCH(bool, read);
    AboutInfoE1 about;
    about.model = about.firmware = u"old"_s;
    QCOMPARE(parseAboutPageE1(page, about), read);
    QTEST(about.model, "model");
    QTEST(about.firmware, "firmware");
}

void TestE1StatusPages::timerCommandAnswers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("success");

    QTest::newRow("timer added") << e1Page(u"e1-addTimerEvent-ok.html"_s) << true;
    QTest::newRow("timer deleted page") << e1Page(u"e1-deleteTimerEvent.html"_s) << true;
    QTest::newRow("capital S") << u"Timer event was created Successfully."_s << false;
    QTest::newRow("other answer") << e1Page(u"e1-admin-standby.html"_s) << false;
    QTest::newRow("empty answer") << QString() << false;
}

void TestE1StatusPages::timerCommandAnswers()
{
    QFETCH(QString, answer);
    QTEST(answerIsSuccess(answer), "success");
}

QTEST_GUILESS_MAIN(TestE1StatusPages)
#include "tst_e1statuspages.moc"
