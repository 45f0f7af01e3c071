// The timer list. An answer that is refused leaves no entries; times stay consistent.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OwnedList<TimerEntry> timers;
    const bool read = parseTimerListE1(replyText(data, size), timers, sampleClock());
    require(read || timers.empty());
    for (const auto& timer : timers) {
        require(timer->duration == -1 || timer->duration >= 1);
        require(timer->end >= timer->begin);
    }
    return 0;
}
