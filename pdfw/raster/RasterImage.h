// A decoded picture in the layout PDF image XObjects use, and its preparation for the
// document: Flate-compressed samples, an optional soft mask for alpha.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "pdfw/core/Memory.h"
#include "pdfw/core/PreparedImage.h"
#include "pdfw/raster/IccProfile.h"

namespace folvane::pdfw {

struct RasterImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitsPerComponent = 8;   // 1, 2, 4, 8 or 16
    int components = 1;         // per pixel in `pixels`
    ColourSpace space;          // of the samples, or of the palette's entries
    std::string palette;        // "" or the end of [/Indexed base ...]: "hival<RRGGBB...>"
    bool inverted = false;      // 0 means white (grey images): /Decode [1 0]
    Buffer pixels;              // rows of ceil(width * components * bits / 8) bytes, top first
    Buffer alpha;               // empty, or one sample of `bitsPerComponent` (8 or 16) per pixel
    bool premultiplied = false; // colour already multiplied by alpha (against black)
    // An alpha plane that turns out wholly opaque is left out (a reader's own transparency,
    // as libpng's and libtiff's RGBA reader give it; not a TIFF's stored extra samples).
    bool dropOpaqueAlpha = false;
};

// One plane of samples compressed for an image stream: in memory or in a spill file, and the
// filter entries that read it.
struct RasterPlane {
    Buffer data;
    std::optional<FileSpan> file;
    std::string filter;

    PreparedObject object(ObjectText dictionary);
};

// Every field of `image` but its samples.
RasterImage rasterLayout(const RasterImage &image);

// Row size in bytes of `components` samples of `bits` bits per pixel, checked.
std::size_t rasterRowBytes(std::uint32_t width, int components, int bits, const std::string &what);

// "/Filter/FlateDecode", with the PNG predictor's /DecodeParms when `predicted`.
std::string rasterFilter(const RasterImage &image, int components, bool predicted);
// Whether the samples go through PNG predictors: 8 and 16 bits that stand for colour or
// opacity (not palette indices).
bool rasterPredicted(const RasterImage &image, bool indexed);
// Alpha needs PDF 1.4 or later: PDFW_TYPE_ERROR naming `path` otherwise.
void checkRasterAlpha(int pdfMinor, const std::string &path);
// The image XObject of `layout` (every field but the samples) and its soft mask before it.
PreparedImage rasterObjects(const RasterImage &layout, std::optional<RasterPlane> alpha,
                            RasterPlane pixels);

// The image XObject (and its soft mask before it), width and height; the samples are
// released as they are compressed. Alpha needs PDF 1.4 or later (PDFW_TYPE_ERROR naming
// `path` otherwise).
PreparedImage prepareRaster(RasterImage &image, int pdfMinor, const std::string &path,
                            const MemoryProcs &memory);

} // namespace folvane::pdfw
