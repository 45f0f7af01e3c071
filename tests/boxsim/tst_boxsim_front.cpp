// The receiver's HTTP front: Basic authentication, the request log with the bytes as they came,
// power actions that make the receiver unreachable for a while, and a clean end with answers
// still pending.

#include "tests/boxsim/receivertest.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using boxsimtest::Client;
using boxsimtest::Fetched;
using boxsimtest::XmlTree;

class TestBoxSimFront : public boxsimtest::ReceiverTest
{
    Q_OBJECT

public:
    TestBoxSimFront()
        : ReceiverTest(boxsim::Personality::Enigma2)
    {}

private slots:
    void authentication_data();
    void authentication();
    void logKeepsTheBytesAsReceived();
    void pipelinedRequestsAreLoggedInOrder();
    void manyRequestsOnKeptAliveConnections();
    void signalsPerRequest();
    void powerActionMakesTheReceiverUnreachable_data();
    void powerActionMakesTheReceiverUnreachable();
    void unreachableOnRequest();
    void endsCleanlyWithAnswersPending();
    void listenFailsOnAPortInUse();
};

void TestBoxSimFront::authentication_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("right user and password") << u"root"_s << u"g&h:eim"_s << true;
    QTest::newRow("wrong password") << u"root"_s << u"falsch"_s << false;
    QTest::newRow("wrong user") << u"admin"_s << u"g&h:eim"_s << false;
    QTest::newRow("no credentials") << QString() << QString() << false;
}

void TestBoxSimFront::authentication()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, allowed);
    m_box->setCredentials(u"root"_s, u"g&h:eim"_s);
    m_client->setCredentials(user, password);
    const Fetched fetched = get("/web/about");
    QCOMPARE(m_client->challenges() > 0, true);
    const QList<boxsim::LoggedRequest> requests = m_box->requests();
    // The first attempt carries no credentials and is challenged.
    QVERIFY(!requests.first().authorized);
    QCOMPARE(requests.first().status, 401);
    if (allowed) {
        QCOMPARE(fetched.status, 200);
        QVERIFY(requests.last().authorized);
        QCOMPARE(requests.last().user, u"root"_s);
        QCOMPARE(m_box->requestTargets(), QList<QByteArray>{"/web/about"});
    } else {
        QCOMPARE(fetched.error, QNetworkReply::AuthenticationRequiredError);
        QCOMPARE(fetched.status, 401);
        QCOMPARE(fetched.authenticate, "Basic realm=\"Enigma2 WebInterface\""_ba);
        QVERIFY(m_box->requestTargets().isEmpty());
        QVERIFY(requests.last().user.isEmpty());
    }
    m_box->clearCredentials();
    Client anonymous;
    QCOMPARE(anonymous.get(m_box->baseUrl(), "/web/about").status, 200);
}

void TestBoxSimFront::logKeepsTheBytesAsReceived()
{
    // Lower-case escapes, '+', an escaped letter: all as sent, decoded once in the items.
    const QByteArray target = "/web/zap?sRef=1:0:19:2B66:3F3:1:C00000:0:0:0:&x=a+b%2fc%41&flag";
    const QByteArray answer = boxsimtest::rawGet(m_box->port(), target);
    QVERIFY(answer.startsWith("HTTP/1.1 200"));
    const boxsim::LoggedRequest request = m_box->requests().last();
    QCOMPARE(request.method, "GET"_ba);
    QCOMPARE(request.rawPath, "/web/zap"_ba);
    QCOMPARE(request.rawQuery, "sRef=1:0:19:2B66:3F3:1:C00000:0:0:0:&x=a+b%2fc%41&flag"_ba);
    QCOMPARE(request.target(), target);
    QCOMPARE(request.queryItems.size(), 3);
    QCOMPARE(request.queryValue(u"x"_s), u"a b/cA"_s);
    QCOMPARE(request.queryItems.at(2), qMakePair(u"flag"_s, QString()));
    QCOMPARE(request.clockTime, 1710443862);
    QVERIFY(request.received.isValid());
    QCOMPARE(m_box->currentServiceReference(), u"1:0:19:2B66:3F3:1:C00000:0:0:0:"_s);
}

void TestBoxSimFront::pipelinedRequestsAreLoggedInOrder()
{
    QTcpSocket socket;
    socket.connectToHost(u"127.0.0.1"_s, m_box->port());
    QVERIFY(socket.waitForConnected(5000));
    socket.write("GET /web/vol?set=set%313 HTTP/1.1\r\nHost: x\r\n\r\n"
                 "GET /web/about?a=%7e HTTP/1.1\r\nHost: x\r\n\r\n"
                 "GET /web/powerstate HTTP/1.1\r\nHost: x\r\n\r\n");
    QTRY_COMPARE(m_box->requests().size(), 3);
    QCOMPARE(m_box->requestTargets(),
             QList<QByteArray>({"/web/vol?set=set%313", "/web/about?a=%7e", "/web/powerstate"}));
    QCOMPARE(m_box->volume(), 13);
    // The next request on the same connection arrives in two pieces.
    socket.write("GET /web/signal?q=%c3%a4 HT");
    QTest::qWait(50);
    socket.write("TP/1.1\r\nHost: x\r\n\r\n");
    QTRY_COMPARE(m_box->requests().size(), 4);
    QCOMPARE(m_box->requests().last().target(), "/web/signal?q=%c3%a4"_ba);
    QCOMPARE(m_box->requests().last().queryValue(u"q"_s), u"ä"_s);
}

void TestBoxSimFront::manyRequestsOnKeptAliveConnections()
{
    QList<QByteArray> sent;
    for (int i = 0; i < 30; ++i) {
        sent.append("/web/vol?set=set" + QByteArray::number(i));
        QCOMPARE(get(sent.last()).status, 200);
    }
    QCOMPARE(m_box->requestTargets(), sent);
    QCOMPARE(m_box->volume(), 29);
}

void TestBoxSimFront::signalsPerRequest()
{
    QSignalSpy received(m_box.get(), &boxsim::BoxSim::requestReceived);
    QSignalSpy answered(m_box.get(), &boxsim::BoxSim::requestAnswered);
    get("/web/about");
    get("/web/nothing");
    QCOMPARE(received.count(), 2);
    QCOMPARE(answered.count(), 2);
    const auto first = received.at(0).at(0).value<boxsim::LoggedRequest>();
    const auto second = received.at(1).at(0).value<boxsim::LoggedRequest>();
    QCOMPARE(first.target(), "/web/about"_ba);
    QCOMPARE(second.target(), "/web/nothing"_ba);
    QCOMPARE(answered.at(0).at(0).toULongLong(), first.sequence);
    QCOMPARE(answered.at(1).at(1).toInt(), 404);
}

void TestBoxSimFront::powerActionMakesTheReceiverUnreachable_data()
{
    QTest::addColumn<int>("newState");
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("standbyAfter");
    QTest::newRow("deep standby") << 1 << int(boxsim::PowerAction::DeepStandby) << true;
    QTest::newRow("reboot") << 2 << int(boxsim::PowerAction::Reboot) << false;
    QTest::newRow("restart of the GUI") << 3 << int(boxsim::PowerAction::RestartGui) << false;
}

void TestBoxSimFront::powerActionMakesTheReceiverUnreachable()
{
    QFETCH(int, newState);
    QFETCH(int, action);
    QFETCH(bool, standbyAfter);
    m_box->setDowntime(boxsim::PowerAction(action), 400);
    QSignalSpy reachable(m_box.get(), &boxsim::BoxSim::reachableChanged);
    // The command itself is answered.
    const Fetched command = get("/web/powerstate?newstate=" + QByteArray::number(newState));
    QCOMPARE(command.status, 200);
    QVERIFY(XmlTree::parse(command.body).ok);
    QTRY_VERIFY(!m_box->isReachable());
    QCOMPARE(get("/web/powerstate").error, QNetworkReply::ConnectionRefusedError);
    QTRY_VERIFY_WITH_TIMEOUT(m_box->isReachable(), 3000);
    QCOMPARE(reachable.count(), 2);
    const Fetched after = get("/web/powerstate");
    QCOMPARE(after.status, 200);
    QCOMPARE(XmlTree::parse(after.body).value(u"e2powerstate/e2instandby"_s),
             standbyAfter ? u"true"_s : u"false"_s);
}

void TestBoxSimFront::unreachableOnRequest()
{
    m_box->makeUnreachable(300);
    QTRY_VERIFY(!m_box->isReachable());
    QCOMPARE(get("/web/about").error, QNetworkReply::ConnectionRefusedError);
    QTRY_VERIFY_WITH_TIMEOUT(m_box->isReachable(), 3000);
    QCOMPARE(get("/web/about").status, 200);
}

void TestBoxSimFront::endsCleanlyWithAnswersPending()
{
    m_box->setPathFault(u"/web/epgnow"_s, {boxsim::FaultKind::Hang});
    m_box->setPathFault(u"/web/about"_s,
                        {.kind = boxsim::FaultKind::Trickle, .trickleBytes = 1, .trickleIntervalMs = 50});
    m_box->setPathFault(u"/web/signal"_s, {.latencyMs = 5000});

    QNetworkAccessManager& manager = m_client->manager();
    const QUrl base = m_box->baseUrl();
    std::unique_ptr<QNetworkReply> hanging(
        manager.get(QNetworkRequest(QUrl(base.toString() + u"/web/epgnow"_s))));
    std::unique_ptr<QNetworkReply> trickling(
        manager.get(QNetworkRequest(QUrl(base.toString() + u"/web/about"_s))));
    std::unique_ptr<QNetworkReply> delayed(
        manager.get(QNetworkRequest(QUrl(base.toString() + u"/web/signal"_s))));
    QTRY_COMPARE(m_box->requests().size(), 3);
    QTRY_VERIFY(trickling->bytesAvailable() > 0);

    QSignalSpy hangingDone(hanging.get(), &QNetworkReply::finished);
    QSignalSpy tricklingDone(trickling.get(), &QNetworkReply::finished);
    QSignalSpy delayedDone(delayed.get(), &QNetworkReply::finished);
    m_box.reset();
    QTRY_COMPARE(hangingDone.count(), 1);
    QTRY_COMPARE(tricklingDone.count(), 1);
    QTRY_COMPARE(delayedDone.count(), 1);
    QVERIFY(hanging->error() != QNetworkReply::NoError);
    QVERIFY(trickling->error() != QNetworkReply::NoError);
    QVERIFY(delayed->error() != QNetworkReply::NoError);
}

void TestBoxSimFront::listenFailsOnAPortInUse()
{
    boxsim::BoxSim second(boxsim::Personality::Enigma1);
    QCOMPARE(second.listen(m_box->port()), quint16(0));
    QVERIFY(!second.errorString().isEmpty());
    QVERIFY(!second.isListening());
}

QTEST_GUILESS_MAIN(TestBoxSimFront)
#include "tst_boxsim_front.moc"
