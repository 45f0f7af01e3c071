// The simulated receiver's front over real HTTP: authentication, a request log that keeps the
// bytes as received, the faults that tests inject, power actions that take it away for a while,
// replay of recorded answers, answers fast enough never to limit a benchmark, and the program
// tavrel-boxsim on its own: documented options, a free port that it prints, both web interfaces,
// options that reach the receiver, and clear errors for bad ones.

#include "tests/boxsim/receivertest.h"
#include "tests/common/testdata.h"
#include "tools/boxsim/faultparser.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;
using boxsim::Fault;
using boxsim::FaultKind;
using boxsimtest::Client;
using boxsimtest::Fetched;
using boxsimtest::Now;
using boxsimtest::XmlTree;

Q_DECLARE_METATYPE(boxsim::Fault)

namespace {

// A parsed fault as one comparable line: path|kind|latency|jitter|times.
QString faultLine(const QString& path, FaultKind kind, int latencyMs, int jitterMs, int times)
{
    return QStringList({path, QString::number(int(kind)), QString::number(latencyMs),
                        QString::number(jitterMs), QString::number(times)})
        .join(u'|');
}

QString replayDirectory(const QString& personality)
{
    return QStringLiteral(TAVREL_TEST_DATA_DIR "/boxsim/replay/") + personality;
}

#ifdef BOXSIM_SANITIZED
constexpr qint64 SpeedLimitMs = 2000; // unoptimised and instrumented: only gross slowness counts
#else
constexpr qint64 SpeedLimitMs = 200;
#endif

const QString Program = QStringLiteral(BOXSIM_PROGRAM);

// Starts the program and waits for the line that names its port.
quint16 start(QProcess& process, const QStringList& arguments)
{
    process.start(Program, arguments);
    if (!process.waitForStarted(5000))
        return 0;
    static const QRegularExpression portLine(u"^port (\\d+)$"_s, QRegularExpression::MultilineOption);
    QByteArray output;
    QSignalSpy ready(&process, &QProcess::readyReadStandardOutput);
    for (int i = 0; i < 50; ++i) {
        output += process.readAllStandardOutput();
        const QRegularExpressionMatch match = portLine.match(QString::fromUtf8(output));
        if (match.hasMatch())
            return quint16(match.captured(1).toUInt());
        ready.wait(100);
    }
    return 0;
}

void stop(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
}

} // namespace

class TestBoxSimWire : public boxsimtest::ReceiverTest
{
    Q_OBJECT

public:
    TestBoxSimWire()
        : ReceiverTest(boxsim::Personality::Enigma2)
    {}

private slots:
    void authentication_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("right user and password") << u"root"_s << u"g&h:eim"_s << true;
        QTest::newRow("wrong password") << u"root"_s << u"falsch"_s << false;
        QTest::newRow("wrong user") << u"admin"_s << u"g&h:eim"_s << false;
        QTest::newRow("no credentials") << QString() << QString() << false;
    }

    void authentication()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, allowed);
        m_box->setCredentials(u"root"_s, u"g&h:eim"_s);
        m_client->setCredentials(user, password);
        const Fetched fetched = get("/web/about");
        QVERIFY(m_client->challenges() > 0);
        const QList<boxsim::LoggedRequest> requests = m_box->requests();
        // The first attempt carries no credentials and is challenged.
        QVERIFY(!requests.first().authorized);
        QCOMPARE(requests.first().status, 401);
        QCOMPARE(fetched.status, allowed ? 200 : 401);
        QCOMPARE(requests.last().user, allowed ? u"root"_s : QString());
        // Only what was let in counts as a request to the receiver.
        QCOMPARE(m_box->requestTargets(), allowed ? QList<QByteArray>{"/web/about"} : QList<QByteArray>{});
        if (!allowed)
            QCOMPARE(fetched.authenticate, "Basic realm=\"Enigma2 WebInterface\""_ba);
        m_box->clearCredentials();
        QCOMPARE(Client().get(m_box->baseUrl(), "/web/about").status, 200);
    }

    void logKeepsTheBytesAsReceived()
    {
        // Lower-case escapes, '+', an escaped letter: all as sent, decoded once in the items.
        const QByteArray target = "/web/zap?sRef=1:0:19:2B66:3F3:1:C00000:0:0:0:&x=a+b%2fc%41&flag";
        QVERIFY(boxsimtest::rawGet(m_box->port(), target).startsWith("HTTP/1.1 200"));
        const boxsim::LoggedRequest request = m_box->requests().last();
        QCOMPARE(request.method + ' ' + request.rawPath + ' ' + request.target(), "GET /web/zap " + target);
        QCOMPARE(request.queryValue(u"x"_s), u"a b/cA"_s);
        QCOMPARE(request.queryItems.size(), 3);
        QCOMPARE(request.queryItems.at(2), qMakePair(u"flag"_s, QString()));
        QCOMPARE(request.clockTime, Now);
        QVERIFY(request.received.isValid());
        QCOMPARE(m_box->currentServiceReference(), u"1:0:19:2B66:3F3:1:C00000:0:0:0:"_s);
    }

    void pipelinedRequestsAreLoggedInOrder()
    {
        QSignalSpy answered(m_box.get(), &boxsim::BoxSim::requestAnswered);
        QTcpSocket socket;
        socket.connectToHost(u"127.0.0.1"_s, m_box->port());
        QVERIFY(socket.waitForConnected(5000));
        socket.write("GET /web/vol?set=set%313 HTTP/1.1\r\nHost: x\r\n\r\n"
                     "GET /web/about?a=%7e HTTP/1.1\r\nHost: x\r\n\r\n"
                     "GET /web/nothing HTTP/1.1\r\nHost: x\r\n\r\n");
        QTRY_COMPARE(m_box->requests().size(), 3);
        QCOMPARE(m_box->requestTargets(),
                 QList<QByteArray>({"/web/vol?set=set%313", "/web/about?a=%7e", "/web/nothing"}));
        QCOMPARE(m_box->volume(), 13);
        QTRY_COMPARE(answered.count(), 3);
        QCOMPARE(answered.at(2).at(1).toInt(), 404);
        // The next request on the same connection arrives in two pieces.
        socket.write("GET /web/signal?q=%c3%a4 HT");
        QTest::qWait(50);
        socket.write("TP/1.1\r\nHost: x\r\n\r\n");
        QTRY_COMPARE(m_box->requests().size(), 4);
        QCOMPARE(m_box->requests().last().target(), "/web/signal?q=%c3%a4"_ba);
        QCOMPARE(m_box->requests().last().queryValue(u"q"_s), u"ä"_s);
    }

    void faultsShowOnTheWire_data()
    {
        QTest::addColumn<QString>("path"); // empty: a fault for every path
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("status"); // as logged; 0 while never answered
        QTest::addColumn<int>("atLeastMs");

        const int none = QNetworkReply::NoError;
        QTest::newRow("latency with jitter") << u"/web/about"_s << Fault{.latencyMs = 100, .jitterMs = 100}
                                             << "/web/about"_ba << none << 200 << 100;
        QTest::newRow("latency everywhere")
            << QString() << Fault{.latencyMs = 150} << "/web/powerstate"_ba << none << 200 << 150;
        QTest::newRow("not found") << u"/web/getcurrent"_s << Fault{FaultKind::Http404}
                                   << "/web/getcurrent"_ba << int(QNetworkReply::ContentNotFoundError) << 404
                                   << 0;
        QTest::newRow("a prefix covers its paths")
            << u"/web/epg*"_s << Fault{FaultKind::Http500} << "/web/epgservice?sRef=x"_ba
            << int(QNetworkReply::InternalServerError) << 500 << 0;
        QTest::newRow("wrong credentials even when right")
            << u"/web/about"_s << Fault{FaultKind::WrongCredentials} << "/web/about"_ba
            << int(QNetworkReply::AuthenticationRequiredError) << 401 << 0;
    }

    void faultsShowOnTheWire()
    {
        QFETCH(QString, path);
        QFETCH(Fault, fault);
        QFETCH(QByteArray, target);
        QFETCH(int, error);
        QFETCH(int, status);
        QFETCH(int, atLeastMs);
        const QByteArray whole = get(target).body;
        if (fault.kind == FaultKind::WrongCredentials) {
            m_box->setCredentials(u"root"_s, u"geheim"_s);
            m_client->setCredentials(u"root"_s, u"geheim"_s);
        }
        if (path.isEmpty())
            m_box->setFault(fault);
        else
            m_box->setPathFault(path, fault);

        const Fetched fetched = get(target);
        QCOMPARE(int(fetched.error), error);
        QCOMPARE(m_box->requests().last().status, status);
        QVERIFY2(fetched.elapsedMs >= atLeastMs, qPrintable(QString::number(fetched.elapsedMs)));
        if (fault.kind == FaultKind::None)
            QCOMPARE(fetched.body.size(), whole.size());
        else if (status >= 404)
            QVERIFY(fetched.contentType.startsWith("text/html"));
        // Other paths answer as ever.
        const Fetched other = get("/web/currenttime");
        QCOMPARE(other.status, 200);
        if (path.isEmpty())
            QVERIFY(other.elapsedMs >= atLeastMs);
    }

    void faultsHitWhereAsked()
    {
        // A path's fault wins over the global one, and each is cleared on its own.
        m_box->setFault({FaultKind::Http404});
        m_box->setPathFault(u"/web/about"_s, {FaultKind::Http500});
        QCOMPARE(get("/web/about").status, 500);
        QCOMPARE(get("/web/powerstate").status, 404);
        m_box->clearPathFault(u"/web/about"_s);
        QCOMPARE(get("/web/about").status, 404);
        m_box->clearFaults();
        QCOMPARE(get("/web/about").status, 200);

        // Refusing everything stops listening until cleared.
        QSignalSpy reachable(m_box.get(), &boxsim::BoxSim::reachableChanged);
        m_box->setFault({FaultKind::Refuse});
        QVERIFY(!m_box->isReachable());
        QCOMPARE(get("/web/about").error, QNetworkReply::ConnectionRefusedError);
        m_box->clearFault();
        QCOMPARE(get("/web/about").status, 200);
        QCOMPARE(reachable.count(), 2);
    }

    void faultFromTheCommandLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("parsed"); // a faultLine; empty: refused

        QTest::newRow("latency with jitter everywhere")
            << u"latency:200:50"_s << faultLine({}, FaultKind::None, 200, 50, -1);
        QTest::newRow("500 once on a path")
            << u"/web/epgnow=500,times:1"_s << faultLine(u"/web/epgnow"_s, FaultKind::Http500, 0, 0, 1);
        QTest::newRow("trickle with latency")
            << u"/data=trickle:16:100,latency:30"_s << faultLine(u"/data"_s, FaultKind::Trickle, 30, 0, -1);
        QTest::newRow("wrong credentials")
            << u"badauth"_s << faultLine({}, FaultKind::WrongCredentials, 0, 0, -1);
        QTest::newRow("refuse") << u"refuse"_s << faultLine({}, FaultKind::Refuse, 0, 0, -1);
        QTest::newRow("unknown kind") << u"explode"_s << QString();
        QTest::newRow("two kinds") << u"hang,500"_s << QString();
        QTest::newRow("latency without milliseconds") << u"latency"_s << QString();
        QTest::newRow("negative latency") << u"latency:-5"_s << QString();
        QTest::newRow("path without fault") << u"/web/about"_s << QString();
        QTest::newRow("zero times") << u"500,times:0"_s << QString();
    }

    void faultFromTheCommandLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, parsed);
        QString error;
        const std::optional<boxsim::ParsedFault> fault = boxsim::parseFault(text, &error);
        QCOMPARE(fault.has_value(), !parsed.isEmpty());
        QCOMPARE(error.isEmpty(), fault.has_value());
        if (fault)
            QCOMPARE(faultLine(fault->path, fault->fault.kind, fault->fault.latencyMs, fault->fault.jitterMs,
                               fault->fault.times),
                     parsed);
    }

    void powerActionMakesTheReceiverUnreachable_data()
    {
        QTest::addColumn<int>("newState"); // 0: taken away on request, no command
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("standbyAfter");
        QTest::newRow("deep standby") << 1 << int(boxsim::PowerAction::DeepStandby) << true;
        QTest::newRow("reboot") << 2 << int(boxsim::PowerAction::Reboot) << false;
        QTest::newRow("restart of the GUI") << 3 << int(boxsim::PowerAction::RestartGui) << false;
        QTest::newRow("on request") << 0 << 0 << false;
    }

    void powerActionMakesTheReceiverUnreachable()
    {
        QFETCH(int, newState);
        QFETCH(int, action);
        QFETCH(bool, standbyAfter);
        QSignalSpy reachable(m_box.get(), &boxsim::BoxSim::reachableChanged);
        if (newState == 0) {
            m_box->makeUnreachable(300);
        } else {
            m_box->setDowntime(boxsim::PowerAction(action), 400);
            // The command itself is answered.
            const Fetched command = get("/web/powerstate?newstate=" + QByteArray::number(newState));
            QCOMPARE(command.status, 200);
            QVERIFY(XmlTree::parse(command.body).ok);
        }
        QTRY_VERIFY(!m_box->isReachable());
        QCOMPARE(get("/web/powerstate").error, QNetworkReply::ConnectionRefusedError);
        QTRY_VERIFY_WITH_TIMEOUT(m_box->isReachable(), 3000);
        QCOMPARE(reachable.count(), 2);
        const Fetched after = get("/web/powerstate");
        QCOMPARE(after.status, 200);
        QCOMPARE(XmlTree::parse(after.body).value(u"e2powerstate/e2instandby"_s),
                 standbyAfter ? u"true"_s : u"false"_s);
    }

    void endsCleanlyWithAnswersPending()
    {
        m_box->setPathFault(u"/web/epgnow"_s, {FaultKind::Hang});
        m_box->setPathFault(u"/web/about"_s,
                            {.kind = FaultKind::Trickle, .trickleBytes = 1, .trickleIntervalMs = 50});
        m_box->setPathFault(u"/web/signal"_s, {.latencyMs = 5000});

        std::vector<std::unique_ptr<QNetworkReply>> replies;
        for (const QString& path : {u"/web/epgnow"_s, u"/web/about"_s, u"/web/signal"_s})
            replies.emplace_back(
                m_client->manager().get(QNetworkRequest(QUrl(m_box->baseUrl().toString() + path))));
        QTRY_COMPARE(m_box->requests().size(), 3);
        QTRY_VERIFY(replies.at(1)->bytesAvailable() > 0);
        m_box.reset();
        for (const auto& reply : replies) {
            QTRY_VERIFY(reply->isFinished());
            QVERIFY(reply->error() != QNetworkReply::NoError);
        }
    }

    void listenFailsOnAPortInUse()
    {
        boxsim::BoxSim second(boxsim::Personality::Enigma1);
        QCOMPARE(second.listen(m_box->port()), quint16(0));
        QVERIFY(!second.errorString().isEmpty());
        QVERIFY(!second.isListening());
    }

    void streamPortServesTheLineUp()
    {
        const quint16 port = m_box->listenForStreams();
        QVERIFY(port != 0);
        // References with '&', '#', '%', '+', spaces and non-ASCII arrive whole, decoded once; what
        // is not in the line-up is not found.
        const QStringList odd{u"4097:0:1:0:0:0:0:0:0:0:http%3a//host/live?a=1&b=2#x:Name"_s,
                              u"1:0:1:0:0:0:0:0:0:0:/media/hdd/Ein Film + Zwei Ärzte.ts"_s};
        for (const QString& reference : odd)
            QVERIFY(boxsimtest::rawGet(port, '/' + QUrl::toPercentEncoding(reference, ":/"))
                        .startsWith("HTTP/1.0 404"));
        QCOMPARE(m_box->streamRequests(), odd);

        // A channel of the line-up streams transport-stream packets.
        QTcpSocket socket;
        socket.connectToHost(u"127.0.0.1"_s, port);
        QVERIFY(socket.waitForConnected(5000));
        socket.write("GET /" +
                     QUrl::toPercentEncoding(m_box->bouquets().first().services.first().reference, ":/") +
                     " HTTP/1.1\r\nHost: x\r\n\r\n");
        QByteArray answer;
        QObject::connect(&socket, &QIODevice::readyRead, &socket, [&] { answer += socket.readAll(); });
        const auto packetsAfterHead = [&] {
            const qsizetype headEnd = answer.indexOf("\r\n\r\n");
            return headEnd < 0 ? 0 : (answer.size() - headEnd - 4) / 188;
        };
        QTRY_VERIFY_WITH_TIMEOUT(packetsAfterHead() >= 3, 3000);
        QVERIFY(answer.startsWith("HTTP/1.0 200"));
        const QByteArray packets = answer.mid(answer.indexOf("\r\n\r\n") + 4);
        for (int packet = 0; packet < 3; ++packet)
            QCOMPARE(packets.at(packet * 188), char(0x47));
    }

    void replayAnswersFromFiles_data()
    {
        QTest::addColumn<QString>("personality");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QString>("file"); // empty: 404
        QTest::addColumn<QByteArray>("contentType");
        QTest::newRow("Enigma2 path with query")
            << u"e2"_s << "/web/epgnow?bRef=1:7:1:0:0:0:0:0:0:0:x"_ba << u"web/epgnow.xml"_s << "text/xml"_ba;
        QTest::newRow("Enigma2 file with another extension")
            << u"e2"_s << "/web/vol?set"_ba << u"web/vol.txt"_s << "text/plain"_ba;
        QTest::newRow("Enigma2 file missing") << u"e2"_s << "/web/timerlist"_ba << QString() << QByteArray();
        QTest::newRow("Enigma1 status page")
            << u"e1"_s << "/cgi-bin/status"_ba << u"cgi-bin/status.html"_s << "text/html"_ba;
        QTest::newRow("Enigma1 service listing")
            << u"e1"_s << "/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true"_ba
            << u"cgi-bin/getServices.txt"_s << "text/plain"_ba;
        QTest::newRow("Enigma1 timer list")
            << u"e1"_s << "/xml/timers"_ba << u"xml/timers.xml"_s << "text/xml"_ba;
        QTest::newRow("Enigma1 file missing") << u"e1"_s << "/body?mode=help"_ba << QString() << QByteArray();
    }

    void replayAnswersFromFiles()
    {
        QFETCH(QString, personality);
        QFETCH(QByteArray, target);
        QFETCH(QString, file);
        QFETCH(QByteArray, contentType);
        boxsim::BoxSim box(personality == u"e2" ? boxsim::Personality::Enigma2
                                                : boxsim::Personality::Enigma1);
        QVERIFY(box.setReplayDirectory(replayDirectory(personality)));
        QVERIFY(box.listen() != 0);
        Client client;
        client.setCredentials(u"root"_s, u"root"_s);
        const Fetched fetched = client.get(box.baseUrl(), target);
        QCOMPARE(box.requestTargets().last(), target);
        QCOMPARE(fetched.status, file.isEmpty() ? 404 : 200);
        if (file.isEmpty())
            return;
        QCOMPARE(fetched.body,
                 testDataBytes(u"boxsim/replay/"_s + personality + u'/' + file).value_or("missing"));
        QVERIFY2(fetched.contentType.startsWith(contentType), fetched.contentType.constData());
    }

    void replayNeverLeavesTheDirectory()
    {
        QVERIFY(m_box->setReplayDirectory(replayDirectory(u"e2"_s)));
        QVERIFY(QFile::exists(QStringLiteral(TAVREL_TEST_DATA_DIR "/boxsim/outside.txt")));
        for (const QByteArray& target : {"/../../outside"_ba, "/%2e%2e/%2e%2e/outside"_ba,
                                         "/web/%2e%2e/%2e%2e/%2e%2e/outside"_ba, "/"_ba}) {
            QVERIFY2(boxsimtest::rawGet(m_box->port(), target).startsWith("HTTP/1.1 404"),
                     target.constData());
            QCOMPARE(m_box->requests().last().target(), target);
        }
    }

    void replayKeepsTheFrontAndTheState()
    {
        QVERIFY(!m_box->setReplayDirectory(u"/nonexistent/boxsim/replay"_s));
        QVERIFY(m_box->replayDirectory().isEmpty());
        const QString before = m_box->currentServiceReference();
        QVERIFY(m_box->setReplayDirectory(replayDirectory(u"e2"_s)));
        // A replayed command leaves the living receiver as it was.
        QCOMPARE(get("/web/zap?sRef=1:0:1:1:1:1:1:0:0:0:").status, 200);
        QCOMPARE(m_box->currentServiceReference(), before);
        // Authentication and faults still apply.
        m_box->setPathFault(u"/web/zap"_s, {FaultKind::Http500});
        QCOMPARE(get("/web/zap?sRef=x").status, 500);
        m_box->setCredentials(u"root"_s, u"geheim"_s);
        QCOMPARE(get("/web/zap?sRef=x").status, 401);
        m_box->clearCredentials();
        QCOMPARE(get("/web/timerlist").status, 404);
        QVERIFY(m_box->setReplayDirectory(QString()));
        QCOMPARE(get("/web/timerlist").status, 200);
    }

    void bigAnswersAreFast_data()
    {
        QTest::addColumn<int>("bouquets");
        QTest::addColumn<int>("services");
        QTest::addColumn<QString>("path"); // with the bouquet's reference when it ends in '='
        QTest::addColumn<QString>("element");
        QTest::addColumn<int>("count");
        QTest::newRow("all services of 20 x 1000")
            << 20 << 1000 << u"/web/getallservices"_s
            << u"e2servicelistrecursive/e2bouquet/e2servicelist/e2service"_s << 20000;
        QTest::newRow("now events of 2000 services")
            << 10 << 2000 << u"/web/epgnow?bRef="_s << u"e2eventlist/e2event"_s << 2000;
        QTest::newRow("next events of 2000 services")
            << 10 << 2000 << u"/web/epgnext?bRef="_s << u"e2eventlist/e2event"_s << 2000;
    }

    // The simulated receiver must never be what limits the application's benchmarks: measured over
    // HTTP from request to the last byte, the worst of five runs.
    void bigAnswersAreFast()
    {
        QFETCH(int, bouquets);
        QFETCH(int, services);
        QFETCH(QString, path);
        QFETCH(QString, element);
        QFETCH(int, count);
        m_box->useGeneratedLineUp(bouquets, services);
        QByteArray target = path.toLatin1();
        if (target.endsWith('='))
            target += QUrl::toPercentEncoding(m_box->bouquets().at(3).reference);
        QList<qint64> times;
        QByteArray body;
        for (int run = 0; run < 5; ++run) {
            const Fetched fetched = get(target);
            QCOMPARE(fetched.status, 200);
            times.append(fetched.elapsedMs);
            body = fetched.body;
        }
        std::sort(times.begin(), times.end());
        qInfo("%s, %lld bytes: median %lld ms, worst %lld ms", target.left(40).constData(),
              qint64(body.size()), times.at(2), times.last());
        QCOMPARE(XmlTree::parse(body).count(element), count);
        QVERIFY2(times.last() < SpeedLimitMs, qPrintable(QString::number(times.last())));
    }

    void runsStandalone_data()
    {
        QTest::addColumn<QString>("webif");
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("Enigma2") << u"e2"_s << "/web/about"_ba
                                 << "<e2abouts>"_ba;
        QTest::newRow("Enigma1") << u"e1"_s << "/data"_ba
                                 << "var updateCycleTime"_ba;
    }

    void runsStandalone()
    {
        QFETCH(QString, webif);
        QFETCH(QByteArray, target);
        QFETCH(QByteArray, expected);
        QProcess process;
        const quint16 port = start(process, {u"--webif"_s, webif, u"--port"_s, u"0"_s, u"--log"_s});
        QVERIFY(port != 0);
        Client client;
        const Fetched fetched = client.get(QUrl(u"http://127.0.0.1:%1"_s.arg(port)), target);
        QCOMPARE(fetched.status, 200);
        QVERIFY(fetched.body.contains(expected));
        // --log prints the request as received.
        const QByteArray logged = " GET " + target;
        QByteArray log;
        for (int i = 0; i < 50 && !log.contains(logged); ++i) {
            process.waitForReadyRead(100);
            log += process.readAllStandardOutput();
        }
        QVERIFY2(log.contains(logged), log.constData());
        stop(process);
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

    void optionsReachTheReceiver()
    {
        QProcess process;
        const quint16 port =
            start(process, {u"--webif"_s, u"e2"_s, u"--lineup"_s, u"2x5"_s, u"--seed"_s, u"3"_s, u"--time"_s,
                            u"1710443862"_s, u"--user"_s, u"root"_s, u"--password"_s, u"geheim"_s,
                            u"--fault"_s, u"/web/signal=500"_s, u"--message-answer"_s, u"no"_s});
        QVERIFY(port != 0);
        const QUrl base(u"http://127.0.0.1:%1"_s.arg(port));
        Client anonymous;
        QCOMPARE(anonymous.get(base, "/web/about").status, 401);
        Client client;
        client.setCredentials(u"root"_s, u"geheim"_s);
        const XmlTree services = XmlTree::parse(client.get(base, "/web/getallservices").body);
        QCOMPARE(services.count(u"e2servicelistrecursive/e2bouquet/e2servicelist/e2service"_s), 10);
        QCOMPARE(client.get(base, "/web/signal").status, 500);
        const XmlTree epg =
            XmlTree::parse(client
                               .get(base, "/web/epgnow?bRef=" +
                                              QUrl::toPercentEncoding(services.value(
                                                  u"e2servicelistrecursive/e2bouquet/e2servicereference"_s)))
                               .body);
        QCOMPARE(epg.value(u"e2eventlist/e2event/e2eventcurrenttime"_s), u"1710443862"_s);
        client.get(base, "/web/message?text=Ja?&type=0&timeout=5");
        QCOMPARE(XmlTree::parse(client.get(base, "/web/messageanswer?getanswer=True").body)
                     .value(u"e2simplexmlresult/e2statetext"_s),
                 u"Answer is NO!"_s);
        stop(process);
    }

    void commandLineIsCheckedAndDocumented_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown web interface") << QStringList{u"--webif"_s, u"e3"_s} << u"--webif"_s;
        QTest::newRow("port out of range") << QStringList{u"--port"_s, u"70000"_s} << u"--port"_s;
        QTest::newRow("line-up not BxS") << QStringList{u"--lineup"_s, u"2y3"_s} << u"--lineup"_s;
        QTest::newRow("unknown fault") << QStringList{u"--fault"_s, u"explode"_s} << u"unknown fault"_s;
        QTest::newRow("missing replay directory")
            << QStringList{u"--replay"_s, u"/nonexistent/replay"_s} << u"does not exist"_s;
        QTest::newRow("password without user") << QStringList{u"--password"_s, u"x"_s} << u"--user"_s;
        QTest::newRow("time not a number") << QStringList{u"--time"_s, u"gestern"_s} << u"--time"_s;
        // Help is no error, and it names every option.
        QTest::newRow("help")
            << QStringList{u"--help"_s}
            << u"--webif --port --address --user --password --time --seed --lineup --replay "
               "--fault --downtime --message-answer --log --help"_s;
    }

    void commandLineIsCheckedAndDocumented()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QProcess process;
        process.start(Program, arguments);
        QVERIFY(process.waitForFinished(5000));
        if (arguments.first() == u"--help") {
            QCOMPARE(process.exitCode(), 0);
            const QString help = QString::fromUtf8(process.readAllStandardOutput());
            for (const QString& option : message.split(u' '))
                QVERIFY2(help.contains(option), qPrintable(option));
            return;
        }
        QCOMPARE(process.exitCode(), 2);
        const QString error = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(error.startsWith(u"tavrel-boxsim: "_s) && error.contains(message), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TestBoxSimWire)
#include "tst_boxsim_wire.moc"
