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
};

void TestTimerWidget::stateIcons_data()
{
    QTest::addColumn<int>("webIf");
    QTest::addColumn<QString>("fields"); // Enigma1: status; Enigma2: disabled, state, justPlay [cancelled]
    QTest::addColumn<int>("begin");      // seconds from now
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("boxRecording");
    QTest::addColumn<QString>("icon");
    QTest::newRow("e2 running zap") << 1 << u"0 2 1"_s << -60 << 60 << false << zap;
    QTest::newRow("e2 running recording") << 1 << u"0 2 0"_s << -60 << 60 << false << rec;
    QTest::newRow("e2 disabled running") << 1 << u"1 2 0"_s << -60 << 60 << false << QString();
    QTest::newRow("e2 running, still preparing") << 1 << u"0 1 0"_s << -60 << 60 << false << QString();
    QTest::newRow("e2 cancelled while running") << 1 << u"0 2 0 cancelled"_s << -60 << 60 << false << cancel;
    QTest::newRow("e2 cancelled in the future") << 1 << u"0 0 0 cancelled"_s << 60 << 120 << false << cancel;
    QTest::newRow("e2 finished") << 1 << u"0 3 0"_s << -120 << -60 << false << ok;
    QTest::newRow("e2 future") << 1 << u"0 0 1"_s << 60 << 120 << false << waiting;
    QTest::newRow("e2 beginning this second") << 1 << u"0 2 0"_s << 0 << 60 << false << QString();
    QTest::newRow("e1 active, box records") << 0 << u"ACTIVE"_s << -60 << 60 << true << rec;
    QTest::newRow("e1 active, box does not record") << 0 << u"ACTIVE"_s << -60 << 60 << false << cancel;
    QTest::newRow("e1 active in the future") << 0 << u"ACTIVE"_s << 60 << 120 << true << waiting;
    QTest::newRow("e1 active, ended") << 0 << u"ACTIVE"_s << -120 << -60 << false << QString();
    QTest::newRow("e1 finished") << 0 << u"FINISHED"_s << 60 << 120 << false << ok;
    QTest::newRow("e1 error") << 0 << u"ERROR"_s << 60 << 120 << false << cancel;
    QTest::newRow("e1 unknown status") << 0 << u"active"_s << 60 << 120 << false << QString();
    QTest::newRow("other web interface") << 2 << u"FINISHED"_s << -120 << -60 << true << QString();
}

void TestTimerWidget::stateIcons()
{
    QFETCH(int, webIf);
    QFETCH(QString, fields);
    QFETCH(int, begin);
    QFETCH(int, end);
    QFETCH(bool, boxRecording);
    constexpr qint64 now = SimulatedReceiver::startTime;
    TimerEntry timer;
    const QStringList e2 = fields.split(u' ');
    timer.status = fields;
    timer.disabled = e2.value(0);
    timer.state = e2.value(1);
    timer.justPlay = e2.value(2);
    timer.cancelled = e2.value(3) == u"cancelled";
    timer.begin = uint(now + begin);
    timer.end = uint(now + end);
    QTEST(TimerStateIcon::path(timer, webIf, boxRecording, now), "icon");
}

void TestTimerWidget::commandsReachTheReceiver_data()
{
    QTest::addColumn<boxsim::Personality>("personality");
    QTest::addColumn<QStringList>("paths"); // list, delete, clean-up
    QTest::addColumn<boxsim::FaultKind>("listFault");
    QTest::newRow("enigma2") << boxsim::Personality::Enigma2
                             << QStringList{u"/web/timerlist"_s, u"/web/timerdelete"_s,
                                            u"/web/timercleanup"_s}
                             << boxsim::FaultKind::Http500;
    QTest::newRow("enigma1") << boxsim::Personality::Enigma1
                             << QStringList{u"/xml/timers"_s, u"/deleteTimerEvent"_s, u"/cleanupTimerList"_s}
                             << boxsim::FaultKind::MalformedBody;
}

void TestTimerWidget::commandsReachTheReceiver()
{
    QFETCH(boxsim::Personality, personality);
    QFETCH(QStringList, paths);
    QFETCH(boxsim::FaultKind, listFault);
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
    QCOMPARE(f.targetsTo(paths.at(0)).size(), 1);
    QCOMPARE(list->count(), timers.size());
    // A list that cannot be had keeps the rows and says so; the next one takes the note away.
    auto* note = f.find<QLabel>("timerStatus_label");
    f.receiver.box.setPathFault(paths.at(0), {.kind = listFault, .times = 1});
    QTest::keyClick(list, Qt::Key_F5);
    QVERIFY(f.settle());
    QCOMPARE(list->count(), timers.size());
    QVERIFY(!note->isHidden());

    clickRow(list, 1);
    QTest::keyClick(list, Qt::Key_Delete);
    QVERIFY(f.settle());
    QCOMPARE(f.targetsTo(paths.at(1)).size(), 1);
    const qsizetype left = f.receiver.box.timers().size();
    QCOMPARE(left, timers.size() - 1);
    QTRY_COMPARE(list->count(), left);

    f.receiver.box.clearRequests();
    f.trigger("timerCleanAction");
    QVERIFY(f.settle());
    QCOMPARE(f.receiver.targets().value(0).section(u'?', 0, 0), paths.at(2));
    QCOMPARE(f.targetsTo(paths.at(0)).size(), 1);
    QTRY_COMPARE(list->count(), left - 1); // the finished one is gone
    QVERIFY(note->isHidden());

    // A list with nothing in it is an empty page.
    f.receiver.box.clearTimers();
    QTest::keyClick(list, Qt::Key_F5);
    QVERIFY(f.settle());
    QCOMPARE(list->count(), 0);
    QVERIFY(note->isHidden());
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
    // The EPG page has an add-timer menu of the same name.
    auto* menu = f.find<QWidget>("timerWidget")->findChild<QMenu*>(u"timerMenu"_s);
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

    f.trigger("timerDeleteAction");
    menu->hide();
    QVERIFY(f.settle());
    const QStringList deletes = f.targetsTo(u"/web/timerdelete"_s);
    QCOMPARE(deletes.size(), goneMeanwhile ? 0 : 1);
    if (!goneMeanwhile) {
        QVERIFY(deletes.first().contains(u"begin=%1&end=%2"_s.arg(timers.at(1).begin).arg(timers.at(1).end)));
        QCOMPARE(f.receiver.box.timers().size(), timers.size() - 1);
    }
}

QTEST_MAIN(TestTimerWidget)
#include "tst_timerwidget.moc"
