#pragma once

#include "model/records.h"

#include <QList>
#include <QWidget>

#include <memory>

class ControlTimer;
class EpgItem;
class QAction;
class QDialog;
class QMenu;
class QSlider;
class Settings;
class TavrelControl;
class TimerSource;
enum BoxCommand : int;
Q_MOC_INCLUDE("model/epgitem.h")

namespace Ui {
class PanelWidget_ls;
class PanelWidget_pt;
} // namespace Ui

// The remote control on the TV tab: what the receiver shows (channel, video format, now/next
// events, progress or playback position, volume, recording, power state, network activity)
// and its buttons, sliders, power menu and live-mode switch. It acts only through the
// controller and learns only from its signals. Two complete forms, landscape and portrait,
// carry every update; the panel's shape picks the one shown.
class PanelWidget : public QWidget
{
    Q_OBJECT

public:
    PanelWidget(QWidget* parent, TavrelControl* controller);
    // With the source of the panel's timers (tests run them on virtual time).
    PanelWidget(QWidget* parent, TavrelControl* controller, TimerSource& timerSource);
    ~PanelWidget() override;

Q_SIGNALS:
    void loadLabelStart();
    void loadLabelStop();
    void panelWidgetClicked();

public Q_SLOTS:
    // Fed by the controller.
    void clearPanelData();
    void clearPanelEpgDataSlot();
    void panelBoxModeChangedSlot(BoxMode mode);
    void updatePanelEpgDataSlot(QList<EpgItem*> list);
    void updatePanelTVModeSlot(StatusData* status);
    void updatePanelTimeshiftModeSlot(StatusData* status);
    void updatePanelMovieModeSlot(StatusData* status);
    void updatePanelChannelSlotE2(StatusData* status);
    void updatePanelPowerstateSlotE2(bool standby);
    void updatePanelVolumeSlotE2(StatusData* status);
    void networkReceiveIconSlot(bool receive);
    void networkTransmitIconSlot(bool transmit);
    void networkErrorIconSlot(bool error);
    // Says in words that the receiver cannot be reached, or takes it back.
    void showReachability(bool reachable, const QString& text);
    void activeProfileUpdateSlot(Profile profile);
    // "Watch" is offered where the profile's receiver streams, otherwise it says why not.
    void offerStream(const Profile& profile);

    // What both forms show.
    void toggleButtonPanel(bool enabled);
    void setPowerButtonIconColor(const QString& color);
    void setRecordingIcon(bool recording);
    void setVolumeButtonIconMute(bool mute);
    void setVolumeSliderPosition(int position);
    void setMovieSliderPosition(int position);
    void setChannelProgressBar(int progress);
    void setChannelInformation(const QString& name, const QString& videoTime, const QString& vidInfo);
    void setChannelInformation(const QString& name, const QString& vidInfo);
    void setChannelInformation(const QString& name);
    void setChannelInformation();
    void setEpg0Information(const QString& time, const QString& titel, const QString& minsLeft);
    void setEpg0Information(const QString& time);
    void setEpg0Information();
    void setEpg1Information(const QString& time, const QString& titel, const QString& minsLeft);
    void setEpg1Information();
    void setEpgInformationVisible(bool visible);
    void resetConnectionIcon();

    // Timers.
    void loadVolumeSetTimer();
    void volumeSetTimerSlot();
    void volumeSetRequestTimerSlot();
    void loadVideoPosSetTimer();
    void videoPosSetTimerSlot();
    void videoPosSetRequestTimerSlot();
    void loadIconResetTimer(int mSecs);
    void loadRefreshTimer();
    void refreshTimerSlot();

    // The user.
    void panelVolMute_toolButton_clicked();
    void panelFwd_toolButton_clicked();
    void panelRwd_toolButton_clicked();
    void panelStop_toolButton_clicked();
    void panelPause_toolButton_clicked();
    void panelPlay_toolButton_clicked();
    void panelRec_toolButton_clicked();
    void panelVolume_toolButton_clicked();
    void panelVolume_horizontalSlider_sliderMoved(int position);
    void panelMovie_horizontalSlider_sliderMoved(int position);
    void cmdShutdownAction_triggered();
    void cmdRebootAction_triggered();
    void cmdRestartAction_triggered();
    void cmdStandbyAction_triggered();
    void cmdWakeupAction_triggered();
    void cmdWakeOnLanAction_triggered();
    void modeOnlineAction_triggered();
    void modeOfflineAction_triggered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showLiveModeChoice();
    // The picture the TV shows, in a window of its own, opened from the panel's menu.
    void showTvPicture();
    void setToolTips();
    template<typename Apply>
    void forBoth(Apply apply);
    void connectForms();
    void connectSlider(QSlider* slider, void (PanelWidget::*moved)(int));
    void connectController();
    void createMenus();
    void setConnectIcon(const QString& path);
    void playerCommand(int command);
    void powerCommand(BoxCommand command);
    void setLiveMode(bool on);
    void updateWakeOnLanOffer();

    const std::unique_ptr<Ui::PanelWidget_ls> m_landscape;
    const std::unique_ptr<Ui::PanelWidget_pt> m_portrait;
    QWidget* m_landscapeContainer = nullptr;
    QWidget* m_portraitContainer = nullptr;
    TavrelControl* controller = nullptr;
    TimerSource& m_timerSource;
    Settings* settings = nullptr;
    int webIfType = 1;
    bool isLiveMode = true;
    bool receiveActive = false;
    bool transmitActive = false;
    int panelMode = 0;
    bool muted = true;
    bool volumeChanging = false;
    bool positionChanging = false;
    int pendingVolume = 0;
    int pendingPosition = 0;
    ControlTimer* iconResetTimer = nullptr;
    ControlTimer* volumeSetRequestTimer = nullptr;
    ControlTimer* volumeSetTimer = nullptr;
    ControlTimer* videoPosSetRequestTimer = nullptr;
    ControlTimer* videoPosSetTimer = nullptr;
    ControlTimer* refreshTimer = nullptr;
    QMenu* powerMenu = nullptr;
    QAction* wakeOnLanAction = nullptr;
    bool receiverUnreachable = false;
    QMenu* liveModeMenu = nullptr;
    QAction* m_liveModeOnAction = nullptr;
    QAction* m_liveModeOffAction = nullptr;
    // The record button was pressed: the refresh after it asks for the recordings too.
    bool m_recordingChanged = false;
    QDialog* m_pictureWindow = nullptr;
    QAction* m_watchAction = nullptr;
};
