#pragma once

#include "box/tavrelrequest.h"

#include <memory>

// The engine for Enigma1 receivers: "/cgi-bin/" commands and the pages of the older web
// interface. Commands are followed by the status or data page, so the status stays fresh.
// References go out in the form the receiver printed them (movie references with "%2f" for
// "/"): the receiver decodes the query value once and the reference a second time, which
// undoes its own escaping.
class RequestsE1 : public TavrelRequest
{
    Q_OBJECT

public:
    // The receiver needs a moment after a zap before its EPG page shows the new service.
    static constexpr int nextRequestDelayMs = 1000;

    // A reference that reads the same after the receiver decoded it a second time: one with '%'
    // or '+' in the form the receiver prints it (letters, digits and ':' plain, every other byte
    // escaped); one already in that form, or without either character, as it is.
    static QString printedReference(const QString& reference);

    explicit RequestsE1(TavrelDatabase* database, QObject* parent = nullptr);
    ~RequestsE1() override;

    void requestServiceEpg(const QString& serviceRef, const QString& bouquetRef) override;
    void requestBouquetEpg(const QString& bouquetRef) override;
    void zapToService(const QString& serviceRef) override;
    void zapToServiceInBouquet(const QString& serviceRef, const QString& bouquetRef) override;
    void playMovie(const QString& movieRef) override;
    void deleteMovie(const QString& movieRef) override;
    void renameMovie(const QString& movieRef, const QString& newTitle) override;
    void setVideoPosition(const QString& position) override;
    void sendMessageE1(const QString& caption, const QString& body, bool untilConfirmed,
                       int timeout) override;
    void addTimer(const QString& serviceRef, const QString& channelName, const EpgItem* event) override;
    void deleteTimer(const TimerEntry* timer) override;
    void setVolume(const QString& level) override;
    void requestSatfinderData(const QString& parameters) override;
    void requestSatfinderConfig() override;

Q_SIGNALS:
    void finishedAboutRequest(AboutInfoE1* info);
    void finishedStatusRequest();
    void finishedDataRequest();
    void finishedServiceDataRequest();
    void finishedEpgDataRequest();
    void finishedMultiEpgDataRequest();
    void finishedMovieListRequest();
    void finishedTimerListRequest();
    void finishedTimerEventAddRequest(bool eventSet);
    void finishedTimerEventDelRequest(bool eventDeleted);
    // The measurement stays valid until the next one arrives.
    void finishedSatfinderDataRequest(SatfinderData* data);
    // The configuration is kept by the database.
    void finishedSatfinderConfigRequest(SatfinderConfig* config);
    void finishedMessageSendRequest(bool confirmed);

protected:
    void constructFixedUrls() override;
    QString remoteKeyPath(RemoteKey key, bool longPress) const override;
    QList<RequestType> comparisonOrder() const override;
    void dispatchReply(const Reply& reply) override;
    QString currentBouquetReference() const override { return m_currentBouquetRef; }
    AnswerReader answerReader(const Reply& reply) const override;

private:
    // A reference as a query value that survives the receiver's second decoding.
    static QString referenceValue(const QString& reference);
    static bool isPrintedReference(const QString& reference);
    // Commands the receiver answers with an empty body.
    static bool answersWithNothing(RequestType type);
    // Keeps of each service's run of events the first two that have not ended by now.
    static void keepCurrentAndNext(OwnedList<EpgItem>& events, qint64 now);
    // The table from request type to the handling of its answer.
    void defineRoutes();
    // Merges the current events; an unreadable page is asked for once more.
    bool readEpg(const Reply& reply);
    // A timer command the receiver did not confirm.
    void reportRefusal(const Reply& reply);

    QString m_currentBouquetRef;
    bool m_epgRetried = false;
    std::unique_ptr<SatfinderData> m_satfinderData;
};
