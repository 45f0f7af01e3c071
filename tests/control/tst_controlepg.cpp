// Upkeep of the EPG in the image: when a bouquet's EPG is reloaded, when a single channel's EPG
// is asked for, and what the lists' changes of bouquet and channel ask the receiver for.

#include "tests/control/controlfixture.h"

#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int channelsPerBouquet = 6;

// Gives the channel a running and a coming event, or leaves it without any.
void arrangeChannel(Channel& channel, qint64 now, bool withEvents)
{
    channel.clearEpg();
    if (!withEvents)
        return;
    channel.addEpgItem(makeEvent(channel, now - 600, 1800));
    channel.addEpgItem(makeEvent(channel, now + 1200, 1800));
}

QString bouquetEpgPath(const ControlFixture& f)
{
    return f.isEnigma1() ? u"/getMultiEPG"_s : u"/web/epgmulti"_s;
}

QString bouquetEpgReference(const ControlFixture& f)
{
    return f.isEnigma1() ? f.queryValueOf("/getMultiEPG", u"ref"_s)
                         : f.queryValueOf("/web/epgmulti", u"bRef"_s);
}

} // namespace

class TestControlEpg : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void bouquetReloadThreshold_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QList<bool>>("lacking"); // per channel: without events
        QTest::addColumn<bool>("reloads");

        const QList<bool> fourWithTheLast{false, false, true, true, true, true};
        const QList<bool> threeWithTheLast{false, false, false, true, true, true};
        const QList<bool> fiveWithoutTheLast{true, true, true, true, true, false};
        const QList<bool> all(channelsPerBouquet, true);
        for (const Personality personality : {Personality::Enigma2, Personality::Enigma1}) {
            const char* name = personality == Personality::Enigma2 ? "Enigma2" : "Enigma1";
            QTest::addRow("%s: 4 lacking, the last among them, reloads", name)
                << personality << fourWithTheLast << true;
            QTest::addRow("%s: 3 lacking, the last among them, do not", name)
                << personality << threeWithTheLast << false;
            QTest::addRow("%s: 5 lacking, not the last, do not", name)
                << personality << fiveWithoutTheLast << false;
            QTest::addRow("%s: all lacking reload", name) << personality << all << true;
        }
    }

    void bouquetReloadThreshold()
    {
        QFETCH(Personality, personality);
        QFETCH(QList<bool>, lacking);
        QFETCH(bool, reloads);
        ControlFixture f(personality);
        f.receiver.box.useGeneratedLineUp(2, channelsPerBouquet);
        QVERIFY(f.load());
        const QList<Channel*> channels = f.database().channels(1);
        QCOMPARE(channels.size(), channelsPerBouquet);
        for (int c = 0; c < channelsPerBouquet; ++c)
            arrangeChannel(*channels.at(c), f.receiver.clock.now(), !lacking.at(c));
        QSignalSpy transmit(f.control.get(), &TavrelControl::networkTransmitIsActive);

        f.control->refreshBouquetEpgIfStale(1);
        // Each channel counts once per change of its EPG: asking again at once asks nothing, nor do
        // bouquets that are not there.
        f.control->refreshBouquetEpgIfStale(1);
        f.control->refreshBouquetEpgIfStale(-1);
        f.control->refreshBouquetEpgIfStale(2);
        QVERIFY(f.settle());

        QCOMPARE(f.targetsTo(bouquetEpgPath(f)).size(), reloads ? 1 : 0);
        if (reloads) {
            QCOMPARE(bouquetEpgReference(f), f.database().bouquet(1)->reference);
            QVERIFY(transmit.contains(QVariantList{true}));
        }
    }

    void minuteCheckReloadsTheShownBouquet_data()
    {
        QTest::addColumn<QString>("arrangement");
        QTest::addColumn<bool>("reloads");

        QTest::newRow("every channel has its events") << u"complete"_s << false;
        QTest::newRow("one channel lacks events") << u"one lacking"_s << true;
        QTest::newRow("events that ended are pruned first") << u"one ended"_s << true;
    }

    void minuteCheckReloadsTheShownBouquet()
    {
        QFETCH(QString, arrangement);
        QFETCH(bool, reloads);
        ControlFixture f(Personality::Enigma2);
        f.receiver.box.useGeneratedLineUp(2, channelsPerBouquet);
        QVERIFY(f.load());
        const qint64 now = f.receiver.clock.now();
        const QList<Channel*> channels = f.database().channels(0);
        for (Channel* channel : channels)
            arrangeChannel(*channel, now, true);
        Channel* odd = channels.at(2);
        if (arrangement == QLatin1String("one lacking")) {
            odd->clearEpg();
        } else if (arrangement == QLatin1String("one ended")) {
            odd->clearEpg();
            odd->addEpgItem(makeEvent(*odd, now - 7200, 1800));
            odd->addEpgItem(makeEvent(*odd, now - 5400, 1800));
        }
        QSignalSpy epg(f.control.get(), qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate));

        f.control->updateCheckChannelItems();
        QCOMPARE(epg.size(), 1);
        QVERIFY(f.settle());

        QCOMPARE(epg.first().first().value<TavrelDatabase*>(), &f.database());
        QCOMPARE(f.targetsTo(u"/web/epgmulti"_s).size(), reloads ? 1 : 0);
        if (reloads)
            QCOMPARE(f.queryValueOf("/web/epgmulti", u"bRef"_s), f.database().bouquet(0)->reference);
        // Progress was brought up to now on the way.
        QCOMPARE(channels.first()->epgList().first()->progress, 33);
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
        arrangeChannel(*channel, f.receiver.clock.now(), events > 0);
        QCOMPARE(channel->epgList().size(), events);
        QSignalSpy selected(f.control.get(), &TavrelControl::broadcastChannelIndex);

        f.control->guiChannelIndex_ChangedSlot(1);
        QVERIFY(f.settle());

        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first().first().toInt(), 1);
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

    void epgTabAsksForTheChannelsEpg_data()
    {
        QTest::addColumn<Personality>("personality");
        QTest::addColumn<QString>("path");

        QTest::newRow("Enigma2: the channel's EPG") << Personality::Enigma2 << u"/web/epgservice"_s;
        QTest::newRow("Enigma1: the current EPG page") << Personality::Enigma1 << u"/cgi-bin/getcurrentepg"_s;
    }

    void epgTabAsksForTheChannelsEpg()
    {
        QFETCH(Personality, personality);
        QFETCH(QString, path);
        ControlFixture f(personality);
        QVERIFY(f.load());
        const QList<Bouquet*> bouquets = f.database().bouquets();
        for (const Bouquet* bouquet : bouquets) {
            for (Channel* channel : bouquet->channels)
                channel->clearEpg();
        }

        f.control->epgTabActivated();
        QVERIFY(f.settle());
        QCOMPARE(f.targetsTo(path).size(), 1);

        // The answer is the channel's schedule: showing the tab again asks nothing.
        f.control->epgTabActivated();
        QVERIFY(f.settle());
        QCOMPARE(f.targetsTo(path).size(), 1);
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
        QSignalSpy epgPage(f.control.get(), &TavrelControl::setEpgWidgetBouquetIndex);
        QSignalSpy lists(f.control.get(), qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate));

        f.control->guiBouquetIndex_ChangedSlot(bouquet);
        QVERIFY(f.settle());

        QCOMPARE(epgPage.size(), 1);
        QCOMPARE(epgPage.first().first().toInt(), bouquet);
        QVERIFY(!lists.isEmpty());
        if (path.isEmpty()) {
            QVERIFY(f.targets().isEmpty());
            return;
        }
        QCOMPARE(f.targetsTo(path).size(), 1);
        const QString reference = f.isEnigma1() ? f.queryValueOf(path.toLatin1(), u"ref"_s)
                                                : f.queryValueOf(path.toLatin1(), u"bRef"_s);
        QCOMPARE(reference, f.database().bouquet(bouquet)->reference);
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
        QSignalSpy lists(f.control.get(), qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate));

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
};

QTEST_MAIN(TestControlEpg)
#include "tst_controlepg.moc"
