#include "tools/boxsim/boxsim.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The real program against the simulated receiver: it starts, connects when the demonstration
// switch asks it to, fills its channel lists and ends on its own.
class TestProgramSmoke : public QObject
{
    Q_OBJECT

private slots:
    void connectsAndListsTheChannels_data()
    {
        QTest::addColumn<bool>("enigma1");
        QTest::newRow("Enigma2 receiver") << false;
        QTest::newRow("Enigma1 receiver with login") << true;
    }

    void connectsAndListsTheChannels()
    {
        QFETCH(bool, enigma1);
        boxsim::BoxSim box(enigma1 ? boxsim::Personality::Enigma1 : boxsim::Personality::Enigma2);
        const quint16 port = box.listen();
        QVERIFY(port != 0);

        // A settings store of its own, holding one active profile for the receiver.
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("config/Quillory APPDEV"));
        QVERIFY(QDir().mkpath(folder));
        QFile conf(folder + QStringLiteral("/TavrelControl Lite.conf"));
        QVERIFY(conf.open(QIODevice::WriteOnly));
        const QByteArray credentials = enigma1 ? "root" : "";
        conf.write("[profiles]\nSimulated\\profileName=Simulated\nSimulated\\webIfType=" +
                   QByteArray(enigma1 ? "0" : "1") + "\nSimulated\\isActive=true\nSimulated\\userName=" +
                   credentials + "\nSimulated\\password=" + credentials +
                   "\nSimulated\\wlanAddr=127.0.0.1\nSimulated\\wlanPort=" + QByteArray::number(port) + '\n');
        conf.close();

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("TAVREL_DEMO"), QStringLiteral("connect"));
        environment.insert(QStringLiteral("TAVREL_DEMO_QUIT"), QStringLiteral("1"));
        environment.insert(QStringLiteral("LC_NUMERIC"), QStringLiteral("C"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TAVREL_PROGRAM), QStringList());
        QVERIFY(program.waitForStarted());
        // The receiver lives in this process: its event loop must run while the program waits.
        QTRY_VERIFY_WITH_TIMEOUT(program.state() == QProcess::NotRunning, 30000);
        const QByteArray out = program.readAllStandardOutput();
        QVERIFY2(out.contains("channel lists ready"), out.constData());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(!box.requestTargets().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProgramSmoke)
#include "tst_programsmoke.moc"
