#include "box/requestse2.h"

#include "box/e2readers.h"
#include "model/bouquet.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"

#include <QTimer>

RequestsE2::RequestsE2(TavrelDatabase* database, QObject* parent)
    : TavrelRequest(database, parent)
{
    initializeFromSettings();
    defineRoutes();
}

RequestsE2::~RequestsE2() = default;

void RequestsE2::constructFixedUrls()
{
    storeRequestUrl(ReqForward, QStringLiteral("/web/remotecontrol?command=401"));
    storeRequestUrl(ReqRewind, QStringLiteral("/web/remotecontrol?command=398"));
    storeRequestUrl(ReqPlay, QStringLiteral("/web/remotecontrol?command=399"));
    storeRequestUrl(ReqRecord, QStringLiteral("/web/recordnow?recordnow=true"));
    storeRequestUrl(ReqPause, QStringLiteral("/web/remotecontrol?command=400"));
    storeRequestUrl(ReqKeyOk, QStringLiteral("/web/remotecontrol?command=352"));
    storeRequestUrl(ReqKeyExit, QStringLiteral("/web/remotecontrol?command=174"));
    storeRequestUrl(ReqMute, QStringLiteral("/web/vol?set=mute"));
    storeRequestUrl(ReqVolume, QStringLiteral("/web/vol?set"));
    storeRequestUrl(ReqStatus, QStringLiteral("/web/powerstate"));
    storeRequestUrl(ReqCurrentService, QStringLiteral("/web/getcurrent"));
    storeRequestUrl(ReqAbout, QStringLiteral("/web/about"));
    storeRequestUrl(ReqCurrentTime, QStringLiteral("/web/currenttime"));
    storeRequestUrl(ReqServices, QStringLiteral("/web/getallservices"));
    storeRequestUrl(ReqSignal, QStringLiteral("/web/signal"));
    storeRequestUrl(ReqMovieList, QStringLiteral("/web/movielist"));
    storeRequestUrl(ReqMessageAnswer, QStringLiteral("/web/messageanswer?getanswer=True"));
    storeRequestUrl(ReqTimerList, QStringLiteral("/web/timerlist"));
    storeRequestUrl(ReqTimerCleanup, QStringLiteral("/web/timercleanup?cleanup=true"));
    storeRequestUrl(ReqShutdown, QStringLiteral("/web/powerstate?newstate=1"));
    storeRequestUrl(ReqReboot, QStringLiteral("/web/powerstate?newstate=2"));
    storeRequestUrl(ReqRestartGui, QStringLiteral("/web/powerstate?newstate=3"));
    storeRequestUrl(ReqWakeup, QStringLiteral("/web/powerstate?newstate=4"));
    storeRequestUrl(ReqStandby, QStringLiteral("/web/powerstate?newstate=5"));
    // The picture at the receiver's output, video and on-screen display together, at the width
    // of standard definition: big enough to read the menus, small enough to come quickly.
    storeRequestUrl(ReqScreenshot, QStringLiteral("/grab?format=png&mode=all&r=720"));
}

QString RequestsE2::remoteKeyPath(RemoteKey key, bool longPress) const
{
    return QStringLiteral("/web/remotecontrol?command=") + QString::number(remoteKeyCode(key).enigma2) +
           (longPress ? QStringLiteral("&type=long") : QString());
}

void RequestsE2::requestScreenshot()
{
    sendRequest(ReqScreenshot);
}

QList<RequestType> RequestsE2::comparisonOrder() const
{
    return {ReqPlay,       ReqForward,       ReqRewind,        ReqRecord,         ReqPause,
            ReqStop,       ReqKeyOk,         ReqKeyExit,       ReqMute,           ReqSetVolume,
            ReqVolume,     ReqAbout,         ReqStatus,        ReqCurrentService, ReqSignal,
            ReqServices,   ReqCurrentTime,   ReqEpg,           ReqEpgNow,         ReqEpgNext,
            ReqEpgSimilar, ReqZapAndRefresh, ReqZap,           ReqTimerList,      ReqTimerCleanup,
            ReqTimerAdd,   ReqTimerDelete,   ReqMovieList,     ReqMovieDelete,    ReqMoviePlay,
            ReqMessage,    ReqEpgSearch,     ReqMessageAnswer, ReqShutdown,       ReqReboot,
            ReqRestartGui, ReqWakeup,        ReqStandby,       ReqScreenshot};
}

bool RequestsE2::hasPendingTimers() const
{
    return TavrelRequest::hasPendingTimers() || m_afterZapTimer != nullptr;
}

void RequestsE2::requestServiceEpg(const QString& serviceRef, const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    sendActiveWithUrl({ReqEpg, bouquetRef, serviceRef},
                      QStringLiteral("/web/epgservice?sRef=") + queryValue(serviceRef));
}

void RequestsE2::requestBouquetEpg(const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    sendActiveWithUrl({ReqEpg, bouquetRef}, QStringLiteral("/web/epgmulti?bRef=") + queryValue(bouquetRef));
}

void RequestsE2::requestBouquetEpgNow(const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    sendActiveWithUrl({ReqEpgNow, bouquetRef}, QStringLiteral("/web/epgnow?bRef=") + queryValue(bouquetRef));
}

void RequestsE2::requestSimilarEpg(const QString& serviceRef, const QString& eventId)
{
    sendActiveWithUrl(ReqEpgSimilar, QStringLiteral("/web/epgsimilar?sRef=") + queryValue(serviceRef) +
                                         QStringLiteral("&eventid=") + queryValue(eventId));
}

void RequestsE2::zapToService(const QString& serviceRef)
{
    sendWithUrl(ReqZap, QStringLiteral("/web/zap?sRef=") + queryValue(serviceRef));
}

void RequestsE2::zapToServiceInBouquet(const QString& serviceRef, const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    sendWithUrl({ReqZapAndRefresh, bouquetRef, serviceRef},
                QStringLiteral("/web/zap?sRef=") + queryValue(serviceRef));
}

void RequestsE2::playMovie(const QString& movieRef)
{
    sendWithUrl(ReqMoviePlay, QStringLiteral("/web/zap?sRef=") + queryValue(movieRef));
}

void RequestsE2::deleteMovie(const QString& movieRef)
{
    sendWithUrl(ReqMovieDelete, QStringLiteral("/web/moviedelete?sRef=") + queryValue(movieRef));
}

void RequestsE2::sendMessageE2(const QString& text, bool question, int timeout)
{
    // Type 0 asks a yes/no question, type 2 only informs.
    sendWithUrl(ReqMessage, QStringLiteral("/web/message?text=") + queryValue(text) +
                                QStringLiteral("&type=") +
                                (question ? QStringLiteral("0") : QStringLiteral("2")) +
                                QStringLiteral("&timeout=") + QString::number(timeout));
}

void RequestsE2::addTimerForEvent(const EpgItem* event, bool justPlay)
{
    if (!event)
        return;
    sendWithUrl(ReqTimerAdd, QStringLiteral("/web/timeraddbyeventid?sRef=") +
                                 queryValue(event->serviceReference) + QStringLiteral("&eventid=") +
                                 queryValue(event->eventId) + QStringLiteral("&justplay=") +
                                 (justPlay ? QStringLiteral("1") : QStringLiteral("0")));
}

void RequestsE2::deleteTimer(const TimerEntry* timer)
{
    if (!timer)
        return;
    sendWithUrl(ReqTimerDelete, QStringLiteral("/web/timerdelete?sRef=") +
                                    queryValue(timer->serviceReference) + QStringLiteral("&begin=") +
                                    QString::number(timer->begin) + QStringLiteral("&end=") +
                                    QString::number(timer->end));
}

void RequestsE2::setVolume(const QString& level)
{
    sendWithUrl(ReqSetVolume, QStringLiteral("/web/vol?set=set") + queryValue(level));
}

void RequestsE2::searchEpg(const QString& text)
{
    sendActiveWithUrl(ReqEpgSearch, QStringLiteral("/web/epgsearch?search=") + queryValue(text));
}

void RequestsE2::afterZapRequestTimerSlot()
{
    m_afterZapTimer->deleteLater();
    m_afterZapTimer = nullptr;
    // The EPG of the zap whose answer came last, in the bouquet it was zapped in.
    const RequestContext zapped = m_zapped;
    requestServiceEpg(zapped.serviceReference, zapped.bouquetReference);
    requestBouquetEpgNow(zapped.bouquetReference);
}

void RequestsE2::reportCommandOutcome(const Reply& reply)
{
    // A receiver that went down with its command may have closed the connection without a word.
    if (reply.failed || !isCommand(reply.type) || (endsTheConnection(reply.type) && reply.text.isEmpty()))
        return;
    E2CommandResult result;
    if (!parseE2CommandResult(reply.text, result)) {
        // The volume answers are read, and reported when unreadable, by their own route.
        if (reply.type != ReqMute && reply.type != ReqSetVolume)
            reportUnreadable(reply);
        return;
    }
    if (!result.accepted)
        Q_EMIT commandRefused(reply.type, result.text);
}

void RequestsE2::dispatchReply(const Reply& reply)
{
    reportCommandOutcome(reply);
    routeReply(reply);
}

void RequestsE2::defineRoutes()
{
    TavrelDatabase* db = database();
    const auto events = [db](const QString& text, OwnedList<EpgItem>& list) {
        return parseE2EventList(text, list, db->clock());
    };
    const auto bouquetEpg = [this](const Reply& reply) { return mergeBouquetEpg(reply); };
    const auto epgSignal = [this] { Q_EMIT finishedEpgDataRequest(); };
    const auto epgHandled = [this](const Reply&) { Q_EMIT finishedEpgDataRequest(); };
    addRoute({ReqRecord, ReqStop, ReqTimerCleanup}, {.followUps = {ReqTimerList}});
    addRoute({ReqKeyExit}, {.followUps = {ReqKeyOk}});
    addRoute({ReqMute, ReqSetVolume, ReqVolume},
             {.read = [this](const Reply& reply) { return readVolume(reply); }});
    addRoute({ReqStatus}, {.followUps = {ReqCurrentService, ReqVolume},
                           .read = [this](const Reply& reply) { return readStatus(reply); }});
    addRoute({ReqCurrentService}, {.read = [this](const Reply& reply) { return readCurrentService(reply); }});
    addRoute({ReqAbout}, {.followUps = {ReqSignal},
                          .read = reading<AboutInfo>(
                              parseE2About, [db](auto about) { db->setAboutInfo(std::move(about)); }),
                          .signal = [this] { Q_EMIT finishedAboutRequest(); }});
    addRoute({ReqCurrentTime},
             {.read = reading<QString>(parseE2CurrentTime, [db](auto time) { db->setCurrentTime(*time); }),
              .signal = [this] { Q_EMIT finishedCurrentTimeRequest(); }});
    addRoute({ReqServices}, {.read = [this](const Reply& reply) { return storeBouquets(reply); },
                             .signal = [this] { Q_EMIT finishedServiceDataRequest(); },
                             .followUpsWhenRead = {ReqCurrentService, ReqStatus, ReqCurrentTime},
                             .endsBusy = true});
    addRoute({ReqSignal}, {.read = reading<SignalInfo>(
                               parseE2Signal, [db](auto info) { db->setSignalInfo(std::move(info)); }),
                           .signal = [this, db] { Q_EMIT finishedSignalRequest(db->signalInfo()); }});
    addRoute({ReqEpg}, {.read = bouquetEpg, .always = epgHandled, .endsBusy = true});
    // An unreadable list keeps the one already shown.
    addRoute({ReqMovieList}, {.read = reading<OwnedList<MovieEntry>>(
                                  parseE2MovieList, [db](auto movies) { db->setMovies(std::move(*movies)); }),
                              .signal = [this] { Q_EMIT finishedMovieListRequest(); },
                              .endsBusy = true});
    addRoute({ReqMovieDelete}, {.followUps = {ReqAbout}, // the free disk space changed
                                .always = [this](const Reply& reply) {
                                    Q_EMIT finishedMovieDelRequest(parseE2MovieDeleteResult(reply.text));
                                }});
    // The next events follow whether or not the current ones could be read.
    addRoute({ReqEpgNow},
             {.read = [this](const Reply& reply) { return readEpgNow(reply); }, .always = epgHandled});
    addRoute({ReqEpgNext}, {.read = bouquetEpg, .signal = epgSignal, .endsBusy = true});
    addRoute({ReqEpgSimilar}, {.read = reading<OwnedList<EpgItem>>(
                                   events, [db](auto list) { db->setSimilarResults(std::move(*list)); }),
                               .signal = [this] { Q_EMIT finishedEpgSimilarRequest(); },
                               .endsBusy = true});
    addRoute({ReqZapAndRefresh}, {.followUps = {ReqStatus},
                                  .read = [this](const Reply& reply) { return startAfterZapTimer(reply); }});
    // Only a message the receiver says it showed is sent.
    addRoute({ReqMessage}, {.always = [this](const Reply& reply) {
                 E2CommandResult result;
                 Q_EMIT finishedMessageSendRequest(
                     !reply.failed && parseE2CommandResult(reply.text, result) && result.accepted);
             }});
    addRoute({ReqMessageAnswer}, {.read = reading<MessageAnswer>(parseE2MessageAnswer, [this](auto answer) {
                                      Q_EMIT finishedMessageAnswerRequest(*answer);
                                  })});
    addRoute({ReqEpgSearch}, {.read = reading<OwnedList<EpgItem>>(
                                  events, [db](auto list) { db->setSearchResults(std::move(*list)); }),
                              .signal = [this] { Q_EMIT finishedSearchRequest(); },
                              .endsBusy = true});
    const auto timers = [db](const QString& text, OwnedList<TimerEntry>& list) {
        return parseE2TimerList(text, list, db->clock());
    };
    addRoute({ReqTimerList}, {.read = reading<OwnedList<TimerEntry>>(
                                  timers, [db](auto list) { db->setTimers(std::move(*list)); }),
                              .always = [this](const Reply&) { Q_EMIT finishedTimerListRequest(); },
                              .endsBusy = true});
    addRoute({ReqTimerAdd}, {.always = [this](const Reply& reply) {
                 Q_EMIT finishedTimerEventAddRequest(parseE2TimerCommandResult(reply.text));
             }});
    addRoute({ReqTimerDelete},
             {.followUps = {ReqTimerList}, .always = [this](const Reply& reply) {
                  Q_EMIT finishedTimerEventDelRequest(parseE2TimerCommandResult(reply.text));
              }});
    addRoute({ReqShutdown, ReqReboot, ReqRestartGui, ReqWakeup, ReqStandby}, {.followUps = {ReqStatus}});
    addRoute({ReqScreenshot}, {.read = [this](const Reply& reply) { return readScreenshot(reply); }});
}

bool RequestsE2::readScreenshot(const Reply& reply)
{
    // Receivers without the grabber answer with a page of text instead.
    static const QByteArray png("\x89PNG\r\n\x1a\n", 8);
    static const QByteArray jpeg("\xff\xd8\xff", 3);
    if (reply.failed)
        return false;
    if (!reply.bytes.startsWith(png) && !reply.bytes.startsWith(jpeg)) {
        reportUnreadable(reply);
        return false;
    }
    Q_EMIT finishedScreenshotRequest(reply.bytes);
    return true;
}

bool RequestsE2::startAfterZapTimer(const Reply& reply)
{
    m_zapped = {reply.type, reply.bouquetReference, reply.serviceReference};
    QTimer* timer = restartSingleShot(m_afterZapTimer, afterZapDelayMs);
    connect(timer, &QTimer::timeout, this, &RequestsE2::afterZapRequestTimerSlot);
    return true;
}

bool RequestsE2::readVolume(const Reply& reply)
{
    bool isMute = false;
    int level = 0;
    if (!parseE2Volume(reply.text, isMute, level)) {
        reportUnreadable(reply);
        return false;
    }
    Q_EMIT finishedVolumeRequest(isMute, level);
    return true;
}

bool RequestsE2::readStatus(const Reply& reply)
{
    // Without an answer the standby state is unknown, not "awake".
    if (reply.failed)
        return false;
    const bool isStandby = parseE2PowerState(reply.text);
    Q_EMIT finishedPowerstateRequest(isStandby);
    TavrelDatabase& db = *database();
    if (db.statusData()->standby != isStandby)
        startNextRequestTimer(ReqCurrentService, standbyChangeDelayMs);
    db.setStandby(isStandby);
    return true;
}

bool RequestsE2::readCurrentService(const Reply& reply)
{
    TavrelDatabase& db = *database();
    auto service = std::make_unique<CurrentServiceE2>();
    if (parseE2CurrentService(reply.text, *service, db.clock())) {
        db.setCurrentService(std::move(service));
        Q_EMIT finishedCurrentServiceRequest();
        if (!m_aboutRequested) {
            sendRequest(ReqAbout);
            m_aboutRequested = true;
        }
        return true;
    }
    reportUnreadable(reply);
    if (m_currentServiceRetries < currentServiceRetryLimit) {
        ++m_currentServiceRetries;
        sendRequest(ReqCurrentService);
    }
    return false;
}

bool RequestsE2::readEpgNow(const Reply& reply)
{
    const bool read = mergeBouquetEpg(reply);
    sendWithUrl({ReqEpgNext, reply.bouquetReference},
                QStringLiteral("/web/epgnext?bRef=") + queryValue(reply.bouquetReference));
    return read;
}

TavrelRequest::AnswerReader RequestsE2::answerReader(const Reply& reply) const
{
    switch (reply.type) {
    case ReqServices:
        return bouquetsReader([](const QString& text, OwnedList<Bouquet>& bouquets) {
            return parseE2Services(text, bouquets);
        });
    case ReqEpg:
    case ReqEpgNow:
    case ReqEpgNext: {
        const QString bouquetRef = reply.bouquetReference;
        const Clock* clock = &database()->clock();
        return eventsReader([bouquetRef, clock](const QString& text, OwnedList<EpgItem>& events) {
            return parseE2BouquetEpg(text, bouquetRef, events, *clock);
        });
    }
    default:
        return {};
    }
}
