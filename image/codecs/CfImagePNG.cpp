#include "image/codecs/CfImagePNG.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "image/CfStream.h"
#include "image/SafeSize.h"
#include "image/codecs/DecodeFailure.h"
#include "image/codecs/PngReadSession.h"

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr const char *kNotPng = "CfImagePNG: not a PNG file";
constexpr const char *kNoLibrary = "CfImagePNG: libpng could not start";
constexpr const char *kCancelled = "Cancelled";
constexpr const char *kNoMemory = "CfImagePNG: can't allocate memory";
constexpr const char *kUnexpectedRows = "CfImagePNG: libpng delivered rows of an unexpected length";

// Raises libpng's own reason, naming where it comes from.
[[noreturn]] void RaiseLibraryFailure(const PngReadSession &png) {
    char text[kLastErrorSize];
    std::snprintf(text, sizeof text, "CfImagePNG: %s", png.message());
    raiseDecodeFailure(text);
}

PngOutput ChooseOutput(int colorType, bool transparency) {
    switch (colorType) {
    case PNG_COLOR_TYPE_PALETTE:
        return transparency ? PngOutput::Bgra : PngOutput::Index;
    case PNG_COLOR_TYPE_GRAY:
        return transparency ? PngOutput::GreyAlpha : PngOutput::Grey;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return PngOutput::GreyAlpha;
    case PNG_COLOR_TYPE_RGB:
        return transparency ? PngOutput::Bgra : PngOutput::Bgr;
    default:
        return PngOutput::Bgra;
    }
}

bool HasAlpha(PngOutput output) {
    return output == PngOutput::GreyAlpha || output == PngOutput::Bgra;
}

int32_t DotsPerInch(uint32_t pixelsPerMetre) {
    return static_cast<int32_t>(std::floor(pixelsPerMetre * 0.0254 + 0.5));
}

} // namespace

bool CfImagePNG::Decode(CfStream *stream) {
    if (stream == nullptr) {
        SetLastError("CfImagePNG: null stream");
        return false;
    }
    return catchDecodeFailure(*this, [&] { return DecodePng(*stream); });
}

bool CfImagePNG::DecodePng(CfStream &stream) {
    uint8_t signature[sizeof kSignature];
    if (stream.Read(signature, sizeof signature, 1) != 1 ||
        std::memcmp(signature, kSignature, sizeof signature) != 0) {
        raiseDecodeFailure(kNotPng);
    }
    PngReadSession png(stream);
    if (!png.ready()) {
        raiseDecodeFailure(kNoLibrary);
    }
    if (!png.readInfo()) {
        RaiseLibraryFailure(png);
    }
    if (info.escape == kEscapeHeaderOnly) {
        header.biWidth = static_cast<int32_t>(png.width());
        header.biHeight = static_cast<int32_t>(png.height());
        info.type = FormatPng;
        return true;
    }
    if (info.escape != kEscapeGoOn) {
        raiseDecodeFailure(kCancelled);
    }
    const PngOutput output = ChooseOutput(png.colorType(), png.hasTransparency());
    CreateBitmap(png, output);
    if (!png.setOutput(output)) {
        RaiseLibraryFailure(png);
    }
    const auto expected = SafeSize::mul(png.width(), pngOutputChannels(output));
    if (!expected || png.rowBytes() != *expected) {
        raiseDecodeFailure(kUnexpectedRows);
    }
    if (png.interlaced()) {
        ReadInterlaced(png, output);
    } else {
        ReadRowByRow(png, output);
    }
    return true;
}

// The bitmap comes before libpng sets up its row buffers, so that its memory ceiling refuses
// absurd sizes first.
void CfImagePNG::CreateBitmap(PngReadSession &png, PngOutput output) {
    const uint32_t width = png.width();
    const uint32_t height = png.height();
    const bool palette = output == PngOutput::Index;
    const bool grey = output == PngOutput::Grey || output == PngOutput::GreyAlpha;
    if (Create(width, height, palette || grey ? 8 : 24, FormatPng) == nullptr) {
        raiseDecodeFailure(""); // Create's own text stays
    }
    std::memset(info.pixels, 0, header.biSizeImage);
    if (HasAlpha(output) && !CreateAlphaChannel()) {
        raiseDecodeFailure(kNoMemory);
    }
    if (grey) {
        SetGreyPalette();
    } else if (palette) {
        int count = 0;
        const png_color *entries = png.palette(&count);
        for (int i = 0; i < count && i < 256; ++i) {
            SetPaletteEntry(static_cast<uint8_t>(i), entries[i].red, entries[i].green,
                            entries[i].blue);
        }
    }
    uint32_t ppmX = 0;
    uint32_t ppmY = 0;
    if (png.pixelsPerMetre(&ppmX, &ppmY)) {
        SetDpiX(DotsPerInch(ppmX));
        SetDpiY(DotsPerInch(ppmY));
    }
}

// Rows in the bitmap's layout go straight into it (top row into the last stored row); rows
// with alpha pass through one row buffer.
void CfImagePNG::ReadRowByRow(PngReadSession &png, PngOutput output) {
    std::unique_ptr<uint8_t[]> buffer;
    if (HasAlpha(output)) {
        buffer.reset(new (std::nothrow) uint8_t[png.rowBytes()]);
        if (!buffer) {
            raiseDecodeFailure(kNoMemory);
        }
    }
    const uint32_t height = png.height();
    for (uint32_t y = 0; y < height; ++y) {
        if (info.escape != kEscapeGoOn) {
            raiseDecodeFailure(kCancelled);
        }
        uint8_t *row = buffer ? buffer.get() : RowPointer(height - 1 - y);
        if (!png.readRow(row)) {
            RaiseLibraryFailure(png);
        }
        if (buffer) {
            StoreRow(y, row, output);
        }
    }
}

// Interlaced rows are filled in over seven passes, so the whole image is read at once: into the
// bitmap's own rows when libpng delivers them in the bitmap's layout, otherwise into one buffer
// that is split into colour and alpha afterwards.
void CfImagePNG::ReadInterlaced(PngReadSession &png, PngOutput output) {
    const uint32_t height = png.height();
    std::unique_ptr<uint8_t *[]> rows(new (std::nothrow) uint8_t *[height]);
    if (!rows) {
        raiseDecodeFailure(kNoMemory);
    }
    std::unique_ptr<uint8_t[]> buffer;
    if (HasAlpha(output)) {
        // Four bytes for the bitmap's three plus alpha, or two for one plus alpha: the buffer is
        // no larger than the bitmap and alpha plane already made.
        const auto bytes = SafeSize::mul(png.rowBytes(), height);
        if (bytes) {
            buffer.reset(new (std::nothrow) uint8_t[*bytes]);
        }
        if (!buffer) {
            raiseDecodeFailure(kNoMemory);
        }
    }
    for (uint32_t y = 0; y < height; ++y) {
        rows[y] = buffer ? buffer.get() + size_t{y} * png.rowBytes() : RowPointer(height - 1 - y);
    }
    if (!png.readImage(rows.get())) {
        RaiseLibraryFailure(png);
    }
    if (buffer) {
        for (uint32_t y = 0; y < height; ++y) {
            StoreRow(y, rows[y], output);
        }
    }
}

// Puts a row with alpha, PNG row pngRow (counted from the top), into the bitmap and the alpha
// plane.
void CfImagePNG::StoreRow(uint32_t pngRow, const uint8_t *row, PngOutput output) {
    const uint32_t width = GetWidth();
    const uint32_t y = GetHeight() - 1 - pngRow;
    uint8_t *pixels = RowPointer(y);
    uint8_t *alphaRow = alpha + size_t{y} * width;
    if (output == PngOutput::GreyAlpha) {
        for (uint32_t x = 0; x < width; ++x) {
            pixels[x] = row[2 * size_t{x}];
            alphaRow[x] = row[2 * size_t{x} + 1];
        }
        return;
    }
    for (uint32_t x = 0; x < width; ++x) {
        const uint8_t *in = row + 4 * size_t{x};
        uint8_t *out = pixels + 3 * size_t{x};
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
        alphaRow[x] = in[3];
    }
}
