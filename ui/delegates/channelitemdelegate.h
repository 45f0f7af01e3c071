#pragma once

#include "ui/delegates/rowdelegate.h"

// A row of a bouquet's channel list in three bands: the channel name in bold with the
// progress of the current event, then the current event with its minutes left at the right,
// then the next event with its duration at the right. A long title is cut before the minutes.
class ChannelItemDelegate : public RowDelegate
{
    Q_OBJECT

public:
    explicit ChannelItemDelegate(QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
