// Joins the strips of a JPEG-compressed TIFF page into one JPEG stream without decoding
// them, so the page goes into the PDF as the camera or scanner coded it.
#pragma once

#include <cstddef>
#include <optional>

#include "pdfw/core/InputFile.h"
#include "pdfw/core/Memory.h"
#include "pdfw/tiff/TiffFile.h"

namespace folvane::pdfw {

// Every strip of such a page is a small JPEG of its own: start marker, frame header (with
// the strip's height), one scan, end marker; the quantisation and Huffman tables usually
// live once in the JPEGTables tag. One JPEG of the whole page is the tables, the first
// strip's frame header with the page's height, a restart interval of one strip, and the
// strips' coded data separated by restart markers, which reset the DC predictions just as
// a new strip does.
//
// Returns nothing when the strips cannot be joined that way (different frame headers,
// restart markers or several scans of their own, a strip height that is not a whole number
// of MCU rows, strips that are not where the tags say): the caller then decodes the page.
// `tables` is the JPEGTables tag's content without its end marker (empty when absent).
std::optional<Buffer> joinJpegStrips(TiffFile &tiff, const InputFile &file,
                                     const unsigned char *tables, std::size_t tableBytes,
                                     const MemoryProcs &memory);

} // namespace folvane::pdfw
