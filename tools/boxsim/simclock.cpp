#include "tools/boxsim/simclock.h"

#include <QDateTime>

namespace boxsim {

qint64 SimClock::now() const
{
    return m_fixed ? m_fixedTime : QDateTime::currentSecsSinceEpoch() + m_offset;
}

void SimClock::setFixed(qint64 secsSinceEpoch)
{
    m_fixed = true;
    m_fixedTime = secsSinceEpoch;
}

void SimClock::useSystemTime()
{
    m_fixed = false;
    m_offset = 0;
}

void SimClock::advance(qint64 secs)
{
    if (m_fixed)
        m_fixedTime += secs;
    else
        m_offset += secs;
}

} // namespace boxsim
