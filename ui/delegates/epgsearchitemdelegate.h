#pragma once

#include "ui/delegates/twolineitemdelegate.h"

// A row of EPG search or similar-event results: the title in bold above, date, start time
// and channel below.
class EpgSearchItemDelegate : public TwoLineItemDelegate
{
    Q_OBJECT

public:
    explicit EpgSearchItemDelegate(QObject* parent);

protected:
    Lines lines(const QModelIndex& index) const override;
};
