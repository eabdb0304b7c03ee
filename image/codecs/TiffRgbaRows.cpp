#include "image/codecs/TiffRgbaRows.h"

#include <cstdio>

#include "image/SafeSize.h"
#include "image/codecs/CfImageTIFPage.h"
#include "image/codecs/DecodeFailure.h"

namespace {

// libtiff converts subsampled YCbCr, whose rows come in blocks of several, and separate
// planes only in whole strips.
bool needsWholeStrips(TIFF *tif, const TIFFRGBAImage &image) {
    uint16_t across = 1;
    uint16_t down = 1;
    if (image.photometric == PHOTOMETRIC_YCBCR) {
        TIFFGetFieldDefaulted(tif, TIFFTAG_YCBCRSUBSAMPLING, &across, &down);
    }
    return !image.isContig || across > 1 || down > 1;
}

} // namespace

TiffRgbaRows::TiffRgbaRows(TIFF *tif, uint16_t samplesPerPixel) : samples_(samplesPerPixel) {
    // Nothing may raise once the conversion is set up: the destructor must end it.
    char message[1024] = "";
    if (!TIFFRGBAImageOK(tif, message) || !TIFFRGBAImageBegin(&image_, tif, 1, message)) {
        char text[kLastErrorSize];
        std::snprintf(text, sizeof text, "ReducedTiff: %s", message);
        raiseDecodeFailure(text);
    }
    const uint16_t photometric = image_.photometric;
    const bool onePlane = photometric == PHOTOMETRIC_MINISWHITE ||
                          photometric == PHOTOMETRIC_MINISBLACK ||
                          photometric == PHOTOMETRIC_PALETTE;
    colourPlanes_ = onePlane ? 1 : 3;
    planes_ = image_.isContig ? 1 : uint16_t(colourPlanes_ + (image_.alpha ? 1 : 0));
    mode_ = chooseTiffBlockMode(tif, planes_, needsWholeStrips(tif, image_));
}

TiffRgbaRows::~TiffRgbaRows() {
    TIFFRGBAImageEnd(&image_);
}

void TiffRgbaRows::convert(const TiffBlock &block) {
    const auto words = SafeSize::mul(block.width, block.rows);
    if (!words || *words * 4 > kTiffBandCeiling || block.rowPixels < block.width) {
        raiseDecodeFailure("ReducedTiff: a block beyond the band ceiling");
    }
    raster_.assign(*words, 0);
    // The block's rows land one after the other in the raster (no skew), top row first.
    const int32_t fromSkew = int32_t(block.rowPixels - block.width);
    auto *first = const_cast<unsigned char *>(block.planes[0]);
    if (image_.isContig) {
        image_.put.contig(&image_, raster_.data(), block.x0, block.y0, block.width, block.rows,
                          fromSkew, 0, first);
        return;
    }
    if (block.planeCount < planes_) {
        raiseDecodeFailure("ReducedTiff: the page has fewer planes than its colours need");
    }
    const bool onePlane = colourPlanes_ == 1;
    auto plane = [&](uint16_t p) { return const_cast<unsigned char *>(block.planes[p]); };
    image_.put.separate(&image_, raster_.data(), block.x0, block.y0, block.width, block.rows,
                        fromSkew, 0, first, onePlane ? first : plane(1),
                        onePlane ? first : plane(2), image_.alpha ? plane(colourPlanes_) : nullptr);
}

void TiffRgbaRows::add(const TiffBlock &block, AreaReducer &reducer) {
    convert(block);
    const bool alpha = samples_ == 4;
    const size_t channels = alpha ? 4 : 3;
    row_.resize(size_t{block.width} * channels);
    for (uint32_t r = 0; r < block.rows; ++r) {
        const uint32_t *words = raster_.data() + size_t{r} * block.width;
        uint8_t *out = row_.data();
        for (uint32_t x = 0; x < block.width; ++x, out += channels) {
            const uint32_t abgr = words[x];
            const auto a = alpha ? static_cast<uint8_t>(TIFFGetA(abgr)) : uint8_t{255};
            out[0] = tiffcodec::StraightChannel(TIFFGetB(abgr), a);
            out[1] = tiffcodec::StraightChannel(TIFFGetG(abgr), a);
            out[2] = tiffcodec::StraightChannel(TIFFGetR(abgr), a);
            if (alpha) {
                out[3] = a;
            }
        }
        reducer.add(block.y0 + r, block.x0, 1, block.width, row_.data());
    }
}
