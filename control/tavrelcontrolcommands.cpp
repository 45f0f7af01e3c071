// The user's side of the controller: commands, list positions and the upkeep of the EPG.

#include "control/tavrelcontrol.h"

#include "box/tavrelrequest.h"
#include "box/wakeonlan.h"
#include "control/controltimer.h"
#include "control/messagebox.h"
#include "control/wakeupcall.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/servicereference.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"

namespace {

// Fewer events than this make a channel worth asking the receiver for its own EPG.
constexpr int wantedEventCount = 3;
// More channels than this needing EPG make a bouquet worth reloading.
constexpr int staleChannelLimit = 3;
// Two clicks on the channel list within this time zap.
constexpr int doubleClickMs = 250;

} // namespace

// --- Status and lists ----------------------------------------------------------------------------

void TavrelControl::requestStatus()
{
    if (!requestEngine)
        return;
    Q_EMIT networkTransmitIsActive(true);
    requestEngine->sendRequest(ReqStatus);
}

void TavrelControl::requestData()
{
    if (!requestEngine)
        return;
    Q_EMIT networkTransmitIsActive(true);
    requestEngine->sendRequest(ReqData);
}

void TavrelControl::requestTimerList()
{
    if (requestEngine)
        requestEngine->sendRequest(ReqTimerList);
}

void TavrelControl::requestAboutInfo()
{
    if (requestEngine)
        requestEngine->sendRequest(ReqAbout);
}

void TavrelControl::requestMovieList(bool force)
{
    if (requestEngine && (force || database->movies().isEmpty()))
        requestEngine->sendRequest(ReqMovieList);
}

// --- Panel commands ------------------------------------------------------------------------------

void TavrelControl::sendBoxCommand(BoxCommand cmd)
{
    if (!ensureCommandEngine())
        return;
    RequestType type = ReqNone;
    QString question;
    switch (cmd) {
    case BoxCommandShutdown:
        type = ReqShutdown;
        question = tr("Box shutdown?");
        break;
    case BoxCommandReboot:
        type = ReqReboot;
        question = tr("Box reboot?");
        break;
    case BoxCommandRestartEnigma:
        type = ReqRestartGui;
        question = tr("Enigma reload?");
        break;
    case BoxCommandWakeup:
        type = ReqWakeup;
        break;
    case BoxCommandStandby:
        type = ReqStandby;
        break;
    default:
        return;
    }
    if (!question.isEmpty() && !MessageBox::destructiveQuestion(this, QMessageBox::Warning, question))
        return;
    // The engine may have changed while the question was open.
    if (requestEngine)
        requestEngine->sendRequest(type);
}

void TavrelControl::sendStopCommand()
{
    if (!requestEngine)
        return;
    if (isEnigma1()) {
        if (database->statusData()->recording &&
            !MessageBox::destructiveQuestion(this, QMessageBox::Question, tr("Stop current recording?")))
            return;
        if (!requestEngine)
            return;
        Q_EMIT networkTransmitIsActive(true);
        requestEngine->sendRequest(ReqStop);
        return;
    }
    // The timer list tells whether a recording runs; its answer asks.
    recordStopCheckPending = true;
    requestEngine->sendRequest(ReqTimerList);
}

void TavrelControl::sendPlayerCommand(int command)
{
    if (!requestEngine)
        return;
    RequestType type = ReqNone;
    switch (command) {
    case 0:
        type = ReqForward;
        break;
    case 1:
        type = ReqRewind;
        break;
    case 2:
        type = ReqPlay;
        break;
    case 3:
        type = ReqPause;
        break;
    case 5:
        type = ReqRecord;
        break;
    case 6:
        type = ReqVolumeUp;
        break;
    case 7:
        type = ReqMute;
        break;
    case 8:
        type = ReqVolumeDown;
        break;
    case 9:
        type = ReqKeyOk;
        break;
    default:
        return;
    }
    requestEngine->sendRequest(type);
}

void TavrelControl::sendVolume(const QString& level)
{
    if (requestEngine)
        requestEngine->setVolume(level);
}

void TavrelControl::sendVideoPosition(int position)
{
    if (requestEngine)
        requestEngine->setVideoPosition(QString::number(position));
}

void TavrelControl::panelWidget_ClickedEvent()
{
    if (!initialized) {
        reloadServiceDataActionSlot();
        return;
    }
    Q_EMIT networkTransmitIsActive(true);
    if (!requestEngine)
        return;
    if (systemSettings.panelClickSendOk)
        requestEngine->sendRequest(ReqKeyOk);
    if (systemSettings.panelClickSendExit)
        requestEngine->sendRequest(ReqKeyExit);
    const BoxMode mode = database->statusData()->mode;
    if (mode == BoxModeTv || mode == BoxModeTimeshift)
        syncPending = true;
    Q_EMIT networkTransmitIsActive(true);
    requestEngine->sendRequest(ReqStatus);
}

void TavrelControl::reloadServiceDataActionSlot()
{
    if (MessageBox::question(this, QMessageBox::Question, tr("Retrieve new service data from the box?")))
        loadServiceData();
}

// --- Positions in the lists ----------------------------------------------------------------------

void TavrelControl::guiBouquetIndex_ChangedSlot(int index)
{
    guiBouquetIndex = index;
    Q_EMIT setEpgWidgetBouquetIndex(index);
    updateChannelItems();
    bouquetShown(index);
}

void TavrelControl::bouquetShown(int bouquet)
{
    if (!initialized || !database->hasBouquet(bouquet))
        return;
    if (isEnigma1()) {
        // The multi-EPG is asked for only when the shown events have run out.
        refreshBouquetEpgIfStale(bouquet);
        return;
    }
    if (!requestEngine)
        return;
    const bool asked = m_bouquetsWithEpg.contains(bouquet);
    m_bouquetsWithEpg.insert(bouquet);
    if (asked && systemSettings.epgLoadOnDemand)
        return;
    requestEngine->requestBouquetEpgNow(database->bouquet(bouquet)->reference);
}

void TavrelControl::guiChannelIndex_ChangedSlot(int index)
{
    guiChannelIndex = index;
    Q_EMIT broadcastChannelIndex(index);
    if (!isEnigma1() && initialized)
        requestSparseChannelEpg(guiBouquetIndex, index);
}

void TavrelControl::epgTabActivated()
{
    requestSparseChannelEpg(guiBouquetIndex, guiChannelIndex);
}

void TavrelControl::requestSparseChannelEpg(int bouquet, int channel)
{
    if (!requestEngine || !database->hasChannel(bouquet, channel))
        return;
    Channel* shown = database->channel(bouquet, channel);
    // A channel whose schedule the receiver sent already has its events.
    shown->dropEndedScheduleEvents(m_clock.now());
    if (shown->events().size() < wantedEventCount)
        requestEngine->requestServiceEpg(shown->serviceReference, database->bouquet(bouquet)->reference);
}

void TavrelControl::channelListWidget_ClickedSlot(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const int row = index.row();
    guiChannelIndex = row;
    if (systemSettings.chanlistClick) {
        zapChannel(guiBouquetIndex, row);
    } else if (systemSettings.chanlistDbClick) {
        if (!channelClickTimer) {
            runTimer(channelClickTimer, QStringLiteral("channelClickTimer"), false, doubleClickMs,
                     &TavrelControl::channelListClicked_TimeoutSlot);
        } else if (channelClickTimer->isActive()) {
            dropTimer(channelClickTimer);
            zapChannel(guiBouquetIndex, guiChannelIndex);
        }
    }
    Q_EMIT broadcastChannelIndex(guiChannelIndex);
}

void TavrelControl::channelListWidget_DoubleClickedSlot(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    if (!systemSettings.chanlistDbClick || systemSettings.chanlistClick) {
        channelListWidget_ClickedSlot(index);
        return;
    }
    // The desktop has decided that this was a double click, whatever the 250 ms say.
    dropTimer(channelClickTimer);
    zapToListChannel(index);
}

void TavrelControl::zapToListChannel(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    guiChannelIndex = index.row();
    zapChannel(guiBouquetIndex, guiChannelIndex);
    Q_EMIT broadcastChannelIndex(guiChannelIndex);
}

void TavrelControl::zapNeighbourChannel(int step)
{
    if (!database->hasChannel(guiBouquetIndex, guiChannelIndex))
        return;
    // Markers are skipped: there is nothing to watch on them.
    int row = guiChannelIndex + step;
    while (database->hasChannel(guiBouquetIndex, row) &&
           isMarkerReference(database->channel(guiBouquetIndex, row)->serviceReference))
        row += step;
    if (!database->hasChannel(guiBouquetIndex, row))
        return;
    guiChannelIndex = row;
    zapChannel(guiBouquetIndex, row);
    Q_EMIT broadcastChannelIndex(row);
}

void TavrelControl::sendExitKey()
{
    if (!requestEngine)
        return;
    Q_EMIT networkTransmitIsActive(true);
    requestEngine->sendRequest(ReqKeyExit);
}

void TavrelControl::channelListClicked_TimeoutSlot()
{
    // A single click: select the channel and bring its EPG up to date.
    dropTimer(channelClickTimer);
    guiChannelIndex_ChangedSlot(guiChannelIndex);
    updateCheckChannelItems();
}

void TavrelControl::zapChannel(int bouquet, int channel)
{
    // A zap would end the recording on receivers with one tuner.
    if (database->statusData()->recording)
        return;
    if (!requestEngine || !database->hasChannel(bouquet, channel))
        return;
    // A marker only heads a group of channels; the receiver cannot tune to it.
    if (isMarkerReference(database->channel(bouquet, channel)->serviceReference))
        return;
    guiBouquetIndex = bouquet;
    requestEngine->zapToServiceInBouquet(database->channel(bouquet, channel)->serviceReference,
                                         database->bouquet(bouquet)->reference);
}

// --- EPG upkeep ----------------------------------------------------------------------------------

void TavrelControl::updateChannelItems()
{
    // Out of range the bouquet has no channels to refresh.
    const QList<Channel*> channels = database->channels(guiBouquetIndex);
    for (Channel* channel : channels)
        channel->refreshEpg(m_clock);
    Q_EMIT EpgDataUpdate(database);
}

void TavrelControl::updateCheckChannelItems()
{
    bool needsEpg = false;
    const QList<Channel*> channels = database->channels(guiBouquetIndex);
    for (Channel* channel : channels) {
        channel->refreshEpg(m_clock);
        if (!needsEpg)
            needsEpg = channel->takeNeedsEpg();
    }
    Q_EMIT EpgDataUpdate(database);
    if (needsEpg)
        reloadBouquetEpg(guiBouquetIndex);
}

void TavrelControl::refreshBouquetEpgIfStale(int bouquet)
{
    const QList<Channel*> channels = database->channels(bouquet);
    int stale = 0;
    bool lastIsStale = false;
    for (Channel* channel : channels) {
        channel->refreshEpg(m_clock);
        if (channel->takeNeedsEpg()) {
            ++stale;
            lastIsStale = channel == channels.last();
        }
    }
    if (stale > staleChannelLimit && lastIsStale)
        reloadBouquetEpg(bouquet);
}

void TavrelControl::reloadBouquetEpg(int bouquet)
{
    if (!requestEngine || !database->hasBouquet(bouquet))
        return;
    requestEngine->requestBouquetEpg(database->bouquet(bouquet)->reference);
    Q_EMIT networkTransmitIsActive(true);
}

void TavrelControl::reloadEpgActionSlot()
{
    if (!database->hasBouquet(guiBouquetIndex))
        return;
    const QList<Channel*> channels = database->channels(guiBouquetIndex);
    for (Channel* channel : channels)
        channel->clearEpg();
    updateChannelItems();
    if (!requestEngine)
        return;
    const QString bouquetReference = database->bouquet(guiBouquetIndex)->reference;
    if (isEnigma1()) {
        requestEngine->requestBouquetEpg(bouquetReference);
        return;
    }
    requestEngine->requestBouquetEpgNow(bouquetReference);
    if (database->hasChannel(guiBouquetIndex, guiChannelIndex))
        requestEngine->requestServiceEpg(
            database->channel(guiBouquetIndex, guiChannelIndex)->serviceReference, bouquetReference);
}

void TavrelControl::searchEpgE2(const QString& text)
{
    if (requestEngine)
        requestEngine->searchEpg(text);
}

void TavrelControl::requestSimilarEpg(const EpgItem* event)
{
    if (event && requestEngine)
        requestEngine->requestSimilarEpg(event->serviceReference, event->eventId);
}

// --- Movies --------------------------------------------------------------------------------------

void TavrelControl::playMovieAt(int index)
{
    const MovieEntry* movie = database->movieAt(index);
    if (!movie || !requestEngine)
        return;
    movieIndex = index;
    requestEngine->playMovie(movie->serviceReference);
}

void TavrelControl::deleteMovieAt(int index)
{
    const MovieEntry* movie = database->movieAt(index);
    if (!movie || !requestEngine)
        return;
    movieIndex = index;
    m_movieDeleteReference = movie->serviceReference;
    requestEngine->deleteMovie(movie->serviceReference);
}

void TavrelControl::renameMovieAt(int index, const QString& title)
{
    const MovieEntry* movie = database->movieAt(index);
    if (movie && requestEngine)
        requestEngine->renameMovie(movie->serviceReference, title);
}

// --- Timers --------------------------------------------------------------------------------------

void TavrelControl::addTimerForEvent(EpgItem* event, bool justPlay)
{
    if (event && requestEngine)
        requestEngine->addTimerForEvent(event, justPlay);
}

void TavrelControl::addTimer(int bouquet, int channel, int eventIndex)
{
    // The index counts the events the EPG page lists: the channel's schedule where it has one.
    if (!requestEngine || !database->hasEvent(bouquet, channel, eventIndex))
        return;
    const Channel* target = database->channel(bouquet, channel);
    requestEngine->addTimer(target->serviceReference, target->name,
                            database->event(bouquet, channel, eventIndex));
}

void TavrelControl::cleanupTimerList()
{
    if (!requestEngine)
        return;
    database->clearTimers();
    requestEngine->sendRequest(ReqTimerCleanup);
}

void TavrelControl::deleteTimerAt(int index)
{
    const TimerEntry* timer = database->timerAt(index);
    if (!timer || !requestEngine)
        return;
    // That very timer goes from the image, not the first one of its service.
    const TimerEntry deleted = *timer;
    requestEngine->deleteTimer(&deleted);
    database->removeTimer(deleted.serviceReference, deleted.begin, deleted.end);
}

// --- Satellite finder ----------------------------------------------------------------------------

void TavrelControl::zapForSatfinder(int bouquet, int channel)
{
    if (requestEngine && database->hasChannel(bouquet, channel))
        requestEngine->zapToService(database->channel(bouquet, channel)->serviceReference);
}

void TavrelControl::initSatfinder()
{
    if (!requestEngine)
        activeProfile = settings->getActiveProfile();
    if (isEnigma1()) {
        if (!requestEngine)
            createCommandEngineE1();
        Q_EMIT networkTransmitIsActive(true);
        satfinderConfigReceived = false;
        requestEngine->requestSatfinderConfig();
        return;
    }
    if (requestEngine)
        Q_EMIT satFinderConfigUpdate(database);
}

void TavrelControl::requestSatfinderMeasurement(int satellite, int transponder)
{
    if (!requestEngine)
        activeProfile = settings->getActiveProfile();
    if (!isEnigma1()) {
        if (requestEngine)
            requestEngine->sendRequest(ReqSignal);
        return;
    }
    if (!requestEngine)
        createCommandEngineE1();
    const SatfinderConfig* config = database->satfinderConfig();
    if (!config || satellite < 0 || satellite >= config->satellites.size())
        return;
    const QStringList transponders = config->channelRefs.value(satellite);
    if (transponder < 0 || transponder >= transponders.size())
        return;
    requestEngine->requestSatfinderData(transponders.at(transponder));
}

// --- Messages ------------------------------------------------------------------------------------

void TavrelControl::sendTvMessageE1(const QString& caption, const QString& body, bool flag, int timeout)
{
    if (!requestEngine)
        createCommandEngineE1();
    requestEngine->sendMessageE1(caption, body, flag, timeout);
}

void TavrelControl::sendTvMessageE2(const QString& text, bool question, int timeout)
{
    if (!requestEngine)
        createCommandEngineE2();
    requestEngine->sendMessageE2(text, question, timeout);
}

void TavrelControl::requestMessageAnswer()
{
    if (!requestEngine)
        createCommandEngineE2();
    requestEngine->sendRequest(ReqMessageAnswer);
}

// --- Wake-on-LAN ---------------------------------------------------------------------------------

void TavrelControl::wakeUpReceiver()
{
    // The store, not the copy: the MAC address may have been entered in the editor meanwhile.
    const Profile profile = settings->getActiveProfile();
    if (profile.profileName == noActiveProfileName) {
        MessageBox::notice(this, QMessageBox::Warning, tr("No Active Profile found!"));
        Q_EMIT activeProfileNeeded();
        return;
    }
    const QString problem = WakeOnLan::send(profile.lanMac, profile.wakeAddress, profile.wlanAddr);
    if (!problem.isEmpty()) {
        MessageBox::notice(this, QMessageBox::Warning, problem);
        return;
    }
    if (initialized && requestEngine) {
        // Still answering, only asleep: the packet does not wake that, its own command does.
        sendBoxCommand(BoxCommandWakeup);
        return;
    }
    m_wakeUpCall->start();
}

void TavrelControl::rememberReceiverMac(const QString& mac)
{
    const QString normalised = WakeOnLan::normalisedMac(mac);
    if (normalised.isEmpty())
        return;
    Profile profile = settings->getActiveProfile();
    if (profile.profileName != activeProfile.profileName || profile.lanMac == normalised)
        return;
    profile.lanMac = normalised;
    settings->saveProfile(profile);
}
