#include "ui/pages/helpwidget.h"
#include "ui/resourcepaths.h"
#include "ui/translation.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTranslator>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

const char* const localeVariables[] = {"LC_NUMERIC", "LC_ALL", "LANG"};

// Sets or (for a null value) removes one environment variable.
void setVariable(const char* name, const QByteArray& value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

// The bitmaps, the wait animation, the manuals and the translation catalogue that the program
// carries, and which manual and catalogue a locale gets.
class TestResources : public QObject
{
    Q_OBJECT

    QList<QPair<const char*, QByteArray>> m_saved;

private Q_SLOTS:
    void initTestCase()
    {
        for (const char* name : localeVariables)
            m_saved.append({name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
    }

    void cleanup()
    {
        for (const auto& [name, value] : m_saved)
            setVariable(name, value);
    }

    void languageFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("numeric");
        QTest::addColumn<QByteArray>("all");
        QTest::addColumn<QByteArray>("lang");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("german");

        const QByteArray unset;
        QTest::newRow("LC_NUMERIC is taken as it is")
            << "de_DE.UTF-8"_ba << unset << "en_US.UTF-8"_ba << u"de_DE.UTF-8"_s << true;
        QTest::newRow("LC_NUMERIC of another country") << "de_AT"_ba << unset << unset << u"de_AT"_s << true;
        QTest::newRow("LC_NUMERIC wins over a German desktop")
            << "en_GB.UTF-8"_ba
            << "de_DE.UTF-8"_ba
            << "de_DE.UTF-8"_ba << u"en_GB.UTF-8"_s << false;
        QTest::newRow("empty LC_NUMERIC counts as unset")
            << ""_ba << unset << "de_CH.UTF-8"_ba << u"de"_s << true;
        QTest::newRow("language of LC_ALL without LC_NUMERIC") << unset << "de_DE.UTF-8@euro"_ba
                                                               << "fr_FR.UTF-8"_ba << u"de"_s << true;
        QTest::newRow("language of LANG without LC_NUMERIC and LC_ALL")
            << unset << unset << "de_DE.UTF-8"_ba << u"de"_s << true;
        QTest::newRow("LANG with the language only") << unset << unset << "de"_ba << u"de"_s << true;
        QTest::newRow("LANG with a modifier after the language")
            << unset << unset << "de@euro"_ba << u"de"_s << true;
        QTest::newRow("French desktop keeps English")
            << unset << unset << "fr_FR.UTF-8"_ba << u"fr"_s << false;
        QTest::newRow("C locale keeps English") << unset << unset << "C.UTF-8"_ba << u"C"_s << false;
        QTest::newRow("nothing set keeps English") << unset << unset << unset << QString() << false;
        QTest::newRow("a path in LC_NUMERIC stays in the resources")
            << "../../../etc/de"_ba << unset << unset << u"../../../etc/de"_s << false;
    }

    // The catalogue's name, and whether installing it translates the program.
    void languageFromTheEnvironment()
    {
        QFETCH(QByteArray, numeric);
        QFETCH(QByteArray, all);
        QFETCH(QByteArray, lang);
        QFETCH(QString, language);
        QFETCH(bool, german);
        setVariable("LC_NUMERIC", numeric);
        setVariable("LC_ALL", all);
        setVariable("LANG", lang);

        QCOMPARE(Translation::resourceName(), QStringLiteral(":/languages/tavrelcontrol_tr_") + language);
        QTranslator* translator = Translation::install(QCoreApplication::instance());
        QCOMPARE(translator != nullptr, german);
        QCOMPARE(QCoreApplication::translate("TimerEventItemDelegate", "Zap Timer"),
                 german ? QStringLiteral("Umschalt-Timer") : QStringLiteral("Zap Timer"));
        if (translator) {
            QCOMPARE(translator->parent(), QCoreApplication::instance());
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }

    void germanCatalogueIsInTheResources()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/languages/tavrelcontrol_tr_de.qm")));
        QCOMPARE(translator.language(), QStringLiteral("de_DE"));
        QCOMPARE(translator.translate("StackedWindows", "Back"), QStringLiteral("Zurück"));
        QCOMPARE(translator.translate("ChannelItemDelegate", "min"), QStringLiteral("Min."));
    }

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
