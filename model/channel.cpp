#include "model/channel.h"

#include "model/clock.h"
#include "model/epgitem.h"

#include <QtMath>

#include <algorithm>

Channel::Channel(QObject* parent)
    : QObject(parent)
{}

Channel::~Channel()
{
    qDeleteAll(m_epgList);
    m_epgList.clear();
    qDeleteAll(m_schedule);
    m_schedule.clear();
}

void Channel::addEpgItem(std::unique_ptr<EpgItem> item)
{
    const bool takesItem =
        m_epgList.isEmpty() || (m_epgList.size() == 1 && item->start > m_epgList.first()->start);
    if (takesItem) {
        item->setParent(this);
        m_epgList.append(item.release());
    }
    // Anything else is a duplicate, an older event or a third one: the unique_ptr drops it.
    if (m_epgList.size() == 2) {
        m_needsEpg = false;
        m_needsEpgPending = true;
    }
}

void Channel::refreshEpg(const Clock& clock)
{
    const qint64 now = clock.now();
    dropEndedScheduleEvents(now);
    while (true) {
        if (m_epgList.isEmpty()) {
            m_needsEpg = true;
            return;
        }
        EpgItem* first = m_epgList.first();
        if (now < qint64(first->end)) {
            if (m_epgList.size() > 1)
                m_needsEpg = false;
            const float elapsed = float(first->duration) - float(qint64(first->end) - now);
            if (elapsed < 0) {
                // Not begun yet: the receiver sent a future event as the current one.
                removeFirstEvent();
                m_needsEpg = true;
                return;
            }
            first->minutesLeft = (first->duration - int(elapsed)) / 60;
            first->progress = qRound((100.0f / float(first->duration)) * elapsed);
            return;
        }
        if (m_epgList.size() > 1)
            m_needsEpgPending = true;
        removeFirstEvent();
        if (m_epgList.size() < 2)
            m_needsEpg = true;
    }
}

void Channel::clearEpg()
{
    qDeleteAll(m_epgList);
    m_epgList.clear();
    qDeleteAll(m_schedule);
    m_schedule.clear();
    m_needsEpg = false;
    m_needsEpgPending = true;
}

bool Channel::takeNeedsEpg()
{
    if (!m_needsEpgPending)
        return false;
    m_needsEpgPending = false;
    return m_needsEpg;
}

void Channel::removeFirstEvent()
{
    delete m_epgList.takeFirst();
}

void Channel::setSchedule(OwnedList<EpgItem> events, qint64 now)
{
    qDeleteAll(m_schedule);
    m_schedule.clear();
    std::stable_sort(events.begin(), events.end(),
                     [](const auto& a, const auto& b) { return a->start < b->start; });
    for (auto& event : events) {
        if (qint64(event->end) <= now)
            continue;
        event->setParent(this);
        m_schedule.append(event.release());
    }
}

void Channel::dropEndedScheduleEvents(qint64 now)
{
    while (!m_schedule.isEmpty() && qint64(m_schedule.first()->end) <= now)
        delete m_schedule.takeFirst();
}
