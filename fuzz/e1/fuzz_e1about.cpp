// The about page. A page that is refused leaves nothing.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AboutInfoE1 about;
    if (!parseAboutPageE1(replyText(data, size), about)) {
        require(about.model.isEmpty() && about.manufacturer.isEmpty() && about.processor.isEmpty() &&
                about.harddisk.isEmpty() && about.usbStick.isEmpty() && about.linuxKernel.isEmpty() &&
                about.firmware.isEmpty() && about.webInterface.isEmpty());
    }
    return 0;
}
