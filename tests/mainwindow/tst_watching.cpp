#include "control/tavrelcontrol.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/records.h"
#include "model/servicereference.h"
#include "model/tavreldatabase.h"
#include "tests/mainwindow/windowfixture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using boxsim::Personality;

namespace {

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
    QString statusLine() const { return f.find<QLabel>("statusLine")->text(); }

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

class TestWatching : public QObject
{
    Q_OBJECT

private slots:
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
            QTRY_VERIFY(w.statusLine().contains(u"did not zap"_s));
            QTest::qWait(300);
            QVERIFY(!QFile::exists(w.played()));
            return;
        }
        QCOMPARE(w.playerArguments(), streamUrl(reference, userInfo));
        if (zapFirst)
            QCOMPARE(w.f.receiver.box.currentServiceReference(), reference);
        QVERIFY(w.statusLine().contains(u"plays on this computer"_s));
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
        QCOMPARE(w.statusLine(), watch->toolTip());
        QVERIFY(!QFile::exists(w.played()));
    }
};

QTEST_MAIN(TestWatching)
#include "tst_watching.moc"
