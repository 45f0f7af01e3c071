#pragma once

#include "ui/delegates/twolineitemdelegate.h"

// A row of the timer list: the state icon in a square at the left, then date, times, channel
// and the kind of timer above and the timer's name and description in bold below.
class TimerEventItemDelegate : public TwoLineItemDelegate
{
    Q_OBJECT

public:
    explicit TimerEventItemDelegate(QObject* parent);

protected:
    Lines lines(const QModelIndex& index) const override;
    int textLeft(const QRect& row) const override;
};
