// Event answers: the now/next and service EPG of a bouquet, search results and the current
// service. A reader that fails must leave nothing behind.

#include "box/e2readers.h"
#include "model/clock.h"
#include "model/currentservice.h"
#include "model/epgitem.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ManualClock clock(1710443862, 3600);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    OwnedList<EpgItem> events;
    if (!parseE2BouquetEpg(text, QStringLiteral("bq"), events, clock) && !events.empty())
        std::abort();
    for (const auto& event : events) {
        if (event->start == 0 || event->bouquetReference != u"bq")
            std::abort();
    }
    if (!parseE2EventList(text, events, clock) && !events.empty())
        std::abort();

    CurrentServiceE2 service;
    const bool serviceRead = parseE2CurrentService(text, service, clock);
    if (serviceRead == service.serviceReference.isEmpty() || (!serviceRead && !service.events.empty()))
        std::abort();
    return 0;
}
