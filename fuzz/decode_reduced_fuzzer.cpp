// Decodes the input with DecodeReduced, as the preview does a large picture: fitted within
// 97 x 61 pixels, keeping the whole picture, then once more keeping only its middle.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz/FuzzInput.h"
#include "image/CfImage.h"
#include "image/CfStdioStream.h"
#include "image/ReducedDecode.h"

namespace {

std::optional<ReducedSize> Fit(uint32_t width, uint32_t height, bool middle) {
    ReducedSize size = reducedSizeWithin(width, height, 97, 61);
    if (middle) {
        size.keep =
            ImageBox{int32_t(size.width / 4), int32_t(size.height / 4),
                     int32_t(size.width - size.width / 4), int32_t(size.height - size.height / 4)};
    }
    return size;
}

// Touches every row of the picture so a short block shows up under the sanitizer.
void Touch(const CfImage &image) {
    volatile uint8_t sink = 0;
    for (uint32_t y = 0; y < image.GetHeight(); ++y) {
        const uint8_t *row = image.RowPointer(y);
        sink = sink ^ row[0] ^ row[image.GetRowStride() - 1];
    }
    (void)sink;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    for (const bool middle : {false, true}) {
        FILE *file = fuzz::OpenMemory(data, size);
        if (file == nullptr) {
            return 0;
        }
        {
            CfStdioStream stream(file);
            CfImage image(FormatUnknown);
            const ReducedSizeChooser choose = [middle](uint32_t w, uint32_t h) {
                return Fit(w, h, middle);
            };
            if (decodeReduced(&stream, choose, image) && image.IsValid()) {
                Touch(image);
            }
        }
        fclose(file);
    }
    return 0;
}
