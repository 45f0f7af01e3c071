// Receivers that guard their web interface with a session id, and receivers that do not: the
// engine learns the guard from the first refusal, asks for an id once and sends it from then on.

#include "box/requestse2.h"
#include "model/bouquet.h"
#include "model/epgitem.h"
#include "model/tavreldatabase.h"
#include "tests/common/simulatedreceiver.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using boxsim::FaultKind;

class TestSessionGuard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void flows_data();
    void flows();
    void expiredIdIsRenewedOnce();
    void retriedEventsLandInTheirOwnBouquet();
    void guardThatCannotBePassed_data();
    void guardThatCannotBePassed();

private:
    void settle() { QTRY_VERIFY_WITH_TIMEOUT(m_engine->isSettled(), 10000); }
    QList<int> statuses() const
    {
        QList<int> list;
        for (const boxsim::LoggedRequest& request : m_receiver->box.requests())
            list.append(request.status);
        return list;
    }

    std::unique_ptr<SimulatedReceiver> m_receiver;
    std::unique_ptr<TavrelDatabase> m_database;
    std::unique_ptr<RequestsE2> m_engine;
};

void TestSessionGuard::init()
{
    m_engine.reset();
    m_database.reset();
    m_receiver = std::make_unique<SimulatedReceiver>(boxsim::Personality::Enigma2);
    m_receiver->box.setSessionGuard(true);
    m_database = std::make_unique<TavrelDatabase>(m_receiver->clock);
    m_engine = std::make_unique<RequestsE2>(m_database.get());
}

void TestSessionGuard::flows_data()
{
    QTest::addColumn<QString>("flow");
    QTest::addColumn<QByteArray>("command"); // carried out once, whatever the guard
    QTest::addColumn<bool>("guarded");
    QTest::addColumn<int>("refused"); // requests turned away before the id was known

    const struct
    {
        const char* flow;
        const char* command;
        int refused;
    } rows[] = {{"full load", "", 1},
                {"zap", "/web/zap", 1},
                {"timer add", "/web/timeraddbyeventid", 1},
                {"movie delete", "/web/moviedelete", 1},
                {"three at once", "", 3}};
    for (const bool guarded : {true, false}) {
        for (const auto& row : rows)
            QTest::addRow("%s, %s", row.flow, guarded ? "guarded" : "open")
                << QString::fromLatin1(row.flow) << QByteArray(row.command) << guarded << row.refused;
    }
}

void TestSessionGuard::flows()
{
    QFETCH(QString, flow);
    QFETCH(QByteArray, command);
    QFETCH(bool, guarded);
    QFETCH(int, refused);

    boxsim::BoxSim& box = m_receiver->box;
    box.setSessionGuard(guarded);
    const QString zdf = u"1:0:19:2B66:3F3:1:C00000:0:0:0:"_s;
    const QList<boxsim::Movie> movies = box.movies();
    const qsizetype timers = box.timers().size();
    EpgItem event;
    event.serviceReference = zdf;
    event.eventId = QString::number(box.nextEvent(zdf)->id);
    QSignalSpy failed(m_engine.get(), &TavrelRequest::requestFailed);
    QSignalSpy added(m_engine.get(), &RequestsE2::finishedTimerEventAddRequest);
    QSignalSpy deleted(m_engine.get(), &RequestsE2::finishedMovieDelRequest);
    const QMap<QString, std::function<void()>> start{
        {u"full load"_s, [&] { m_engine->sendRequest(ReqServices); }},
        {u"zap"_s, [&] { m_engine->zapToServiceInBouquet(zdf, u"1:7:1:0:0:0:0:0:0:0:"_s); }},
        {u"timer add"_s, [&] { m_engine->addTimerForEvent(&event, false); }},
        {u"movie delete"_s, [&] { m_engine->deleteMovie(movies.first().reference); }},
        {u"three at once"_s, [&] {
             for (const RequestType type : {ReqAbout, ReqTimerList, ReqMovieList})
                 m_engine->sendRequest(type);
         }}};
    start[flow]();
    settle();

    QCOMPARE(failed.count(), 0);
    const QStringList targets = m_receiver->targets();
    QCOMPARE(targets.count(u"/web/session"_s), guarded ? 1 : 0);
    QCOMPARE(statuses().count(412), guarded ? refused : 0);
    // Before the id was known nothing carried one; after it everything does.
    const qsizetype session = targets.indexOf(u"/web/session"_s);
    for (qsizetype i = 0; i < targets.size(); ++i)
        QCOMPARE(targets.at(i).contains(u"sessionid="_s), guarded && i > session);
    QCOMPARE(m_engine->urlForRequest(ReqStatus).query(), QString());
    // Refused before it acted, a command goes again once and is carried out once.
    if (!command.isEmpty())
        QCOMPARE(m_receiver->requestsTo(command).size(), guarded ? 2 : 1);
    if (flow == u"full load"_s)
        QVERIFY(m_database->serviceDataLoaded() && m_database->aboutInfo() && m_database->signalInfo());
    if (flow == u"zap"_s)
        QVERIFY(box.currentServiceReference() == zdf && m_receiver->requestsTo("/web/epgnext").size() == 1);
    if (flow == u"timer add"_s)
        QVERIFY(added.count() == 1 && added.first().first().toBool() && box.timers().size() == timers + 1);
    if (flow == u"movie delete"_s)
        QVERIFY(deleted.count() == 1 && deleted.first().first().toBool() &&
                box.movies().size() == movies.size() - 1);
    if (flow == u"three at once"_s)
        QVERIFY(m_database->aboutInfo() && m_database->timers().size() == timers &&
                m_database->movies().size() == movies.size());
}

void TestSessionGuard::expiredIdIsRenewedOnce()
{
    m_receiver->box.setSessionLifetime(600);
    m_engine->sendRequest(ReqCurrentTime);
    settle();
    const QString first = m_receiver->box.requests().last().queryValue(u"sessionid"_s);
    QVERIFY(!first.isEmpty());
    m_receiver->box.advanceTime(601);
    m_receiver->box.clearRequests();
    QSignalSpy time(m_engine.get(), &RequestsE2::finishedCurrentTimeRequest);
    QSignalSpy errors(m_engine.get(), qOverload<bool>(&TavrelRequest::networkErrorOccurred));
    m_engine->sendRequest(ReqCurrentTime);
    settle();

    const QString renewed = m_receiver->box.requests().last().queryValue(u"sessionid"_s);
    QVERIFY(!renewed.isEmpty() && renewed != first);
    QCOMPARE(m_receiver->targets(), (QStringList{u"/web/currenttime?sessionid="_s + first, u"/web/session"_s,
                                                 u"/web/currenttime?sessionid="_s + renewed}));
    QCOMPARE(statuses(), (QList<int>{412, 200, 200}));
    QCOMPARE(time.count(), 1);
    QCOMPARE(errors.count(), 0);
}

void TestSessionGuard::retriedEventsLandInTheirOwnBouquet()
{
    m_receiver->box.setSessionGuard(false);
    m_engine->sendRequest(ReqServices);
    settle();
    m_receiver->box.setSessionGuard(true);
    const QString first = m_database->bouquet(0)->reference;
    const QString second = m_database->bouquet(1)->reference;
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    // Both are refused for want of an id and go again once it is known.
    m_engine->requestBouquetEpg(first);
    m_engine->requestBouquetEpg(second);
    settle();

    QCOMPARE(statuses().count(412), 2);
    QVERIFY(m_database->hasEpg(0, 0));
    QVERIFY(m_database->hasEpg(1, 0));
    QCOMPARE(m_database->epgItem(0, 0, 0)->bouquetReference, first);
    QCOMPARE(active.count(QVariantList{true}), active.count(QVariantList{false}));
}

void TestSessionGuard::guardThatCannotBePassed_data()
{
    QTest::addColumn<QString>("path"); // where the receiver always refuses
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<int>>("statuses");
    QTest::addColumn<QString>("reason");

    const QString refusal = u"sessionid is missing, invalid or expired!"_s;
    QTest::newRow("no id from the session either")
        << u"/web/session"_s << int(FaultKind::SessionRefused) << QList<int>{412, 412} << refusal;
    QTest::newRow("fresh id refused as well")
        << u"/web/getallservices"_s << int(FaultKind::SessionRefused) << QList<int>{412, 200, 412} << refusal;
    QTest::newRow("session page broken")
        << u"/web/session"_s << int(FaultKind::Http500) << QList<int>{412, 500} << QString();
}

void TestSessionGuard::guardThatCannotBePassed()
{
    QFETCH(QString, path);
    QFETCH(int, kind);
    QFETCH(QList<int>, statuses);
    QFETCH(QString, reason);

    m_receiver->box.setPathFault(path, {FaultKind(kind)});
    QSignalSpy refused(m_engine.get(), &TavrelRequest::sessionRefused);
    QSignalSpy failed(m_engine.get(), &TavrelRequest::requestFailed);
    QSignalSpy errorCode(m_engine.get(),
                         qOverload<QNetworkReply::NetworkError>(&TavrelRequest::networkErrorOccurred));
    QSignalSpy active(m_engine.get(), &TavrelRequest::networkRequestIsActive);
    m_engine->sendRequest(ReqServices);
    settle();
    QTest::qWait(100); // nothing more is asked

    QCOMPARE(this->statuses(), statuses);
    QCOMPARE(refused.count(), 1);
    QCOMPARE(refused.first().first().toString(), reason);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().at(0).value<RequestType>(), ReqServices);
    QCOMPARE(failed.first().at(2).toInt(), 412);
    QCOMPARE(errorCode.count(), 1);
    QCOMPARE(active.count(QVariantList{true}), active.count(QVariantList{false}));
    QVERIFY(!m_database->serviceDataLoaded());
}

QTEST_GUILESS_MAIN(TestSessionGuard)
#include "tst_sessionguard.moc"
