#pragma once

#include <QtGlobal>

namespace boxsim {

// The receiver's clock: the system time (optionally shifted) or a fixed time that moves only
// when told to. Everything that depends on "now" asks this clock, so tests are exact.
class SimClock
{
public:
    qint64 now() const;

    void setFixed(qint64 secsSinceEpoch);
    void useSystemTime();
    void advance(qint64 secs);

private:
    bool m_fixed = false;
    qint64 m_fixedTime = 0;
    qint64 m_offset = 0;
};

} // namespace boxsim
