#pragma once

#include <QObject>

class ControlTimer;
class TimerSource;

// Connecting again after a wake-up call, while the receiver boots: an attempt a little after
// the call, and another after every failed one, until one succeeds or the receiver has had
// time enough to come up.
class WakeUpCall : public QObject
{
    Q_OBJECT

public:
    static constexpr int firstAttemptDelayMs = 5000;
    static constexpr int retryDelayMs = 5000;
    static constexpr int maxAttempts = 24;

    WakeUpCall(TimerSource& timerSource, QObject* parent);

    bool isActive() const { return m_active; }

public Q_SLOTS:
    // The packet has gone out: the first attempt follows after a pause.
    void start();
    // The attempt under way failed: another after a pause, or giving up.
    void attemptFailed();
    // The receiver answered: no more attempts.
    void connected();

Q_SIGNALS:
    void attempt();
    void gaveUp();

private:
    void fire();

    TimerSource& m_timerSource;
    ControlTimer* m_pause = nullptr;
    bool m_active = false;
    bool m_waiting = false; // an attempt has been made and has not ended yet
    int m_attempts = 0;
};
