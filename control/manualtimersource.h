#pragma once

#include "control/controltimer.h"

#include <QList>

class ManualTimer;

// Timers on virtual time for tests: nothing fires until advance() moves the time on, and then
// every timer that falls due fires in order of its due time (ties in the order they were
// started). It must outlive the timers it made, or at least be destroyed after their owner.
class ManualTimerSource final : public TimerSource
{
public:
    ManualTimerSource();
    ~ManualTimerSource() override;

    ControlTimer* createTimer(ControlTimer::Mode mode, QObject* parent) override;

    // Moves the virtual time on by ms, firing what falls due on the way.
    void advance(qint64 ms);
    // Virtual milliseconds since the source was made.
    qint64 elapsed() const { return m_now; }

private:
    friend class ManualTimer;

    ManualTimer* nextDue(qint64 until) const;

    QList<ManualTimer*> m_timers;
    qint64 m_now = 0;
    quint64 m_starts = 0;
};
