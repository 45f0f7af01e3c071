// Event answers: the now/next and service EPG of a bouquet, search results and the current
// service. A reader that fails must leave nothing behind.

#include "box/e2readers.h"
#include "fuzz/fuzzsupport.h"
#include "model/currentservice.h"
#include "model/epgitem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = replyText(data, size);

    OwnedList<EpgItem> events;
    require(parseE2BouquetEpg(text, QStringLiteral("bq"), events, sampleClock()) || events.empty());
    for (const auto& event : events)
        require(event->start != 0 && event->bouquetReference == u"bq");
    require(parseE2EventList(text, events, sampleClock()) || events.empty());

    CurrentServiceE2 service;
    const bool serviceRead = parseE2CurrentService(text, service, sampleClock());
    require(serviceRead != service.serviceReference.isEmpty() && (serviceRead || service.events.empty()));
    return 0;
}
