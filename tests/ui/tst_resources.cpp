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

    const char* const paths[] = {":/menu/menu/tv_64.png",
                                 ":/menu/menu/tv_48.png",
                                 ":/menu/menu/folder_favorites_64.png",
                                 ":/menu/menu/folder_documents_64.png",
                                 ":/menu/menu/xine_64.png",
                                 ":/menu/menu/clock_64.png",
                                 ":/menu/menu/Login Manager_32.png",
                                 ":/menu/menu/advancedsettings_32.png",
                                 ":/menu/menu/utilities_file_archiver_32.png",
                                 ":/menu/menu/system_help_32.png",
                                 ":/menu/menu/konquest_32.png",
                                 ":/menu/menu/information_48.png",
                                 ":/menu/menu/mail_send.png",
                                 ":/buttons/buttons/player_play_48.png",
                                 ":/buttons/buttons/player_pause_48.png",
                                 ":/buttons/buttons/player_stop_48.png",
                                 ":/buttons/buttons/player_fwd_48.png",
                                 ":/buttons/buttons/player_rew_48.png",
                                 ":/buttons/buttons/player_record_48.png",
                                 ":/buttons/buttons/player_time_48.png",
                                 ":/buttons/buttons/player_mute_48.png",
                                 ":/buttons/buttons/player_unmute_48.png",
                                 ":/buttons/buttons/power_red_42.png",
                                 ":/buttons/buttons/power_green_42.png",
                                 ":/buttons/buttons/power_yellow_42.png",
                                 ":/buttons/buttons/power_red_32.png",
                                 ":/buttons/buttons/power_green_32.png",
                                 ":/buttons/buttons/power_yellow_32.png",
                                 ":/buttons/buttons/power_blue_32.png",
                                 ":/buttons/buttons/network_connect_48.png",
                                 ":/buttons/buttons/network_disconnect_48.png",
                                 ":/buttons/buttons/home_64.png",
                                 ":/buttons/buttons/button_ok_48.png",
                                 ":/buttons/buttons/button_cancel_48.png",
                                 ":/symbol/symbol/rec48.png",
                                 ":/symbol/symbol/rec.png",
                                 ":/symbol/symbol/network-idle.png",
                                 ":/symbol/symbol/network-transmit.png",
                                 ":/symbol/symbol/network-receive.png",
                                 ":/symbol/symbol/network-transmit-receive.png",
                                 ":/symbol/symbol/network-error.png",
                                 ":/symbol/symbol/network-offline.png",
                                 ":/logo/appicon/tavrelcontrol_64.png"};
    for (const char* path : paths)
        QTest::newRow(path) << QString::fromLatin1(path);
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
