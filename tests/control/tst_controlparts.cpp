// The controller's own parts that need no receiver: the one way the application asks the user,
// how tests answer it without ever being blocked, and the timers the controller runs on.

#include "control/manualtimersource.h"
#include "control/messagebox.h"
#include "control/messageboxanswerer.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

class TestControlParts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

QTEST_MAIN(TestControlParts)
#include "tst_controlparts.moc"
