#pragma once

#include "box/remotekey.h"
#include "box/requesttype.h"
#include "model/records.h"

#include <QList>
#include <QModelIndex>
#include <QNetworkReply>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class Clock;
class ControlTimer;
class EpgItem;
class ReceiverReachability;
class RequestsE1;
class RequestsE2;
class Settings;
class TavrelDatabase;
class TavrelRequest;
class TimerSource;
class WakeUpCall;
Q_MOC_INCLUDE("model/epgitem.h")
Q_MOC_INCLUDE("model/tavreldatabase.h")

// Power commands of the panel's power menu.
enum BoxCommand : int
{
    BoxCommandShutdown = 0,
    BoxCommandReboot = 1,
    BoxCommandRestartEnigma = 2,
    BoxCommandWakeup = 3,
    BoxCommandStandby = 4,
};

// The one object between the pages and the receiver. It owns the settings store, the image of
// the receiver (TavrelDatabase) and the one request engine of the active profile's web
// interface, starts the loading, turns the engine's answers into signals for the pages, keeps
// the receiver's and the lists' bouquet and channel positions apart and in step, carries out the
// user's commands with their confirmations and runs the refresh timers.
//
// It is a widget only to be the parent of the message boxes it asks with; it is never shown.
class TavrelControl : public QWidget
{
    Q_OBJECT

public:
    explicit TavrelControl(QWidget* parent = nullptr);
    // With the clock that says "now" and the source of its timers (tests drive both).
    TavrelControl(const Clock& clock, TimerSource& timerSource, QWidget* parent = nullptr);
    ~TavrelControl() override;

    // Loading and status.
    void loadServiceData();
    void requestStatus();
    void requestData();
    void requestTimerList();
    void requestAboutInfo();
    void requestMovieList(bool force);

    // Commands of the panel.
    void sendBoxCommand(BoxCommand cmd);
    void sendStopCommand();
    void sendPlayerCommand(int command);
    void sendVolume(const QString& level);
    void sendVideoPosition(int position);
    // Wakes a receiver in deep standby with a Wake-on-LAN packet and connects again as it comes
    // up. Needs the receiver's MAC address, which the profile learns on the first connection.
    void wakeUpReceiver();

    // Channels and EPG.
    void zapChannel(int bouquet, int channel);
    void searchEpgE2(const QString& text);
    void requestSimilarEpg(const EpgItem* event);
    // Reloads the bouquet's EPG when more than three of its channels lack events and its last
    // channel is one of them.
    void refreshBouquetEpgIfStale(int bouquet);
    void reloadBouquetEpg(int bouquet);
    // A bouquet came into view (bouquet tab, EPG tab, satellite finder): its now/next events
    // are asked for; with the EPG loaded only when needed, only the first time it is shown.
    void bouquetShown(int bouquet);

    // Movies.
    void playMovieAt(int index);
    void deleteMovieAt(int index);
    void renameMovieAt(int index, const QString& title);

    // Timers.
    void addTimerForEvent(EpgItem* event, bool justPlay);
    void addTimer(int bouquet, int channel, int eventIndex);
    void cleanupTimerList();
    void deleteTimerAt(int index);

    // Satellite finder.
    void zapForSatfinder(int bouquet, int channel);
    void initSatfinder();
    void requestSatfinderMeasurement(int satellite, int transponder);

    // Messages on the TV screen.
    void sendTvMessageE1(const QString& caption, const QString& body, bool flag, int timeout);
    void sendTvMessageE2(const QString& text, bool question, int timeout);
    void requestMessageAnswer();

    // The whole remote control and the picture the TV shows (tavrelcontrolremote.cpp).
    void sendRemoteKey(RemoteKey key, bool longPress);
    void requestTvPicture();

    // Watching on this computer (tavrelcontrolstreams.cpp): the stream goes to the user's player,
    // after a zap when the profile asks for one. What happens is told in the status line.
    // Why the receiver offers no stream, in words; empty when it does.
    QString noStreamReason() const;
    static QString noStreamReason(const Profile& profile);
    void watchChannel(int bouquet, int channel);
    void watchCurrentChannel();
    void watchMovieAt(int index);
    // Writes the bouquet's channels as an M3U playlist; the problem in words, empty when written.
    QString saveBouquetPlaylist(int bouquet, const QString& fileName) const;

    // What pages may read between signals.
    TavrelDatabase* currentDatabase() const { return database; }
    TavrelRequest* currentEngine() const { return requestEngine.get(); }
    bool isInitialized() const { return initialized; }
    SystemSet currentSystemSettings() const { return systemSettings; }
    bool isReceiverReachable() const;

Q_SIGNALS:
    void loadLabelStart();
    void loadLabelStop();
    void networkRquestIsActive(bool isActive);
    void resetServiceDataLists();
    void broadcastBouquetIndex(int index);
    void broadcastChannelIndex(int index);
    void setChannelListWidgetIndex(int index);
    void setEpgWidgetBouquetIndex(int index);
    void setEpgWidgetChannelIndex(int index);
    void broadcastInitializedSignal(bool initialized);
    void aboutInfoReceived(const AboutInfo* info);
    void aboutInfoReceived(const AboutInfoE1* info);
    void signalInfoReceived(const SignalInfo* info);
    void deviceInfoReceived(const DeviceData* data);
    void dataInfoReceived(QString text);
    void networkReceiveIsActive(bool isActive);
    void networkTransmitIsActive(bool isActive);
    void networkErrorOccurred(bool occurred);
    void panelClearEpgData();
    void panelClearAllData();
    void panelBoxModeUpdate(BoxMode mode);
    void panelEpgDataUpdate(QList<EpgItem*> events);
    void panelTVModeUpdate(StatusData* status);
    void panelTimeshiftModeUpdate(StatusData* status);
    void panelMovieModeUpdate(StatusData* status);
    void panelChannelUpdateE2(StatusData* status);
    void panelPowerstateUpdateE2(bool isStandby);
    void panelVolumeUpdateE2(StatusData* status);
    // Whether the receiver records now, as its timer list says.
    void panelRecordingUpdateE2(bool recording);
    void ServiceDataUpdate(TavrelDatabase* database);
    void EpgDataUpdate();
    void EpgDataUpdate(TavrelDatabase* database);
    void MovieListUpdate(TavrelDatabase* database);
    void MovieDeleted(int index);
    void timerListDataUpdate(TavrelDatabase* database);
    void timerListStatusUpdate(TavrelDatabase* database);
    // The last timer-list request failed or its answer was unreadable; the list kept is the
    // one before it. Comes before the timerListDataUpdate of that request.
    void timerListRequestFailed();
    void satFinderDataUpdate(SatfinderData* data);
    void satFinderConfigUpdate(SatfinderConfig* config);
    void satFinderDataUpdate(const SignalInfo* info);
    void satFinderConfigUpdate(TavrelDatabase* database);
    void messageSendResponseOK();
    // The receiver did not take a message: the transfer failed or it refused it.
    void messageSendFailed();
    void messageAnswerIs(MessageAnswer answer);
    void enigma2SearchResults(QList<EpgItem*> events);
    void enigma2SimilarResults(QList<EpgItem*> events);
    // The Enigma2 search or similar-events request failed or its answer could not be read.
    void enigma2SearchFailed();
    void activeProfileChanged(Profile profile);
    // A load was asked for while no profile is active: the user has a receiver to set up.
    void activeProfileNeeded();
    // The receiver can no longer be reached, or answers again; the text says it in words.
    void receiverReachabilityChanged(bool reachable, const QString& text);
    // A line for the window's status bar.
    void statusMessage(const QString& text);
    // The receiver answered a key of the remote control, or the key failed.
    void remoteKeyHandled(bool failed);
    // The picture the TV shows, as the receiver sent it (PNG or JPEG).
    void tvPictureReceived(const QByteArray& picture);
    // No picture came; the text says why.
    void tvPictureFailed(const QString& reason);

public Q_SLOTS:
    void setNewSystemSettings(SystemSet set);
    void updateChannelItems();
    void updateCheckChannelItems();
    void guiChannelIndex_ChangedSlot(int index);
    void guiBouquetIndex_ChangedSlot(int index);
    void channelListWidget_ClickedSlot(const QModelIndex& index);
    // The second click of a double click arrives as an event of its own: it is the second click.
    void channelListWidget_DoubleClickedSlot(const QModelIndex& index);
    // Zaps to the channel at once (Return on the list, "Zap" in its menu).
    void zapToListChannel(const QModelIndex& index);
    // The channel before or after the receiver's in the bouquet shown (step -1 or 1).
    void zapNeighbourChannel(int step);
    void sendExitKey();
    void panelTimerAllowed(bool allowed);
    void panelWidget_ClickedEvent();
    void reloadEpgActionSlot();
    void reloadServiceDataActionSlot();
    void epgTabActivated();

private Q_SLOTS:
    void resetTavrelControl();
    void activeProfileUpdateSlot(Profile profile);

    // Refresh timers.
    void startStopEpgRefreshTimer(bool start);
    void epgAutoRefreshTimer();
    void startStopOneSecPanelRefreshTimer(bool start);
    void startStopTenSecPanelRefreshTimer(bool start);
    void panelOneSecRefreshTimerSlot();
    void panelTenSecRefreshTimerSlot();
    void globalStartStopUpdateTimers(BoxMode mode);
    void channelListClicked_TimeoutSlot();
    void requestFailedSlot(RequestType type, QNetworkReply::NetworkError error, int httpStatus);
    void reachabilityChangedSlot(bool reachable);
    void retryUnreachableReceiver();

    // Answers of both engines.
    void networkErrorSlot(bool occurred);
    void networkErrorSlot(QNetworkReply::NetworkError error);
    void sendMessageRequestResponse(bool confirmed);

    // Answers of the Enigma2 engine.
    void e2AboutRequestResponse();
    void e2PowerStateResponse(bool isStandby);
    void e2SignalResponse(const SignalInfo* info);
    void e2CurrentServiceResponse();
    void e2ServiceDataResponse();
    void e2EpgDataResponse();
    void e2EpgSimilarRequestResponse();
    void e2SearchRequestResponse();
    void e2TimerListRequestResponse();
    void e2TimerEventAddRequestResponse(bool eventSet);
    void e2TimerEventDelRequestResponse(bool eventDeleted);
    void e2MovieListRequestResponse();
    void e2MovieDelRequestResponse(bool deleted);
    void e2VolumeRequestResponse(bool isMute, int level);
    void e2MessageAnswerResponse(MessageAnswer answer);

    // Answers of the Enigma1 engine.
    void aboutRequestResponse(AboutInfoE1* info);
    void statusRequestResponse();
    void dataRequestResponse();
    void serviceDataRequestResponse();
    void epgDataRequestResponse();
    void multiEpgDataRequestResponse();
    void movieListRequestResponse();
    void timerListRequestResponse();
    void timerEventAddRequestResponse(bool eventSet);
    void timerEventDelRequestResponse(bool eventDeleted);
    void satfinderConfigRequestResponse(SatfinderConfig* config);

private:
    // Engines: a command engine only routes network state and message answers; a data engine
    // also every answer, and starts the load.
    RequestsE1* createCommandEngineE1();
    RequestsE2* createCommandEngineE2();
    void createDataEngineE1();
    void createDataEngineE2();
    void connectCommonRoutes(TavrelRequest* engine);
    void connectRemoteRoutes(TavrelRequest* engine);
    void connectPictureRoutes(RequestsE2* engine);
    // The stream waiting for the receiver's zap goes to the player once it answered.
    void connectStreamRoutes(TavrelRequest* engine);
    // False, and the reason in the status line, where the receiver offers no stream.
    bool streamsOffered();
    // False when the player could not be started; the status line says so either way.
    bool startPlayer(const QUrl& url, const QString& what);
    // Drops the engine: its replies still under way are aborted and nothing more of it reaches
    // this controller or a later image. It is deleted from the event loop, as it may be the
    // sender of the signal that led here.
    void retireEngine();
    // A command engine of the stored profile's web interface when no engine exists; false when
    // that interface is unknown.
    bool ensureCommandEngine();
    bool isEnigma1() const { return activeProfile.webIfType == 0; }

    // Asks for the channel's own EPG when it holds fewer events than a row shows.
    void requestSparseChannelEpg(int bouquet, int channel);
    bool locateBoxService();
    // Tells the lists where the receiver's service is.
    void broadcastBoxPosition();
    void updatePanelForMode(BoxMode mode);
    void currentServiceBlock(void (TavrelControl::*panelSignal)(StatusData*));
    bool positionSampleChanged(const QString& sample);
    bool isPlaybackMode() const;
    bool isBoxAwake() const;
    QString receiverAddressText() const;

    // Boxes about answers of the engine are asked from the event loop, never from within the
    // engine's own signal, so that whatever the user does meanwhile cannot pull the engine out
    // from under itself.
    void askLater(std::function<void()> ask);
    void confirmConnectionRetry();
    // Keeps the MAC address the receiver reports, for waking it later.
    void rememberReceiverMac(const QString& mac);
    void confirmStopRecording(const TimerEntry& timer);
    void showTimerNotice(const QString& text);

    // A timer exists only while it runs: starting makes a new one, stopping drops it.
    void runTimer(ControlTimer*& field, const QString& name, bool repeating, int intervalMs,
                  void (TavrelControl::*slot)());
    static void dropTimer(ControlTimer*& field);

    // Fields in the order the controller is described in.
    Settings* settings = nullptr;
    WakeUpCall* m_wakeUpCall = nullptr;
    QUrl m_streamAfterZap; // with what it shows
    QString m_streamAfterZapName;
    SystemSet systemSettings;
    Profile activeProfile;
    std::unique_ptr<TavrelRequest> requestEngine;
    QStringList positionSamples;
    TavrelDatabase* database = nullptr;
    bool initialized = false;
    bool satfinderConfigReceived = false;
    ControlTimer* epgAlignTimer = nullptr;
    ControlTimer* epgRefreshTimer = nullptr;
    ControlTimer* panelOneSecTimer = nullptr;
    ControlTimer* panelTenSecTimer = nullptr;
    ControlTimer* channelClickTimer = nullptr;
    int boxBouquetIndex = 0;
    int boxChannelIndex = 0;
    int guiBouquetIndex = 0;
    int guiChannelIndex = 0;
    int movieIndex = 0;
    BoxMode lastBoxMode = noBoxModeYet;
    bool syncPending = false;
    bool boxBouquetChanged = false;
    bool boxChannelChanged = false;
    bool boxServiceFound = false;
    bool panelTimersAllowed = false;
    bool recordStopCheckPending = false;

    static constexpr BoxMode noBoxModeYet = BoxMode(5);

    const Clock& m_clock;
    TimerSource& m_timerSource;
    // Counts resets: a question asked later about an engine that is gone is not asked.
    quint64 m_generation = 0;
    bool m_connectionErrorBoxPending = false;
    // The Enigma1 bouquets came before the status: the lists learn the receiver's service from
    // the status when it comes.
    bool m_boxServiceUnknownAtStart = false;
    // The recording asked to be deleted; the answer removes it wherever it stands by then.
    QString m_movieDeleteReference;
    // Bouquets of this image whose now/next events were asked for.
    QSet<int> m_bouquetsWithEpg;
    ReceiverReachability* m_reachability = nullptr;
    bool m_refillMovies = false;
    bool m_refillTimers = false;
};
