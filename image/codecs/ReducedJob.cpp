#include "image/codecs/ReducedJob.h"

#include <cstdio>

#include "image/codecs/DecodeFailure.h"

ReducedSize ReducedJob::chooseSize(uint32_t uprightWidth, uint32_t uprightHeight,
                                   const char *module) {
    facts.uprightWidth = uprightWidth;
    facts.uprightHeight = uprightHeight;
    char text[kLastErrorSize];
    if (uprightWidth == 0 || uprightHeight == 0) {
        std::snprintf(text, sizeof text, "%s: the picture is %u x %u pixels: it has none", module,
                      uprightWidth, uprightHeight);
        raiseDecodeFailure(text);
    }
    if (uprightWidth > kReducedMaxSide || uprightHeight > kReducedMaxSide ||
        uint64_t{uprightWidth} * uprightHeight > kReducedMaxPixels) {
        std::snprintf(text, sizeof text,
                      "%s: a picture of %u x %u pixels is beyond what the reduced decode reads "
                      "(%u a side, %llu in all)",
                      module, uprightWidth, uprightHeight, kReducedMaxSide,
                      static_cast<unsigned long long>(kReducedMaxPixels));
        raiseDecodeFailure(text);
    }
    const std::optional<ReducedSize> size = choose(uprightWidth, uprightHeight);
    if (!size) {
        std::snprintf(text, sizeof text, "%s: no reduced size was chosen for %u x %u pixels",
                      module, uprightWidth, uprightHeight);
        raiseDecodeFailure(text);
    }
    return *size;
}
