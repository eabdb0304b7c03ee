#include "image/codecs/TiffSampleRows.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "base/ByteOrder.h"
#include "image/SafeSize.h"
#include "image/codecs/DecodeFailure.h"

using namespace tiffcodec;

namespace {

[[noreturn]] void RaiseLayout() {
    RaiseDecodeFailure("ReducedTiff: this layout of samples is not read reduced");
}

} // namespace

TiffSampleRows::TiffSampleRows(TIFF *tif, const CfImageTIF::Page &page) : m_page(page) {
    m_page.deepPalette = page.photometric == kPhotometricPalette && page.bitsPerSample > 8;
    m_separate = page.planar == PLANARCONFIG_SEPARATE && page.samplesPerPixel > 1;
    const bool tiled = TIFFIsTiled(tif) != 0;
    m_mode = ChooseTiffBlockMode(tif, Planes(), m_separate);
    ChooseKind();
    // Separate planes are put together a byte-sized sample at a time.
    if (m_separate && (page.bitsPerSample % 8 != 0 || page.samplesPerPixel > kTiffMaxPlanes)) {
        RaiseLayout();
    }
    uint32_t entries = 0;
    m_palette = BuildPalette(tif, m_page, &entries);
    m_grey = page.photometric != kPhotometricPalette;
    for (int i = 0; i < 256 && !m_page.deepPalette; ++i) {
        m_greyMap[i] = m_palette[i].rgbRed;
    }
    m_adaptive = m_kind == Kind::WideGrey && !tiled;
}

void TiffSampleRows::ChooseKind() {
    const uint16_t samples = m_page.samplesPerPixel;
    const uint16_t bits = m_page.bitsPerSample;
    if (samples == 0 || bits == 0 || bits > 32) {
        RaiseLayout();
    }
    if (samples == 1) {
        m_kind =
            m_page.deepPalette ? Kind::DeepPalette : (bits == 16 ? Kind::WideGrey : Kind::Indexed);
        const bool colour = m_kind == Kind::DeepPalette ||
                            (m_kind == Kind::Indexed && m_page.photometric == kPhotometricPalette);
        m_pixels = colour ? ReducedPixels::Bgr : ReducedPixels::Grey;
        return;
    }
    if ((bits != 8 && bits != 16) || m_page.deepPalette) {
        RaiseLayout();
    }
    if (samples == 2) {
        m_kind = Kind::IndexAlpha;
        m_pixels = m_page.photometric == kPhotometricPalette ? ReducedPixels::Bgra
                                                             : ReducedPixels::GreyAlpha;
        return;
    }
    m_kind = Kind::Lab;
    m_pixels = samples == 4 ? ReducedPixels::Bgra : ReducedPixels::Bgr;
}

unsigned TiffSampleRows::Shift() const {
    if (m_kind != Kind::WideGrey) {
        return 0;
    }
    if (!m_adaptive) {
        return 8;
    }
    // The full decoder keeps the significant bits of the largest sample's high byte.
    return m_largestHigh == 0 ? 0u : 8u - unsigned(std::countl_zero(m_largestHigh));
}

// Row r of the block with its samples together, pixel by pixel.
const uint8_t *TiffSampleRows::ContiguousRow(const TiffBlock &block, uint32_t r) {
    if (!m_separate) {
        return block.planes[0] + size_t{r} * block.rowBytes;
    }
    const size_t sampleBytes = m_page.bitsPerSample / 8;
    const uint16_t samples = m_page.samplesPerPixel;
    if (block.planeCount < samples) {
        RaiseLayout();
    }
    m_interleaved.resize(size_t{block.width} * samples * sampleBytes);
    for (uint16_t s = 0; s < samples; ++s) {
        const uint8_t *in = block.planes[s] + size_t{r} * block.rowBytes;
        uint8_t *out = m_interleaved.data() + s * sampleBytes;
        for (uint32_t x = 0; x < block.width; ++x) {
            std::memcpy(out + size_t{x} * samples * sampleBytes, in + x * sampleBytes, sampleBytes);
        }
    }
    return m_interleaved.data();
}

void TiffSampleRows::Add(const TiffBlock &block, AreaReducer &reducer) {
    // Every row of the block, rowBytes apart, must hold its pixels' samples.
    const uint64_t bits =
        uint64_t{block.width} * m_page.bitsPerSample * (m_separate ? 1u : m_page.samplesPerPixel);
    const auto rows = SafeSize::Mul(block.rows - 1, block.rowBytes);
    const auto end = rows ? SafeSize::Add(*rows, (bits + 7) / 8) : std::nullopt;
    if (block.rows == 0 || !end || *end > block.planeBytes) {
        RaiseDecodeFailure("ReducedTiff: the strip or tile layout is damaged");
    }
    for (uint32_t r = 0; r < block.rows; ++r) {
        AddRow(ContiguousRow(block, r), block.y0 + r, block.x0, block.width, reducer);
    }
}

void TiffSampleRows::AddWideGrey(const uint8_t *raw, uint32_t y, uint32_t x0, uint32_t count,
                                 AreaReducer &reducer) {
    m_wide.resize(count);
    for (uint32_t x = 0; x < count; ++x) {
        // libtiff delivers 16-bit samples in host order, which the full decoder reads as little
        // endian.
        m_wide[x] = ByteOrder::Le16(raw + 2 * size_t{x});
        m_largestHigh = std::max(m_largestHigh, static_cast<uint8_t>(m_wide[x] >> 8));
    }
    reducer.Add(y, x0, 1, count, m_wide.data());
}

// The samples of count pixels at one byte each: 16-bit ones by their high byte.
const uint8_t *TiffSampleRows::Narrowed(const uint8_t *raw, uint32_t count) {
    if (m_page.bitsPerSample == 8) {
        return raw;
    }
    const size_t samples = size_t{count} * m_page.samplesPerPixel;
    m_samples.resize(samples);
    for (size_t i = 0; i < samples; ++i) {
        m_samples[i] = raw[2 * i + 1];
    }
    return m_samples.data();
}

// The palette's colour of index: its grey value, or blue, green, red. Returns the next byte.
uint8_t *TiffSampleRows::PutColour(uint8_t *out, uint8_t index) const {
    if (m_grey) {
        *out = m_greyMap[index];
        return out + 1;
    }
    const RGBQUAD &entry = m_palette[index];
    out[0] = entry.rgbBlue;
    out[1] = entry.rgbGreen;
    out[2] = entry.rgbRed;
    return out + 3;
}

void TiffSampleRows::AddRow(const uint8_t *raw, uint32_t y, uint32_t x0, uint32_t count,
                            AreaReducer &reducer) {
    if (m_kind == Kind::WideGrey) {
        AddWideGrey(raw, y, x0, count, reducer);
        return;
    }
    m_pixelRow.resize(size_t{count} * 4);
    uint8_t *out = m_pixelRow.data();
    switch (m_kind) {
    case Kind::DeepPalette:
        CfImageTIF::ExpandPaletteSamples(out, raw, count, m_page.bitsPerSample, m_palette.get());
        break;
    case Kind::Indexed:
        m_samples.resize(count);
        CfImageTIF::ExpandSamples(m_samples.data(), raw, count, m_page.bitsPerSample);
        for (uint32_t x = 0; x < count; ++x) {
            out = PutColour(out, m_samples[x]);
        }
        break;
    case Kind::IndexAlpha: {
        const uint8_t *pairs = Narrowed(raw, count);
        for (uint32_t x = 0; x < count; ++x) {
            out = PutColour(out, pairs[2 * size_t{x}]);
            *out++ = pairs[2 * size_t{x} + 1];
        }
        break;
    }
    default: {
        const uint16_t samples = m_page.samplesPerPixel;
        const uint8_t *lab = Narrowed(raw, count);
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
    reducer.Add(y, x0, 1, count, m_pixelRow.data());
}
