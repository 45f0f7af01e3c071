#include "model/clock.h"

#include <QTimeZone>

QString Clock::dateText(qint64 secsSinceEpoch) const
{
    return textDate(toLocal(secsSinceEpoch).date());
}

QString Clock::textDate(const QDate& date, const QLocale& locale)
{
    // Qt's own text date always speaks English.
    return locale.toString(date, QStringLiteral("ddd MMM d yyyy"));
}

QString Clock::timeText(qint64 secsSinceEpoch) const
{
    return toLocal(secsSinceEpoch).time().toString(QStringLiteral("hh:mm"));
}

const Clock& Clock::system()
{
    static const SystemClock clock;
    return clock;
}

qint64 SystemClock::now() const
{
    return QDateTime::currentSecsSinceEpoch();
}

QDateTime SystemClock::toLocal(qint64 secsSinceEpoch) const
{
    return QDateTime::fromSecsSinceEpoch(secsSinceEpoch, Qt::LocalTime);
}

QDateTime ManualClock::toLocal(qint64 secsSinceEpoch) const
{
    return QDateTime::fromSecsSinceEpoch(secsSinceEpoch, Qt::OffsetFromUTC, m_utcOffsetSeconds);
}
