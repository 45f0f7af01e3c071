#include "ui/mainwindow.h"

#include "control/controltimer.h"
#include "control/messagebox.h"
#include "control/tavrelcontrol.h"
#include "model/bouquet.h"
#include "model/clock.h"
#include "model/records.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"
#include "ui/delegates/channelitemdelegate.h"
#include "ui/delegates/itemroles.h"
#include "ui/delegates/movieitemdelegate.h"
#include "ui/pages/channellistmodel.h"
#include "ui/pages/epgwidget.h"
#include "ui/pages/generalinfowidget.h"
#include "ui/pages/helpwidget.h"
#include "ui/pages/messagewidget.h"
#include "ui/pages/messagewidgete2.h"
#include "ui/pages/profilewidget.h"
#include "ui/pages/remotewidget.h"
#include "ui/pages/satfinderwidget.h"
#include "ui/pages/settingswidget.h"
#include "ui/pages/timerwidget.h"
#include "ui/panelwidget.h"
#include "ui/remoteshortcuts.h"
#include "ui/resourcepaths.h"
#include "ui/shell/shellservices.h"
#include "ui_mainwindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

constexpr int movieDoubleClickMs = 250;
constexpr int indicatorSafetyMs = 30000;
constexpr int extrasRowsPerColumn = 4;
const QString geometryKey = QStringLiteral("MainWindow/geometry");

enum Tab
{
    TabTv = 0,
    TabBouquet = 1,
    TabEpg = 2,
    TabMovie = 3,
    TabTimer = 4,
};

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : MainWindow(Clock::system(), TimerSource::system(), parent)
{}

MainWindow::MainWindow(const Clock& clock, TimerSource& timerSource, QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::MainWindow>())
    , m_timerSource(timerSource)
{
    ui->setupUi(this);
    // The form connects the movie list's click slot by its name; the connections are made below,
    // by pointer, once.
    ui->movie_listWidget->disconnect(this);
    ui->main_stackedWidget->setCurrentWidget(ui->mainPage);
    installEventFilter(this);
    ui->satfinder_page->installEventFilter(this);
    ui->ccCam_page->installEventFilter(this);

    controller = new TavrelControl(clock, timerSource, this);
    connectController();

    settings = new Settings(this);
    systemSettings = settings->getSystemSettings();
    activeProfile = settings->getActiveProfile();

    m_shell = ShellServices::create(this);
    m_shell->setOrientation(systemSettings.orientation);
    if (QWidget* indicator = m_shell->busyIndicator())
        ui->tabWidget->setCornerWidget(indicator, Qt::TopRightCorner);
    connect(m_shell, &ShellServices::displayStateChanged, this, &MainWindow::setDisplayState);

    menuBar = new QMenuBar(this);
    setMenuBar(menuBar);

    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &MainWindow::current_TabPage_Changed);
    createTabs();
    createPages();
    createMenu();
    createDesktopConveniences();
    activeProfileUpdateSlot(activeProfile);
}

MainWindow::~MainWindow()
{
    // The pages and the controller go while this window can still take their last signals;
    // the shell's reports of the window being hidden on the way out reach nobody.
    m_shell->disconnect(this);
    ui->tabWidget->disconnect(this);
    delete takeCentralWidget();
    delete controller;
}

void MainWindow::connectController()
{
    connect(controller, &TavrelControl::resetServiceDataLists, this, &MainWindow::resetServiceDataSlot);
    connect(controller, &TavrelControl::ServiceDataUpdate, this, &MainWindow::receivedServiceData);
    connect(controller, qOverload<TavrelDatabase*>(&TavrelControl::EpgDataUpdate), this,
            &MainWindow::epgDataUpdateSlot);
    connect(controller, &TavrelControl::MovieListUpdate, this, &MainWindow::receivedMovieListData);
    connect(controller, &TavrelControl::MovieDeleted, this, &MainWindow::receivedMovieDeleted);
    connect(controller, &TavrelControl::broadcastBouquetIndex, this, &MainWindow::syncBoxBouquetIndex);
    connect(controller, &TavrelControl::broadcastChannelIndex, this, &MainWindow::syncBoxChannelIndex);
    connect(controller, &TavrelControl::setChannelListWidgetIndex, this, &MainWindow::syncBoxChannelIndex);
    connect(controller, &TavrelControl::networkRquestIsActive, this, &MainWindow::setNetworkRequestStateSlot);
    connect(controller, &TavrelControl::loadLabelStart, this, &MainWindow::waitCircleStart);
    connect(controller, &TavrelControl::loadLabelStop, this, &MainWindow::waitCircleStop);
    connect(controller, &TavrelControl::statusMessage, this, &MainWindow::showStatusMessage);
    connect(controller, &TavrelControl::receiverReachabilityChanged, this,
            &MainWindow::receiverReachabilityChanged);
    connect(controller, &TavrelControl::broadcastInitializedSignal, this, &MainWindow::receiverLoaded);
}

void MainWindow::createTabs()
{
    auto* tvLayout = new QVBoxLayout(ui->tv_tab);
    tvLayout->setContentsMargins(0, 0, 0, 0);
    panelWidget = new PanelWidget(ui->tv_tab, controller, m_timerSource);
    tvLayout->addWidget(panelWidget);
    ui->tabWidget->setTabIcon(TabTv, ResourcePaths::icon(":/menu/menu/tv_64.png"));
    connect(panelWidget, &PanelWidget::loadLabelStart, this, &MainWindow::waitCircleStart);
    connect(panelWidget, &PanelWidget::loadLabelStop, this, &MainWindow::waitCircleStop);

    ui->tabWidget->setTabIcon(TabBouquet, ResourcePaths::icon(":/menu/menu/folder_favorites_64.png"));
    channelMenu = new QMenu(this);
    channelMenu->setObjectName(QStringLiteral("channelMenu"));
    QAction* zap = channelMenu->addAction(tr("Zap"));
    zap->setObjectName(QStringLiteral("zapAction"));
    connect(zap, &QAction::triggered, this, [this] {
        if (const QListView* list = currentChannelList())
            controller->zapToListChannel(list->currentIndex());
    });
    m_watchChannelAction = channelMenu->addAction(tr("Watch"));
    m_watchChannelAction->setObjectName(QStringLiteral("watchChannelAction"));
    connect(m_watchChannelAction, &QAction::triggered, this, [this] {
        if (const QListView* list = currentChannelList())
            controller->watchChannel(ui->Bouquet_comboBox->currentIndex(), list->currentIndex().row());
    });
    m_savePlaylistAction = channelMenu->addAction(tr("Save as Playlist..."));
    m_savePlaylistAction->setObjectName(QStringLiteral("savePlaylistAction"));
    connect(m_savePlaylistAction, &QAction::triggered, this, &MainWindow::chooseFileAndSavePlaylist);
    channelMenu->setToolTipsVisible(true);
    connect(channelMenu, &QMenu::aboutToShow, this, &MainWindow::offerStreams);
    connect(channelMenu->addAction(tr("Reload Epg Data")), &QAction::triggered, controller,
            &TavrelControl::reloadEpgActionSlot);
    connect(channelMenu->addAction(tr("Reload Service Data")), &QAction::triggered, controller,
            &TavrelControl::reloadServiceDataActionSlot);

    auto* epgLayout = new QVBoxLayout(ui->epg_tab);
    epgLayout->setContentsMargins(0, 0, 0, 0);
    epgWidget = new EpgWidget(ui->epg_tab, controller);
    epgLayout->addWidget(epgWidget);
    ui->tabWidget->setTabIcon(TabEpg, ResourcePaths::icon(":/menu/menu/folder_documents_64.png"));

    ui->tabWidget->setTabIcon(TabMovie, ResourcePaths::icon(":/menu/menu/xine_64.png"));
    movieMenu = new QMenu(this);
    movieMenu->setObjectName(QStringLiteral("movieMenu"));
    QAction* play = movieMenu->addAction(tr("Play"));
    play->setObjectName(QStringLiteral("playAction"));
    connect(play, &QAction::triggered, this, &MainWindow::playCurrentMovie);
    m_watchMovieAction = movieMenu->addAction(tr("Watch"));
    m_watchMovieAction->setObjectName(QStringLiteral("watchMovieAction"));
    connect(m_watchMovieAction, &QAction::triggered, this, [this] {
        const QModelIndex current = ui->movie_listWidget->currentIndex();
        if (current.isValid())
            controller->watchMovieAt(current.row());
    });
    movieMenu->setToolTipsVisible(true);
    connect(movieMenu, &QMenu::aboutToShow, this, &MainWindow::offerStreams);
    QAction* refresh = movieMenu->addAction(tr("Refresh"));
    refresh->setObjectName(QStringLiteral("movieRefreshAction"));
    connect(refresh, &QAction::triggered, this, &MainWindow::movieRefresh_triggered);
    m_movieRenameAction = movieMenu->addAction(tr("Rename"));
    m_movieRenameAction->setObjectName(QStringLiteral("movieRenameAction"));
    connect(m_movieRenameAction, &QAction::triggered, this, &MainWindow::movieRename_triggered);
    connect(movieMenu->addAction(tr("Delete")), &QAction::triggered, this,
            &MainWindow::movieDelete_triggered);
    ui->movie_listWidget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui->movie_listWidget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui->movie_listWidget, &QListWidget::customContextMenuRequested, this,
            &MainWindow::movie_listWidget_customContextMenuRequested);
    connect(ui->movie_listWidget, &QListWidget::clicked, this, &MainWindow::on_movie_listWidget_clicked);
    connect(ui->movie_listWidget, &QListWidget::doubleClicked, this,
            &MainWindow::movie_listWidget_doubleClicked);
    ui->movie_listWidget->installEventFilter(this);

    auto* timerLayout = new QVBoxLayout(ui->timer_tab);
    timerLayout->setContentsMargins(0, 0, 0, 0);
    timerWidget = new TimerWidget(ui->timer_tab, controller);
    timerWidget->setObjectName(QStringLiteral("timerWidget"));
    timerLayout->addWidget(timerWidget);
    ui->tabWidget->setTabIcon(TabTimer, ResourcePaths::icon(":/menu/menu/clock_64.png"));
}

void MainWindow::createPages()
{
    profileWidget = new ProfileWidget(ui->profilePage, controller);
    profileWidget->setObjectName(QStringLiteral("profileWidget"));
    ui->profilePage->layout()->addWidget(profileWidget);
    ui->profilePage->setWindowTitle(profileWidget->windowTitle());
    ui->helpPage->layout()->addWidget(new HelpWidget(ui->helpPage));
    ui->messagePage->layout()->addWidget(new MessageWidget(ui->messagePage, controller, m_timerSource));
    ui->messageE2Page->layout()->addWidget(new MessageWidgetE2(ui->messageE2Page, controller, m_timerSource));
    settingsWidget = new SettingsWidget(ui->settingsPage);
    settingsWidget->setObjectName(QStringLiteral("settingsWidget"));
    ui->settingsPage->layout()->addWidget(settingsWidget);
    ui->satfinder_page->layout()->addWidget(
        new SatFinderWidget(ui->satfinder_page, controller, m_timerSource));
    // The whole remote: a page of its own in the stack, like the ones of the form.
    m_remotePage = new QWidget(ui->main_stackedWidget);
    m_remotePage->setObjectName(QStringLiteral("remotePage"));
    auto* remoteLayout = new QVBoxLayout(m_remotePage);
    // The keys, the picture and the mapping are taller than the handset's screen: they scroll
    // rather than stretch the window.
    auto* remoteScroll = new QScrollArea(m_remotePage);
    remoteScroll->setWidgetResizable(true);
    remoteScroll->setFrameShape(QFrame::NoFrame);
    remoteScroll->setWidget(new RemoteWidget(remoteScroll, controller, m_timerSource));
    remoteLayout->addWidget(remoteScroll);
    ui->main_stackedWidget->addWidget(m_remotePage);
    infoWidget = new GeneralInfoWidget(ui->infoPage);
    infoWidget->setObjectName(QStringLiteral("infoWidget"));
    ui->infoPage->layout()->addWidget(infoWidget);
    connect(controller, qOverload<const AboutInfo*>(&TavrelControl::aboutInfoReceived), infoWidget,
            qOverload<const AboutInfo*>(&GeneralInfoWidget::setAboutInformation));
    connect(controller, qOverload<const AboutInfoE1*>(&TavrelControl::aboutInfoReceived), infoWidget,
            qOverload<const AboutInfoE1*>(&GeneralInfoWidget::setAboutInformation));
    connect(controller, &TavrelControl::signalInfoReceived, infoWidget,
            &GeneralInfoWidget::setSignalInformation);
    connect(controller, &TavrelControl::deviceInfoReceived, infoWidget,
            &GeneralInfoWidget::setDeviceInformation);
    connect(controller, &TavrelControl::dataInfoReceived, infoWidget, &GeneralInfoWidget::setDataInformation);
    connectProfileAndSettingsPages();
}

void MainWindow::connectProfileAndSettingsPages()
{
    // The active profile chosen in the editor reaches this window, and through it the
    // controller and its engine; pages that need it connect to ActiveProfileChanged.
    connect(profileWidget, &ProfileWidget::activeProfileChanged, this, &MainWindow::ActiveProfileChanged);
    connect(this, &MainWindow::ActiveProfileChanged, this, &MainWindow::activeProfileUpdateSlot);
    connect(this, &MainWindow::ActiveProfileChanged, controller, &TavrelControl::activeProfileChanged);
    connect(profileWidget, &ProfileWidget::goPagebackRequest, this, &MainWindow::backButton_triggered);
    // Loading without a profile leads the user to the editor.
    connect(controller, &TavrelControl::activeProfileNeeded, this, &MainWindow::profileAction_triggered);

    connect(settingsWidget, &SettingsWidget::systemSettingsChanged, this, &MainWindow::setNewSystemSettings);
    connect(settingsWidget, &SettingsWidget::systemSettingsChanged, controller,
            &TavrelControl::setNewSystemSettings);
}

void MainWindow::createMenu()
{
    const auto action = [this](const QString& text, const char* iconPath, auto slot) {
        auto* a = new QAction(ResourcePaths::icon(iconPath), text, this);
        a->setIconVisibleInMenu(true);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QAction* profile =
        action(tr("Profile"), ":/menu/menu/Login Manager_32.png", &MainWindow::profileAction_triggered);
    profile->setObjectName(QStringLiteral("profileAction"));
    QAction* settingsAction =
        action(tr("Settings"), ":/menu/menu/advancedsettings_32.png", &MainWindow::settingsAction_triggered);
    settingsAction->setObjectName(QStringLiteral("settingsAction"));
    QAction* extras =
        new QAction(ResourcePaths::icon(":/menu/menu/utilities_file_archiver_32.png"), tr("Extras"), this);
    extras->setObjectName(QStringLiteral("extrasAction"));
    extras->setIconVisibleInMenu(true);
    QAction* help = action(tr("Help"), ":/menu/menu/system_help_32.png", &MainWindow::helpAction_triggered);
    help->setObjectName(QStringLiteral("helpAction"));

    QAction* satfinder =
        action(tr("Satfinder"), ":/menu/menu/konquest_32.png", &MainWindow::satfinderAction_triggered);
    satfinder->setObjectName(QStringLiteral("satfinderAction"));
    QAction* info =
        action(tr("Information"), ":/menu/menu/information_48.png", &MainWindow::infoAction_triggered);
    info->setObjectName(QStringLiteral("infoAction"));
    QAction* message =
        action(tr("Send a message"), ":/menu/menu/mail_send.png", &MainWindow::messageSenderAction_triggered);
    message->setObjectName(QStringLiteral("messageSenderAction"));
    QAction* remote = action(tr("Remote"), ":/menu/menu/tv_64.png", &MainWindow::remoteAction_triggered);
    remote->setObjectName(QStringLiteral("remoteAction"));
    remote->setShortcut(RemoteKeys::remotePage());
    addAction(remote);
    createExtrasDialog({satfinder, info, message, remote});
    connect(extras, &QAction::triggered, extrasDialog.get(), &QDialog::show);

    // A desktop menu bar wants a menu to hold the entries.
    QMenu* menu = menuBar->addMenu(tr("&Menu"));
    menu->setObjectName(QStringLiteral("applicationMenu"));
    menu->addActions({profile, settingsAction, extras, help});
    menu->addSeparator();
    QAction* quit = menu->addAction(tr("Quit"));
    quit->setObjectName(QStringLiteral("quitAction"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, this, &MainWindow::closeButton_triggered);
}

void MainWindow::createExtrasDialog(const QList<QAction*>& actions)
{
    extrasDialog = std::make_unique<QDialog>();
    extrasDialog->setObjectName(QStringLiteral("extrasDialog"));
    extrasDialog->setWindowTitle(tr("Extras"));
    auto* layout = new QVBoxLayout(extrasDialog.get());
    auto* group = new QGroupBox(extrasDialog.get());
    auto* grid = new QGridLayout(group);
    layout->addWidget(group);
    for (int i = 0; i < actions.size(); ++i) {
        QAction* action = actions.at(i);
        auto* button = new QPushButton(action->icon(), action->text(), group);
        button->setObjectName(action->objectName() + QStringLiteral("_pushButton"));
        grid->addWidget(button, i % extrasRowsPerColumn, i / extrasRowsPerColumn);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        connect(action, &QAction::triggered, extrasDialog.get(), &QDialog::hide);
    }
}

// --- Pages --------------------------------------------------------------------------------

void MainWindow::openPage(QWidget* page)
{
    m_shell->openStackedWindow(page);
}

void MainWindow::profileAction_triggered()
{
    openPage(ui->profilePage);
}

void MainWindow::settingsAction_triggered()
{
    settingsWidget->readSettings();
    openPage(ui->settingsPage);
}

void MainWindow::helpAction_triggered()
{
    openPage(ui->helpPage);
}

void MainWindow::satfinderAction_triggered()
{
    ui->main_stackedWidget->setCurrentWidget(ui->mainPage);
    openPage(ui->satfinder_page);
}

void MainWindow::remoteAction_triggered()
{
    ui->main_stackedWidget->setCurrentWidget(ui->mainPage);
    openPage(m_remotePage);
}

void MainWindow::infoAction_triggered()
{
    ui->main_stackedWidget->setCurrentWidget(ui->mainPage);
    controller->requestAboutInfo();
    openPage(ui->infoPage);
}

void MainWindow::messageSenderAction_triggered()
{
    ui->main_stackedWidget->setCurrentWidget(ui->mainPage);
    if (activeProfile.webIfType == 0)
        openPage(ui->messagePage);
    else if (activeProfile.webIfType == 1)
        openPage(ui->messageE2Page);
}

void MainWindow::backButton_triggered()
{
    if (sender() == profileWidget)
        m_shell->closeStackedWindow(ui->profilePage);
}

// --- Settings and profile -----------------------------------------------------------------

void MainWindow::setNewSystemSettings(SystemSet set)
{
    systemSettings = set;
    m_shell->setOrientation(set.orientation);
}

void MainWindow::activeProfileUpdateSlot(Profile profile)
{
    activeProfile = profile;
    m_movieRenameAction->setVisible(profile.webIfType == 0);
    updateWindowTitle();
}

// --- Desktop conveniences -----------------------------------------------------------------

void MainWindow::createDesktopConveniences()
{
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusBar()->setSizeGripEnabled(true);
    // A widget of the bar rather than its message: the menus' hints would wipe a message out.
    m_statusLine = new QLabel(statusBar());
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    statusBar()->addWidget(m_statusLine, 1);

    const QStringList tabs{tr("TV"), tr("Bouquet"), tr("Epg"), tr("Movie"), tr("Timer")};
    for (int i = 0; i < tabs.size() && i < ui->tabWidget->count(); ++i) {
        const QKeySequence key(Qt::CTRL | Qt::Key(Qt::Key_1 + i));
        auto* action = new QAction(this);
        action->setShortcut(key);
        connect(action, &QAction::triggered, ui->tabWidget, [this, i] { ui->tabWidget->setCurrentIndex(i); });
        addAction(action);
        ui->tabWidget->setTabToolTip(i,
                                     tr("%1 (%2)").arg(tabs.at(i), key.toString(QKeySequence::NativeText)));
    }

    m_remoteShortcuts = new RemoteShortcuts(this, panelWidget, controller);
    QMenu* remote = menuBar->addMenu(tr("&Remote"));
    remote->setObjectName(QStringLiteral("remoteMenu"));
    if (auto* page = findChild<QAction*>(QStringLiteral("remoteAction")))
        remote->addAction(page);
    remote->addSeparator();
    remote->addActions(m_remoteShortcuts->actions());

    QMenu* help = menuBar->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    if (auto* helpPage = findChild<QAction*>(QStringLiteral("helpAction")))
        help->addAction(helpPage);
    QAction* keys = help->addAction(tr("Keyboard Shortcuts"));
    keys->setObjectName(QStringLiteral("shortcutsAction"));
    connect(keys, &QAction::triggered, this,
            [this] { MessageBox::notice(this, QMessageBox::Information, m_remoteShortcuts->listText()); });
    QAction* about = help->addAction(tr("About TavrelControl Lite"));
    about->setObjectName(QStringLiteral("aboutAction"));
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);

    restoreGeometry(QSettings().value(geometryKey).toByteArray());
}

bool MainWindow::hasStoredGeometry()
{
    return QSettings().contains(geometryKey);
}

void MainWindow::showAbout()
{
    MessageBox::notice(this, QMessageBox::Information,
                       tr("<b>TavrelControl Lite</b> %1<br>A remote control for Enigma2 and Enigma1 "
                          "satellite receivers.<br>Built with Qt %2, running on Qt %3.")
                           .arg(QStringLiteral(TAVREL_VERSION), QStringLiteral(QT_VERSION_STR),
                                QString::fromLatin1(qVersion())));
}

void MainWindow::showStatusMessage(const QString& text)
{
    m_statusLine->setText(text);
}

void MainWindow::receiverReachabilityChanged(bool reachable, const QString& text)
{
    m_receiverUnreachable = !reachable;
    showStatusMessage(text);
    updateWindowTitle();
}

void MainWindow::receiverLoaded(bool loaded)
{
    m_receiverLoaded = loaded;
    if (loaded)
        showStatusMessage(
            tr("Connected to %1 at %2:%3")
                .arg(activeProfile.profileName, activeProfile.wlanAddr, activeProfile.wlanPort));
    updateWindowTitle();
}

void MainWindow::updateWindowTitle()
{
    const QString program = tr("TavrelControl Lite");
    if (activeProfile.profileName.isEmpty() || activeProfile.profileName == noActiveProfileName) {
        setWindowTitle(program);
        return;
    }
    QString state;
    if (m_receiverUnreachable)
        state = tr("unreachable");
    else if (m_receiverLoaded)
        state = tr("connected");
    else
        state = tr("not connected");
    setWindowTitle(tr("%1 - %2 (%3)").arg(activeProfile.profileName, state, program));
}

// --- Busy indicator -----------------------------------------------------------------------

void MainWindow::setIndicator(bool on)
{
    m_shell->setBusyIndicatorVisible(on);
}

void MainWindow::setNetworkRequestStateSlot(bool active)
{
    if (active) {
        ++pendingRequests;
        setIndicator(true);
        loadResetCircleTimer();
        return;
    }
    if (pendingRequests > 0)
        --pendingRequests;
    if (pendingRequests == 0)
        setIndicator(false);
}

void MainWindow::waitCircleStart()
{
    setIndicator(true);
}

void MainWindow::waitCircleStop()
{
    pendingRequests = 0;
    setIndicator(false);
}

void MainWindow::loadResetCircleTimer()
{
    m_timerSource.startSingleShot(indicatorResetTimer, indicatorSafetyMs, this, &MainWindow::waitCircleStop);
}

// --- Display state ------------------------------------------------------------------------

void MainWindow::displayStateChanged(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (!arguments.isEmpty())
        setDisplayState(arguments.first().toString());
}

void MainWindow::displayStateError(const QDBusError&)
{
    // Without the service the refresh follows the tab and the pointer alone.
}

void MainWindow::setDisplayState(const QString& state)
{
    if (state == QLatin1String("on")) {
        if (windowActive && currentTab == TabTv)
            controller->panelTimerAllowed(true);
    } else if (state == QLatin1String("off")) {
        controller->panelTimerAllowed(false);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && returnOnList(watched, static_cast<QKeyEvent*>(event)))
        return true;
    if (watched == this) {
        if (event->type() == QEvent::Enter) {
            windowActive = true;
            // The panel refreshes only while it is in view.
            if (controller->isInitialized() && currentTab == TabTv) {
                controller->panelTimerAllowed(true);
                controller->requestStatus();
                controller->updateChannelItems();
            }
        } else if (event->type() == QEvent::Leave) {
            controller->panelTimerAllowed(false);
            windowActive = false;
        }
    } else if (watched == ui->ccCam_page && event->type() == QEvent::WindowDeactivate) {
        ui->ccCam_webView->clear();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::returnOnList(QObject* watched, const QKeyEvent* event)
{
    if ((event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) ||
        (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (watched == ui->movie_listWidget) {
        playCurrentMovie();
        return true;
    }
    const auto* list = qobject_cast<QListView*>(watched);
    if (list && list->parentWidget() == ui->channelList_stackedWidget) {
        controller->zapToListChannel(list->currentIndex());
        return true;
    }
    return false;
}

// --- Tabs ---------------------------------------------------------------------------------

void MainWindow::current_TabPage_Changed(int index)
{
    const bool initialized = controller->isInitialized();
    // The Enigma1 status answers refill the timer list only while the timer tab shows.
    if (timerWidget && index == TabTimer)
        connect(controller, &TavrelControl::timerListStatusUpdate, timerWidget, &TimerWidget::putTimerData,
                Qt::UniqueConnection);
    else if (timerWidget)
        disconnect(controller, &TavrelControl::timerListStatusUpdate, timerWidget,
                   &TimerWidget::putTimerData);
    switch (index) {
    case TabTv:
        if (initialized) {
            controller->panelTimerAllowed(true);
            controller->requestStatus();
        }
        break;
    case TabBouquet:
        if (initialized) {
            controller->panelTimerAllowed(false);
            controller->updateCheckChannelItems();
        }
        break;
    case TabEpg:
        controller->epgTabActivated();
        controller->panelTimerAllowed(false);
        epgWidget->putEpgData();
        break;
    case TabMovie:
        if (initialized) {
            controller->panelTimerAllowed(false);
            controller->requestMovieList(false);
        }
        break;
    case TabTimer:
        if (initialized) {
            controller->panelTimerAllowed(false);
            controller->requestStatus();
            controller->requestTimerList();
        }
        break;
    default:
        break;
    }
    currentTab = index;
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    const QSize size = ui->centralWidget->size();
    if (size.width() == size.height())
        return;
    const bool landscape = size.width() > size.height();
    const QStringList labels{tr("TV"), tr("Bouquet"), tr("Epg"), tr("Movie"), tr("Timer")};
    for (int i = 0; i < labels.size() && i < ui->tabWidget->count(); ++i)
        ui->tabWidget->setTabText(i, landscape ? labels.at(i) : QString());
}

// --- Bouquet and channel lists ------------------------------------------------------------

QListView* MainWindow::currentChannelList() const
{
    return qobject_cast<QListView*>(ui->channelList_stackedWidget->currentWidget());
}

void MainWindow::receivedServiceData(TavrelDatabase* database)
{
    QComboBox* combo = ui->Bouquet_comboBox;
    QStackedWidget* stack = ui->channelList_stackedWidget;
    const QSignalBlocker blockCombo(combo);
    const QList<Bouquet*> bouquets = database->bouquets();
    for (const Bouquet* bouquet : bouquets) {
        combo->addItem(bouquet->name);
        // Every bouquet gets its page, an empty one when it has no channels, so that combo
        // index and page index stay the same.
        auto* list = new QListView(stack);
        list->setObjectName(QStringLiteral("channel_listWidget"));
        auto* model = new ChannelListModel(bouquet->channels, list);
        list->setModel(model);
        list->setItemDelegate(new ChannelItemDelegate(list));
        list->setUniformItemSizes(true);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        if (model->rowCount() > 0)
            list->setCurrentIndex(model->index(0));
        connect(list, &QListView::customContextMenuRequested, this,
                &MainWindow::channel_listWidget_customContextMenuRequested);
        connect(list, &QListView::clicked, controller, &TavrelControl::channelListWidget_ClickedSlot);
        connect(list, &QListView::doubleClicked, controller,
                &TavrelControl::channelListWidget_DoubleClickedSlot);
        list->installEventFilter(this);
        stack->addWidget(list);
    }
    stack->setCurrentIndex(combo->currentIndex());
    connect(combo, &QComboBox::currentIndexChanged, stack, &QStackedWidget::setCurrentIndex);
    connect(combo, &QComboBox::currentIndexChanged, controller, &TavrelControl::guiBouquetIndex_ChangedSlot);
    connect(combo, &QComboBox::currentIndexChanged, this, &MainWindow::bouquetBoxIndex_Changed);
    listsResetting = false;
    Q_EMIT serviceListsBuilt();
}

void MainWindow::epgDataUpdateSlot(TavrelDatabase* database)
{
    QListView* list = currentChannelList();
    const int bouquet = ui->Bouquet_comboBox->currentIndex();
    if (!list || listsResetting || !database || !database->hasBouquet(bouquet))
        return;
    if (auto* model = qobject_cast<ChannelListModel*>(list->model()))
        model->decorate(database->channels(bouquet));
}

void MainWindow::syncBoxBouquetIndex(int index)
{
    ui->Bouquet_comboBox->setCurrentIndex(index);
}

void MainWindow::syncBoxChannelIndex(int index)
{
    QListView* list = currentChannelList();
    if (!list || index < 0 || index >= list->model()->rowCount())
        return;
    const QSignalBlocker blockList(list);
    const QSignalBlocker blockSelection(list->selectionModel());
    const QModelIndex row = list->model()->index(index, 0);
    list->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(row);
    list->viewport()->update();
}

void MainWindow::bouquetBoxIndex_Changed(int)
{
    const QListView* list = currentChannelList();
    controller->guiChannelIndex_ChangedSlot(list ? list->currentIndex().row() : -1);
}

void MainWindow::removeChannelLists()
{
    QStackedWidget* stack = ui->channelList_stackedWidget;
    while (stack->count() > 0) {
        QWidget* page = stack->widget(stack->count() - 1);
        stack->removeWidget(page);
        delete page;
    }
}

void MainWindow::resetServiceDataSlot()
{
    listsResetting = true;
    ui->tabWidget->setCurrentIndex(TabTv);
    disconnect(ui->Bouquet_comboBox, &QComboBox::currentIndexChanged, nullptr, nullptr);
    {
        const QSignalBlocker blockCombo(ui->Bouquet_comboBox);
        ui->Bouquet_comboBox->clear();
    }
    removeChannelLists();
    ui->movie_listWidget->clear();
    timerWidget->resetTimerWidget();
    epgWidget->resetEpgWidget();
    m_receiverLoaded = false;
    updateWindowTitle();
}

void MainWindow::channel_listWidget_customContextMenuRequested(const QPoint& pos)
{
    if (pos.isNull())
        return;
    auto* list = qobject_cast<QWidget*>(sender());
    channelMenu->popup(list ? list->mapToGlobal(pos) : pos);
}

void MainWindow::offerStreams()
{
    const QString reason = controller->noStreamReason();
    for (QAction* action : {m_watchChannelAction, m_savePlaylistAction, m_watchMovieAction}) {
        action->setEnabled(reason.isEmpty());
        action->setToolTip(reason.isEmpty() ? action->text() : reason);
    }
}

void MainWindow::chooseFileAndSavePlaylist()
{
    const int bouquet = ui->Bouquet_comboBox->currentIndex();
    // A bouquet's name may hold characters no file name may.
    QString name = ui->Bouquet_comboBox->currentText().simplified();
    name.replace(QRegularExpression(QStringLiteral("[/\\\\:*?\"<>|]")), QStringLiteral("_"));
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(folder).exists())
        folder = QDir::homePath();
    const QString fileName = QFileDialog::getSaveFileName(
        this, tr("Save as Playlist"),
        folder + QLatin1Char('/') + (name.isEmpty() ? tr("Bouquet") : name) + QStringLiteral(".m3u"),
        tr("Playlists (*.m3u)"));
    if (fileName.isEmpty())
        return;
    const QString problem = controller->saveBouquetPlaylist(bouquet, fileName);
    showStatusMessage(problem.isEmpty() ? tr("The playlist was saved as %1.").arg(fileName) : problem);
}

void MainWindow::movie_listWidget_customContextMenuRequested(const QPoint& pos)
{
    if (pos.isNull())
        return;
    movieMenu->popup(ui->movie_listWidget->viewport()->mapToGlobal(pos));
}

// --- Movies -------------------------------------------------------------------------------

void MainWindow::receivedMovieListData(TavrelDatabase* database)
{
    QListWidget* list = ui->movie_listWidget;
    list->clear();
    QAbstractItemDelegate* old = list->itemDelegate();
    const QList<MovieEntry*> movies = database->movies();
    if (activeProfile.webIfType == 0) {
        // A list without a delegate draws no rows at all: the plain rows get the plain one.
        if (!old || qobject_cast<MovieItemDelegate*>(old))
            list->setItemDelegate(new QStyledItemDelegate(list));
        for (const MovieEntry* movie : movies)
            list->addItem(movie->title);
    } else {
        if (!qobject_cast<MovieItemDelegate*>(old))
            list->setItemDelegate(new MovieItemDelegate(list));
        for (const MovieEntry* movie : movies) {
            auto* item = new QListWidgetItem(list);
            item->setData(MovieRole::Title, movie->title);
            item->setData(MovieRole::FileSizeText, movie->fileSizeText);
            item->setData(MovieRole::ServiceName, movie->serviceName);
            item->setData(MovieRole::Length, movie->length);
            item->setData(MovieRole::Time, movie->time);
        }
    }
    if (old && old != list->itemDelegate() && old->parent() == list)
        old->deleteLater();
}

void MainWindow::on_movie_listWidget_clicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    if (systemSettings.movielistClick) {
        controller->playMovieAt(index.row());
    } else if (systemSettings.movielistDbClick) {
        if (!movieClickTimer) {
            movieClickTimer = m_timerSource.createTimer(ControlTimer::Mode::SingleShot, this);
            connect(movieClickTimer, &ControlTimer::timeout, this, &MainWindow::movieListTimerClickTimeout);
            movieClickTimer->start(movieDoubleClickMs);
        } else if (movieClickTimer->isActive()) {
            movieClickTimer->stop();
            movieListTimerClickTimeout();
            controller->playMovieAt(index.row());
        }
    }
}

void MainWindow::movie_listWidget_doubleClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    // The second click of a double click arrives as an event of its own: it is the second click,
    // within the desktop's double-click time rather than the 250 ms.
    if (systemSettings.movielistDbClick && !systemSettings.movielistClick) {
        if (movieClickTimer)
            movieClickTimer->stop();
        movieListTimerClickTimeout();
        controller->playMovieAt(index.row());
        return;
    }
    on_movie_listWidget_clicked(index);
}

void MainWindow::playCurrentMovie()
{
    const QModelIndex current = ui->movie_listWidget->currentIndex();
    if (current.isValid())
        controller->playMovieAt(current.row());
}

void MainWindow::movieListTimerClickTimeout()
{
    if (movieClickTimer) {
        movieClickTimer->deleteLater();
        movieClickTimer = nullptr;
    }
}

void MainWindow::movieRefresh_triggered()
{
    // The rows stay until the new list is in: a receiver that does not answer leaves them.
    controller->requestMovieList(true);
}

void MainWindow::movieDelete_triggered()
{
    // A recording deleted on the receiver is gone for good, and the menu entry sits next to
    // two harmless ones: the user confirms with the recording's title in view.
    const int row = ui->movie_listWidget->currentRow();
    const TavrelDatabase* database = controller->currentDatabase();
    const MovieEntry* movie = database ? database->movieAt(row) : nullptr;
    if (!movie)
        return;
    const QString question = tr("Delete the recording \"%1\"?").arg(movie->title.toHtmlEscaped());
    if (MessageBox::destructiveQuestion(this, QMessageBox::Question, question))
        controller->deleteMovieAt(row);
}

void MainWindow::receivedMovieDeleted(int index)
{
    if (index >= 0 && index < ui->movie_listWidget->count())
        delete ui->movie_listWidget->takeItem(index);
}

void MainWindow::movieRename_triggered()
{
    const QListWidgetItem* item = ui->movie_listWidget->currentItem();
    if (!item || m_renameEditor)
        return;
    // The row is held on to: a list refilled meanwhile invalidates it rather than pointing the
    // new title at another recording.
    m_renameRow = ui->movie_listWidget->currentIndex();
    m_renameEditor = new QDialog(this);
    m_renameEditor->setObjectName(QStringLiteral("movieRename_dialog"));
    m_renameEditor->setWindowTitle(tr("Rename"));
    m_renameEditor->setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(m_renameEditor);
    m_renameLineEdit = new QLineEdit(item->data(Qt::DisplayRole).toString(), m_renameEditor);
    m_renameLineEdit->setObjectName(QStringLiteral("movieRename_lineEdit"));
    m_renameLineEdit->selectAll();
    layout->addWidget(m_renameLineEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, m_renameEditor);
    layout->addWidget(buttons);
    // A recording without a title cannot be found again in the list.
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    connect(m_renameLineEdit, &QLineEdit::textChanged, ok,
            [ok](const QString& text) { ok->setEnabled(!text.trimmed().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &MainWindow::movieRenameOK_triggered);
    connect(buttons, &QDialogButtonBox::rejected, this, &MainWindow::movieRenameCancel_triggered);
    m_renameEditor->show();
}

void MainWindow::movieRenameOK_triggered()
{
    if (m_renameEditor && m_renameLineEdit && m_renameRow.isValid() &&
        !m_renameLineEdit->text().trimmed().isEmpty())
        controller->renameMovieAt(m_renameRow.row(), m_renameLineEdit->text());
    movieRenameCancel_triggered();
}

void MainWindow::movieRenameCancel_triggered()
{
    if (!m_renameEditor)
        return;
    m_renameEditor->close();
    m_renameEditor->deleteLater();
    m_renameEditor = nullptr;
    m_renameLineEdit = nullptr;
    m_renameRow = QPersistentModelIndex();
}

// --- Quit ---------------------------------------------------------------------------------

void MainWindow::closeButton_triggered()
{
    close(); // the close event asks the question
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The window's own close button asks too; the question is not asked twice.
    if (!m_quitConfirmed &&
        !MessageBox::question(this, QMessageBox::Question, tr("TavrelControl really quit?"))) {
        event->ignore();
        return;
    }
    m_quitConfirmed = true;
    QSettings().setValue(geometryKey, saveGeometry());
    extrasDialog->hide();
    event->accept();
}
