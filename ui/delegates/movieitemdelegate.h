#pragma once

#include "box/localtimetexts.h"
#include "ui/delegates/twolineitemdelegate.h"

class Clock;

// A row of the movie list: recording date and time, channel and file size above, title and
// length in bold below. The recording time is shown in the local time of the given clock.
class MovieItemDelegate : public TwoLineItemDelegate
{
    Q_OBJECT

public:
    explicit MovieItemDelegate(QObject* parent);
    MovieItemDelegate(const Clock& clock, QObject* parent);

protected:
    Lines lines(const QModelIndex& index) const override;

private:
    mutable LocalTimeTexts m_timeTexts;
};
