// The receiver's lists: bouquets with channels, timers and recordings. A reader that fails
// must leave nothing behind.

#include "box/e2readers.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/clock.h"
#include "model/records.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ManualClock clock(1710443862, 3600);
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    OwnedList<Bouquet> bouquets;
    const bool servicesRead = parseE2Services(text, bouquets);
    if (servicesRead == bouquets.empty())
        std::abort();
    for (const auto& bouquet : bouquets) {
        for (const Channel* channel : bouquet->channels) {
            if (channel->parent() != bouquet.get())
                std::abort();
        }
    }

    OwnedList<TimerEntry> timers;
    if (!parseE2TimerList(text, timers, clock) && !timers.empty())
        std::abort();
    for (const auto& timer : timers) {
        if (timer->duration == 0 || timer->duration < -1)
            std::abort();
    }

    OwnedList<MovieEntry> movies;
    if (!parseE2MovieList(text, movies) && !movies.empty())
        std::abort();
    for (const auto& movie : movies) {
        if (!movie->fileSizeText.isEmpty() && !movie->fileSizeText.endsWith(u" MB"))
            std::abort();
    }
    return 0;
}
