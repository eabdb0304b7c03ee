// Prepares one image file for the document: reads it, decides its kind by content, checks,
// decodes and compresses it as its kind needs. Preparing touches no document, so it may run
// on any thread; the document's writer then puts the result in (PreparedWriter).
#pragma once

#include <cstdint>
#include <string>

#include "pdfw/Memory.h"
#include "pdfw/PreparedImage.h"

namespace pdfw {

// An image that is in the document: its XObject's number and what placing it needs.
struct LoadedImage {
    int object = 0;          // the image XObject
    std::uint32_t width = 0; // stored pixels
    std::uint32_t height = 0;
    int orientation = 1; // 1..8, how the stored picture is shown upright
    std::string notes;   // newline-separated remarks from preparing ("" if none)
};

struct ImageRequest {
    std::string path;
    int page = 1;     // 1-based page of a multi-page file
    int pdfMinor = 4; // the document's PDF version is 1.pdfMinor
    MemoryProcs memory;
    std::string ocrLanguages; // recognise the text in these languages too; "": no
};

// Raises PDFW_IO_ERROR when the file cannot be read, PDFW_TYPE_ERROR when it is not JPEG, TIFF
// or PNG, and the errors of the readers; with languages, recognises the text as well
// (recognizeImage).
PreparedImage prepareImage(const ImageRequest &request);

} // namespace pdfw
