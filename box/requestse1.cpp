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
    defineRoutes();
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
    sendRequest({ReqEpg, bouquetRef});
}

void RequestsE1::requestBouquetEpg(const QString& bouquetRef)
{
    m_currentBouquetRef = bouquetRef;
    sendActiveWithUrl({ReqMultiEpg, bouquetRef},
                      QStringLiteral("/getMultiEPG?ref=") + referenceValue(bouquetRef));
}

void RequestsE1::zapToService(const QString& serviceRef)
{
    sendWithUrl({ReqZapAndRefresh, m_currentBouquetRef, serviceRef},
                QStringLiteral("/cgi-bin/zapTo?path=") + referenceValue(serviceRef));
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
    // These commands answer with nothing at all; anything else leaves their outcome unknown.
    if (answersWithNothing(reply.type) && !reply.failed && !reply.text.trimmed().isEmpty())
        reportUnreadable(reply);
    routeReply(reply);
}

void RequestsE1::defineRoutes()
{
    TavrelDatabase* db = database();
    // Commands answer with an empty page; the data page shows what they did.
    addRoute({ReqForward, ReqRewind, ReqPlay, ReqRecord, ReqPause, ReqStop, ReqVideoPosition, ReqVolumeUp,
              ReqMute, ReqVolumeDown, ReqSetVolume, ReqRemoteKey},
             {.followUps = {ReqData}});
    addRoute({ReqStatus},
             {.followUps = {ReqData},
              .read = reading<StatusInfoE1>(parseStatusPageE1,
                                            [db](auto status) { db->setStatusInfoE1(std::move(status)); }),
              .signal = [this] { Q_EMIT finishedStatusRequest(); }});
    addRoute({ReqAbout}, {.read = reading<AboutInfoE1>(
                              parseAboutPageE1, [db](auto about) { db->setAboutInfoE1(std::move(about)); }),
                          .signal = [this, db] { Q_EMIT finishedAboutRequest(db->aboutInfoE1()); }});
    addRoute({ReqData}, {.read = reading<DeviceData>(parseDataPageE1,
                                                     [db](auto data) { db->setDeviceData(std::move(data)); }),
                         .signal = [this] { Q_EMIT finishedDataRequest(); }});
    addRoute({ReqServices}, {.read = [this](const Reply& reply) { return storeBouquets(reply); },
                             .signal = [this] { Q_EMIT finishedServiceDataRequest(); },
                             .endsBusy = true});
    addRoute({ReqEpg}, {.read = [this](const Reply& reply) { return readEpg(reply); },
                        .always = [this](const Reply&) { Q_EMIT finishedEpgDataRequest(); },
                        .endsBusy = true});
    addRoute({ReqSatfinderData},
             {.read = reading<SatfinderData>(parseSatfinderDataE1,
                                             [this](auto data) { m_satfinderData = std::move(data); }),
              .signal = [this] { Q_EMIT finishedSatfinderDataRequest(m_satfinderData.get()); }});
    addRoute({ReqSatfinderConfig},
             {.read = reading<SatfinderConfig>(
                  parseSatfinderConfigE1, [db](auto config) { db->setSatfinderConfig(std::move(config)); }),
              .signal = [this, db] { Q_EMIT finishedSatfinderConfigRequest(db->satfinderConfig()); }});
    addRoute({ReqMovieList}, {.read = reading<OwnedList<MovieEntry>>(
                                  parseMovieListE1, [db](auto movies) { db->setMovies(std::move(*movies)); }),
                              .signal = [this] { Q_EMIT finishedMovieListRequest(); },
                              .endsBusy = true});
    addRoute({ReqMovieDelete, ReqMovieRename}, {.followUps = {ReqMovieList}});
    addRoute({ReqMultiEpg}, {.read = [this](const Reply& reply) { return mergeBouquetEpg(reply); },
                             .always = [this](const Reply&) { Q_EMIT finishedMultiEpgDataRequest(); },
                             .endsBusy = true});
    addRoute({ReqZapAndRefresh},
             {.followUps = {ReqStatus}, .always = [this](const Reply& reply) {
                  startNextRequestTimer({ReqEpg, reply.bouquetReference}, nextRequestDelayMs);
              }});
    addRoute({ReqMoviePlay, ReqShutdown, ReqReboot, ReqRestartGui, ReqWakeup, ReqStandby},
             {.followUps = {ReqStatus}});
    // Only "+ok" says the message is on the screen; anything else, or no answer, is a failure,
    // and an answer that says something else is the receiver's refusal.
    addRoute({ReqMessage}, {.always = [this](const Reply& reply) {
                 const bool shown = reply.text == QLatin1String("+ok");
                 if (!shown && !reply.failed)
                     Q_EMIT commandRefused(reply.type, reply.text.trimmed());
                 Q_EMIT finishedMessageSendRequest(shown);
             }});
    // An unreadable list keeps the one already shown.
    const auto timers = [db](const QString& text, OwnedList<TimerEntry>& list) {
        return parseTimerListE1(text, list, db->clock());
    };
    addRoute({ReqTimerList}, {.read = reading<OwnedList<TimerEntry>>(
                                  timers, [db](auto list) { db->setTimers(std::move(*list)); }),
                              .always = [this](const Reply&) { Q_EMIT finishedTimerListRequest(); },
                              .endsBusy = true});
    addRoute({ReqTimerCleanup}, {.followUps = {ReqTimerList}});
    addRoute({ReqTimerAdd}, {.followUps = {ReqStatus}, .always = [this](const Reply& reply) {
                                 Q_EMIT finishedTimerEventAddRequest(answerIsSuccess(reply.text));
                                 reportRefusal(reply);
                             }});
    addRoute({ReqTimerDelete}, {.followUps = {ReqStatus}, .always = [this](const Reply& reply) {
                                    Q_EMIT finishedTimerEventDelRequest(answerIsSuccess(reply.text));
                                    reportRefusal(reply);
                                }});
}

void RequestsE1::reportRefusal(const Reply& reply)
{
    if (!reply.failed && !answerIsSuccess(reply.text))
        Q_EMIT commandRefused(reply.type, {});
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
            // Channels keep their current and next event only; the rest of a big bouquet's day
            // is dropped row by row as it is read, off the GUI thread.
            const qint64 now = clock->now();
            return parseMultiEpgE1(text, bouquetRef, events, *clock,
                                   [now](OwnedList<EpgItem>& row) { keepCurrentAndNext(row, now); });
        });
    default:
        return {};
    }
}

bool RequestsE1::readEpg(const Reply& reply)
{
    if (mergeBouquetEpg(reply)) {
        m_epgRetried = false;
        return true;
    }
    if (!m_epgRetried) {
        // The page is sometimes not ready right after a zap: one more try, then give up.
        m_epgRetried = true;
        sendRequest({ReqEpg, reply.bouquetReference});
    }
    return false;
}
