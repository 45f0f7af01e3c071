#pragma once

#include "box/tavrelrequest.h"
#include "control/manualtimersource.h"
#include "control/messageboxanswerer.h"
#include "control/tavrelcontrol.h"
#include "tests/common/simulatedreceiver.h"
#include "ui/mainwindow.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <memory>

// Waits until the controller's engine handled every reply, then lets what the answers queued
// run too.
[[nodiscard]] inline bool settleControl(const TavrelControl& control, int timeoutMs = 10000)
{
    const bool settled = QTest::qWaitFor(
        [&control] {
            const TavrelRequest* engine = control.currentEngine();
            return !engine || engine->isSettled();
        },
        timeoutMs);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return settled;
}

// The main window on virtual timers in front of a simulated receiver, every message box
// answered by the test.
class WindowFixture
{
public:
    explicit WindowFixture(boxsim::Personality personality = boxsim::Personality::Enigma2)
        : receiver(personality)
    {
        if (personality == boxsim::Personality::Enigma1)
            receiver.saveProfile(QStringLiteral("root"), QStringLiteral("root"));
        receiver.box.setDowntime(boxsim::PowerAction::Reboot, 0);
        receiver.box.setDowntime(boxsim::PowerAction::RestartGui, 0);
        receiver.box.setDowntime(boxsim::PowerAction::DeepStandby, 0);
        window = std::make_unique<MainWindow>(receiver.clock, timers);
        window->resize(800, 480);
    }

    ~WindowFixture() { window.reset(); }

    TavrelControl* control() const { return window->control(); }

    [[nodiscard]] bool settle() { return settleControl(*control()); }

    // Loads the receiver until the lists are built and everything is quiet; the log starts empty.
    [[nodiscard]] bool load()
    {
        QSignalSpy built(window.get(), &MainWindow::serviceListsBuilt);
        control()->loadServiceData();
        if (!built.wait(10000) || !QTest::qWaitFor([this] { return control()->isInitialized(); }, 10000))
            return false;
        const bool settled = settle();
        receiver.box.clearRequests();
        return settled;
    }

    // Shows the movie tab and waits until its list holds at least two recordings and the
    // receiver is quiet; the log starts empty. Null when the list did not come.
    QListWidget* showMovies()
    {
        window->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->setCurrentIndex(3);
        auto* movies = find<QListWidget>("movie_listWidget");
        if (!QTest::qWaitFor([movies] { return movies->count() > 1; }, 10000) || !settle())
            return nullptr;
        receiver.box.clearRequests();
        return movies;
    }

    // Targets the receiver saw on this path ("/web/movielist").
    QStringList targetsTo(const QString& path) const
    {
        QStringList found;
        const QStringList all = receiver.targets();
        for (const QString& target : all) {
            if (target == path || target.startsWith(path + QLatin1Char('?')))
                found.append(target);
        }
        return found;
    }

    template<typename T>
    T* find(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    ManualTimerSource timers; // outlives the window's timers
    SimulatedReceiver receiver;
    MessageBoxAnswerer boxes;
    std::unique_ptr<MainWindow> window;
};
