#include "model/epgitem.h"

#include "model/recordfields.h"

EpgItem::EpgItem(QObject* parent)
    : QObject(parent)
{}

EpgItem::~EpgItem() = default;

std::unique_ptr<EpgItem> EpgItem::clone() const
{
    auto copy = std::make_unique<EpgItem>();
    copyFields(*this, *copy);
    return copy;
}
