#include "image/codecs/CfImageTIF.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

#include <tiffio.h>

#include "base/Orientation.h"
#include "image/CfStream.h"
#include "image/SafeSize.h"
#include "image/codecs/CfImageTIFPage.h"
#include "image/codecs/CfTiffStreamProcs.h"
#include "image/codecs/DecodeFailure.h"

using namespace tiffcodec;

namespace {

struct TiffCloser {
    void operator()(TIFF *tif) const { TIFFClose(tif); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// Truncates toward zero; values a 32-bit integer cannot hold saturate instead of overflowing.
int32_t TruncateToInt32(float v) {
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= 2147483647.0f) {
        return std::numeric_limits<int32_t>::max();
    }
    if (v <= -2147483648.0f) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}

template <typename T> T GetTag(TIFF *tif, uint32_t tag, T fallback) {
    T value = fallback;
    if (!TIFFGetField(tif, tag, &value)) {
        return fallback;
    }
    return value;
}

// The bitmap depth a page of this kind is decoded into.
uint32_t ChooseDepth(CfImageTIF::Page &page) {
    const uint16_t bits = page.bitsPerSample;
    if (IsRgbFamily(page.photometric)) {
        return 24;
    }
    if (page.photometric == kPhotometricMinIsWhite || page.photometric == kPhotometricMinIsBlack ||
        page.photometric == kPhotometricPalette) {
        if (bits == 1) {
            return 1;
        }
        if (bits == 4) {
            return 4;
        }
        if (page.photometric == kPhotometricPalette && bits > 8) {
            page.deepPalette = true;
            return 24;
        }
        return 8;
    }
    return bits == 4 ? 4 : 8;
}

} // namespace

namespace tiffcodec {

bool IsRgbFamily(uint16_t photometric) {
    return photometric == PHOTOMETRIC_RGB || photometric == PHOTOMETRIC_SEPARATED ||
           photometric == PHOTOMETRIC_YCBCR || photometric == PHOTOMETRIC_LOGL ||
           photometric == PHOTOMETRIC_LOGLUV;
}

CfImageTIF::Page ReadPageTags(TIFF *tif) {
    CfImageTIF::Page page;
    page.width = GetTag<uint32_t>(tif, TIFFTAG_IMAGEWIDTH, 0);
    page.height = GetTag<uint32_t>(tif, TIFFTAG_IMAGELENGTH, 0);
    page.samplesPerPixel = GetTag<uint16_t>(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    page.bitsPerSample = GetTag<uint16_t>(tif, TIFFTAG_BITSPERSAMPLE, 1);
    page.rowsPerStrip = GetTag<uint32_t>(tif, TIFFTAG_ROWSPERSTRIP, 0xFFFFFFFF);
    page.photometric = GetTag<uint16_t>(tif, TIFFTAG_PHOTOMETRIC, 0);
    page.orientation = static_cast<uint16_t>(
        folvane::normalOrientation(GetTag<uint16_t>(tif, TIFFTAG_ORIENTATION, 1)));
    page.planar = GetTag<uint16_t>(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (TIFFIsTiled(tif)) {
        page.tileWidth = GetTag<uint32_t>(tif, TIFFTAG_TILEWIDTH, 0);
        page.tileLength = GetTag<uint32_t>(tif, TIFFTAG_TILELENGTH, 0);
    }
    return page;
}

void SettleRowsPerStrip(TIFF *tif, CfImageTIF::Page &page) {
    if (page.rowsPerStrip > page.height || page.rowsPerStrip == 0) {
        page.rowsPerStrip = page.height;
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.height);
    }
}

} // namespace tiffcodec

CfImageTIF::CfImageTIF() : CfImage(FormatTiff) {}

CfImageTIF::~CfImageTIF() {
    if (m_tifOut != nullptr) {
        TIFFClose(m_tifOut);
    }
}

bool CfImageTIF::Decode(CfStream *stream) {
    return catchDecodeFailure(*this, [&] { return DecodePage(stream); });
}

bool CfImageTIF::DecodePage(CfStream *stream) {
    TiffHandle tif;
    if (stream != nullptr) {
        tif.reset(TiffOpenStream(stream, "rb"));
    }
    if (!tif) {
        raiseDecodeFailure("Error encountered while opening TIFF file");
    }
    // Counted before the page is chosen, so a caller learns the count even when the page asked
    // for is absent.
    info.frameCount = static_cast<uint16_t>(TIFFNumberOfDirectories(tif.get()));
    if (!TIFFSetDirectory(tif.get(), static_cast<uint16_t>(info.frame))) {
        raiseDecodeFailure("Error: page not present in TIFF file");
    }
    ReadPage(tif.get());
    return true;
}

void CfImageTIF::ReadPage(TIFF *tif) {
    Page page = ReadPageTags(tif);

    if (info.escape == kEscapeHeaderOnly) {
        header.biWidth = static_cast<int32_t>(page.width);
        header.biHeight = static_cast<int32_t>(page.height);
        info.type = FormatTiff;
        SetLastError("output dimensions returned");
        return;
    }

    ReadResolution(tif);
    header.biClrUsed = 0;
    info.transparentIndex = -1;

    SettleRowsPerStrip(tif, page);

    page.depth = ChooseDepth(page);
    if (info.escape != 0) {
        raiseDecodeFailure("Cancelled");
    }
    // Coordinates are signed 32-bit everywhere in the image object.
    if (page.width > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ||
        page.height > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()) ||
        page.samplesPerPixel == 0 || page.bitsPerSample == 0 ||
        Create(page.width, page.height, page.depth, FormatTiff) == nullptr ||
        info.pixels == nullptr) {
        raiseDecodeFailure("CfImageTIF can't create image");
    }
    if (page.samplesPerPixel == 4 || (page.samplesPerPixel == 2 && page.bitsPerSample == 8)) {
        CreateAlphaChannel();
    }
    SetFormatOption(GetTag<uint16_t>(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE), FormatTiff);

    if (IsRgbFamily(page.photometric)) {
        ReadRgbaPage(tif, page);
    } else {
        ReadStripPage(tif, page);
    }
    // Both paths leave the rows as the file stores them; every colour path turns upright here.
    if (!ApplyOrientation(page.orientation)) {
        raiseDecodeFailure("CfImageTIF can't allocate memory");
    }
}

void CfImageTIF::ReadResolution(TIFF *tif) {
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
    const auto toDpi = [unit](float v) {
        return unit == RESUNIT_CENTIMETER ? v * 2.54f + 0.5f : v;
    };
    float value = 0;
    if (TIFFGetField(tif, TIFFTAG_XRESOLUTION, &value)) {
        SetDpiX(TruncateToInt32(toDpi(value)));
    }
    if (TIFFGetField(tif, TIFFTAG_YRESOLUTION, &value)) {
        SetDpiY(TruncateToInt32(toDpi(value)));
    }
    if (TIFFGetField(tif, TIFFTAG_XPOSITION, &value)) {
        info.xOffset = TruncateToInt32(value);
    }
    if (TIFFGetField(tif, TIFFTAG_YPOSITION, &value)) {
        info.yOffset = TruncateToInt32(value);
    }
}

void CfImageTIF::ReadRgbaPage(TIFF *tif, const Page &page) {
    // The 24-bit bitmap of the same size exists, so the raster (4 bytes for its 3) stays within
    // a fixed multiple of the bitmap ceiling.
    const std::optional<size_t> rasterBytes = SafeSize::mul(page.width, page.height, 4);
    HeapPtr<uint32_t> raster(rasterBytes ? static_cast<uint32_t *>(std::malloc(*rasterBytes))
                                         : nullptr);
    if (!raster) {
        raiseDecodeFailure("No space for raster buffer");
    }
    // Asked for the file's own orientation, the RGBA reader neither flips nor mirrors: the
    // raster holds the rows as stored, top row first. It never turns by a quarter, so the
    // orientation is applied afterwards, on every path alike.
    if (!TIFFReadRGBAImageOriented(tif, page.width, page.height, raster.get(), page.orientation,
                                   1)) {
        raiseDecodeFailure("Corrupted TIFF file!");
    }
    // Alpha comes from the raster only for four samples per pixel; the channel exists then.
    uint8_t *alphaRows = page.samplesPerPixel == 4 ? alpha : nullptr;
    for (uint32_t y = 0; y < page.height; ++y) {
        if (info.escape != 0) {
            raiseDecodeFailure("Cancelled");
        }
        const uint32_t *src = raster.get() + size_t{page.height - 1 - y} * page.width;
        uint8_t *dst = info.pixels + size_t{y} * info.rowStride;
        if (alphaRows == nullptr) {
            for (uint32_t x = 0; x < page.width; ++x) {
                const uint32_t abgr = src[x];
                dst[3 * size_t{x}] = static_cast<uint8_t>(TIFFGetB(abgr));
                dst[3 * size_t{x} + 1] = static_cast<uint8_t>(TIFFGetG(abgr));
                dst[3 * size_t{x} + 2] = static_cast<uint8_t>(TIFFGetR(abgr));
            }
            continue;
        }
        uint8_t *alphaRow = alphaRows + size_t{y} * page.width;
        for (uint32_t x = 0; x < page.width; ++x) {
            const uint32_t abgr = src[x];
            const auto a = static_cast<uint8_t>(TIFFGetA(abgr));
            // The raster's colours are premultiplied by its alpha; the bitmap keeps straight
            // colours beside its alpha plane, as drawing expects.
            dst[3 * size_t{x}] = StraightChannel(TIFFGetB(abgr), a);
            dst[3 * size_t{x} + 1] = StraightChannel(TIFFGetG(abgr), a);
            dst[3 * size_t{x} + 2] = StraightChannel(TIFFGetR(abgr), a);
            alphaRow[x] = a;
        }
    }
}
