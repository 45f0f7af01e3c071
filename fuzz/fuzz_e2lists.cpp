// The receiver's lists: bouquets with channels, timers and recordings. A reader that fails
// must leave nothing behind.

#include "box/e2readers.h"
#include "fuzz/fuzzsupport.h"
#include "model/bouquet.h"
#include "model/channel.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = replyText(data, size);

    OwnedList<Bouquet> bouquets;
    const bool servicesRead = parseE2Services(text, bouquets);
    require(servicesRead != bouquets.empty());
    for (const auto& bouquet : bouquets) {
        for (const Channel* channel : bouquet->channels)
            require(channel->parent() == bouquet.get());
    }

    OwnedList<TimerEntry> timers;
    require(parseE2TimerList(text, timers, sampleClock()) || timers.empty());
    for (const auto& timer : timers)
        require(timer->duration != 0 && timer->duration >= -1);

    OwnedList<MovieEntry> movies;
    require(parseE2MovieList(text, movies) || movies.empty());
    for (const auto& movie : movies)
        require(movie->fileSizeText.isEmpty() || movie->fileSizeText.endsWith(u" MB"));
    return 0;
}
