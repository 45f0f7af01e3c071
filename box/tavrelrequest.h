#pragma once

#include "box/requesttype.h"
#include "model/records.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <array>

class EpgItem;
class QAuthenticator;
class QTimer;
class Settings;
class TavrelDatabase;
struct TimerEntry;

// The engine through which the application talks to the receiver's web interface: it keeps the
// URL of every request type built from the active profile, sends GET requests without waiting,
// answers authentication challenges from the settings store, and matches each reply to its
// request by URL before the concrete engine parses it into the database.
class TavrelRequest : public QObject
{
    Q_OBJECT

public:
    // Time-outs of one transfer; the big loads (bouquets, EPG, lists) get the long one.
    static constexpr int defaultTransferTimeoutMs = 20000;
    static constexpr int defaultLongTransferTimeoutMs = 60000;

    ~TavrelRequest() override;

    virtual void sendRequest(RequestType type);
    virtual void requestServiceEpg(const QString& serviceRef, const QString& bouquetRef) = 0;
    virtual void requestBouquetEpg(const QString& bouquetRef) = 0;
    virtual void requestBouquetEpgNow(const QString& bouquetRef) = 0;
    virtual void requestSimilarEpg(const QString& serviceRef, const QString& eventId) = 0;
    virtual void zapToService(const QString& serviceRef) = 0;
    virtual void zapToServiceInBouquet(const QString& serviceRef, const QString& bouquetRef) = 0;
    virtual void playMovie(const QString& movieRef) = 0;
    virtual void deleteMovie(const QString& movieRef) = 0;
    virtual void renameMovie(const QString& movieRef, const QString& newTitle) = 0;
    virtual void setVideoPosition(const QString& position) = 0;
    virtual void sendMessageE1(const QString& caption, const QString& body, bool untilConfirmed,
                               int timeout) = 0;
    virtual void sendMessageE2(const QString& text, bool question, int timeout) = 0;
    virtual void addTimer(const QString& serviceRef, const QString& channelName, const EpgItem* event) = 0;
    virtual void addTimerForEvent(const EpgItem* event, bool justPlay) = 0;
    virtual void deleteTimer(const TimerEntry* timer) = 0;
    virtual void setVolume(const QString& level) = 0;
    virtual void searchEpg(const QString& text) = 0;
    virtual void requestSatfinderData(const QString& parameters) = 0;
    virtual void requestSatfinderConfig() = 0;

    // The stored URL of a type; empty when the engine has none for it.
    QUrl urlForRequest(RequestType type) const;
    // The type whose stored URL equals the given one, in the engine's comparison order.
    RequestType requestTypeForUrl(const QUrl& url) const;

    void setTransferTimeouts(int normalMs, int longMs);
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
    // An answer of this type arrived but could not be read; nothing was stored from it.
    void replyUnreadable(RequestType type);
    // Every reply has been handled and no delayed request waits.
    void settled();

protected:
    // What the dispatch of a concrete engine gets of one reply.
    struct Reply
    {
        RequestType type = ReqNone;
        QString text;        // empty when the transfer failed
        bool failed = false; // network error, HTTP error status or time-out
    };

    TavrelRequest(TavrelDatabase* database, QObject* parent);

    // Reads the active profile and builds the URL table; called by the concrete constructors.
    void initializeFromSettings();
    // Sends a GET for the stored URL of the type. A type without a URL sends nothing.
    void sendStoredRequest(RequestType type);
    // Stores "http://" + address + ":" + port + path as the URL of the type.
    void storeRequestUrl(RequestType type, const QString& pathAndQuery);
    // Stores the URL of a parameterised request and sends it.
    void sendWithUrl(RequestType type, const QString& pathAndQuery);
    // A parameter as it goes into a query: "&", "#", "+", "%", spaces and non-ASCII encoded.
    static QString queryValue(const QString& value);
    void startNextRequestTimer(RequestType type, int delayMs);
    // Replaces a single-shot timer owned by the engine; the previous one is dropped unfired.
    QTimer* restartSingleShot(QPointer<QTimer>& timer, int delayMs);
    void checkSettled();
    // A transfer that failed was reported already; only a readable-looking answer is news.
    void reportUnreadable(const Reply& reply);

    TavrelDatabase* database() const;
    Settings* settings() const { return m_settings; }

    virtual void constructFixedUrls() = 0;
    virtual QList<RequestType> comparisonOrder() const = 0;
    // Requests that keep the busy indication on until their answer was handled.
    virtual bool isLongRequest(RequestType type) const;
    // Answers that can be megabytes on a big line-up get the long transfer time-out.
    static bool isBigLoad(RequestType type);
    virtual bool hasPendingTimers() const;
    virtual void dispatchReply(const Reply& reply) = 0;

private Q_SLOTS:
    void on_authenticationRequired(QNetworkReply* reply, QAuthenticator* authenticator);
    void requestError(QNetworkReply::NetworkError error);
    void requestReplyReadFinishedSlot(QNetworkReply* reply);
    void nextRequestTimerSlot();

private:
    static QString decodeBody(const QByteArray& body);
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
    RequestType m_pendingRequest = ReqNone;
    QPointer<QTimer> m_nextRequestTimer;
    int m_repliesInFlight = 0;
    int m_transferTimeoutMs = defaultTransferTimeoutMs;
    int m_longTransferTimeoutMs = defaultLongTransferTimeoutMs;
    bool m_abandoned = false;
};
