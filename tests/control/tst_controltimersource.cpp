// The timers the controller runs on: virtual time for tests, the event loop's for the user.

#include "control/manualtimersource.h"

#include <QSignalSpy>
#include <QTest>

class TestControlTimerSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timersFireInOrderOfTheirDueTime_data()
    {
        QTest::addColumn<int>("firstMs");
        QTest::addColumn<int>("secondMs");
        QTest::addColumn<QString>("order");

        QTest::newRow("earlier first") << 300 << 100 << QStringLiteral("ba");
        QTest::newRow("same time: in order of starting") << 200 << 200 << QStringLiteral("ab");
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

    void repeatingTimerFiresEveryInterval()
    {
        ManualTimerSource source;
        QObject owner;
        ControlTimer* timer = source.createTimer(ControlTimer::Mode::Repeating, &owner);
        QSignalSpy timeouts(timer, &ControlTimer::timeout);
        timer->start(1000);
        QCOMPARE(timer->interval(), 1000);
        source.advance(3500);
        QCOMPARE(timeouts.size(), 3);
        QVERIFY(timer->isActive());
        source.advance(500);
        QCOMPARE(timeouts.size(), 4);
    }

    void stoppedOrDeletedTimerStaysQuiet()
    {
        ManualTimerSource source;
        QObject owner;
        ControlTimer* stopped = source.createTimer(ControlTimer::Mode::Repeating, &owner);
        ControlTimer* deleted = source.createTimer(ControlTimer::Mode::Repeating, &owner);
        QSignalSpy timeouts(stopped, &ControlTimer::timeout);
        stopped->start(10);
        deleted->start(10);
        // A timer that stops the other one when it fires: the other must not fire after that.
        connect(deleted, &ControlTimer::timeout, &owner, [stopped] { stopped->stop(); });
        delete deleted;
        stopped->stop();
        source.advance(100);
        QCOMPARE(timeouts.size(), 0);
    }

    void timerStartedWhileFiringCountsFromThen()
    {
        ManualTimerSource source;
        QObject owner;
        ControlTimer* first = source.createTimer(ControlTimer::Mode::SingleShot, &owner);
        ControlTimer* second = source.createTimer(ControlTimer::Mode::SingleShot, &owner);
        qint64 firedAt = -1;
        connect(first, &ControlTimer::timeout, &owner, [&] { second->start(500); });
        connect(second, &ControlTimer::timeout, &owner, [&] { firedAt = source.elapsed(); });
        first->start(1500);
        source.advance(10000);
        QCOMPARE(firedAt, qint64(2000));
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

QTEST_GUILESS_MAIN(TestControlTimerSource)
#include "tst_controltimersource.moc"
