#include "ui/resourcepaths.h"

#include <QImageReader>
#include <QPixmap>
#include <QTest>

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
    QTest::addColumn<int>("size");

    const QList<QPair<const char*, int>> bitmaps{
        {":/menu/menu/tv_64.png", 64},
        {":/menu/menu/tv_48.png", 48},
        {":/menu/menu/folder_favorites_64.png", 64},
        {":/menu/menu/folder_documents_64.png", 64},
        {":/menu/menu/xine_64.png", 64},
        {":/menu/menu/clock_64.png", 64},
        {":/menu/menu/Login Manager_32.png", 32},
        {":/menu/menu/advancedsettings_32.png", 32},
        {":/menu/menu/utilities_file_archiver_32.png", 32},
        {":/menu/menu/system_help_32.png", 32},
        {":/menu/menu/konquest_32.png", 32},
        {":/menu/menu/information_48.png", 48},
        {":/menu/menu/mail_send.png", 48},
        {":/buttons/buttons/player_play_48.png", 48},
        {":/buttons/buttons/player_pause_48.png", 48},
        {":/buttons/buttons/player_stop_48.png", 48},
        {":/buttons/buttons/player_fwd_48.png", 48},
        {":/buttons/buttons/player_rew_48.png", 48},
        {":/buttons/buttons/player_record_48.png", 48},
        {":/buttons/buttons/player_time_48.png", 48},
        {":/buttons/buttons/player_mute_48.png", 48},
        {":/buttons/buttons/player_unmute_48.png", 48},
        {":/buttons/buttons/power_red_42.png", 42},
        {":/buttons/buttons/power_green_42.png", 42},
        {":/buttons/buttons/power_yellow_42.png", 42},
        {":/buttons/buttons/power_red_32.png", 32},
        {":/buttons/buttons/power_green_32.png", 32},
        {":/buttons/buttons/power_yellow_32.png", 32},
        {":/buttons/buttons/power_blue_32.png", 32},
        {":/buttons/buttons/network_connect_48.png", 48},
        {":/buttons/buttons/network_disconnect_48.png", 48},
        {":/buttons/buttons/home_64.png", 64},
        {":/buttons/buttons/button_ok_48.png", 48},
        {":/buttons/buttons/button_cancel_48.png", 48},
        {":/symbol/symbol/rec48.png", 48},
        {":/symbol/symbol/rec.png", 48},
        {":/symbol/symbol/network-idle.png", 48},
        {":/symbol/symbol/network-transmit.png", 48},
        {":/symbol/symbol/network-receive.png", 48},
        {":/symbol/symbol/network-transmit-receive.png", 48},
        {":/symbol/symbol/network-error.png", 48},
        {":/symbol/symbol/network-offline.png", 48},
        {":/logo/appicon/tavrelcontrol_48.png", 48},
        {":/logo/appicon/tavrelcontrol_64.png", 64},
        {":/logo/appicon/tavrelcontrol_128.png", 128},
    };
    for (const auto& [path, size] : bitmaps)
        QTest::newRow(path) << QString::fromLatin1(path) << size;
}

void TestResources::bitmapLoads()
{
    QFETCH(QString, path);
    QFETCH(int, size);

    const QPixmap pixmap(path);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), QSize(size, size));
    // Drawn on a transparent ground: the corners show whatever the bitmap is put on.
    QCOMPARE(qAlpha(pixmap.toImage().pixel(0, 0)), 0);
}

void TestResources::waitAnimationTurns()
{
    QImageReader reader(ResourcePaths::waitAnimation());
    QVERIFY(reader.supportsAnimation());
    QCOMPARE(reader.imageCount(), 8);
    QCOMPARE(reader.loopCount(), -1);
    QList<QImage> frames;
    for (int i = 0; i < 8; ++i) {
        frames.append(reader.read().convertToFormat(QImage::Format_ARGB32));
        QVERIFY(!frames.last().isNull());
        QCOMPARE(frames.last().size(), QSize(32, 32));
        QVERIFY(reader.nextImageDelay() > 0);
        QCOMPARE(qAlpha(frames.last().pixel(0, 0)), 0);
    }
    for (int i = 1; i < 8; ++i)
        QVERIFY2(frames.at(i) != frames.at(i - 1), "every frame moves the spinner on");
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
