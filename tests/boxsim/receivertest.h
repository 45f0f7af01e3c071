#pragma once

#include "tests/boxsim/boxsimtest.h"
#include "tools/boxsim/boxsim.h"

#include <QObject>
#include <QTest>

#include <memory>

namespace boxsimtest {

// The base of test classes that talk to one receiver: before each test a receiver whose clock
// stands at Now, listening on a free port, and a client for it; both go after the test. On
// Enigma1 the client logs in, as the status page always asks for it.
class ReceiverTest : public QObject
{
    Q_OBJECT

public:
    // Whether reboot, GUI restart and deep standby take the receiver away for a while.
    enum class PowerDowntime
    {
        AsBuilt,
        None,
    };

protected:
    explicit ReceiverTest(boxsim::Personality personality, PowerDowntime downtime = PowerDowntime::AsBuilt)
        : m_personality(personality)
        , m_downtime(downtime)
    {}

    Fetched get(const QByteArray& target, int timeoutMs = 10000)
    {
        return m_client->get(m_box->baseUrl(), target, timeoutMs);
    }

    std::unique_ptr<boxsim::BoxSim> m_box;
    std::unique_ptr<Client> m_client;

private slots:
    // Slots of a base class run before and after each test of the derived one, as its own.
    void init()
    {
        m_box = std::make_unique<boxsim::BoxSim>(m_personality);
        m_box->setFixedTime(Now);
        if (m_downtime == PowerDowntime::None) {
            for (const auto action : {boxsim::PowerAction::Reboot, boxsim::PowerAction::RestartGui,
                                      boxsim::PowerAction::DeepStandby})
                m_box->setDowntime(action, 0);
        }
        QVERIFY(m_box->listen() != 0);
        m_client = std::make_unique<Client>();
        if (m_personality == boxsim::Personality::Enigma1)
            m_client->setCredentials(QStringLiteral("root"), QStringLiteral("root"));
    }

    void cleanup()
    {
        m_client.reset();
        m_box.reset();
    }

private:
    const boxsim::Personality m_personality;
    const PowerDowntime m_downtime;
};

} // namespace boxsimtest
