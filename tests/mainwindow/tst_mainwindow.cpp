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

// Each bouquet as "name: channel, channel, ...", as the database holds it.
QStringList lineUpOf(const TavrelDatabase& database)
{
    QStringList lines;
    for (const Bouquet* bouquet : database.bouquets()) {
        QStringList names;
        for (const Channel* channel : bouquet->channels)
            names << channel->name;
        lines << bouquet->name + u": "_s + names.join(u", ");
    }
    return lines;
}

// The same as the bouquet selector and the list pages show it, a line for each of either.
QStringList shownLineUp(const WindowFixture& f)
{
    const auto* combo = f.find<QComboBox>("Bouquet_comboBox");
    const auto* stack = f.find<QStackedWidget>("channelList_stackedWidget");
    QStringList lines;
    for (int b = 0; b < std::max(combo->count(), stack->count()); ++b) {
        QStringList names;
        if (const auto* list = qobject_cast<QListView*>(stack->widget(b))) {
            for (int c = 0; c < list->model()->rowCount(); ++c)
                names << list->model()->index(c, 0).data(ChannelRole::Name).toString();
        }
        lines << combo->itemText(b) + u": "_s + names.join(u", ");
    }
    return lines;
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
    f.tabs()->setCurrentIndex(4);
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

// A question answered yes and no.
void answers(const char* yes, const char* no)
{
    QTest::addColumn<bool>("yes");
    QTest::newRow(yes) << true;
    QTest::newRow(no) << false;
}

} // namespace

Q_DECLARE_METATYPE(boxsim::Personality)
Q_DECLARE_METATYPE(boxsim::FaultKind)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void listsCarryTheLoadedImageUntilReset()
    {
        WindowFixture f;
        QVERIFY(f.load());
        QVERIFY(!f.control()->currentDatabase()->bouquets().isEmpty());
        QCOMPARE(shownLineUp(f), lineUpOf(*f.control()->currentDatabase()));
        // The EPG of the shown bouquet arrives with the load or soon after it.
        f.control()->reloadEpgActionSlot();
        QVERIFY(f.settle());
        const int bouquet = f.find<QComboBox>("Bouquet_comboBox")->currentIndex();
        const QList<EpgItem*> events = f.control()->currentDatabase()->channel(bouquet, 0)->epgList();
        QVERIFY(events.size() > 1);
        const QModelIndex row = f.channelList()->model()->index(0, 0);
        QStringList shown;
        for (int role : {ChannelRole::CurrentEvent, ChannelRole::Progress, ChannelRole::MinutesLeft,
                         ChannelRole::NextEvent, ChannelRole::NextDuration})
            shown << row.data(role).toString();
        const EpgItem* now = events.first();
        const EpgItem* next = events.at(1);
        QCOMPARE(shown, QStringList({now->startTime + u' ' + now->title, QString::number(now->progress),
                                     QString::number(now->minutesLeft), next->startTime + u' ' + next->title,
                                     QString::number(next->duration / 60)}));

        f.tabs()->setCurrentIndex(1);
        Q_EMIT f.control()->resetServiceDataLists();
        QCOMPARE(f.tabs()->currentIndex(), 0);
        QCOMPARE(shownLineUp(f), QStringList());
        QCOMPARE(f.find<QListWidget>("movie_listWidget")->count(), 0);
    }

    void boxPositionSelectsBouquetAndRow_data()
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

    void boxPositionSelectsBouquetAndRow()
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
        QCOMPARE(f.find<QStackedWidget>("channelList_stackedWidget")->currentIndex(), bouquet);
        QCOMPARE(shownLineUp(f), lineUpOf(*database));
        const QListView* list = f.channelList();
        QCOMPARE(list->currentIndex().row(), expectedRow);
        if (expectedRow >= 0)
            QVERIFY(list->selectionModel()->isRowSelected(expectedRow, QModelIndex()));
        f.window->resetServiceDataSlot();
    }

    void contextMenus_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("opens");
        QTest::newRow("channel menu at the origin stays shut") << u"channelMenu"_s << QPoint(0, 0) << false;
        QTest::newRow("movie menu at the origin stays shut") << u"movieMenu"_s << QPoint(0, 0) << false;
        QTest::newRow("movie menu elsewhere opens") << u"movieMenu"_s << QPoint(20, 30) << true;
    }

    void contextMenus()
    {
        QFETCH(QString, menu);
        QFETCH(QPoint, at);
        WindowFixture f;
        QVERIFY(f.show());
        if (menu == u"channelMenu"_s)
            f.window->channel_listWidget_customContextMenuRequested(at);
        else
            f.window->movie_listWidget_customContextMenuRequested(at);
        auto* shown = f.window->findChild<QMenu*>(menu);
        QTEST(shown->isVisible(), "opens");
        shown->hide();
    }

    void tabChangesAskTheReceiver_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("path");
        // The timer list it asks for too is waited for by every test of the timer tab.
        QTest::newRow("timer tab asks for the status") << 4 << u"/web/powerstate"_s;
        QTest::newRow("bouquet tab checks the channels' events") << 1 << u"/web/epgmulti"_s;
    }

    void tabChangesAskTheReceiver()
    {
        QFETCH(int, tab);
        QFETCH(QString, path);
        WindowFixture f;
        QVERIFY(f.load());
        QVERIFY2(f.requestsWhen([&] { f.tabs()->setCurrentIndex(tab); }, path) > 0, qPrintable(path));
        // Back on the TV tab the panel asks for the status again.
        QVERIFY(f.requestsWhen([&f] { f.tabs()->setCurrentIndex(0); }, u"/web/powerstate"_s) > 0);
    }

    void indicatorCountsRequestsAndStopsAfterThirtySeconds()
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

    void displayStateAndPointerPauseThePanelRefresh()
    {
        // The Enigma1 receiver reports playback as a mode of its own.
        WindowFixture f(boxsim::Personality::Enigma1);
        QVERIFY(f.load());
        // A playing recording keeps the panel asking for the status every second.
        f.control()->requestMovieList(true);
        QVERIFY(f.settle());
        f.control()->playMovieAt(0);
        QVERIFY(f.settle());
        const QString status = u"/cgi-bin/status"_s;
        f.pointer(true);
        QVERIFY(f.settle());
        QCOMPARE(f.control()->currentDatabase()->statusData()->mode, BoxModeMovie);
        QVERIFY(f.requestsAfter(1000, status) > 0);

        f.window->setDisplayState(u"off"_s);
        QCOMPARE(f.requestsAfter(3000, status), 0);

        // Display on again, but the pointer is elsewhere: still paused.
        f.pointer(false);
        f.window->setDisplayState(u"on"_s);
        QCOMPARE(f.requestsAfter(3000, status), 0);

        // The pointer comes back: the panel refreshes at once and then every second.
        QVERIFY(f.requestsWhen([&f] { f.pointer(true); }, status) > 0);
        QVERIFY(f.requestsAfter(1000, status) > 0);
    }

    void tabLabelsFollowTheShape_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QStringList>("labels"); // of the TV and the timer tab
        QTest::newRow("landscape shows texts") << QSize(800, 480) << QStringList{u"TV"_s, u"Timer"_s};
        QTest::newRow("portrait shows icons only") << QSize(480, 800) << QStringList{QString(), QString()};
    }

    void tabLabelsFollowTheShape()
    {
        QFETCH(QSize, size);
        WindowFixture f;
        QVERIFY(f.show());
        // From the other shape first, so the labels have to change.
        f.window->resize(size.transposed());
        QTRY_COMPARE(f.window->size(), size.transposed());
        f.window->resize(size);
        QTRY_COMPARE(f.window->size(), size);
        QTEST(QStringList({f.tabs()->tabText(0), f.tabs()->tabText(4)}), "labels");
        QVERIFY(!f.tabs()->tabIcon(0).isNull());
    }

    void extrasChooser_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("page");
        QTest::newRow("satellite finder") << u"satfinderAction_pushButton"_s << u"satfinder_page"_s;
        QTest::newRow("information") << u"infoAction_pushButton"_s << u"infoPage"_s;
        QTest::newRow("messages for an Enigma2 receiver")
            << u"messageSenderAction_pushButton"_s << u"messageE2Page"_s;
    }

    void extrasChooser()
    {
        QFETCH(QString, button);
        QFETCH(QString, page);
        WindowFixture f;
        QVERIFY(f.load());
        QVERIFY(f.show());
        f.trigger("extrasAction");
        const QList<QWidget*> windows = QApplication::topLevelWidgets();
        const auto found = std::find_if(windows.begin(), windows.end(), [](const QWidget* window) {
            return window->objectName() == u"extrasDialog"_s;
        });
        QVERIFY(found != windows.end() && (*found)->isVisible());
        (*found)->findChild<QPushButton*>(button)->click();
        QVERIFY(!(*found)->isVisible());
        QWidget* opened = f.window->findChild<QWidget*>(page);
        QVERIFY(opened);
        QTRY_VERIFY(opened->isWindow() && opened->isVisible());
        QVERIFY(f.window->shell()->isStackedWindowOpen(opened));
        f.window->shell()->closeStackedWindow(opened);
    }

    void renameSendsTheNewTitle_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("renames");
        QTest::newRow("OK renames") << u"ok"_s << u"Krimi & mehr"_s << 1;
        QTest::newRow("Cancel leaves the title") << u"cancel"_s << u"Krimi & mehr"_s << 0;
        QTest::newRow("a title of blanks is not sent") << u"ok"_s << u"   "_s << 0;
        QTest::newRow("a list refilled meanwhile renames nothing") << u"refilled"_s << u"Krimi"_s << 0;
    }

    void renameSendsTheNewTitle()
    {
        QFETCH(QString, ending);
        QFETCH(QString, title);
        QFETCH(int, renames);
        WindowFixture f(boxsim::Personality::Enigma1);
        QVERIFY(f.load());
        QListWidget* movies = f.showMovies();
        QVERIFY(movies);
        // Only an Enigma1 receiver can rename a recording.
        QVERIFY(f.find<QAction>("movieRenameAction")->isVisible());
        movies->setCurrentRow(0);
        f.window->movieRename_triggered();
        auto* editor = f.find<QLineEdit>("movieRename_lineEdit");
        QVERIFY(editor);
        QCOMPARE(editor->text(), movies->item(0)->text());
        editor->setText(title);
        const auto* ok = f.window->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QCOMPARE(ok->isEnabled(), !title.trimmed().isEmpty());
        if (ending == u"cancel"_s) {
            f.window->movieRenameCancel_triggered();
        } else {
            if (ending == u"refilled"_s)
                f.window->receivedMovieListData(f.control()->currentDatabase());
            f.window->movieRenameOK_triggered();
        }
        QVERIFY(f.settle());
        QTRY_VERIFY(!f.find<QDialog>("movieRename_dialog"));
        const QList<boxsim::LoggedRequest> sent = f.receiver.requestsTo("/cgi-bin/renameMovie");
        QCOMPARE(sent.size(), renames);
        if (renames > 0)
            QCOMPARE(sent.first().queryValue(u"desc"_s), title);
    }

    void movieDeleteAsksFirst_data() { answers("yes deletes the recording", "no keeps it"); }

    void movieDeleteAsksFirst()
    {
        QFETCH(bool, yes);
        WindowFixture f;
        QVERIFY(f.load());
        QListWidget* movies = f.showMovies();
        QVERIFY(movies);
        // The title comes from the receiver: the question shows it as text, never as markup.
        MovieEntry* movie = f.control()->currentDatabase()->movieAt(1);
        movie->title = u"<b>Krimi</b> & mehr"_s;
        const QString reference = movie->serviceReference; // the entry goes with the deletion
        movies->setCurrentRow(1);
        f.boxes.answerNext(yes ? MessageBoxAnswerer::Answer::Accept : MessageBoxAnswerer::Answer::Reject);
        f.window->movieDelete_triggered();
        QCOMPARE(f.boxes.askedTexts(),
                 QStringList{u"Delete the recording \"&lt;b&gt;Krimi&lt;/b&gt; &amp; mehr\"?"_s});
        QVERIFY(f.settle());
        const QList<boxsim::LoggedRequest> sent = f.receiver.requestsTo("/web/moviedelete");
        QCOMPARE(sent.size(), yes ? 1 : 0);
        if (yes)
            QCOMPARE(sent.first().queryValue(u"sRef"_s), reference);

        // The row of a deleted recording goes; an index from outside the list removes nothing.
        const int before = movies->count();
        const QString second = movies->item(1)->data(Qt::UserRole).toString();
        f.window->receivedMovieDeleted(0);
        QCOMPARE(movies->count(), before - 1);
        QCOMPARE(movies->item(0)->data(Qt::UserRole).toString(), second);
        f.window->receivedMovieDeleted(before + 3);
        QCOMPARE(movies->count(), before - 1);
    }

    void quitAsksFirst_data() { answers("yes closes the window", "no keeps it open"); }

    void quitAsksFirst()
    {
        QFETCH(bool, yes);
        WindowFixture f;
        QVERIFY(f.show());
        f.boxes.answerNext(yes ? MessageBoxAnswerer::Answer::Accept : MessageBoxAnswerer::Answer::Reject);
        f.window->closeButton_triggered();
        QCOMPARE(f.boxes.askedTexts(), QStringList{u"TavrelControl really quit?"_s});
        QCOMPARE(f.window->isVisible(), !yes);
    }

    void timerStateIcons_data()
    {
        QTest::addColumn<int>("webIf");
        QTest::addColumn<QString>(
            "fields");                  // Enigma1: status; Enigma2: disabled, state, justPlay [cancelled]
        QTest::addColumn<int>("begin"); // seconds from now
        QTest::addColumn<int>("end");
        QTest::addColumn<bool>("boxRecording");
        QTest::addColumn<QString>("icon");
        QTest::newRow("e2 running zap") << 1 << u"0 2 1"_s << -60 << 60 << false << zap;
        QTest::newRow("e2 running recording") << 1 << u"0 2 0"_s << -60 << 60 << false << rec;
        QTest::newRow("e2 disabled running") << 1 << u"1 2 0"_s << -60 << 60 << false << QString();
        QTest::newRow("e2 running, still preparing") << 1 << u"0 1 0"_s << -60 << 60 << false << QString();
        QTest::newRow("e2 cancelled while running")
            << 1 << u"0 2 0 cancelled"_s << -60 << 60 << false << cancel;
        QTest::newRow("e2 cancelled in the future")
            << 1 << u"0 0 0 cancelled"_s << 60 << 120 << false << cancel;
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

    void timerStateIcons()
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

    void timerCommandsReachTheReceiver_data()
    {
        QTest::addColumn<boxsim::Personality>("personality");
        QTest::addColumn<QStringList>("paths"); // list, delete, clean-up
        QTest::addColumn<boxsim::FaultKind>("listFault");
        QTest::newRow("enigma2") << boxsim::Personality::Enigma2
                                 << u"/web/timerlist /web/timerdelete /web/timercleanup"_s.split(u' ')
                                 << boxsim::FaultKind::Http500;
        QTest::newRow("enigma1") << boxsim::Personality::Enigma1
                                 << u"/xml/timers /deleteTimerEvent /cleanupTimerList"_s.split(u' ')
                                 << boxsim::FaultKind::MalformedBody;
    }

    void timerCommandsReachTheReceiver()
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
        QCOMPARE(f.requestsWhen([list] { QTest::keyClick(list, Qt::Key_Delete); }, paths.at(1)), 1);
        const qsizetype left = f.receiver.box.timers().size();
        QCOMPARE(left, timers.size() - 1);
        QTRY_COMPARE(list->count(), left);

        // Cleaned up first, then the list asked for again.
        QCOMPARE(f.requestsWhen([&f] { f.trigger("timerCleanAction"); }, paths.at(0)), 1);
        QCOMPARE(f.receiver.targets().value(0).section(u'?', 0, 0), paths.at(2));
        QTRY_COMPARE(list->count(), left - 1); // the finished one is gone
        QVERIFY(note->isHidden());

        // A list with nothing in it is an empty page.
        f.receiver.box.clearTimers();
        QTest::keyClick(list, Qt::Key_F5);
        QVERIFY(f.settle());
        QCOMPARE(list->count(), 0);
        QVERIFY(note->isHidden());
    }

    void timerDeleteTakesTheChosenTimer_data()
    {
        QTest::addColumn<bool>("goneMeanwhile");
        QTest::newRow("list refilled in another order") << false;
        QTest::newRow("chosen timer gone meanwhile") << true;
    }

    void timerDeleteTakesTheChosenTimer()
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
            QVERIFY(
                deletes.first().contains(u"begin=%1&end=%2"_s.arg(timers.at(1).begin).arg(timers.at(1).end)));
            QCOMPARE(f.receiver.box.timers().size(), timers.size() - 1);
        }
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
