#include "box/tavrelrequest.h"
#include "control/manualtimersource.h"
#include "control/messageboxanswerer.h"
#include "control/tavrelcontrol.h"
#include "model/clock.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"
#include "tests/common/temporarysettings.h"
#include "ui/delegates/itemroles.h"
#include "ui/mainwindow.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QListView>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

// The longest the window may hold the event loop while it builds or decorates the lists. The
// sanitizer build runs several times slower; there the test still catches work that grows
// faster than the line-up.
#ifdef TAVREL_SANITIZED_BUILD
constexpr qint64 longestStallMs = 400;
#else
constexpr qint64 longestStallMs = 100;
#endif

// Ticks as often as it can and remembers the longest gap between two ticks: how long the event
// loop was held at a time.
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer,
                         [this] { m_longest = std::max(m_longest, m_clock.restart()); });
        m_clock.start();
        m_timer.start();
    }

    qint64 longestMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

// The simulated receiver as a program of its own, so that the probe sees only this process:
// generating thousands of services and events would otherwise hold the same event loop.
class ReceiverProgram
{
public:
    explicit ReceiverProgram(const QString& lineUp)
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral(TAVREL_BOXSIM),
                        {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--lineup"), lineUp});
        const QRegularExpression portLine(QStringLiteral("^port (\\d+)$"),
                                          QRegularExpression::MultilineOption);
        const bool ended = QTest::qWaitFor(
            [&] {
                m_process.waitForReadyRead(50);
                m_output += m_process.readAll();
                const QRegularExpressionMatch match = portLine.match(QString::fromLatin1(m_output));
                if (match.hasMatch())
                    port = match.captured(1).toUShort();
                return port != 0 || m_process.state() == QProcess::NotRunning;
            },
            10000);
        if (!ended)
            port = 0;
    }

    ~ReceiverProgram()
    {
        m_process.kill();
        m_process.waitForFinished();
    }

    quint16 port = 0;

private:
    QProcess m_process;
    QByteArray m_output;
};

} // namespace

class TestLargeLineUp : public QObject
{
    Q_OBJECT

private slots:
    void listsDoNotHoldTheEventLoop_data();
    void listsDoNotHoldTheEventLoop();
};

void TestLargeLineUp::listsDoNotHoldTheEventLoop_data()
{
    QTest::addColumn<int>("bouquets");
    QTest::addColumn<int>("services");
    QTest::newRow("20 bouquets of 1000 services") << 20 << 1000;
    QTest::newRow("one bouquet of 20000 services") << 1 << 20000;
}

void TestLargeLineUp::listsDoNotHoldTheEventLoop()
{
    QFETCH(int, bouquets);
    QFETCH(int, services);
    const TemporarySettings store;
    const ReceiverProgram program(QStringLiteral("%1x%2").arg(bouquets).arg(services));
    QVERIFY(program.port != 0);
    Profile profile;
    profile.profileName = QStringLiteral("Large");
    profile.webIfType = 1;
    profile.isActive = true;
    profile.wlanAddr = QStringLiteral("127.0.0.1");
    profile.wlanPort = QString::number(program.port);
    Settings().saveProfile(profile);
    ManualTimerSource timers;
    const MessageBoxAnswerer boxes;
    MainWindow window(Clock::system(), timers);
    window.resize(800, 480);
    TavrelControl* control = window.control();
    const auto settle = [control] {
        const bool settled = QTest::qWaitFor(
            [control] {
                const TavrelRequest* engine = control->currentEngine();
                return !engine || engine->isSettled();
            },
            30000);
        QCoreApplication::processEvents();
        return settled;
    };
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->setCurrentIndex(1);

    const StallProbe probe;
    QSignalSpy built(&window, &MainWindow::serviceListsBuilt);
    control->loadServiceData();
    QVERIFY(built.wait(30000));
    QVERIFY(settle());
    auto* stack = window.findChild<QStackedWidget*>(QStringLiteral("channelList_stackedWidget"));
    QCOMPARE(stack->count(), bouquets);
    const auto* list = qobject_cast<QListView*>(stack->currentWidget());
    QCOMPARE(list->model()->rowCount(), services);
    // The shown bouquet's now/next events reach its rows.
    control->reloadEpgActionSlot();
    QVERIFY(settle());
    QTRY_VERIFY_WITH_TIMEOUT(
        !list->model()->index(services - 1, 0).data(ChannelRole::CurrentEvent).toString().isEmpty(), 30000);
    qInfo("longest event-loop stall while loading, reading the answers, building and decorating: %lld ms",
          probe.longestMs());

    // The window's own part, measured alone: building every list, decorating the shown one and
    // painting it, with the probe watching the event loop throughout.
    TavrelDatabase* database = control->currentDatabase();
    window.resetServiceDataSlot();
    window.findChild<QTabWidget*>(QStringLiteral("tabWidget"))->setCurrentIndex(1);
    const StallProbe windowProbe;
    QElapsedTimer build;
    build.start();
    window.receivedServiceData(database);
    const qint64 buildMs = build.elapsed();
    QElapsedTimer decorate;
    decorate.start();
    window.epgDataUpdateSlot(database);
    const qint64 decorateMs = decorate.elapsed();
    QTest::qWait(300);
    qInfo("building the lists: %lld ms, decorating %d rows: %lld ms, longest stall with painting: %lld ms",
          buildMs, services, decorateMs, windowProbe.longestMs());
    QVERIFY2(windowProbe.longestMs() < longestStallMs, qPrintable(QString::number(windowProbe.longestMs())));
}

QTEST_MAIN(TestLargeLineUp)
#include "tst_largelineup.moc"
