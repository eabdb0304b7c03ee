// A page's pixels as handed to recognition: stored rows, top first, and how they are shown
// upright.
#pragma once

#include <cstddef>

namespace folvane::ocr {

struct PageImage {
    int width = 0; // stored pixels
    int height = 0;
    // 1: bilevel, packed eight pixels to a byte, the first pixel in the high bit, 1 is black.
    // 8: grey, one byte per pixel, 0 is black.
    int depth = 8;
    const unsigned char *rows = nullptr;
    std::size_t rowBytes = 0;
    int orientation = 1; // EXIF/TIFF value 1..8: how the stored rows are turned to be upright
    int dpi = 0;         // 0: unknown, let the recogniser estimate it from the text
};

} // namespace folvane::ocr
