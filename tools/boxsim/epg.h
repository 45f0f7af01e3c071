#pragma once

#include "tools/boxsim/lineup.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace boxsim {

// A programme of the EPG pools: the texts an event shows, also pre-escaped for XML answers.
struct Programme
{
    QString title;
    QString description;
    QString descriptionExtended;
    int genreId = 0;
    QString genre;      // the receiver's long genre text
    QString shortGenre; // one word, as Enigma1 pages print it
    QByteArray xmlTitle;
    QByteArray xmlDescription;
    QByteArray xmlDescriptionExtended;
    QByteArray xmlGenre;
};

struct EpgEvent
{
    qint64 start = 0;
    int duration = 0;
    int id = 0;
    int programme = 0; // index into the programme pool
    qint64 end() const { return start + duration; }
};

// The EPG of every service, computed rather than stored: each service's day is filled with
// events chosen from the seed, the service and the day, so any window of any service is the
// same on every call and costs a few microseconds.
class EpgGenerator
{
public:
    // The receiver keeps EPG from a day ago to two days ahead.
    static constexpr qint64 WindowBefore = 86400;
    static constexpr qint64 WindowAfter = 2 * 86400;

    explicit EpgGenerator(quint64 seed = 1);

    void setSeed(quint64 seed);
    static const Programme& programme(const EpgEvent& event);
    static const Programme& programme(int index);
    static int programmeCount();

    // Events of the service that overlap [from, to), in time order.
    QList<EpgEvent> events(const LineUpService& service, qint64 from, qint64 to) const;
    // The event running at t.
    std::optional<EpgEvent> at(const LineUpService& service, qint64 t) const;
    // The event that follows the one running at t.
    std::optional<EpgEvent> after(const LineUpService& service, qint64 t) const;
    // The event with this id within [from, to).
    std::optional<EpgEvent> byId(const LineUpService& service, int id, qint64 from, qint64 to) const;

    Event toPublic(const EpgEvent& event, const LineUpService& service) const;

private:
    QList<EpgEvent> day(const LineUpService& service, qint64 dayNumber) const;

    quint64 m_seed = 1;
    mutable QHash<QPair<quint64, qint64>, QList<EpgEvent>> m_days;
};

} // namespace boxsim
