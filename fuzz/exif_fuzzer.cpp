// Walks the input's JPEG marker segments and EXIF block with CfExifReader, in metadata mode.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "fuzz/FuzzInput.h"
#include "image/CfStdioStream.h"
#include "image/codecs/CfExifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fuzz::OpenMemory(data, size);
    if (file == nullptr) {
        return 0;
    }
    {
        CfStdioStream stream(file);
        ExifRecord record{};
        CfExifReader reader(&record);
        reader.ReadJpegSegments(&stream, 1);
    }
    fclose(file);
    return 0;
}
