// Bilevel, grey, palette, grey-with-alpha and CIELab pages for the reduced decode, converted as
// the full decoder's strip path converts them (its palette, sample widening and Lab formula),
// but to colours rather than palette indices, since indices cannot be averaged:
// - bilevel, grey and palette samples go through the page's palette, palette pages to colour;
// - 16-bit grey is averaged at 16 bits and brought to 8 at the end by the shift the full decoder
//   evens its rows out to (strips) or by its high byte (tiles);
// - deep palettes (9 to 24 bits) give colour;
// - two samples are index and alpha, three or more CIELab (and alpha with four), 8 or 16 bits.
// Other layouts, which the full decoder reads only by its own quirks, are refused.
#pragma once

#include <cstdint>
#include <vector>

#include <tiffio.h>

#include "image/codecs/AreaReducer.h"
#include "image/codecs/CfImageTIFPage.h"
#include "image/codecs/TiffBlocks.h"

class TiffSampleRows {
public:
    // Raises when the page is of a layout this class does not read.
    TiffSampleRows(TIFF *tif, const CfImageTIF::Page &page);

    ReducedPixels pixels() const { return pixels_; }
    TiffBlockMode mode() const { return mode_; }
    uint16_t planes() const { return separate_ ? page_.samplesPerPixel : 1; }

    // Converts the block and adds its rows to the reducer.
    void add(const TiffBlock &block, AreaReducer &reducer);

    // For AreaReducer::finish once every block is in: the shift of 16-bit grey and the grey
    // values of the page's palette that its averages go through (other samples are mapped
    // before they are averaged).
    unsigned shift() const;
    const uint8_t *greyMap() const { return kind_ == Kind::WideGrey ? greyMap_ : nullptr; }

private:
    enum class Kind { WideGrey, Indexed, DeepPalette, IndexAlpha, Lab };

    void chooseKind();
    const uint8_t *contiguousRow(const TiffBlock &block, uint32_t r);
    void addRow(const uint8_t *raw, uint32_t y, uint32_t x0, uint32_t count, AreaReducer &reducer);
    void addWideGrey(const uint8_t *raw, uint32_t y, uint32_t x0, uint32_t count,
                     AreaReducer &reducer);
    const uint8_t *narrowed(const uint8_t *raw, uint32_t count);
    uint8_t *putColour(uint8_t *out, uint8_t index) const;

    CfImageTIF::Page page_;
    Kind kind_ = Kind::Indexed;
    ReducedPixels pixels_ = ReducedPixels::Grey;
    TiffBlockMode mode_ = TiffBlockMode::Scanlines;
    bool separate_ = false;
    bool grey_ = true;        // the palette is the grey ramp of a bilevel or grey page
    bool adaptive_ = false;   // 16-bit grey strips: the shift follows the largest sample
    uint8_t largestHigh_ = 0; // high byte of the largest 16-bit sample so far
    tiffcodec::HeapPtr<RGBQUAD> palette_;
    uint8_t greyMap_[256] = {};
    std::vector<uint8_t> interleaved_; // a row of separate planes put together
    std::vector<uint8_t> samples_;     // a row widened or narrowed to one byte a sample
    std::vector<uint8_t> pixelRow_;    // a row of the reducer's pixels
    std::vector<uint16_t> wide_;       // a row of 16-bit grey
};
