#include "mainwindowfixture.h"
#include "ui/shell/desktopshellservices.h"
#include "ui/widgets/qanimationlabel.h"

#include <QSignalSpy>
#include <QTabWidget>

class TestShellServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void orientationShapesTheMainWindow_data();
    void orientationShapesTheMainWindow();
    void orientationTakesAMaximizedWindowOutOfItsState();
    void openStackedWindowFollowsTheNewShape();
    void busyIndicatorGoesWhereTheMainWindowPutsIt();
    void busyIndicatorSwitchesOnAndOff_data();
    void busyIndicatorSwitchesOnAndOff();
    void createdShellBelongsToTheMainWindow();
};

void TestShellServices::init()
{
    MainWindowFixture::failOnWarnings();
}

void TestShellServices::orientationShapesTheMainWindow_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("orientation");

    QTest::newRow("landscape") << 1 << QSize(800, 480) << 1;
    QTest::newRow("portrait") << 2 << QSize(480, 800) << 2;
    QTest::newRow("automatic leaves the shape to the user") << 0 << QSize(640, 400) << 0;
    QTest::newRow("unknown value counts as automatic") << 7 << QSize(640, 400) << 0;
    QTest::newRow("negative value counts as automatic") << -1 << QSize(640, 400) << 0;
}

void TestShellServices::orientationShapesTheMainWindow()
{
    QFETCH(int, setting);
    QFETCH(QSize, size);
    QFETCH(int, orientation);

    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    shell.setOrientation(setting);
    QCOMPARE(f.window.size(), size);
    QCOMPARE(shell.orientation(), orientation);
}

void TestShellServices::orientationTakesAMaximizedWindowOutOfItsState()
{
    MainWindowFixture f;
    f.window.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    shell.setOrientation(ShellServices::OrientationPortrait);
    QVERIFY(!f.window.isMaximized());
    QCOMPARE(f.window.size(), QSize(480, 800));
}

void TestShellServices::openStackedWindowFollowsTheNewShape()
{
    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    shell.openStackedWindow(f.settingsPage);
    shell.setOrientation(ShellServices::OrientationLandscape);
    QCOMPARE(f.settingsPage->size(), QSize(800, 480));
    shell.setOrientation(ShellServices::OrientationPortrait);
    QCOMPARE(f.settingsPage->size(), QSize(480, 800));
}

void TestShellServices::busyIndicatorGoesWhereTheMainWindowPutsIt()
{
    MainWindowFixture f;
    auto* tabs = new QTabWidget(f.mainPage);
    tabs->setObjectName(QStringLiteral("tabWidget"));
    tabs->addTab(new QWidget(tabs), QStringLiteral("TV"));
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    QWidget* indicator = shell.busyIndicator();
    QVERIFY(indicator);
    QCOMPARE(indicator->objectName(), QStringLiteral("busyIndicator_animationLabel"));
    QVERIFY(!indicator->accessibleName().isEmpty());
    tabs->setCornerWidget(indicator, Qt::TopRightCorner);
    QVERIFY(f.show());

    QVERIFY(!indicator->isVisible());
    shell.setBusyIndicatorVisible(true);
    QVERIFY(indicator->isVisible());
    QCOMPARE(indicator->parentWidget(), tabs);
    QCOMPARE(indicator->size(), QSize(32, 32));
}

void TestShellServices::busyIndicatorSwitchesOnAndOff_data()
{
    QTest::addColumn<QList<bool>>("switches");
    QTest::addColumn<bool>("on");

    QTest::newRow("on") << QList<bool>{true} << true;
    QTest::newRow("on then off") << QList<bool>{true, false} << false;
    QTest::newRow("off while off") << QList<bool>{false} << false;
    QTest::newRow("on twice then off") << QList<bool>{true, true, false} << false;
    QTest::newRow("off then on again") << QList<bool>{true, false, true} << true;
}

void TestShellServices::busyIndicatorSwitchesOnAndOff()
{
    QFETCH(QList<bool>, switches);
    QFETCH(bool, on);

    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    for (const bool value : switches)
        shell.setBusyIndicatorVisible(value);
    QCOMPARE(shell.isBusyIndicatorVisible(), on);
    auto* indicator = qobject_cast<QAnimationLabel*>(shell.busyIndicator());
    QVERIFY(indicator);
    QCOMPARE(indicator->isAnimating(), on);
    QCOMPARE(indicator->isVisible(), on);
}

void TestShellServices::createdShellBelongsToTheMainWindow()
{
    auto* window = new QMainWindow;
    QPointer<ShellServices> shell = ShellServices::create(window);
    QVERIFY(shell);
    QCOMPARE(shell->parent(), window);
    QPointer<QWidget> indicator = shell->busyIndicator();
    delete window;
    QVERIFY(shell.isNull());
    QVERIFY(indicator.isNull());
}

QTEST_MAIN(TestShellServices)
#include "tst_shellservices.moc"
