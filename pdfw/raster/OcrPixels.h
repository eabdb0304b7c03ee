// A page's picture made ready for text recognition: stored rows, grey or bilevel, with how
// they are shown upright and the resolution recognition should assume.
#pragma once

#include <string>
#include <vector>

#include "ocr/PageImage.h"
#include "pdfw/core/Memory.h"
#include "pdfw/jpeg/JpegGreyDecoder.h"
#include "pdfw/raster/RasterImage.h"

namespace pdfw {

// Resolution assumed for a scan that states none.
inline constexpr int kScanDpi = 300;
// JPEGs stating less come from cameras, whose 72 or 96 dpi say nothing about the page:
// recognition estimates the resolution from the text instead.
inline constexpr int kLeastJpegDpi = 150;

struct OcrPixels {
    Buffer rows;
    ocr::PageImage image; // its rows point into `rows`
};

// A JPEG's grey picture, shown by `orientation`.
OcrPixels jpegForOcr(GreyPicture picture, int orientation);

// A decoded picture (grey, RGB, CMYK or, with `palette` the grey of each entry, palette
// samples; 1 to 16 bits), shown by `orientation`, of `dpi` (0: unknown). Bilevel grey stays
// bilevel; transparent parts become the white of the page.
OcrPixels rasterForOcr(const RasterImage &raster, const std::vector<unsigned char> *palette,
                       int orientation, int dpi, const MemoryProcs &memory);

// Reads page `page` of the JPEG, TIFF or PNG at `path` for recognition. Raises what the
// engine's readers raise for a file they cannot use.
OcrPixels pixelsForOcr(const std::string &path, int page, const MemoryProcs &memory);

} // namespace pdfw
