#include "box/localtimetexts.h"
#include "model/clock.h"
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A clock whose zone moves its offset at a given moment, as summer time does.
class ShiftingClock final : public Clock
{
public:
    ShiftingClock(qint64 shiftAt, int offsetBefore, int offsetAfter)
        : m_shiftAt(shiftAt)
        , m_offsetBefore(offsetBefore)
        , m_offsetAfter(offsetAfter)
    {}

    qint64 now() const override { return m_shiftAt; }
    QDateTime toLocal(qint64 secs) const override
    {
        return QDateTime::fromSecsSinceEpoch(secs, Qt::OffsetFromUTC,
                                             secs < m_shiftAt ? m_offsetBefore : m_offsetAfter);
    }

private:
    qint64 m_shiftAt = 0;
    int m_offsetBefore = 0;
    int m_offsetAfter = 0;
};

} // namespace

// The worked-out date and time texts must read exactly as the clock's own, also on the days
// the clock changes and when the stamps jump between days.
class TestLocalTimeTexts : public QObject
{
    Q_OBJECT

private slots:
    void sameTextsAsTheClock_data()
    {
        QTest::addColumn<qint64>("shiftAt");
        QTest::addColumn<int>("offsetBefore");
        QTest::addColumn<int>("offsetAfter");

        // 31 March 2024, 01:00 UTC: central Europe goes from +1 h to +2 h.
        QTest::newRow("summer time begins") << qint64(1711846800) << 3600 << 7200;
        // 27 October 2024, 01:00 UTC: back from +2 h to +1 h, 02:00 to 03:00 local comes twice.
        QTest::newRow("summer time ends") << qint64(1729990800) << 7200 << 3600;
        QTest::newRow("half hour zone") << qint64(1711846800) << 19800 << 19800;
        QTest::newRow("quarter hour zone west of UTC") << qint64(1711846800) << -9900 << -9900;
        QTest::newRow("change at local noon") << qint64(1711886400) << 0 << 2700;
    }

    void sameTextsAsTheClock()
    {
        QFETCH(qint64, shiftAt);
        QFETCH(int, offsetBefore);
        QFETCH(int, offsetAfter);
        const ShiftingClock clock(shiftAt, offsetBefore, offsetAfter);
        LocalTimeTexts texts(clock);
        // Forward in odd steps over three days, then stamps that jump back and forth.
        QList<qint64> stamps;
        for (qint64 secs = shiftAt - 36 * 3600; secs < shiftAt + 36 * 3600; secs += 419)
            stamps << secs;
        for (qint64 step = 0; step < 400; ++step)
            stamps << shiftAt + ((step * 7919) % 259200) - 129600;
        for (const qint64 secs : stamps)
            QCOMPARE(texts.dateText(secs) + u' ' + texts.timeText(secs),
                     clock.dateText(secs) + u' ' + clock.timeText(secs));
    }
};

QTEST_GUILESS_MAIN(TestLocalTimeTexts)
#include "tst_localtimetexts.moc"
