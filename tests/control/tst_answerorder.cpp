// Big answers (bouquets, EPG lists) are read off the GUI thread. What the engine reports must
// not change for that: answers are handled in the order they finished, small ones are read at
// once, and an engine that goes away while it reads neither crashes nor leaks. (That what they
// build lives in the GUI thread is checked where the controller loads the receiver.)

#include "box/requestse2.h"
#include "model/tavreldatabase.h"
#include "tests/common/simulatedreceiver.h"

#include <QRegularExpression>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <thread>

namespace {

// An Enigma2 engine whose readings off the GUI thread wait until the test lets them go on.
class HeldRequestsE2 : public RequestsE2
{
public:
    using RequestsE2::RequestsE2;

    void release(int readings = 1) { m_gate->release(readings); }
    std::shared_ptr<QSemaphore> gate() const { return m_gate; }
    int started() const { return m_started->available(); }

protected:
    AnswerReader answerReader(const Reply& reply) const override
    {
        AnswerReader reader = RequestsE2::answerReader(reply);
        if (!reader)
            return reader;
        QThread* gui = thread();
        return [reader, gate = m_gate, started = m_started, gui](const QString& text) {
            // Small answers are read in the dispatch, at once.
            if (QThread::currentThread() != gui) {
                started->release();
                gate->acquire();
            }
            return reader(text);
        };
    }

private:
    // Shared with readings that may outlive a test step.
    std::shared_ptr<QSemaphore> m_gate = std::make_shared<QSemaphore>();
    std::shared_ptr<QSemaphore> m_started = std::make_shared<QSemaphore>();
};

} // namespace

class TestAnswerOrder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        m_receiver = std::make_unique<SimulatedReceiver>(boxsim::Personality::Enigma2);
        QVERIFY(m_receiver->port != 0);
        m_database = std::make_unique<TavrelDatabase>(m_receiver->clock);
    }

    void cleanup()
    {
        m_database.reset();
        m_receiver.reset();
    }

    void laterSmallAnswerWaitsForTheBigOne()
    {
        HeldRequestsE2 engine(m_database.get());
        engine.setBackgroundReadBytes(0);
        QStringList order;
        connect(&engine, &RequestsE2::finishedServiceDataRequest, &engine,
                [&] { order << QStringLiteral("services"); });
        connect(&engine, &RequestsE2::finishedVolumeRequest, &engine,
                [&] { order << QStringLiteral("volume"); });
        m_receiver->box.setPathFault(QStringLiteral("/web/vol"), {.latencyMs = 100});

        engine.sendRequest(ReqServices);
        engine.sendRequest(ReqVolume);
        // The bouquets are being read while the volume answer comes in.
        QTRY_COMPARE(engine.started(), 1);
        QTRY_COMPARE(m_receiver->requestsTo("/web/vol").size(), 1);
        QTRY_VERIFY(m_receiver->requestsTo("/web/vol").first().status != 0);
        QTest::qWait(50);
        QVERIFY(order.isEmpty());
        QVERIFY(!engine.isSettled());

        // Released only now, the services answer: the follow-up requests wait behind the gate too.
        engine.release(100);
        QTRY_VERIFY_WITH_TIMEOUT(engine.isSettled(), 10000);
        QCOMPARE(order.mid(0, 2), (QStringList{QStringLiteral("services"), QStringLiteral("volume")}));
        QVERIFY(m_database->serviceDataLoaded());
    }

    void smallAnswersAreReadAtOnce()
    {
        HeldRequestsE2 engine(m_database.get());
        // The default line-up's answers are all far below the size worth a thread.
        QSignalSpy services(&engine, &RequestsE2::finishedServiceDataRequest);
        engine.sendRequest(ReqServices);
        QTRY_VERIFY_WITH_TIMEOUT(engine.isSettled(), 10000);
        QCOMPARE(services.size(), 1);
        QCOMPARE(engine.started(), 0);
    }

    void engineGoneWhileReading_data()
    {
        QTest::addColumn<bool>("abandonFirst");
        QTest::newRow("deleted while reading") << false;
        QTest::newRow("abandoned, then deleted while reading") << true;
    }

    void engineGoneWhileReading()
    {
        QFETCH(bool, abandonFirst);
        auto engine = std::make_unique<HeldRequestsE2>(m_database.get());
        engine->setBackgroundReadBytes(0);
        QSignalSpy services(engine.get(), &RequestsE2::finishedServiceDataRequest);
        engine->sendRequest(ReqServices);
        QTRY_COMPARE(engine->started(), 1);

        if (abandonFirst) {
            engine->abandon();
            engine->release();
            QTest::qWait(100);
            QVERIFY(services.isEmpty());
        }
        // The reading ends a moment after the engine is asked to go; deletion waits for it.
        std::thread releaser([gate = engine->gate()] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            gate->release();
        });
        engine.reset();
        releaser.join();
        QVERIFY(services.isEmpty());
        QVERIFY(!m_database->serviceDataLoaded());
    }

private:
    std::unique_ptr<SimulatedReceiver> m_receiver;
    std::unique_ptr<TavrelDatabase> m_database;
};

QTEST_GUILESS_MAIN(TestAnswerOrder)
#include "tst_answerorder.moc"
