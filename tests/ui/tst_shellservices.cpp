#include "tests/common/privatesessionbus.h"
#include "ui/shell/desktopshellservices.h"
#include "ui/shell/displaystatesource.h"
#include "ui/widgets/qanimationlabel.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QLineEdit>
#include <QMainWindow>
#include <QMovie>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// A main window shaped like the program's: a stack of pages with the first one showing, and
// a settings page with a layout and a text field.
struct MainWindowFixture
{
    MainWindowFixture()
    {
        window.setWindowTitle(QStringLiteral("TavrelControl Lite"));
        auto* stack = new QStackedWidget(&window);
        mainPage = new QWidget(stack);
        settingsPage = new QWidget(stack);
        auto* layout = new QVBoxLayout(settingsPage);
        field = new QLineEdit(settingsPage);
        layout->addWidget(field);
        stack->addWidget(mainPage);
        stack->addWidget(settingsPage);
        window.setCentralWidget(stack);
        window.setGeometry(100, 120, 640, 400);
    }

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    // Any warning fails the test, but the offscreen platform's notes that it has no window
    // manager to pass size hints or raising on to.
    static void failOnWarnings()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support ).*")));
    }

    // A connection that was never opened: no bus at all.
    static QDBusConnection noBus() { return QDBusConnection(QStringLiteral("tavrel-test-no-bus")); }

    QMainWindow window;
    QWidget* mainPage = nullptr;
    QWidget* settingsPage = nullptr;
    QLineEdit* field = nullptr;
};

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

constexpr auto mceName = "tavrel-test-fake-mce";
constexpr auto screenSaverName = "tavrel-test-fake-screensaver";

// The handset's power-management service, as much of it as the program asks for.
class FakeMce : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.nokia.mce.request")

public:
    using QObject::QObject;

public slots:
    QString get_display_status() { return u"off"_s; }
};

// The session's screen saver.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    using QObject::QObject;

public slots:
    bool GetActive() { return true; }
};

// A connection of its own on the session bus that owns a service name, as another process would.
QDBusConnection serviceConnection(const char* connectionName, const QString& service, const QString& path,
                                  QObject* object)
{
    QDBusConnection bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QString::fromLatin1(connectionName));
    if (!bus.isConnected() || !bus.registerService(service) ||
        !bus.registerObject(path, object, QDBusConnection::ExportAllSlots))
        return MainWindowFixture::noBus();
    return bus;
}

void emitSignal(QDBusConnection& bus, const QString& path, const QString& interface, const QString& name,
                const QVariant& argument)
{
    QDBusMessage message = QDBusMessage::createSignal(path, interface, name);
    message << argument;
    QVERIFY(bus.send(message));
}

} // namespace

Q_DECLARE_METATYPE(Way)

class TestShellServices : public QObject
{
    Q_OBJECT

private:
    // A session of the test's own, so that nothing of the machine's desktop answers on it.
    PrivateSessionBus m_bus{PrivateSessionBus::Keyring::None};
    std::unique_ptr<MainWindowFixture> m_main;
    std::unique_ptr<DesktopShellServices> m_shell;
    std::unique_ptr<FakeMce> m_mce;
    std::unique_ptr<FakeScreenSaver> m_screenSaver;

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_bus.isReady()); }

    void init()
    {
        MainWindowFixture::failOnWarnings();
        m_shell.reset();
        m_main = std::make_unique<MainWindowFixture>();
        QVERIFY(m_main->show());
        m_shell = std::make_unique<DesktopShellServices>(&m_main->window, MainWindowFixture::noBus(),
                                                         MainWindowFixture::noBus());
    }

    void cleanup()
    {
        QDBusConnection::disconnectFromBus(QString::fromLatin1(mceName));
        QDBusConnection::disconnectFromBus(QString::fromLatin1(screenSaverName));
        m_mce.reset();
        m_screenSaver.reset();
    }

    void stackedWindowReturns_data()
    {
        QTest::addColumn<Way>("way");

        QTest::newRow("back button") << Way::BackButton;
        QTest::newRow("escape key") << Way::Escape;
        QTest::newRow("escape key in a text field") << Way::EscapeInAField;
        QTest::newRow("window closed") << Way::WindowClosed;
        QTest::newRow("page hidden by the program") << Way::HiddenByTheProgram;
        QTest::newRow("closeStackedWindow") << Way::CloseStackedWindow;
    }

    void stackedWindowReturns()
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

    void reopenedBeforeReturningStaysOpen()
    {
        QWidget* page = m_main->settingsPage;
        m_shell->openStackedWindow(page);
        QTest::keyClick(page, Qt::Key_Escape);
        m_shell->openStackedWindow(page); // before the event loop put the page back
        QTRY_COMPARE(page->findChildren<QToolButton*>(QStringLiteral("stackedWindowBack_toolButton")).size(),
                     1);
        QVERIFY(m_shell->isStackedWindowOpen(page));
        QVERIFY(page->isWindow() && page->isVisible());
    }

    void pageDeletedWhileOpen()
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

    void orientationShapesTheMainWindow_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("orientation");

        QTest::newRow("landscape") << 1 << false << QSize(800, 480) << 1;
        QTest::newRow("portrait") << 2 << false << QSize(480, 800) << 2;
        QTest::newRow("portrait takes a maximized window out of its state")
            << 2 << true << QSize(480, 800) << 2;
        QTest::newRow("automatic leaves the shape to the user") << 0 << false << QSize(640, 400) << 0;
        QTest::newRow("unknown value counts as automatic") << 7 << false << QSize(640, 400) << 0;
    }

    void orientationShapesTheMainWindow()
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

    void busyIndicatorSwitchesOnAndOff_data()
    {
        QTest::addColumn<QList<bool>>("switches");
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("starts"); // times the animation was started

        QTest::newRow("hidden until switched on") << QList<bool>{} << false << 0;
        QTest::newRow("on") << QList<bool>{true} << true << 1;
        QTest::newRow("off while off starts nothing") << QList<bool>{false} << false << 0;
        QTest::newRow("on twice keeps one running animation") << QList<bool>{true, true} << true << 1;
        QTest::newRow("on twice then off") << QList<bool>{true, true, false} << false << 1;
        QTest::newRow("off then on again") << QList<bool>{true, false, true} << true << 2;
    }

    void busyIndicatorSwitchesOnAndOff()
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

    void unreadableAnimationNeverShows()
    {
        auto* indicator =
            new QAnimationLabel(QStringLiteral(":/no/such/animation.gif"), QSize(), m_main->mainPage);
        indicator->start();
        QVERIFY(!indicator->isVisible());
        QVERIFY(!indicator->isAnimating());
    }

    void windowDecidesTheDisplayStateWithoutBuses_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("reports");

        // Steps and the states reported, each a word.
        QTest::newRow("window not shown yet is off") << u""_s << u"off"_s;
        QTest::newRow("shown window is on") << u"show"_s << u"off on"_s;
        QTest::newRow("minimized window is off") << u"show minimize"_s << u"off on off"_s;
        QTest::newRow("restored window is on again") << u"show minimize restore"_s << u"off on off on"_s;
        QTest::newRow("hidden window is off") << u"show hide"_s << u"off on off"_s;
        QTest::newRow("shown again after hiding") << u"show hide show"_s << u"off on off on"_s;
        QTest::newRow("repeated states are reported once")
            << u"show show hide hide minimize"_s << u"off on off"_s;
    }

    void windowDecidesTheDisplayStateWithoutBuses()
    {
        QFETCH(QString, steps);
        QFETCH(QString, reports);

        MainWindowFixture f;
        DisplayStateSource source(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus(), nullptr);
        QSignalSpy states(&source, &DisplayStateSource::stateChanged);
        QVERIFY2(source.state().isEmpty(), "the first report waits for the event loop");
        QTRY_COMPARE(states.count(), 1);
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts)) {
            if (step == QLatin1String("show"))
                f.window.show();
            else if (step == QLatin1String("hide"))
                f.window.hide();
            else if (step == QLatin1String("minimize"))
                f.window.showMinimized();
            else
                f.window.showNormal();
            QCoreApplication::processEvents();
        }
        QStringList reported;
        for (const QList<QVariant>& report : states)
            reported.append(report.first().toString());
        QCOMPARE(reported.join(u' '), reports);
        QCOMPARE(source.state(), reported.last());
    }

    void screenSaverTurnsTheDisplayOff()
    {
        m_screenSaver = std::make_unique<FakeScreenSaver>();
        QDBusConnection service = serviceConnection(screenSaverName, u"org.freedesktop.ScreenSaver"_s,
                                                    u"/org/freedesktop/ScreenSaver"_s, m_screenSaver.get());
        QVERIFY(service.isConnected());

        MainWindowFixture f;
        QVERIFY(f.show());
        DisplayStateSource source(&f.window, MainWindowFixture::noBus(), QDBusConnection::sessionBus(),
                                  nullptr);
        // The screen saver reports itself active when asked.
        QTRY_COMPARE(source.state(), u"off"_s);

        for (const bool active : {false, true, false}) {
            emitSignal(service, u"/org/freedesktop/ScreenSaver"_s, u"org.freedesktop.ScreenSaver"_s,
                       u"ActiveChanged"_s, active);
            QTRY_COMPARE(source.state(), active ? u"off"_s : u"on"_s);
        }
        f.window.showMinimized();
        QCOMPARE(source.state(), u"off"_s);
    }

    void powerManagementServiceDecidesWhenPresent()
    {
        m_mce = std::make_unique<FakeMce>();
        QDBusConnection service =
            serviceConnection(mceName, u"com.nokia.mce"_s, u"/com/nokia/mce/request"_s, m_mce.get());
        QVERIFY(service.isConnected());

        MainWindowFixture f;
        QVERIFY(f.show());
        // The service lives on the session bus here; the program looks on the system bus.
        DisplayStateSource source(&f.window, QDBusConnection::sessionBus(), MainWindowFixture::noBus(),
                                  nullptr);
        QSignalSpy states(&source, &DisplayStateSource::stateChanged);
        // Asked at start, the service says the display is off although the window is shown.
        QTRY_COMPARE(source.state(), u"off"_s);
        QVERIFY(source.followsPowerManagement());

        const auto display = [&](const QString& state) {
            emitSignal(service, u"/com/nokia/mce/signal"_s, u"com.nokia.mce.signal"_s,
                       u"display_status_ind"_s, state);
            QTRY_COMPARE(source.state(), state);
        };
        display(u"on"_s);
        // With the service present the window no longer decides.
        f.window.showMinimized();
        QCoreApplication::processEvents();
        QCOMPARE(source.state(), u"on"_s);
        display(u"off"_s);
        QCOMPARE(states.last().first().toString(), u"off"_s);
    }

    void missingPowerManagementServiceLeavesTheWindowToDecide()
    {
        MainWindowFixture f;
        QVERIFY(f.show());
        DisplayStateSource source(&f.window, QDBusConnection::sessionBus(), MainWindowFixture::noBus(),
                                  nullptr);
        // Answers come back in the order of the calls: once this one failed, so has the source's.
        const QDBusMessage probe =
            QDBusMessage::createMethodCall(u"com.nokia.mce"_s, u"/com/nokia/mce/request"_s,
                                           u"com.nokia.mce.request"_s, u"get_display_status"_s);
        QDBusPendingCallWatcher answer(QDBusConnection::sessionBus().asyncCall(probe));
        QSignalSpy answered(&answer, &QDBusPendingCallWatcher::finished);
        QTRY_COMPARE(answered.count(), 1);
        QVERIFY(answer.isError());
        QCoreApplication::processEvents();
        QCOMPARE(source.state(), u"on"_s);
        QVERIFY(!source.followsPowerManagement());
        f.window.showMinimized();
        QCOMPARE(source.state(), u"off"_s);
    }
};

QTEST_MAIN(TestShellServices)
#include "tst_shellservices.moc"
