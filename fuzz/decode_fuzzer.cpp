// Decodes the input with CfImage::Decode, with the format hint FUZZ_HINT (0: detection),
// and, when FUZZ_HEADER_ONLY is set, in dimensions-only mode.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz/FuzzInput.h"
#include "image/CfImage.h"
#include "image/CfStdioStream.h"

#ifndef FUZZ_HINT
#define FUZZ_HINT 0
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fuzz::OpenMemory(data, size);
    if (file == nullptr) {
        return 0;
    }
    {
        CfStdioStream stream(file);
        CfImage image(FormatUnknown);
#ifdef FUZZ_HEADER_ONLY
        image.SetEscapeCode(-1);
#endif
        if (image.Decode(&stream, FUZZ_HINT) && image.IsValid()) {
            // Touch every pixel row so a short block shows up under the sanitizer.
            volatile uint8_t sink = 0;
            for (uint32_t y = 0; y < image.GetHeight(); ++y) {
                const uint8_t *row = image.RowPointer(y);
                sink = sink ^ row[0] ^ row[image.GetRowStride() - 1];
            }
            (void)sink;
        }
    }
    fclose(file);
    return 0;
}
