#include "ui/delegates/channelitemdelegate.h"

#include "ui/delegates/itemroles.h"

#include <QPainter>

namespace {

constexpr int leftMargin = 5;
constexpr int rightMargin = 10;
constexpr int rowHeightInPoints = 5;
constexpr int progressGap = 6;
constexpr int columnGap = 11;

} // namespace

ChannelItemDelegate::ChannelItemDelegate(QObject* parent)
    : RowDelegate(parent)
{}

void ChannelItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    if (!paintItem(painter, option, index))
        return;

    const QString name = index.data(ChannelRole::Name).toString();
    const QString current = index.data(ChannelRole::CurrentEvent).toString();
    const QString next = index.data(ChannelRole::NextEvent).toString();
    QString progressText;
    QString minutesText;
    if (!current.isEmpty()) {
        progressText =
            u'(' % QString::number(index.data(ChannelRole::Progress).toInt()) % QLatin1String("%)");
        minutesText = u' ' % QString::number(index.data(ChannelRole::MinutesLeft).toInt()) % u' ' % tr("min");
    }
    QString nextDurationText;
    if (!next.isEmpty())
        nextDurationText =
            u' ' % QString::number(index.data(ChannelRole::NextDuration).toInt()) % u' ' % tr("min");

    const RowFonts& rowFonts = fonts(option, painter);
    const QRect& r = option.rect;
    const int h = r.height();
    const int left = r.left() + leftMargin;
    const int right = r.right() - rightMargin;
    const int topBottom = r.bottom() - 2 * h / 3;
    const int middleTop = r.top() + h / 3;
    const int middleBottom = r.bottom() - h / 3;
    const int bottomTop = r.top() + 2 * h / 3;

    painter->save();
    prepareText(painter, option);

    const QRect nameRect =
        drawLine(painter, QRect(QPoint(left, r.top()), QPoint(right, topBottom)),
                 Qt::AlignLeft | Qt::AlignBottom, name, rowFonts.bold(), rowFonts.boldMetrics());
    drawLine(painter, QRect(QPoint(nameRect.right() + progressGap, r.top()), QPoint(right, topBottom)),
             Qt::AlignLeft | Qt::AlignBottom, progressText, rowFonts.normalFull(),
             rowFonts.normalFullMetrics());

    const QRect middleBand(QPoint(left, middleTop), QPoint(right, middleBottom));
    const QRect minutesRect = drawLine(painter, middleBand, Qt::AlignRight | Qt::AlignBottom, minutesText,
                                       rowFonts.normal(), rowFonts.normalMetrics());
    drawLine(painter, QRect(QPoint(left, middleTop), QPoint(minutesRect.left() - columnGap, middleBottom)),
             Qt::AlignLeft | Qt::AlignBottom, current, rowFonts.normal(), rowFonts.normalMetrics());

    const QRect bottomBand(QPoint(left, bottomTop), QPoint(right, r.bottom()));
    const QRect durationRect = drawLine(painter, bottomBand, Qt::AlignRight | Qt::AlignTop, nextDurationText,
                                        rowFonts.normal(), rowFonts.normalMetrics());
    drawLine(painter, QRect(QPoint(left, bottomTop), QPoint(durationRect.left() - columnGap, r.bottom())),
             Qt::AlignLeft | Qt::AlignTop, next, rowFonts.normal(), rowFonts.normalMetrics());

    painter->restore();
}

QSize ChannelItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return rowSize(option, rowHeightInPoints);
}
