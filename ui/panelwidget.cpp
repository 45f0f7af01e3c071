#include "ui/panelwidget.h"

#include "control/controltimer.h"
#include "control/tavrelcontrol.h"
#include "model/epgitem.h"
#include "settings/settings.h"
#include "ui/pages/tvpictureview.h"
#include "ui/remoteshortcuts.h"
#include "ui/resourcepaths.h"
#include "ui_panelwidget_ls.h"
#include "ui_panelwidget_pt.h"

#include <QActionGroup>
#include <QDialog>
#include <QEvent>
#include <QMenu>
#include <QResizeEvent>

namespace {

constexpr int sliderHoldMs = 200;
constexpr int sliderSettleMs = 1000;
constexpr int refreshAfterCommandMs = 1000;
constexpr int activityIconMs = 10000;
constexpr int errorIconMs = 15000;
constexpr int volumeMaxEnigma1 = 63;
constexpr int volumeMaxEnigma2 = 100;

} // namespace

PanelWidget::PanelWidget(QWidget* parent, TavrelControl* controller)
    : PanelWidget(parent, controller, TimerSource::system())
{}

PanelWidget::PanelWidget(QWidget* parent, TavrelControl* controller, TimerSource& timerSource)
    : QWidget(parent)
    , m_landscape(std::make_unique<Ui::PanelWidget_ls>())
    , m_portrait(std::make_unique<Ui::PanelWidget_pt>())
    , m_landscapeContainer(new QWidget(this))
    , m_portraitContainer(new QWidget(this))
    , controller(controller)
    , m_timerSource(timerSource)
{
    setObjectName(QStringLiteral("panelWidget"));
    m_landscape->setupUi(m_landscapeContainer);
    m_portrait->setupUi(m_portraitContainer);
    m_portraitContainer->hide();

    forBoth([](auto& f) {
        f.panelRec_toolButton->setIcon(ResourcePaths::icon(":/buttons/buttons/player_record_48.png"));
        f.panelRec_label->setPixmap(QPixmap(QStringLiteral(":/symbol/symbol/rec48.png")));
        f.panelFwd_toolButton->setIcon(ResourcePaths::icon(":/buttons/buttons/player_fwd_48.png"));
        f.panelPlay_toolButton->setIcon(ResourcePaths::icon(":/buttons/buttons/player_play_48.png"));
        f.panelStop_toolButton->setIcon(ResourcePaths::icon(":/buttons/buttons/player_stop_48.png"));
        f.panelRwd_toolButton->setIcon(ResourcePaths::icon(":/buttons/buttons/player_rew_48.png"));
        f.panelPause_toolButton->setIcon(ResourcePaths::icon(":/buttons/buttons/player_pause_48.png"));
        f.panelConnect_toolButton->setIcon(ResourcePaths::icon(":/symbol/symbol/network-idle.png"));
        f.panelVolMute_toolButton->setIcon(ResourcePaths::icon(":/buttons/buttons/player_mute_48.png"));
        f.panelPower_toolButton->setIcon(ResourcePaths::icon(":/buttons/buttons/power_red_42.png"));
        f.panelPower_toolButton->setIconSize(QSize(42, 42));
    });
    m_landscape->panelVolume_toolButton->setIcon(
        ResourcePaths::icon(":/buttons/buttons/player_unmute_48.png"));
    m_landscape->panel_stackedWidget->setCurrentWidget(m_landscape->buttons_page);

    clearPanelData();
    m_landscape->panel_groupBox->installEventFilter(this);
    m_portrait->panel_groupBox->installEventFilter(this);

    settings = new Settings(this);
    connect(settings, &Settings::activeProfileChanged, this, &PanelWidget::activeProfileUpdateSlot);
    if (controller)
        connect(settings, &Settings::systemSettingsChanged, controller, &TavrelControl::setNewSystemSettings);
    isLiveMode = settings->getSystemSettings().isLiveMode;
    activeProfileUpdateSlot(settings->getActiveProfile());
    resetConnectionIcon();

    createMenus();
    setToolTips();
    connectForms();
    connectController();
    setChannelInformation(tr("Click to connect..."));

    auto* pictureAction = new QAction(tr("Show TV picture"), this);
    pictureAction->setObjectName(QStringLiteral("panelTvPictureAction"));
    connect(pictureAction, &QAction::triggered, this, &PanelWidget::showTvPicture);
    addAction(pictureAction);
    m_watchAction = new QAction(tr("Watch on this computer"), this);
    m_watchAction->setObjectName(QStringLiteral("panelWatchAction"));
    if (controller)
        connect(m_watchAction, &QAction::triggered, controller, &TavrelControl::watchCurrentChannel);
    addAction(m_watchAction);
    offerStream(settings->getActiveProfile());
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

PanelWidget::~PanelWidget() = default;

void PanelWidget::showTvPicture()
{
    if (!m_pictureWindow)
        m_pictureWindow = TvPictureView::createWindow(this, controller, m_timerSource);
    m_pictureWindow->show();
    m_pictureWindow->raise();
    m_pictureWindow->activateWindow();
}

template<typename Apply>
void PanelWidget::forBoth(Apply apply)
{
    apply(*m_landscape);
    apply(*m_portrait);
}

void PanelWidget::createMenus()
{
    powerMenu = new QMenu(this);
    const auto addPower = [this](const QString& text, const char* iconPath, void (PanelWidget::*slot)()) {
        QAction* action = powerMenu->addAction(ResourcePaths::icon(iconPath), text);
        action->setIconVisibleInMenu(true);
        connect(action, &QAction::triggered, this, slot);
    };
    addPower(tr("Enigma reload"), ":/buttons/buttons/power_blue_32.png",
             &PanelWidget::cmdRestartAction_triggered);
    addPower(tr("Box wakeup"), ":/buttons/buttons/power_green_32.png",
             &PanelWidget::cmdWakeupAction_triggered);
    addPower(tr("Box standby"), ":/buttons/buttons/power_yellow_32.png",
             &PanelWidget::cmdStandbyAction_triggered);
    addPower(tr("Box reboot"), ":/buttons/buttons/power_blue_32.png",
             &PanelWidget::cmdRebootAction_triggered);
    addPower(tr("Box shutdown"), ":/buttons/buttons/power_red_32.png",
             &PanelWidget::cmdShutdownAction_triggered);
    // Offered while the receiver cannot be reached or sleeps; a box that answers needs no packet.
    addPower(tr("Wake up (Wake-on-LAN)"), ":/buttons/buttons/power_green_32.png",
             &PanelWidget::cmdWakeOnLanAction_triggered);
    wakeOnLanAction = powerMenu->actions().constLast();
    wakeOnLanAction->setObjectName(QStringLiteral("wakeOnLanAction"));
    connect(powerMenu, &QMenu::aboutToShow, this, &PanelWidget::updateWakeOnLanOffer);
    updateWakeOnLanOffer();

    liveModeMenu = new QMenu(this);
    QAction* online = liveModeMenu->addAction(ResourcePaths::icon(":/buttons/buttons/network_connect_48.png"),
                                              tr("Live Mode on"));
    online->setIconVisibleInMenu(true);
    connect(online, &QAction::triggered, this, &PanelWidget::modeOnlineAction_triggered);
    QAction* offline = liveModeMenu->addAction(
        ResourcePaths::icon(":/buttons/buttons/network_disconnect_48.png"), tr("Live Mode off"));
    offline->setIconVisibleInMenu(true);
    connect(offline, &QAction::triggered, this, &PanelWidget::modeOfflineAction_triggered);
    // The menu shows which mode is on.
    auto* modes = new QActionGroup(liveModeMenu);
    for (QAction* mode : {online, offline}) {
        mode->setCheckable(true);
        modes->addAction(mode);
    }
    m_liveModeOnAction = online;
    m_liveModeOffAction = offline;
    showLiveModeChoice();

    forBoth([this](auto& f) {
        // A click opens the power menu: the button does nothing else. The live-mode menu opens
        // with press and hold, as the tool buttons do by default.
        f.panelPower_toolButton->setMenu(powerMenu);
        f.panelPower_toolButton->setPopupMode(QToolButton::InstantPopup);
        f.panelConnect_toolButton->setMenu(liveModeMenu);
        f.panelConnect_toolButton->setPopupMode(QToolButton::DelayedPopup);
    });
}

void PanelWidget::showLiveModeChoice()
{
    m_liveModeOnAction->setChecked(isLiveMode);
    m_liveModeOffAction->setChecked(!isLiveMode);
}

void PanelWidget::setToolTips()
{
    const auto tip = [](const QString& text, const QKeySequence& key) {
        return key.isEmpty() ? text : tr("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText));
    };
    namespace Keys = RemoteKeys;
    forBoth([&](auto& f) {
        f.panelPower_toolButton->setToolTip(tr("Power menu"));
        f.panelConnect_toolButton->setToolTip(tr("Network activity; press and hold for live mode"));
        f.panelFwd_toolButton->setToolTip(tip(tr("Fast forward"), Keys::forward()));
        f.panelRwd_toolButton->setToolTip(tip(tr("Rewind"), Keys::rewind()));
        f.panelPlay_toolButton->setToolTip(tip(tr("Play"), Keys::play()));
        f.panelPause_toolButton->setToolTip(tip(tr("Pause"), Keys::pause()));
        f.panelStop_toolButton->setToolTip(tip(tr("Stop"), Keys::stop()));
        f.panelRec_toolButton->setToolTip(tip(tr("Record"), Keys::record()));
        f.panelVolMute_toolButton->setToolTip(tip(tr("Mute"), Keys::mute()));
        f.panelVolume_horizontalSlider->setToolTip(
            tr("Volume (%1, %2)")
                .arg(Keys::volumeUp().toString(QKeySequence::NativeText),
                     Keys::volumeDown().toString(QKeySequence::NativeText)));
        f.panel_groupBox->setToolTip(tip(tr("Click: OK on the receiver and refresh"), Keys::ok()));
    });
    m_landscape->panelVolume_toolButton->setToolTip(tr("Volume slider or playback buttons"));
}

void PanelWidget::showReachability(bool reachable, const QString& text)
{
    if (!reachable)
        setChannelInformation(text, QString());
    else if (!controller || !controller->isInitialized())
        setChannelInformation(tr("Click to connect..."), QString());
    // Otherwise the next status answer, which is under way, fills the panel again.
}

void PanelWidget::connectForms()
{
    forBoth([this](auto& f) {
        connect(f.panelVolMute_toolButton, &QToolButton::clicked, this,
                &PanelWidget::panelVolMute_toolButton_clicked);
        connect(f.panelFwd_toolButton, &QToolButton::clicked, this,
                &PanelWidget::panelFwd_toolButton_clicked);
        connect(f.panelRwd_toolButton, &QToolButton::clicked, this,
                &PanelWidget::panelRwd_toolButton_clicked);
        connect(f.panelStop_toolButton, &QToolButton::clicked, this,
                &PanelWidget::panelStop_toolButton_clicked);
        connect(f.panelPause_toolButton, &QToolButton::clicked, this,
                &PanelWidget::panelPause_toolButton_clicked);
        connect(f.panelPlay_toolButton, &QToolButton::clicked, this,
                &PanelWidget::panelPlay_toolButton_clicked);
        connect(f.panelRec_toolButton, &QToolButton::clicked, this,
                &PanelWidget::panelRec_toolButton_clicked);
        connectSlider(f.panelVolume_horizontalSlider, &PanelWidget::panelVolume_horizontalSlider_sliderMoved);
        connectSlider(f.panelMovie_horizontalSlider, &PanelWidget::panelMovie_horizontalSlider_sliderMoved);
    });
    connect(m_landscape->panelVolume_toolButton, &QToolButton::clicked, this,
            &PanelWidget::panelVolume_toolButton_clicked);
}

void PanelWidget::connectSlider(QSlider* slider, void (PanelWidget::*moved)(int))
{
    connect(slider, &QSlider::sliderMoved, this, moved);
    // On the desktop the wheel, the keys and clicks beside the handle move a slider without a
    // drag; those steps are sent the same way.
    connect(slider, &QSlider::actionTriggered, this, [this, slider, moved](int action) {
        // The wheel reports its steps as a move without the handle being held; a drag is
        // reported by sliderMoved already.
        if (action == QAbstractSlider::SliderNoAction ||
            (action == QAbstractSlider::SliderMove && slider->isSliderDown()))
            return;
        (this->*moved)(slider->sliderPosition());
    });
}

void PanelWidget::connectController()
{
    if (!controller)
        return;
    connect(controller, &TavrelControl::receiverReachabilityChanged, this, &PanelWidget::showReachability);
    connect(controller, &TavrelControl::panelRecordingUpdateE2, this, &PanelWidget::setRecordingIcon);
    connect(controller, &TavrelControl::panelClearAllData, this, &PanelWidget::clearPanelData);
    connect(controller, &TavrelControl::panelClearEpgData, this, &PanelWidget::clearPanelEpgDataSlot);
    connect(controller, &TavrelControl::panelBoxModeUpdate, this, &PanelWidget::panelBoxModeChangedSlot);
    connect(controller, &TavrelControl::panelEpgDataUpdate, this, &PanelWidget::updatePanelEpgDataSlot);
    connect(controller, &TavrelControl::panelTVModeUpdate, this, &PanelWidget::updatePanelTVModeSlot);
    connect(controller, &TavrelControl::panelTimeshiftModeUpdate, this,
            &PanelWidget::updatePanelTimeshiftModeSlot);
    connect(controller, &TavrelControl::panelMovieModeUpdate, this, &PanelWidget::updatePanelMovieModeSlot);
    connect(controller, &TavrelControl::panelChannelUpdateE2, this, &PanelWidget::updatePanelChannelSlotE2);
    connect(controller, &TavrelControl::panelPowerstateUpdateE2, this,
            &PanelWidget::updatePanelPowerstateSlotE2);
    connect(controller, &TavrelControl::panelVolumeUpdateE2, this, &PanelWidget::updatePanelVolumeSlotE2);
    connect(controller, &TavrelControl::networkReceiveIsActive, this, &PanelWidget::networkReceiveIconSlot);
    connect(controller, &TavrelControl::networkTransmitIsActive, this, &PanelWidget::networkTransmitIconSlot);
    connect(controller, &TavrelControl::networkErrorOccurred, this, &PanelWidget::networkErrorIconSlot);
    connect(this, &PanelWidget::panelWidgetClicked, controller, &TavrelControl::panelWidget_ClickedEvent);
}

void PanelWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize size = event->size();
    const bool landscape = size.width() > size.height();
    m_landscapeContainer->setGeometry(QRect(QPoint(0, 0), size));
    m_portraitContainer->setGeometry(QRect(QPoint(0, 0), size));
    m_landscapeContainer->setVisible(landscape);
    m_portraitContainer->setVisible(!landscape);
}

bool PanelWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        (watched == m_landscape->panel_groupBox || watched == m_portrait->panel_groupBox))
        Q_EMIT panelWidgetClicked();
    return QWidget::eventFilter(watched, event);
}

void PanelWidget::activeProfileUpdateSlot(Profile profile)
{
    webIfType = profile.webIfType;
    const int maximum = webIfType == 0 ? volumeMaxEnigma1 : volumeMaxEnigma2;
    forBoth([maximum](auto& f) { f.panelVolume_horizontalSlider->setMaximum(maximum); });
    offerStream(profile);
}

void PanelWidget::offerStream(const Profile& profile)
{
    if (!m_watchAction)
        return;
    const QString reason = TavrelControl::noStreamReason(profile);
    m_watchAction->setEnabled(controller && reason.isEmpty());
    // A context menu shows no tooltips; the status tip says it in the window's status bar.
    const QString tip =
        reason.isEmpty() ? tr("Plays the channel the receiver shows on this computer.") : reason;
    m_watchAction->setToolTip(tip);
    m_watchAction->setStatusTip(tip);
}

// --- Display ------------------------------------------------------------------------------

void PanelWidget::clearPanelData()
{
    setChannelInformation();
    toggleButtonPanel(false);
    setChannelProgressBar(0);
    setVolumeSliderPosition(0);
    setEpg0Information();
    setEpg1Information();
    setRecordingIcon(false);
    forBoth([](auto& f) { f.panelProgress_stackedWidget->setCurrentWidget(f.tv_page); });
}

void PanelWidget::clearPanelEpgDataSlot()
{
    setEpg0Information();
    setEpg1Information();
    setChannelProgressBar(0);
}

void PanelWidget::panelBoxModeChangedSlot(BoxMode mode)
{
    receiverUnreachable = false; // the receiver has just said what it does
    switch (mode) {
    case BoxModeTv:
        forBoth([](auto& f) { f.panelProgress_stackedWidget->setCurrentWidget(f.tv_page); });
        toggleButtonPanel(true);
        setPowerButtonIconColor(QStringLiteral("green"));
        break;
    case BoxModeOther:
        break;
    case BoxModeMovie:
        forBoth([](auto& f) { f.panelProgress_stackedWidget->setCurrentWidget(f.movie_page); });
        toggleButtonPanel(true);
        setPowerButtonIconColor(QStringLiteral("green"));
        setEpg0Information();
        setEpg1Information();
        break;
    case BoxModeTimeshift:
        forBoth([](auto& f) { f.panelProgress_stackedWidget->setCurrentWidget(f.movie_page); });
        toggleButtonPanel(true);
        setPowerButtonIconColor(QStringLiteral("green"));
        break;
    case BoxModeStandby:
        clearPanelData();
        setPowerButtonIconColor(QStringLiteral("yellow"));
        setChannelInformation(tr("Box is standby"));
        break;
    }
}

void PanelWidget::updatePanelEpgDataSlot(QList<EpgItem*> list)
{
    if (list.isEmpty())
        return;
    const EpgItem* now = list.first();
    setEpg0Information(now->startTime, now->title, QString::number(now->minutesLeft) + tr(" Min"));
    if (list.size() >= 2) {
        const EpgItem* next = list.at(1);
        setEpg1Information(next->startTime, next->title, QString::number(next->duration / 60) + tr(" Min"));
    } else {
        setEpg1Information();
    }
    setChannelProgressBar(now->progress);
}

void PanelWidget::updatePanelTVModeSlot(StatusData* s)
{
    setRecordingIcon(s->recording);
    setVolumeButtonIconMute(s->mute);
    setChannelInformation(s->serviceName, s->videoFormat);
    if (!volumeChanging)
        setVolumeSliderPosition(s->volume);
}

void PanelWidget::updatePanelTimeshiftModeSlot(StatusData* s)
{
    setRecordingIcon(s->recording);
    setVolumeButtonIconMute(s->mute);
    setChannelInformation(s->serviceName, s->videoTime, s->videoFormat);
    if (!volumeChanging)
        setVolumeSliderPosition(s->volume);
    if (!positionChanging)
        setMovieSliderPosition(s->videoPosition);
}

void PanelWidget::updatePanelMovieModeSlot(StatusData* s)
{
    setRecordingIcon(s->recording);
    setChannelInformation(s->nowSt, s->videoFormat);
    setEpg0Information(s->videoTime);
    setVolumeButtonIconMute(s->mute);
    if (!volumeChanging)
        setVolumeSliderPosition(s->volume);
    if (!positionChanging)
        setMovieSliderPosition(s->videoPosition);
}

void PanelWidget::updatePanelChannelSlotE2(StatusData* s)
{
    if (panelMode == BoxModeStandby)
        return;
    setChannelInformation(s->serviceName, s->videoFormat);
}

void PanelWidget::updatePanelPowerstateSlotE2(bool standby)
{
    receiverUnreachable = false;
    if (standby) {
        panelMode = BoxModeStandby;
        setChannelInformation(tr("Box is standby"), QString());
        setEpgInformationVisible(false);
        toggleButtonPanel(false);
        setPowerButtonIconColor(QStringLiteral("yellow"));
    } else {
        panelMode = BoxModeTv;
        setEpgInformationVisible(true);
        toggleButtonPanel(true);
        setPowerButtonIconColor(QStringLiteral("green"));
    }
}

void PanelWidget::updatePanelVolumeSlotE2(StatusData* s)
{
    setVolumeButtonIconMute(s->mute);
    if (!volumeChanging)
        setVolumeSliderPosition(s->volume);
}

void PanelWidget::toggleButtonPanel(bool enabled)
{
    forBoth([enabled](auto& f) {
        for (QWidget* w :
             {static_cast<QWidget*>(f.panelFwd_toolButton), static_cast<QWidget*>(f.panelPlay_toolButton),
              static_cast<QWidget*>(f.panelStop_toolButton), static_cast<QWidget*>(f.panelRwd_toolButton),
              static_cast<QWidget*>(f.panelPause_toolButton), static_cast<QWidget*>(f.panelRec_toolButton),
              static_cast<QWidget*>(f.panelVolMute_toolButton),
              static_cast<QWidget*>(f.panelVolume_horizontalSlider)})
            w->setEnabled(enabled);
    });
    m_landscape->panelVolume_toolButton->setEnabled(enabled);
}

void PanelWidget::setPowerButtonIconColor(const QString& color)
{
    const QIcon power(QStringLiteral(":/buttons/buttons/power_") + color + QStringLiteral("_42.png"));
    forBoth([&power](auto& f) { f.panelPower_toolButton->setIcon(power); });
}

void PanelWidget::setRecordingIcon(bool recording)
{
    forBoth([recording](auto& f) {
        f.panelRec_stackedWidget->setCurrentWidget(recording ? f.label_page : f.button_page);
    });
}

void PanelWidget::setVolumeButtonIconMute(bool mute)
{
    muted = mute;
    const QIcon muteIcon(mute ? QStringLiteral(":/buttons/buttons/player_mute_48.png")
                              : QStringLiteral(":/buttons/buttons/player_unmute_48.png"));
    forBoth([&muteIcon](auto& f) { f.panelVolMute_toolButton->setIcon(muteIcon); });
}

void PanelWidget::setVolumeSliderPosition(int position)
{
    forBoth([position](auto& f) { f.panelVolume_horizontalSlider->setValue(position); });
}

void PanelWidget::setMovieSliderPosition(int position)
{
    forBoth([position](auto& f) { f.panelMovie_horizontalSlider->setValue(position); });
}

void PanelWidget::setChannelProgressBar(int progress)
{
    forBoth([progress](auto& f) { f.panel_progressBar->setValue(progress); });
}

void PanelWidget::setChannelInformation(const QString& name, const QString& videoTime, const QString& vidInfo)
{
    setChannelInformation(name + QLatin1Char(' ') + videoTime, vidInfo);
}

void PanelWidget::setChannelInformation(const QString& name, const QString& vidInfo)
{
    forBoth([&name](auto& f) { f.panelChannel_label->setText(name); });
    m_landscape->panelVidFormat_label->setText(vidInfo);
}

void PanelWidget::setChannelInformation(const QString& name)
{
    forBoth([&name](auto& f) { f.panelChannel_label->setText(name); });
}

void PanelWidget::setChannelInformation()
{
    setChannelInformation(QString(), QString());
}

void PanelWidget::setEpg0Information(const QString& time, const QString& titel, const QString& minsLeft)
{
    forBoth([&](auto& f) {
        f.panelEpg0Time_label->setText(time);
        f.panelEpg0Titel_label->setText(titel);
        f.panelEpg0Min_label->setText(minsLeft);
    });
}

void PanelWidget::setEpg0Information(const QString& time)
{
    setEpg0Information(time, QString(), QString());
}

void PanelWidget::setEpg0Information()
{
    setEpg0Information(QString(), QString(), QString());
}

void PanelWidget::setEpg1Information(const QString& time, const QString& titel, const QString& minsLeft)
{
    forBoth([&](auto& f) {
        f.panelEpg1Time_label->setText(time);
        f.panelEpg1Titel_label->setText(titel);
        f.panelEpg1Min_label->setText(minsLeft);
    });
}

void PanelWidget::setEpg1Information()
{
    setEpg1Information(QString(), QString(), QString());
}

void PanelWidget::setEpgInformationVisible(bool visible)
{
    forBoth([visible](auto& f) {
        for (QWidget* w : {f.panelEpg0Time_label, f.panelEpg0Titel_label, f.panelEpg0Min_label,
                           f.panelEpg1Time_label, f.panelEpg1Titel_label, f.panelEpg1Min_label})
            w->setVisible(visible);
    });
}

// --- Network icons ------------------------------------------------------------------------

void PanelWidget::setConnectIcon(const QString& path)
{
    const QIcon connectIcon(path);
    forBoth([&connectIcon](auto& f) { f.panelConnect_toolButton->setIcon(connectIcon); });
}

void PanelWidget::networkTransmitIconSlot(bool transmit)
{
    transmitActive = transmit;
    if (transmit)
        setConnectIcon(receiveActive ? QStringLiteral(":/symbol/symbol/network-transmit-receive.png")
                                     : QStringLiteral(":/symbol/symbol/network-transmit.png"));
    else if (!receiveActive)
        setConnectIcon(QStringLiteral(":/symbol/symbol/network-idle.png"));
    loadIconResetTimer(activityIconMs);
}

void PanelWidget::networkReceiveIconSlot(bool receive)
{
    receiveActive = receive;
    if (receive)
        setConnectIcon(transmitActive ? QStringLiteral(":/symbol/symbol/network-transmit-receive.png")
                                      : QStringLiteral(":/symbol/symbol/network-receive.png"));
    else if (!transmitActive)
        setConnectIcon(QStringLiteral(":/symbol/symbol/network-idle.png"));
    loadIconResetTimer(activityIconMs);
}

void PanelWidget::networkErrorIconSlot(bool error)
{
    receiverUnreachable = error;
    setConnectIcon(error ? QStringLiteral(":/symbol/symbol/network-error.png")
                         : QStringLiteral(":/symbol/symbol/network-idle.png"));
    loadIconResetTimer(errorIconMs);
}

void PanelWidget::resetConnectionIcon()
{
    transmitActive = false;
    receiveActive = false;
    setConnectIcon(isLiveMode ? QStringLiteral(":/symbol/symbol/network-idle.png")
                              : QStringLiteral(":/symbol/symbol/network-offline.png"));
}

// --- Timers -------------------------------------------------------------------------------

void PanelWidget::loadIconResetTimer(int mSecs)
{
    m_timerSource.startSingleShot(iconResetTimer, mSecs, this, &PanelWidget::resetConnectionIcon);
}

void PanelWidget::loadRefreshTimer()
{
    m_timerSource.startSingleShot(refreshTimer, refreshAfterCommandMs, this, &PanelWidget::refreshTimerSlot);
}

void PanelWidget::refreshTimerSlot()
{
    if (!controller)
        return;
    controller->requestStatus();
    // An Enigma2 receiver tells of a started or stopped recording only in its timer list.
    if (std::exchange(m_recordingChanged, false) && webIfType == 1)
        controller->requestTimerList();
}

void PanelWidget::loadVolumeSetTimer()
{
    m_timerSource.startSingleShot(volumeSetRequestTimer, sliderHoldMs, this,
                                  &PanelWidget::volumeSetRequestTimerSlot);
}

void PanelWidget::volumeSetRequestTimerSlot()
{
    networkTransmitIconSlot(true);
    if (controller)
        controller->sendVolume(QString::number(pendingVolume));
    m_timerSource.startSingleShot(volumeSetTimer, sliderSettleMs, this, &PanelWidget::volumeSetTimerSlot);
}

void PanelWidget::volumeSetTimerSlot()
{
    networkTransmitIconSlot(true);
    if (controller)
        controller->requestStatus();
    volumeChanging = false;
}

void PanelWidget::loadVideoPosSetTimer()
{
    m_timerSource.startSingleShot(videoPosSetRequestTimer, sliderHoldMs, this,
                                  &PanelWidget::videoPosSetRequestTimerSlot);
}

void PanelWidget::videoPosSetRequestTimerSlot()
{
    networkTransmitIconSlot(true);
    if (controller)
        controller->sendVideoPosition(pendingPosition);
    m_timerSource.startSingleShot(videoPosSetTimer, sliderSettleMs, this, &PanelWidget::videoPosSetTimerSlot);
}

void PanelWidget::videoPosSetTimerSlot()
{
    networkTransmitIconSlot(true);
    if (controller)
        controller->requestData();
    positionChanging = false;
}

// --- User ---------------------------------------------------------------------------------

void PanelWidget::playerCommand(int command)
{
    networkTransmitIconSlot(true);
    if (controller)
        controller->sendPlayerCommand(command);
    loadRefreshTimer();
}

void PanelWidget::panelFwd_toolButton_clicked()
{
    playerCommand(0);
}

void PanelWidget::panelRwd_toolButton_clicked()
{
    playerCommand(1);
}

void PanelWidget::panelPlay_toolButton_clicked()
{
    playerCommand(2);
}

void PanelWidget::panelPause_toolButton_clicked()
{
    playerCommand(3);
}

void PanelWidget::panelRec_toolButton_clicked()
{
    m_recordingChanged = true;
    playerCommand(5);
}

void PanelWidget::panelVolMute_toolButton_clicked()
{
    setVolumeButtonIconMute(!muted);
    playerCommand(7);
}

void PanelWidget::panelStop_toolButton_clicked()
{
    m_recordingChanged = true;
    if (controller && controller->isInitialized())
        controller->sendStopCommand();
    loadRefreshTimer();
}

void PanelWidget::panelVolume_toolButton_clicked()
{
    auto& f = *m_landscape;
    const bool showSlider = f.panel_stackedWidget->currentWidget() == f.buttons_page;
    f.panel_stackedWidget->setCurrentWidget(showSlider ? f.slider_page : f.buttons_page);
    f.panelVolume_toolButton->setIcon(showSlider
                                          ? ResourcePaths::icon(":/menu/menu/tv_48.png")
                                          : ResourcePaths::icon(":/buttons/buttons/player_unmute_48.png"));
}

void PanelWidget::panelVolume_horizontalSlider_sliderMoved(int position)
{
    pendingVolume = position;
    volumeChanging = true;
    loadVolumeSetTimer();
}

void PanelWidget::panelMovie_horizontalSlider_sliderMoved(int position)
{
    pendingPosition = position;
    positionChanging = true;
    loadVideoPosSetTimer();
}

void PanelWidget::powerCommand(BoxCommand command)
{
    networkTransmitIconSlot(true);
    if (controller)
        controller->sendBoxCommand(command);
}

void PanelWidget::cmdShutdownAction_triggered()
{
    powerCommand(BoxCommandShutdown);
}

void PanelWidget::cmdRebootAction_triggered()
{
    powerCommand(BoxCommandReboot);
}

void PanelWidget::cmdRestartAction_triggered()
{
    powerCommand(BoxCommandRestartEnigma);
}

void PanelWidget::cmdWakeupAction_triggered()
{
    powerCommand(BoxCommandWakeup);
}

void PanelWidget::cmdStandbyAction_triggered()
{
    powerCommand(BoxCommandStandby);
}

void PanelWidget::cmdWakeOnLanAction_triggered()
{
    networkTransmitIconSlot(true);
    if (controller)
        controller->wakeUpReceiver();
}

void PanelWidget::updateWakeOnLanOffer()
{
    const bool reachable = controller && controller->isInitialized() && !receiverUnreachable;
    wakeOnLanAction->setVisible(!reachable || panelMode == BoxModeStandby);
}

void PanelWidget::setLiveMode(bool on)
{
    SystemSet set = settings->getSystemSettings();
    set.isLiveMode = on;
    isLiveMode = on;
    showLiveModeChoice();
    settings->saveSystemSettings(set);
    resetConnectionIcon();
}

void PanelWidget::modeOnlineAction_triggered()
{
    setLiveMode(true);
}

void PanelWidget::modeOfflineAction_triggered()
{
    setLiveMode(false);
}
