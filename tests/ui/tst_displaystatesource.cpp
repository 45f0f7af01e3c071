#include "mainwindowfixture.h"
#include "ui/shell/displaystatesource.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace {

constexpr auto mceName = "tavrel-test-fake-mce";
constexpr auto screenSaverName = "tavrel-test-fake-screensaver";

// The handset's power-management service, as much of it as the program asks for.
class FakeMce : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.nokia.mce.request")

public:
    explicit FakeMce(QObject* parent)
        : QObject(parent)
    {}

    QString state = u"off"_s;

public slots:
    QString get_display_status() { return state; }
};

// The session's screen saver.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    explicit FakeScreenSaver(QObject* parent)
        : QObject(parent)
    {}

    bool active = true;

public slots:
    bool GetActive() { return active; }
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

class TestDisplayStateSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowDecidesWithoutBuses_data();
    void windowDecidesWithoutBuses();
    void screenSaverTurnsTheDisplayOff();
    void powerManagementServiceDecidesWhenPresent();
    void missingPowerManagementServiceLeavesTheWindowToDecide();

private:
    FakeMce* m_mce = nullptr;
    FakeScreenSaver* m_screenSaver = nullptr;
};

void TestDisplayStateSource::init()
{
    MainWindowFixture::failOnWarnings();
}

void TestDisplayStateSource::cleanup()
{
    QDBusConnection::disconnectFromBus(QString::fromLatin1(mceName));
    QDBusConnection::disconnectFromBus(QString::fromLatin1(screenSaverName));
    delete m_mce;
    m_mce = nullptr;
    delete m_screenSaver;
    m_screenSaver = nullptr;
}

void TestDisplayStateSource::windowDecidesWithoutBuses_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("reports");

    const QString show = u"show"_s;
    const QString hide = u"hide"_s;
    const QString minimize = u"minimize"_s;
    const QString restore = u"restore"_s;
    const QString on = u"on"_s;
    const QString off = u"off"_s;
    QTest::newRow("window not shown yet is off") << QStringList{} << QStringList{off};
    QTest::newRow("shown window is on") << QStringList{show} << QStringList{off, on};
    QTest::newRow("minimized window is off") << QStringList{show, minimize} << QStringList{off, on, off};
    QTest::newRow("restored window is on again")
        << QStringList{show, minimize, restore} << QStringList{off, on, off, on};
    QTest::newRow("hidden window is off") << QStringList{show, hide} << QStringList{off, on, off};
    QTest::newRow("shown again after hiding")
        << QStringList{show, hide, show} << QStringList{off, on, off, on};
    QTest::newRow("repeated states are reported once")
        << QStringList{show, show, hide, hide, minimize} << QStringList{off, on, off};
}

void TestDisplayStateSource::windowDecidesWithoutBuses()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, reports);

    MainWindowFixture f;
    DisplayStateSource source(&f.window, MainWindowFixture::noBus(), MainWindowFixture::noBus(), nullptr);
    QSignalSpy states(&source, &DisplayStateSource::stateChanged);
    QVERIFY2(source.state().isEmpty(), "the first report waits for the event loop");
    QTRY_COMPARE(states.count(), 1);
    for (const QString& step : steps) {
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
    QCOMPARE(reported, reports);
    QCOMPARE(source.state(), reports.last());
}

void TestDisplayStateSource::screenSaverTurnsTheDisplayOff()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus (run the tests under dbus-run-session)");
    m_screenSaver = new FakeScreenSaver(nullptr);
    QDBusConnection service = serviceConnection(screenSaverName, u"org.freedesktop.ScreenSaver"_s,
                                                u"/org/freedesktop/ScreenSaver"_s, m_screenSaver);
    if (!service.isConnected())
        QSKIP("the session already has a screen saver service");

    MainWindowFixture f;
    QVERIFY(f.show());
    DisplayStateSource source(&f.window, MainWindowFixture::noBus(), QDBusConnection::sessionBus(), nullptr);
    // The screen saver reports itself active when asked.
    QTRY_COMPARE(source.state(), u"off"_s);

    const QString path = u"/org/freedesktop/ScreenSaver"_s;
    const QString interface = u"org.freedesktop.ScreenSaver"_s;
    emitSignal(service, path, interface, u"ActiveChanged"_s, false);
    QTRY_COMPARE(source.state(), u"on"_s);
    emitSignal(service, path, interface, u"ActiveChanged"_s, true);
    QTRY_COMPARE(source.state(), u"off"_s);
    emitSignal(service, path, interface, u"ActiveChanged"_s, false);
    QTRY_COMPARE(source.state(), u"on"_s);
    f.window.showMinimized();
    QCOMPARE(source.state(), u"off"_s);
}

void TestDisplayStateSource::powerManagementServiceDecidesWhenPresent()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus (run the tests under dbus-run-session)");
    m_mce = new FakeMce(nullptr);
    QDBusConnection service =
        serviceConnection(mceName, u"com.nokia.mce"_s, u"/com/nokia/mce/request"_s, m_mce);
    if (!service.isConnected())
        QSKIP("the session bus already has a power-management service");

    MainWindowFixture f;
    QVERIFY(f.show());
    // The service lives on the session bus here; the program looks on the system bus.
    DisplayStateSource source(&f.window, QDBusConnection::sessionBus(), MainWindowFixture::noBus(), nullptr);
    QSignalSpy states(&source, &DisplayStateSource::stateChanged);
    // Asked at start, the service says the display is off although the window is shown.
    QTRY_COMPARE(source.state(), u"off"_s);
    QVERIFY(source.followsPowerManagement());

    const QString path = u"/com/nokia/mce/signal"_s;
    const QString interface = u"com.nokia.mce.signal"_s;
    emitSignal(service, path, interface, u"display_status_ind"_s, u"on"_s);
    QTRY_COMPARE(source.state(), u"on"_s);
    // With the service present the window no longer decides.
    f.window.showMinimized();
    QCoreApplication::processEvents();
    QCOMPARE(source.state(), u"on"_s);
    emitSignal(service, path, interface, u"display_status_ind"_s, u"off"_s);
    QTRY_COMPARE(source.state(), u"off"_s);
    QCOMPARE(states.last().first().toString(), u"off"_s);
}

void TestDisplayStateSource::missingPowerManagementServiceLeavesTheWindowToDecide()
{
    if (!QDBusConnection::sessionBus().isConnected())
        QSKIP("no session bus (run the tests under dbus-run-session)");

    MainWindowFixture f;
    QVERIFY(f.show());
    DisplayStateSource source(&f.window, QDBusConnection::sessionBus(), MainWindowFixture::noBus(), nullptr);
    // Answers come back in the order of the calls: once this one failed, so has the source's.
    const QDBusMessage probe = QDBusMessage::createMethodCall(
        u"com.nokia.mce"_s, u"/com/nokia/mce/request"_s, u"com.nokia.mce.request"_s, u"get_display_status"_s);
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

QTEST_MAIN(TestDisplayStateSource)
#include "tst_displaystatesource.moc"
