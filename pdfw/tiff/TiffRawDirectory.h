// What a page's directory stores, read from the file itself where libtiff's reading hides it.
// libtiff replaces a count it finds too small for an uncompressed strip (or a count of 0) with
// an estimate from the page size, and reading that many bytes runs on into whatever follows
// the strip: the next page's directory and pixels.
#pragma once

#include <cstdint>
#include <optional>

#include <tiffio.h>

#include "pdfw/core/InputFile.h"

namespace folvane::pdfw {

// The stored count of the one strip of the directory at `directory`, or nothing when the page
// has several strips, tiles, no such entry, or a directory that cannot be read here (libtiff
// has read it, so that is left to libtiff).
std::optional<std::uint64_t> storedSingleStripBytes(const ByteSource &file,
                                                    std::uint64_t directory);

// The number of entries the file's first directory has, or nothing when it cannot be read.
std::optional<std::uint64_t> firstDirectoryEntries(const ByteSource &file);

} // namespace folvane::pdfw
