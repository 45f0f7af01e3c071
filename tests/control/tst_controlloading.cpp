// Loading the receiver through the controller and what goes wrong on the way.
//
// Loading: start-up sequences of both web interfaces up to the first complete answer, the list
// positions it broadcasts, the bouquet EPG it asks for, resets and profile changes, and reloads
// while the previous engine still has answers coming.
//
// Faults: a receiver that stops answering gets one connection-error question at a time however
// many requests time out, what "Yes" and "No" do, errors that ask nothing, a reload that happens
// while a time-out is being reported, and waking a receiver that sleeps in deep standby.
//
// The controller's own parts that need no receiver: the one way the application asks the user,
// how tests answer it without ever being blocked, and the timers the controller runs on.

#include "box/requestse1.h"
#include "box/requestse2.h"
#include "control/messagebox.h"
#include "control/wakeupcall.h"
#include "tests/control/controlfixture.h"

#include <QApplication>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>
#include <QWidget>

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

class TestControlLoading : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void noActiveProfile_data()
    {
        QTest::addColumn<bool>("throughPanel");
        QTest::addColumn<QStringList>("asked");
        const QString notice = u"No Active Profile found! [Warning OK rich]"_s;
        QTest::newRow("load asked for directly") << false << QStringList{notice};
        QTest::newRow("tap on the panel, then yes")
            << true
            << QStringList{u"Retrieve new service data from the box? [Question Yes/No rich]"_s, notice};
    }

    void noActiveProfile()
    {
        QFETCH(bool, throughPanel);
        QFETCH(QStringList, asked);
        ControlFixture f(Personality::Enigma2);
        Settings().deleteProfile(u"Simulated"_s);

        if (throughPanel) {
            f.boxes.answerNext(MessageBoxAnswerer::Answer::Accept);
            f.control->panelWidget_ClickedEvent();
        } else {
            f.control->loadServiceData();
        }

        QCOMPARE(f.askedBoxes(), asked);
        QCOMPARE(f.boxes.asked().last().parent, f.control.get());
        QVERIFY(f.boxes.asked().last().modal);
        QVERIFY(!f.control->currentEngine());
        QVERIFY(f.settle());
        QVERIFY(f.receiver.box.requests().isEmpty());
    }

    void enigma2StartUp_data()
    {
        QTest::addColumn<QString>("currentService");
        QTest::addColumn<bool>("inLineUp");
        QTest::addColumn<bool>("readOffThread"); // every big-answer reading off the GUI thread

        // National Geographic HD stands second in the second bouquet.
        const QString nationalGeographic = u"1:0:19:6F12:431:1:C00000:0:0:0:"_s;
        QTest::newRow("service in the second bouquet") << nationalGeographic << true << false;
        QTest::newRow("service in no bouquet") << u"1:0:19:DEAD:431:1:C00000:0:0:0:"_s << false << false;
        QTest::newRow("answers read off the GUI thread") << nationalGeographic << true << true;
    }

    void enigma2StartUp()
    {
        QFETCH(QString, currentService);
        QFETCH(bool, inLineUp);
        QFETCH(bool, readOffThread);
        ControlFixture f(Personality::Enigma2);
        f.receiver.box.setCurrentService(currentService);
        SignalLog log(f.control.get());
        QSignalSpy bouquetIndex = f.spy(&TavrelControl::broadcastBouquetIndex);
        QSignalSpy channelIndex = f.spy(&TavrelControl::broadcastChannelIndex);
        QSignalSpy services = f.spy(&TavrelControl::ServiceDataUpdate);

        f.control->loadServiceData();
        QVERIFY(qobject_cast<RequestsE2*>(f.control->currentEngine()));
        if (readOffThread)
            f.control->currentEngine()->setBackgroundReadBytes(0);
        QTRY_VERIFY(f.control->isInitialized());
        QVERIFY(f.settle());
        QVERIFY(f.imageLivesInThisThread());

        const QStringList targets = f.targets();
        QCOMPARE(targets.first(), u"/web/getallservices"_s);
        QCOMPARE(targets.count(u"/web/about"_s), 1);
        QCOMPARE(f.targetsTo(u"/web/epgnow"_s).size(), 1);
        QCOMPARE(f.targetsTo(u"/web/epgservice"_s).size(), 1);
        QCOMPARE(f.targetsTo(u"/web/epgnext"_s).size(), 1);
        // The EPG is asked for only once the receiver's service is known to the lists.
        const qsizetype about = targets.indexOf(u"/web/about"_s);
        QVERIFY(targets.indexOf(f.targetsTo(u"/web/epgnow"_s).first()) > about);
        QVERIFY(targets.indexOf(f.targetsTo(u"/web/epgservice"_s).first()) > about);

        const std::optional<std::pair<int, int>> position = f.database().findService(currentService);
        QCOMPARE(position.has_value(), inLineUp);
        const int b = inLineUp ? position->first : 0;
        const int c = inLineUp ? position->second : 0;
        if (inLineUp)
            QCOMPARE(*position, std::make_pair(1, 1));
        QCOMPARE(firstArguments(bouquetIndex), QList<int>{b});
        QCOMPARE(firstArguments(channelIndex), QList<int>{c});
        // The box bouquet's now and next events and the box channel's own EPG.
        QCOMPARE(f.queryValueOf("/web/epgnow", u"bRef"_s), f.database().bouquet(b)->reference);
        QCOMPARE(f.queryValueOf("/web/epgservice", u"sRef"_s), f.database().channel(b, c)->serviceReference);
        QVERIFY(f.database().hasEpg(b, c));

        QCOMPARE(firstArguments<TavrelDatabase*>(services), QList{&f.database()});
        const QStringList order{u"resetServiceDataLists"_s, u"panelClearAllData"_s,
                                u"ServiceDataUpdate"_s,     u"broadcastInitializedSignal"_s,
                                u"broadcastBouquetIndex"_s, u"broadcastChannelIndex"_s,
                                u"aboutInfoReceived"_s};
        QCOMPARE(log.only(order), order);
        QVERIFY(log.names.contains(u"EpgDataUpdate()"_s));
        QVERIFY(log.names.contains(u"panelChannelUpdateE2"_s));
        // Live mode is on by default: the minute-aligned EPG refresh is on its way.
        QVERIFY(f.control->findChild<ControlTimer*>(u"epgAlignTimer"_s));
        QVERIFY(f.boxes.asked().isEmpty());
    }

    void enigma1StartUp_data()
    {
        QTest::addColumn<int>("bouquet");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QString>("slowPath");
        QTest::addColumn<QList<int>>("bouquetBroadcasts");
        QTest::addColumn<QList<int>>("channelBroadcasts");
        QTest::addColumn<bool>("bouquetEpgAsked");
        QTest::addColumn<bool>("readOffThread"); // every big-answer reading off the GUI thread

        const QString services = u"/cgi-bin/getServices"_s;
        // The lists ask for the EPG of any other bouquet when they show it.
        QTest::newRow("service in the first bouquet")
            << 0 << 1 << services << QList<int>{0} << QList<int>{1} << true << false;
        QTest::newRow("service in a later bouquet")
            << 1 << 0 << services << QList<int>{1} << QList<int>{0} << false << false;
        QTest::newRow("answers read off the GUI thread")
            << 0 << 1 << services << QList<int>{0} << QList<int>{1} << true << true;
        // The status needs a login; the bouquets can come first. The lists then learn the service
        // from the status.
        QTest::newRow("bouquets before the status")
            << 1 << 0 << u"/cgi-bin/status"_s << QList<int>{0, 1} << QList<int>{0, 0} << true << false;
    }

    void enigma1StartUp()
    {
        QFETCH(int, bouquet);
        QFETCH(int, channel);
        QFETCH(QString, slowPath);
        QFETCH(QList<int>, bouquetBroadcasts);
        QFETCH(QList<int>, channelBroadcasts);
        QFETCH(bool, bouquetEpgAsked);
        QFETCH(bool, readOffThread);
        ControlFixture f(Personality::Enigma1);
        const QString currentService = f.receiver.box.bouquets().at(bouquet).services.at(channel).reference;
        f.receiver.box.setCurrentService(currentService);
        f.receiver.box.setPathFault(slowPath, {.latencyMs = 300});
        SignalLog log(f.control.get());
        QSignalSpy bouquetIndex = f.spy(&TavrelControl::broadcastBouquetIndex);
        QSignalSpy channelIndex = f.spy(&TavrelControl::broadcastChannelIndex);
        QSignalSpy modes = f.spy(&TavrelControl::panelBoxModeUpdate);

        f.control->loadServiceData();
        QVERIFY(qobject_cast<RequestsE1*>(f.control->currentEngine()));
        if (readOffThread)
            f.control->currentEngine()->setBackgroundReadBytes(0);
        QTRY_VERIFY(f.control->isInitialized());
        QVERIFY(f.settle());
        // Only the bouquet EPG brings events along.
        QVERIFY(!bouquetEpgAsked || f.imageLivesInThisThread());

        QCOMPARE(f.receiver.box.requests().first().rawPath, QByteArray("/cgi-bin/status"));
        const QStringList targets = f.targets();
        QCOMPARE(targets.count(u"/cgi-bin/status"_s), 1);
        QCOMPARE(targets.count(u"/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true"_s), 1);
        QCOMPARE(targets.count(u"/data"_s), 1);
        QCOMPARE(f.targetsTo(u"/getMultiEPG"_s).size(), bouquetEpgAsked ? 1 : 0);
        if (bouquetEpgAsked)
            QCOMPARE(f.queryValueOf("/getMultiEPG", u"ref"_s), f.database().bouquet(0)->reference);

        QCOMPARE(f.database().findService(currentService), std::make_pair(bouquet, channel));
        QCOMPARE(firstArguments(bouquetIndex), bouquetBroadcasts);
        QCOMPARE(firstArguments(channelIndex), channelBroadcasts);
        // Before its first status the receiver counts as in standby.
        QCOMPARE(modes.last().first().value<BoxMode>(), BoxModeTv);
        QCOMPARE(log.only({u"ServiceDataUpdate"_s, u"broadcastInitializedSignal"_s}),
                 (QStringList{u"ServiceDataUpdate"_s, u"broadcastInitializedSignal"_s}));
        QVERIFY(log.names.indexOf(u"broadcastBouquetIndex"_s) >
                log.names.indexOf(u"broadcastInitializedSignal"_s));
        // The panel learns the service once the lists know where it stands.
        QVERIFY(log.names.lastIndexOf(u"panelTVModeUpdate"_s) > log.names.indexOf(u"ServiceDataUpdate"_s));
        QVERIFY(f.boxes.asked().isEmpty());
    }

    void profileChange_data()
    {
        QTest::addColumn<int>("webIfType");
        QTest::addColumn<bool>("resets");

        QTest::newRow("Enigma1 to Enigma2 resets") << 1 << true;
        QTest::newRow("only the port changes, nothing resets") << 0 << false;
    }

    void profileChange()
    {
        QFETCH(int, webIfType);
        QFETCH(bool, resets);
        ControlFixture f(Personality::Enigma1);
        QVERIFY(f.load());
        TavrelDatabase* loaded = &f.database();
        QSignalSpy reset = f.spy(&TavrelControl::resetServiceDataLists);

        Profile profile = f.control->currentEngine()->profile();
        profile.webIfType = webIfType;
        profile.wlanPort = u"1"_s;
        Q_EMIT f.control->activeProfileChanged(profile);

        QCOMPARE(reset.size(), resets ? 1 : 0);
        QCOMPARE(f.control->isInitialized(), !resets);
        QCOMPARE(f.control->currentEngine() == nullptr, resets);
        QCOMPARE(&f.database() == loaded, !resets);
        if (!resets)
            QCOMPARE(f.control->currentEngine()->urlForRequest(ReqStatus).port(), 1);
        // No load starts by itself.
        QVERIFY(f.settle());
        QVERIFY(f.targets().isEmpty());
    }

    void reloadWhileAnswersAreUnderWay_data()
    {
        QTest::addColumn<QString>("slowPath");
        QTest::addColumn<int>("firstLoadAnswers"); // loads that got as far as their first answers

        QTest::newRow("bouquets under way") << u"/web/getallservices"_s << 0;
        QTest::newRow("bouquet EPG under way") << u"/web/epgnow"_s << 1;
    }

    void reloadWhileAnswersAreUnderWay()
    {
        QFETCH(QString, slowPath);
        QFETCH(int, firstLoadAnswers);
        ControlFixture f(Personality::Enigma2);
        f.receiver.box.setPathFault(slowPath, {.latencyMs = 500, .times = 1});
        QSignalSpy services = f.spy(&TavrelControl::ServiceDataUpdate);
        QSignalSpy initialized = f.spy(&TavrelControl::broadcastInitializedSignal);

        f.control->loadServiceData();
        QTRY_VERIFY(!f.targetsTo(slowPath).isEmpty());
        const QPointer<TavrelRequest> first = f.control->currentEngine();
        f.control->loadServiceData();
        QTRY_VERIFY(f.control->isInitialized());
        QVERIFY(f.settle());
        // The slow answer would have come by now.
        QTest::qWait(700);
        QVERIFY(f.settle());

        QVERIFY(!first);
        QCOMPARE(services.size(), firstLoadAnswers + 1);
        QCOMPARE(services.last().first().value<TavrelDatabase*>(), &f.database());
        QCOMPARE(initialized.size(), firstLoadAnswers + 1);
        QCOMPARE(f.targets().count(u"/web/about"_s), firstLoadAnswers + 1);
        QCOMPARE(f.targetsTo(slowPath).size(), 2);
        // The first engine's slow answer would have asked for the next events.
        QCOMPARE(f.targetsTo(u"/web/epgnext"_s).size(), 1);
        QVERIFY(f.database().serviceDataLoaded());
        QVERIFY(f.database().hasEpg(0, 0));
    }

    // What goes wrong on the way.

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

    // The controller's own parts that need no receiver.

    void answersAreTakenInOrder()
    {
        MessageBoxAnswerer answerer;
        answerer.answerNext(MessageBoxAnswerer::Answer::Accept);
        answerer.answerNext(MessageBoxAnswerer::Answer::Reject);
        QVERIFY(MessageBox::question(nullptr, QMessageBox::Question, u"one"_s));
        QVERIFY(!MessageBox::question(nullptr, QMessageBox::Question, u"two"_s));
        // Beyond the scripted answers: the default, which is "No" unless set.
        QVERIFY(!MessageBox::question(nullptr, QMessageBox::Question, u"three"_s));
        answerer.setDefaultAnswer(MessageBoxAnswerer::Answer::Accept);
        QVERIFY(MessageBox::question(nullptr, QMessageBox::Question, u"four"_s));
        QCOMPARE(answerer.askedTexts(), (QStringList{u"one"_s, u"two"_s, u"three"_s, u"four"_s}));
        QCOMPARE(answerer.mostOpenAtOnce(), 1);
    }

    void heldBoxSeesWhatHappensMeanwhile()
    {
        MessageBoxAnswerer answerer;
        bool delivered = false;
        answerer.holdNextOpen([&] {
            // A box asked while the first is still open stacks on it.
            QTimer::singleShot(0, qApp, [] { MessageBox::notice(nullptr, QMessageBox::Warning, u"two"_s); });
            delivered = QTest::qWaitFor([&] { return answerer.asked().size() == 2; }, 1000);
        });
        MessageBox::notice(nullptr, QMessageBox::Warning, u"one"_s);
        QVERIFY(delivered);
        QCOMPARE(answerer.mostOpenAtOnce(), 2);
    }

    void userAnswersTheRealBox_data()
    {
        QTest::addColumn<bool>("destructive"); // "No" is the default and the escape
        QTest::addColumn<QString>("button");   // clicked, or none: a key is pressed
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("user clicks yes") << false << u"Yes"_s << 0 << true;
        QTest::newRow("user clicks no") << false << u"No"_s << 0 << false;
        QTest::newRow("destructive, user clicks yes") << true << u"Yes"_s << 0 << true;
        QTest::newRow("destructive, Return takes no") << true << QString() << int(Qt::Key_Return) << false;
        QTest::newRow("destructive, Escape takes no") << true << QString() << int(Qt::Key_Escape) << false;
    }

    void userAnswersTheRealBox()
    {
        QFETCH(bool, destructive);
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(bool, accepted);
        QWidget parent;
        // Without an answerer the box runs modally; the "user" answers once it is up.
        QTimer::singleShot(0, qApp, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            if (key != 0) {
                QTest::keyClick(box, Qt::Key(key));
                return;
            }
            const QList<QAbstractButton*> buttons = box->buttons();
            for (QAbstractButton* candidate : buttons) {
                if (candidate->text() == button)
                    QTest::mouseClick(candidate, Qt::LeftButton);
            }
        });
        const QString text = u"Stop current recording?"_s;
        QCOMPARE(destructive ? MessageBox::destructiveQuestion(&parent, QMessageBox::Question, text)
                             : MessageBox::question(&parent, QMessageBox::Question, text),
                 accepted);
    }

    // The timers the controller runs on: virtual time for tests, the event loop's for the user.

    void timersFireInOrderOfTheirDueTime_data()
    {
        QTest::addColumn<int>("firstMs");
        QTest::addColumn<int>("secondMs");
        QTest::addColumn<QString>("order");

        QTest::newRow("earlier first") << 300 << 100 << u"ba"_s;
        QTest::newRow("same time: in order of starting") << 200 << 200 << u"ab"_s;
    }

    void timersFireInOrderOfTheirDueTime()
    {
        QFETCH(int, firstMs);
        QFETCH(int, secondMs);
        QFETCH(QString, order);
        ManualTimerSource source;
        QObject owner;
        QString fired;
        ControlTimer* a = source.createTimer(ControlTimer::Mode::SingleShot, &owner);
        ControlTimer* b = source.createTimer(ControlTimer::Mode::SingleShot, &owner);
        connect(a, &ControlTimer::timeout, &owner, [&] { fired += QLatin1Char('a'); });
        connect(b, &ControlTimer::timeout, &owner, [&] { fired += QLatin1Char('b'); });
        a->start(firstMs);
        b->start(secondMs);

        source.advance(std::min(firstMs, secondMs) - 1);
        QVERIFY(fired.isEmpty());
        source.advance(1000);
        QCOMPARE(fired, order);
        QVERIFY(!a->isActive());
        QCOMPARE(source.elapsed(), qint64(std::min(firstMs, secondMs) - 1 + 1000));
    }

    void timersOutliveTheirSource()
    {
        QObject owner;
        ControlTimer* timer = nullptr;
        {
            ManualTimerSource source;
            timer = source.createTimer(ControlTimer::Mode::Repeating, &owner);
            timer->start(10);
        }
        QVERIFY(!timer->isActive());
        timer->start(10);
        QVERIFY(!timer->isActive());
    }

    void eventLoopTimerFires()
    {
        QObject owner;
        ControlTimer* timer = TimerSource::system().createTimer(ControlTimer::Mode::SingleShot, &owner);
        QSignalSpy timeouts(timer, &ControlTimer::timeout);
        timer->start(20);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 20);
        QVERIFY(timeouts.wait(2000));
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->mode(), ControlTimer::Mode::SingleShot);
    }
};

QTEST_MAIN(TestControlLoading)
#include "tst_controlloading.moc"
