// A JPEG decoded with libjpeg to 8-bit pixels, for the steps that read a page's picture (text
// recognition, document correction); the picture written into the PDF stays the file's bytes.
#pragma once

#include <cstdint>
#include <string>

#include "pdfw/core/Memory.h"

namespace folvane::pdfw {

struct DecodedJpeg {
    std::uint32_t width = 0; // stored pixels, rows top first, `channels` bytes a pixel
    std::uint32_t height = 0;
    int channels = 1; // 1 grey (0 black) or 3 RGB
    Buffer rows;
    int dpi = 0; // stated by a JFIF header in dots per inch or centimetre; 0 when none
};

// Grey: one channel whatever the file holds. Colour: RGB for a colour file (CMYK and YCCK turned
// into RGB), one grey channel for a grey one.
enum class JpegPixels { Grey, Colour };

// Raises PDFW_SYNTAX_ERROR naming `path` when libjpeg cannot decode it whole,
// PDFW_OVERFLOW_ERROR above the size ceiling.
DecodedJpeg decodeJpegPixels(const unsigned char *data, std::size_t size, const std::string &path,
                             JpegPixels wanted, const MemoryProcs &memory);

} // namespace folvane::pdfw
