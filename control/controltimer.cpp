#include "control/controltimer.h"

#include <QTimer>

namespace {

class EventLoopTimer final : public ControlTimer
{
public:
    EventLoopTimer(Mode mode, QObject* parent)
        : ControlTimer(mode, parent)
    {
        m_timer.setSingleShot(mode == Mode::SingleShot);
        // The minute-aligned refresh and the 250 ms double click need the interval they ask for.
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &ControlTimer::timeout);
    }

    void start(int intervalMs) override { m_timer.start(intervalMs); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    int interval() const override { return m_timer.interval(); }

private:
    QTimer m_timer;
};

class EventLoopTimerSource final : public TimerSource
{
public:
    ControlTimer* createTimer(ControlTimer::Mode mode, QObject* parent) override
    {
        return new EventLoopTimer(mode, parent);
    }
};

} // namespace

ControlTimer::ControlTimer(Mode mode, QObject* parent)
    : QObject(parent)
    , m_mode(mode)
{}

TimerSource& TimerSource::system()
{
    static EventLoopTimerSource source;
    return source;
}
