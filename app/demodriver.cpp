#include "app/demodriver.h"

#include "control/tavrelcontrol.h"
#include "settings/settings.h"
#include "ui/mainwindow.h"
#include "ui/pages/epgwidget.h"
#include "ui/pages/messagepage.h"
#include "ui/shell/shellservices.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QTextStream>
#include <QTimer>

#include <tuple>

namespace {

constexpr int pollMs = 100;
constexpr int stepTimeoutMs = 20000;
// Time for the answers that follow a state change to be painted.
constexpr int settleMs = 1500;

QString environment(const char* name)
{
    return qEnvironmentVariable(name);
}

} // namespace

DemoDriver::DemoDriver(MainWindow* window, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_poll(new QTimer(this))
{
    connect(m_poll, &QTimer::timeout, this, &DemoDriver::poll);
    const QString folder = environment("TAVREL_DEMO_SCREENSHOTS");
    m_shots = !folder.isEmpty();
    m_folder = QDir(folder);
    m_quit = environment("TAVREL_DEMO_QUIT") == QLatin1String("1");
}

bool DemoDriver::requested()
{
    return environment("TAVREL_DEMO") == QLatin1String("connect") ||
           !environment("TAVREL_DEMO_SCREENSHOTS").isEmpty();
}

void DemoDriver::start()
{
    if (m_shots)
        m_folder.mkpath(QStringLiteral("."));
    auto* tabs = m_window->findChild<QTabWidget*>(QStringLiteral("tabWidget"));
    // In standby the panel disables its playback buttons.
    auto* play = m_window->findChild<QWidget*>(QStringLiteral("panelPlay_toolButton"));
    auto* eventLabel = m_window->findChild<QLabel*>(QStringLiteral("panelEpg0Titel_label"));
    auto* lists = m_window->findChild<QStackedWidget*>(QStringLiteral("channelList_stackedWidget"));
    auto* movies = m_window->findChild<QListWidget*>(QStringLiteral("movie_listWidget"));
    TavrelControl* control = m_window->control();
    const auto always = [] { return true; };

    m_steps.append({QStringLiteral("01-panel-before-connecting"), [] {}, always});
    m_steps.append(
        {QString(), [control] { control->loadServiceData(); }, [lists] { return lists->count() > 0; }});
    m_steps.append({QString(), [] { QTextStream(stdout) << "channel lists ready" << Qt::endl; }, always});
    m_steps.append({QStringLiteral("02-panel-connected"), [tabs] { tabs->setCurrentIndex(0); },
                    [eventLabel] { return !eventLabel->text().isEmpty(); }});
    m_steps.append({QStringLiteral("03-bouquet-list"), [tabs] { tabs->setCurrentIndex(1); },
                    [lists] {
                        const auto* list = qobject_cast<QListView*>(lists->currentWidget());
                        return list && list->model()->rowCount() > 0 &&
                               !list->model()->index(0, 0).data(Qt::UserRole + 2).toString().isEmpty();
                    }});
    m_steps.append({QStringLiteral("04-movie-list"), [tabs] { tabs->setCurrentIndex(3); },
                    [movies] { return movies->count() > 0; }});
    auto* timers = m_window->findChild<QListWidget*>(QStringLiteral("timer_listWidget"));
    m_steps.append({QStringLiteral("timers"), [tabs] { tabs->setCurrentIndex(4); },
                    [timers] { return timers->count() >= 3; }});
    auto* infoPage = m_window->findChild<QWidget*>(QStringLiteral("infoPage"));
    auto* received = m_window->findChild<QLabel*>(QStringLiteral("infoBytesReceived_label"));
    m_steps.append({QStringLiteral("box-info"),
                    [this] {
                        if (auto* info = m_window->findChild<QAction*>(QStringLiteral("infoAction")))
                            info->trigger();
                    },
                    [received] { return !received->text().isEmpty(); }, infoPage});
    m_steps.append(
        {QString(), [this, infoPage] { m_window->shell()->closeStackedWindow(infoPage); }, always});
    m_steps.append({QStringLiteral("05-standby"),
                    [tabs, control] {
                        tabs->setCurrentIndex(0);
                        control->sendBoxCommand(BoxCommandStandby);
                    },
                    [play] { return !play->isEnabled(); }});
    // The editor and the settings page open as windows of their own.
    ShellServices* shell = m_window->shell();
    for (const auto& [name, action, page] : {std::tuple{"profiles", "profileAction", "profilePage"},
                                             std::tuple{"settings", "settingsAction", "settingsPage"}}) {
        auto* trigger = m_window->findChild<QAction*>(QLatin1StringView(action));
        auto* window = m_window->findChild<QWidget*>(QLatin1StringView(page));
        m_steps.append({QLatin1StringView(name), [trigger] { trigger->trigger(); },
                        [window] { return window->isVisible(); }, window});
        m_steps.append({QString(), [shell, window] { shell->closeStackedWindow(window); },
                        [window] { return !window->isVisible(); }});
    }
    appendEpgSteps(tabs);
    appendPageSteps();
    if (!m_shots) {
        // Connecting is all that was asked for.
        m_steps.resize(3);
    }
    m_current = -1;
    m_poll->start(pollMs);
    poll();
}

// The EPG tab: a channel's day, one event in full, and a local search over all bouquets.
void DemoDriver::appendEpgSteps(QTabWidget* tabs)
{
    auto* epg = m_window->findChild<EpgWidget*>(QStringLiteral("epgWidget"));
    const auto visible = [epg](const char* name) {
        const QList<QWidget*> all = epg->findChildren<QWidget*>(QString::fromLatin1(name));
        for (QWidget* widget : all) {
            if (widget->isVisible())
                return widget;
        }
        return all.value(0);
    };
    const auto list = [visible](const char* name) { return qobject_cast<QListWidget*>(visible(name)); };
    m_steps.append({QStringLiteral("epg-list"), [tabs] { tabs->setCurrentIndex(2); },
                    [list] { return list("epgList_listWidget")->count() > 2; }});
    m_steps.append(
        {QStringLiteral("epg-event"),
         [epg, list] {
             QListWidget* events = list("epgList_listWidget");
             epg->epgList_listWidget_doubleClicked(events->model()->index(1, 0));
         },
         [visible] { return !qobject_cast<QLabel*>(visible("epgTextTitel_label"))->text().isEmpty(); }});
    m_steps.append({QStringLiteral("epg-search"),
                    [epg, visible] {
                        const QString title = qobject_cast<QLabel*>(visible("epgTextTitel_label"))->text();
                        epg->epg_PageBack_button_clicked();
                        epg->findChild<QAction*>(QStringLiteral("searchAllAction"))->trigger();
                        const QString key = title.section(QLatin1Char(' '), 0, 0).left(5);
                        qobject_cast<QLineEdit*>(visible("epgSearch_lineEdit"))->setText(key);
                    },
                    [list] { return list("epgSearch_listWidget")->count() > 0; }});
}

void DemoDriver::poll()
{
    if (m_current >= 0 && m_current < m_steps.size()) {
        const Step& step = m_steps.at(m_current);
        m_waited += pollMs;
        const bool ready = step.ready();
        if (!ready && m_waited < stepTimeoutMs)
            return;
        // Let the state show fully before taking the picture.
        if (!step.name.isEmpty() && m_waited < settleMs && ready)
            return;
        if (!step.name.isEmpty() && m_shots)
            shoot(step.name, step.window ? step.window : m_window);
    }
    ++m_current;
    m_waited = 0;
    if (m_current >= m_steps.size()) {
        finish();
        return;
    }
    m_steps.at(m_current).act();
}

void DemoDriver::appendPageSteps()
{
    const auto find = [this](const char* name) {
        return m_window->findChild<QWidget*>(QString::fromLatin1(name));
    };
    const auto trigger = [this](const char* action) {
        if (auto* a = m_window->findChild<QAction*>(QString::fromLatin1(action)))
            a->trigger();
    };
    // The control of that name in the set of the page that is shown.
    const auto shown = [](QWidget* page, const char* name) -> QWidget* {
        const QList<QWidget*> all = page->findChildren<QWidget*>(QString::fromLatin1(name));
        for (QWidget* widget : all) {
            if (widget->isVisible())
                return widget;
        }
        return nullptr;
    };
    // The profile decides which message page opens.
    QWidget* messagePage =
        find(Settings().getActiveProfile().webIfType == 1 ? "messageE2Page" : "messagePage");
    ShellServices* shell = m_window->shell();
    TavrelControl* control = m_window->control();

    m_steps.append(
        {QString(), [control] { control->sendBoxCommand(BoxCommandWakeup); }, [] { return true; }});
    m_steps.append({QStringLiteral("message"),
                    [trigger, messagePage, shown] {
                        trigger("messageSenderAction");
                        if (auto* body = qobject_cast<QTextEdit*>(shown(messagePage, "messageBody_textEdit")))
                            body->setPlainText(QStringLiteral("Dinner is ready!"));
                        if (auto* send =
                                qobject_cast<QPushButton*>(shown(messagePage, "messageSend_pushButton")))
                            send->click();
                    },
                    [messagePage, shown] {
                        auto* send = qobject_cast<QPushButton*>(shown(messagePage, "messageSend_pushButton"));
                        return send && send->text() == MessagePage::tr("sent...");
                    },
                    messagePage});
    m_steps.append(
        {QStringLiteral("satfinder"),
         [shell, trigger, messagePage] {
             shell->closeStackedWindow(messagePage);
             trigger("satfinderAction");
         },
         [find] {
             auto* bar =
                 find("satfinder_page")->findChild<QProgressBar*>(QStringLiteral("satfinderSNR_progressBar"));
             return bar && bar->value() > 0;
         },
         find("satfinder_page")});
    m_steps.append({QStringLiteral("help"),
                    [shell, find, trigger] {
                        shell->closeStackedWindow(find("satfinder_page"));
                        trigger("helpAction");
                    },
                    [] { return true; }, find("helpPage")});
    // The whole remote after a key, with the picture the TV shows (Enigma1 says it has none).
    auto* picture = qobject_cast<QLabel*>(find("tvPicture_label"));
    const bool enigma1 = Settings().getActiveProfile().webIfType == 0;
    m_steps.append({QStringLiteral("remote"),
                    [shell, find, trigger, control] {
                        shell->closeStackedWindow(find("helpPage"));
                        control->sendRemoteKey(RemoteKey::Info, false);
                        trigger("remoteAction");
                    },
                    [picture, enigma1] { return enigma1 || (picture && !picture->pixmap().isNull()); },
                    find("remotePage")});
}

void DemoDriver::shoot(const QString& name, QWidget* window)
{
    const QString path = m_folder.filePath(name + QStringLiteral(".png"));
    if (window->grab().save(path))
        QTextStream(stdout) << "screenshot " << path << Qt::endl;
}

void DemoDriver::finish()
{
    m_poll->stop();
    if (m_quit)
        QCoreApplication::exit(0);
}
