#pragma once

#include "control/manualtimersource.h"
#include "control/messageboxanswerer.h"
#include "control/tavrelcontrol.h"
#include "tests/common/settlecontrol.h"
#include "tests/common/simulatedreceiver.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <memory>

// The main window on virtual timers in front of a simulated receiver, every message box
// answered by the test.
class WindowFixture
{
public:
    // prepareStore runs before the window reads the settings store.
    explicit WindowFixture(boxsim::Personality personality = boxsim::Personality::Enigma2,
                           const std::function<void()>& prepareStore = {})
        : receiver(personality)
    {
        receiver.noPowerDowntime();
        if (prepareStore)
            prepareStore();
        window = std::make_unique<MainWindow>(receiver.clock, timers);
        window->resize(800, 480);
    }

    ~WindowFixture() { window.reset(); }

    TavrelControl* control() const { return window->control(); }

    [[nodiscard]] bool settle() { return settleControl(*control()); }

    [[nodiscard]] bool show()
    {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // Triggers a window action by name, as its menu entry or button does.
    void trigger(const char* action) const { find<QAction>(action)->trigger(); }

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

    QStringList targetsTo(const QString& path) const { return receiver.targetsTo(path); }

    // Clears the log, does what is asked and counts the requests to path once the receiver is
    // quiet again; -1 when it does not get quiet.
    int requestsWhen(const std::function<void()>& act, const QString& path)
    {
        receiver.box.clearRequests();
        act();
        return settle() ? int(targetsTo(path).size()) : -1;
    }

    // The requests to path while ms pass on the virtual timers, counted as requestsWhen does.
    int requestsAfter(int ms, const QString& path)
    {
        return requestsWhen([this, ms] { timers.advance(ms); }, path);
    }

    // The pointer enters or leaves the window, as the desktop tells it.
    void pointer(bool enters) const
    {
        QEvent event(enters ? QEvent::Enter : QEvent::Leave);
        QCoreApplication::sendEvent(window.get(), &event);
    }

    QTabWidget* tabs() const { return find<QTabWidget>("tabWidget"); }

    // What the status line tells the user.
    QString statusLine() const { return find<QLabel>("statusLine")->text(); }

    // The channel list of the bouquet shown.
    QListView* channelList() const
    {
        return qobject_cast<QListView*>(find<QStackedWidget>("channelList_stackedWidget")->currentWidget());
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
