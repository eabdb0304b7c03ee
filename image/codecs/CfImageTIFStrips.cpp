// The strip and tile path of CfImageTIF: bilevel, grey, palette, grey-with-alpha and CIELab
// pages, read into one reusable buffer and converted row by row into the bitmap.
#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>

#include <tiffio.h>

#include "base/ByteOrder.h"
#include "image/SafeSize.h"
#include "image/codecs/CfImageTIFPage.h"
#include "image/codecs/DecodeFailure.h"

using namespace tiffcodec;

namespace {

// No buffer of this path may exceed the bitmap ceiling, whatever sizes the file claims.
constexpr uint64_t kBufferCeiling = CFIMAGE_MAX_MEMORY;
constexpr uint8_t kShiftUnset = 0xFF;

// The product of the factors, or 0 when it exceeds the buffer ceiling.
template <class... Factors> size_t BufferBytes(Factors... factors) {
    const std::optional<size_t> bytes = SafeSize::mul(factors...);
    return bytes && *bytes <= kBufferCeiling ? *bytes : 0;
}

[[noreturn]] void RaiseNoMemory() {
    raiseDecodeFailure("CfImageTIF can't allocate memory");
}

// Reads the strips or tiles of one page and converts them row by row into the image.
class StripReader {
public:
    StripReader(CfImageTIF &image, TIFF *tif, const CfImageTIF::Page &page,
                const RGBQUAD *deepPalette)
        : m_image(image), m_tif(tif), m_page(page), m_palette(deepPalette) {}

    void Allocate();
    void ReadAll();
    void NormaliseWideGrey();

private:
    uint32_t SetUpTiles();
    bool ReadStrip(uint32_t ys, uint32_t rows);
    bool ReadPlanarStrip(uint32_t ys, uint32_t rows);
    void ReadTiles(uint32_t ys, uint32_t rows);
    void ReadPlanarTiles(uint32_t ys, uint32_t rows);
    void Interleave(const uint8_t *src, size_t srcRowBytes, uint32_t rows, uint64_t firstPixel,
                    uint64_t pixels, uint16_t sample);
    void ConvertRows(uint32_t ys, uint32_t rows);
    const uint8_t *NarrowWideRow(const uint8_t *row, uint32_t y);
    void ConvertRow(uint32_t y, const uint8_t *row, size_t length);
    void ConvertGreyAlphaRow(uint32_t y, const uint8_t *row, size_t length);
    void ConvertLabRow(uint32_t y, const uint8_t *row, size_t length);

    bool Wide() const { return m_page.bitsPerSample == 16 && !m_page.deepPalette; }
    bool AdaptiveShift() const { return Wide() && !m_tiled && m_page.samplesPerPixel == 1; }

    CfImageTIF &m_image;
    TIFF *m_tif;
    const CfImageTIF::Page &m_page;
    const RGBQUAD *m_palette;

    bool m_tiled = false;
    uint32_t m_rowsPerStrip = 0;
    size_t m_rowBytes = 0; // one row as libtiff delivers it
    uint32_t m_tileWidth = 0;
    size_t m_tileRowBytes = 0;
    size_t m_tileBytes = 0;
    // Pages stored plane by plane (one sample of every pixel, then the next) are interleaved
    // into whole pixels as they are read; this is done for byte-sized samples.
    bool m_planar = false;
    size_t m_sampleBytes = 0;
    size_t m_planeRowBytes = 0;
    HeapPtr<uint8_t> m_buffer;    // m_rowsPerStrip rows of m_rowBytes
    HeapPtr<uint8_t> m_plane;     // one strip of one plane
    HeapPtr<uint8_t> m_tile;      // one tile
    HeapPtr<uint8_t> m_narrowRow; // one row of 16-bit samples reduced to bytes
    HeapPtr<uint8_t> m_shifts;    // per image row: how far its 16-bit samples were shifted
};

void StripReader::Allocate() {
    const CfImageTIF::Page &p = m_page;
    // At most 65535 * 65535 bits per pixel, which a 32-bit word holds.
    const uint32_t pixelBits = uint32_t{p.samplesPerPixel} * p.bitsPerSample;
    const std::optional<size_t> rowBytes = SafeSize::PackedRowBytes(p.width, pixelBits);
    if (!rowBytes || *rowBytes > kBufferCeiling) {
        RaiseNoMemory();
    }
    m_rowBytes = *rowBytes;
    m_tiled = TIFFIsTiled(m_tif) != 0;
    m_rowsPerStrip = m_tiled ? SetUpTiles() : p.rowsPerStrip;
    const size_t bufferBytes = BufferBytes(std::min(m_rowsPerStrip, p.height), m_rowBytes);
    if (bufferBytes == 0) {
        RaiseNoMemory();
    }
    m_buffer = AllocateZeroed<uint8_t>(bufferBytes);
    if (m_tiled) {
        m_tile = AllocateZeroed<uint8_t>(m_tileBytes);
    }
    m_planar =
        p.planar == PLANARCONFIG_SEPARATE && p.samplesPerPixel > 1 && p.bitsPerSample % 8 == 0;
    if (m_planar) {
        // Each plane row is a whole row divided by the sample count, so it fits the ceiling.
        m_sampleBytes = p.bitsPerSample / 8;
        m_planeRowBytes = m_rowBytes / p.samplesPerPixel;
        if (!m_tiled) {
            m_plane = AllocateZeroed<uint8_t>(bufferBytes / p.samplesPerPixel);
        }
    }
    if (Wide()) {
        m_narrowRow = AllocateZeroed<uint8_t>(size_t{p.samplesPerPixel} * p.width);
    }
    if (AdaptiveShift()) {
        m_shifts = AllocateZeroed<uint8_t>(p.height);
        if (m_shifts) {
            std::memset(m_shifts.get(), kShiftUnset, p.height);
        }
    }
    if (!m_buffer || (m_tiled && !m_tile) || (m_planar && !m_tiled && !m_plane) ||
        (Wide() && !m_narrowRow) || (AdaptiveShift() && !m_shifts)) {
        RaiseNoMemory();
    }
}

// Returns the tile length, which is the number of rows read at a time.
uint32_t StripReader::SetUpTiles() {
    m_tileWidth = m_page.tileWidth;
    const uint32_t tileLength = m_page.tileLength;
    const tmsize_t tileRowBytes = TIFFTileRowSize(m_tif);
    const tmsize_t tileBytes = TIFFTileSize(m_tif);
    // A tile must hold every row this decoder copies out of it.
    const std::optional<size_t> copiedBytes =
        SafeSize::mul(std::min(tileLength, m_page.height), tileRowBytes);
    if (m_tileWidth == 0 || tileLength == 0 || tileRowBytes <= 0 || tileBytes <= 0 ||
        !copiedBytes || *copiedBytes > static_cast<size_t>(tileBytes)) {
        raiseDecodeFailure("Corrupted tiled TIFF file!");
    }
    if (static_cast<uint64_t>(tileBytes) > kBufferCeiling) {
        RaiseNoMemory();
    }
    m_tileRowBytes = static_cast<size_t>(tileRowBytes);
    m_tileBytes = static_cast<size_t>(tileBytes);
    return tileLength;
}

void StripReader::ReadAll() {
    const uint32_t height = m_page.height;
    for (uint64_t ys = 0; ys < height; ys += m_rowsPerStrip) {
        if (m_image.info.escape != 0) {
            raiseDecodeFailure("Cancelled");
        }
        const auto rows = static_cast<uint32_t>(std::min<uint64_t>(m_rowsPerStrip, height - ys));
        if (m_tiled) {
            ReadTiles(static_cast<uint32_t>(ys), rows);
        } else if (!ReadStrip(static_cast<uint32_t>(ys), rows)) {
            // A strip that cannot be decoded ends the image; the rows before it are kept.
            return;
        }
        ConvertRows(static_cast<uint32_t>(ys), rows);
    }
}

bool StripReader::ReadStrip(uint32_t ys, uint32_t rows) {
    if (m_planar) {
        return ReadPlanarStrip(ys, rows);
    }
    const tmsize_t wanted = static_cast<tmsize_t>(rows * m_rowBytes);
    const tmsize_t got =
        TIFFReadEncodedStrip(m_tif, TIFFComputeStrip(m_tif, ys, 0), m_buffer.get(), wanted);
    if (got < 0) {
        return false;
    }
    // A short strip leaves no stale bytes of the previous one behind.
    if (got < wanted) {
        std::memset(m_buffer.get() + got, 0, static_cast<size_t>(wanted - got));
    }
    return true;
}

bool StripReader::ReadPlanarStrip(uint32_t ys, uint32_t rows) {
    const tmsize_t wanted = static_cast<tmsize_t>(rows * m_planeRowBytes);
    for (uint16_t sample = 0; sample < m_page.samplesPerPixel; ++sample) {
        const tmsize_t got =
            TIFFReadEncodedStrip(m_tif, TIFFComputeStrip(m_tif, ys, sample), m_plane.get(), wanted);
        if (got < 0) {
            return false;
        }
        if (got < wanted) {
            std::memset(m_plane.get() + got, 0, static_cast<size_t>(wanted - got));
        }
        Interleave(m_plane.get(), m_planeRowBytes, rows, 0, m_page.width, sample);
    }
    return true;
}

void StripReader::ReadPlanarTiles(uint32_t ys, uint32_t rows) {
    for (uint64_t col = 0; col < m_page.width; col += m_tileWidth) {
        const uint64_t pixels = std::min<uint64_t>(m_tileWidth, m_page.width - col);
        const std::optional<size_t> bytes = SafeSize::mul(pixels, m_sampleBytes);
        if (!bytes || *bytes > m_tileRowBytes) {
            raiseDecodeFailure("Corrupted tiled TIFF file!");
        }
        for (uint16_t sample = 0; sample < m_page.samplesPerPixel; ++sample) {
            if (TIFFReadTile(m_tif, m_tile.get(), static_cast<uint32_t>(col), ys, 0, sample) < 0) {
                raiseDecodeFailure("Corrupted tiled TIFF file!");
            }
            Interleave(m_tile.get(), m_tileRowBytes, rows, col, pixels, sample);
        }
    }
}

// Puts one plane's samples of pixels [firstPixel, firstPixel + pixels) of `rows` rows into
// their places among the whole pixels of the read buffer.
void StripReader::Interleave(const uint8_t *src, size_t srcRowBytes, uint32_t rows,
                             uint64_t firstPixel, uint64_t pixels, uint16_t sample) {
    const size_t pixelBytes = m_sampleBytes * m_page.samplesPerPixel;
    for (uint32_t r = 0; r < rows; ++r) {
        const uint8_t *in = src + r * srcRowBytes;
        uint8_t *out =
            m_buffer.get() + r * m_rowBytes + firstPixel * pixelBytes + sample * m_sampleBytes;
        for (uint64_t x = 0; x < pixels; ++x) {
            std::memcpy(out + x * pixelBytes, in + x * m_sampleBytes, m_sampleBytes);
        }
    }
}

void StripReader::ReadTiles(uint32_t ys, uint32_t rows) {
    if (m_planar) {
        ReadPlanarTiles(ys, rows);
        return;
    }
    size_t b = 0;
    for (uint64_t col = 0; col < m_page.width && b < m_rowBytes; col += m_tileWidth) {
        if (TIFFReadTile(m_tif, m_tile.get(), static_cast<uint32_t>(col), ys, 0, 0) < 0) {
            raiseDecodeFailure("Corrupted tiled TIFF file!");
        }
        // The last tile of a row may reach past the image's right edge: only the bytes
        // inside the image are copied.
        const size_t bytes = std::min(m_tileRowBytes, m_rowBytes - b);
        CfImageTIF::CopyTileRows(m_buffer.get() + b, m_tile.get(), rows, bytes, m_rowBytes - bytes,
                                 m_tileRowBytes - bytes);
        b += m_tileRowBytes;
    }
}

void StripReader::ConvertRows(uint32_t ys, uint32_t rows) {
    const uint32_t height = m_page.height;
    for (uint32_t yi = 0; yi < rows; ++yi) {
        // TIFF rows count from the top, image rows from the bottom.
        const uint32_t r = rows - yi - 1;
        const uint32_t y = height - ys - rows + yi;
        const uint8_t *row = m_buffer.get() + size_t{r} * m_rowBytes;
        if (Wide()) {
            ConvertRow(y, NarrowWideRow(row, y), size_t{m_page.samplesPerPixel} * m_page.width);
        } else {
            ConvertRow(y, row, m_rowBytes);
        }
    }
}

// Reduces a row of 16-bit samples to bytes. Single-channel strips keep each row's significant
// bits (the shift is recorded and evened out over the image afterwards); otherwise every
// sample becomes its high byte, so that all channels and rows share one scale.
const uint8_t *StripReader::NarrowWideRow(const uint8_t *row, uint32_t y) {
    const size_t count = size_t{m_page.samplesPerPixel} * m_page.width;
    uint8_t *out = m_narrowRow.get();
    unsigned shift = 8;
    if (AdaptiveShift()) {
        uint8_t top = 0;
        for (size_t i = 0; i < count; ++i) {
            top = std::max(top, row[2 * i + 1]);
        }
        const auto leadingZeros = static_cast<unsigned>(std::countl_zero(top));
        m_shifts[y] = static_cast<uint8_t>(leadingZeros);
        shift = 8 - leadingZeros;
    }
    for (size_t i = 0; i < count; ++i) {
        const unsigned word = folvane::byte_order::le16(row + 2 * i);
        out[i] = static_cast<uint8_t>(word >> shift);
    }
    return out;
}

void StripReader::ConvertRow(uint32_t y, const uint8_t *row, size_t length) {
    const CfImageTIF::Page &p = m_page;
    if (p.samplesPerPixel == 2) {
        ConvertGreyAlphaRow(y, row, length);
        return;
    }
    if (p.samplesPerPixel >= 3) {
        ConvertLabRow(y, row, length);
        return;
    }
    uint8_t *dst = m_image.RowPointer(y);
    if (p.deepPalette) {
        CfImageTIF::ExpandPaletteSamples(dst, row, p.width, p.bitsPerSample, m_palette);
    } else if (p.bitsPerSample == p.depth || p.bitsPerSample == 16) {
        std::memcpy(dst, row, std::min<size_t>(length, m_image.GetRowStride()));
    } else {
        CfImageTIF::ExpandSamples(dst, row, p.width, p.bitsPerSample);
    }
}

// Index and alpha pairs, one pair per pixel; pairs beyond the width continue on the row below.
void StripReader::ConvertGreyAlphaRow(uint32_t y, const uint8_t *row, size_t length) {
    m_image.CreateAlphaChannel();
    auto yy = static_cast<int32_t>(y);
    int32_t x = 0;
    for (size_t i = 0; i + 1 < length; i += 2) {
        if (x >= static_cast<int32_t>(m_page.width)) {
            --yy;
            x = 0;
        }
        m_image.PutPixelIndex(x, yy, row[i]);
        m_image.PutAlpha(x, yy, row[i + 1]);
        ++x;
    }
}

void StripReader::ConvertLabRow(uint32_t y, const uint8_t *row, size_t length) {
    const uint32_t spp = m_page.samplesPerPixel;
    const auto pixels = static_cast<uint32_t>(std::min<size_t>(m_page.width, length / spp));
    uint8_t *dst = m_image.RowPointer(y);
    for (uint32_t x = 0; x < pixels; ++x) {
        const uint8_t *lab = row + size_t{x} * spp;
        const RGBQUAD colour =
            LabToRgb(lab[0], static_cast<int8_t>(lab[1]), static_cast<int8_t>(lab[2]));
        dst[3 * size_t{x}] = colour.rgbBlue;
        dst[3 * size_t{x} + 1] = colour.rgbGreen;
        dst[3 * size_t{x} + 2] = colour.rgbRed;
        if (spp == 4) {
            m_image.PutAlpha(static_cast<int32_t>(x), static_cast<int32_t>(y), lab[3]);
        }
    }
}

// Brings every row of a 16-bit grey image to the scale of the row that needed the least shift,
// the one holding the image's largest sample. Rows never read keep their zeros.
void StripReader::NormaliseWideGrey() {
    if (!AdaptiveShift()) {
        return;
    }
    const uint32_t height = m_page.height;
    uint8_t common = 8;
    for (uint32_t y = 0; y < height; ++y) {
        if (m_shifts[y] != kShiftUnset) {
            common = std::min(common, m_shifts[y]);
        }
    }
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t k = m_shifts[y];
        if (k == kShiftUnset || k <= common) {
            continue;
        }
        uint8_t *row = m_image.RowPointer(y);
        for (uint32_t x = 0; x < m_page.width; ++x) {
            row[x] = static_cast<uint8_t>(row[x] >> (k - common));
        }
    }
}

} // namespace

void CfImageTIF::ReadStripPage(TIFF *tif, Page &page) {
    uint32_t entries = 0;
    HeapPtr<RGBQUAD> palette = BuildPalette(tif, page, &entries);
    if (!page.deepPalette) {
        CopyPalette(palette.get(), 1u << std::min<uint32_t>(page.bitsPerSample, 8));
        palette.reset();
    }
    // CIELab (and any page of three or more samples) becomes colour.
    if (page.samplesPerPixel >= 3 && GetBitsPerPixel() != 24) {
        if (Create(page.width, page.height, 24, FormatTiff) == nullptr) {
            raiseDecodeFailure("CfImageTIF can't create image");
        }
        if (page.samplesPerPixel == 4) {
            CreateAlphaChannel();
        }
    }
    // Rows that a failing strip leaves unread come out black rather than undefined.
    std::memset(info.pixels, 0, header.biSizeImage);
    {
        StripReader reader(*this, tif, page, palette.get());
        reader.Allocate();
        reader.ReadAll();
        reader.NormaliseWideGrey();
    }
    palette.reset();
}
