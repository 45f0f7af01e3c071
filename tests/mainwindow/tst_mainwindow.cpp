#include "model/bouquet.h"
#include "model/channel.h"
#include "model/epgitem.h"
#include "model/records.h"
#include "model/tavreldatabase.h"
#include "tests/mainwindow/windowfixture.h"
#include "ui/delegates/itemroles.h"
#include "ui/pages/timerstateicon.h"
#include "ui/shell/shellservices.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {

// A line-up made by hand: bouquets with these numbers of channels.
std::unique_ptr<TavrelDatabase> lineUp(const Clock& clock, const QList<int>& channelCounts)
{
    auto database = std::make_unique<TavrelDatabase>(clock);
    OwnedList<Bouquet> bouquets;
    for (int b = 0; b < channelCounts.size(); ++b) {
        auto bouquet = std::make_unique<Bouquet>();
        bouquet->name = QStringLiteral("Bouquet %1").arg(b);
        bouquet->reference = QStringLiteral("ref-%1").arg(b);
        for (int c = 0; c < channelCounts.at(b); ++c) {
            auto channel = std::make_unique<Channel>();
            channel->name = QStringLiteral("Channel %1.%2").arg(b).arg(c);
            channel->serviceReference = QStringLiteral("1:0:1:%1:%2:0:0:0:0:0:").arg(b).arg(c);
            bouquet->addChannel(std::move(channel));
        }
        bouquets.push_back(std::move(bouquet));
    }
    database->setBouquets(std::move(bouquets));
    return database;
}

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

Q_DECLARE_METATYPE(boxsim::Personality)
Q_DECLARE_METATYPE(boxsim::FaultKind)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void listsCarryTheLoadedImage();
    void boxPositionSelectsBouquetAndRow_data();
    void boxPositionSelectsBouquetAndRow();
    void resetEmptiesTheLists();
    void movieDeletedRemovesItsRow();
    void contextMenus_data();
    void contextMenus();
    void tabChangesAskTheReceiver_data();
    void tabChangesAskTheReceiver();
    void indicatorCountsRequestsAndStopsAfterThirtySeconds();
    void displayStateAndPointerPauseThePanelRefresh();
    void tabLabelsFollowTheShape_data();
    void tabLabelsFollowTheShape();
    void extrasChooser_data();
    void extrasChooser();
    void renameSendsTheNewTitle_data();
    void renameSendsTheNewTitle();
    void movieDeleteAsksFirst_data();
    void movieDeleteAsksFirst();
    void quitAsksFirst_data();
    void quitAsksFirst();
    void timerStateIcons_data();
    void timerStateIcons();
    void timerCommandsReachTheReceiver_data();
    void timerCommandsReachTheReceiver();
    void timerDeleteTakesTheChosenTimer_data();
    void timerDeleteTakesTheChosenTimer();
};

void TestMainWindow::listsCarryTheLoadedImage()
{
    WindowFixture f;
    QVERIFY(f.load());
    const QList<Bouquet*> bouquets = f.control()->currentDatabase()->bouquets();
    auto* combo = f.find<QComboBox>("Bouquet_comboBox");
    auto* stack = f.find<QStackedWidget>("channelList_stackedWidget");
    QVERIFY(!bouquets.isEmpty());
    QCOMPARE(combo->count(), bouquets.size());
    QCOMPARE(stack->count(), bouquets.size());
    for (int b = 0; b < bouquets.size(); ++b) {
        QCOMPARE(combo->itemText(b), bouquets.at(b)->name);
        const QAbstractItemModel* rows = qobject_cast<QListView*>(stack->widget(b))->model();
        QCOMPARE(rows->rowCount(), bouquets.at(b)->channels.size());
        for (int c = 0; c < rows->rowCount(); ++c)
            QCOMPARE(rows->index(c, 0).data(ChannelRole::Name).toString(),
                     bouquets.at(b)->channels.at(c)->name);
    }
    // The EPG of the shown bouquet arrives with the load or soon after it.
    f.control()->reloadEpgActionSlot();
    QVERIFY(f.settle());
    const int bouquet = combo->currentIndex();
    const auto* list = qobject_cast<QListView*>(stack->currentWidget());
    const Channel* channel = f.control()->currentDatabase()->channel(bouquet, 0);
    QVERIFY(channel->hasEpg());
    const EpgItem* now = channel->epgList().first();
    const QModelIndex row = list->model()->index(0, 0);
    QCOMPARE(row.data(ChannelRole::CurrentEvent).toString(), now->startTime + QLatin1Char(' ') + now->title);
    QCOMPARE(row.data(ChannelRole::Progress).toInt(), now->progress);
    QCOMPARE(row.data(ChannelRole::MinutesLeft).toInt(), now->minutesLeft);
    if (channel->epgList().size() > 1) {
        const EpgItem* next = channel->epgList().at(1);
        QCOMPARE(row.data(ChannelRole::NextEvent).toString(),
                 next->startTime + QLatin1Char(' ') + next->title);
        QCOMPARE(row.data(ChannelRole::NextDuration).toInt(), next->duration / 60);
    }
}

void TestMainWindow::boxPositionSelectsBouquetAndRow_data()
{
    QTest::addColumn<int>("bouquet");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("expectedRow");
    QTest::newRow("first bouquet, third row") << 0 << 2 << 2;
    QTest::newRow("row beyond 127 keeps its number") << 0 << 150 << 150;
    QTest::newRow("last bouquet, last row") << 2 << 4 << 4;
    QTest::newRow("row past the end leaves the selection") << 2 << 5 << 0;
    QTest::newRow("negative row leaves the selection") << 2 << -1 << 0;
    QTest::newRow("bouquet without channels keeps its empty page") << 1 << 0 << -1;
}

void TestMainWindow::boxPositionSelectsBouquetAndRow()
{
    QFETCH(int, bouquet);
    QFETCH(int, row);
    QFETCH(int, expectedRow);
    WindowFixture f;
    const auto database = lineUp(f.receiver.clock, {200, 0, 5});
    f.window->receivedServiceData(database.get());
    Q_EMIT f.control()->broadcastBouquetIndex(bouquet);
    Q_EMIT f.control()->broadcastChannelIndex(row);
    QCOMPARE(f.find<QComboBox>("Bouquet_comboBox")->currentIndex(), bouquet);
    auto* stack = f.find<QStackedWidget>("channelList_stackedWidget");
    QCOMPARE(stack->count(), 3);
    QCOMPARE(stack->currentIndex(), bouquet);
    const auto* list = qobject_cast<QListView*>(stack->currentWidget());
    QCOMPARE(list->model()->rowCount(), database->bouquets().at(bouquet)->channels.size());
    QCOMPARE(list->currentIndex().row(), expectedRow);
    if (expectedRow >= 0)
        QVERIFY(list->selectionModel()->isRowSelected(expectedRow, QModelIndex()));
    f.window->resetServiceDataSlot();
}

void TestMainWindow::resetEmptiesTheLists()
{
    WindowFixture f;
    QVERIFY(f.load());
    auto* tabs = f.find<QTabWidget>("tabWidget");
    tabs->setCurrentIndex(1);
    Q_EMIT f.control()->resetServiceDataLists();
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(f.find<QComboBox>("Bouquet_comboBox")->count(), 0);
    QCOMPARE(f.find<QStackedWidget>("channelList_stackedWidget")->count(), 0);
    QCOMPARE(f.find<QListWidget>("movie_listWidget")->count(), 0);
}

void TestMainWindow::movieDeletedRemovesItsRow()
{
    WindowFixture f;
    QVERIFY(f.load());
    QListWidget* movies = f.showMovies();
    QVERIFY(movies);
    const int before = movies->count();
    const QString second = movies->item(1)->data(Qt::UserRole).toString();
    f.window->receivedMovieDeleted(0);
    QCOMPARE(movies->count(), before - 1);
    QCOMPARE(movies->item(0)->data(Qt::UserRole).toString(), second);
    f.window->receivedMovieDeleted(before + 3);
    QCOMPARE(movies->count(), before - 1);
}

void TestMainWindow::contextMenus_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("opens");
    QTest::newRow("channel menu at the origin stays shut") << u"channelMenu"_s << QPoint(0, 0) << false;
    QTest::newRow("movie menu at the origin stays shut") << u"movieMenu"_s << QPoint(0, 0) << false;
    QTest::newRow("movie menu elsewhere opens") << u"movieMenu"_s << QPoint(20, 30) << true;
}

void TestMainWindow::contextMenus()
{
    QFETCH(QString, menu);
    QFETCH(QPoint, at);
    QFETCH(bool, opens);
    WindowFixture f;
    QVERIFY(f.show());
    if (menu == QLatin1String("channelMenu"))
        f.window->channel_listWidget_customContextMenuRequested(at);
    else
        f.window->movie_listWidget_customContextMenuRequested(at);
    auto* shown = f.window->findChild<QMenu*>(menu);
    QVERIFY(shown);
    QCOMPARE(shown->isVisible(), opens);
    shown->hide();
}

void TestMainWindow::tabChangesAskTheReceiver_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QStringList>("paths");
    // The timer list it asks for too is waited for by every test of the timer tab.
    QTest::newRow("timer tab asks for the status") << 4 << QStringList{u"/web/powerstate"_s};
    QTest::newRow("bouquet tab checks the channels' events") << 1 << QStringList{u"/web/epgmulti"_s};
}

void TestMainWindow::tabChangesAskTheReceiver()
{
    QFETCH(int, tab);
    QFETCH(QStringList, paths);
    WindowFixture f;
    QVERIFY(f.load());
    f.find<QTabWidget>("tabWidget")->setCurrentIndex(tab);
    QVERIFY(f.settle());
    for (const QString& path : std::as_const(paths))
        QVERIFY2(!f.targetsTo(path).isEmpty(), qPrintable(path));

    // Back on the TV tab the panel asks for the status again.
    f.receiver.box.clearRequests();
    f.find<QTabWidget>("tabWidget")->setCurrentIndex(0);
    QVERIFY(f.settle());
    QVERIFY(!f.targetsTo(QStringLiteral("/web/powerstate")).isEmpty());
}

void TestMainWindow::indicatorCountsRequestsAndStopsAfterThirtySeconds()
{
    WindowFixture f;
    ShellServices* shell = f.window->shell();
    f.window->setNetworkRequestStateSlot(true);
    f.window->setNetworkRequestStateSlot(true);
    f.window->setNetworkRequestStateSlot(false);
    QVERIFY(shell->isBusyIndicatorVisible());
    QCOMPARE(f.window->activeRequests(), 1);
    f.window->setNetworkRequestStateSlot(false);
    QVERIFY(!shell->isBusyIndicatorVisible());
    // An end without a start does not drive the count below zero.
    f.window->setNetworkRequestStateSlot(false);
    QCOMPARE(f.window->activeRequests(), 0);

    // Starts whose ends never come: thirty seconds after the last start the indicator stops.
    f.window->setNetworkRequestStateSlot(true);
    f.timers.advance(20000);
    f.window->setNetworkRequestStateSlot(true);
    f.timers.advance(29999);
    QVERIFY(shell->isBusyIndicatorVisible());
    f.timers.advance(1);
    QVERIFY(!shell->isBusyIndicatorVisible());
    QCOMPARE(f.window->activeRequests(), 0);
}

void TestMainWindow::displayStateAndPointerPauseThePanelRefresh()
{
    // The Enigma1 receiver reports playback as a mode of its own.
    WindowFixture f(boxsim::Personality::Enigma1);
    QVERIFY(f.load());
    // A playing recording keeps the panel asking for the status every second.
    f.control()->requestMovieList(true);
    QVERIFY(f.settle());
    f.control()->playMovieAt(0);
    QVERIFY(f.settle());
    const auto refreshes = [&f](int ms) {
        f.receiver.box.clearRequests();
        f.timers.advance(ms);
        if (!f.settle())
            return -1;
        return int(f.targetsTo(QStringLiteral("/cgi-bin/status")).size());
    };

    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(f.window.get(), &enter);
    QVERIFY(f.settle());
    QCOMPARE(f.control()->currentDatabase()->statusData()->mode, BoxModeMovie);
    QVERIFY(refreshes(1000) > 0);

    f.window->setDisplayState(QStringLiteral("off"));
    QCOMPARE(refreshes(3000), 0);

    // Display on again, but the pointer is elsewhere: still paused.
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(f.window.get(), &leave);
    f.window->setDisplayState(QStringLiteral("on"));
    QCOMPARE(refreshes(3000), 0);

    // The pointer comes back: the panel refreshes at once and then every second.
    f.receiver.box.clearRequests();
    QCoreApplication::sendEvent(f.window.get(), &enter);
    QVERIFY(f.settle());
    QVERIFY(!f.targetsTo(QStringLiteral("/cgi-bin/status")).isEmpty());
    QVERIFY(refreshes(1000) > 0);
}

void TestMainWindow::tabLabelsFollowTheShape_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("firstLabel");
    QTest::newRow("landscape shows texts") << QSize(800, 480) << u"TV"_s;
    QTest::newRow("portrait shows icons only") << QSize(480, 800) << QString();
}

void TestMainWindow::tabLabelsFollowTheShape()
{
    QFETCH(QSize, size);
    QFETCH(QString, firstLabel);
    WindowFixture f;
    QVERIFY(f.show());
    // From the other shape first, so the labels have to change.
    f.window->resize(size.transposed());
    QTRY_COMPARE(f.window->size(), size.transposed());
    f.window->resize(size);
    QTRY_COMPARE(f.window->size(), size);
    auto* tabs = f.find<QTabWidget>("tabWidget");
    QCOMPARE(tabs->tabText(0), firstLabel);
    QCOMPARE(tabs->tabText(4), firstLabel.isEmpty() ? QString() : QStringLiteral("Timer"));
    QVERIFY(!tabs->tabIcon(0).isNull());
}

void TestMainWindow::extrasChooser_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("page");
    QTest::newRow("satellite finder") << u"satfinderAction_pushButton"_s << u"satfinder_page"_s;
    QTest::newRow("information") << u"infoAction_pushButton"_s << u"infoPage"_s;
    QTest::newRow("messages for an Enigma2 receiver")
        << u"messageSenderAction_pushButton"_s << u"messageE2Page"_s;
}

void TestMainWindow::extrasChooser()
{
    QFETCH(QString, button);
    QFETCH(QString, page);
    WindowFixture f;
    QVERIFY(f.load());
    QVERIFY(f.show());
    f.window->findChild<QAction*>(QStringLiteral("extrasAction"))->trigger();
    QDialog* chooser = nullptr;
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->objectName() == QLatin1String("extrasDialog"))
            chooser = qobject_cast<QDialog*>(window);
    }
    QVERIFY(chooser && chooser->isVisible());

    chooser->findChild<QPushButton*>(button)->click();
    QVERIFY(!chooser->isVisible());
    QWidget* opened = f.window->findChild<QWidget*>(page);
    QVERIFY(opened);
    QTRY_VERIFY(opened->isWindow() && opened->isVisible());
    QVERIFY(f.window->shell()->isStackedWindowOpen(opened));
    f.window->shell()->closeStackedWindow(opened);
}

void TestMainWindow::renameSendsTheNewTitle_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("renames");
    QTest::newRow("OK renames") << u"ok"_s << u"Krimi & mehr"_s << 1;
    QTest::newRow("Cancel leaves the title") << u"cancel"_s << u"Krimi & mehr"_s << 0;
    QTest::newRow("a title of blanks is not sent") << u"ok"_s << u"   "_s << 0;
    QTest::newRow("a list refilled meanwhile renames nothing") << u"refilled"_s << u"Krimi"_s << 0;
}

void TestMainWindow::renameSendsTheNewTitle()
{
    QFETCH(QString, ending);
    QFETCH(QString, title);
    QFETCH(int, renames);
    WindowFixture f(boxsim::Personality::Enigma1);
    QVERIFY(f.load());
    QListWidget* movies = f.showMovies();
    QVERIFY(movies);
    // Only an Enigma1 receiver can rename a recording.
    QVERIFY(f.window->findChild<QAction*>(QStringLiteral("movieRenameAction"))->isVisible());
    movies->setCurrentRow(0);
    f.window->movieRename_triggered();
    auto* editor = f.window->findChild<QLineEdit*>(QStringLiteral("movieRename_lineEdit"));
    QVERIFY(editor);
    QCOMPARE(editor->text(), movies->item(0)->text());
    editor->setText(title);
    const auto* ok = f.window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QCOMPARE(ok->isEnabled(), !title.trimmed().isEmpty());
    if (ending == QLatin1String("cancel")) {
        f.window->movieRenameCancel_triggered();
    } else {
        if (ending == QLatin1String("refilled"))
            f.window->receivedMovieListData(f.control()->currentDatabase());
        f.window->movieRenameOK_triggered();
    }
    QVERIFY(f.settle());
    QTRY_VERIFY(!f.window->findChild<QDialog*>(QStringLiteral("movieRename_dialog")));
    const QList<boxsim::LoggedRequest> sent = f.receiver.requestsTo("/cgi-bin/renameMovie");
    QCOMPARE(sent.size(), renames);
    if (renames > 0)
        QCOMPARE(sent.first().queryValue(QStringLiteral("desc")), title);
}

void TestMainWindow::movieDeleteAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes deletes the recording") << true;
    QTest::newRow("no keeps it") << false;
}

void TestMainWindow::movieDeleteAsksFirst()
{
    QFETCH(bool, yes);
    WindowFixture f;
    QVERIFY(f.load());
    QListWidget* movies = f.showMovies();
    QVERIFY(movies);
    // The title comes from the receiver: the question shows it as text, never as markup.
    MovieEntry* movie = f.control()->currentDatabase()->movieAt(1);
    movie->title = QStringLiteral("<b>Krimi</b> & mehr");
    const QString reference = movie->serviceReference; // the entry goes with the deletion
    movies->setCurrentRow(1);
    f.boxes.answerNext(yes ? MessageBoxAnswerer::Answer::Accept : MessageBoxAnswerer::Answer::Reject);
    f.window->movieDelete_triggered();
    QCOMPARE(f.boxes.askedTexts(),
             QStringList{QStringLiteral("Delete the recording \"&lt;b&gt;Krimi&lt;/b&gt; &amp; mehr\"?")});
    QVERIFY(f.settle());
    const QList<boxsim::LoggedRequest> sent = f.receiver.requestsTo("/web/moviedelete");
    QCOMPARE(sent.size(), yes ? 1 : 0);
    if (yes)
        QCOMPARE(sent.first().queryValue(QStringLiteral("sRef")), reference);
}

void TestMainWindow::quitAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes closes the window") << true;
    QTest::newRow("no keeps it open") << false;
}

void TestMainWindow::quitAsksFirst()
{
    QFETCH(bool, yes);
    WindowFixture f;
    QVERIFY(f.show());
    f.boxes.answerNext(yes ? MessageBoxAnswerer::Answer::Accept : MessageBoxAnswerer::Answer::Reject);
    f.window->closeButton_triggered();
    QCOMPARE(f.boxes.askedTexts(), QStringList{QStringLiteral("TavrelControl really quit?")});
    QCOMPARE(f.window->isVisible(), !yes);
}

void TestMainWindow::timerStateIcons_data()
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

void TestMainWindow::timerStateIcons()
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

void TestMainWindow::timerCommandsReachTheReceiver_data()
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

void TestMainWindow::timerCommandsReachTheReceiver()
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

void TestMainWindow::timerDeleteTakesTheChosenTimer_data()
{
    QTest::addColumn<bool>("goneMeanwhile");
    QTest::newRow("list refilled in another order") << false;
    QTest::newRow("chosen timer gone meanwhile") << true;
}

void TestMainWindow::timerDeleteTakesTheChosenTimer()
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

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
