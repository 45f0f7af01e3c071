// The multi-EPG page. A page that is refused leaves no events; every event has a start.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/epgitem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString bouquet = QStringLiteral("4097:7:0:1:0:0:0:0:0:0:");
    OwnedList<EpgItem> events;
    const bool read = parseMultiEpgE1(replyText(data, size), bouquet, events, sampleClock());
    require(read || events.empty());
    for (const auto& event : events) {
        require(event->start > 0 && event->bouquetReference == bouquet);
        require(event->duration == -1 || event->duration >= 1);
        require(!event->startTime.isEmpty() && !event->startDate.isEmpty());
    }
    return 0;
}
