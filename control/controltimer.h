#pragma once

#include <QObject>

// A timer of the controller. The controller never creates QTimer itself but asks a
// TimerSource, so tests can run its refresh and click timers on virtual time.
class ControlTimer : public QObject
{
    Q_OBJECT

public:
    enum class Mode
    {
        SingleShot,
        Repeating
    };

    // (Re)starts the timer: it times out after intervalMs and, when repeating, every intervalMs.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
    Mode mode() const { return m_mode; }

Q_SIGNALS:
    void timeout();

protected:
    ControlTimer(Mode mode, QObject* parent);

private:
    const Mode m_mode;
};

// Where the controller's timers come from.
class TimerSource
{
public:
    virtual ~TimerSource() = default;

    // A stopped timer, owned by the parent.
    virtual ControlTimer* createTimer(ControlTimer::Mode mode, QObject* parent) = 0;

    // (Re)starts a single-shot timer that is made on first use, owned by the receiver, with its
    // timeout going to the slot.
    template<typename Receiver>
    void startSingleShot(ControlTimer*& timer, int intervalMs, Receiver* receiver, void (Receiver::*slot)())
    {
        if (!timer) {
            timer = createTimer(ControlTimer::Mode::SingleShot, receiver);
            QObject::connect(timer, &ControlTimer::timeout, receiver, slot);
        }
        timer->start(intervalMs);
    }

    // Timers of the event loop.
    static TimerSource& system();
};
