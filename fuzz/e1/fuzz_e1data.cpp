// The data page of script variables. A page that is refused leaves nothing.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DeviceData device;
    if (parseDataPageE1(replyText(data, size), device)) {
        require(device.videoActive == (device.videoTime != u"0:00" && device.videoPosition != 0));
    } else {
        require(device.nowD.isEmpty() && device.nowSt.isEmpty() && device.diskGB.isEmpty() &&
                device.diskH.isEmpty() && device.upTime.isEmpty() && device.volume == 0 && !device.mute &&
                device.videoTime.isEmpty() && device.videoPosition == 0 && !device.videoActive &&
                device.agc.isEmpty() && device.snr.isEmpty() && device.ber.isEmpty());
    }
    return 0;
}
