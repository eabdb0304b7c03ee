// A decoded picture turned into what text recognition reads: grey or bilevel stored rows with
// how they are shown upright and their resolution.
#pragma once

#include <string>
#include <vector>

#include "pdfw/core/Memory.h"
#include "pdfw/core/PagePixels.h"
#include "pdfw/raster/RasterImage.h"

namespace folvane::pdfw {

// The grey (0..255) of an RGB colour, as recognition sees it.
unsigned char lumaOf(unsigned red, unsigned green, unsigned blue);

// The grey value of each entry of a palette written as "hival<RRGGBB...>" over RGB (or
// "hival<GG...>" over grey: one byte an entry).
std::vector<unsigned char> paletteGreys(const std::string &palette, bool grey);

// A decoded picture (grey, RGB, CMYK or, with `palette` the grey of each entry, palette
// samples; 1 to 16 bits), shown by `orientation`, of `dpi` (0: unknown). Bilevel grey stays
// bilevel; transparent parts become the white of the page.
PagePixels rasterForRecognition(const RasterImage &raster,
                                const std::vector<unsigned char> *palette, int orientation, int dpi,
                                const MemoryProcs &memory);

} // namespace folvane::pdfw
