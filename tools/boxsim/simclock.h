#pragma once

#include <QObject>

namespace boxsim {

// The receiver's clock: the system time (optionally shifted) or a fixed time that moves only
// when told to. Everything that depends on "now" asks this clock, so tests are exact.
class SimClock : public QObject
{
    Q_OBJECT
public:
    explicit SimClock(QObject* parent = nullptr);

    qint64 now() const;
    bool isFixed() const { return m_fixed; }

    void setFixed(qint64 secsSinceEpoch);
    void useSystemTime();
    void advance(qint64 secs);

signals:
    void changed();

private:
    bool m_fixed = false;
    qint64 m_fixedTime = 0;
    qint64 m_offset = 0;
};

} // namespace boxsim
