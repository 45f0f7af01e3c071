// The service listing: every channel belongs to the bouquet it is listed in.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/bouquet.h"
#include "model/channel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    OwnedList<Bouquet> bouquets;
    const bool read = parseServiceListE1(replyText(data, size), bouquets);
    require(read != bouquets.empty());
    for (const auto& bouquet : bouquets) {
        for (const Channel* channel : bouquet->channels) {
            require(channel->parent() == bouquet.get());
            require(channel->bouquetName == bouquet->name);
            require(channel->serviceReference.endsWith(u':'));
        }
    }
    return 0;
}
