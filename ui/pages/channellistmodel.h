#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>

#include <vector>

class Channel;

// The rows of one bouquet's channel list: the channel names and, once the EPG is known, each
// channel's now/next texts under the channel roles the row delegate reads. The values are
// copies, so painting never touches the receiver's image. A model rather than one item per
// channel keeps a bouquet of thousands of services cheap to build and to decorate.
class ChannelListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    ChannelListModel(const QList<Channel*>& channels, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Takes the first two events of every channel, row by row, and announces one change.
    void decorate(const QList<Channel*>& channels);

private:
    struct Row
    {
        QString name;
        int progress = 0;
        QString currentEvent;
        int minutesLeft = 0;
        QString nextEvent;
        int nextDuration = 0;
    };

    std::vector<Row> m_rows;
};
