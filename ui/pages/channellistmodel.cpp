#include "ui/pages/channellistmodel.h"

#include "model/channel.h"
#include "model/epgitem.h"
#include "ui/delegates/itemroles.h"

ChannelListModel::ChannelListModel(const QList<Channel*>& channels, QObject* parent)
    : QAbstractListModel(parent)
{
    m_rows.reserve(size_t(channels.size()));
    for (const Channel* channel : channels)
        m_rows.push_back(Row{channel->name, 0, QString(), 0, QString(), 0});
}

int ChannelListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant ChannelListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_rows.size()))
        return {};
    const Row& row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
    case ChannelRole::Name:
        return row.name;
    case ChannelRole::Progress:
        return row.progress;
    case ChannelRole::CurrentEvent:
        return row.currentEvent;
    case ChannelRole::MinutesLeft:
        return row.minutesLeft;
    case ChannelRole::NextEvent:
        return row.nextEvent;
    case ChannelRole::NextDuration:
        return row.nextDuration;
    default:
        return {};
    }
}

void ChannelListModel::decorate(const QList<Channel*>& channels)
{
    const size_t count = std::min(m_rows.size(), size_t(channels.size()));
    for (size_t i = 0; i < count; ++i) {
        Row& row = m_rows[i];
        const QList<EpgItem*> events = channels.at(qsizetype(i))->epgList();
        if (events.isEmpty()) {
            row.progress = 0;
            row.currentEvent.clear();
            row.minutesLeft = 0;
            row.nextEvent.clear();
            row.nextDuration = 0;
            continue;
        }
        const EpgItem* now = events.first();
        row.progress = now->progress;
        row.currentEvent = now->startTime + QLatin1Char(' ') + now->title;
        row.minutesLeft = now->minutesLeft;
        if (events.size() > 1) {
            const EpgItem* next = events.at(1);
            row.nextEvent = next->startTime + QLatin1Char(' ') + next->title;
            // Stored in seconds; the row shows minutes.
            row.nextDuration = next->duration > 0 ? next->duration / 60 : 0;
        } else {
            row.nextEvent.clear();
            row.nextDuration = 0;
        }
    }
    if (count > 0)
        Q_EMIT dataChanged(index(0), index(int(count) - 1));
}
