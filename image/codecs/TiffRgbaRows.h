// Pages of the RGB family (RGB, CMYK, YCbCr, LogL, LogLuv) for the reduced decode, converted
// by libtiff's own RGBA conversion, the one the full decoder's RGBA reader uses, applied to one
// block at a time instead of the whole page; so both give the same colours.
#pragma once

#include <cstdint>
#include <vector>

#include <tiffio.h>

#include "image/codecs/AreaReducer.h"
#include "image/codecs/TiffBlocks.h"

class TiffRgbaRows {
public:
    // Sets libtiff's conversion up for the current page; this also makes libtiff deliver
    // JPEG-coded YCbCr as RGB and LogLuv as 8-bit samples, as it converts them. Raises with
    // libtiff's reason when the page cannot be converted.
    TiffRgbaRows(TIFF *tif, uint16_t samplesPerPixel);
    ~TiffRgbaRows();
    TiffRgbaRows(const TiffRgbaRows &) = delete;
    TiffRgbaRows &operator=(const TiffRgbaRows &) = delete;

    // Colour and, for four samples per pixel as with the full decoder, alpha.
    ReducedPixels pixels() const {
        return samples_ == 4 ? ReducedPixels::Bgra : ReducedPixels::Bgr;
    }
    // How the page must be read for the conversion, and in how many planes.
    TiffBlockMode mode() const { return mode_; }
    uint16_t planes() const { return planes_; }

    // Converts the block and adds its rows to the reducer.
    void add(const TiffBlock &block, AreaReducer &reducer);

private:
    void convert(const TiffBlock &block);

    TIFFRGBAImage image_{};
    uint16_t samples_;
    // Planes libtiff's conversion of separate planes reads: grey, palette and bilevel data one
    // colour plane, the rest three; then alpha (for CMYK the black ink) when it takes one.
    uint16_t colourPlanes_ = 3;
    uint16_t planes_ = 1;
    TiffBlockMode mode_ = TiffBlockMode::Scanlines;
    std::vector<uint32_t> raster_; // the block's RGBA words, rows top first
    std::vector<uint8_t> row_;     // one row of the reducer's pixels
};
