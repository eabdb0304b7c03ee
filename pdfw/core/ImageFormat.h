// One input format: everything the engine needs to know of it, as one record. Each reader room
// (jpeg, tiff, png) defines its format's record; formats/ImageFormats keeps the table of them
// and is where every question "which format is this file" is asked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/FileSignatures.h"
#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/InputFile.h"
#include "pdfw/core/PagePicture.h"
#include "pdfw/core/PagePixels.h"
#include "pdfw/core/PreparedImage.h"

namespace folvane::pdfw {

// How one page would go into the document, as the pre-flight shows it.
struct PageFacts {
    std::uint32_t width = 0; // upright, as placed
    std::uint32_t height = 0;
    int intake = PDFW_INTAKE_COPIED; // PDFW_INTAKE_COPIED, _REPAIRED or _RECOMPRESSED
    std::string repair;              // for a repair: what was wrong (PDFW_NOTE_REPAIRED's detail)
};

// The bytes of a file's start that recognising a format may look at.
inline constexpr std::size_t kSignatureBytes = folvane::kLongestSignature;

struct ImageFormat {
    const char *name; // "JPEG", "TIFF", "PNG": what the pre-flight shows
    int bit;          // PDFW_FORMAT_*: the format in a set of formats
    // True when the file's first bytes (`size` of them, at most kSignatureBytes) are this
    // format's signature.
    bool (*recognises)(const unsigned char *head, std::size_t size);
    // The pages of the file (>= 1); null for a format of one page.
    int (*countPages)(const InputFile &file);
    // How page `page` would go into a document of PDF version 1.`pdfMinor`: the decision
    // `prepare` takes, without writing. Raises what `prepare` raises for a page it cannot use.
    PageFacts (*inspect)(const InputFile &file, int page, int pdfMinor);
    // The page made ready for the document.
    PreparedImage (*prepare)(const InputFile &file, const ImageRequest &request);
    // The page's pixels for text recognition, grey or bilevel.
    PagePixels (*recognitionPixels)(const InputFile &file, int page, const MemoryProcs &memory);
    // The page's picture as 8-bit grey or RGB pixels, for document correction.
    PagePicture (*picture)(const InputFile &file, int page, const MemoryProcs &memory);
};

} // namespace folvane::pdfw
