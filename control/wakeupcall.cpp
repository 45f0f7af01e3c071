#include "control/wakeupcall.h"

#include "control/controltimer.h"

WakeUpCall::WakeUpCall(TimerSource& timerSource, QObject* parent)
    : QObject(parent)
    , m_timerSource(timerSource)
{}

void WakeUpCall::start()
{
    m_active = true;
    m_waiting = false;
    m_attempts = 0;
    m_timerSource.startSingleShot(m_pause, firstAttemptDelayMs, this, &WakeUpCall::fire);
}

void WakeUpCall::attemptFailed()
{
    // A failure reported twice for one attempt (several requests of it fail) counts once.
    if (!m_active || !m_waiting)
        return;
    m_waiting = false;
    if (m_attempts >= maxAttempts) {
        m_active = false;
        Q_EMIT gaveUp();
        return;
    }
    m_timerSource.startSingleShot(m_pause, retryDelayMs, this, &WakeUpCall::fire);
}

void WakeUpCall::connected()
{
    m_active = false;
    m_waiting = false;
    if (m_pause)
        m_pause->stop();
}

void WakeUpCall::fire()
{
    if (!m_active)
        return;
    ++m_attempts;
    m_waiting = true;
    Q_EMIT attempt();
}
