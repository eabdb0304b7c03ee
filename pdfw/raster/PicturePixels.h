// A decoded picture turned into the 8-bit grey or RGB pixels document correction reads.
#pragma once

#include <string>
#include <vector>

#include "pdfw/core/PagePicture.h"
#include "pdfw/raster/RasterImage.h"

namespace folvane::pdfw {

// The RGB of each entry of a palette written as "hival<RRGGBB...>" over RGB (or "hival<GG...>"
// over grey: each grey given as three equal values): three bytes an entry.
std::vector<unsigned char> paletteColours(const std::string &palette, bool grey);

// A decoded picture (grey, RGB or CMYK samples of 1 to 16 bits, or, with `palette` three bytes
// an entry, palette indices): grey stays grey, anything else becomes RGB, transparent parts the
// white of the page.
PagePicture rasterToPicture(const RasterImage &raster, const std::vector<unsigned char> *palette,
                            const MemoryProcs &memory);

} // namespace folvane::pdfw
