#include "tools/boxsim/simclock.h"

#include <QDateTime>

namespace boxsim {

SimClock::SimClock(QObject* parent)
    : QObject(parent)
{}

qint64 SimClock::now() const
{
    return m_fixed ? m_fixedTime : QDateTime::currentSecsSinceEpoch() + m_offset;
}

void SimClock::setFixed(qint64 secsSinceEpoch)
{
    m_fixed = true;
    m_fixedTime = secsSinceEpoch;
    emit changed();
}

void SimClock::useSystemTime()
{
    m_fixed = false;
    m_offset = 0;
    emit changed();
}

void SimClock::advance(qint64 secs)
{
    if (m_fixed)
        m_fixedTime += secs;
    else
        m_offset += secs;
    emit changed();
}

} // namespace boxsim
