// The satellite finder control page: the selection always points into the page's own lists, and
// every satellite has its transponder names and parameters.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SatfinderConfig config;
    if (!parseSatfinderConfigE1(replyText(data, size), config)) {
        require(config.satellites.isEmpty() && config.channelNames.isEmpty() &&
                config.channelRefs.isEmpty() && config.currentBouquet == 0 && config.currentChannel == 0);
        return 0;
    }
    require(config.channelNames.size() == config.satellites.size());
    require(config.channelRefs.size() == config.satellites.size());
    require(config.currentBouquet >= 0 && config.currentChannel >= 0);
    if (config.satellites.isEmpty()) {
        require(config.currentBouquet == 0 && config.currentChannel == 0);
    } else {
        require(config.currentBouquet < config.satellites.size());
        const QStringList& transponders = config.channelNames.at(config.currentBouquet);
        require(config.currentChannel == 0 || config.currentChannel < transponders.size());
    }
    return 0;
}
