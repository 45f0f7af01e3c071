#include "box/tavrelrequest.h"

#include "box/oneshotbody.h"
#include "model/bouquet.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "settings/settings.h"

#include <QAuthenticator>
#include <QElapsedTimer>
#include <QNetworkRequest>
#include <QPromise>
#include <QStringDecoder>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// What an outgoing request carries for its reply.
constexpr auto storedUrlAttribute = QNetworkRequest::Attribute(QNetworkRequest::User);
constexpr auto requestTypeAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 1);
constexpr auto sessionIdAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 2);
constexpr auto secondTryAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 3);
constexpr auto bouquetAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 4);
constexpr auto serviceAttribute = QNetworkRequest::Attribute(QNetworkRequest::User + 5);

int httpStatusOf(const QNetworkReply* reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

} // namespace

TavrelRequest::TavrelRequest(TavrelDatabase* database, QObject* parent)
    : QObject(parent)
    , m_database(database)
    , m_settings(new Settings(this))
    , m_manager(this)
{
    connect(&m_manager, &QNetworkAccessManager::authenticationRequired, this,
            &TavrelRequest::on_authenticationRequired);
}

TavrelRequest::~TavrelRequest()
{
    // Replies still in flight belong to the manager; they must not reach a half-destroyed engine.
    abortReplies();
    // A reading under way may use what the owner of this engine lends it (the clock).
    for (const QueuedReply& queued : m_dispatchQueue) {
        if (queued.reading)
            queued.reading->waitForFinished();
    }
}

TavrelRequest::AnswerRead::~AnswerRead() = default;
TavrelRequest::BouquetsRead::~BouquetsRead() = default;
TavrelRequest::EventsRead::~EventsRead() = default;

void TavrelRequest::abortReplies()
{
    ignoreReplies();
    const QList<QNetworkReply*> replies = m_manager.findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : replies)
        reply->abort();
}

void TavrelRequest::ignoreReplies()
{
    const QList<QNetworkReply*> replies = m_manager.findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : replies)
        reply->disconnect(this);
    m_collected.clear();
}

TavrelDatabase* TavrelRequest::database() const
{
    return m_database;
}

void TavrelRequest::initializeFromSettings()
{
    constructRequestUrls(m_settings->getActiveProfile());
}

void TavrelRequest::sendRequest(RequestType type)
{
    sendRequest(contextFor(type));
}

void TavrelRequest::sendRequest(const RequestContext& request)
{
    if (isLongRequest(request.type) && !urlForRequest(request.type).isEmpty())
        Q_EMIT networkRequestIsActive(true);
    sendStoredRequest(request);
}

RequestContext TavrelRequest::contextFor(RequestType type) const
{
    return {type, currentBouquetReference()};
}

void TavrelRequest::requestBouquetEpgNow(const QString&) {}
void TavrelRequest::requestSimilarEpg(const QString&, const QString&) {}
void TavrelRequest::renameMovie(const QString&, const QString&) {}
void TavrelRequest::setVideoPosition(const QString&) {}
void TavrelRequest::sendMessageE1(const QString&, const QString&, bool, int) {}
void TavrelRequest::sendMessageE2(const QString&, bool, int) {}
void TavrelRequest::addTimer(const QString&, const QString&, const EpgItem*) {}
void TavrelRequest::addTimerForEvent(const EpgItem*, bool) {}
void TavrelRequest::searchEpg(const QString&) {}
void TavrelRequest::requestSatfinderData(const QString&) {}
void TavrelRequest::requestSatfinderConfig() {}

QUrl TavrelRequest::urlForRequest(RequestType type) const
{
    if (type <= ReqNone || type >= requestTypeCount)
        return {};
    return m_urls[size_t(type)];
}

RequestType TavrelRequest::requestTypeForUrl(const QUrl& url) const
{
    if (url.isEmpty())
        return ReqNone;
    const QList<RequestType> order = comparisonOrder();
    for (RequestType type : order) {
        if (m_urls[size_t(type)] == url)
            return type;
    }
    return ReqNone;
}

void TavrelRequest::setTransferTimeouts(int normalMs, int longMs)
{
    m_transferTimeoutMs = normalMs;
    m_longTransferTimeoutMs = longMs;
}

bool TavrelRequest::isSettled() const
{
    return m_repliesInFlight == 0 && m_dispatchQueue.empty() && !hasPendingTimers() &&
           !m_session.hasWaiting();
}

void TavrelRequest::constructRequestUrls(const Profile& profile)
{
    // The session id belongs to the receiver and the login it was given to.
    if (profile.wlanAddr != m_profile.wlanAddr || profile.wlanPort != m_profile.wlanPort ||
        profile.userName != m_profile.userName)
        m_session.forget();
    m_profile = profile;
    constructFixedUrls();
}

void TavrelRequest::requestTimeout()
{
    if (m_currentReply) {
        m_currentReply->abort();
        m_currentReply->deleteLater();
        m_currentReply = nullptr;
    }
}

void TavrelRequest::abandon()
{
    m_abandoned = true;
    m_remoteKeys.clear();
    blockSignals(true);
    if (m_nextRequestTimer) {
        m_nextRequestTimer->stop();
        m_nextRequestTimer->deleteLater();
        m_nextRequestTimer = nullptr;
    }
    // One of them may be reporting its error right now; they are aborted when the engine goes.
    ignoreReplies();
    m_session.takeWaiting();
}

void TavrelRequest::sendRemoteKey(RemoteKey key, bool longPress)
{
    if (m_abandoned)
        return;
    m_remoteKeys.push_back(remoteKeyPath(key, longPress));
    if (!m_remoteKeyBusy)
        sendNextRemoteKey();
}

void TavrelRequest::sendNextRemoteKey()
{
    m_remoteKeyBusy = false;
    if (m_remoteKeys.empty() || m_abandoned)
        return;
    const QString path = m_remoteKeys.front();
    m_remoteKeys.pop_front();
    sendWithUrl(ReqRemoteKey, path);
    // Its reply, or its failure while a session id was fetched, sends the next.
    m_remoteKeyBusy = true;
}

void TavrelRequest::sendStoredRequest(RequestType type)
{
    sendStoredRequest(contextFor(type));
}

void TavrelRequest::sendStoredRequest(const RequestContext& sent)
{
    const RequestType type = sent.type;
    const QUrl url = urlForRequest(type);
    if (url.isEmpty() || m_abandoned)
        return; // this engine has no such request, or is done: nothing to send
    // While a new session id is fetched, a request would only be refused for want of it.
    if (m_session.isFetching()) {
        m_session.wait(sent, url);
        return;
    }
    transmit(sent, url, false);
}

QNetworkRequest TavrelRequest::prepareRequest(const QUrl& url, int timeoutMs)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    // Credentials go with the first try: waiting for the challenge doubles every request, and
    // the challenge's own encoding mangles passwords that are not ASCII.
    const Profile stored = m_settings->getActiveProfile();
    if (!stored.userName.isEmpty()) {
        const QByteArray pair = (stored.userName + QLatin1Char(':') + stored.password).toUtf8();
        request.setRawHeader(QByteArrayLiteral("Authorization"),
                             QByteArrayLiteral("Basic ") + pair.toBase64());
    }
    return request;
}

void TavrelRequest::transmit(const RequestContext& sent, const QUrl& storedUrl, bool secondTry)
{
    const RequestType type = sent.type;
    const int timeoutMs = isBigLoad(type) ? m_longTransferTimeoutMs : m_transferTimeoutMs;
    QNetworkRequest request = prepareRequest(m_session.withId(storedUrl), timeoutMs);
    request.setAttribute(storedUrlAttribute, storedUrl);
    request.setAttribute(requestTypeAttribute, int(type));
    request.setAttribute(sessionIdAttribute, m_session.id());
    request.setAttribute(secondTryAttribute, secondTry);
    request.setAttribute(bouquetAttribute, sent.bouquetReference);
    request.setAttribute(serviceAttribute, sent.serviceReference);

    m_errorReported = false;
    Q_EMIT networkReceiveIsActive(true);
    QNetworkReply* reply = nullptr;
    if (isCommand(type)) {
        // A command must reach the receiver at most once: the network layer sends a request again
        // when the connection drops before the answer, and for a toggle that is a second press. It
        // does not when the request's body cannot be read a second time.
        auto* body = new OneShotBody(&m_manager);
        reply = m_manager.sendCustomRequest(request, QByteArrayLiteral("GET"), body);
        body->setParent(reply);
    } else {
        reply = m_manager.get(request);
    }
    armDeadline(reply, timeoutMs);
    if (isBigLoad(type)) {
        // Megabytes are taken as they arrive, a slice at a time: one read of the whole answer at
        // its end would hold the GUI thread while it copies them. The network layer buffers
        // little meanwhile and waits for the next slice.
        reply->setReadBufferSize(collectBufferBytes);
        connect(reply, &QNetworkReply::readyRead, this, [this, reply] { scheduleCollecting(reply); });
    }
    m_currentReply = reply;
    ++m_repliesInFlight;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { requestReplyReadFinishedSlot(reply); });
    connect(reply, &QNetworkReply::errorOccurred, this, &TavrelRequest::requestError);
    Q_EMIT networkTransmitIsActive(false);
}

void TavrelRequest::scheduleCollecting(QNetworkReply* reply)
{
    Collected& collected = m_collected[reply];
    if (collected.scheduled)
        return;
    collected.scheduled = true;
    // Data that arrives meanwhile goes with the same slice.
    QTimer::singleShot(0, reply, [this, reply] { collectSlice(reply); });
}

void TavrelRequest::collectSlice(QNetworkReply* reply)
{
    const auto found = m_collected.find(reply);
    if (found == m_collected.end())
        return; // finished or abandoned meanwhile
    found->scheduled = false;
    QElapsedTimer held;
    held.start();
    while (reply->bytesAvailable() > 0) {
        if (held.elapsed() >= collectSliceMs) {
            scheduleCollecting(reply);
            return;
        }
        found->chunks.append(reply->read(collectPieceBytes));
    }
}

void TavrelRequest::armDeadline(QNetworkReply* reply, int timeoutMs)
{
    // The transfer time-out only measures silence; a trickling answer must end in time as well.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(timeoutMs);
}

QUrl TavrelRequest::storedUrlOf(const QNetworkReply* reply)
{
    const QVariant stored = reply->request().attribute(storedUrlAttribute);
    return stored.isValid() ? stored.toUrl() : reply->request().url();
}

RequestContext TavrelRequest::contextOf(const QNetworkReply* reply)
{
    const QNetworkRequest request = reply->request();
    return {RequestType(request.attribute(requestTypeAttribute).toInt()),
            request.attribute(bouquetAttribute).toString(), request.attribute(serviceAttribute).toString()};
}

bool TavrelRequest::isFirstSessionRefusal(const QNetworkReply* reply) const
{
    return httpStatusOf(reply) == ReceiverSession::refusedStatus && !sessionPath().isEmpty() &&
           !reply->request().attribute(secondTryAttribute).toBool();
}

bool TavrelRequest::retryWithSession(const QNetworkReply* reply)
{
    if (!isFirstSessionRefusal(reply) || m_abandoned)
        return false;
    // The receiver refused before it acted, so even a command may go again, once.
    const RequestContext sent = contextOf(reply);
    const QUrl url = storedUrlOf(reply);
    const QString sentId = reply->request().attribute(sessionIdAttribute).toString();
    if (!m_session.isFetching() && !m_session.id().isEmpty() && m_session.id() != sentId) {
        transmit(sent, url, true); // the id was renewed while this request was under way
        return true;
    }
    m_session.wait(sent, url);
    if (!m_session.isFetching())
        fetchSession();
    return true;
}

void TavrelRequest::fetchSession()
{
    m_session.setFetching(true);
    QUrl url;
    url.setUrl(QStringLiteral("http://") + m_profile.wlanAddr + QLatin1Char(':') + m_profile.wlanPort +
                   sessionPath(),
               QUrl::TolerantMode);
    QNetworkReply* reply = m_manager.get(prepareRequest(url, m_transferTimeoutMs));
    armDeadline(reply, m_transferTimeoutMs);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { sessionReplyFinished(reply); });
}

void TavrelRequest::sessionReplyFinished(QNetworkReply* reply)
{
    reply->deleteLater();
    m_session.setFetching(false);
    const QNetworkReply::NetworkError error = reply->error();
    const int httpStatus = httpStatusOf(reply);
    const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
    QString id;
    if (error == QNetworkReply::NoError && readSessionId(decodeBody(body), id)) {
        m_session.setId(id);
        for (const ReceiverSession::Waiting& waiting : m_session.takeWaiting())
            transmit(waiting.request, waiting.url, true);
        return;
    }
    m_session.forget();
    if (httpStatus == 0) {
        // No answer at all: the requests fail as the connection did.
        failSessionWaiters(error, 0);
        return;
    }
    // The receiver answered, but with no id: its guard cannot be passed, and one word says so.
    m_session.takeRefusalTold();
    Q_EMIT sessionRefused(httpStatus == ReceiverSession::refusedStatus ? ReceiverSession::reason(body)
                                                                       : QString());
    failSessionWaiters(QNetworkReply::UnknownContentError, ReceiverSession::refusedStatus);
}

void TavrelRequest::failSessionWaiters(QNetworkReply::NetworkError error, int httpStatus)
{
    if (m_abandoned)
        return;
    for (const ReceiverSession::Waiting& waiting : m_session.takeWaiting()) {
        QueuedReply queued;
        queued.reply.type = waiting.request.type;
        queued.reply.failed = true;
        queued.reply.bouquetReference = waiting.request.bouquetReference;
        queued.reply.serviceReference = waiting.request.serviceReference;
        queued.error = error;
        queued.httpStatus = httpStatus;
        m_dispatchQueue.push_back(std::move(queued));
    }
    m_errorReported = false;
    reportError(error);
    dispatchQueuedReplies();
}

bool TavrelRequest::readSessionId(const QString&, QString&) const
{
    return false;
}

void TavrelRequest::storeRequestUrl(RequestType type, const QString& pathAndQuery)
{
    QUrl& url = m_urls[size_t(type)];
    url.setUrl(QStringLiteral("http://") + m_profile.wlanAddr + QLatin1Char(':') + m_profile.wlanPort +
                   pathAndQuery,
               QUrl::TolerantMode);
}

void TavrelRequest::sendWithUrl(RequestType type, const QString& pathAndQuery)
{
    storeRequestUrl(type, pathAndQuery);
    sendStoredRequest(type);
}

void TavrelRequest::sendWithUrl(const RequestContext& request, const QString& pathAndQuery)
{
    storeRequestUrl(request.type, pathAndQuery);
    sendStoredRequest(request);
}

void TavrelRequest::sendActiveWithUrl(RequestType type, const QString& pathAndQuery)
{
    sendActiveWithUrl(contextFor(type), pathAndQuery);
}

void TavrelRequest::sendActiveWithUrl(const RequestContext& request, const QString& pathAndQuery)
{
    Q_EMIT networkRequestIsActive(true);
    sendWithUrl(request, pathAndQuery);
}

QString TavrelRequest::queryValue(const QString& value)
{
    // Receivers decode "+" as a space and cut values at "&" and "#": encode all but the
    // characters that references are made of, so that they stay readable in logs.
    return QString::fromLatin1(QUrl::toPercentEncoding(value, QByteArrayLiteral(":/")));
}

void TavrelRequest::startNextRequestTimer(RequestType type, int delayMs)
{
    startNextRequestTimer(contextFor(type), delayMs);
}

void TavrelRequest::startNextRequestTimer(const RequestContext& request, int delayMs)
{
    m_pendingRequest = request;
    QTimer* timer = restartSingleShot(m_nextRequestTimer, delayMs);
    connect(timer, &QTimer::timeout, this, &TavrelRequest::nextRequestTimerSlot);
}

QTimer* TavrelRequest::restartSingleShot(QPointer<QTimer>& timer, int delayMs)
{
    delete timer.data();
    timer = new QTimer(this);
    timer->setSingleShot(true);
    // The receiver needs these delays; a coarse timer may fire a little early.
    timer->setTimerType(Qt::PreciseTimer);
    timer->start(delayMs);
    return timer;
}

void TavrelRequest::checkSettled()
{
    if (isSettled())
        Q_EMIT settled();
}

void TavrelRequest::reportUnreadable(const Reply& reply)
{
    if (!reply.failed)
        Q_EMIT replyUnreadable(reply.type);
}

bool TavrelRequest::isLongRequest(RequestType type) const
{
    return type == ReqServices || type == ReqEpg || type == ReqMovieList || type == ReqTimerList;
}

bool TavrelRequest::isBigLoad(RequestType type)
{
    switch (type) {
    case ReqServices:
    case ReqEpg:
    case ReqMultiEpg:
    case ReqEpgNow:
    case ReqEpgNext:
    case ReqEpgSearch:
    case ReqMovieList:
    case ReqTimerList:
        return true;
    default:
        return false;
    }
}

bool TavrelRequest::isCommand(RequestType type)
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
    case ReqMovieDelete:
    case ReqMovieRename:
    case ReqZapAndRefresh:
    case ReqZap:
    case ReqMoviePlay:
    case ReqMessage:
    case ReqTimerCleanup:
    case ReqTimerAdd:
    case ReqTimerDelete:
    case ReqShutdown:
    case ReqReboot:
    case ReqRestartGui:
    case ReqWakeup:
    case ReqStandby:
    case ReqRemoteKey:
        return true;
    default:
        return false;
    }
}

bool TavrelRequest::endsTheConnection(RequestType type)
{
    return type == ReqShutdown || type == ReqReboot || type == ReqRestartGui;
}

bool TavrelRequest::hasPendingTimers() const
{
    return m_nextRequestTimer != nullptr;
}

void TavrelRequest::on_authenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator)
{
    // A request that carried credentials and is challenged was refused: asking again with the
    // same ones would only double the wait. Without a user name there is nothing to offer.
    if (reply->request().hasRawHeader(QByteArrayLiteral("Authorization")))
        return;
    // The store, not the engine's copy: the user may have corrected the password meanwhile.
    const Profile profile = m_settings->getActiveProfile();
    if (profile.userName.isEmpty())
        return;
    authenticator->setUser(profile.userName);
    authenticator->setPassword(profile.password);
}

bool TavrelRequest::isExpectedDrop(const QNetworkReply* reply) const
{
    const QNetworkReply::NetworkError error = reply->error();
    return (error == QNetworkReply::RemoteHostClosedError || error == QNetworkReply::ContentReSendError) &&
           endsTheConnection(contextOf(reply).type);
}

void TavrelRequest::requestError(QNetworkReply::NetworkError error)
{
    // A receiver that goes down closes the connection, maybe before it answered its command; a
    // request refused for want of a session id goes again with one.
    if (const auto* reply = qobject_cast<const QNetworkReply*>(sender());
        reply && (isExpectedDrop(reply) || (isFirstSessionRefusal(reply) && !m_abandoned)))
        return;
    reportError(error);
}

void TavrelRequest::reportError(QNetworkReply::NetworkError error)
{
    if (!m_errorReported) {
        Q_EMIT networkErrorOccurred(error);
        m_errorReported = true;
    }
    Q_EMIT networkErrorOccurred(true);
}

void TavrelRequest::requestReplyReadFinishedSlot(QNetworkReply* reply)
{
    --m_repliesInFlight;
    if (retryWithSession(reply)) {
        m_collected.remove(reply);
        reply->deleteLater();
        return;
    }
    const QNetworkReply::NetworkError error = isExpectedDrop(reply) ? QNetworkReply::NoError : reply->error();
    const int httpStatus = httpStatusOf(reply);
    // A transfer that timed out or was aborted is closed and has nothing left to read.
    QByteArrayList chunks = m_collected.take(reply).chunks;
    if (reply->isOpen())
        chunks.append(reply->readAll());
    qsizetype size = 0;
    for (const QByteArray& chunk : std::as_const(chunks))
        size += chunk.size();
    const RequestContext request = contextOf(reply);
    reply->deleteLater();
    // Refused again with a fresh id: the guard cannot be passed.
    if (httpStatus == ReceiverSession::refusedStatus && !sessionPath().isEmpty() &&
        !m_session.takeRefusalTold())
        Q_EMIT sessionRefused(ReceiverSession::reason(chunks.join()));

    QueuedReply queued;
    Reply& read = queued.reply;
    read.type = request.type;
    read.failed = error != QNetworkReply::NoError;
    read.bouquetReference = request.bouquetReference;
    read.serviceReference = request.serviceReference;
    queued.error = error;
    queued.httpStatus = httpStatus;
    if (m_database)
        m_database->addReceivedBytes(size);
    // An error page is no answer: parsers get nothing to misread.
    if (!read.failed && isBinaryAnswer(read.type)) {
        read.bytes = chunks.size() == 1 ? chunks.first() : chunks.join();
    } else if (!read.failed) {
        const bool big = m_backgroundReadBytes >= 0 && size >= m_backgroundReadBytes;
        AnswerReader reader = big && read.type != ReqNone ? answerReader(read) : AnswerReader();
        if (reader)
            queued.reading = startReading(std::move(reader), std::move(chunks));
        else
            read.text = decodeBody(chunks.size() == 1 ? chunks.first() : chunks.join());
    }
    m_dispatchQueue.push_back(std::move(queued));
    dispatchQueuedReplies();
}

QFutureWatcher<std::shared_ptr<TavrelRequest::AnswerRead>>* TavrelRequest::startReading(AnswerReader reader,
                                                                                        QByteArrayList chunks)
{
    auto promise = std::make_shared<QPromise<std::shared_ptr<AnswerRead>>>();
    auto* watcher = new QFutureWatcher<std::shared_ptr<AnswerRead>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, &TavrelRequest::dispatchQueuedReplies);
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start(
        [promise, reader = std::move(reader), chunks = std::move(chunks)]() mutable {
            promise->start();
            std::shared_ptr<AnswerRead> read;
            {
                const QString text = decodeBody(std::exchange(chunks, {}).join());
                read = reader(text);
                // What was read is all the dispatch needs; the text of a good answer would only be
                // freed there, in the GUI thread.
                if (!read->ok)
                    read->text = text;
            }
#ifdef __GLIBC__
            // The answer's bytes, its text and the reader's leftovers were freed here; the heap gives
            // them back now, in this thread, instead of at the GUI thread's next big allocation,
            // which would hold the event loop while it sorts megabytes of free blocks.
            malloc_trim(0);
#endif
            promise->addResult(std::move(read));
            promise->finish();
        });
    return watcher;
}

void TavrelRequest::dispatchQueuedReplies()
{
    // A later small answer never overtakes an earlier big one that is still being read.
    while (!m_dispatchQueue.empty() && !m_abandoned) {
        QueuedReply& head = m_dispatchQueue.front();
        if (head.reading && !head.reading->isFinished())
            break;
        QueuedReply queued = std::move(head);
        m_dispatchQueue.pop_front();
        if (queued.reading) {
            queued.reply.read = queued.reading->result();
            queued.reply.text = queued.reply.read->text;
            queued.reading->deleteLater();
        }
        const Reply& read = queued.reply;
        if (read.failed && read.type != ReqNone)
            Q_EMIT requestFailed(read.type, queued.error, queued.httpStatus);
        if (read.type != ReqNone && m_database) {
            dispatchReply(read);
            Q_EMIT replyHandled(read.type, read.failed);
        }
        if (read.type == ReqRemoteKey)
            sendNextRemoteKey();
    }
    checkSettled();
}

bool TavrelRequest::mergeBouquetEpg(const Reply& reply)
{
    const std::shared_ptr<EventsRead> read = readAnswer<EventsRead>(reply);
    if (!read->ok) {
        reportUnreadable(reply);
        return false;
    }
    database()->insertBouquetEpg(std::move(read->events));
    return true;
}

bool TavrelRequest::storeBouquets(const Reply& reply)
{
    const std::shared_ptr<BouquetsRead> read = readAnswer<BouquetsRead>(reply);
    if (!read->ok) {
        reportUnreadable(reply);
        return false;
    }
    database()->setBouquets(std::move(read->bouquets));
    return true;
}

void TavrelRequest::addRoute(std::initializer_list<RequestType> types, const ReplyRoute& route)
{
    for (RequestType type : types)
        m_routes[size_t(type)] = route;
}

void TavrelRequest::routeReply(const Reply& reply)
{
    const ReplyRoute& route = m_routes[size_t(reply.type)];
    for (RequestType next : route.followUps)
        sendRequest(next);
    const bool read = !route.read || route.read(reply);
    if (read) {
        if (route.signal)
            route.signal();
        for (RequestType next : route.followUpsWhenRead)
            sendRequest(next);
    }
    if (route.always)
        route.always(reply);
    if (route.endsBusy)
        Q_EMIT networkRequestIsActive(false);
}

TavrelRequest::AnswerReader TavrelRequest::answerReader(const Reply&) const
{
    return {};
}

TavrelRequest::AnswerReader
TavrelRequest::bouquetsReader(std::function<bool(const QString&, OwnedList<Bouquet>&)> parse) const
{
    QThread* home = thread();
    return [parse = std::move(parse), home](const QString& text) {
        auto read = std::make_shared<BouquetsRead>();
        read->ok = parse(text, read->bouquets);
        // Channels go along with their bouquet.
        for (const auto& bouquet : read->bouquets)
            bouquet->moveToThread(home);
        return std::shared_ptr<AnswerRead>(std::move(read));
    };
}

TavrelRequest::AnswerReader
TavrelRequest::eventsReader(std::function<bool(const QString&, OwnedList<EpgItem>&)> parse) const
{
    QThread* home = thread();
    return [parse = std::move(parse), home](const QString& text) {
        auto read = std::make_shared<EventsRead>();
        read->ok = parse(text, read->events);
        for (const auto& event : read->events)
            event->moveToThread(home);
        return std::shared_ptr<AnswerRead>(std::move(read));
    };
}

void TavrelRequest::nextRequestTimerSlot()
{
    m_nextRequestTimer->deleteLater();
    m_nextRequestTimer = nullptr;
    sendRequest(m_pendingRequest);
    checkSettled();
}

QString TavrelRequest::decodeBody(const QByteArray& body)
{
    // Nothing after a zero byte is text.
    const qsizetype zero = body.indexOf('\0');
    const QByteArrayView bytes = zero < 0 ? QByteArrayView(body) : QByteArrayView(body).first(zero);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Old receivers send Latin-1 without saying so, and some mix it into UTF-8 text: what is
    // whole UTF-8 stays, only the bytes that are not are read as Latin-1.
    text.clear();
    text.reserve(bytes.size());
    const auto* data = reinterpret_cast<const uchar*>(bytes.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const qsizetype length = utf8SequenceLength(data + i, size - i);
        if (length <= 1) {
            text += QChar(char16_t(data[i])); // ASCII, or a byte that starts no whole sequence
            ++i;
        } else {
            text += QString::fromUtf8(reinterpret_cast<const char*>(data + i), length);
            i += length;
        }
    }
    return text;
}

qsizetype TavrelRequest::utf8SequenceLength(const uchar* bytes, qsizetype available)
{
    const uchar lead = bytes[0];
    qsizetype length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80)
        return 1;
    if ((lead & 0xe0) == 0xc0) {
        length = 2;
        value = lead & 0x1f;
        smallest = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3;
        value = lead & 0x0f;
        smallest = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        return 0;
    }
    if (length > available)
        return 0;
    for (qsizetype i = 1; i < length; ++i) {
        if ((bytes[i] & 0xc0) != 0x80)
            return 0;
        value = (value << 6) | (bytes[i] & 0x3f);
    }
    // Overlong forms, surrogates and values beyond Unicode are no characters.
    if (value < smallest || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff))
        return 0;
    return length;
}
