#include "control/tavrelcontrol.h"

#include "box/requestse1.h"
#include "box/requestse2.h"
#include "control/controltimer.h"
#include "control/messagebox.h"
#include "control/receiverreachability.h"
#include "control/wakeupcall.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"

#include <algorithm>

TavrelControl::TavrelControl(QWidget* parent)
    : TavrelControl(Clock::system(), TimerSource::system(), parent)
{}

TavrelControl::TavrelControl(const Clock& clock, TimerSource& timerSource, QWidget* parent)
    : QWidget(parent)
    , settings(new Settings(this))
    , m_clock(clock)
    , m_timerSource(timerSource)
{
    connect(this, &TavrelControl::activeProfileChanged, this, &TavrelControl::activeProfileUpdateSlot);
    m_reachability = new ReceiverReachability(m_timerSource, this);
    connect(m_reachability, &ReceiverReachability::reachabilityChanged, this,
            &TavrelControl::reachabilityChangedSlot);
    connect(m_reachability, &ReceiverReachability::retryDue, this, &TavrelControl::retryUnreachableReceiver);
    // Every answer the controller takes in ends with this.
    connect(this, &TavrelControl::networkReceiveIsActive, m_reachability, [this](bool active) {
        if (!active)
            m_reachability->noteAnswer();
    });
    // Nothing is initialized yet, so this starts no timer.
    setNewSystemSettings(settings->getSystemSettings());
    database = new TavrelDatabase(m_clock, this);

    m_wakeUpCall = new WakeUpCall(m_timerSource, this);
    connect(m_wakeUpCall, &WakeUpCall::attempt, this, &TavrelControl::loadServiceData);
    connect(this, &TavrelControl::broadcastInitializedSignal, m_wakeUpCall, [this](bool initialized) {
        if (initialized)
            m_wakeUpCall->connected();
    });
    // It gives up within an engine's failure signal; the box waits for the event loop.
    connect(m_wakeUpCall, &WakeUpCall::gaveUp, this, [this] {
        askLater([this] {
            MessageBox::notice(this, QMessageBox::Warning,
                               tr("The receiver did not answer after the wake-up call.\n"
                                  "Check that Wake-on-LAN is switched on in its network settings."));
        });
    });
}

TavrelControl::~TavrelControl()
{
    // The engine goes first, while the image it writes into still exists.
    requestEngine.reset();
}

// --- Engines -------------------------------------------------------------------------------------

void TavrelControl::connectCommonRoutes(TavrelRequest* engine)
{
    connect(this, &TavrelControl::activeProfileChanged, engine, &TavrelRequest::constructRequestUrls);
    connect(engine, &TavrelRequest::networkRequestIsActive, this, &TavrelControl::networkRquestIsActive);
    connect(engine, &TavrelRequest::networkReceiveIsActive, this, &TavrelControl::networkReceiveIsActive);
    connect(engine, &TavrelRequest::networkTransmitIsActive, this, &TavrelControl::networkTransmitIsActive);
    connect(engine, qOverload<bool>(&TavrelRequest::networkErrorOccurred), this,
            qOverload<bool>(&TavrelControl::networkErrorSlot));
    connect(engine, qOverload<QNetworkReply::NetworkError>(&TavrelRequest::networkErrorOccurred), this,
            qOverload<QNetworkReply::NetworkError>(&TavrelControl::networkErrorSlot));
    connect(engine, &TavrelRequest::requestFailed, this, [this](RequestType type) {
        if (type == ReqTimerList)
            Q_EMIT timerListRequestFailed();
    });
    connect(engine, &TavrelRequest::replyUnreadable, this, [this](RequestType type) {
        if (type == ReqTimerList)
            Q_EMIT timerListRequestFailed();
    });
    connect(engine, &TavrelRequest::requestFailed, this, &TavrelControl::requestFailedSlot);
    connectRemoteRoutes(engine);
    connectStreamRoutes(engine);
    // What the receiver says of a command it did not carry out goes to the status line.
    connect(engine, &TavrelRequest::commandRefused, this, [this](RequestType, const QString& reason) {
        Q_EMIT statusMessage(reason.isEmpty() ? tr("The receiver refused the command.")
                                              : tr("The receiver refused the command: %1").arg(reason));
    });
    connect(engine, &TavrelRequest::sessionRefused, this, [this](const QString& reason) {
        Q_EMIT statusMessage(
            reason.isEmpty()
                ? tr("The receiver asks for a session id with every request but accepted none.")
                : tr("The receiver asks for a session id with every request but accepted none: %1")
                      .arg(reason));
    });
    connect(engine, &TavrelRequest::replyUnreadable, this, [this](RequestType type) {
        if (TavrelRequest::isCommand(type))
            Q_EMIT statusMessage(tr("The receiver's answer to the command could not be read; "
                                    "it may not have been carried out."));
    });
}

void TavrelControl::retireEngine()
{
    if (!requestEngine)
        return;
    TavrelRequest* engine = requestEngine.release();
    disconnect(engine, nullptr, this, nullptr);
    disconnect(this, nullptr, engine, nullptr);
    engine->abandon();
    engine->setParent(this);
    engine->deleteLater();
    // A stream waiting for this engine's zap would start at a later one of another.
    m_streamAfterZap.clear();
    m_streamAfterZapName.clear();
}

RequestsE1* TavrelControl::createCommandEngineE1()
{
    retireEngine();
    auto engine = std::make_unique<RequestsE1>(database);
    RequestsE1* e1 = engine.get();
    requestEngine = std::move(engine);
    connectCommonRoutes(e1);
    connect(e1, &RequestsE1::finishedMessageSendRequest, this, &TavrelControl::sendMessageRequestResponse);
    connect(e1, &RequestsE1::finishedSatfinderDataRequest, this,
            qOverload<SatfinderData*>(&TavrelControl::satFinderDataUpdate));
    connect(e1, &RequestsE1::finishedSatfinderConfigRequest, this,
            &TavrelControl::satfinderConfigRequestResponse);
    return e1;
}

RequestsE2* TavrelControl::createCommandEngineE2()
{
    retireEngine();
    auto engine = std::make_unique<RequestsE2>(database);
    RequestsE2* e2 = engine.get();
    requestEngine = std::move(engine);
    connectCommonRoutes(e2);
    connect(e2, &RequestsE2::finishedMessageSendRequest, this, &TavrelControl::sendMessageRequestResponse);
    connect(e2, &RequestsE2::finishedMessageAnswerRequest, this, &TavrelControl::e2MessageAnswerResponse);
    connectPictureRoutes(e2);
    return e2;
}

void TavrelControl::createDataEngineE1()
{
    RequestsE1* e1 = createCommandEngineE1();
    connect(e1, &RequestsE1::finishedAboutRequest, this, &TavrelControl::aboutRequestResponse);
    connect(e1, &RequestsE1::finishedStatusRequest, this, &TavrelControl::statusRequestResponse);
    connect(e1, &RequestsE1::finishedDataRequest, this, &TavrelControl::dataRequestResponse);
    connect(e1, &RequestsE1::finishedServiceDataRequest, this, &TavrelControl::serviceDataRequestResponse);
    connect(e1, &RequestsE1::finishedEpgDataRequest, this, &TavrelControl::epgDataRequestResponse);
    connect(e1, &RequestsE1::finishedMultiEpgDataRequest, this, &TavrelControl::multiEpgDataRequestResponse);
    connect(e1, &RequestsE1::finishedMovieListRequest, this, &TavrelControl::movieListRequestResponse);
    connect(e1, &RequestsE1::finishedTimerListRequest, this, &TavrelControl::timerListRequestResponse);
    connect(e1, &RequestsE1::finishedTimerEventAddRequest, this,
            &TavrelControl::timerEventAddRequestResponse);
    connect(e1, &RequestsE1::finishedTimerEventDelRequest, this,
            &TavrelControl::timerEventDelRequestResponse);
    e1->sendRequest(ReqStatus);
    e1->sendRequest(ReqServices);
}

void TavrelControl::createDataEngineE2()
{
    RequestsE2* e2 = createCommandEngineE2();
    connect(e2, &RequestsE2::finishedAboutRequest, this, &TavrelControl::e2AboutRequestResponse);
    connect(e2, &RequestsE2::finishedPowerstateRequest, this, &TavrelControl::e2PowerStateResponse);
    connect(e2, &RequestsE2::finishedSignalRequest, this, &TavrelControl::e2SignalResponse);
    connect(e2, &RequestsE2::finishedCurrentServiceRequest, this, &TavrelControl::e2CurrentServiceResponse);
    connect(e2, &RequestsE2::finishedServiceDataRequest, this, &TavrelControl::e2ServiceDataResponse);
    connect(e2, &RequestsE2::finishedEpgDataRequest, this, &TavrelControl::e2EpgDataResponse);
    connect(e2, &RequestsE2::finishedEpgSimilarRequest, this, &TavrelControl::e2EpgSimilarRequestResponse);
    connect(e2, &RequestsE2::finishedSearchRequest, this, &TavrelControl::e2SearchRequestResponse);
    connect(e2, &RequestsE2::finishedTimerListRequest, this, &TavrelControl::e2TimerListRequestResponse);
    connect(e2, &RequestsE2::finishedTimerEventAddRequest, this,
            &TavrelControl::e2TimerEventAddRequestResponse);
    connect(e2, &RequestsE2::finishedTimerEventDelRequest, this,
            &TavrelControl::e2TimerEventDelRequestResponse);
    connect(e2, &RequestsE2::finishedMovieListRequest, this, &TavrelControl::e2MovieListRequestResponse);
    connect(e2, &RequestsE2::finishedMovieDelRequest, this, &TavrelControl::e2MovieDelRequestResponse);
    connect(e2, &RequestsE2::finishedVolumeRequest, this, &TavrelControl::e2VolumeRequestResponse);
    connect(e2, &RequestsE2::finishedSignalRequest, this,
            qOverload<const SignalInfo*>(&TavrelControl::satFinderDataUpdate));
    const auto searchFailed = [this](RequestType type) {
        if (type == ReqEpgSearch || type == ReqEpgSimilar)
            Q_EMIT enigma2SearchFailed();
    };
    connect(e2, &TavrelRequest::requestFailed, this,
            [searchFailed](RequestType type, QNetworkReply::NetworkError, int) { searchFailed(type); });
    connect(e2, &TavrelRequest::replyUnreadable, this, searchFailed);
    e2->sendRequest(ReqServices);
}

bool TavrelControl::ensureCommandEngine()
{
    if (requestEngine)
        return true;
    // Before the first load the profile is only known to the store.
    activeProfile = settings->getActiveProfile();
    if (activeProfile.profileName == noActiveProfileName)
        return false;
    if (activeProfile.webIfType == 0)
        createCommandEngineE1();
    else if (activeProfile.webIfType == 1)
        createCommandEngineE2();
    return requestEngine != nullptr;
}

// --- Loading, reset and settings -----------------------------------------------------------------

void TavrelControl::loadServiceData()
{
    resetTavrelControl();
    activeProfile = settings->getActiveProfile();
    if (activeProfile.profileName == noActiveProfileName) {
        MessageBox::notice(this, QMessageBox::Warning, tr("No Active Profile found!"));
        Q_EMIT activeProfileNeeded();
        return;
    }
    // The reset has just made a fresh, empty image for the new engine.
    if (activeProfile.webIfType == 0)
        createDataEngineE1();
    else if (activeProfile.webIfType == 1)
        createDataEngineE2();
}

void TavrelControl::resetTavrelControl()
{
    retireEngine();
    // Pages are told below to drop their pointers; the image goes once the event loop is back.
    database->deleteLater();
    database = new TavrelDatabase(m_clock, this);
    ++m_generation;
    initialized = false;
    satfinderConfigReceived = false;
    boxBouquetIndex = 0;
    boxChannelIndex = 0;
    guiBouquetIndex = 0;
    guiChannelIndex = 0;
    movieIndex = 0;
    m_movieDeleteReference.clear();
    syncPending = false;
    boxBouquetChanged = false;
    boxChannelChanged = false;
    boxServiceFound = false;
    recordStopCheckPending = false;
    m_boxServiceUnknownAtStart = false;
    m_bouquetsWithEpg.clear();
    lastBoxMode = noBoxModeYet;
    Q_EMIT resetServiceDataLists();
    Q_EMIT panelClearAllData();
    Q_EMIT panelClearEpgData();
}

void TavrelControl::activeProfileUpdateSlot(Profile profile)
{
    // Without an active profile (the active one was deleted) there is no receiver to ask.
    // Before any engine exists there is nothing to drop, and the panel keeps its invitation.
    const bool otherReceiver =
        profile.webIfType != activeProfile.webIfType || profile.profileName == noActiveProfileName;
    if (otherReceiver && requestEngine)
        resetTavrelControl();
    activeProfile = profile;
}

void TavrelControl::setNewSystemSettings(SystemSet set)
{
    systemSettings = set;
    panelTimersAllowed = set.isLiveMode;
    m_reachability->setRetrying(set.isLiveMode);
    if (!initialized)
        return;
    startStopOneSecPanelRefreshTimer(isPlaybackMode() && set.isLiveMode);
    startStopTenSecPanelRefreshTimer(set.isLiveMode && isBoxAwake() && !panelOneSecTimer);
}

bool TavrelControl::isPlaybackMode() const
{
    const BoxMode mode = database->statusData()->mode;
    return mode == BoxModeMovie || mode == BoxModeTimeshift;
}

// --- Positions -----------------------------------------------------------------------------------

bool TavrelControl::locateBoxService()
{
    boxBouquetChanged = false;
    boxChannelChanged = false;
    boxServiceFound = false;
    const QString& reference = database->statusData()->serviceReference;
    // Before the receiver named its service there is nothing to find (markers may be empty).
    if (reference.isEmpty())
        return false;
    const std::optional<std::pair<int, int>> found = database->findService(reference);
    if (!found)
        return false;
    const auto [b, c] = *found;
    boxBouquetChanged = b != boxBouquetIndex;
    boxChannelChanged = c != boxChannelIndex;
    boxBouquetIndex = b;
    boxChannelIndex = c;
    boxServiceFound = true;
    return true;
}

void TavrelControl::broadcastBoxPosition()
{
    Q_EMIT broadcastBouquetIndex(boxBouquetIndex);
    Q_EMIT broadcastChannelIndex(boxChannelIndex);
}

void TavrelControl::updatePanelForMode(BoxMode mode)
{
    StatusData* status = database->statusData();
    const bool changed = lastBoxMode != status->mode;
    const auto noteChange = [&] {
        lastBoxMode = status->mode;
        Q_EMIT panelBoxModeUpdate(mode);
    };
    switch (mode) {
    case BoxModeTv:
        if (changed) {
            noteChange();
            if (locateBoxService())
                currentServiceBlock(&TavrelControl::panelTVModeUpdate);
        }
        if (locateBoxService())
            currentServiceBlock(&TavrelControl::panelTVModeUpdate);
        break;
    case BoxModeTimeshift:
        if (changed) {
            noteChange();
            if (locateBoxService())
                currentServiceBlock(&TavrelControl::panelTimeshiftModeUpdate);
        } else if (boxServiceFound) {
            currentServiceBlock(&TavrelControl::panelTimeshiftModeUpdate);
        }
        break;
    case BoxModeMovie:
        if (changed)
            noteChange();
        Q_EMIT panelMovieModeUpdate(status);
        break;
    case BoxModeStandby:
        if (changed)
            noteChange();
        break;
    default:
        break;
    }
}

void TavrelControl::currentServiceBlock(void (TavrelControl::*panelSignal)(StatusData*))
{
    Q_EMIT(this->*panelSignal)(database->statusData());
    if (database->hasEpg(boxBouquetIndex, boxChannelIndex))
        Q_EMIT panelEpgDataUpdate(database->epgList(boxBouquetIndex, boxChannelIndex));
    else
        Q_EMIT panelClearEpgData();
}

// --- Questions and notices about answers ---------------------------------------------------------

void TavrelControl::askLater(std::function<void()> ask)
{
    QMetaObject::invokeMethod(this, std::move(ask), Qt::QueuedConnection);
}

void TavrelControl::confirmConnectionRetry()
{
    const bool retry = MessageBox::question(this, QMessageBox::Warning, tr("Connection error!\nTry again?"));
    m_connectionErrorBoxPending = false;
    if (retry)
        loadServiceData();
}

void TavrelControl::confirmStopRecording(const TimerEntry& timer)
{
    const quint64 generation = m_generation;
    if (!MessageBox::destructiveQuestion(this, QMessageBox::Question, tr("Stop current recording?")))
        return;
    // The receiver may have been reloaded while the question was open.
    if (generation != m_generation || !requestEngine)
        return;
    Q_EMIT networkTransmitIsActive(true);
    requestEngine->deleteTimer(&timer);
    database->removeTimer(timer.serviceReference, timer.begin, timer.end);
    Q_EMIT timerListDataUpdate(database);
}

void TavrelControl::showTimerNotice(const QString& text)
{
    askLater([this, text] { MessageBox::notice(this, QMessageBox::Warning, text); });
}

// --- Answers of both engines ---------------------------------------------------------------------

void TavrelControl::networkErrorSlot(bool occurred)
{
    Q_EMIT loadLabelStop();
    Q_EMIT networkErrorOccurred(occurred);
    if (occurred)
        m_wakeUpCall->attemptFailed();
}

void TavrelControl::networkErrorSlot(QNetworkReply::NetworkError error)
{
    // Only a request that timed out asks; one such question at a time, however many requests of
    // a receiver that has gone away time out while it is open, and only when the receiver was
    // still reachable: an outage asks once. While a waking receiver boots, failures are
    // expected; the wake-up call tries again.
    if (error != QNetworkReply::OperationCanceledError || m_connectionErrorBoxPending ||
        !m_reachability->isReachable() || m_wakeUpCall->isActive())
        return;
    m_connectionErrorBoxPending = true;
    askLater([this, generation = m_generation] {
        if (generation != m_generation) {
            m_connectionErrorBoxPending = false; // that engine is gone; its time-out says nothing
            return;
        }
        confirmConnectionRetry();
    });
}

void TavrelControl::requestFailedSlot(RequestType type, QNetworkReply::NetworkError error, int httpStatus)
{
    m_reachability->noteFailure(error, httpStatus);
    if (m_reachability->isReachable())
        return;
    // What the outage left empty is asked for again when the receiver is back.
    if (type == ReqMovieList)
        m_refillMovies = true;
    else if (type == ReqTimerList)
        m_refillTimers = true;
}

bool TavrelControl::isReceiverReachable() const
{
    return m_reachability->isReachable();
}

QString TavrelControl::receiverAddressText() const
{
    return activeProfile.wlanAddr + QLatin1Char(':') + activeProfile.wlanPort;
}

void TavrelControl::reachabilityChangedSlot(bool reachable)
{
    if (!reachable) {
        Q_EMIT receiverReachabilityChanged(
            false, tr("Cannot reach %1 at %2: %3")
                       .arg(activeProfile.profileName, receiverAddressText(), m_reachability->reason()));
        return;
    }
    Q_EMIT receiverReachabilityChanged(
        true, tr("%1 at %2 answers again").arg(activeProfile.profileName, receiverAddressText()));
    if (!initialized)
        return; // a load under way completes itself
    if (std::exchange(m_refillMovies, false))
        requestMovieList(true);
    if (std::exchange(m_refillTimers, false))
        requestTimerList();
}

void TavrelControl::retryUnreachableReceiver()
{
    if (initialized)
        requestStatus();
    else if (requestEngine)
        loadServiceData(); // the load failed: start it again
}

void TavrelControl::sendMessageRequestResponse(bool confirmed)
{
    if (confirmed)
        Q_EMIT messageSendResponseOK();
    else
        Q_EMIT messageSendFailed();
}

// --- Answers of the Enigma2 engine ---------------------------------------------------------------

void TavrelControl::e2AboutRequestResponse()
{
    if (!initialized) {
        globalStartStopUpdateTimers(BoxModeTv);
        locateBoxService();
        Q_EMIT broadcastInitializedSignal(true);
        Q_EMIT broadcastBouquetIndex(boxServiceFound ? boxBouquetIndex : 0);
        Q_EMIT broadcastChannelIndex(boxServiceFound ? boxChannelIndex : 0);
        guiBouquetIndex = boxBouquetIndex;
        guiChannelIndex = boxChannelIndex;
        if (database->bouquetHasChannels(boxBouquetIndex)) {
            m_bouquetsWithEpg.insert(boxBouquetIndex);
            requestEngine->requestBouquetEpgNow(database->bouquet(boxBouquetIndex)->reference);
        }
        if (database->hasChannel(boxBouquetIndex, boxChannelIndex))
            requestEngine->requestServiceEpg(
                database->channel(boxBouquetIndex, boxChannelIndex)->serviceReference,
                database->bouquet(boxBouquetIndex)->reference);
        initialized = true;
    }
    rememberReceiverMac(database->aboutInfo()->lanMac);
    Q_EMIT aboutInfoReceived(static_cast<const AboutInfo*>(database->aboutInfo()));
    Q_EMIT dataInfoReceived(database->receivedDataText());
    Q_EMIT networkReceiveIsActive(false);
}

void TavrelControl::e2PowerStateResponse(bool isStandby)
{
    if (isStandby != database->statusData()->standby) {
        if (initialized)
            broadcastBoxPosition();
        globalStartStopUpdateTimers(isStandby ? BoxModeStandby : BoxModeTv);
        if (isStandby)
            requestEngine->sendRequest(ReqAbout);
    }
    Q_EMIT panelPowerstateUpdateE2(isStandby);
    if (isStandby)
        Q_EMIT loadLabelStop();
}

void TavrelControl::e2SignalResponse(const SignalInfo* info)
{
    Q_EMIT signalInfoReceived(info);
}

void TavrelControl::e2CurrentServiceResponse()
{
    const QList<EpgItem*> events = database->currentServiceEpg();
    if (!events.isEmpty())
        Q_EMIT panelEpgDataUpdate(events);
    else
        Q_EMIT panelClearEpgData();
    Q_EMIT panelChannelUpdateE2(database->statusData());
    locateBoxService();
    if (syncPending) {
        broadcastBoxPosition();
        guiBouquetIndex = boxBouquetIndex;
        guiChannelIndex = boxChannelIndex;
        if (boxChannelChanged && !boxBouquetChanged)
            guiChannelIndex_ChangedSlot(boxChannelIndex);
        syncPending = false;
    }
    Q_EMIT networkReceiveIsActive(false);
}

void TavrelControl::e2ServiceDataResponse()
{
    Q_EMIT ServiceDataUpdate(database);
}

void TavrelControl::e2EpgDataResponse()
{
    locateBoxService();
    updateChannelItems();
    Q_EMIT EpgDataUpdate();
    Q_EMIT networkReceiveIsActive(false);
}

void TavrelControl::e2EpgSimilarRequestResponse()
{
    Q_EMIT enigma2SimilarResults(database->similarResults());
}

void TavrelControl::e2SearchRequestResponse()
{
    Q_EMIT enigma2SearchResults(database->searchResults());
}

void TavrelControl::e2TimerListRequestResponse()
{
    const qint64 now = m_clock.now();
    const QList<TimerEntry*> timers = database->timers();
    const auto running = [now](const TimerEntry* timer) {
        return qint64(timer->begin) < now && qint64(timer->end) > now &&
               timer->justPlay == QLatin1String("0") && timer->state == QLatin1String("2");
    };
    if (recordStopCheckPending) {
        recordStopCheckPending = false;
        for (const TimerEntry* timer : timers) {
            if (!running(timer))
                continue;
            askLater([this, timer = *timer] { confirmStopRecording(timer); });
            break;
        }
    }
    // The Enigma2 status says nothing of recordings; the timer list does. A recording started
    // this very second counts.
    const auto recordsNow = [now](const TimerEntry* timer) {
        return qint64(timer->begin) <= now && qint64(timer->end) > now &&
               timer->justPlay == QLatin1String("0") && timer->state == QLatin1String("2");
    };
    Q_EMIT panelRecordingUpdateE2(std::any_of(timers.cbegin(), timers.cend(), recordsNow));
    Q_EMIT timerListDataUpdate(database);
}

void TavrelControl::e2TimerEventAddRequestResponse(bool eventSet)
{
    showTimerNotice(eventSet ? tr("Event Timer successfully created!")
                             : tr("Timer event could not be created!"));
}

void TavrelControl::e2TimerEventDelRequestResponse(bool eventDeleted)
{
    showTimerNotice(eventDeleted ? tr("Timer Event was deleted!") : tr("Timer event could not be deleted!"));
}

void TavrelControl::e2MovieListRequestResponse()
{
    Q_EMIT MovieListUpdate(database);
}

void TavrelControl::e2MovieDelRequestResponse(bool deleted)
{
    if (!deleted || m_movieDeleteReference.isEmpty())
        return;
    // The list may have been reloaded since the question: the recording asked for goes, wherever
    // it stands now.
    const QList<MovieEntry*> movies = database->movies();
    for (int i = 0; i < movies.size(); ++i) {
        if (movies.at(i)->serviceReference != m_movieDeleteReference)
            continue;
        m_movieDeleteReference.clear();
        movieIndex = i;
        database->removeMovieAt(i);
        Q_EMIT MovieDeleted(movieIndex);
        return;
    }
}

void TavrelControl::e2VolumeRequestResponse(bool isMute, int level)
{
    database->setVolume(isMute, level);
    Q_EMIT panelVolumeUpdateE2(database->statusData());
}

void TavrelControl::e2MessageAnswerResponse(MessageAnswer answer)
{
    Q_EMIT messageAnswerIs(answer);
}

// --- Answers of the Enigma1 engine ---------------------------------------------------------------

void TavrelControl::aboutRequestResponse(AboutInfoE1* info)
{
    Q_EMIT aboutInfoReceived(static_cast<const AboutInfoE1*>(info));
    Q_EMIT deviceInfoReceived(database->deviceData());
    Q_EMIT dataInfoReceived(database->receivedDataText());
}

void TavrelControl::statusRequestResponse()
{
    // Twice, as the timer page has always been told.
    Q_EMIT timerListStatusUpdate(database);
    Q_EMIT timerListStatusUpdate(database);
    if (m_boxServiceUnknownAtStart) {
        // The receiver's login kept the status behind the bouquets: show its service now.
        m_boxServiceUnknownAtStart = false;
        if (locateBoxService()) {
            broadcastBoxPosition();
            guiBouquetIndex = boxBouquetIndex;
        }
    }
    Q_EMIT networkReceiveIsActive(false);
}

void TavrelControl::dataRequestResponse()
{
    const BoxMode mode = database->statusData()->mode;
    updatePanelForMode(mode);
    globalStartStopUpdateTimers(mode);
    Q_EMIT networkReceiveIsActive(false);
}

void TavrelControl::serviceDataRequestResponse()
{
    Q_EMIT ServiceDataUpdate(database);
    locateBoxService();
    m_boxServiceUnknownAtStart = database->statusInfoE1() == nullptr;
    initialized = true;
    Q_EMIT broadcastInitializedSignal(true);
    broadcastBoxPosition();
    const BoxMode mode = database->statusData()->mode;
    updatePanelForMode(mode);
    globalStartStopUpdateTimers(mode);
    guiBouquetIndex = boxBouquetIndex;
    // For any other bouquet the lists' change of bouquet, caused by the broadcast, does this.
    if (guiBouquetIndex == 0)
        refreshBouquetEpgIfStale(0);
    Q_EMIT networkReceiveIsActive(false);
}

void TavrelControl::epgDataRequestResponse()
{
    updateChannelItems();
    refreshBouquetEpgIfStale(boxBouquetIndex);
    if (database->hasEpg(boxBouquetIndex, boxChannelIndex))
        Q_EMIT panelEpgDataUpdate(database->epgList(boxBouquetIndex, boxChannelIndex));
    Q_EMIT EpgDataUpdate();
    Q_EMIT networkReceiveIsActive(false);
}

void TavrelControl::multiEpgDataRequestResponse()
{
    updateChannelItems();
    if (const StatusInfoE1* status = database->statusInfoE1()) {
        const BoxMode mode = BoxMode(status->mode);
        updatePanelForMode(mode);
        globalStartStopUpdateTimers(mode);
    }
    Q_EMIT EpgDataUpdate();
    Q_EMIT networkReceiveIsActive(false);
}

void TavrelControl::movieListRequestResponse()
{
    Q_EMIT MovieListUpdate(database);
}

void TavrelControl::timerListRequestResponse()
{
    Q_EMIT timerListDataUpdate(database);
}

void TavrelControl::timerEventAddRequestResponse(bool eventSet)
{
    e2TimerEventAddRequestResponse(eventSet);
}

void TavrelControl::timerEventDelRequestResponse(bool eventDeleted)
{
    e2TimerEventDelRequestResponse(eventDeleted);
}

void TavrelControl::satfinderConfigRequestResponse(SatfinderConfig* config)
{
    // The engine has stored it in the image already.
    satfinderConfigReceived = true;
    Q_EMIT satFinderConfigUpdate(config);
}
