#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The one source of "now" for everything that compares receiver time stamps with the present
// (EPG progress, minutes left, pruning, timer states, the minute-aligned refresh), and of the
// conversion into the local time the user reads. Tests substitute a ManualClock.
class Clock
{
public:
    virtual ~Clock() = default;

    // Seconds since 1970-01-01 UTC.
    virtual qint64 now() const = 0;
    // The given UTC time stamp as local date and time of the user.
    virtual QDateTime toLocal(qint64 secsSinceEpoch) const = 0;

    // Date as the lists show it: the layout of a text date ("Sun Dec 6 2026") with the day and
    // month names of the user's language.
    QString dateText(qint64 secsSinceEpoch) const;
    static QString textDate(const QDate& date, const QLocale& locale = QLocale::system());
    // Time of day as "hh:mm".
    QString timeText(qint64 secsSinceEpoch) const;

    // The real clock in the machine's time zone.
    static const Clock& system();
};

class SystemClock final : public Clock
{
public:
    qint64 now() const override;
    QDateTime toLocal(qint64 secsSinceEpoch) const override;
};

// A clock that moves only when told to, with a fixed offset from UTC as its "local" time.
class ManualClock final : public Clock
{
public:
    explicit ManualClock(qint64 now = 0, int utcOffsetSeconds = 0)
        : m_now(now)
        , m_utcOffsetSeconds(utcOffsetSeconds)
    {}

    qint64 now() const override { return m_now; }
    QDateTime toLocal(qint64 secsSinceEpoch) const override;

    void set(qint64 now) { m_now = now; }
    void advance(qint64 seconds) { m_now += seconds; }

private:
    qint64 m_now = 0;
    int m_utcOffsetSeconds = 0;
};
