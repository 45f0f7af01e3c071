#pragma once

#include "box/e2readers.h"
#include "box/tavrelrequest.h"

#include <optional>

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
    void renameMovie(const QString&, const QString&) override {}
    void setVideoPosition(const QString&) override {}
    void sendMessageE1(const QString&, const QString&, bool, int) override {}
    void sendMessageE2(const QString& text, bool question, int timeout) override;
    void addTimer(const QString&, const QString&, const EpgItem*) override {}
    void addTimerForEvent(const EpgItem* event, bool justPlay) override;
    void deleteTimer(const TimerEntry* timer) override;
    void setVolume(const QString& level) override;
    void searchEpg(const QString& text) override;
    void requestSatfinderData(const QString&) override {}
    void requestSatfinderConfig() override {}
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
    // Reads a command's answer and reports a refusal or an unreadable answer; empty unless the
    // answer could be read.
    std::optional<E2CommandResult> readCommandOutcome(const Reply& reply);
    void handleStatus(const Reply& reply);
    void handleCurrentService(const Reply& reply);
    void handleServices(const Reply& reply);
    void handleEpg(const Reply& reply);
    void handleEpgNow(const Reply& reply);
    void handleEpgNext(const Reply& reply);
    void handleScreenshot(const Reply& reply);

    QString m_currentBouquetRef;
    QString m_zapServiceRef;
    QPointer<QTimer> m_afterZapTimer;
    int m_currentServiceRetries = 0;
    bool m_aboutRequested = false;
};
