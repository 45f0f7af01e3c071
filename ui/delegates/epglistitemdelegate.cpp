#include "ui/delegates/epglistitemdelegate.h"

#include "ui/delegates/itemroles.h"

EpgListItemDelegate::EpgListItemDelegate(QObject* parent)
    : TwoLineItemDelegate(BoldLine::Lower, parent)
{}

TwoLineItemDelegate::Lines EpgListItemDelegate::lines(const QModelIndex& index) const
{
    return {index.data(EpgListRole::StartDate).toString() % u' ' %
                index.data(EpgListRole::StartTime).toString(),
            index.data(EpgListRole::Title).toString()};
}
