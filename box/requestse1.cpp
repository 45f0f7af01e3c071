#include "box/requestse1.h"

#include "box/e1parsers.h"
#include "model/bouquet.h"
#include "model/clock.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"

#include <cctype>

RequestsE1::RequestsE1(TavrelDatabase* database, QObject* parent)
    : TavrelRequest(database, parent)
{
    initializeFromSettings();
}

RequestsE1::~RequestsE1() = default;

void RequestsE1::constructFixedUrls()
{
    storeRequestUrl(ReqForward, QStringLiteral("/cgi-bin/videocontrol?command=forward"));
    storeRequestUrl(ReqRewind, QStringLiteral("/cgi-bin/videocontrol?command=rewind"));
    storeRequestUrl(ReqPlay, QStringLiteral("/cgi-bin/videocontrol?command=play"));
    storeRequestUrl(ReqRecord, QStringLiteral("/cgi-bin/videocontrol?command=record"));
    storeRequestUrl(ReqPause, QStringLiteral("/cgi-bin/videocontrol?command=pause"));
    storeRequestUrl(ReqStop, QStringLiteral("/cgi-bin/videocontrol?command=stop"));
    storeRequestUrl(ReqKeyOk, QStringLiteral("/cgi-bin/rc?352"));
    storeRequestUrl(ReqKeyExit, QStringLiteral("/cgi-bin/rc?1"));
    storeRequestUrl(ReqVolumeUp, QStringLiteral("/cgi-bin/rc?115"));
    storeRequestUrl(ReqMute, QStringLiteral("/cgi-bin/rc?113"));
    storeRequestUrl(ReqVolumeDown, QStringLiteral("/cgi-bin/rc?114"));
    storeRequestUrl(ReqStatus, QStringLiteral("/cgi-bin/status"));
    storeRequestUrl(ReqAbout, QStringLiteral("/body?mode=help"));
    storeRequestUrl(ReqData, QStringLiteral("/data"));
    storeRequestUrl(ReqServices,
                    QStringLiteral("/cgi-bin/getServices?ref=4097:7:0:6:0:0:0:0:0:0:&listContent=true"));
    storeRequestUrl(ReqEpg, QStringLiteral("/cgi-bin/getcurrentepg"));
    storeRequestUrl(ReqSatfinderConfig, QStringLiteral("/body?mode=controlSatFinder"));
    storeRequestUrl(ReqMovieList, QStringLiteral("/body?mode=zap&zapmode=3&zapsubmode=1"));
    storeRequestUrl(ReqTimerList, QStringLiteral("/xml/timers"));
    storeRequestUrl(ReqTimerCleanup, QStringLiteral("/cleanupTimerList"));
    storeRequestUrl(ReqShutdown, QStringLiteral("/cgi-bin/admin?command=shutdown"));
    storeRequestUrl(ReqReboot, QStringLiteral("/cgi-bin/admin?command=reboot"));
    storeRequestUrl(ReqRestartGui, QStringLiteral("/cgi-bin/admin?command=restart"));
    storeRequestUrl(ReqWakeup, QStringLiteral("/cgi-bin/admin?command=wakeup"));
    storeRequestUrl(ReqStandby, QStringLiteral("/cgi-bin/admin?command=standby"));
}

QString RequestsE1::remoteKeyPath(RemoteKey key, bool longPress) const
{
    // "code:seconds" holds the key down that long.
    return QStringLiteral("/cgi-bin/rc?") + QString::number(remoteKeyCode(key).enigma1) +
           (longPress ? QStringLiteral(":1") : QString());
}

QList<RequestType> RequestsE1::comparisonOrder() const
{
    return {
        ReqPlay,          ReqForward,   ReqRewind,        ReqRecord,          ReqPause,     ReqStop,
        ReqVideoPosition, ReqKeyOk,     ReqKeyExit,       ReqVolumeUp,        ReqMute,      ReqVolumeDown,
        ReqTimerCleanup,  ReqSetVolume, ReqAbout,         ReqStatus,          ReqData,      ReqServices,
        ReqEpg,           ReqTimerList, ReqSatfinderData, ReqSatfinderConfig, ReqMovieList, ReqMovieDelete,
        ReqMovieRename,   ReqMultiEpg,  ReqZapAndRefresh, ReqMoviePlay,       ReqMessage,   ReqTimerAdd,
        ReqTimerDelete,   ReqShutdown,  ReqReboot,        ReqRestartGui,      ReqWakeup,    ReqStandby};
}

bool RequestsE1::isPrintedReference(const QString& reference)
{
    for (qsizetype i = 0; i < reference.size(); ++i) {
        const char16_t c = reference.at(i).unicode();
        const bool plain =
            (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u':';
        if (plain)
            continue;
        if (c != u'%' || i + 1 >= reference.size() || !std::isxdigit(uchar(reference.at(i + 1).toLatin1())))
            return false;
    }
    return true;
}

QString RequestsE1::referenceValue(const QString& reference)
{
    return queryValue(printedReference(reference));
}

QString RequestsE1::printedReference(const QString& reference)
{
    // Only '%' and '+' change in the second decoding; everything else may go as it is.
    if (isPrintedReference(reference) || (!reference.contains(u'%') && !reference.contains(u'+')))
        return reference;
    QString printed;
    const QByteArray bytes = reference.toUtf8();
    for (const char byte : bytes) {
        const uchar c = uchar(byte);
        if (std::isalnum(c) || c == ':')
            printed += QLatin1Char(char(c));
        else
            printed += QStringLiteral("%%1").arg(c, 2, 16, QLatin1Char('0'));
    }
    return printed;
}

void RequestsE1::requestServiceEpg(const QString&, const QString& bouquetRef)
{
    // The page shows the EPG of whatever the receiver shows; the bouquet marks the events.
    m_currentBouquetRef = bouquetRef;
    sendRequest(ReqEpg);
}

void RequestsE1::requestBouquetEpg(const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    sendActiveWithUrl(ReqMultiEpg, QStringLiteral("/getMultiEPG?ref=") + referenceValue(bouquetRef));
}

void RequestsE1::zapToService(const QString& serviceRef)
{
    sendWithUrl(ReqZapAndRefresh, QStringLiteral("/cgi-bin/zapTo?path=") + referenceValue(serviceRef));
}

void RequestsE1::zapToServiceInBouquet(const QString& serviceRef, const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    zapToService(serviceRef);
}

void RequestsE1::playMovie(const QString& movieRef)
{
    sendWithUrl(ReqMoviePlay, QStringLiteral("/cgi-bin/zapTo?path=") + referenceValue(movieRef));
}

void RequestsE1::deleteMovie(const QString& movieRef)
{
    sendWithUrl(ReqMovieDelete, QStringLiteral("/cgi-bin/deleteMovie?ref=") + referenceValue(movieRef));
}

void RequestsE1::renameMovie(const QString& movieRef, const QString& newTitle)
{
    sendWithUrl(ReqMovieRename, QStringLiteral("/cgi-bin/renameMovie?ref=") + referenceValue(movieRef) +
                                    QStringLiteral("&desc=") + queryValue(newTitle));
}

void RequestsE1::setVideoPosition(const QString& position)
{
    sendWithUrl(ReqVideoPosition, QStringLiteral("/setVideo?position=") + queryValue(position));
}

void RequestsE1::sendMessageE1(const QString& caption, const QString& body, bool untilConfirmed, int timeout)
{
    const QString timeoutText = untilConfirmed ? QStringLiteral("-1") : QString::number(timeout);
    sendWithUrl(ReqMessage, QStringLiteral("/cgi-bin/xmessage?caption=") + queryValue(caption) +
                                QStringLiteral("&timeout=") + timeoutText + QStringLiteral("&body=") +
                                queryValue(body));
}

void RequestsE1::addTimer(const QString& serviceRef, const QString& channelName, const EpgItem* event)
{
    if (!event)
        return;
    sendWithUrl(ReqTimerAdd,
                QStringLiteral("/addTimerEvent?ref=") + referenceValue(serviceRef) +
                    QStringLiteral("&start=") + QString::number(event->start) + QStringLiteral("&duration=") +
                    QString::number(event->duration) + QStringLiteral("&descr=") + queryValue(event->title) +
                    QStringLiteral("&channel=") + queryValue(channelName) + QStringLiteral("&after_event=0"));
}

void RequestsE1::deleteTimer(const TimerEntry* timer)
{
    if (!timer)
        return;
    sendWithUrl(ReqTimerDelete, QStringLiteral("/deleteTimerEvent?ref=") +
                                    referenceValue(timer->serviceReference) + QStringLiteral("&start=") +
                                    queryValue(timer->startText) + QStringLiteral("&type=") +
                                    queryValue(timer->typeData) + QStringLiteral("&force=yes"));
}

void RequestsE1::setVolume(const QString& level)
{
    sendWithUrl(ReqSetVolume, QStringLiteral("/setVolume?volume=") + queryValue(level));
}

void RequestsE1::requestSatfinderData(const QString& parameters)
{
    sendWithUrl(ReqSatfinderData, QStringLiteral("/satFinder?") + queryValue(parameters));
}

void RequestsE1::requestSatfinderConfig()
{
    sendStoredRequest(ReqSatfinderConfig);
}

void RequestsE1::dispatchReply(const Reply& reply)
{
    TavrelDatabase& db = *database();
    const QString& text = reply.text;
    // These commands answer with nothing at all; anything else leaves their outcome unknown.
    if (answersWithNothing(reply.type) && !reply.failed && !text.trimmed().isEmpty())
        reportUnreadable(reply);
    switch (reply.type) {
    case ReqForward:
    case ReqRewind:
    case ReqPlay:
    case ReqRecord:
    case ReqPause:
    case ReqStop:
    case ReqVideoPosition:
    case ReqVolumeUp:
    case ReqMute:
    case ReqVolumeDown:
    case ReqSetVolume:
    case ReqRemoteKey:
        // Commands answer with an empty page; the data page shows what they did.
        sendRequest(ReqData);
        break;
    case ReqStatus: {
        sendRequest(ReqData);
        auto status = std::make_unique<StatusInfoE1>();
        if (parseStatusPageE1(text, *status)) {
            db.setStatusInfoE1(std::move(status));
            Q_EMIT finishedStatusRequest();
        } else {
            reportUnreadable(reply);
        }
        break;
    }
    case ReqAbout: {
        auto about = std::make_unique<AboutInfoE1>();
        if (parseAboutPageE1(text, *about)) {
            db.setAboutInfoE1(std::move(about));
            Q_EMIT finishedAboutRequest(db.aboutInfoE1());
        } else {
            reportUnreadable(reply);
        }
        break;
    }
    case ReqData: {
        auto data = std::make_unique<DeviceData>();
        if (parseDataPageE1(text, *data)) {
            db.setDeviceData(std::move(data));
            Q_EMIT finishedDataRequest();
        } else {
            reportUnreadable(reply);
        }
        break;
    }
    case ReqServices: {
        const std::shared_ptr<BouquetsRead> read = readAnswer<BouquetsRead>(reply);
        if (read->ok) {
            db.setBouquets(std::move(read->bouquets));
            Q_EMIT finishedServiceDataRequest();
        } else {
            reportUnreadable(reply);
        }
        Q_EMIT networkRequestIsActive(false);
        break;
    }
    case ReqEpg:
        handleEpg(reply);
        break;
    case ReqSatfinderData: {
        auto data = std::make_unique<SatfinderData>();
        if (parseSatfinderDataE1(text, *data)) {
            m_satfinderData = std::move(data);
            Q_EMIT finishedSatfinderDataRequest(m_satfinderData.get());
        } else {
            reportUnreadable(reply);
        }
        break;
    }
    case ReqSatfinderConfig: {
        auto config = std::make_unique<SatfinderConfig>();
        if (parseSatfinderConfigE1(text, *config)) {
            db.setSatfinderConfig(std::move(config));
            Q_EMIT finishedSatfinderConfigRequest(db.satfinderConfig());
        } else {
            reportUnreadable(reply);
        }
        break;
    }
    case ReqMovieList: {
        OwnedList<MovieEntry> movies;
        if (parseMovieListE1(text, movies)) {
            db.setMovies(std::move(movies));
            Q_EMIT finishedMovieListRequest();
        } else {
            reportUnreadable(reply);
        }
        Q_EMIT networkRequestIsActive(false);
        break;
    }
    case ReqMovieDelete:
    case ReqMovieRename:
        sendRequest(ReqMovieList);
        break;
    case ReqMultiEpg:
        mergeBouquetEpg(reply);
        Q_EMIT finishedMultiEpgDataRequest();
        Q_EMIT networkRequestIsActive(false);
        break;
    case ReqZapAndRefresh:
        sendRequest(ReqStatus);
        startNextRequestTimer(ReqEpg, nextRequestDelayMs);
        break;
    case ReqMoviePlay:
    case ReqShutdown:
    case ReqReboot:
    case ReqRestartGui:
    case ReqWakeup:
    case ReqStandby:
        sendRequest(ReqStatus);
        break;
    case ReqMessage:
        // Only "+ok" says the message is on the screen; anything else, or no answer, is a failure,
        // and an answer that says something else is the receiver's refusal.
        if (text != QLatin1String("+ok") && !reply.failed)
            Q_EMIT commandRefused(reply.type, text.trimmed());
        Q_EMIT finishedMessageSendRequest(text == QLatin1String("+ok"));
        break;
    case ReqTimerList: {
        OwnedList<TimerEntry> timers;
        // An unreadable list keeps the one already shown.
        if (parseTimerListE1(text, timers, db.clock()))
            db.setTimers(std::move(timers));
        else
            reportUnreadable(reply);
        Q_EMIT finishedTimerListRequest();
        Q_EMIT networkRequestIsActive(false);
        break;
    }
    case ReqTimerCleanup:
        sendRequest(ReqTimerList);
        break;
    case ReqTimerAdd:
        sendRequest(ReqStatus);
        Q_EMIT finishedTimerEventAddRequest(answerIsSuccess(text));
        if (!reply.failed && !answerIsSuccess(text))
            Q_EMIT commandRefused(reply.type, {});
        break;
    case ReqTimerDelete:
        sendRequest(ReqStatus);
        Q_EMIT finishedTimerEventDelRequest(answerIsSuccess(text));
        if (!reply.failed && !answerIsSuccess(text))
            Q_EMIT commandRefused(reply.type, {});
        break;
    default:
        break;
    }
}

void RequestsE1::keepCurrentAndNext(OwnedList<EpgItem>& events, qint64 now)
{
    OwnedList<EpgItem> kept;
    QString service;
    int taken = 0;
    for (auto& event : events) {
        if (event->serviceReference != service) {
            service = event->serviceReference;
            taken = 0;
        }
        const bool ended = event->duration >= 0 && qint64(event->start) + event->duration <= now;
        if (ended || taken == 2)
            continue;
        ++taken;
        kept.push_back(std::move(event));
    }
    events = std::move(kept);
}

bool RequestsE1::answersWithNothing(RequestType type)
{
    switch (type) {
    case ReqForward:
    case ReqRewind:
    case ReqPlay:
    case ReqRecord:
    case ReqPause:
    case ReqStop:
    case ReqVideoPosition:
    case ReqKeyOk:
    case ReqKeyExit:
    case ReqVolumeUp:
    case ReqMute:
    case ReqVolumeDown:
    case ReqSetVolume:
    case ReqRemoteKey:
    case ReqZapAndRefresh:
    case ReqMoviePlay:
    case ReqMovieDelete:
    case ReqMovieRename:
    case ReqTimerCleanup:
        return true;
    default:
        return false;
    }
}

TavrelRequest::AnswerReader RequestsE1::answerReader(const Reply& reply) const
{
    const QString bouquetRef = reply.bouquetReference;
    const Clock* clock = &database()->clock();
    switch (reply.type) {
    case ReqServices:
        return bouquetsReader([](const QString& text, OwnedList<Bouquet>& bouquets) {
            return parseServiceListE1(text, bouquets);
        });
    case ReqEpg:
        return eventsReader([bouquetRef, clock](const QString& text, OwnedList<EpgItem>& events) {
            return parseCurrentEpgE1(text, bouquetRef, events, *clock);
        });
    case ReqMultiEpg:
        return eventsReader([bouquetRef, clock](const QString& text, OwnedList<EpgItem>& events) {
            if (!parseMultiEpgE1(text, bouquetRef, events, *clock))
                return false;
            // Channels keep their current and next event only; the rest of a big bouquet's day
            // is dropped here, off the GUI thread, instead of there.
            keepCurrentAndNext(events, clock->now());
            return true;
        });
    default:
        return {};
    }
}

void RequestsE1::handleEpg(const Reply& reply)
{
    if (mergeBouquetEpg(reply)) {
        m_epgRetried = false;
    } else if (!m_epgRetried) {
        // The page is sometimes not ready right after a zap: one more try, then give up.
        m_epgRetried = true;
        sendRequest(ReqEpg);
    }
    Q_EMIT finishedEpgDataRequest();
    Q_EMIT networkRequestIsActive(false);
}
