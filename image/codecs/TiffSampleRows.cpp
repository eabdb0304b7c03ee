#include "image/codecs/TiffSampleRows.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/ByteOrder.h"
#include "image/SafeSize.h"
#include "image/codecs/DecodeFailure.h"

using namespace tiffcodec;

namespace {

[[noreturn]] void raiseLayout() {
    raiseDecodeFailure("ReducedTiff: this layout of samples is not read reduced");
}

} // namespace

TiffSampleRows::TiffSampleRows(TIFF *tif, const CfImageTIF::Page &page) : page_(page) {
    page_.deepPalette = page.photometric == kPhotometricPalette && page.bitsPerSample > 8;
    separate_ = page.planar == PLANARCONFIG_SEPARATE && page.samplesPerPixel > 1;
    const bool tiled = TIFFIsTiled(tif) != 0;
    mode_ = chooseTiffBlockMode(tif, planes(), separate_);
    chooseKind();
    // Separate planes are put together a byte-sized sample at a time.
    if (separate_ && (page.bitsPerSample % 8 != 0 || page.samplesPerPixel > kTiffMaxPlanes)) {
        raiseLayout();
    }
    uint32_t entries = 0;
    palette_ = BuildPalette(tif, page_, &entries);
    grey_ = page.photometric != kPhotometricPalette;
    for (int i = 0; i < 256 && !page_.deepPalette; ++i) {
        greyMap_[i] = palette_[i].rgbRed;
    }
    adaptive_ = kind_ == Kind::WideGrey && !tiled;
}

void TiffSampleRows::chooseKind() {
    const uint16_t samples = page_.samplesPerPixel;
    const uint16_t bits = page_.bitsPerSample;
    if (samples == 0 || bits == 0 || bits > 32) {
        raiseLayout();
    }
    if (samples == 1) {
        kind_ =
            page_.deepPalette ? Kind::DeepPalette : (bits == 16 ? Kind::WideGrey : Kind::Indexed);
        const bool colour = kind_ == Kind::DeepPalette ||
                            (kind_ == Kind::Indexed && page_.photometric == kPhotometricPalette);
        pixels_ = colour ? ReducedPixels::Bgr : ReducedPixels::Grey;
        return;
    }
    if ((bits != 8 && bits != 16) || page_.deepPalette) {
        raiseLayout();
    }
    if (samples == 2) {
        kind_ = Kind::IndexAlpha;
        pixels_ = page_.photometric == kPhotometricPalette ? ReducedPixels::Bgra
                                                           : ReducedPixels::GreyAlpha;
        return;
    }
    kind_ = Kind::Lab;
    pixels_ = samples == 4 ? ReducedPixels::Bgra : ReducedPixels::Bgr;
}

unsigned TiffSampleRows::shift() const {
    if (kind_ != Kind::WideGrey) {
        return 0;
    }
    if (!adaptive_) {
        return 8;
    }
    // The full decoder keeps the significant bits of the largest sample's high byte.
    return largestHigh_ == 0 ? 0u : 8u - unsigned(std::countl_zero(largestHigh_));
}

// Row r of the block with its samples together, pixel by pixel.
const uint8_t *TiffSampleRows::contiguousRow(const TiffBlock &block, uint32_t r) {
    if (!separate_) {
        return block.planes[0] + size_t{r} * block.rowBytes;
    }
    const size_t sampleBytes = page_.bitsPerSample / 8;
    const uint16_t samples = page_.samplesPerPixel;
    if (block.planeCount < samples) {
        raiseLayout();
    }
    interleaved_.resize(size_t{block.width} * samples * sampleBytes);
    for (uint16_t s = 0; s < samples; ++s) {
        const uint8_t *in = block.planes[s] + size_t{r} * block.rowBytes;
        uint8_t *out = interleaved_.data() + s * sampleBytes;
        for (uint32_t x = 0; x < block.width; ++x) {
            std::memcpy(out + size_t{x} * samples * sampleBytes, in + x * sampleBytes, sampleBytes);
        }
    }
    return interleaved_.data();
}

void TiffSampleRows::add(const TiffBlock &block, AreaReducer &reducer) {
    // Every row of the block, rowBytes apart, must hold its pixels' samples.
    const uint64_t bits =
        uint64_t{block.width} * page_.bitsPerSample * (separate_ ? 1u : page_.samplesPerPixel);
    const auto rows = SafeSize::mul(block.rows - 1, block.rowBytes);
    const auto end = rows ? SafeSize::add(*rows, (bits + 7) / 8) : std::nullopt;
    if (block.rows == 0 || !end || *end > block.planeBytes) {
        raiseDecodeFailure("ReducedTiff: the strip or tile layout is damaged");
    }
    for (uint32_t r = 0; r < block.rows; ++r) {
        addRow(contiguousRow(block, r), block.y0 + r, block.x0, block.width, reducer);
    }
}

void TiffSampleRows::addWideGrey(const uint8_t *raw, uint32_t y, uint32_t x0, uint32_t count,
                                 AreaReducer &reducer) {
    wide_.resize(count);
    for (uint32_t x = 0; x < count; ++x) {
        // libtiff delivers 16-bit samples in host order, which the full decoder reads as little
        // endian.
        wide_[x] = folvane::byte_order::le16(raw + 2 * size_t{x});
        largestHigh_ = std::max(largestHigh_, static_cast<uint8_t>(wide_[x] >> 8));
    }
    reducer.add(y, x0, 1, count, wide_.data());
}

// The samples of count pixels at one byte each: 16-bit ones by their high byte.
const uint8_t *TiffSampleRows::narrowed(const uint8_t *raw, uint32_t count) {
    if (page_.bitsPerSample == 8) {
        return raw;
    }
    const size_t samples = size_t{count} * page_.samplesPerPixel;
    samples_.resize(samples);
    for (size_t i = 0; i < samples; ++i) {
        samples_[i] = raw[2 * i + 1];
    }
    return samples_.data();
}

// The palette's colour of index: its grey value, or blue, green, red. Returns the next byte.
uint8_t *TiffSampleRows::putColour(uint8_t *out, uint8_t index) const {
    if (grey_) {
        *out = greyMap_[index];
        return out + 1;
    }
    const RGBQUAD &entry = palette_[index];
    out[0] = entry.rgbBlue;
    out[1] = entry.rgbGreen;
    out[2] = entry.rgbRed;
    return out + 3;
}

void TiffSampleRows::addRow(const uint8_t *raw, uint32_t y, uint32_t x0, uint32_t count,
                            AreaReducer &reducer) {
    if (kind_ == Kind::WideGrey) {
        addWideGrey(raw, y, x0, count, reducer);
        return;
    }
    pixelRow_.resize(size_t{count} * 4);
    uint8_t *out = pixelRow_.data();
    switch (kind_) {
    case Kind::DeepPalette:
        CfImageTIF::ExpandPaletteSamples(out, raw, count, page_.bitsPerSample, palette_.get());
        break;
    case Kind::Indexed:
        samples_.resize(count);
        CfImageTIF::ExpandSamples(samples_.data(), raw, count, page_.bitsPerSample);
        for (uint32_t x = 0; x < count; ++x) {
            out = putColour(out, samples_[x]);
        }
        break;
    case Kind::IndexAlpha: {
        const uint8_t *pairs = narrowed(raw, count);
        for (uint32_t x = 0; x < count; ++x) {
            out = putColour(out, pairs[2 * size_t{x}]);
            *out++ = pairs[2 * size_t{x} + 1];
        }
        break;
    }
    default: {
        const uint16_t samples = page_.samplesPerPixel;
        const uint8_t *lab = narrowed(raw, count);
        for (uint32_t x = 0; x < count; ++x, lab += samples) {
            const RGBQUAD colour =
                LabToRgb(lab[0], static_cast<int8_t>(lab[1]), static_cast<int8_t>(lab[2]));
            *out++ = colour.rgbBlue;
            *out++ = colour.rgbGreen;
            *out++ = colour.rgbRed;
            if (samples == 4) {
                *out++ = lab[3];
            }
        }
    }
    }
    reducer.add(y, x0, 1, count, pixelRow_.data());
}
