// A JPEG decoded to grey with libjpeg, for text recognition (the picture written into the
// PDF stays the file's own bytes).
#pragma once

#include <cstdint>
#include <string>

#include "pdfw/core/Memory.h"

namespace pdfw {

struct GreyPicture {
    std::uint32_t width = 0; // stored pixels, rows top first, one byte each, 0 black
    std::uint32_t height = 0;
    Buffer rows;
    int dpi = 0; // stated by a JFIF header in dots per inch or centimetre; 0 when none
};

// Raises PDFW_SYNTAX_ERROR naming `path` when libjpeg cannot decode it whole,
// PDFW_OVERFLOW_ERROR above the size ceiling.
GreyPicture decodeJpegToGrey(const unsigned char *data, std::size_t size, const std::string &path,
                             const MemoryProcs &memory);

} // namespace pdfw
