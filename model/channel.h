#pragma once

#include "model/ownedlist.h"

#include <QList>
#include <QObject>
#include <QString>

class Clock;
class EpgItem;

// One service of a bouquet with its now/next events (at most two, the current one first) and,
// once the receiver sent the service's own EPG, its schedule: the events of that answer that
// have not ended yet.
class Channel : public QObject
{
    Q_OBJECT

public:
    explicit Channel(QObject* parent = nullptr);
    ~Channel() override;

    // Keeps the event when it is the first one or starts after the only one; drops the rest.
    void addEpgItem(std::unique_ptr<EpgItem> item);
    // Drops ended and not yet begun events and brings progress and minutes left up to now.
    void refreshEpg(const Clock& clock);
    void clearEpg();
    bool hasEpg() const { return !m_epgList.isEmpty(); }
    QList<EpgItem*> epgList() const { return m_epgList; }
    // Replaces the schedule with these events; the ones that ended by now are dropped.
    void setSchedule(OwnedList<EpgItem> events, qint64 now);
    // Drops the schedule's events that ended by now.
    void dropEndedScheduleEvents(qint64 now);
    bool hasSchedule() const { return !m_schedule.isEmpty(); }
    QList<EpgItem*> schedule() const { return m_schedule; }
    // The events to browse: the schedule where there is one, now/next otherwise.
    QList<EpgItem*> events() const { return m_schedule.isEmpty() ? m_epgList : m_schedule; }
    // True once per change of the EPG when the channel lacks events.
    bool takeNeedsEpg();

    bool needsEpg() const { return m_needsEpg; }
    bool needsEpgPending() const { return m_needsEpgPending; }

    QString name;
    QString bouquetName;
    QString serviceReference;

private:
    void removeFirstEvent();

    QList<EpgItem*> m_epgList;  // children of this channel
    QList<EpgItem*> m_schedule; // children of this channel, in time order
    bool m_needsEpg = false;
    bool m_needsEpgPending = true;
};
