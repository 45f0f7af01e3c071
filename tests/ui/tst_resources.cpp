#include "ui/resourcepaths.h"

#include <QImageReader>
#include <QPixmap>
#include <QTest>

#include <vector>

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bitmapLoads_data();
    void bitmapLoads();
    void waitAnimationTurns();
};

void TestResources::bitmapLoads_data()
{
    QTest::addColumn<QString>("path");

    // Every bitmap the program names, by folder.
    struct Folder
    {
        const char* path;
        std::vector<const char*> names;
    };
    const Folder folders[] = {
        {":/menu/menu/",
         {"tv_64", "tv_48", "folder_favorites_64", "folder_documents_64", "xine_64", "clock_64",
          "Login Manager_32", "advancedsettings_32", "utilities_file_archiver_32", "system_help_32",
          "konquest_32", "information_48", "mail_send"}},
        {":/buttons/buttons/",
         {"player_play_48",     "player_pause_48",       "player_stop_48",  "player_fwd_48",
          "player_rew_48",      "player_record_48",      "player_time_48",  "player_mute_48",
          "player_unmute_48",   "power_red_42",          "power_green_42",  "power_yellow_42",
          "power_red_32",       "power_green_32",        "power_yellow_32", "power_blue_32",
          "network_connect_48", "network_disconnect_48", "home_64",         "button_ok_48",
          "button_cancel_48"}},
        {":/symbol/symbol/",
         {"rec48", "rec", "network-idle", "network-transmit", "network-receive", "network-transmit-receive",
          "network-error", "network-offline"}},
        {":/logo/appicon/", {"tavrelcontrol_64"}}};
    for (const Folder& folder : folders) {
        for (const char* name : folder.names) {
            const QString path = QString::fromLatin1(folder.path) + QString::fromUtf8(name) + u".png";
            QTest::newRow(qPrintable(path)) << path;
        }
    }
}

void TestResources::bitmapLoads()
{
    QFETCH(QString, path);

    const QPixmap pixmap(path);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.width(), pixmap.height());
    // Sizes named in the file name are the sizes drawn.
    if (const qsizetype at = path.lastIndexOf(u'_'); at > 0 && path.at(at + 1).isDigit())
        QCOMPARE(QString::number(pixmap.width()), path.mid(at + 1).chopped(4));
    QCOMPARE(qAlpha(pixmap.toImage().pixel(0, 0)), 0); // drawn on a transparent ground
}

void TestResources::waitAnimationTurns()
{
    QImageReader reader(ResourcePaths::waitAnimation());
    QVERIFY(reader.supportsAnimation());
    QCOMPARE(reader.imageCount(), 8);
    QCOMPARE(reader.loopCount(), -1);
    QImage previous;
    for (int i = 0; i < 8; ++i) {
        const QImage frame = reader.read().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(frame.size(), QSize(32, 32));
        QVERIFY(reader.nextImageDelay() > 0);
        QCOMPARE(qAlpha(frame.pixel(0, 0)), 0);
        QVERIFY2(frame != previous, "every frame moves the spinner on");
        previous = frame;
    }
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
