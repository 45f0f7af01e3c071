#include "mainwindowfixture.h"
#include "ui/shell/desktopshellservices.h"
#include "ui/widgets/qanimationlabel.h"

#include <QMovie>
#include <QSignalSpy>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

namespace {

enum class Way
{
    BackButton,
    Escape,
    EscapeInAField,
    WindowClosed,
    HiddenByTheProgram,
    CloseStackedWindow
};

QToolButton* backButton(QWidget* page)
{
    return page->findChild<QToolButton*>(QStringLiteral("stackedWindowBack_toolButton"));
}

} // namespace

Q_DECLARE_METATYPE(Way)

class TestShellServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void stackedWindowReturns_data();
    void stackedWindowReturns();
    void reopenedBeforeReturningStaysOpen();
    void pageDeletedWhileOpen();
    void orientationShapesTheMainWindow_data();
    void orientationShapesTheMainWindow();
    void busyIndicatorSwitchesOnAndOff_data();
    void busyIndicatorSwitchesOnAndOff();
    void unreadableAnimationNeverShows();

private:
    std::unique_ptr<MainWindowFixture> m_main;
    std::unique_ptr<DesktopShellServices> m_shell;
};

void TestShellServices::init()
{
    MainWindowFixture::failOnWarnings();
    m_shell.reset();
    m_main = std::make_unique<MainWindowFixture>();
    QVERIFY(m_main->show());
    m_shell = std::make_unique<DesktopShellServices>(&m_main->window, MainWindowFixture::noBus(),
                                                     MainWindowFixture::noBus());
}

void TestShellServices::stackedWindowReturns_data()
{
    QTest::addColumn<Way>("way");

    QTest::newRow("back button") << Way::BackButton;
    QTest::newRow("escape key") << Way::Escape;
    QTest::newRow("escape key in a text field") << Way::EscapeInAField;
    QTest::newRow("window closed") << Way::WindowClosed;
    QTest::newRow("page hidden by the program") << Way::HiddenByTheProgram;
    QTest::newRow("closeStackedWindow") << Way::CloseStackedWindow;
}

void TestShellServices::stackedWindowReturns()
{
    QFETCH(Way, way);

    QWidget* page = m_main->settingsPage;
    QWidget* stack = page->parentWidget();
    const QMargins margins = page->contentsMargins();
    QSignalSpy closed(m_shell.get(), &ShellServices::stackedWindowClosed);
    m_shell->openStackedWindow(page);
    m_shell->openStackedWindow(page); // a second time changes nothing
    QVERIFY(QTest::qWaitForWindowExposed(page));
    // Above the main window, in its place and under its title, with one back button on top.
    QVERIFY(m_shell->isStackedWindowOpen(page));
    QCOMPARE(page->geometry(), m_main->window.geometry());
    QCOMPARE(page->windowHandle()->transientParent(), m_main->window.windowHandle());
    QCOMPARE(page->windowTitle(), m_main->window.windowTitle());
    QCOMPARE(page->findChildren<QToolButton*>(QStringLiteral("stackedWindowBack_toolButton")).size(), 1);
    QVERIFY(m_main->field->geometry().top() >
            backButton(page)->mapTo(page, QPoint(0, 0)).y() + backButton(page)->height());
    switch (way) {
    case Way::BackButton:
        QTest::mouseClick(backButton(page), Qt::LeftButton);
        break;
    case Way::Escape:
        QTest::keyClick(page, Qt::Key_Escape);
        break;
    case Way::EscapeInAField:
        QTest::keyClick(m_main->field, Qt::Key_Escape);
        break;
    case Way::WindowClosed:
        QVERIFY(page->close());
        break;
    case Way::HiddenByTheProgram:
        page->hide();
        break;
    case Way::CloseStackedWindow:
        m_shell->closeStackedWindow(page);
        break;
    }

    QVERIFY(!page->isVisible());
    QVERIFY(!m_shell->isStackedWindowOpen(page));
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(closed.first().first().value<QWidget*>(), page);
    QVERIFY(!page->isWindow());
    QCOMPARE(page->parentWidget(), stack);
    QCOMPARE(page->contentsMargins(), margins);
    QVERIFY(page->windowTitle().isEmpty());
    QTRY_VERIFY(!backButton(page));
    QVERIFY(m_main->mainPage->isVisible());
}

void TestShellServices::reopenedBeforeReturningStaysOpen()
{
    QWidget* page = m_main->settingsPage;
    m_shell->openStackedWindow(page);
    QTest::keyClick(page, Qt::Key_Escape);
    m_shell->openStackedWindow(page); // before the event loop put the page back
    QTRY_COMPARE(page->findChildren<QToolButton*>(QStringLiteral("stackedWindowBack_toolButton")).size(), 1);
    QVERIFY(m_shell->isStackedWindowOpen(page));
    QVERIFY(page->isWindow() && page->isVisible());
}

void TestShellServices::pageDeletedWhileOpen()
{
    QSignalSpy closed(m_shell.get(), &ShellServices::stackedWindowClosed);
    QPointer<QWidget> page = m_main->settingsPage;
    m_shell->openStackedWindow(page);
    delete m_main->settingsPage;
    QVERIFY(!m_shell->isStackedWindowOpen(page));
    m_shell->closeStackedWindow(page);
    m_shell->openStackedWindow(&m_main->window); // the main window is no page
    QVERIFY(!m_shell->isStackedWindowOpen(&m_main->window));
    QCoreApplication::processEvents();
    QCOMPARE(closed.count(), 0);
}

void TestShellServices::orientationShapesTheMainWindow_data()
{
    QTest::addColumn<int>("setting");
    QTest::addColumn<bool>("maximized");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("orientation");

    QTest::newRow("landscape") << 1 << false << QSize(800, 480) << 1;
    QTest::newRow("portrait") << 2 << false << QSize(480, 800) << 2;
    QTest::newRow("portrait takes a maximized window out of its state") << 2 << true << QSize(480, 800) << 2;
    QTest::newRow("automatic leaves the shape to the user") << 0 << false << QSize(640, 400) << 0;
    QTest::newRow("unknown value counts as automatic") << 7 << false << QSize(640, 400) << 0;
}

void TestShellServices::orientationShapesTheMainWindow()
{
    QFETCH(int, setting);
    QFETCH(bool, maximized);
    QFETCH(QSize, size);
    QFETCH(int, orientation);

    if (maximized)
        m_main->window.showMaximized();
    else
        m_shell->openStackedWindow(m_main->settingsPage);
    m_shell->setOrientation(setting);
    QCOMPARE(m_main->window.size(), size);
    QVERIFY(!m_main->window.isMaximized());
    QCOMPARE(m_shell->orientation(), orientation);
    if (!maximized)
        QCOMPARE(m_main->settingsPage->size(), size); // an open page keeps the main window's shape
}

void TestShellServices::busyIndicatorSwitchesOnAndOff_data()
{
    QTest::addColumn<QList<bool>>("switches");
    QTest::addColumn<bool>("on");
    QTest::addColumn<int>("starts"); // times the animation was started

    QTest::newRow("hidden until switched on") << QList<bool>{} << false << 0;
    QTest::newRow("on") << QList<bool>{true} << true << 1;
    QTest::newRow("off while off") << QList<bool>{false} << false << 0;
    QTest::newRow("on twice keeps one running animation") << QList<bool>{true, true} << true << 1;
    QTest::newRow("on twice then off") << QList<bool>{true, true, false} << false << 1;
    QTest::newRow("off on a stopped indicator does nothing")
        << QList<bool>{false, true, false, false} << false << 1;
    QTest::newRow("off then on again") << QList<bool>{true, false, true} << true << 2;
}

void TestShellServices::busyIndicatorSwitchesOnAndOff()
{
    QFETCH(QList<bool>, switches);
    QFETCH(bool, on);
    QFETCH(int, starts);

    // The main window puts the indicator in the corner of its tab bar.
    auto* tabs = new QTabWidget(m_main->mainPage);
    tabs->addTab(new QWidget(tabs), QStringLiteral("TV"));
    tabs->show();
    auto* indicator = qobject_cast<QAnimationLabel*>(m_shell->busyIndicator());
    QVERIFY(indicator);
    QCOMPARE(indicator->objectName(), QStringLiteral("busyIndicator_animationLabel"));
    QVERIFY(!indicator->accessibleName().isEmpty());
    tabs->setCornerWidget(indicator);
    QVERIFY(!indicator->isVisible());
    QSignalSpy started(indicator->findChild<QMovie*>(), &QMovie::started);
    for (const bool value : switches)
        m_shell->setBusyIndicatorVisible(value);
    QCOMPARE(m_shell->isBusyIndicatorVisible(), on);
    QCOMPARE(indicator->isAnimating(), on);
    QCOMPARE(indicator->isVisible(), on);
    QCOMPARE(indicator->parentWidget(), tabs);
    QCOMPARE(started.count(), starts);

    // The shell made for a main window belongs to it, and so does the indicator it made.
    auto* window = new QMainWindow;
    QPointer<ShellServices> shell = ShellServices::create(window);
    QPointer<QWidget> made = shell->busyIndicator();
    QCOMPARE(shell->parent(), window);
    delete window;
    QVERIFY(shell.isNull() && made.isNull());
}

void TestShellServices::unreadableAnimationNeverShows()
{
    auto* indicator =
        new QAnimationLabel(QStringLiteral(":/no/such/animation.gif"), QSize(), m_main->mainPage);
    indicator->start();
    QVERIFY(!indicator->isVisible());
    QVERIFY(!indicator->isAnimating());
}

QTEST_MAIN(TestShellServices)
#include "tst_shellservices.moc"
