// The main window as a desktop user meets it: mouse and keyboard on the lists, the live
// refresh, a receiver that goes away and comes back, the texts of dates, and watching a channel
// or a recording in the desktop's player.

#include "control/tavrelcontrol.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/records.h"
#include "model/servicereference.h"
#include "model/tavreldatabase.h"
#include "tests/mainwindow/windowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

using namespace Qt::StringLiterals;
using boxsim::FaultKind;
using boxsim::Personality;

namespace {

enum class Gesture
{
    DoubleClick,
    TwoClicks200MsApart,
    TwoClicks300MsApart,
    Return,
    MenuEntry
};

// What the gesture is made on: a channel, a marker row of the channel list, or a recording.
enum class Target
{
    Channel,
    Marker,
    Movie
};

// The first row of the shown bouquet that is (or is not) a marker, -1 when there is none.
int rowOf(const WindowFixture& f, bool marker)
{
    const TavrelDatabase* database = f.control()->currentDatabase();
    const int bouquet = f.window->findChild<QComboBox*>(u"Bouquet_comboBox"_s)->currentIndex();
    for (int row = 1; database->hasChannel(bouquet, row); ++row) {
        if (database->channel(bouquet, row)->serviceReference.startsWith(u"1:64:"_s) == marker)
            return row;
    }
    return -1;
}

void setClickSettings(WindowFixture& f, bool singleClick, bool liveMode = false)
{
    SystemSet set = f.control()->currentSystemSettings();
    set.chanlistClick = singleClick;
    set.chanlistDbClick = !singleClick;
    set.movielistClick = singleClick;
    set.movielistDbClick = !singleClick;
    set.isLiveMode = liveMode;
    f.control()->setNewSystemSettings(set);
    f.window->setNewSystemSettings(set);
}

void perform(Gesture gesture, WindowFixture& f, QAbstractItemView* list, QMenu* menu, const QModelIndex& row)
{
    list->setFocus();
    const QPoint at = list->visualRect(row).center();
    switch (gesture) {
    case Gesture::DoubleClick:
        // As the desktop delivers it: a click, then the second press as a double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        break;
    case Gesture::TwoClicks200MsApart:
    case Gesture::TwoClicks300MsApart:
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        f.timers.advance(gesture == Gesture::TwoClicks200MsApart ? 200 : 300);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        break;
    case Gesture::Return:
        list->setCurrentIndex(row);
        QTest::keyClick(list, Qt::Key_Return);
        break;
    case Gesture::MenuEntry:
        list->setCurrentIndex(row);
        menu->actions().first()->trigger();
        break;
    }
}

// A player that writes the arguments it was started with to a file, and the window set up to
// use it.
class WatchFixture
{
public:
    explicit WatchFixture(Personality personality = Personality::Enigma2)
        : f(personality)
    {
        QFile script(dir.filePath(u"player.sh"_s));
        if (script.open(QIODevice::WriteOnly))
            script.write(
                "out=$1; shift; printf '%s\\n' \"$@\" > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    }

    // The profile's stream options and the player, then the receiver loaded.
    [[nodiscard]] bool load(bool zapBeforeWatching = false, bool credentials = false)
    {
        Settings settings;
        Profile profile = settings.getActiveProfile();
        profile.zapBeforeWatching = zapBeforeWatching;
        profile.streamNeedsCredentials = credentials;
        if (credentials) {
            profile.userName = u"root"_s;
            profile.password = u"pass wörd:&"_s;
            f.receiver.box.setCredentials(profile.userName, profile.password);
        }
        settings.saveProfile(profile);
        SystemSet set = f.control()->currentSystemSettings();
        // Quoted: the folder's name holds a space.
        set.playerCommand = u"/bin/sh \"%1\" \"%2\" %u"_s.arg(dir.filePath(u"player.sh"_s), played());
        f.control()->setNewSystemSettings(set);
        return f.load();
    }

    QString played() const { return dir.filePath(u"played.txt"_s); }
    // What the player was given; empty when it was not started within a few seconds.
    QString playerArguments() const
    {
        QFile file(played());
        if (!QTest::qWaitFor([&file] { return file.exists(); }, 5000) || !file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).trimmed();
    }

    // The first bytes of a GET's body (a stream does not end soon), fetched as a player would.
    static QByteArray fetch(const QUrl& url, qint64 enough = 4 * 188)
    {
        QNetworkAccessManager manager;
        QNetworkReply* reply = manager.get(QNetworkRequest(url));
        const bool came = QTest::qWaitFor(
            [reply, enough] { return reply->isFinished() || reply->bytesAvailable() >= enough; }, 10000);
        const QByteArray body =
            came && reply->error() == QNetworkReply::NoError ? reply->read(enough) : QByteArray();
        reply->abort();
        reply->deleteLater();
        return body;
    }

    QTemporaryDir dir;
    WindowFixture f;
};

// The receiver's stream of a service, as the player is given it.
QString streamUrl(const QString& reference, const QString& userInfo = {})
{
    return u"http://"_s + userInfo + u"127.0.0.1:8001/"_s +
           QString::fromLatin1(QUrl::toPercentEncoding(reference, ":"));
}

bool isTransportStream(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() % 188 != 0)
        return false;
    for (qsizetype i = 0; i < bytes.size(); i += 188) {
        if (bytes.at(i) != '\x47')
            return false;
    }
    return true;
}

} // namespace

class TestDesktopWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listGesturesZapAndPlay_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<Gesture>("gesture");
        QTest::addColumn<bool>("singleClick");
        QTest::addColumn<int>("zaps");
        using enum Target;
        using enum Gesture;
        QTest::newRow("channel: double click zaps (double-click setting)")
            << Channel << DoubleClick << false << 1;
        QTest::newRow("channel: double click is two clicks (single-click setting)")
            << Channel << DoubleClick << true << 2;
        QTest::newRow("channel: Return zaps (double-click setting)") << Channel << Return << false << 1;
        QTest::newRow("channel: Return zaps (single-click setting)") << Channel << Return << true << 1;
        QTest::newRow("channel: menu entry zaps") << Channel << MenuEntry << false << 1;
        QTest::newRow("channel: double click on a marker does nothing")
            << Marker << DoubleClick << false << 0;
        QTest::newRow("movie: double click plays (double-click setting)")
            << Movie << DoubleClick << false << 1;
        QTest::newRow("movie: double click is two clicks (single-click setting)")
            << Movie << DoubleClick << true << 2;
        QTest::newRow("movie: two clicks within 250 ms play (double-click setting)")
            << Movie << TwoClicks200MsApart << false << 1;
        QTest::newRow("movie: two clicks 300 ms apart do not play (double-click setting)")
            << Movie << TwoClicks300MsApart << false << 0;
        QTest::newRow("movie: two clicks 300 ms apart play twice (single-click setting)")
            << Movie << TwoClicks300MsApart << true << 2;
        QTest::newRow("movie: Return plays") << Movie << Return << false << 1;
        QTest::newRow("movie: menu entry plays") << Movie << MenuEntry << false << 1;
    }

    void listGesturesZapAndPlay()
    {
        QFETCH(Target, target);
        QFETCH(Gesture, gesture);
        QFETCH(bool, singleClick);
        QFETCH(int, zaps);
        WindowFixture f;
        setClickSettings(f, singleClick);
        QVERIFY(f.load());
        QVERIFY(f.show());
        const bool movies = target == Target::Movie;
        QAbstractItemView* list = nullptr;
        QString reference;
        int row = 1;
        if (movies) {
            list = f.showMovies();
            QVERIFY(list);
            reference = f.control()->currentDatabase()->movieAt(row)->serviceReference;
        } else {
            f.tabs()->setCurrentIndex(1);
            QVERIFY(f.settle());
            f.receiver.box.clearRequests();
            list = f.channelList();
            row = rowOf(f, target == Target::Marker);
            QVERIFY(row > 0);
            const int bouquet = f.find<QComboBox>("Bouquet_comboBox")->currentIndex();
            reference = f.control()->currentDatabase()->channel(bouquet, row)->serviceReference;
        }
        perform(gesture, f, list, f.find<QMenu>(movies ? "movieMenu" : "channelMenu"),
                list->model()->index(row, 0));
        QVERIFY(f.settle());

        const QList<boxsim::LoggedRequest> sent = f.receiver.requestsTo("/web/zap");
        QVERIFY2(sent.size() == zaps, qPrintable(f.receiver.targets().join(u' ')));
        for (const boxsim::LoggedRequest& zap : sent)
            QCOMPARE(zap.queryValue(u"sRef"_s), reference);
    }

    void tenSecondRefreshFollowsTheView_data()
    {
        QTest::addColumn<QString>("stop");
        QTest::newRow("another tab") << u"tab"_s;
        QTest::newRow("standby") << u"standby"_s;
        QTest::newRow("live mode off") << u"live"_s;
    }

    void tenSecondRefreshFollowsTheView()
    {
        QFETCH(QString, stop);
        WindowFixture f;
        setClickSettings(f, false, true);
        QVERIFY(f.load());
        // The panel is in view: the window is shown and has the pointer.
        QVERIFY(f.show());
        f.pointer(true);
        QVERIFY(f.settle());
        const QString status = u"/web/powerstate"_s;
        // A zap with the receiver's own remote shows within ten seconds.
        QCOMPARE(f.requestsAfter(9999, status), 0);
        QCOMPARE(f.requestsAfter(1, status), 1);
        QCOMPARE(f.requestsAfter(10000, status), 1);

        if (stop == u"tab"_s) {
            f.tabs()->setCurrentIndex(1);
        } else if (stop == u"standby"_s) {
            f.receiver.box.setStandby(true);
            QCOMPARE(f.requestsAfter(10000, status), 1); // the tick that finds the receiver asleep
        } else {
            SystemSet set = f.control()->currentSystemSettings();
            set.isLiveMode = false;
            f.control()->setNewSystemSettings(set);
        }
        QVERIFY(f.settle());
        QCOMPARE(f.requestsAfter(40000, status), 0);
    }

    void outageIsToldOnceAndEndsByItself()
    {
        WindowFixture f;
        setClickSettings(f, false, true);
        QVERIFY(f.load());
        QListWidget* movies = f.showMovies();
        QVERIFY(movies);
        const int rows = movies->count();
        f.tabs()->setCurrentIndex(0);
        QVERIFY(f.settle());
        QSignalSpy told(f.control(), &TavrelControl::receiverReachabilityChanged);

        f.receiver.box.setFault({FaultKind::Refuse});
        f.control()->requestStatus();
        QTRY_COMPARE(told.size(), 1);
        QCOMPARE(f.statusLine(),
                 u"Cannot reach Simulated at 127.0.0.1:%1: connection refused"_s.arg(f.receiver.port));
        QCOMPARE(f.window->windowTitle(), u"Simulated - unreachable (TavrelControl Lite)"_s);

        // A refresh of the movie list keeps the rows; the tries come after 2, 4, 8 ... seconds
        // and say nothing new.
        f.trigger("movieRefreshAction");
        QVERIFY(f.settle());
        f.timers.advance(2000 + 4000 + 8000);
        QVERIFY(f.settle());
        QCOMPARE(movies->count(), rows);
        QCOMPARE(told.size(), 1);
        QVERIFY(f.boxes.asked().isEmpty());

        // Back: the next try finds it, the panel and the title follow, the movie list is asked for.
        f.receiver.box.clearFaults();
        f.receiver.box.clearRequests();
        f.timers.advance(16000);
        QTRY_COMPARE(told.size(), 2);
        QVERIFY(f.settle());
        QCOMPARE(told.last().first().toBool(), true);
        QCOMPARE(f.statusLine(), u"Simulated at 127.0.0.1:%1 answers again"_s.arg(f.receiver.port));
        QVERIFY(!f.targetsTo(u"/web/powerstate"_s).isEmpty());
        QVERIFY(!f.targetsTo(u"/web/movielist"_s).isEmpty());
        QCOMPARE(f.window->windowTitle(), u"Simulated - connected (TavrelControl Lite)"_s);
        QCOMPARE(movies->count(), rows);
    }

    void refusedCommandIsToldInTheStatusLine()
    {
        WindowFixture f;
        QVERIFY(f.load());
        f.receiver.box.setPathFault(u"/web/zap"_s, {FaultKind::Refusal});
        f.control()->zapChannel(0, 1);
        QVERIFY(f.settle());
        QCOMPARE(f.receiver.requestsTo("/web/zap").size(), 1);
        QCOMPARE(f.statusLine(), u"The receiver refused the command: Command refused by the receiver"_s);
    }

    void enigma1MovieRowsAreDrawn()
    {
        WindowFixture f(boxsim::Personality::Enigma1);
        QVERIFY(f.load());
        QVERIFY(f.show());
        QListWidget* movies = f.showMovies();
        QVERIFY(movies);
        movies->doItemsLayout();
        const QImage shot = movies->viewport()->grab().toImage();
        const QRect row = movies->visualItemRect(movies->item(0));
        QVERIFY(!row.isEmpty());
        // The title's pixels differ from the background.
        const QRgb background = shot.pixel(row.right() - 1, row.center().y());
        bool drawn = false;
        for (int x = row.left(); x < row.right() && !drawn; ++x)
            for (int y = row.top(); y < row.bottom() && !drawn; ++y)
                drawn = shot.pixel(x, y) != background;
        QVERIFY(drawn);
    }

    void startedRecordingShowsAtOnce()
    {
        WindowFixture f;
        QVERIFY(f.load());
        auto* record = f.find<QToolButton>("panelRec_toolButton");
        QVERIFY(record->isEnabled());
        QTest::mouseClick(record, Qt::LeftButton);
        f.timers.advance(1000);
        QVERIFY(f.settle());
        QVERIFY(f.receiver.box.isRecording());
        QCOMPARE(f.find<QStackedWidget>("panelRec_stackedWidget")->currentWidget()->objectName(),
                 u"label_page"_s);
    }

    void textDatesSpeakTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << u"Mon Dec 7 2026"_s;
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << u"Mo. Dez. 7 2026"_s;
    }

    void textDatesSpeakTheLocale()
    {
        QFETCH(QLocale, locale);
        QTEST(Clock::textDate(QDate(2026, 12, 7), locale), "text");
    }

    void channelGoesToThePlayer_data()
    {
        QTest::addColumn<bool>("zapFirst");
        QTest::addColumn<bool>("credentials");
        QTest::addColumn<bool>("zapFails");
        QTest::addColumn<QString>("userInfo");
        QTest::newRow("as it is") << false << false << false << QString();
        QTest::newRow("zap before watching") << true << false << false << QString();
        QTest::newRow("zap refused: nothing plays") << true << false << true << QString();
        QTest::newRow("with credentials, encoded") << false << true << false << u"root:pass%20w%C3%B6rd:&@"_s;
    }

    void channelGoesToThePlayer()
    {
        QFETCH(bool, zapFirst);
        QFETCH(bool, credentials);
        QFETCH(bool, zapFails);
        QFETCH(QString, userInfo);
        WatchFixture w;
        QVERIFY(w.load(zapFirst, credentials));
        // Not the channel the receiver shows, so that a zap is needed.
        const QString shown = w.f.receiver.box.currentServiceReference();
        const TavrelDatabase* database = w.f.control()->currentDatabase();
        int row = 0;
        while (database->channel(0, row)->serviceReference == shown)
            ++row;
        const QString reference = database->channel(0, row)->serviceReference;
        if (zapFails)
            w.f.receiver.box.setPathFault(u"/web/zap"_s, {boxsim::FaultKind::Http500});

        QListView* list = w.f.channelList();
        list->setCurrentIndex(list->model()->index(row, 0));
        w.f.trigger("watchChannelAction");
        QVERIFY(w.f.settle());

        QCOMPARE(w.f.targetsTo(u"/web/zap"_s).size(), zapFirst ? 1 : 0);
        if (zapFails) {
            QTRY_VERIFY(w.f.statusLine().contains(u"did not zap"_s));
            QTest::qWait(300);
            QVERIFY(!QFile::exists(w.played()));
            return;
        }
        QCOMPARE(w.playerArguments(), streamUrl(reference, userInfo));
        if (zapFirst)
            QCOMPARE(w.f.receiver.box.currentServiceReference(), reference);
        QVERIFY(w.f.statusLine().contains(u"plays on this computer"_s));
    }

    void recordingGoesToThePlayer()
    {
        WatchFixture w;
        QVERIFY(w.load());
        QVERIFY(w.f.showMovies());
        w.f.find<QListWidget>("movie_listWidget")->setCurrentRow(0);
        w.f.trigger("watchMovieAction");
        const QString given = w.playerArguments();
        QVERIFY2(given.startsWith(u"http://127.0.0.1:%1/file?file=/media/"_s.arg(w.f.receiver.port)),
                 qPrintable(given));
        // The receiver hands the recording out at that address.
        QVERIFY(isTransportStream(WatchFixture::fetch(QUrl(given, QUrl::StrictMode))));
    }

    void bouquetAsPlaylist()
    {
        WatchFixture w;
        QVERIFY(w.load());
        const QString file = w.dir.filePath(u"bouquet.m3u"_s);
        QCOMPARE(w.f.control()->saveBouquetPlaylist(0, file), QString());
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(written.readAll()).split(u'\n', Qt::SkipEmptyParts);
        const Bouquet* bouquet = w.f.control()->currentDatabase()->bouquet(0);
        QStringList expected{u"#EXTM3U"_s};
        for (const Channel* channel : bouquet->channels) {
            if (isMarkerReference(channel->serviceReference))
                continue;
            expected << u"#EXTINF:-1,"_s + channel->name << streamUrl(channel->serviceReference);
        }
        QCOMPARE(lines, expected);
        // Nowhere to write: said, nothing half written.
        QVERIFY(!w.f.control()->saveBouquetPlaylist(0, w.dir.filePath(u"missing/bouquet.m3u"_s)).isEmpty());
    }

    void enigma1OffersNoStream()
    {
        WatchFixture w(Personality::Enigma1);
        QVERIFY(w.load());
        // Opened as a person opens it: a right click on the list.
        QListView* list = w.f.channelList();
        w.f.tabs()->setCurrentIndex(1);
        w.f.window->show();
        const QPoint inside = list->visualRect(list->model()->index(0, 0)).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, inside, list->viewport()->mapToGlobal(inside));
        QApplication::sendEvent(list->viewport(), &click);
        auto* menu = w.f.find<QMenu>("channelMenu");
        QTRY_VERIFY(menu->isVisible());
        const QAction* watch = w.f.find<QAction>("watchChannelAction");
        QVERIFY(!watch->isEnabled());
        QCOMPARE(watch->toolTip(), u"Enigma1 receivers offer no stream to watch on this computer."_s);
        QVERIFY(!w.f.find<QAction>("savePlaylistAction")->isEnabled());
        menu->close();
        // The command itself says so too.
        w.f.control()->watchChannel(0, 0);
        QCOMPARE(w.f.statusLine(), watch->toolTip());
        QVERIFY(!QFile::exists(w.played()));
    }
};

QTEST_MAIN(TestDesktopWindow)
#include "tst_desktopwindow.moc"
