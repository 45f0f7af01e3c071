#pragma once

#include "box/receiversession.h"
#include "box/remotekey.h"
#include "box/requestcontext.h"
#include "box/requesttype.h"
#include "model/ownedlist.h"
#include "model/records.h"

#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <array>
#include <deque>
#include <functional>
#include <memory>

class Bouquet;
class EpgItem;
class QAuthenticator;
class QTimer;
class Settings;
class TavrelDatabase;
struct TimerEntry;

// The engine through which the application talks to the receiver's web interface: it keeps the
// URL of every request type built from the active profile, sends GET requests without waiting,
// answers authentication challenges from the settings store, and hands each reply, together with
// what its request was sent for, to the concrete engine, which reads it into the database.
class TavrelRequest : public QObject
{
    Q_OBJECT

public:
    // Time-outs of one transfer; the big loads (bouquets, EPG, lists) get the long one.
    static constexpr int defaultTransferTimeoutMs = 20000;
    static constexpr int defaultLongTransferTimeoutMs = 60000;
    // Reading an answer of this size takes a few milliseconds; bigger ones are read off the
    // GUI thread.
    static constexpr qsizetype defaultBackgroundReadBytes = 32 * 1024;
    // Big answers are collected as they arrive in slices that hold the GUI thread at most this
    // long, reading pieces of this size; the network layer buffers at most this much meanwhile.
    static constexpr qint64 collectSliceMs = 4;
    static constexpr qint64 collectPieceBytes = 256 * 1024;
    static constexpr qint64 collectBufferBytes = 4 * 1024 * 1024;

    ~TavrelRequest() override;

    virtual void sendRequest(RequestType type);
    virtual void requestServiceEpg(const QString& serviceRef, const QString& bouquetRef) = 0;
    virtual void requestBouquetEpg(const QString& bouquetRef) = 0;
    // Operations that an engine's web interface has no request for send nothing.
    virtual void requestBouquetEpgNow(const QString& bouquetRef);
    virtual void requestSimilarEpg(const QString& serviceRef, const QString& eventId);
    virtual void zapToService(const QString& serviceRef) = 0;
    virtual void zapToServiceInBouquet(const QString& serviceRef, const QString& bouquetRef) = 0;
    virtual void playMovie(const QString& movieRef) = 0;
    virtual void deleteMovie(const QString& movieRef) = 0;
    virtual void renameMovie(const QString& movieRef, const QString& newTitle);
    virtual void setVideoPosition(const QString& position);
    virtual void sendMessageE1(const QString& caption, const QString& body, bool untilConfirmed, int timeout);
    virtual void sendMessageE2(const QString& text, bool question, int timeout);
    virtual void addTimer(const QString& serviceRef, const QString& channelName, const EpgItem* event);
    virtual void addTimerForEvent(const EpgItem* event, bool justPlay);
    virtual void deleteTimer(const TimerEntry* timer) = 0;
    virtual void setVolume(const QString& level) = 0;
    virtual void searchEpg(const QString& text);
    virtual void requestSatfinderData(const QString& parameters);
    virtual void requestSatfinderConfig();
    // Keys of the remote control reach the receiver one after the other, in the order they were
    // given, each once: the next goes when the receiver has answered the one before.
    void sendRemoteKey(RemoteKey key, bool longPress);

    // Requests that change the receiver; they are never sent twice by the network layer.
    static bool isCommand(RequestType type);

    // The stored URL of a type; empty when the engine has none for it.
    QUrl urlForRequest(RequestType type) const;
    // The type whose stored URL equals the given one, in the engine's comparison order.
    RequestType requestTypeForUrl(const QUrl& url) const;

    void setTransferTimeouts(int normalMs, int longMs);
    // Answers of at least this many bytes that can be read off the GUI thread are (bouquets
    // and EPG lists); -1 reads every answer in the GUI thread.
    void setBackgroundReadBytes(qsizetype bytes) { m_backgroundReadBytes = bytes; }
    const Profile& profile() const { return m_profile; }
    // No reply outstanding and no delayed request waiting.
    bool isSettled() const;
    // Ends the engine's part before it is deleted: replies under way are no longer read (they are
    // aborted with the engine), nothing more is sent, stored or signalled. Safe to call while one
    // of its own signals is delivered.
    void abandon();

public Q_SLOTS:
    // Takes the profile and rebuilds every fixed URL from its address and port.
    void constructRequestUrls(const Profile& profile);
    // Aborts the most recent request.
    void requestTimeout();

Q_SIGNALS:
    void networkRequestIsActive(bool isActive);
    void networkReceiveIsActive(bool isActive);
    void networkTransmitIsActive(bool isActive);
    void networkErrorOccurred(bool occurred);
    void networkErrorOccurred(QNetworkReply::NetworkError error);
    // A request of this type failed; httpStatus is 0 when no HTTP answer came.
    void requestFailed(RequestType type, QNetworkReply::NetworkError error, int httpStatus);
    // An answer of this type arrived but could not be read; nothing was stored from it. After a
    // command this means its outcome is unknown.
    void replyUnreadable(RequestType type);
    // The receiver answered that it did not carry out the command, in its own words (may be empty).
    void commandRefused(RequestType type, const QString& reason);
    // A reply of this type has been through the dispatch; failed when no usable answer came.
    void replyHandled(RequestType type, bool failed);
    // Every reply has been handled and no delayed request waits.
    void settled();
    // The receiver wants a session id with every request and took none it was given; reason is
    // its own word for it (may be empty). Told once for all the requests that failed with it.
    void sessionRefused(const QString& reason);

protected:
    // What a reading of a big answer produced; its objects live in the engine's thread.
    struct AnswerRead
    {
        virtual ~AnswerRead();
        bool ok = false;
        QString text; // the answer as the reader got it, kept only when it could not be read
    };
    struct BouquetsRead : AnswerRead
    {
        ~BouquetsRead() override;
        OwnedList<Bouquet> bouquets;
    };
    struct EventsRead : AnswerRead
    {
        ~EventsRead() override;
        OwnedList<EpgItem> events;
    };
    using AnswerReader = std::function<std::shared_ptr<AnswerRead>(const QString& text)>;

    // What the dispatch of a concrete engine gets of one reply.
    struct Reply
    {
        RequestType type = ReqNone;
        QString text;        // empty when the transfer failed
        QByteArray bytes;    // the answer as it came, for answers that are no text (pictures)
        bool failed = false; // network error, HTTP error status or time-out
        // The bouquet and service the request was sent for.
        QString bouquetReference;
        QString serviceReference;
        // The answer as read off the GUI thread, when it was big enough.
        std::shared_ptr<AnswerRead> read;
    };

    // How an engine handles the answer to one request type, in the order of the fields. A type
    // without a route is not looked at.
    struct ReplyRoute
    {
        QList<RequestType> followUps = {}; // sent before the answer is looked at
        // Reads the answer and keeps what it says; false when it was unreadable.
        std::function<bool(const Reply&)> read = {};
        std::function<void()> signal = {}; // tells that the answer was read
        QList<RequestType> followUpsWhenRead = {};
        std::function<void(const Reply&)> always = {}; // signals whether or not it could be read
        bool endsBusy = false;                         // the busy indication ends with it
    };

    TavrelRequest(TavrelDatabase* database, QObject* parent);

    // Reads the active profile and builds the URL table; called by the concrete constructors.
    void initializeFromSettings();
    // The context of a request sent without one of its own: the bouquet asked for last.
    RequestContext contextFor(RequestType type) const;
    // sendRequest for a request with its own context.
    void sendRequest(const RequestContext& request);
    // Sends a GET for the stored URL of the type. A type without a URL sends nothing.
    void sendStoredRequest(RequestType type);
    void sendStoredRequest(const RequestContext& request);
    // Stores "http://" + address + ":" + port + path as the URL of the type.
    void storeRequestUrl(RequestType type, const QString& pathAndQuery);
    // Stores the URL of a parameterised request and sends it.
    void sendWithUrl(RequestType type, const QString& pathAndQuery);
    void sendWithUrl(const RequestContext& request, const QString& pathAndQuery);
    // The same for a request that keeps the busy indication on until its answer was handled.
    void sendActiveWithUrl(RequestType type, const QString& pathAndQuery);
    void sendActiveWithUrl(const RequestContext& request, const QString& pathAndQuery);
    // A parameter as it goes into a query: "&", "#", "+", "%", spaces and non-ASCII encoded.
    static QString queryValue(const QString& value);
    void startNextRequestTimer(RequestType type, int delayMs);
    void startNextRequestTimer(const RequestContext& request, int delayMs);
    // Replaces a single-shot timer owned by the engine; the previous one is dropped unfired.
    QTimer* restartSingleShot(QPointer<QTimer>& timer, int delayMs);
    void checkSettled();
    // A transfer that failed was reported already; only a readable-looking answer is news.
    void reportUnreadable(const Reply& reply);

    TavrelDatabase* database() const;
    Settings* settings() const { return m_settings; }

    virtual void constructFixedUrls() = 0;
    // The path and query that press a key of the remote control.
    virtual QString remoteKeyPath(RemoteKey key, bool longPress) const = 0;
    virtual QList<RequestType> comparisonOrder() const = 0;
    // Requests that keep the busy indication on until their answer was handled.
    virtual bool isLongRequest(RequestType type) const;
    // Answers that can be megabytes on a big line-up get the long transfer time-out.
    static bool isBigLoad(RequestType type);
    // Commands after which the receiver may close the connection before it answers.
    static bool endsTheConnection(RequestType type);
    virtual bool hasPendingTimers() const;
    virtual void dispatchReply(const Reply& reply) = 0;
    // Where a receiver that guards its web interface with a session id hands the id out, and how
    // its answer reads; empty for engines whose receivers know no such guard.
    virtual QString sessionPath() const { return {}; }
    virtual bool readSessionId(const QString& text, QString& id) const;
    // The bouquet whose EPG was asked for last; requests sent without a context of their own
    // concern it.
    virtual QString currentBouquetReference() const { return {}; }
    // How to read an answer that can be big, so that it may run off the GUI thread; empty for
    // answers that are always read in the dispatch. It must not touch the engine.
    virtual AnswerReader answerReader(const Reply& reply) const;
    // Readers whose objects are handed to the engine's thread when they are done.
    AnswerReader bouquetsReader(std::function<bool(const QString&, OwnedList<Bouquet>&)> parse) const;
    AnswerReader eventsReader(std::function<bool(const QString&, OwnedList<EpgItem>&)> parse) const;
    // Reads a bouquet's events into its channels; false when the answer was unreadable.
    bool mergeBouquetEpg(const Reply& reply);
    // Reads the bouquets with their channels into the database; false when unreadable.
    bool storeBouquets(const Reply& reply);

    void addRoute(std::initializer_list<RequestType> types, const ReplyRoute& route);
    // Handles the reply by the route of its type.
    void routeReply(const Reply& reply);
    // The step of every answer that carries data: parse it into a new value; when it was
    // readable hand the value to keep, otherwise report the answer unreadable and drop what was
    // parsed.
    template<typename Value, typename Parse, typename Keep>
    std::function<bool(const Reply&)> reading(Parse parse, Keep keep)
    {
        return [this, parse, keep](const Reply& reply) {
            auto value = std::make_unique<Value>();
            if (!parse(reply.text, *value)) {
                reportUnreadable(reply);
                return false;
            }
            keep(std::move(value));
            return true;
        };
    }
    // The answer as read: off the GUI thread when it was big, here and now otherwise.
    template<typename Read>
    std::shared_ptr<Read> readAnswer(const Reply& reply) const
    {
        return std::static_pointer_cast<Read>(reply.read ? reply.read : answerReader(reply)(reply.text));
    }

private Q_SLOTS:
    void on_authenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);
    void requestError(QNetworkReply::NetworkError error);
    void requestReplyReadFinishedSlot(QNetworkReply* reply);
    void nextRequestTimerSlot();
    // Hands finished replies to the dispatch in the order they finished, each once it is read.
    void dispatchQueuedReplies();

private:
    struct QueuedReply
    {
        Reply reply;
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        int httpStatus = 0;
        QFutureWatcher<std::shared_ptr<AnswerRead>>* reading = nullptr; // null: read in the dispatch
    };

    // Sends a GET for the URL as stored for the request's type, with the session id once the
    // receiver wants one; secondTry marks the one repetition after the receiver refused it for
    // its id. The request carries its context to its reply.
    void transmit(const RequestContext& request, const QUrl& storedUrl, bool secondTry);
    // The request with its time-outs and credentials.
    QNetworkRequest prepareRequest(const QUrl& url, int timeoutMs);
    static void armDeadline(QNetworkReply* reply, int timeoutMs);
    // A big answer's data is taken a moment after it arrives, in slices.
    void scheduleCollecting(QNetworkReply* reply);
    void collectSlice(QNetworkReply* reply);
    // The URL a reply's request was stored under, before the session id was added.
    static QUrl storedUrlOf(const QNetworkReply* reply);
    // What the reply's request was sent for.
    static RequestContext contextOf(const QNetworkReply* reply);
    // The receiver refused the request for want of a valid session id, for the first time.
    bool isFirstSessionRefusal(const QNetworkReply* reply) const;
    // Such a request waits for an id and goes again; false when the refusal is final.
    bool retryWithSession(const QNetworkReply* reply);
    void fetchSession();
    void sessionReplyFinished(QNetworkReply* reply);
    // No id is to be had: the waiting requests fail as this answer did.
    void failSessionWaiters(QNetworkReply::NetworkError error, int httpStatus);
    void reportError(QNetworkReply::NetworkError error);

    // Decodes and reads the body on the thread pool.
    QFutureWatcher<std::shared_ptr<AnswerRead>>* startReading(AnswerReader reader, QByteArrayList chunks);

    static QString decodeBody(const QByteArray& body);
    // Answers that are bytes, not text: they are never decoded.
    static bool isBinaryAnswer(RequestType type) { return type == ReqScreenshot; }
    void sendNextRemoteKey();
    // The length of the whole UTF-8 sequence at bytes; 0 when none starts there.
    static qsizetype utf8SequenceLength(const uchar* bytes, qsizetype available);
    // The connection closed after a command that takes the receiver down: that is its success.
    bool isExpectedDrop(const QNetworkReply* reply) const;
    // Replies under way end unread; their signals no longer reach the engine.
    void abortReplies();
    // Replies under way go on, but their signals no longer reach the engine.
    void ignoreReplies();

    QPointer<TavrelDatabase> m_database;
    Settings* m_settings = nullptr;
    Profile m_profile;
    QNetworkAccessManager m_manager;
    bool m_errorReported = false;
    QPointer<QNetworkReply> m_currentReply;
    std::array<QUrl, requestTypeCount> m_urls;
    std::array<ReplyRoute, requestTypeCount> m_routes;
    RequestContext m_pendingRequest;
    QPointer<QTimer> m_nextRequestTimer;
    int m_repliesInFlight = 0;
    int m_transferTimeoutMs = defaultTransferTimeoutMs;
    int m_longTransferTimeoutMs = defaultLongTransferTimeoutMs;
    bool m_abandoned = false;
    qsizetype m_backgroundReadBytes = defaultBackgroundReadBytes;
    std::deque<QueuedReply> m_dispatchQueue;
    // What the big answers under way have brought so far.
    struct Collected
    {
        QByteArrayList chunks;
        bool scheduled = false; // a slice is due
    };
    QHash<const QNetworkReply*, Collected> m_collected;
    // Keys waiting for the one under way.
    std::deque<QString> m_remoteKeys;
    bool m_remoteKeyBusy = false; // sent and not yet dispatched
    ReceiverSession m_session;
};
