// Loading the receiver through the controller: start-up sequences of both web interfaces up to
// the first complete answer, the list positions it broadcasts, the bouquet EPG it asks for,
// resets and profile changes, and reloads while the previous engine still has answers coming.

#include "box/requestse1.h"
#include "box/requestse2.h"
#include "tests/control/controlfixture.h"

#include <QSignalSpy>
#include <QTest>

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
};

QTEST_MAIN(TestControlLoading)
#include "tst_controlloading.moc"
