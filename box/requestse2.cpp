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
    sendActiveWithUrl(ReqEpg, QStringLiteral("/web/epgservice?sRef=") + queryValue(serviceRef));
}

void RequestsE2::requestBouquetEpg(const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    sendActiveWithUrl(ReqEpg, QStringLiteral("/web/epgmulti?bRef=") + queryValue(bouquetRef));
}

void RequestsE2::requestBouquetEpgNow(const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    sendActiveWithUrl(ReqEpgNow, QStringLiteral("/web/epgnow?bRef=") + queryValue(bouquetRef));
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
    m_zapServiceRef = serviceRef;
    sendWithUrl(ReqZapAndRefresh, QStringLiteral("/web/zap?sRef=") + queryValue(serviceRef));
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
    requestServiceEpg(m_zapServiceRef, m_currentBouquetRef);
    requestBouquetEpgNow(m_currentBouquetRef);
}

std::optional<E2CommandResult> RequestsE2::readCommandOutcome(const Reply& reply)
{
    // A receiver that went down with its command may have closed the connection without a word.
    if (reply.failed || !isCommand(reply.type) || (endsTheConnection(reply.type) && reply.text.isEmpty()))
        return std::nullopt;
    E2CommandResult result;
    if (!parseE2CommandResult(reply.text, result)) {
        // The volume answers are read, and reported when unreadable, by their own case.
        if (reply.type != ReqMute && reply.type != ReqSetVolume)
            reportUnreadable(reply);
        return std::nullopt;
    }
    if (!result.accepted)
        Q_EMIT commandRefused(reply.type, result.text);
    return result;
}

void RequestsE2::dispatchReply(const Reply& reply)
{
    TavrelDatabase& db = *database();
    const QString& text = reply.text;
    const std::optional<E2CommandResult> outcome = readCommandOutcome(reply);
    switch (reply.type) {
    case ReqRecord:
    case ReqStop:
    case ReqTimerCleanup:
        sendRequest(ReqTimerList);
        break;
    case ReqKeyExit:
        sendRequest(ReqKeyOk);
        break;
    case ReqMute:
    case ReqSetVolume:
    case ReqVolume: {
        bool isMute = false;
        int level = 0;
        if (parseE2Volume(text, isMute, level))
            Q_EMIT finishedVolumeRequest(isMute, level);
        else
            reportUnreadable(reply);
        break;
    }
    case ReqStatus:
        handleStatus(reply);
        break;
    case ReqCurrentService:
        handleCurrentService(reply);
        break;
    case ReqAbout: {
        sendRequest(ReqSignal);
        auto about = std::make_unique<AboutInfo>();
        if (parseE2About(text, *about)) {
            db.setAboutInfo(std::move(about));
            Q_EMIT finishedAboutRequest();
        } else {
            reportUnreadable(reply);
        }
        break;
    }
    case ReqCurrentTime: {
        QString time;
        if (parseE2CurrentTime(text, time)) {
            db.setCurrentTime(time);
            Q_EMIT finishedCurrentTimeRequest();
        } else {
            reportUnreadable(reply);
        }
        break;
    }
    case ReqServices:
        handleServices(reply);
        break;
    case ReqSignal: {
        auto signal = std::make_unique<SignalInfo>();
        if (parseE2Signal(text, *signal)) {
            db.setSignalInfo(std::move(signal));
            Q_EMIT finishedSignalRequest(db.signalInfo());
        } else {
            reportUnreadable(reply);
        }
        break;
    }
    case ReqEpg:
        handleEpg(reply);
        break;
    case ReqMovieList: {
        OwnedList<MovieEntry> movies;
        // An unreadable list keeps the one already shown.
        if (parseE2MovieList(text, movies)) {
            db.setMovies(std::move(movies));
            Q_EMIT finishedMovieListRequest();
        } else {
            reportUnreadable(reply);
        }
        Q_EMIT networkRequestIsActive(false);
        break;
    }
    case ReqMovieDelete:
        sendRequest(ReqAbout); // the free disk space changed
        Q_EMIT finishedMovieDelRequest(parseE2MovieDeleteResult(text));
        break;
    case ReqEpgNow:
        handleEpgNow(reply);
        break;
    case ReqEpgNext:
        handleEpgNext(reply);
        break;
    case ReqEpgSimilar: {
        OwnedList<EpgItem> events;
        if (parseE2EventList(text, events, db.clock())) {
            db.setSimilarResults(std::move(events));
            Q_EMIT finishedEpgSimilarRequest();
        } else {
            reportUnreadable(reply);
        }
        Q_EMIT networkRequestIsActive(false);
        break;
    }
    case ReqZapAndRefresh: {
        sendRequest(ReqStatus);
        QTimer* timer = restartSingleShot(m_afterZapTimer, afterZapDelayMs);
        connect(timer, &QTimer::timeout, this, &RequestsE2::afterZapRequestTimerSlot);
        break;
    }
    case ReqMessage:
        // Only a message the receiver says it showed is sent.
        Q_EMIT finishedMessageSendRequest(outcome && outcome->accepted);
        break;
    case ReqMessageAnswer: {
        MessageAnswer answer = AnswerTimeout;
        if (parseE2MessageAnswer(text, answer))
            Q_EMIT finishedMessageAnswerRequest(answer);
        else
            reportUnreadable(reply);
        break;
    }
    case ReqEpgSearch: {
        OwnedList<EpgItem> events;
        if (parseE2EventList(text, events, db.clock())) {
            db.setSearchResults(std::move(events));
            Q_EMIT finishedSearchRequest();
        } else {
            reportUnreadable(reply);
        }
        Q_EMIT networkRequestIsActive(false);
        break;
    }
    case ReqTimerList: {
        OwnedList<TimerEntry> timers;
        // An unreadable list keeps the one already shown.
        if (parseE2TimerList(text, timers, db.clock()))
            db.setTimers(std::move(timers));
        else
            reportUnreadable(reply);
        Q_EMIT finishedTimerListRequest();
        Q_EMIT networkRequestIsActive(false);
        break;
    }
    case ReqTimerAdd:
        Q_EMIT finishedTimerEventAddRequest(parseE2TimerCommandResult(text));
        break;
    case ReqTimerDelete:
        sendRequest(ReqTimerList);
        Q_EMIT finishedTimerEventDelRequest(parseE2TimerCommandResult(text));
        break;
    case ReqShutdown:
    case ReqReboot:
    case ReqRestartGui:
    case ReqWakeup:
    case ReqStandby:
        sendRequest(ReqStatus);
        break;
    case ReqScreenshot:
        handleScreenshot(reply);
        break;
    default:
        break;
    }
}

void RequestsE2::handleScreenshot(const Reply& reply)
{
    if (reply.failed)
        return;
    // Receivers without the grabber answer with a page of text instead.
    static const QByteArray png("\x89PNG\r\n\x1a\n", 8);
    static const QByteArray jpeg("\xff\xd8\xff", 3);
    if (reply.bytes.startsWith(png) || reply.bytes.startsWith(jpeg))
        Q_EMIT finishedScreenshotRequest(reply.bytes);
    else
        Q_EMIT replyUnreadable(reply.type);
}

void RequestsE2::handleStatus(const Reply& reply)
{
    sendRequest(ReqCurrentService);
    sendRequest(ReqVolume);
    // Without an answer the standby state is unknown, not "awake".
    if (reply.failed)
        return;
    const bool isStandby = parseE2PowerState(reply.text);
    Q_EMIT finishedPowerstateRequest(isStandby);
    TavrelDatabase& db = *database();
    if (db.statusData()->standby != isStandby)
        startNextRequestTimer(ReqCurrentService, standbyChangeDelayMs);
    db.setStandby(isStandby);
}

void RequestsE2::handleCurrentService(const Reply& reply)
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
        return;
    }
    reportUnreadable(reply);
    if (m_currentServiceRetries < currentServiceRetryLimit) {
        ++m_currentServiceRetries;
        sendRequest(ReqCurrentService);
    }
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

void RequestsE2::handleServices(const Reply& reply)
{
    TavrelDatabase& db = *database();
    const std::shared_ptr<BouquetsRead> read = readAnswer<BouquetsRead>(reply);
    if (read->ok) {
        db.setBouquets(std::move(read->bouquets));
        Q_EMIT finishedServiceDataRequest();
        sendRequest(ReqCurrentService);
        sendRequest(ReqStatus);
        sendRequest(ReqCurrentTime);
    } else {
        reportUnreadable(reply);
    }
    Q_EMIT networkRequestIsActive(false);
}

void RequestsE2::handleEpg(const Reply& reply)
{
    mergeBouquetEpg(reply);
    Q_EMIT finishedEpgDataRequest();
    Q_EMIT networkRequestIsActive(false);
}

void RequestsE2::handleEpgNow(const Reply& reply)
{
    // The next events follow whether or not the current ones could be read.
    mergeBouquetEpg(reply);
    sendWithUrl(ReqEpgNext, QStringLiteral("/web/epgnext?bRef=") + queryValue(reply.bouquetReference));
    Q_EMIT finishedEpgDataRequest();
}

void RequestsE2::handleEpgNext(const Reply& reply)
{
    if (mergeBouquetEpg(reply))
        Q_EMIT finishedEpgDataRequest();
    Q_EMIT networkRequestIsActive(false);
}
