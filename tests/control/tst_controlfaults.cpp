// A receiver that stops answering: one connection-error question at a time however many
// requests time out, what "Yes" and "No" do, errors that ask nothing, a reload that happens
// while a time-out is being reported, and waking a receiver that sleeps in deep standby.

#include "control/wakeupcall.h"
#include "tests/control/controlfixture.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

using boxsim::FaultKind;

namespace {

const QString connectionError = u"Connection error!\nTry again?"_s;
// Time-outs short enough for a test; the receiver's hang is what matters, not the length.
constexpr int shortTimeoutMs = 200;

// Makes the engine give up on requests after a short while.
void shortenTimeouts(ControlFixture& f)
{
    f.control->currentEngine()->setTransferTimeouts(shortTimeoutMs, shortTimeoutMs);
}

const QString receiverMac = u"00:1d:ec:0a:1b:2c"_s; // what the simulated receiver reports

QByteArray magicPacketFor(const QString& mac)
{
    const QByteArray bytes = QByteArray::fromHex(mac.toLatin1().replace(':', ""));
    return QByteArray(6, char(0xFF)) + bytes.repeated(16);
}

// The profile's wake-up address points at a socket on 127.0.0.1 instead of the LAN.
[[nodiscard]] bool listenForWakeUpCalls(QUdpSocket& listener)
{
    if (!listener.bind(QHostAddress::LocalHost, 0))
        return false;
    Settings store;
    Profile profile = store.getActiveProfile();
    profile.wakeAddress = u"127.0.0.1:"_s + QString::number(listener.localPort());
    return store.saveProfile(profile);
}
} // namespace

class TestControlFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void receiverDisappearsWhilePolling()
    {
        ControlFixture f(Personality::Enigma2);
        QVERIFY(f.load());
        shortenTimeouts(f);
        TavrelDatabase* image = &f.database();
        const qsizetype bouquets = image->bouquets().size();
        const QPointer<TavrelRequest> engine = f.control->currentEngine();
        QSignalSpy failures(engine.data(), &TavrelRequest::requestFailed);
        QSignalSpy errors = f.spy(&TavrelControl::networkErrorOccurred);
        QSignalSpy busy = f.spy(&TavrelControl::loadLabelStop);
        f.receiver.box.setFault({FaultKind::Hang});

        // While the question is open the panel goes on polling, and each poll times out too.
        bool polledMeanwhile = true;
        f.boxes.holdNextOpen([&] {
            for (int poll = 0; poll < 3; ++poll) {
                const qsizetype failed = failures.size();
                f.control->requestStatus();
                polledMeanwhile =
                    polledMeanwhile && QTest::qWaitFor([&] { return failures.size() > failed; }, 5000);
                QCoreApplication::processEvents();
            }
            // Everything that was under way has timed out before the user answers.
            polledMeanwhile = polledMeanwhile && QTest::qWaitFor([&] { return engine->isSettled(); }, 5000);
        });
        f.control->requestStatus();
        QTRY_COMPARE(f.boxes.asked().size(), 1);
        QVERIFY(polledMeanwhile);
        QVERIFY(f.settle());

        // The status and what it brings along all timed out.
        QVERIFY(failures.size() >= 4);
        QCOMPARE(f.askedBoxes(), QStringList{connectionError + u" [Warning Yes/No rich]"_s});
        QCOMPARE(f.boxes.mostOpenAtOnce(), 1);
        QVERIFY(!errors.isEmpty());
        QCOMPARE(errors.last().first().toBool(), true);
        QVERIFY(!busy.isEmpty());

        // "No": everything stays as it was.
        QCOMPARE(f.control->currentEngine(), engine.data());
        QCOMPARE(&f.database(), image);
        QCOMPARE(image->bouquets().size(), bouquets);
        QVERIFY(f.control->isInitialized());

        // Once the receiver is back, polling works as before.
        f.receiver.box.clearFaults();
        QSignalSpy power = f.spy(&TavrelControl::panelPowerstateUpdateE2);
        f.control->requestStatus();
        QVERIFY(f.settle());
        QCOMPARE(power.size(), 1);
    }

    void timedOutStatus_data()
    {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("reloadMeanwhile"); // as the panel shows the error
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("reloads");

        QTest::newRow("yes loads everything again")
            << Answer::Accept << false << QStringList{connectionError} << true;
        QTest::newRow("no leaves the state as it is")
            << Answer::Reject << false << QStringList{connectionError} << false;
        // The time-out belonged to the engine that is gone: nobody is asked about it.
        QTest::newRow("reload inside the engine's report") << Answer::Reject << true << QStringList() << true;
    }

    void timedOutStatus()
    {
        QFETCH(Answer, answer);
        QFETCH(bool, reloadMeanwhile);
        QFETCH(QStringList, asked);
        QFETCH(bool, reloads);
        ControlFixture f(Personality::Enigma2);
        QVERIFY(f.load());
        shortenTimeouts(f);
        TavrelDatabase* image = &f.database();
        QSignalSpy services = f.spy(&TavrelControl::ServiceDataUpdate);
        f.receiver.box.setPathFault(u"/web/powerstate"_s, {.kind = FaultKind::Hang, .times = 1});
        f.boxes.answerNext(answer);
        bool reloaded = false;
        connect(f.control.get(), &TavrelControl::networkErrorOccurred, f.control.get(), [&] {
            if (reloadMeanwhile && !reloaded) {
                reloaded = true;
                f.control->loadServiceData();
            }
        });

        f.control->requestStatus();
        QTRY_COMPARE(f.boxes.askedTexts(), asked);
        QTRY_COMPARE(reloaded, reloadMeanwhile);
        QTRY_VERIFY(f.control->isInitialized());
        QVERIFY(f.settle());

        QCOMPARE(f.boxes.askedTexts(), asked);
        QCOMPARE(firstArguments<TavrelDatabase*>(services),
                 reloads ? QList{&f.database()} : QList<TavrelDatabase*>());
        QCOMPARE(&f.database() == image, !reloads);
        QCOMPARE(f.targets().count(u"/web/getallservices"_s), reloads ? 1 : 0);
    }

    void otherErrorsAskNothing_data()
    {
        QTest::addColumn<FaultKind>("fault");
        QTest::addColumn<bool>("whileLoading");

        QTest::newRow("HTTP 500 while polling") << FaultKind::Http500 << false;
        QTest::newRow("connection cut while polling") << FaultKind::CutBody << false;
        QTest::newRow("receiver refuses the load") << FaultKind::Refuse << true;
    }

    void otherErrorsAskNothing()
    {
        QFETCH(FaultKind, fault);
        QFETCH(bool, whileLoading);
        ControlFixture f(Personality::Enigma2);
        if (!whileLoading)
            QVERIFY(f.load());
        QSignalSpy errors = f.spy(&TavrelControl::networkErrorOccurred);
        QSignalSpy busy = f.spy(&TavrelControl::loadLabelStop);
        f.receiver.box.setFault({fault});

        if (whileLoading)
            f.control->loadServiceData();
        else
            f.control->requestStatus();
        QTRY_VERIFY(!errors.isEmpty());
        QVERIFY(f.settle());

        // The panel's error icon and the busy indicator say it; no question is asked.
        QCOMPARE(errors.last().first().toBool(), true);
        QVERIFY(!busy.isEmpty());
        QVERIFY(f.boxes.asked().isEmpty());
        QCOMPARE(f.control->isInitialized(), !whileLoading);
    }

    // Waking a receiver in deep standby: the MAC address learnt on the first connection, the
    // Wake-on-LAN packet on a UDP socket on 127.0.0.1, and the controller connecting again as the
    // receiver comes up, or saying that it did not.

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
        QVERIFY(listenForWakeUpCalls(listener));
        f.control = std::make_unique<TavrelControl>(f.receiver.clock, f.timers);
        f.receiver.box.setFault({boxsim::FaultKind::Refuse});
        QSignalSpy failures = f.spy(&TavrelControl::networkErrorOccurred);

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
            f.setSettings(false);
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
        QVERIFY(listenForWakeUpCalls(listener));

        f.control->wakeUpReceiver();
        QTRY_VERIFY(listener.hasPendingDatagrams());
        QTRY_VERIFY(f.targetsTo(u"/web/powerstate"_s).contains(u"/web/powerstate?newstate=4"_s));
    }

    void withoutAMacNothingIsSent()
    {
        ControlFixture f(boxsim::Personality::Enigma2);
        QUdpSocket listener;
        QVERIFY(listenForWakeUpCalls(listener));

        f.control->wakeUpReceiver();
        QCOMPARE(f.boxes.askedTexts().size(), 1);
        QVERIFY(f.boxes.askedTexts().constFirst().contains(u"MAC address"_s));
        f.timers.advance(WakeUpCall::firstAttemptDelayMs);
        QTest::qWait(100);
        QVERIFY(!listener.hasPendingDatagrams());
        QVERIFY(f.targets().isEmpty());
    }
};

QTEST_MAIN(TestControlFaults)
#include "tst_controlfaults.moc"
