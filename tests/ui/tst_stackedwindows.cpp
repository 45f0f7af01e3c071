#include "mainwindowfixture.h"
#include "ui/shell/desktopshellservices.h"

#include <QSignalSpy>
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

class TestStackedWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void opensAboveTheMainWindowWithItsGeometry();
    void backButtonSitsAboveThePageContent();
    void returnsToTheMainWindow_data();
    void returnsToTheMainWindow();
    void openingTwiceKeepsOneWindow();
    void opensAgainAfterReturning();
    void currentPageShowsAgainInTheMainWindow();
    void followsAMaximizedMainWindow();
    void pageDeletedWhileOpen();
    void mainWindowItselfIsNoPage();
};

void TestStackedWindows::init()
{
    MainWindowFixture::failOnWarnings();
}

void TestStackedWindows::opensAboveTheMainWindowWithItsGeometry()
{
    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());

    shell.openStackedWindow(f.settingsPage);
    QVERIFY(shell.isStackedWindowOpen(f.settingsPage));
    QVERIFY(f.settingsPage->isWindow());
    QVERIFY(f.settingsPage->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(f.settingsPage));
    QCOMPARE(f.settingsPage->geometry(), f.window.geometry());
    QVERIFY(f.settingsPage->windowHandle());
    QCOMPARE(f.settingsPage->windowHandle()->transientParent(), f.window.windowHandle());
    QCOMPARE(f.settingsPage->windowTitle(), f.window.windowTitle());
    QVERIFY(f.window.isVisible());
}

void TestStackedWindows::backButtonSitsAboveThePageContent()
{
    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    shell.openStackedWindow(f.settingsPage);

    QToolButton* back = backButton(f.settingsPage);
    QVERIFY(back);
    QVERIFY(back->isVisible());
    QVERIFY(!back->text().isEmpty());
    const QRect button(back->mapTo(f.settingsPage, QPoint(0, 0)), back->size());
    QVERIFY(button.top() >= 0);
    QVERIFY2(f.field->geometry().top() > button.bottom(), "the page's content starts below the bar");
}

void TestStackedWindows::returnsToTheMainWindow_data()
{
    QTest::addColumn<Way>("way");

    QTest::newRow("back button") << Way::BackButton;
    QTest::newRow("escape key") << Way::Escape;
    QTest::newRow("escape key in a text field") << Way::EscapeInAField;
    QTest::newRow("window closed") << Way::WindowClosed;
    QTest::newRow("page hidden by the program") << Way::HiddenByTheProgram;
    QTest::newRow("closeStackedWindow") << Way::CloseStackedWindow;
}

void TestStackedWindows::returnsToTheMainWindow()
{
    QFETCH(Way, way);

    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    QSignalSpy closed(&shell, &ShellServices::stackedWindowClosed);
    const QMargins margins = f.settingsPage->contentsMargins();
    auto* stack = f.settingsPage->parentWidget();
    shell.openStackedWindow(f.settingsPage);
    QVERIFY(QTest::qWaitForWindowExposed(f.settingsPage));

    switch (way) {
    case Way::BackButton:
        QTest::mouseClick(backButton(f.settingsPage), Qt::LeftButton);
        break;
    case Way::Escape:
        QTest::keyClick(f.settingsPage, Qt::Key_Escape);
        break;
    case Way::EscapeInAField:
        QTest::keyClick(f.field, Qt::Key_Escape);
        break;
    case Way::WindowClosed:
        QVERIFY(f.settingsPage->close());
        break;
    case Way::HiddenByTheProgram:
        f.settingsPage->hide();
        break;
    case Way::CloseStackedWindow:
        shell.closeStackedWindow(f.settingsPage);
        break;
    }

    QVERIFY(!f.settingsPage->isVisible());
    QVERIFY(!shell.isStackedWindowOpen(f.settingsPage));
    QTRY_COMPARE(closed.count(), 1);
    QCOMPARE(closed.first().first().value<QWidget*>(), f.settingsPage);
    QVERIFY(!f.settingsPage->isWindow());
    QCOMPARE(f.settingsPage->parentWidget(), stack);
    QCOMPARE(f.settingsPage->contentsMargins(), margins);
    QVERIFY(f.settingsPage->windowTitle().isEmpty());
    QTRY_VERIFY(!backButton(f.settingsPage));
    QVERIFY(f.mainPage->isVisible());
}

void TestStackedWindows::openingTwiceKeepsOneWindow()
{
    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    const QMargins margins = f.settingsPage->contentsMargins();
    shell.openStackedWindow(f.settingsPage);
    const QMargins withBar = f.settingsPage->contentsMargins();
    shell.openStackedWindow(f.settingsPage);
    QCOMPARE(
        f.settingsPage->findChildren<QToolButton*>(QStringLiteral("stackedWindowBack_toolButton")).size(), 1);
    QCOMPARE(f.settingsPage->contentsMargins(), withBar);
    shell.closeStackedWindow(f.settingsPage);
    QTRY_VERIFY(!f.settingsPage->isWindow());
    QCOMPARE(f.settingsPage->contentsMargins(), margins);
}

void TestStackedWindows::opensAgainAfterReturning()
{
    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    shell.openStackedWindow(f.settingsPage);
    QTest::keyClick(f.settingsPage, Qt::Key_Escape);
    // Opened again before the page went back: it still comes up as one clean window.
    shell.openStackedWindow(f.settingsPage);
    QVERIFY(shell.isStackedWindowOpen(f.settingsPage));
    QVERIFY(f.settingsPage->isWindow());
    QVERIFY(f.settingsPage->isVisible());
    QTRY_COMPARE(
        f.settingsPage->findChildren<QToolButton*>(QStringLiteral("stackedWindowBack_toolButton")).size(), 1);
    QVERIFY(shell.isStackedWindowOpen(f.settingsPage));
    QVERIFY(f.settingsPage->isVisible());
    QTest::keyClick(f.settingsPage, Qt::Key_Escape);
    QTRY_VERIFY(!f.settingsPage->isWindow());
}

void TestStackedWindows::currentPageShowsAgainInTheMainWindow()
{
    MainWindowFixture f;
    auto* stack = static_cast<QStackedWidget*>(f.window.centralWidget());
    stack->setCurrentWidget(f.settingsPage);
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    shell.openStackedWindow(f.settingsPage);
    shell.closeStackedWindow(f.settingsPage);
    QTRY_VERIFY(!f.settingsPage->isWindow());
    QVERIFY(f.settingsPage->isVisible());
    QCOMPARE(f.settingsPage->window(), &f.window);
}

void TestStackedWindows::followsAMaximizedMainWindow()
{
    MainWindowFixture f;
    f.window.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    shell.openStackedWindow(f.settingsPage);
    QVERIFY(f.settingsPage->isMaximized());
}

void TestStackedWindows::pageDeletedWhileOpen()
{
    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    QSignalSpy closed(&shell, &ShellServices::stackedWindowClosed);
    shell.openStackedWindow(f.settingsPage);
    QPointer<QWidget> page = f.settingsPage;
    delete f.settingsPage;
    QVERIFY(!shell.isStackedWindowOpen(page));
    shell.closeStackedWindow(page);
    QTest::qWait(0);
    QCOMPARE(closed.count(), 0);
}

void TestStackedWindows::mainWindowItselfIsNoPage()
{
    MainWindowFixture f;
    QVERIFY(f.show());
    DesktopShellServices shell(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus());
    shell.openStackedWindow(&f.window);
    shell.openStackedWindow(nullptr);
    QVERIFY(!shell.isStackedWindowOpen(&f.window));
    QVERIFY(!backButton(&f.window));
}

QTEST_MAIN(TestStackedWindows)
#include "tst_stackedwindows.moc"
