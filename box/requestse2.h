#pragma once

#include "box/e2readers.h"
#include "box/tavrelrequest.h"

// The engine for receivers with the XML web interface under "/web/".
class RequestsE2 : public TavrelRequest
{
    Q_OBJECT

public:
    // Delay of the current-service request after the standby state changed.
    static constexpr int standbyChangeDelayMs = 500;
    // Delay of the EPG refresh after a zap: the receiver needs a moment to tune.
    static constexpr int afterZapDelayMs = 800;
    // Unreadable current-service answers are retried this often in the engine's life.
    static constexpr int currentServiceRetryLimit = 3;

    explicit RequestsE2(TavrelDatabase* database, QObject* parent = nullptr);
    ~RequestsE2() override;

    void requestServiceEpg(const QString& serviceRef, const QString& bouquetRef) override;
    void requestBouquetEpg(const QString& bouquetRef) override;
    void requestBouquetEpgNow(const QString& bouquetRef) override;
    void requestSimilarEpg(const QString& serviceRef, const QString& eventId) override;
    void zapToService(const QString& serviceRef) override;
    void zapToServiceInBouquet(const QString& serviceRef, const QString& bouquetRef) override;
    void playMovie(const QString& movieRef) override;
    void deleteMovie(const QString& movieRef) override;
    void sendMessageE2(const QString& text, bool question, int timeout) override;
    void addTimerForEvent(const EpgItem* event, bool justPlay) override;
    void deleteTimer(const TimerEntry* timer) override;
    void setVolume(const QString& level) override;
    void searchEpg(const QString& text) override;
    // The picture the TV shows, as PNG.
    void requestScreenshot();

Q_SIGNALS:
    void finishedAboutRequest();
    void finishedPowerstateRequest(bool isStandby);
    void finishedCurrentServiceRequest();
    void finishedCurrentTimeRequest();
    void finishedServiceDataRequest();
    void finishedSignalRequest(const SignalInfo* info);
    void finishedEpgDataRequest();
    void finishedEpgSimilarRequest();
    void finishedTimerListRequest();
    void finishedTimerEventAddRequest(bool eventSet);
    void finishedTimerEventDelRequest(bool eventDeleted);
    void finishedMovieListRequest();
    void finishedMovieDelRequest(bool deleted);
    void finishedVolumeRequest(bool isMute, int level);
    void finishedMessageSendRequest(bool confirmed);
    void finishedMessageAnswerRequest(MessageAnswer answerKey);
    void finishedSearchRequest();
    // The bytes of a PNG or JPEG picture; other answers are reported unreadable.
    void finishedScreenshotRequest(const QByteArray& picture);

protected:
    void constructFixedUrls() override;
    QString remoteKeyPath(RemoteKey key, bool longPress) const override;
    QList<RequestType> comparisonOrder() const override;
    bool hasPendingTimers() const override;
    void dispatchReply(const Reply& reply) override;
    QString currentBouquetReference() const override { return m_currentBouquetRef; }
    AnswerReader answerReader(const Reply& reply) const override;
    QString sessionPath() const override { return QStringLiteral("/web/session"); }
    bool readSessionId(const QString& text, QString& id) const override { return parseE2SessionId(text, id); }

private Q_SLOTS:
    void afterZapRequestTimerSlot();

private:
    // The table from request type to the handling of its answer.
    void defineRoutes();
    // Reads a command's answer and reports a refusal or an unreadable answer.
    void reportCommandOutcome(const Reply& reply);
    bool readVolume(const Reply& reply);
    bool readStatus(const Reply& reply);
    bool readCurrentService(const Reply& reply);
    // Keeps the zap for the EPG refresh that follows it after a delay.
    bool startAfterZapTimer(const Reply& reply);
    // Merges the current events and asks for the next ones, whether or not it could.
    bool readEpgNow(const Reply& reply);
    // A picture, or the page of text of a receiver without the grabber.
    bool readScreenshot(const Reply& reply);

    QString m_currentBouquetRef;
    // The zap the after-zap timer refreshes the EPG for.
    RequestContext m_zapped;
    QPointer<QTimer> m_afterZapTimer;
    int m_currentServiceRetries = 0;
    bool m_aboutRequested = false;
};
