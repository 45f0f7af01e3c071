// The satellite finder page. A page that is refused leaves nothing.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SatfinderData satfinder;
    if (!parseSatfinderDataE1(replyText(data, size), satfinder)) {
        require(satfinder.snr == 0 && satfinder.agc == 0 && satfinder.ber == 0 && !satfinder.lock &&
                !satfinder.sync);
    }
    return 0;
}
