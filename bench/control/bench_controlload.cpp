// How long a full load of a big line-up takes through the controller, and how long the event
// loop is kept from the user while it runs. The simulated receiver serves 20 bouquets of 1,000
// services each from its own thread, with 20 ms added to every answer; a 1 ms probe timer in the
// controller's thread measures the longest stretch in which the event loop did not come round.
//
// Reported per load: time from loadServiceData() to ServiceDataUpdate, to the first EpgDataUpdate
// that brought the box bouquet's events, requests and bytes, and the longest stall with the
// phase it fell into. Each load runs twice: through the controller alone, and through the
// program's window showing the bouquet tab, so that building and decorating the channel lists
// count too.
//
// Options: --runs N (default 3), --webif e2|e1|both (default both), --view
// controller|window|both (default both), --lineup BxS (default 20x1000); other options (as the
// benchmark script passes to every program) are ignored.

#include "box/tavrelrequest.h"
#include "control/controltimer.h"
#include "control/tavrelcontrol.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"
#include "tests/common/temporarysettings.h"
#include "tools/boxsim/boxsim.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr int latencyMs = 20;
constexpr int probeIntervalMs = 1;
constexpr int loadTimeoutMs = 120000;

struct Options
{
    int runs = 3;
    int bouquets = 20;
    int servicesPerBouquet = 1000;
    bool enigma2 = true;
    bool enigma1 = true;
    bool controllerView = true;
    bool windowView = true;
};

Options parseOptions(const QStringList& arguments)
{
    Options options;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--runs")) {
            options.runs = std::max(1, arguments.at(i + 1).toInt());
        } else if (arguments.at(i) == QLatin1String("--webif")) {
            options.enigma2 = arguments.at(i + 1) != QLatin1String("e1");
            options.enigma1 = arguments.at(i + 1) != QLatin1String("e2");
        } else if (arguments.at(i) == QLatin1String("--lineup")) {
            // Bouquets x services, as the simulated receiver takes it: "1x20000".
            const QStringList parts = arguments.at(i + 1).split(u'x');
            if (parts.size() == 2 && parts.at(0).toInt() > 0 && parts.at(1).toInt() > 0) {
                options.bouquets = parts.at(0).toInt();
                options.servicesPerBouquet = parts.at(1).toInt();
            }
        } else if (arguments.at(i) == QLatin1String("--view")) {
            options.controllerView = arguments.at(i + 1) != QLatin1String("window");
            options.windowView = arguments.at(i + 1) != QLatin1String("controller");
        }
    }
    return options;
}

// The simulated receiver in a thread of its own, so its work never counts as a stall here.
class ReceiverThread
{
public:
    ReceiverThread(boxsim::Personality personality, const Options& options)
    {
        m_thread.start();
        m_anchor.moveToThread(&m_thread);
        run([this, personality, &options] {
            m_box = new boxsim::BoxSim(personality);
            m_box->useGeneratedLineUp(options.bouquets, options.servicesPerBouquet);
            boxsim::Fault slow;
            slow.latencyMs = latencyMs;
            m_box->setFault(slow);
            m_port = m_box->listen();
        });
    }

    ~ReceiverThread()
    {
        run([this] { delete m_box; });
        m_thread.quit();
        m_thread.wait();
    }

    quint16 port() const { return m_port; }

    qsizetype requestCount()
    {
        qsizetype count = 0;
        run([this, &count] { count = m_box->requests().size(); });
        return count;
    }

    void clearRequests()
    {
        run([this] { m_box->clearRequests(); });
    }

private:
    template<typename F>
    void run(F&& work)
    {
        QMetaObject::invokeMethod(&m_anchor, std::forward<F>(work), Qt::BlockingQueuedConnection);
    }

    QThread m_thread;
    QObject m_anchor;
    boxsim::BoxSim* m_box = nullptr;
    quint16 m_port = 0;
};

// Longest gap between two ticks of a fast timer: how long the event loop was kept busy.
class StallProbe
{
public:
    StallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(probeIntervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { tick(); });
    }

    void start(const char* phase)
    {
        m_phase = phase;
        m_longest = 0;
        m_longestPhase = phase;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }

    void stop() { m_timer.stop(); }
    // Takes the rest of the current stretch into account: a stall ends when the probe ticks.
    void setPhase(const char* phase)
    {
        tick();
        m_phase = phase;
    }

    qint64 longestMs() const { return m_longest; }
    const char* longestPhase() const { return m_longestPhase; }

private:
    void tick()
    {
        const qint64 now = m_clock.elapsed();
        if (now - m_last > m_longest) {
            m_longest = now - m_last;
            m_longestPhase = m_phase;
        }
        m_last = now;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    const char* m_phase = "";
    const char* m_longestPhase = "";
};

// The controller alone, or the program's window around it with the bouquet tab shown.
class LoadView
{
public:
    explicit LoadView(bool withWindow)
    {
        if (!withWindow) {
            m_control = std::make_unique<TavrelControl>();
            return;
        }
        m_window = std::make_unique<MainWindow>();
        m_window->resize(800, 480);
        m_window->show();
        m_window->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->setCurrentIndex(1);
    }

    TavrelControl& control() const { return m_window ? *m_window->control() : *m_control; }

private:
    std::unique_ptr<TavrelControl> m_control;
    std::unique_ptr<MainWindow> m_window;
};

struct LoadFigures
{
    qint64 toServiceData = -1;
    qint64 toBouquetEpg = -1;
    qint64 toSettled = -1;
    qsizetype requests = 0;
    qint64 bytes = 0;
    qint64 longestStallMs = 0;
    const char* stallPhase = "";
};

// A good share of the box bouquet's channels have events: its bouquet EPG has been merged.
bool boxBouquetHasEpg(const TavrelDatabase& database)
{
    const std::optional<std::pair<int, int>> found =
        database.findService(database.statusData()->serviceReference);
    if (!found)
        return false;
    const QList<Channel*>& channels = database.bouquet(found->first)->channels;
    const auto withEvents = std::count_if(channels.cbegin(), channels.cend(),
                                          [](const Channel* channel) { return channel->hasEpg(); });
    return withEvents * 2 > channels.size();
}

std::optional<LoadFigures> measureLoad(boxsim::Personality personality, const Options& options,
                                       bool withWindow)
{
    ReceiverThread receiver(personality, options);
    if (receiver.port() == 0)
        return std::nullopt;
    Profile profile;
    profile.profileName = QStringLiteral("Benchmark");
    profile.webIfType = personality == boxsim::Personality::Enigma2 ? 1 : 0;
    profile.isActive = true;
    // The Enigma1 status page always wants this login.
    profile.userName = QStringLiteral("root");
    profile.password = QStringLiteral("root");
    profile.wlanAddr = QStringLiteral("127.0.0.1");
    profile.wlanPort = QString::number(receiver.port());
    Settings().saveProfile(profile);

    const LoadView view(withWindow);
    TavrelControl& control = view.control();
    LoadFigures figures;
    QElapsedTimer clock;
    StallProbe probe;
    QEventLoop loop;
    QObject::connect(&control, &TavrelControl::ServiceDataUpdate, &control, [&] {
        if (figures.toServiceData < 0) {
            figures.toServiceData = clock.elapsed();
            probe.setPhase("after the bouquets");
        }
    });
    QObject::connect(&control, qOverload<>(&TavrelControl::EpgDataUpdate), &control, [&] {
        if (figures.toBouquetEpg < 0 && boxBouquetHasEpg(*control.currentDatabase())) {
            figures.toBouquetEpg = clock.elapsed();
            probe.setPhase("after the bouquet EPG");
        }
    });
    // Done once the bouquet EPG is in and the engine has nothing left under way.
    QTimer settledCheck;
    QObject::connect(&settledCheck, &QTimer::timeout, &control, [&] {
        const TavrelRequest* engine = control.currentEngine();
        if (figures.toBouquetEpg >= 0 && engine && engine->isSettled())
            loop.quit();
    });
    QTimer::singleShot(loadTimeoutMs, &loop, &QEventLoop::quit);

    receiver.clearRequests();
    probe.start("until the bouquets");
    settledCheck.start(5);
    clock.start();
    control.loadServiceData();
    loop.exec();
    probe.stop();
    settledCheck.stop();
    if (figures.toBouquetEpg < 0)
        return std::nullopt;
    figures.toSettled = clock.elapsed();
    figures.requests = receiver.requestCount();
    figures.bytes = control.currentDatabase()->receivedBytes();
    figures.longestStallMs = probe.longestMs();
    figures.stallPhase = probe.longestPhase();
    return figures;
}

} // namespace

int main(int argc, char* argv[])
{
    // Nothing reaches a screen: the window, when measured, paints offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerRecordMetaTypes();
    const Options options = parseOptions(QCoreApplication::arguments());
    TemporarySettings store;

    std::printf("Load of %d x %d services, %d ms added to every answer, probe every %d ms\n",
                options.bouquets, options.servicesPerBouquet, latencyMs, probeIntervalMs);
    std::printf("%-8s %-10s %4s %14s %16s %12s %9s %10s %12s  %s\n", "webif", "view", "run", "services ms",
                "bouquet EPG ms", "settled ms", "requests", "kB", "stall ms", "longest stall");
    int status = 0;
    for (const boxsim::Personality personality :
         {boxsim::Personality::Enigma2, boxsim::Personality::Enigma1}) {
        const bool e2 = personality == boxsim::Personality::Enigma2;
        if ((e2 && !options.enigma2) || (!e2 && !options.enigma1))
            continue;
        const char* webif = e2 ? "Enigma2" : "Enigma1";
        for (const bool withWindow : {false, true}) {
            if ((withWindow && !options.windowView) || (!withWindow && !options.controllerView))
                continue;
            const char* view = withWindow ? "window" : "controller";
            for (int run = 1; run <= options.runs; ++run) {
                const std::optional<LoadFigures> figures = measureLoad(personality, options, withWindow);
                if (!figures) {
                    std::printf("%-8s %-10s %4d  load did not complete\n", webif, view, run);
                    status = 1;
                    continue;
                }
                std::printf("%-8s %-10s %4d %14lld %16lld %12lld %9lld %10.1f %12lld  %s\n", webif, view, run,
                            figures->toServiceData, figures->toBouquetEpg, figures->toSettled,
                            qint64(figures->requests), double(figures->bytes) / 1024.0,
                            figures->longestStallMs, figures->stallPhase);
                std::fflush(stdout);
            }
        }
    }
    return status;
}
