// The status page, and the answers to timer commands. A page that is refused leaves nothing.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = replyText(data, size);
    StatusInfoE1 status;
    if (parseStatusPageE1(text, status)) {
        require(status.mode >= BoxModeTv && status.mode <= BoxModeStandby);
    } else {
        require(status.currentTime.isEmpty() && status.serviceReference.isEmpty() &&
                status.serviceName.isEmpty() && status.provider.isEmpty() && status.videoFormat.isEmpty() &&
                !status.standby && !status.recording && status.mode == 0);
    }
    require(answerIsSuccess(text) == text.contains(u"successfully"));
    return 0;
}
