#include "box/localtimetexts.h"

#include "model/clock.h"

#include <QDateTime>

namespace {

constexpr qint64 secondsPerDay = 24 * 60 * 60;
constexpr qint64 minutesPerDay = 24 * 60;
constexpr qint64 quarterHour = 15 * 60;

} // namespace

LocalTimeTexts::LocalTimeTexts(const Clock& clock)
    : m_clock(clock)
{}

QString LocalTimeTexts::dateText(qint64 secsSinceEpoch)
{
    if (!cover(secsSinceEpoch))
        return m_clock.dateText(secsSinceEpoch);
    return m_date;
}

QString LocalTimeTexts::timeText(qint64 secsSinceEpoch)
{
    if (!cover(secsSinceEpoch))
        return m_clock.timeText(secsSinceEpoch);
    const qint64 minute = (m_secondOfDayAtBegin + secsSinceEpoch - m_rangeBegin) / 60;
    if (minute < 0 || minute >= minutesPerDay)
        return m_clock.timeText(secsSinceEpoch);
    if (m_minuteTexts.empty())
        m_minuteTexts.resize(minutesPerDay);
    QString& text = m_minuteTexts[size_t(minute)];
    if (text.isNull()) {
        const int hours = int(minute / 60);
        const int minutes = int(minute % 60);
        text = QString::asprintf("%02d:%02d", hours, minutes);
    }
    return text;
}

bool LocalTimeTexts::cover(qint64 secsSinceEpoch)
{
    if (secsSinceEpoch >= m_rangeBegin && secsSinceEpoch < m_rangeEnd)
        return true;
    const QDateTime local = m_clock.toLocal(secsSinceEpoch);
    if (!local.isValid())
        return false;
    const qint64 secondOfDay = local.time().msecsSinceStartOfDay() / 1000;
    const qint64 dayBegin = secsSinceEpoch - secondOfDay;
    if (tryRange(dayBegin, dayBegin + secondsPerDay, local))
        return true;
    const qint64 quarterBegin = secsSinceEpoch - secsSinceEpoch % quarterHour;
    return tryRange(quarterBegin, quarterBegin + quarterHour, local);
}

// The range counts when its first and last second have the stamp's date and UTC offset:
// then every second between them maps to that date and to a time of day by plain addition.
bool LocalTimeTexts::tryRange(qint64 begin, qint64 end, const QDateTime& local)
{
    const QDateTime first = m_clock.toLocal(begin);
    const QDateTime last = m_clock.toLocal(end - 1);
    if (first.date() != local.date() || last.date() != local.date() ||
        first.offsetFromUtc() != local.offsetFromUtc() || last.offsetFromUtc() != local.offsetFromUtc())
        return false;
    m_rangeBegin = begin;
    m_rangeEnd = end;
    m_secondOfDayAtBegin = first.time().msecsSinceStartOfDay() / 1000;
    m_date = Clock::textDate(local.date());
    return true;
}
