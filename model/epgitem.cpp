#include "model/epgitem.h"

EpgItem::EpgItem(QObject* parent)
    : QObject(parent)
{}

EpgItem::~EpgItem() = default;

std::unique_ptr<EpgItem> EpgItem::clone() const
{
    auto copy = std::make_unique<EpgItem>();
    copy->serviceName = serviceName;
    copy->serviceReference = serviceReference;
    copy->bouquetReference = bouquetReference;
    copy->startDate = startDate;
    copy->startTime = startTime;
    copy->start = start;
    copy->end = end;
    copy->duration = duration;
    copy->progress = progress;
    copy->minutesLeft = minutesLeft;
    copy->title = title;
    copy->descriptionExtended = descriptionExtended;
    copy->eventId = eventId;
    copy->currentTime = currentTime;
    copy->description = description;
    return copy;
}
