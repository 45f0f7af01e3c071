#include "ui/delegates/twolineitemdelegate.h"

#include <QPainter>

namespace {

constexpr int leftMargin = 5;
constexpr int rightMargin = 10;
constexpr int rowHeightInPoints = 4;

} // namespace

TwoLineItemDelegate::TwoLineItemDelegate(BoldLine boldLine, QObject* parent)
    : RowDelegate(parent)
    , m_boldLine(boldLine)
{}

void TwoLineItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    if (!paintItem(painter, option, index))
        return;
    const Lines text = lines(index);
    const RowFonts& rowFonts = fonts(option, painter);
    const QRect& r = option.rect;
    const int h = r.height();
    const int left = textLeft(r);
    const int right = r.right() - rightMargin;
    const QRect upperBand(QPoint(left, r.top()), QPoint(right, r.bottom() - h / 2));
    const QRect lowerBand(QPoint(left, r.top() + h / 2), QPoint(right, r.bottom()));
    const bool upperBold = m_boldLine == BoldLine::Upper;

    painter->save();
    prepareText(painter, option);
    drawLine(painter, upperBand, Qt::AlignLeft | Qt::AlignBottom, text.upper,
             upperBold ? rowFonts.bold() : rowFonts.normal(),
             upperBold ? rowFonts.boldMetrics() : rowFonts.normalMetrics());
    drawLine(painter, lowerBand, Qt::AlignLeft | Qt::AlignTop, text.lower,
             upperBold ? rowFonts.normal() : rowFonts.bold(),
             upperBold ? rowFonts.normalMetrics() : rowFonts.boldMetrics());
    painter->restore();
}

QSize TwoLineItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return rowSize(option, rowHeightInPoints);
}

int TwoLineItemDelegate::textLeft(const QRect& row) const
{
    return row.left() + leftMargin;
}
