#include "ui/delegates/movieitemdelegate.h"

#include "model/clock.h"
#include "ui/delegates/itemroles.h"

MovieItemDelegate::MovieItemDelegate(QObject* parent)
    : MovieItemDelegate(Clock::system(), parent)
{}

MovieItemDelegate::MovieItemDelegate(const Clock& clock, QObject* parent)
    : TwoLineItemDelegate(BoldLine::Lower, parent)
    , m_timeTexts(clock)
{}

TwoLineItemDelegate::Lines MovieItemDelegate::lines(const QModelIndex& index) const
{
    const QString channelAndSize =
        index.data(MovieRole::ServiceName).toString() % u' ' % index.data(MovieRole::FileSizeText).toString();
    const QString titleAndLength =
        index.data(MovieRole::Title).toString() % u' ' % index.data(MovieRole::Length).toString();
    // A row without a usable recording time shows no date rather than the first of January 1970.
    bool ok = false;
    const qint64 time = index.data(MovieRole::Time).toLongLong(&ok);
    if (!ok || time < 0)
        return {channelAndSize, titleAndLength};
    return {m_timeTexts.dateText(time) % u' ' % m_timeTexts.timeText(time) % u' ' % channelAndSize,
            titleAndLength};
}
