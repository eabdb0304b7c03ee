// Reads one image file, decides its kind by content and writes it into the document as an
// image XObject.
#pragma once

#include <cstdint>
#include <string>

#include "pdfw/Memory.h"
#include "pdfw/ObjectWriter.h"

namespace pdfw {

struct LoadedImage {
    int object = 0;          // the image XObject
    std::uint32_t width = 0; // stored pixels
    std::uint32_t height = 0;
    int orientation = 1; // 1..8, how the stored picture is shown upright
    std::string notes;   // what the intake noticed ("repaired: ...", ...), one per line
};

class IccSpaces;

struct ImageRequest {
    std::string path;
    int page = 1;     // 1-based page of a multi-page file
    int pdfMinor = 4; // the document's PDF version is 1.pdfMinor
    MemoryProcs memory;
    IccSpaces *iccSpaces = nullptr; // the document's colour profiles; null: device colour only
};

// Writes the image through `writer`. Raises PDFW_IO_ERROR when the file cannot be read,
// PDFW_TYPE_ERROR when it is not JPEG, TIFF or PNG, and the errors of the readers.
LoadedImage loadImage(ObjectWriter &writer, const ImageRequest &request);

} // namespace pdfw
