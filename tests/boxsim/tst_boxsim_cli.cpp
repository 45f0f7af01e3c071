// The program tavrel-boxsim on its own: documented options, a free port that it prints, both web
// interfaces, options that reach the receiver, and clear errors for bad ones.

#include "tests/boxsim/boxsimtest.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using boxsimtest::Client;
using boxsimtest::Fetched;
using boxsimtest::XmlTree;

namespace {

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

class TestBoxSimCli : public QObject
{
    Q_OBJECT

private slots:
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

QTEST_GUILESS_MAIN(TestBoxSimCli)
#include "tst_boxsim_cli.moc"
