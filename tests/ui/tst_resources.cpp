#include "ui/pages/helpwidget.h"
#include "ui/resourcepaths.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

#include <vector>

using namespace Qt::StringLiterals;

class TestResources : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void bitmapLoads_data()
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
             {"rec48", "rec", "network-idle", "network-transmit", "network-receive",
              "network-transmit-receive", "network-error", "network-offline"}},
            {":/logo/appicon/", {"tavrelcontrol_64"}}};
        for (const Folder& folder : folders) {
            for (const char* name : folder.names) {
                const QString path = QString::fromLatin1(folder.path) + QString::fromUtf8(name) + u".png";
                QTest::newRow(qPrintable(path)) << path;
            }
        }
    }

    void bitmapLoads()
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

    void waitAnimationTurns()
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

    void manualForLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("manual");

        const QString de = u"qrc:/help_files/html/index_de.html"_s;
        const QString en = u"qrc:/help_files/html/index_en.html"_s;
        QTest::newRow("German in Germany") << u"de_DE"_s << de;
        QTest::newRow("German in Austria") << u"de_AT"_s << de;
        QTest::newRow("English in Britain") << u"en_GB"_s << en;
        QTest::newRow("language without country") << u"de"_s << en;
        QTest::newRow("unset") << QString() << en;
        QTest::newRow("cut at the last underscore") << u"de_DE_EURO"_s << en;
    }

    void manualForLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, manual);
        QCOMPARE(HelpWidget::manualFor(locale).toString(), manual);
    }

    void manualLinksResolve_data()
    {
        QTest::addColumn<QString>("manual");
        QTest::newRow("English") << u":/help_files/html/index_en.html"_s;
        QTest::newRow("German") << u":/help_files/html/index_de.html"_s;
    }

    void manualLinksResolve()
    {
        QFETCH(QString, manual);
        QFile file(manual);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY(html.size() > 4000); // a guide, not a stub

        QStringList anchors;
        const QRegularExpression named(uR"re((?:id|name)="([^"]+)")re"_s);
        for (auto it = named.globalMatch(html); it.hasNext();)
            anchors.append(it.next().captured(1));

        int images = 0;
        const QRegularExpression reference(uR"re((href|src)="([^"]*)")re"_s);
        for (auto it = reference.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const QString target = match.captured(2);
            QVERIFY2(!target.isEmpty(), "empty link");
            if (target.startsWith(u"https://"_s) || target.startsWith(u"http://"_s))
                continue;
            if (target.startsWith(u'#')) {
                QVERIFY2(anchors.contains(target.mid(1)), qPrintable(target));
                continue;
            }
            const QUrl resolved = QUrl(u"qrc"_s + manual).resolved(QUrl(target));
            QVERIFY2(QFile::exists(u":"_s + resolved.path()), qPrintable(target));
            if (match.captured(1) == u"src")
                ++images;
        }
        QVERIFY(images >= 3);
    }

    void bothFormsShowTheManualAndGoHome()
    {
        qputenv("LC_NUMERIC", "de_AT");
        HelpWidget help(nullptr);
        qunsetenv("LC_NUMERIC");
        help.resize(800, 480);
        help.show();
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const QList<QTextBrowser*> browsers = help.findChildren<QTextBrowser*>(u"help_textBrowser"_s);
        QCOMPARE(browsers.size(), 2);
        for (QTextBrowser* browser : browsers)
            QCOMPARE(browser->source().toString(), u"qrc:/help_files/html/index_de.html"_s);

        auto* landscape = help.findChild<QWidget*>(u"HelpWidget_ls"_s);
        QVERIFY(landscape->isVisible());
        auto* browser = landscape->findChild<QTextBrowser*>(u"help_textBrowser"_s);
        browser->setSource(QUrl(u"qrc:/help_files/html/index_de.html#satfinder"_s));
        QCOMPARE(browser->source().fragment(), u"satfinder"_s);
        QTest::mouseClick(landscape->findChild<QToolButton*>(u"helpHome_toolButton"_s), Qt::LeftButton);
        QVERIFY(browser->source().fragment().isEmpty());

        help.resize(480, 800);
        QTRY_VERIFY(help.findChild<QWidget*>(u"HelpWidget_pt"_s)->isVisible());
        QVERIFY(!landscape->isVisible());
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
