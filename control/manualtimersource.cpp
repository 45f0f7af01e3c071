#include "control/manualtimersource.h"

#include <algorithm>

class ManualTimer final : public ControlTimer
{
public:
    ManualTimer(ManualTimerSource* source, Mode mode, QObject* parent)
        : ControlTimer(mode, parent)
        , m_source(source)
    {
        m_source->m_timers.append(this);
    }

    ~ManualTimer() override
    {
        if (m_source)
            m_source->m_timers.removeOne(this);
    }

    void start(int intervalMs) override
    {
        if (!m_source)
            return;
        m_interval = std::max(0, intervalMs);
        m_due = m_source->m_now + m_interval;
        m_sequence = ++m_source->m_starts;
        m_active = true;
    }

    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }

    void detach()
    {
        m_source = nullptr;
        m_active = false;
    }

    ManualTimerSource* m_source;
    int m_interval = 0;
    qint64 m_due = 0;
    quint64 m_sequence = 0;
    bool m_active = false;
};

ManualTimerSource::ManualTimerSource() = default;

ManualTimerSource::~ManualTimerSource()
{
    for (ManualTimer* timer : std::as_const(m_timers))
        timer->detach();
}

ControlTimer* ManualTimerSource::createTimer(ControlTimer::Mode mode, QObject* parent)
{
    return new ManualTimer(this, mode, parent);
}

void ManualTimerSource::advance(qint64 ms)
{
    const qint64 until = m_now + std::max<qint64>(0, ms);
    while (ManualTimer* timer = nextDue(until)) {
        m_now = timer->m_due;
        if (timer->mode() == ControlTimer::Mode::SingleShot) {
            timer->m_active = false;
        } else {
            // A repeating timer of 0 ms would keep the time from moving on.
            timer->m_due += std::max(1, timer->m_interval);
            timer->m_sequence = ++m_starts;
        }
        Q_EMIT timer->timeout();
    }
    m_now = until;
}

ManualTimer* ManualTimerSource::nextDue(qint64 until) const
{
    ManualTimer* next = nullptr;
    for (ManualTimer* timer : m_timers) {
        if (!timer->m_active || timer->m_due > until)
            continue;
        if (!next || timer->m_due < next->m_due ||
            (timer->m_due == next->m_due && timer->m_sequence < next->m_sequence))
            next = timer;
    }
    return next;
}
