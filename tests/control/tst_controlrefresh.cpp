// The controller's polling on virtual time: the EPG check half a second after each full minute,
// the one-second status refresh during playback with its check of the play position, and how
// the receiver's mode, the live mode and the visibility of the panel switch them.

#include "tests/control/controlfixture.h"

#include <QSignalSpy>
#include <QTest>

namespace {

ControlTimer* runningTimer(const ControlFixture& f, const QString& name)
{
    ControlTimer* timer = f.control->findChild<ControlTimer*>(name);
    return timer && timer->isActive() ? timer : nullptr;
}

ControlTimer* epgAlign(const ControlFixture& f)
{
    return runningTimer(f, QStringLiteral("epgAlignTimer"));
}

ControlTimer* epgRefresh(const ControlFixture& f)
{
    return runningTimer(f, QStringLiteral("epgRefreshTimer"));
}

ControlTimer* panelRefresh(const ControlFixture& f)
{
    return runningTimer(f, QStringLiteral("panelOneSecTimer"));
}

SystemSet liveMode(bool on)
{
    SystemSet set;
    set.isLiveMode = on;
    return set;
}

// An Enigma1 receiver that plays its first recording, loaded.
bool loadPlayback(ControlFixture& f)
{
    f.receiver.box.playMovie(f.receiver.box.movies().first().reference);
    return f.load() && f.database().statusData()->mode == BoxModeMovie;
}

// One tick of the one-second refresh and the answers it brings.
bool tick(ControlFixture& f)
{
    f.timers.advance(1000);
    return f.settle();
}

void invokeModeSwitch(TavrelControl* control, BoxMode mode)
{
    // The switch is the controller's own business; tests reach it the way moc lets them.
    QVERIFY(QMetaObject::invokeMethod(control, "globalStartStopUpdateTimers", Qt::DirectConnection,
                                      Q_ARG(BoxMode, mode)));
}

} // namespace

class TestControlRefresh : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        QSignalSpy checks(f.control.get(), qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate));

        QVERIFY(epgAlign(f));
        QCOMPARE(epgAlign(f)->interval(), firstTickMs);
        f.timers.advance(firstTickMs - 1);
        QVERIFY(!epgRefresh(f));
        f.timers.advance(1);
        QVERIFY(!epgAlign(f));
        QVERIFY(epgRefresh(f));
        QCOMPARE(epgRefresh(f)->interval(), 60000);
        QCOMPARE(epgRefresh(f)->mode(), ControlTimer::Mode::Repeating);

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
        QVERIFY(epgAlign(f));
        QSignalSpy busy(f.control.get(), &TavrelControl::loadLabelStop);
        QSignalSpy power(f.control.get(), &TavrelControl::panelPowerstateUpdateE2);

        f.receiver.box.setStandby(true);
        f.control->requestStatus();
        QVERIFY(f.settle());

        QVERIFY(!power.isEmpty());
        QCOMPARE(power.last().first().toBool(), true);
        QVERIFY(!busy.isEmpty());
        QVERIFY(!epgAlign(f));
        QVERIFY(!panelRefresh(f));
        // The shot that was pending when the box went to standby does not bring the refresh back.
        f.timers.advance(180000);
        QVERIFY(!epgRefresh(f));

        // Waking up starts it again, aligned anew.
        f.receiver.box.setStandby(false);
        f.control->requestStatus();
        QVERIFY(f.settle());
        QVERIFY(epgAlign(f));
        QCOMPARE(power.last().first().toBool(), false);
    }

    void liveModeOffStopsTheEpgRefreshOnTheNextTvStatus()
    {
        ControlFixture f(Personality::Enigma1);
        QVERIFY(f.load());
        f.timers.advance(61000);
        QVERIFY(epgRefresh(f));

        f.control->setNewSystemSettings(liveMode(false));
        // Still running: only the next evaluation of the mode switches it.
        QVERIFY(epgRefresh(f));
        f.control->panelTimerAllowed(true);
        f.control->requestData();
        QVERIFY(f.settle());

        QVERIFY(!epgRefresh(f));
        QVERIFY(!epgAlign(f));
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
        QSignalSpy evaluations(f.control.get(), &TavrelControl::panelMovieModeUpdate);
        QVERIFY(loadPlayback(f));
        QVERIFY(panelRefresh(f));
        QCOMPARE(panelRefresh(f)->interval(), 1000);
        const qsizetype atLoad = evaluations.size();
        QVERIFY(atLoad >= 1);

        int ticks = 0;
        while (panelRefresh(f) && ticks < 25) {
            if (moving)
                f.receiver.box.advanceTime(5);
            QVERIFY(tick(f));
            ++ticks;
        }

        // Every tick asked for the status, which brings the data page and an evaluation.
        QCOMPARE(f.targets().count(QStringLiteral("/cgi-bin/status")), ticks);
        QCOMPARE(f.targets().count(QStringLiteral("/data")), ticks);
        QCOMPARE(evaluations.size(), atLoad + ticks);
        if (moving) {
            QCOMPARE(ticks, 25);
            QVERIFY(panelRefresh(f));
            return;
        }
        // Only a tenth evaluation compares; the one that found the position as nine before stopped it.
        QVERIFY(!panelRefresh(f));
        QCOMPARE(evaluations.size() % 10, 0);
        QVERIFY(ticks >= 10 - atLoad);
        // The next evaluation, after play was pressed, starts it again.
        f.control->sendPlayerCommand(2);
        QVERIFY(f.settle());
        QVERIFY(panelRefresh(f));
    }

    void panelVisibility_data()
    {
        QTest::addColumn<bool>("playback");
        QTest::newRow("in playback it follows the panel") << true;
        QTest::newRow("watching TV it stays off") << false;
    }

    void panelVisibility()
    {
        QFETCH(bool, playback);
        ControlFixture f(Personality::Enigma1);
        if (playback)
            QVERIFY(loadPlayback(f));
        else
            QVERIFY(f.load());
        QCOMPARE(panelRefresh(f) != nullptr, playback);

        // The TV tab is left, or the display goes dark.
        f.control->panelTimerAllowed(false);
        QVERIFY(!panelRefresh(f));
        f.timers.advance(5000);
        QVERIFY(f.settle());
        QVERIFY(f.targets().isEmpty());

        f.control->panelTimerAllowed(true);
        QCOMPARE(panelRefresh(f) != nullptr, playback);
    }

    void liveModeSwitchesThePlaybackRefresh()
    {
        ControlFixture f(Personality::Enigma1);
        QVERIFY(loadPlayback(f));
        QVERIFY(panelRefresh(f));

        f.control->setNewSystemSettings(liveMode(false));
        QVERIFY(!panelRefresh(f));
        // Without live mode the evaluations start nothing either.
        f.control->requestData();
        QVERIFY(f.settle());
        QVERIFY(!panelRefresh(f));

        f.control->setNewSystemSettings(liveMode(true));
        QVERIFY(panelRefresh(f));
    }

    void otherModeLeavesTimersAlone()
    {
        ControlFixture f(Personality::Enigma1);
        QVERIFY(loadPlayback(f));
        const ControlTimer* panel = panelRefresh(f);
        const ControlTimer* align = epgAlign(f);
        QVERIFY(panel);
        QVERIFY(align);

        invokeModeSwitch(f.control.get(), BoxModeOther);
        QCOMPARE(panelRefresh(f), panel);
        QCOMPARE(epgAlign(f), align);

        invokeModeSwitch(f.control.get(), BoxModeStandby);
        QVERIFY(!panelRefresh(f));
        QVERIFY(!epgAlign(f));
    }

    void timersOutliveAReset()
    {
        ControlFixture f(Personality::Enigma1);
        QVERIFY(loadPlayback(f));
        QVERIFY(panelRefresh(f));
        Settings().deleteProfile(QStringLiteral("Simulated"));
        f.control->loadServiceData();
        QVERIFY(!f.control->currentEngine());
        QSignalSpy transmit(f.control.get(), &TavrelControl::networkTransmitIsActive);

        // The refresh keeps ticking, finds no engine and asks for nothing.
        QVERIFY(panelRefresh(f));
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

QTEST_MAIN(TestControlRefresh)
#include "tst_controlrefresh.moc"
