#include "ui/delegates/timereventitemdelegate.h"

#include "ui/delegates/itemroles.h"

TimerEventItemDelegate::TimerEventItemDelegate(QObject* parent)
    : TwoLineItemDelegate(BoldLine::Lower, parent)
{}

TwoLineItemDelegate::Lines TimerEventItemDelegate::lines(const QModelIndex& index) const
{
    const QString justPlay = index.data(TimerRole::JustPlay).toString();
    QString timerLine;
    if (justPlay.isEmpty() || justPlay == u'1' || justPlay == u'0') {
        timerLine = index.data(TimerRole::DateText).toString() % u' ' %
                    index.data(TimerRole::BeginTimeText).toString() % u'-' %
                    index.data(TimerRole::EndTimeText).toString() % u' ' %
                    index.data(TimerRole::ServiceName).toString();
        if (justPlay == u'1')
            timerLine += QLatin1String(" - ") % tr("Zap Timer");
        else if (justPlay == u'0')
            timerLine += QLatin1String(" - ") % tr("Record Timer");
    }

    const QString name = index.data(TimerRole::Name).toString();
    const QString description = index.data(TimerRole::Description).toString();
    QString nameLine = description;
    if (!name.isEmpty())
        nameLine = description.isEmpty() ? name : name % QLatin1String(" - ") % description;
    return {timerLine, nameLine};
}

int TimerEventItemDelegate::textLeft(const QRect& row) const
{
    // A square as high as the row stays free for the state icon.
    return row.left() + row.height();
}
