// Faults on demand: every kind, global and per path, counted, combined with latency, and as the
// command line writes them. The client is a QNetworkAccessManager, as in the application.

#include "tests/boxsim/receivertest.h"
#include "tools/boxsim/faultparser.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using boxsim::Fault;
using boxsim::FaultKind;
using boxsimtest::Fetched;
using boxsimtest::XmlTree;

class TestBoxSimFaults : public boxsimtest::ReceiverTest
{
    Q_OBJECT

public:
    TestBoxSimFaults()
        : ReceiverTest(boxsim::Personality::Enigma2)
    {}

private slots:
    void latencyDelaysTheAnswer_data();
    void latencyDelaysTheAnswer();
    void hangingAnswerNeverComes();
    void cutBodyEndsEarly();
    void httpErrors_data();
    void httpErrors();
    void malformedXmlFailsAStrictParser();
    void malformedPageLosesItsMarkers();
    void trickleSendsInSmallPieces();
    void refuseEverythingStopsListening();
    void refusePathClosesTheConnection();
    void wrongCredentialsEvenWhenRight();
    void faultHitsOnlyAsOftenAsAsked();
    void pathFaultWinsOverGlobalFault();
    void prefixPathCoversSubpaths();
    void latencyCombinesWithAnotherKind();
    void faultFromTheCommandLine_data();
    void faultFromTheCommandLine();
};

void TestBoxSimFaults::latencyDelaysTheAnswer_data()
{
    QTest::addColumn<bool>("global");
    QTest::addColumn<int>("latency");
    QTest::addColumn<int>("jitter");
    QTest::newRow("fixed latency on one path") << false << 150 << 0;
    QTest::newRow("fixed latency everywhere") << true << 150 << 0;
    QTest::newRow("latency with jitter") << false << 100 << 100;
}

void TestBoxSimFaults::latencyDelaysTheAnswer()
{
    QFETCH(bool, global);
    QFETCH(int, latency);
    QFETCH(int, jitter);
    const Fault fault{.latencyMs = latency, .jitterMs = jitter};
    if (global)
        m_box->setFault(fault);
    else
        m_box->setPathFault(u"/web/about"_s, fault);
    const Fetched slow = get("/web/about");
    QCOMPARE(slow.status, 200);
    QVERIFY2(slow.elapsedMs >= latency, qPrintable(QString::number(slow.elapsedMs)));
    QVERIFY(XmlTree::parse(slow.body).ok);
    const Fetched other = get("/web/powerstate");
    QCOMPARE(other.status, 200);
    if (global)
        QVERIFY(other.elapsedMs >= latency);
}

void TestBoxSimFaults::hangingAnswerNeverComes()
{
    m_box->setPathFault(u"/web/epgnow"_s, {FaultKind::Hang});
    const Fetched hanging = get("/web/epgnow?bRef=x", 300);
    QCOMPARE(hanging.error, QNetworkReply::OperationCanceledError);
    QVERIFY(hanging.elapsedMs >= 250); // the client's own timer ends it
    QCOMPARE(m_box->requests().last().status, 0);
    // The receiver is not blocked by it.
    QCOMPARE(get("/web/powerstate").status, 200);
    QCOMPARE(m_box->requests().last().status, 200);
}

void TestBoxSimFaults::cutBodyEndsEarly()
{
    const QByteArray full = get("/web/getallservices").body;
    m_box->setPathFault(u"/web/getallservices"_s, {.kind = FaultKind::CutBody, .cutPercent = 40});
    const Fetched cut = get("/web/getallservices");
    QCOMPARE(cut.error, QNetworkReply::RemoteHostClosedError);
    QCOMPARE(cut.contentLength.toLongLong(), full.size());
    QVERIFY(cut.body.size() < full.size());
}

void TestBoxSimFaults::httpErrors_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("error");
    QTest::newRow("internal server error")
        << int(FaultKind::Http500) << 500 << int(QNetworkReply::InternalServerError);
    QTest::newRow("not found") << int(FaultKind::Http404) << 404 << int(QNetworkReply::ContentNotFoundError);
}

void TestBoxSimFaults::httpErrors()
{
    QFETCH(int, kind);
    QFETCH(int, status);
    QFETCH(int, error);
    m_box->setPathFault(u"/web/getcurrent"_s, {FaultKind(kind)});
    const Fetched fetched = get("/web/getcurrent");
    QCOMPARE(fetched.status, status);
    QCOMPARE(int(fetched.error), error);
    QVERIFY(fetched.contentType.startsWith("text/html"));
    QCOMPARE(m_box->requests().last().status, status);
    // The fault did not reach the receiver: no state was touched, other paths answer.
    QCOMPARE(get("/web/powerstate").status, 200);
}

void TestBoxSimFaults::malformedXmlFailsAStrictParser()
{
    m_box->setPathFault(u"/web/timerlist"_s, {FaultKind::MalformedBody});
    const Fetched fetched = get("/web/timerlist");
    QCOMPARE(fetched.status, 200);
    QVERIFY(fetched.body.startsWith("<?xml"));
    QVERIFY(!XmlTree::parse(fetched.body).ok);
    m_box->clearFaults();
    QVERIFY(XmlTree::parse(get("/web/timerlist").body).ok);
}

void TestBoxSimFaults::malformedPageLosesItsMarkers()
{
    boxsim::BoxSim box(boxsim::Personality::Enigma1);
    QVERIFY(box.listen() != 0);
    box.setPathFault(u"/data"_s, {FaultKind::MalformedBody});
    const Fetched fetched = m_client->get(box.baseUrl(), "/data");
    QCOMPARE(fetched.status, 200);
    QVERIFY(!fetched.body.contains("videoPosition = "));
}

void TestBoxSimFaults::trickleSendsInSmallPieces()
{
    const QByteArray full = get("/web/about").body;
    m_box->setPathFault(u"/web/about"_s,
                        {.kind = FaultKind::Trickle, .trickleBytes = 256, .trickleIntervalMs = 20});
    const Fetched slow = get("/web/about");
    QCOMPARE(slow.error, QNetworkReply::NoError);
    QCOMPARE(slow.body, full);
    const int pieces = int((full.size() + 255) / 256);
    QVERIFY2(slow.readyReads >= 3, qPrintable(QString::number(slow.readyReads)));
    QVERIFY(slow.elapsedMs >= (pieces - 1) * 20 - 5);
}

void TestBoxSimFaults::refuseEverythingStopsListening()
{
    QSignalSpy reachable(m_box.get(), &boxsim::BoxSim::reachableChanged);
    m_box->setFault({FaultKind::Refuse});
    QVERIFY(!m_box->isReachable());
    QCOMPARE(reachable.count(), 1);
    QCOMPARE(get("/web/about").error, QNetworkReply::ConnectionRefusedError);
    m_box->clearFault();
    QVERIFY(m_box->isReachable());
    QCOMPARE(get("/web/about").status, 200);
    QCOMPARE(reachable.count(), 2);
}

void TestBoxSimFaults::refusePathClosesTheConnection()
{
    m_box->setPathFault(u"/web/signal"_s, {FaultKind::Refuse});
    QCOMPARE(get("/web/signal").error, QNetworkReply::RemoteHostClosedError);
    QCOMPARE(m_box->requests().last().status, 0);
    QCOMPARE(get("/web/about").status, 200);
}

void TestBoxSimFaults::wrongCredentialsEvenWhenRight()
{
    m_box->setCredentials(u"root"_s, u"geheim"_s);
    m_client->setCredentials(u"root"_s, u"geheim"_s);
    QCOMPARE(get("/web/about").status, 200);
    m_box->setPathFault(u"/web/about"_s, {FaultKind::WrongCredentials});
    const Fetched refused = get("/web/about");
    QCOMPARE(refused.error, QNetworkReply::AuthenticationRequiredError);
    QCOMPARE(refused.status, 401);
    QVERIFY(refused.authenticate.startsWith("Basic realm="));
    QCOMPARE(get("/web/powerstate").status, 200);
}

void TestBoxSimFaults::faultHitsOnlyAsOftenAsAsked()
{
    m_box->setPathFault(u"/web/zap"_s, {.kind = FaultKind::Http500, .times = 2});
    QCOMPARE(get("/web/zap?sRef=a").status, 500);
    QCOMPARE(get("/web/zap?sRef=b").status, 500);
    QCOMPARE(get("/web/zap?sRef=c").status, 200);
    QCOMPARE(m_box->currentServiceReference(), u"c"_s);
}

void TestBoxSimFaults::pathFaultWinsOverGlobalFault()
{
    m_box->setFault({FaultKind::Http404});
    m_box->setPathFault(u"/web/about"_s, {FaultKind::Http500});
    QCOMPARE(get("/web/about").status, 500);
    QCOMPARE(get("/web/powerstate").status, 404);
    m_box->clearPathFault(u"/web/about"_s);
    QCOMPARE(get("/web/about").status, 404);
    m_box->clearFaults();
    QCOMPARE(get("/web/about").status, 200);
}

void TestBoxSimFaults::prefixPathCoversSubpaths()
{
    m_box->setPathFault(u"/web/epg*"_s, {FaultKind::Http500});
    QCOMPARE(get("/web/epgnow?bRef=x").status, 500);
    QCOMPARE(get("/web/epgservice?sRef=x").status, 500);
    QCOMPARE(get("/web/about").status, 200);
}

void TestBoxSimFaults::latencyCombinesWithAnotherKind()
{
    m_box->setPathFault(u"/web/about"_s, {.kind = FaultKind::Http500, .latencyMs = 120});
    const Fetched fetched = get("/web/about");
    QCOMPARE(fetched.status, 500);
    QVERIFY(fetched.elapsedMs >= 120);
}

void TestBoxSimFaults::faultFromTheCommandLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("latency");
    QTest::addColumn<int>("jitter");
    QTest::addColumn<int>("times");
    QTest::newRow("latency with jitter everywhere")
        << u"latency:200:50"_s << true << QString() << int(FaultKind::None) << 200 << 50 << -1;
    QTest::newRow("500 once on a path")
        << u"/web/epgnow=500,times:1"_s << true << u"/web/epgnow"_s << int(FaultKind::Http500) << 0 << 0 << 1;
    QTest::newRow("trickle with latency") << u"/data=trickle:16:100,latency:30"_s << true << u"/data"_s
                                          << int(FaultKind::Trickle) << 30 << 0 << -1;
    QTest::newRow("every kind has a name")
        << u"badauth"_s << true << QString() << int(FaultKind::WrongCredentials) << 0 << 0 << -1;
    QTest::newRow("refuse") << u"refuse"_s << true << QString() << int(FaultKind::Refuse) << 0 << 0 << -1;
    QTest::newRow("unknown kind") << u"explode"_s << false << QString() << 0 << 0 << 0 << 0;
    QTest::newRow("two kinds") << u"hang,500"_s << false << QString() << 0 << 0 << 0 << 0;
    QTest::newRow("latency without milliseconds") << u"latency"_s << false << QString() << 0 << 0 << 0 << 0;
    QTest::newRow("negative latency") << u"latency:-5"_s << false << QString() << 0 << 0 << 0 << 0;
    QTest::newRow("path without fault") << u"/web/about"_s << false << QString() << 0 << 0 << 0 << 0;
    QTest::newRow("zero times") << u"500,times:0"_s << false << QString() << 0 << 0 << 0 << 0;
}

void TestBoxSimFaults::faultFromTheCommandLine()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, path);
    QFETCH(int, kind);
    QFETCH(int, latency);
    QFETCH(int, jitter);
    QFETCH(int, times);
    QString error;
    const std::optional<boxsim::ParsedFault> parsed = boxsim::parseFault(text, &error);
    QCOMPARE(parsed.has_value(), valid);
    if (!valid) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QCOMPARE(parsed->path, path);
    QCOMPARE(int(parsed->fault.kind), kind);
    QCOMPARE(parsed->fault.latencyMs, latency);
    QCOMPARE(parsed->fault.jitterMs, jitter);
    QCOMPARE(parsed->fault.times, times);
}

QTEST_GUILESS_MAIN(TestBoxSimFaults)
#include "tst_boxsim_faults.moc"
