#include "ui/pages/helpwidget.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestHelpWidget : public QObject
{
    Q_OBJECT

private slots:
    void manualForLocale_data();
    void manualForLocale();
    void linksResolve_data();
    void linksResolve();
    void bothFormsShowTheManualAndGoHome();
};

void TestHelpWidget::manualForLocale_data()
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

void TestHelpWidget::manualForLocale()
{
    QFETCH(QString, locale);
    QFETCH(QString, manual);
    QCOMPARE(HelpWidget::manualFor(locale).toString(), manual);
}

void TestHelpWidget::linksResolve_data()
{
    QTest::addColumn<QString>("manual");
    QTest::newRow("English") << u":/help_files/html/index_en.html"_s;
    QTest::newRow("German") << u":/help_files/html/index_de.html"_s;
}

void TestHelpWidget::linksResolve()
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

void TestHelpWidget::bothFormsShowTheManualAndGoHome()
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

QTEST_MAIN(TestHelpWidget)
#include "tst_helpwidget.moc"
