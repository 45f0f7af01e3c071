// The user's commands through the controller against the simulated receiver: zapping from the
// channel list, the power menu, stop with and without a running recording, timers, movies,
// the satellite finder and a tap on the panel.

#include "tests/control/controlfixture.h"

#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

namespace {

QStringList movieReferences(const QList<boxsim::Movie>& movies)
{
    QStringList references;
    for (const boxsim::Movie& movie : movies)
        references.append(movie.reference);
    return references;
}

QStringList movieReferences(const QList<MovieEntry*>& movies)
{
    QStringList references;
    for (const MovieEntry* movie : movies)
        references.append(movie->serviceReference);
    return references;
}

} // namespace

class TestControlCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void channelClicks_data()
    {
        QTest::addColumn<bool>("click");          // the single-click setting
        QTest::addColumn<bool>("doubleClick");    // the double-click setting, on by default
        QTest::addColumn<QList<int>>("pausesMs"); // after each click on the same channel
        QTest::addColumn<QStringList>("after");   // each pause: what was sent, and the click window

        QTest::newRow("single-click mode zaps at once")
            << true << false << QList<int>{0} << QStringList{u"1 zap, 1 EPG"_s};
        QTest::newRow("neither mode only selects")
            << false << false << QList<int>{0} << QStringList{u"0 zap, 0 EPG"_s};
        // Without a second click the channel is only selected, and its EPG brought up to date.
        QTest::newRow("second click after 249 ms zaps")
            << false << true << QList<int>{249, 0}
            << QStringList{u"0 zap, 0 EPG, window"_s, u"1 zap, 1 EPG"_s};
        QTest::newRow("second click after 250 ms opens a new window, a third zaps")
            << false << true << QList<int>{250, 100, 0}
            << QStringList{u"0 zap, 1 EPG"_s, u"0 zap, 1 EPG, window"_s, u"1 zap, 2 EPG"_s};
    }

    void channelClicks()
    {
        QFETCH(bool, click);
        QFETCH(bool, doubleClick);
        QFETCH(QList<int>, pausesMs);
        QFETCH(QStringList, after);
        ControlFixture f(Personality::Enigma2);
        QVERIFY(f.load());
        QVERIFY(f.control->currentSystemSettings().chanlistDbClick); // the default
        f.setSettings(true, click, doubleClick);
        const QStringListModel rows(QStringList(400, u"channel"_s)); // as the main window shows them
        QSignalSpy selected = f.spy(&TavrelControl::broadcastChannelIndex);

        QStringList seen;
        for (int pause : std::as_const(pausesMs)) {
            f.control->channelListWidget_ClickedSlot(rows.index(4));
            f.timers.advance(pause);
            QVERIFY(f.settle());
            const bool window = f.control->findChild<ControlTimer*>(u"channelClickTimer"_s);
            seen.append(u"%1 zap, %2 EPG%3"_s.arg(f.targetsTo(u"/web/zap"_s).size())
                            .arg(f.targetsTo(u"/web/epgservice"_s).size())
                            .arg(window ? u", window"_s : QString()));
        }
        QCOMPARE(seen, after);
        // Each click selects the channel, and so does a window that runs out.
        QVERIFY(selected.size() >= pausesMs.size());
        QCOMPARE(firstArguments(selected), QList<int>(selected.size(), 4));
        if (after.constLast().startsWith(u"1 zap"_s))
            QCOMPARE(f.receiver.box.currentServiceReference(), f.database().channel(0, 4)->serviceReference);
    }

    void zapIsIgnoredWhileRecording_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::newRow("while recording nothing is sent") << true;
        QTest::newRow("without a recording the zap goes out") << false;
    }

    void zapIsIgnoredWhileRecording()
    {
        QFETCH(bool, recording);
        ControlFixture f(Personality::Enigma1);
        QVERIFY(f.load());
        if (recording)
            QVERIFY(f.receiver.box.startRecording());
        f.control->requestStatus();
        QVERIFY(f.settle());
        QCOMPARE(f.database().statusData()->recording, recording);
        f.receiver.box.clearRequests();

        f.control->zapChannel(0, 2);
        QVERIFY(f.settle());

        QCOMPARE(f.targetsTo(u"/cgi-bin/zapTo"_s).size(), recording ? 0 : 1);
    }

    void zapKeepsTheFullIndex()
    {
        ControlFixture f(Personality::Enigma2);
        f.receiver.box.useGeneratedLineUp(1, 300);
        QVERIFY(f.load());
        f.control->zapChannel(0, 200);
        QVERIFY(f.settle());
        QCOMPARE(f.queryValueOf("/web/zap", u"sRef"_s), f.database().channel(0, 200)->serviceReference);
        // Out of range: nothing.
        f.receiver.box.clearRequests();
        f.control->zapChannel(0, 300);
        f.control->zapChannel(-1, 0);
        QVERIFY(f.settle());
        QVERIFY(f.targetsTo(u"/web/zap"_s).isEmpty());
    }

    void powerCommands_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("question");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("target");

        const Personality e2 = Personality::Enigma2;
        const Personality e1 = Personality::Enigma1;
        // What each Enigma2 entry asks and sends is pinned through the panel's power menu.
        QTest::newRow("Enigma2 reboot, no") << e2 << 1 << u"Box reboot?"_s << Answer::Reject << QString();
        QTest::newRow("Enigma1 reboot, yes")
            << e1 << 1 << u"Box reboot?"_s << Answer::Accept << u"/cgi-bin/admin?command=reboot"_s;
        QTest::newRow("Enigma1 shutdown, no") << e1 << 0 << u"Box shutdown?"_s << Answer::Reject << QString();
        QTest::newRow("Enigma1 standby, no question")
            << e1 << 4 << QString() << Answer::Reject << u"/cgi-bin/admin?command=standby"_s;
        QTest::newRow("unknown command") << e2 << 5 << QString() << Answer::Accept << QString();
    }

    void powerCommands()
    {
        QFETCH(Personality, personality);
        QFETCH(int, command);
        QFETCH(QString, question);
        QFETCH(Answer, answer);
        QFETCH(QString, target);
        // Before any load: the controller makes an engine of the profile's web interface.
        ControlFixture f(personality);
        f.boxes.answerNext(answer);

        f.control->sendBoxCommand(BoxCommand(command));
        QVERIFY(f.settle());

        QCOMPARE(f.askedBoxes(),
                 question.isEmpty() ? QStringList() : QStringList{question + u" [Warning Yes/No rich]"_s});
        QCOMPARE(f.targets().mid(0, 1), target.isEmpty() ? QStringList() : QStringList{target});
    }

    void stop_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<bool>("stops"); // Enigma2 deletes the recording's timer, Enigma1 sends stop

        const Personality e2 = Personality::Enigma2;
        const Personality e1 = Personality::Enigma1;
        QTest::newRow("Enigma2, no recording: the timer list only") << e2 << false << Answer::Accept << false;
        QTest::newRow("Enigma2, running recording, yes deletes its timer")
            << e2 << true << Answer::Accept << true;
        QTest::newRow("Enigma2, running recording, no keeps it") << e2 << true << Answer::Reject << false;
        QTest::newRow("Enigma1, no recording: stop at once") << e1 << false << Answer::Reject << true;
        QTest::newRow("Enigma1, recording, yes stops") << e1 << true << Answer::Accept << true;
        QTest::newRow("Enigma1, recording, no sends nothing") << e1 << true << Answer::Reject << false;
    }

    void stop()
    {
        QFETCH(Personality, personality);
        QFETCH(bool, recording);
        QFETCH(Answer, answer);
        QFETCH(bool, stops);
        ControlFixture f(personality);
        QVERIFY(f.load());
        if (recording) {
            QVERIFY(f.receiver.box.startRecording());
            if (f.isEnigma1()) {
                // Enigma1 learns of the recording from the status.
                f.control->requestStatus();
                QVERIFY(f.settle());
                f.receiver.box.clearRequests();
            } else {
                // A minute into the recording, on both clocks.
                f.receiver.box.advanceTime(60);
                f.receiver.clock.advance(60);
            }
        }
        f.boxes.answerNext(answer);
        QSignalSpy timerList = f.spy(&TavrelControl::timerListDataUpdate);

        f.control->sendStopCommand();
        QVERIFY(f.settle());
        QTRY_COMPARE(f.boxes.asked().size(), recording ? 1 : 0);
        QVERIFY(f.settle());

        // Enigma2 then reports the deleted timer in a notice of its own.
        const QStringList asked = f.askedBoxes();
        QCOMPARE(f.isEnigma1() ? asked : asked.mid(0, 1),
                 recording ? QStringList{u"Stop current recording? [Question Yes/No rich]"_s}
                           : QStringList());
        QCOMPARE(f.receiver.box.isRecording(), recording && !stops);
        if (f.isEnigma1()) {
            QCOMPARE(f.targets().count(u"/cgi-bin/videocontrol?command=stop"_s), stops ? 1 : 0);
            return;
        }
        QCOMPARE(f.targets().first(), u"/web/timerlist"_s);
        QCOMPARE(f.targetsTo(u"/web/timerdelete"_s).size(), stops ? 1 : 0);
        QVERIFY(timerList.size() >= 1);
        QCOMPARE(timerList.last().first().value<TavrelDatabase*>(), &f.database());
    }

    void timerOutcomes_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<bool>("conflict");
        QTest::addColumn<bool>("goneFromReceiver");
        QTest::addColumn<QStringList>("notices");

        const QString created = u"Event Timer successfully created! [Warning OK rich]"_s;
        const QString notCreated = u"Timer event could not be created! [Warning OK rich]"_s;
        const QString deleted = u"Timer Event was deleted! [Warning OK rich]"_s;
        const QString notDeleted = u"Timer event could not be deleted! [Warning OK rich]"_s;
        QTest::newRow("Enigma2 add and delete")
            << Personality::Enigma2 << false << false << QStringList{created, deleted};
        QTest::newRow("Enigma2 conflicting add, delete of a vanished timer")
            << Personality::Enigma2 << true << true << QStringList{created, notCreated, notDeleted};
        QTest::newRow("Enigma1 add and delete")
            << Personality::Enigma1 << false << false << QStringList{created, deleted};
        QTest::newRow("Enigma1 conflicting add")
            << Personality::Enigma1 << true << false << QStringList{created, notCreated, deleted};
    }

    void timerOutcomes()
    {
        QFETCH(Personality, personality);
        QFETCH(bool, conflict);
        QFETCH(bool, goneFromReceiver);
        QFETCH(QStringList, notices);
        ControlFixture f(personality);
        QVERIFY(f.load());
        f.receiver.box.clearTimers();
        QVERIFY(f.database().hasEpgItem(0, 0, 1));

        // A recording of the channel's next event, once or twice.
        for (int i = 0; i < (conflict ? 2 : 1); ++i) {
            if (f.isEnigma1())
                f.control->addTimer(0, 0, 1);
            else
                f.control->addTimerForEvent(f.database().epgItem(0, 0, 1), false);
            QVERIFY(f.settle());
        }
        QTRY_COMPARE(f.boxes.asked().size(), conflict ? 2 : 1);
        QCOMPARE(f.receiver.box.timers().size(), 1);
        // The recording is of the channel asked for; Enigma1 reads its status again after the add.
        QCOMPARE(f.receiver.box.timers().first().serviceReference,
                 f.database().channel(0, 0)->serviceReference);
        if (f.isEnigma1())
            QVERIFY(!f.targetsTo(u"/cgi-bin/status"_s).isEmpty());

        f.control->requestTimerList();
        QVERIFY(f.settle());
        QCOMPARE(f.database().timers().size(), 1);
        if (goneFromReceiver)
            f.receiver.box.clearTimers();
        f.control->deleteTimerAt(0);
        QCOMPARE(f.database().timers().size(), 0);
        QVERIFY(f.settle());
        QTRY_COMPARE(f.askedBoxes(), notices);
        QVERIFY(f.receiver.box.timers().isEmpty());
    }

    void deletedTimerIsTheOneAskedFor()
    {
        ControlFixture f(Personality::Enigma2);
        QVERIFY(f.load());
        f.receiver.box.clearTimers();
        // Two zap timers of one service: the current and the next event.
        f.control->addTimerForEvent(f.database().epgItem(0, 0, 0), true);
        f.control->addTimerForEvent(f.database().epgItem(0, 0, 1), true);
        QVERIFY(f.settle());
        f.control->requestTimerList();
        QVERIFY(f.settle());
        QCOMPARE(f.database().timers().size(), 2);
        const uint keptBegin = f.database().timerAt(0)->begin;
        const uint deletedBegin = f.database().timerAt(1)->begin;

        f.control->deleteTimerAt(1);
        QCOMPARE(f.database().timers().size(), 1);
        QCOMPARE(f.database().timerAt(0)->begin, keptBegin);
        QVERIFY(f.settle());
        QCOMPARE(f.queryValueOf("/web/timerdelete", u"begin"_s), QString::number(deletedBegin));
        QCOMPARE(f.receiver.box.timers().size(), 1);
        QCOMPARE(uint(f.receiver.box.timers().first().begin), keptBegin);

        // Indices from a page that point nowhere delete nothing.
        f.receiver.box.clearRequests();
        f.control->deleteTimerAt(-1);
        f.control->deleteTimerAt(5);
        QVERIFY(f.settle());
        QVERIFY(f.targetsTo(u"/web/timerdelete"_s).isEmpty());
    }

    void playAndDeleteMovies_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QString>("playPath");
        QTest::addColumn<QString>("deletePath");
        QTest::addColumn<bool>("reportsDeletion");

        QTest::newRow("Enigma2") << Personality::Enigma2 << u"/web/zap"_s << u"/web/moviedelete"_s << true;
        // The Enigma1 receiver says nothing; its movie list is read again instead.
        QTest::newRow("Enigma1") << Personality::Enigma1 << u"/cgi-bin/zapTo"_s << u"/cgi-bin/deleteMovie"_s
                                 << false;
    }

    void playAndDeleteMovies()
    {
        QFETCH(Personality, personality);
        QFETCH(QString, playPath);
        QFETCH(QString, deletePath);
        QFETCH(bool, reportsDeletion);
        ControlFixture f(personality);
        QVERIFY(f.load());
        QSignalSpy lists = f.spy(&TavrelControl::MovieListUpdate);
        QSignalSpy deletions = f.spy(&TavrelControl::MovieDeleted);

        f.control->requestMovieList(false);
        QVERIFY(f.settle());
        QCOMPARE(lists.size(), 1);
        QVERIFY(f.database().movies().size() >= 2);
        // A list that is there is not asked for again unless forced.
        f.control->requestMovieList(false);
        QVERIFY(f.settle());
        QCOMPARE(lists.size(), 1);

        const QString second = f.database().movieAt(1)->serviceReference;
        f.control->playMovieAt(1);
        QVERIFY(f.settle());
        QCOMPARE(f.targetsTo(playPath).size(), 1);
        QCOMPARE(f.receiver.box.playingMovie(), second);

        f.receiver.box.clearRequests();
        f.control->deleteMovieAt(1);
        QVERIFY(f.settle());
        QCOMPARE(f.targetsTo(deletePath).size(), 1);
        QCOMPARE(firstArguments(deletions), reportsDeletion ? QList<int>{1} : QList<int>());
        QVERIFY(!movieReferences(f.database().movies()).contains(second));
        QCOMPARE(movieReferences(f.database().movies()), movieReferences(f.receiver.box.movies()));

        // Indices that point nowhere do nothing.
        f.receiver.box.clearRequests();
        f.control->playMovieAt(-1);
        f.control->deleteMovieAt(-1);
        f.control->deleteMovieAt(int(f.database().movies().size()));
        f.control->renameMovieAt(-1, u"title"_s);
        QVERIFY(f.settle());
        QVERIFY(f.targets().isEmpty());
    }

    void movieDeletedAfterTheListMoved()
    {
        ControlFixture f(Personality::Enigma2);
        QVERIFY(f.load());
        f.control->requestMovieList(true);
        QVERIFY(f.settle());
        QVERIFY(f.database().movies().size() >= 3);
        QSignalSpy deletions = f.spy(&TavrelControl::MovieDeleted);
        f.receiver.box.setPathFault(u"/web/moviedelete"_s, {.latencyMs = 400});

        const QString asked = f.database().movieAt(1)->serviceReference;
        f.control->deleteMovieAt(1);
        QTRY_COMPARE(f.targetsTo(u"/web/moviedelete"_s).size(), 1);
        // Meanwhile a new recording turns up in front and the list is read again.
        QList<boxsim::Movie> movies = f.receiver.box.movies();
        boxsim::Movie fresh = movies.first();
        fresh.reference = u"1:0:0:0:0:0:0:0:0:0:/media/hdd/movie/fresh.ts"_s;
        fresh.title = u"Fresh"_s;
        movies.prepend(fresh);
        f.receiver.box.setMovies(movies);
        f.control->requestMovieList(true);
        QVERIFY(f.settle());

        QVERIFY(!movieReferences(f.database().movies()).contains(asked));
        // Nothing else went from the image: it is the receiver's list.
        QCOMPARE(movieReferences(f.database().movies()), movieReferences(f.receiver.box.movies()));
        QVERIFY(deletions.isEmpty());
    }

    void satelliteFinderEnigma1_data()
    {
        QTest::addColumn<int>("satellite");
        QTest::addColumn<int>("transponder");
        QTest::addColumn<bool>("measured");

        QTest::newRow("first transponder") << 0 << 0 << true;
        QTest::newRow("negative satellite") << -1 << 0 << false;
        QTest::newRow("satellite beyond the list") << 99 << 0 << false;
        QTest::newRow("negative transponder") << 0 << -1 << false;
        QTest::newRow("transponder beyond the list") << 0 << 9999 << false;
    }

    void satelliteFinderEnigma1()
    {
        QFETCH(int, satellite);
        QFETCH(int, transponder);
        QFETCH(bool, measured);
        ControlFixture f(Personality::Enigma1);
        QSignalSpy config = f.spy(qOverload<SatfinderConfig*>(&TavrelControl::satFinderConfigUpdate));
        QSignalSpy data = f.spy(qOverload<SatfinderData*>(&TavrelControl::satFinderDataUpdate));

        // The finder may be opened before any load.
        f.control->initSatfinder();
        QVERIFY(f.settle());
        QCOMPARE(f.targets(), QStringList{u"/body?mode=controlSatFinder"_s});
        QCOMPARE(firstArguments<SatfinderConfig*>(config), QList{f.database().satfinderConfig()});
        const SatfinderConfig& stored = *f.database().satfinderConfig();
        QVERIFY(!stored.satellites.isEmpty());
        QCOMPARE(stored.channelRefs.size(), stored.satellites.size());

        f.control->requestSatfinderMeasurement(satellite, transponder);
        QVERIFY(f.settle());
        QCOMPARE(data.size(), measured ? 1 : 0);
        if (!measured) {
            QVERIFY(f.targetsTo(u"/satFinder"_s).isEmpty());
            return;
        }
        // The transponder's own parameters go to the receiver, which measures it.
        QCOMPARE(f.targetsTo(u"/satFinder"_s),
                 QStringList{u"/satFinder?"_s + stored.channelRefs.at(0).at(0)});
        QVERIFY(data.first().first().value<SatfinderData*>()->snr > 0);
    }

    void satelliteFinderEnigma2()
    {
        ControlFixture f(Personality::Enigma2);
        QSignalSpy config = f.spy(qOverload<TavrelDatabase*>(&TavrelControl::satFinderConfigUpdate));
        QSignalSpy signalInfo = f.spy(&TavrelControl::signalInfoReceived);

        // The Enigma2 finder offers the loaded services: without them there is nothing to offer.
        f.control->initSatfinder();
        f.control->requestSatfinderMeasurement(0, 0);
        QVERIFY(f.settle());
        QCOMPARE(config.size(), 0);
        QVERIFY(f.targets().isEmpty());

        // Loaded, a measurement also feeds the receiver's general information.
        QVERIFY(f.load());
        signalInfo.clear();
        f.control->requestSatfinderMeasurement(0, 0);
        QVERIFY(f.settle());
        QCOMPARE(f.targets(), QStringList{u"/web/signal"_s});
        QCOMPARE(signalInfo.size(), 1);
    }

    void panelTapFollowsTheReceiver()
    {
        ControlFixture f(Personality::Enigma2);
        QVERIFY(f.load());
        // The receiver was switched on its own remote control, within the same bouquet.
        const QString other = f.database().channel(0, 4)->serviceReference;
        f.receiver.box.setCurrentService(other);
        QSignalSpy bouquetIndex = f.spy(&TavrelControl::broadcastBouquetIndex);
        QSignalSpy channelIndex = f.spy(&TavrelControl::broadcastChannelIndex);

        f.control->panelWidget_ClickedEvent();
        QVERIFY(f.settle());

        // The press and the status request go out together; either may arrive first.
        QCOMPARE(f.targets().count(u"/web/remotecontrol?command=352"_s), 1);
        QCOMPARE(f.targets().count(u"/web/powerstate"_s), 1);
        QCOMPARE(firstArguments(bouquetIndex), QList<int>{0});
        // Broadcast, then selected like a click, which brings the channel's EPG.
        QCOMPARE(firstArguments(channelIndex), (QList<int>{4, 4}));
        QCOMPARE(f.queryValueOf("/web/epgservice", u"sRef"_s), other);

        // The next answers do not move the lists again.
        f.control->requestStatus();
        QVERIFY(f.settle());
        QCOMPARE(bouquetIndex.size(), 1);
    }
};

QTEST_MAIN(TestControlCommands)
#include "tst_controlcommands.moc"
