// Waking a receiver in deep standby: the MAC address learnt on the first connection, the
// Wake-on-LAN packet on a UDP socket on 127.0.0.1, and the controller connecting again as the
// receiver comes up, or saying that it did not.

#include "control/wakeupcall.h"
#include "tests/control/controlfixture.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

namespace {

const QString receiverMac = u"00:1d:ec:0a:1b:2c"_s; // what the simulated receiver reports

QByteArray magicPacketFor(const QString& mac)
{
    const QByteArray bytes = QByteArray::fromHex(mac.toLatin1().replace(':', ""));
    return QByteArray(6, char(0xFF)) + bytes.repeated(16);
}

// The profile's wake-up address points at a socket on 127.0.0.1 instead of the LAN.
void sendWakeUpCallsTo(const QUdpSocket& listener)
{
    Settings store;
    Profile profile = store.getActiveProfile();
    profile.wakeAddress = u"127.0.0.1:"_s + QString::number(listener.localPort());
    store.saveProfile(profile);
}

} // namespace

class TestControlWake : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wakesTheReceiverAndConnectsAgain_data()
    {
        QTest::addColumn<int>("refusedAttempts");
        QTest::addColumn<bool>("comesUp");

        QTest::newRow("up at the first attempt") << 0 << true;
        QTest::newRow("up after three refused attempts") << 3 << true;
        QTest::newRow("never comes up") << WakeUpCall::maxAttempts << false;
    }

    void wakesTheReceiverAndConnectsAgain()
    {
        QFETCH(int, refusedAttempts);
        QFETCH(bool, comesUp);
        ControlFixture f(boxsim::Personality::Enigma2);
        QVERIFY(Settings().getActiveProfile().lanMac.isEmpty());
        QVERIFY(f.load());
        QCOMPARE(Settings().getActiveProfile().lanMac, receiverMac);

        // Next day: the receiver sleeps in deep standby and the program starts afresh.
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress::LocalHost, 0));
        sendWakeUpCallsTo(listener);
        f.control = std::make_unique<TavrelControl>(f.receiver.clock, f.timers);
        f.receiver.box.setFault({boxsim::FaultKind::Refuse});
        QSignalSpy failures(f.control.get(), &TavrelControl::networkErrorOccurred);

        f.control->wakeUpReceiver();
        QTRY_VERIFY(listener.hasPendingDatagrams());
        QCOMPARE(listener.receiveDatagram().data(), magicPacketFor(receiverMac));

        const auto nextAttempt = [&f](int attempt) {
            f.timers.advance(attempt == 1 ? WakeUpCall::firstAttemptDelayMs : WakeUpCall::retryDelayMs);
        };
        for (int attempt = 1; attempt <= refusedAttempts; ++attempt) {
            const qsizetype before = failures.size();
            nextAttempt(attempt);
            QTRY_VERIFY2(failures.size() > before, qPrintable(u"attempt %1"_s.arg(attempt)));
        }
        if (comesUp) {
            f.receiver.box.clearFault();
            nextAttempt(refusedAttempts + 1);
            QTRY_VERIFY(f.control->isInitialized());
            QVERIFY(!f.targetsTo(u"/web/about"_s).isEmpty());
            QCOMPARE(f.boxes.askedTexts(), QStringList());
        } else {
            QTRY_COMPARE(f.boxes.askedTexts().size(), 1);
            QVERIFY(f.boxes.askedTexts().constFirst().startsWith(u"The receiver did not answer"_s));
            // It has given up: no further attempts. (With live mode on, the program's own
            // reconnection tries would go on; they are not the wake-up call's.)
            SystemSet notLive;
            notLive.isLiveMode = false;
            f.control->setNewSystemSettings(notLive);
            f.receiver.box.clearFault();
            f.timers.advance(10 * WakeUpCall::retryDelayMs);
            QTest::qWait(100);
            QVERIFY(f.targets().isEmpty());
        }
        QVERIFY(!listener.hasPendingDatagrams()); // one packet per call
    }

    void asleepButAnsweringGetsItsOwnCommandToo()
    {
        ControlFixture f(boxsim::Personality::Enigma2);
        QVERIFY(f.load());
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress::LocalHost, 0));
        sendWakeUpCallsTo(listener);

        f.control->wakeUpReceiver();
        QTRY_VERIFY(listener.hasPendingDatagrams());
        QTRY_VERIFY(f.targetsTo(u"/web/powerstate"_s).contains(u"/web/powerstate?newstate=4"_s));
    }

    void withoutAMacNothingIsSent()
    {
        ControlFixture f(boxsim::Personality::Enigma2);
        QUdpSocket listener;
        QVERIFY(listener.bind(QHostAddress::LocalHost, 0));
        sendWakeUpCallsTo(listener);

        f.control->wakeUpReceiver();
        QCOMPARE(f.boxes.askedTexts().size(), 1);
        QVERIFY(f.boxes.askedTexts().constFirst().contains(u"MAC address"_s));
        f.timers.advance(WakeUpCall::firstAttemptDelayMs);
        QTest::qWait(100);
        QVERIFY(!listener.hasPendingDatagrams());
        QVERIFY(f.targets().isEmpty());
    }
};

QTEST_MAIN(TestControlWake)
#include "tst_controlwake.moc"
