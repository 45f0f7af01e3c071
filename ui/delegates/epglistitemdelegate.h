#pragma once

#include "ui/delegates/twolineitemdelegate.h"

// A row of a channel's EPG list: date and start time above, the title in bold below.
class EpgListItemDelegate : public TwoLineItemDelegate
{
    Q_OBJECT

public:
    explicit EpgListItemDelegate(QObject* parent);

protected:
    Lines lines(const QModelIndex& index) const override;
};
