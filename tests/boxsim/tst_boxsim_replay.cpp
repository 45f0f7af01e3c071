// Replay mode: answers come from recorded files chosen by path (query dropped) plus the extension
// of the content type the receiver uses for it; a missing file is a 404, and nothing outside the
// directory is ever served.

#include "tests/boxsim/boxsimtest.h"
#include "tools/boxsim/boxsim.h"

#include <QFile>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using boxsimtest::Client;
using boxsimtest::Fetched;

namespace {

QString replayDirectory(const QString& personality)
{
    return QStringLiteral(TAVREL_TEST_DATA_DIR "/boxsim/replay/") + personality;
}

QByteArray fileContent(const QString& personality, const QString& relative)
{
    QFile file(replayDirectory(personality) + u'/' + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBoxSimReplay : public QObject
{
    Q_OBJECT

private slots:
    void answersFromFiles_data();
    void answersFromFiles();
    void neverLeavesTheDirectory();
    void livingReceiverIsUntouched();
    void authenticationAndFaultsStillApply();
    void replayCanBeSwitchedOff();
};

void TestBoxSimReplay::answersFromFiles_data()
{
    QTest::addColumn<QString>("personality");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QString>("file"); // empty: 404
    QTest::addColumn<QByteArray>("contentType");
    QTest::newRow("Enigma2 path with query")
        << u"e2"_s << "/web/epgnow?bRef=1:7:1:0:0:0:0:0:0:0:x"_ba << u"web/epgnow.xml"_s << "text/xml"_ba;
    QTest::newRow("Enigma2 command") << u"e2"_s << "/web/zap?sRef=anything"_ba << u"web/zap.xml"_s
                                     << "text/xml"_ba;
    QTest::newRow("Enigma2 file with another extension")
        << u"e2"_s << "/web/vol?set"_ba << u"web/vol.txt"_s << "text/plain"_ba;
    QTest::newRow("Enigma2 file missing") << u"e2"_s << "/web/timerlist"_ba << QString() << QByteArray();
    QTest::newRow("Enigma1 status page")
        << u"e1"_s << "/cgi-bin/status"_ba << u"cgi-bin/status.html"_s << "text/html"_ba;
    QTest::newRow("Enigma1 data page") << u"e1"_s << "/data"_ba << u"data.html"_s << "text/html"_ba;
    QTest::newRow("Enigma1 service listing")
        << u"e1"_s << "/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true"_ba
        << u"cgi-bin/getServices.txt"_s << "text/plain"_ba;
    QTest::newRow("Enigma1 timer list")
        << u"e1"_s << "/xml/timers"_ba << u"xml/timers.xml"_s << "text/xml"_ba;
    QTest::newRow("Enigma1 file missing") << u"e1"_s << "/body?mode=help"_ba << QString() << QByteArray();
}

void TestBoxSimReplay::answersFromFiles()
{
    QFETCH(QString, personality);
    QFETCH(QByteArray, target);
    QFETCH(QString, file);
    QFETCH(QByteArray, contentType);
    boxsim::BoxSim box(personality == u"e2" ? boxsim::Personality::Enigma2 : boxsim::Personality::Enigma1);
    QVERIFY(box.setReplayDirectory(replayDirectory(personality)));
    QVERIFY(box.listen() != 0);
    Client client;
    client.setCredentials(u"root"_s, u"root"_s);
    const Fetched fetched = client.get(box.baseUrl(), target);
    if (file.isEmpty()) {
        QCOMPARE(fetched.status, 404);
        return;
    }
    QCOMPARE(fetched.status, 200);
    QCOMPARE(fetched.body, fileContent(personality, file));
    QVERIFY2(fetched.contentType.startsWith(contentType), fetched.contentType.constData());
    QCOMPARE(box.requestTargets().last(), target);
}

void TestBoxSimReplay::neverLeavesTheDirectory()
{
    boxsim::BoxSim box(boxsim::Personality::Enigma2);
    QVERIFY(box.setReplayDirectory(replayDirectory(u"e2"_s)));
    QVERIFY(box.listen() != 0);
    QVERIFY(QFile::exists(QStringLiteral(TAVREL_TEST_DATA_DIR "/boxsim/outside.txt")));
    for (const QByteArray& target :
         {"/../../outside"_ba, "/%2e%2e/%2e%2e/outside"_ba, "/web/%2e%2e/%2e%2e/%2e%2e/outside"_ba, "/"_ba}) {
        QVERIFY2(boxsimtest::rawGet(box.port(), target).startsWith("HTTP/1.1 404"), target.constData());
        QCOMPARE(box.requests().last().target(), target);
    }
}

void TestBoxSimReplay::livingReceiverIsUntouched()
{
    boxsim::BoxSim box(boxsim::Personality::Enigma2);
    const QString before = box.currentServiceReference();
    QVERIFY(box.setReplayDirectory(replayDirectory(u"e2"_s)));
    QVERIFY(box.listen() != 0);
    Client client;
    QCOMPARE(client.get(box.baseUrl(), "/web/zap?sRef=1:0:1:1:1:1:1:0:0:0:").status, 200);
    QCOMPARE(box.currentServiceReference(), before);
}

void TestBoxSimReplay::authenticationAndFaultsStillApply()
{
    boxsim::BoxSim box(boxsim::Personality::Enigma1);
    QVERIFY(box.setReplayDirectory(replayDirectory(u"e1"_s)));
    QVERIFY(box.listen() != 0);
    Client anonymous;
    QCOMPARE(anonymous.get(box.baseUrl(), "/cgi-bin/status").status, 401);
    QCOMPARE(anonymous.get(box.baseUrl(), "/data").status, 200);
    box.setPathFault(u"/data"_s, {boxsim::FaultKind::Http500});
    QCOMPARE(anonymous.get(box.baseUrl(), "/data").status, 500);
}

void TestBoxSimReplay::replayCanBeSwitchedOff()
{
    boxsim::BoxSim box(boxsim::Personality::Enigma2);
    QVERIFY(!box.setReplayDirectory(u"/nonexistent/boxsim/replay"_s));
    QVERIFY(box.replayDirectory().isEmpty());
    QVERIFY(box.setReplayDirectory(replayDirectory(u"e2"_s)));
    QVERIFY(box.listen() != 0);
    Client client;
    QCOMPARE(client.get(box.baseUrl(), "/web/timerlist").status, 404);
    QVERIFY(box.setReplayDirectory(QString()));
    QCOMPARE(client.get(box.baseUrl(), "/web/timerlist").status, 200);
}

QTEST_GUILESS_MAIN(TestBoxSimReplay)
#include "tst_boxsim_replay.moc"
