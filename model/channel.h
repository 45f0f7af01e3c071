#pragma once

#include "model/ownedlist.h"

#include <QList>
#include <QObject>
#include <QString>

class Clock;
class EpgItem;

// One service of a bouquet with its now/next events (at most two, the current one first).
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
    // True once per change of the EPG when the channel lacks events.
    bool takeNeedsEpg();

    bool needsEpg() const { return m_needsEpg; }
    bool needsEpgPending() const { return m_needsEpgPending; }

    QString name;
    QString bouquetName;
    QString serviceReference;

private:
    void removeFirstEvent();

    QList<EpgItem*> m_epgList; // children of this channel
    bool m_needsEpg = false;
    bool m_needsEpgPending = true;
};
