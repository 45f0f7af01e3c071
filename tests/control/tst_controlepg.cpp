// Upkeep of the EPG in the image: when a bouquet's EPG is reloaded, when a single channel's EPG
// is asked for, what the lists' changes of bouquet and channel ask the receiver for, and the
// controller's polling on virtual time.

#include "tests/control/controlfixture.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int channelsPerBouquet = 6;

// Gives each channel the events its letter says: 'e' a running and a coming one, 'x' two that
// ended, '-' none.
void arrangeChannels(const QList<Channel*>& channels, qint64 now, const QString& letters)
{
    for (qsizetype c = 0; c < channels.size(); ++c) {
        Channel& channel = *channels.at(c);
        channel.clearEpg();
        const qint64 start = letters.at(c) == u'x' ? now - 7200 : now - 600;
        if (letters.at(c) != u'-') {
            channel.addEpgItem(makeEvent(channel, start, 1800));
            channel.addEpgItem(makeEvent(channel, start + 1800, 1800));
        }
    }
}

// An Enigma1 receiver that plays its first recording, loaded.
bool loadPlayback(ControlFixture& f)
{
    f.receiver.box.playMovie(f.receiver.box.movies().first().reference);
    return f.load() && f.database().statusData()->mode == BoxModeMovie;
}

void invokeModeSwitch(TavrelControl* control, BoxMode mode)
{
    // The switch is the controller's own business; tests reach it the way moc lets them.
    QVERIFY(QMetaObject::invokeMethod(control, "globalStartStopUpdateTimers", Qt::DirectConnection,
                                      Q_ARG(BoxMode, mode)));
}
} // namespace

class TestControlEpg : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void bouquetEpgReload_data()
    {
        QTest::addColumn<bool>("minuteCheck"); // else the check as another bouquet is shown
        QTest::addColumn<QString>("channels"); // the events of each, see arrangeChannels()
        QTest::addColumn<bool>("reloads");

        // The count is the controller's own, whichever receiver asks for the bouquet's EPG.
        QTest::newRow("4 lacking, the last among them, reload") << false << u"ee----"_s << true;
        QTest::newRow("3 lacking, the last among them, do not") << false << u"eee---"_s << false;
        QTest::newRow("5 lacking, not the last, do not") << false << u"-----e"_s << false;
        QTest::newRow("all lacking reload") << false << u"------"_s << true;
        // The minute check reloads the shown bouquet for a single channel without events.
        QTest::newRow("minute check, every channel has its events") << true << u"eeeeee"_s << false;
        QTest::newRow("minute check, one channel lacks events") << true << u"ee-eee"_s << true;
        QTest::newRow("minute check, events that ended are pruned first") << true << u"eexeee"_s << true;
    }

    void bouquetEpgReload()
    {
        QFETCH(bool, minuteCheck);
        QFETCH(QString, channels);
        QFETCH(bool, reloads);
        ControlFixture f(Personality::Enigma2);
        f.receiver.box.useGeneratedLineUp(2, channelsPerBouquet);
        QVERIFY(f.load());
        const int b = minuteCheck ? 0 : 1;
        const QList<Channel*> arranged = f.database().channels(b);
        QCOMPARE(arranged.size(), channelsPerBouquet);
        arrangeChannels(arranged, f.receiver.clock.now(), channels);
        QSignalSpy transmit = f.spy(&TavrelControl::networkTransmitIsActive);
        QSignalSpy epg = f.spy(qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate));

        if (minuteCheck) {
            f.control->updateCheckChannelItems();
            QCOMPARE(firstArguments<TavrelDatabase*>(epg), QList{&f.database()});
        } else {
            f.control->refreshBouquetEpgIfStale(1);
            // Each channel counts once per change of its EPG: asking again at once asks nothing, nor
            // do bouquets that are not there.
            f.control->refreshBouquetEpgIfStale(1);
            f.control->refreshBouquetEpgIfStale(-1);
            f.control->refreshBouquetEpgIfStale(2);
        }
        QVERIFY(f.settle());

        QCOMPARE(f.targetsTo(u"/web/epgmulti"_s).size(), reloads ? 1 : 0);
        if (reloads) {
            QCOMPARE(f.queryValueOf("/web/epgmulti", u"bRef"_s), f.database().bouquet(b)->reference);
            QVERIFY(transmit.contains(QVariantList{true}));
        }
        // The minute check brings progress up to now on the way.
        if (minuteCheck)
            QCOMPARE(arranged.first()->epgList().first()->progress, 33);
    }

    void selectedChannelAsksForItsEpg_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<int>("events");
        QTest::addColumn<bool>("asks");

        QTest::newRow("Enigma2, two events: asks") << Personality::Enigma2 << 2 << true;
        QTest::newRow("Enigma2, no events: asks") << Personality::Enigma2 << 0 << true;
        QTest::newRow("Enigma1 asks for nothing on a selection") << Personality::Enigma1 << 2 << false;
    }

    void selectedChannelAsksForItsEpg()
    {
        QFETCH(Personality, personality);
        QFETCH(int, events);
        QFETCH(bool, asks);
        ControlFixture f(personality);
        QVERIFY(f.load());
        Channel* channel = f.database().channel(0, 1);
        arrangeChannels({channel}, f.receiver.clock.now(), events > 0 ? u"e"_s : u"-"_s);
        QCOMPARE(channel->epgList().size(), events);
        QSignalSpy selected = f.spy(&TavrelControl::broadcastChannelIndex);

        f.control->guiChannelIndex_ChangedSlot(1);
        QVERIFY(f.settle());

        QCOMPARE(firstArguments(selected), QList<int>{1});
        QCOMPARE(f.targetsTo(u"/web/epgservice"_s).size(), asks ? 1 : 0);
        if (asks)
            QCOMPARE(f.queryValueOf("/web/epgservice", u"sRef"_s), channel->serviceReference);
        // A channel that is not there asks for nothing.
        f.receiver.box.clearRequests();
        f.control->guiChannelIndex_ChangedSlot(-1);
        f.control->guiChannelIndex_ChangedSlot(500);
        QVERIFY(f.settle());
        QVERIFY(f.targets().isEmpty());
    }

    void bouquetChangeAsksForItsEpg_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<int>("bouquet");
        QTest::addColumn<QString>("path");

        QTest::newRow("Enigma2: the bouquet's current events")
            << Personality::Enigma2 << 1 << u"/web/epgnow"_s;
        QTest::newRow("Enigma1: the bouquet lacks everything")
            << Personality::Enigma1 << 1 << u"/getMultiEPG"_s;
        QTest::newRow("Enigma2: no such bouquet") << Personality::Enigma2 << 7 << QString();
        QTest::newRow("Enigma1: negative bouquet") << Personality::Enigma1 << -1 << QString();
    }

    void bouquetChangeAsksForItsEpg()
    {
        QFETCH(Personality, personality);
        QFETCH(int, bouquet);
        QFETCH(QString, path);
        ControlFixture f(personality);
        f.receiver.box.useGeneratedLineUp(2, channelsPerBouquet);
        QVERIFY(f.load());
        QSignalSpy epgPage = f.spy(&TavrelControl::setEpgWidgetBouquetIndex);
        QSignalSpy lists = f.spy(qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate));

        f.control->guiBouquetIndex_ChangedSlot(bouquet);
        QVERIFY(f.settle());

        QCOMPARE(firstArguments(epgPage), QList<int>{bouquet});
        QVERIFY(!lists.isEmpty());
        if (path.isEmpty()) {
            QVERIFY(f.targets().isEmpty());
            return;
        }
        QCOMPARE(f.targetsTo(path).size(), 1);
        QCOMPARE(f.queryValueOf(path.toLatin1(), f.isEnigma1() ? u"ref"_s : u"bRef"_s),
                 f.database().bouquet(bouquet)->reference);
    }

    void reloadEpgAction_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QStringList>("paths");

        QTest::newRow("Enigma2: current events and the channel's EPG")
            << Personality::Enigma2 << QStringList{u"/web/epgnow"_s, u"/web/epgservice"_s};
        QTest::newRow("Enigma1: the bouquet's EPG") << Personality::Enigma1 << QStringList{u"/getMultiEPG"_s};
    }

    void reloadEpgAction()
    {
        QFETCH(Personality, personality);
        QFETCH(QStringList, paths);
        ControlFixture f(personality);
        QVERIFY(f.load());
        QVERIFY(f.database().hasEpg(0, 0));
        // The receiver stops answering, so the emptied lists stay visible to the test.
        f.receiver.box.setFault({boxsim::FaultKind::Hang});
        QSignalSpy lists = f.spy(qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate));

        f.control->reloadEpgActionSlot();

        QCOMPARE(lists.size(), 1);
        const QList<Channel*> channels = f.database().channels(0);
        for (const Channel* channel : channels)
            QVERIFY(!channel->hasEpg());
        for (const QString& path : std::as_const(paths))
            QTRY_COMPARE(f.targetsTo(path).size(), 1);
        f.receiver.box.clearFaults();
    }

    void endedEventsNeverHoldNowNext_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<bool>("wholeBouquet");

        // The service EPG answer starts a day ago, the multi-EPG rows an hour ago.
        QTest::newRow("Enigma2: a channel's whole-day EPG") << Personality::Enigma2 << false;
        QTest::newRow("Enigma1: the bouquet's multi-EPG rows") << Personality::Enigma1 << true;
    }

    void endedEventsNeverHoldNowNext()
    {
        QFETCH(Personality, personality);
        QFETCH(bool, wholeBouquet);
        ControlFixture f(personality);
        QVERIFY(f.load());
        const qint64 now = f.receiver.clock.now();

        if (wholeBouquet) {
            f.control->reloadEpgActionSlot();
        } else {
            f.database().channel(0, 1)->clearEpg();
            f.control->guiChannelIndex_ChangedSlot(1);
        }
        QVERIFY(f.settle());

        const QList<Channel*> channels = f.database().channels(0);
        int checked = 0;
        for (int c = 0; c < channels.size(); ++c) {
            if (!wholeBouquet && c != 1)
                continue;
            const QList<EpgItem*> events = channels.at(c)->epgList();
            // Some services of the receiver carry no EPG at all.
            if (wholeBouquet && events.isEmpty())
                continue;
            QVERIFY2(events.size() == 2, qPrintable(channels.at(c)->name));
            QVERIFY(qint64(events.at(0)->start) <= now && now < qint64(events.at(0)->end));
            QVERIFY(qint64(events.at(1)->start) >= qint64(events.at(0)->end));
            ++checked;
        }
        // Most channels have their running and coming event.
        QVERIFY(checked > 0 && (!wholeBouquet || checked * 2 > channels.size()));
    }

    // The controller's polling on virtual time: the EPG check half a second after each full minute,
    // the one-second status refresh during playback with its check of the play position, and how
    // the receiver's mode, the live mode and the visibility of the panel switch them.

    void initTestCase() { registerRecordMetaTypes(); }

    void epgRefreshIsAlignedToTheMinute_data()
    {
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("firstTickMs");

        QTest::newRow("at second 0: 60.5 s") << 0 << 60500;
        QTest::newRow("at second 30: 30.5 s") << 30 << 30500;
        QTest::newRow("at second 59: 1.5 s") << 59 << 1500;
    }

    void epgRefreshIsAlignedToTheMinute()
    {
        QFETCH(int, second);
        QFETCH(int, firstTickMs);
        ControlFixture f(Personality::Enigma2);
        f.receiver.clock.set(SimulatedReceiver::startTime + second);
        QVERIFY(f.load());
        QSignalSpy checks = f.spy(qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate));

        QVERIFY(f.epgAlign());
        QCOMPARE(f.epgAlign()->interval(), firstTickMs);
        f.timers.advance(firstTickMs - 1);
        QVERIFY(!f.epgRefresh());
        f.timers.advance(1);
        QVERIFY(!f.epgAlign());
        QVERIFY(f.epgRefresh());
        QCOMPARE(f.epgRefresh()->interval(), 60000);
        QCOMPARE(f.epgRefresh()->mode(), ControlTimer::Mode::Repeating);

        // From then on the channels are checked every minute.
        QVERIFY(checks.isEmpty());
        f.timers.advance(60000);
        QCOMPARE(checks.size(), 1);
        f.timers.advance(120000);
        QCOMPARE(checks.size(), 3);
    }

    void standbyStopsEverythingAndCancelsTheAlignedShot()
    {
        ControlFixture f(Personality::Enigma2);
        QVERIFY(f.load());
        QVERIFY(f.epgAlign());
        QSignalSpy busy = f.spy(&TavrelControl::loadLabelStop);
        QSignalSpy power = f.spy(&TavrelControl::panelPowerstateUpdateE2);

        f.receiver.box.setStandby(true);
        f.control->requestStatus();
        QVERIFY(f.settle());

        QVERIFY(!power.isEmpty());
        QCOMPARE(power.last().first().toBool(), true);
        QVERIFY(!busy.isEmpty());
        QVERIFY(!f.epgAlign());
        QVERIFY(!f.panelRefresh());
        // The shot that was pending when the box went to standby does not bring the refresh back.
        f.timers.advance(180000);
        QVERIFY(!f.epgRefresh());

        // Waking up starts it again, aligned anew.
        f.receiver.box.setStandby(false);
        f.control->requestStatus();
        QVERIFY(f.settle());
        QVERIFY(f.epgAlign());
        QCOMPARE(power.last().first().toBool(), false);
    }

    void liveModeOffStopsTheEpgRefreshOnTheNextTvStatus()
    {
        ControlFixture f(Personality::Enigma1);
        QVERIFY(f.load());
        f.timers.advance(61000);
        QVERIFY(f.epgRefresh());

        f.setSettings(false);
        // Still running: only the next evaluation of the mode switches it.
        QVERIFY(f.epgRefresh());
        f.control->panelTimerAllowed(true);
        f.control->requestData();
        QVERIFY(f.settle());

        QVERIFY(!f.epgRefresh());
        QVERIFY(!f.epgAlign());
    }

    void playbackRefreshFollowsThePosition_data()
    {
        QTest::addColumn<bool>("moving");
        QTest::newRow("frozen position stops at the tenth evaluation") << false;
        QTest::newRow("moving position keeps it running") << true;
    }

    void playbackRefreshFollowsThePosition()
    {
        QFETCH(bool, moving);
        ControlFixture f(Personality::Enigma1);
        // In playback every evaluation of the mode shows the movie panel and takes a position sample.
        QSignalSpy evaluations = f.spy(&TavrelControl::panelMovieModeUpdate);
        QVERIFY(loadPlayback(f));
        QVERIFY(f.panelRefresh());
        QCOMPARE(f.panelRefresh()->interval(), 1000);
        const qsizetype atLoad = evaluations.size();
        QVERIFY(atLoad >= 1);

        int ticks = 0;
        while (f.panelRefresh() && ticks < 25) {
            if (moving)
                f.receiver.box.advanceTime(5);
            f.timers.advance(1000); // one tick of the one-second refresh
            QVERIFY(f.settle());
            ++ticks;
        }

        // Every tick asked for the status, which brings the data page and an evaluation.
        QCOMPARE(f.targets().count(QStringLiteral("/cgi-bin/status")), ticks);
        QCOMPARE(f.targets().count(QStringLiteral("/data")), ticks);
        QCOMPARE(evaluations.size(), atLoad + ticks);
        if (moving) {
            QCOMPARE(ticks, 25);
            QVERIFY(f.panelRefresh());
            return;
        }
        // Only a tenth evaluation compares; the one that found the position as nine before stopped it.
        QVERIFY(!f.panelRefresh());
        QCOMPARE(evaluations.size() % 10, 0);
        QVERIFY(ticks >= 10 - atLoad);
        // The next evaluation, after play was pressed, starts it again.
        f.control->sendPlayerCommand(2);
        QVERIFY(f.settle());
        QVERIFY(f.panelRefresh());
    }

    void playbackRefreshSwitchedOff_data()
    {
        QTest::addColumn<bool>("playback");
        QTest::addColumn<bool>("liveModeOff"); // else the TV tab is left, or the display goes dark
        QTest::newRow("panel hidden in playback") << true << false;
        QTest::newRow("panel hidden watching TV") << false << false;
        QTest::newRow("live mode off in playback") << true << true;
    }

    void playbackRefreshSwitchedOff()
    {
        QFETCH(bool, playback);
        QFETCH(bool, liveModeOff);
        ControlFixture f(Personality::Enigma1);
        QVERIFY(playback ? loadPlayback(f) : f.load());
        QCOMPARE(f.panelRefresh() != nullptr, playback);

        if (liveModeOff)
            f.setSettings(false);
        else
            f.control->panelTimerAllowed(false);
        QVERIFY(!f.panelRefresh());
        f.timers.advance(5000);
        QVERIFY(f.settle());
        QVERIFY(f.targets().isEmpty());
        // The evaluations start nothing either.
        f.control->requestData();
        QVERIFY(f.settle());
        QVERIFY(!f.panelRefresh());

        if (liveModeOff)
            f.setSettings(true);
        else
            f.control->panelTimerAllowed(true);
        QCOMPARE(f.panelRefresh() != nullptr, playback);
    }

    void otherModeLeavesTimersAlone()
    {
        ControlFixture f(Personality::Enigma1);
        QVERIFY(loadPlayback(f));
        const ControlTimer* panel = f.panelRefresh();
        const ControlTimer* align = f.epgAlign();
        QVERIFY(panel);
        QVERIFY(align);

        invokeModeSwitch(f.control.get(), BoxModeOther);
        QCOMPARE(f.panelRefresh(), panel);
        QCOMPARE(f.epgAlign(), align);

        invokeModeSwitch(f.control.get(), BoxModeStandby);
        QVERIFY(!f.panelRefresh());
        QVERIFY(!f.epgAlign());
    }

    void timersOutliveAReset()
    {
        ControlFixture f(Personality::Enigma1);
        QVERIFY(loadPlayback(f));
        QVERIFY(f.panelRefresh());
        Settings().deleteProfile(QStringLiteral("Simulated"));
        f.control->loadServiceData();
        QVERIFY(!f.control->currentEngine());
        QSignalSpy transmit = f.spy(&TavrelControl::networkTransmitIsActive);

        // The refresh keeps ticking, finds no engine and asks for nothing.
        QVERIFY(f.panelRefresh());
        f.timers.advance(3000);
        QVERIFY(f.settle());
        QCOMPARE(transmit.size(), 3);
        QVERIFY(f.targets().isEmpty());
        // The minute check finds an empty image.
        f.timers.advance(120000);
        QVERIFY(f.settle());
        QVERIFY(f.targets().isEmpty());
    }
};

QTEST_MAIN(TestControlEpg)
#include "tst_controlepg.moc"
