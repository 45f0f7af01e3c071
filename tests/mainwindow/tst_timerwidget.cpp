#include "model/records.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/delegates/itemroles.h"
#include "ui/pages/timerstateicon.h"

#include <QLabel>
#include <QMenu>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(boxsim::Personality)
Q_DECLARE_METATYPE(boxsim::FaultKind)

namespace {

const QString ok = u":/buttons/buttons/button_ok_48.png"_s;
const QString rec = u":/symbol/symbol/rec.png"_s;
const QString waiting = u":/buttons/buttons/player_time_48.png"_s;
const QString cancel = u":/buttons/buttons/button_cancel_48.png"_s;
const QString zap = u":/buttons/buttons/player_play_48.png"_s;

// Shows the timer tab of a loaded window and waits for its rows; the log starts empty.
QListWidget* showTimers(WindowFixture& f)
{
    f.window->show();
    f.window->activateWindow();
    if (!QTest::qWaitForWindowActive(f.window.get()))
        return nullptr;
    f.find<QTabWidget>("tabWidget")->setCurrentIndex(4);
    auto* list = f.find<QListWidget>("timer_listWidget");
    const qsizetype expected = f.receiver.box.timers().size();
    if (!QTest::qWaitFor([&] { return list->count() == expected; }, 10000) || !f.settle())
        return nullptr;
    list->setFocus();
    f.receiver.box.clearRequests();
    return list;
}

void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

class TestTimerWidget : public QObject
{
    Q_OBJECT

private slots:
    void stateIcons_data();
    void stateIcons();
    void commandsReachTheReceiver_data();
    void commandsReachTheReceiver();
    void deleteTakesTheChosenTimer_data();
    void deleteTakesTheChosenTimer();
    void failedListKeepsTheRows_data();
    void failedListKeepsTheRows();
};

void TestTimerWidget::stateIcons_data()
{
    QTest::addColumn<int>("webIf");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("disabled");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("justPlay");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<int>("begin"); // seconds from now
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("boxRecording");
    QTest::addColumn<QString>("icon");
    QTest::newRow("e2 running zap") << 1 << u""_s << u"0"_s << u"2"_s << u"1"_s << false << -60 << 60 << false
                                    << zap;
    QTest::newRow("e2 running recording")
        << 1 << u""_s << u"0"_s << u"2"_s << u"0"_s << false << -60 << 60 << false << rec;
    QTest::newRow("e2 disabled running")
        << 1 << u""_s << u"1"_s << u"2"_s << u"0"_s << false << -60 << 60 << false << QString();
    QTest::newRow("e2 running, still preparing")
        << 1 << u""_s << u"0"_s << u"1"_s << u"0"_s << false << -60 << 60 << false << QString();
    QTest::newRow("e2 cancelled while running")
        << 1 << u""_s << u"0"_s << u"2"_s << u"0"_s << true << -60 << 60 << false << cancel;
    QTest::newRow("e2 cancelled in the future")
        << 1 << u""_s << u"0"_s << u"0"_s << u"0"_s << true << 60 << 120 << false << cancel;
    QTest::newRow("e2 finished") << 1 << u""_s << u"0"_s << u"3"_s << u"0"_s << false << -120 << -60 << false
                                 << ok;
    QTest::newRow("e2 future") << 1 << u""_s << u"0"_s << u"0"_s << u"1"_s << false << 60 << 120 << false
                               << waiting;
    QTest::newRow("e2 beginning this second")
        << 1 << u""_s << u"0"_s << u"2"_s << u"0"_s << false << 0 << 60 << false << QString();
    QTest::newRow("e1 active, box records")
        << 0 << u"ACTIVE"_s << u""_s << u""_s << u""_s << false << -60 << 60 << true << rec;
    QTest::newRow("e1 active, box does not record")
        << 0 << u"ACTIVE"_s << u""_s << u""_s << u""_s << false << -60 << 60 << false << cancel;
    QTest::newRow("e1 active in the future")
        << 0 << u"ACTIVE"_s << u""_s << u""_s << u""_s << false << 60 << 120 << true << waiting;
    QTest::newRow("e1 active, ended")
        << 0 << u"ACTIVE"_s << u""_s << u""_s << u""_s << false << -120 << -60 << false << QString();
    QTest::newRow("e1 finished") << 0 << u"FINISHED"_s << u""_s << u""_s << u""_s << false << 60 << 120
                                 << false << ok;
    QTest::newRow("e1 error") << 0 << u"ERROR"_s << u""_s << u""_s << u""_s << false << 60 << 120 << false
                              << cancel;
    QTest::newRow("e1 unknown status")
        << 0 << u"active"_s << u""_s << u""_s << u""_s << false << 60 << 120 << false << QString();
    QTest::newRow("other web interface")
        << 2 << u"FINISHED"_s << u"0"_s << u"3"_s << u"0"_s << true << -120 << -60 << true << QString();
}

void TestTimerWidget::stateIcons()
{
    QFETCH(int, webIf);
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(bool, boxRecording);
    QFETCH(QString, icon);
    constexpr qint64 now = 1796587200;
    TimerEntry timer;
    QFETCH(QString, status);
    QFETCH(QString, disabled);
    QFETCH(QString, state);
    QFETCH(QString, justPlay);
    QFETCH(bool, cancelled);
    timer.status = status;
    timer.disabled = disabled;
    timer.state = state;
    timer.justPlay = justPlay;
    timer.cancelled = cancelled;
    timer.begin = uint(now + begin);
    timer.end = uint(now + end);
    QCOMPARE(TimerStateIcon::path(timer, webIf, boxRecording, now), icon);
}

void TestTimerWidget::commandsReachTheReceiver_data()
{
    QTest::addColumn<boxsim::Personality>("personality");
    QTest::addColumn<QString>("listPath");
    QTest::addColumn<QString>("deletePath");
    QTest::addColumn<QString>("cleanupTarget");
    QTest::newRow("enigma2") << boxsim::Personality::Enigma2 << u"/web/timerlist"_s << u"/web/timerdelete"_s
                             << u"/web/timercleanup?cleanup=true"_s;
    QTest::newRow("enigma1") << boxsim::Personality::Enigma1 << u"/xml/timers"_s << u"/deleteTimerEvent"_s
                             << u"/cleanupTimerList"_s;
}

void TestTimerWidget::commandsReachTheReceiver()
{
    QFETCH(boxsim::Personality, personality);
    QFETCH(QString, listPath);
    QFETCH(QString, deletePath);
    QFETCH(QString, cleanupTarget);
    WindowFixture f(personality);
    QVERIFY(f.load());
    QListWidget* list = showTimers(f);
    QVERIFY(list);
    const QList<boxsim::Timer> timers = f.receiver.box.timers();
    QCOMPARE(list->item(1)->data(TimerRole::ServiceName).toString(), timers.at(1).serviceName);
    // The first default timer is long over; the others wait.
    QVERIFY(!list->item(0)->icon().isNull());

    QTest::keyClick(list, Qt::Key_F5);
    QCOMPARE(list->count(), 0);
    QVERIFY(f.settle());
    QCOMPARE(f.targetsTo(listPath).size(), 1);
    QCOMPARE(list->count(), timers.size());

    clickRow(list, 1);
    QTest::keyClick(list, Qt::Key_Delete);
    QVERIFY(f.settle());
    QCOMPARE(f.targetsTo(deletePath).size(), 1);
    const QList<boxsim::Timer> left = f.receiver.box.timers();
    QCOMPARE(left.size(), timers.size() - 1);
    QVERIFY(std::none_of(left.begin(), left.end(),
                         [&](const boxsim::Timer& t) { return t.begin == timers.at(1).begin; }));
    QTRY_COMPARE(list->count(), left.size());

    f.receiver.box.clearRequests();
    f.find<QAction>("timerCleanAction")->trigger();
    QVERIFY(f.settle());
    QCOMPARE(f.receiver.targets().value(0), cleanupTarget);
    QCOMPARE(f.targetsTo(listPath).size(), 1);
    QTRY_COMPARE(list->count(), f.receiver.box.timers().size());
    QCOMPARE(list->count(), left.size() - 1); // the finished one is gone
}

void TestTimerWidget::deleteTakesTheChosenTimer_data()
{
    QTest::addColumn<bool>("goneMeanwhile");
    QTest::newRow("list refilled in another order") << false;
    QTest::newRow("chosen timer gone meanwhile") << true;
}

void TestTimerWidget::deleteTakesTheChosenTimer()
{
    QFETCH(bool, goneMeanwhile);
    WindowFixture f;
    QVERIFY(f.load());
    QListWidget* list = showTimers(f);
    QVERIFY(list);
    auto* menu = f.find<QMenu>("timerMenu");
    Q_EMIT list->customContextMenuRequested(QPoint(0, 0));
    QVERIFY(!menu->isVisible());

    const QList<boxsim::Timer> timers = f.receiver.box.timers();
    clickRow(list, 1);
    Q_EMIT list->customContextMenuRequested(list->visualItemRect(list->item(1)).center());
    QVERIFY(menu->isVisible());
    // While the menu is open the receiver's list changes and the page is refilled.
    f.receiver.box.clearTimers();
    for (qsizetype i = timers.size() - 1; i >= 0; --i) {
        if (i != 1 || !goneMeanwhile)
            QVERIFY(f.receiver.box.addTimer(timers.at(i)));
    }
    f.control()->requestTimerList();
    QVERIFY(f.settle());
    QCOMPARE(list->count(), f.receiver.box.timers().size());

    f.find<QAction>("timerDeleteAction")->trigger();
    menu->hide();
    QVERIFY(f.settle());
    const QStringList deletes = f.targetsTo(u"/web/timerdelete"_s);
    QCOMPARE(deletes.size(), goneMeanwhile ? 0 : 1);
    if (!goneMeanwhile) {
        QVERIFY(deletes.first().contains(u"begin=%1&end=%2"_s.arg(timers.at(1).begin).arg(timers.at(1).end)));
        QCOMPARE(f.receiver.box.timers().size(), timers.size() - 1);
    }
}

void TestTimerWidget::failedListKeepsTheRows_data()
{
    QTest::addColumn<boxsim::Personality>("personality");
    QTest::addColumn<boxsim::FaultKind>("fault");
    QTest::addColumn<bool>("listsNothing");
    QTest::newRow("e2 server error") << boxsim::Personality::Enigma2 << boxsim::FaultKind::Http500 << false;
    QTest::newRow("e2 unreadable answer")
        << boxsim::Personality::Enigma2 << boxsim::FaultKind::MalformedBody << false;
    QTest::newRow("e2 answer listing nothing")
        << boxsim::Personality::Enigma2 << boxsim::FaultKind::None << true;
    QTest::newRow("e1 unreadable answer")
        << boxsim::Personality::Enigma1 << boxsim::FaultKind::MalformedBody << false;
    QTest::newRow("e1 answer listing nothing")
        << boxsim::Personality::Enigma1 << boxsim::FaultKind::None << true;
}

void TestTimerWidget::failedListKeepsTheRows()
{
    QFETCH(boxsim::Personality, personality);
    QFETCH(boxsim::FaultKind, fault);
    QFETCH(bool, listsNothing);
    WindowFixture f(personality);
    QVERIFY(f.load());
    QListWidget* list = showTimers(f);
    QVERIFY(list);
    const int shown = list->count();
    auto* note = f.find<QLabel>("timerStatus_label");
    const QString path = personality == boxsim::Personality::Enigma2 ? u"/web/timerlist"_s : u"/xml/timers"_s;
    if (listsNothing)
        f.receiver.box.clearTimers();
    else
        f.receiver.box.setPathFault(path, {.kind = fault, .times = 1});

    QTest::keyClick(list, Qt::Key_F5);
    QVERIFY(f.settle());
    QCOMPARE(list->count(), listsNothing ? 0 : shown);
    QCOMPARE(note->isHidden(), listsNothing);

    // The next list that arrives takes the note away.
    QTest::keyClick(list, Qt::Key_F5);
    QVERIFY(f.settle());
    QVERIFY(note->isHidden());
    QCOMPARE(list->count(), f.receiver.box.timers().size());
}

QTEST_MAIN(TestTimerWidget)
#include "tst_timerwidget.moc"
