#pragma once

// Helpers every fuzz program shares: the input as a reply body, the clock of the sample
// answers and the way to report a broken promise.

#include "model/clock.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The fuzz input as a reply body: UTF-8, as the engine decodes it.
inline QString replyText(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The moment and zone the receiver's sample pages were taken in.
inline const Clock& sampleClock()
{
    static const ManualClock clock(1710443862, 3600);
    return clock;
}

// A broken promise of a reader: stop with a crash, so that the fuzzer keeps the input.
inline void require(bool promise)
{
    if (!promise)
        std::abort();
}
