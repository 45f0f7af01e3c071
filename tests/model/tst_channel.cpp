#include "model/channel.h"
#include "model/clock.h"
#include "model/epgitem.h"

#include <QTest>

namespace {

struct EventTimes
{
    uint start;
    int duration;
};

std::unique_ptr<EpgItem> makeEvent(uint start, int duration)
{
    auto event = std::make_unique<EpgItem>();
    event->start = start;
    event->duration = duration;
    event->end = start + uint(duration);
    return event;
}

QList<uint> startsOf(const Channel& channel)
{
    QList<uint> starts;
    for (const EpgItem* event : channel.epgList())
        starts.append(event->start);
    return starts;
}

} // namespace

Q_DECLARE_METATYPE(QList<EventTimes>)

class TestChannel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addEpgItemKeepsNowAndNext_data();
    void addEpgItemKeepsNowAndNext();
    void refreshEpg_data();
    void refreshEpg();
    void takeNeedsEpgCountsOncePerChange();
    void clearEpgRearmsTheCount();
};

void TestChannel::addEpgItemKeepsNowAndNext_data()
{
    QTest::addColumn<QList<uint>>("existing");
    QTest::addColumn<uint>("newStart");
    QTest::addColumn<QList<uint>>("expected");

    QTest::newRow("first event is kept") << QList<uint>{} << 100u << QList<uint>{100};
    QTest::newRow("later event becomes next") << QList<uint>{100} << 200u << QList<uint>{100, 200};
    QTest::newRow("equal start is a duplicate") << QList<uint>{100} << 100u << QList<uint>{100};
    QTest::newRow("older event is dropped") << QList<uint>{100} << 50u << QList<uint>{100};
    QTest::newRow("third event is dropped") << QList<uint>{100, 200} << 300u << QList<uint>{100, 200};
}

void TestChannel::addEpgItemKeepsNowAndNext()
{
    QFETCH(QList<uint>, existing);
    QFETCH(uint, newStart);
    QFETCH(QList<uint>, expected);

    Channel channel;
    for (uint start : existing)
        channel.addEpgItem(makeEvent(start, 60));
    channel.addEpgItem(makeEvent(newStart, 60));

    QCOMPARE(startsOf(channel), expected);
    for (const EpgItem* event : channel.epgList())
        QCOMPARE(event->parent(), &channel);
    if (expected.size() == 2) {
        QVERIFY(!channel.needsEpg());
        QVERIFY(channel.needsEpgPending());
    }
}

void TestChannel::refreshEpg_data()
{
    QTest::addColumn<QList<EventTimes>>("events");
    QTest::addColumn<QList<uint>>("remaining");
    QTest::addColumn<bool>("needsEpg");
    QTest::addColumn<int>("progress");
    QTest::addColumn<int>("minutesLeft");

    // The clock stands at 10000 in every row.
    QTest::newRow("running event, half elapsed")
        << QList<EventTimes>{{9400, 1200}} << QList<uint>{9400} << false << 50 << 10;
    QTest::newRow("running event with next")
        << QList<EventTimes>{{9400, 1200}, {10600, 600}} << QList<uint>{9400, 10600} << false << 50 << 10;
    QTest::newRow("only event ended an hour ago")
        << QList<EventTimes>{{4600, 1800}} << QList<uint>{} << true << 0 << 0;
    QTest::newRow("first ended, next running")
        << QList<EventTimes>{{8000, 1000}, {9000, 2000}} << QList<uint>{9000} << true << 50 << 16;
    QTest::newRow("both ended") << QList<EventTimes>{{7000, 1000}, {8000, 1000}} << QList<uint>{} << true << 0
                                << 0;
    QTest::newRow("event ending right now has ended")
        << QList<EventTimes>{{9000, 1000}} << QList<uint>{} << true << 0 << 0;
    QTest::newRow("first event not begun is dropped")
        << QList<EventTimes>{{10060, 600}} << QList<uint>{} << true << 0 << 0;
    QTest::newRow("progress rounds to nearest")
        << QList<EventTimes>{{9999, 3}} << QList<uint>{9999} << false << 33 << 0;
    QTest::newRow("event just begun")
        << QList<EventTimes>{{10000, 600}} << QList<uint>{10000} << false << 0 << 10;
}

void TestChannel::refreshEpg()
{
    QFETCH(QList<EventTimes>, events);
    QFETCH(QList<uint>, remaining);
    QFETCH(bool, needsEpg);
    QFETCH(int, progress);
    QFETCH(int, minutesLeft);

    const ManualClock clock(10000);
    Channel channel;
    for (const EventTimes& times : events)
        channel.addEpgItem(makeEvent(times.start, times.duration));
    channel.refreshEpg(clock);

    QCOMPARE(startsOf(channel), remaining);
    QCOMPARE(channel.needsEpg(), needsEpg);
    if (!remaining.isEmpty()) {
        QCOMPARE(channel.epgList().first()->progress, progress);
        QCOMPARE(channel.epgList().first()->minutesLeft, minutesLeft);
    }
}

void TestChannel::takeNeedsEpgCountsOncePerChange()
{
    const ManualClock clock(10000);
    QVERIFY(!Channel().takeNeedsEpg()); // a fresh channel has nothing to ask for yet

    Channel channel;
    channel.addEpgItem(makeEvent(1000, 600));
    channel.refreshEpg(clock);
    QVERIFY(channel.takeNeedsEpg());
    QVERIFY(!channel.takeNeedsEpg());
    channel.refreshEpg(clock);
    QVERIFY(!channel.takeNeedsEpg());

    // Now and next arrive: the change is counted once more, and nothing is missing.
    channel.addEpgItem(makeEvent(9800, 600));
    channel.addEpgItem(makeEvent(10400, 600));
    QVERIFY(!channel.takeNeedsEpg());
    QVERIFY(!channel.needsEpgPending());

    // The running event ends: the next one moves up and the change counts again.
    channel.refreshEpg(ManualClock(10500));
    QCOMPARE(startsOf(channel), QList<uint>{10400});
    QVERIFY(channel.takeNeedsEpg());
    QVERIFY(!channel.takeNeedsEpg());
}

void TestChannel::clearEpgRearmsTheCount()
{
    Channel channel;
    channel.addEpgItem(makeEvent(100, 60));
    channel.takeNeedsEpg();
    channel.clearEpg();
    QVERIFY(!channel.hasEpg());
    QVERIFY(!channel.needsEpg());
    QVERIFY(channel.needsEpgPending());
    QVERIFY(channel.children().isEmpty());
}

QTEST_GUILESS_MAIN(TestChannel)
#include "tst_channel.moc"
