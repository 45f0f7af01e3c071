#include "ui/delegates/epgsearchitemdelegate.h"

#include "ui/delegates/itemroles.h"

EpgSearchItemDelegate::EpgSearchItemDelegate(QObject* parent)
    : TwoLineItemDelegate(BoldLine::Upper, parent)
{}

TwoLineItemDelegate::Lines EpgSearchItemDelegate::lines(const QModelIndex& index) const
{
    return {index.data(EpgSearchRole::Title).toString(),
            index.data(EpgSearchRole::StartDate).toString() % u' ' %
                index.data(EpgSearchRole::StartTime).toString() % u' ' %
                index.data(EpgSearchRole::ServiceName).toString()};
}
