#pragma once

#include <QString>

#include <vector>

class Clock;
class QDateTime;

// The date and "hh:mm" texts of receiver time stamps, as the clock gives them. An EPG answer
// carries thousands of stamps of the same few days, and converting every one through the
// time zone costs more than reading the answer, so the texts of one local day (or, on a day
// the clock changes, of one quarter hour) are worked out once.
class LocalTimeTexts
{
public:
    explicit LocalTimeTexts(const Clock& clock);

    QString dateText(qint64 secsSinceEpoch);
    QString timeText(qint64 secsSinceEpoch);

private:
    // Makes the known range cover the stamp; false when no range around it has one offset.
    bool cover(qint64 secsSinceEpoch);
    bool tryRange(qint64 begin, qint64 end, const QDateTime& local);

    const Clock& m_clock;
    qint64 m_rangeBegin = 0;
    qint64 m_rangeEnd = 0; // empty until the first stamp
    qint64 m_secondOfDayAtBegin = 0;
    QString m_date;
    std::vector<QString> m_minuteTexts; // "hh:mm" by minute of the day, filled as needed
};
