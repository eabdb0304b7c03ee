// The reduced PNG decode: libpng's rows, or the rows of each interlace pass with only that
// pass's pixels, added straight into the reduced picture. Every pixel of an interlaced file
// belongs to exactly one pass, so no pass needs the others and no full-size buffer is kept.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "image/CfStream.h"
#include "image/SafeSize.h"
#include "image/codecs/AreaReducer.h"
#include "image/codecs/DecodeFailure.h"
#include "image/codecs/PngReadSession.h"
#include "image/codecs/ReducedJob.h"

namespace {

constexpr const char *kModule = "ReducedPng";
constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kAdam7Passes = 7;

// Raises libpng's reason, with the row it stopped at when the picture's rows were being read.
[[noreturn]] void raiseLibraryFailure(const PngReadSession &png, uint32_t row = UINT32_MAX) {
    char text[kLastErrorSize];
    if (row == UINT32_MAX) {
        std::snprintf(text, sizeof text, "%s: %s", kModule, png.message());
    } else {
        std::snprintf(text, sizeof text, "%s: %s (at row %u of %u)", kModule, png.message(), row,
                      png.height());
    }
    raiseDecodeFailure(text);
}

// libpng's output for the pixels the full decoder shows: palettes become colour (indices
// cannot be averaged), transparency becomes alpha.
PngOutput outputFor(int colorType, bool transparency) {
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY:
        return transparency ? PngOutput::GreyAlpha : PngOutput::Grey;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return PngOutput::GreyAlpha;
    case PNG_COLOR_TYPE_PALETTE:
    case PNG_COLOR_TYPE_RGB:
        return transparency ? PngOutput::Bgra : PngOutput::Bgr;
    default:
        return PngOutput::Bgra;
    }
}

ReducedPixels pixelsOf(PngOutput output) {
    switch (output) {
    case PngOutput::Grey:
        return ReducedPixels::Grey;
    case PngOutput::GreyAlpha:
        return ReducedPixels::GreyAlpha;
    case PngOutput::Bgr:
        return ReducedPixels::Bgr;
    default:
        return ReducedPixels::Bgra;
    }
}

// One pass of the file: a non-interlaced file is a single pass of every pixel.
struct Pass {
    uint32_t columns;
    uint32_t rows;
    uint32_t firstColumn;
    uint32_t firstRow;
    uint32_t columnStep;
    uint32_t rowStep;
};

Pass passOf(const PngReadSession &png, int pass) {
    const uint32_t width = png.width();
    const uint32_t height = png.height();
    if (!png.interlaced()) {
        return Pass{width, height, 0, 0, 1, 1};
    }
    return Pass{uint32_t(PNG_PASS_COLS(width, pass)), uint32_t(PNG_PASS_ROWS(height, pass)),
                uint32_t(PNG_PASS_START_COL(pass)),   uint32_t(PNG_PASS_START_ROW(pass)),
                uint32_t(PNG_PASS_COL_OFFSET(pass)),  uint32_t(PNG_PASS_ROW_OFFSET(pass))};
}

void readPixels(PngReadSession &png, AreaReducer &reducer) {
    std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[png.rowBytes()]);
    if (!row) {
        raiseDecodeFailure("ReducedPng: can't allocate a row");
    }
    const int passes = png.interlaced() ? kAdam7Passes : 1;
    for (int p = 0; p < passes; ++p) {
        const Pass pass = passOf(png, p);
        // libpng skips the passes that hold no pixel of a small picture.
        if (pass.columns == 0 || pass.rows == 0) {
            continue;
        }
        for (uint32_t r = 0; r < pass.rows; ++r) {
            const uint32_t y = pass.firstRow + r * pass.rowStep;
            if (!png.readRow(row.get())) {
                raiseLibraryFailure(png, y);
            }
            reducer.add(y, pass.firstColumn, pass.columnStep, pass.columns, row.get());
        }
    }
}

} // namespace

void decodeReducedPng(CfStream &stream, ReducedJob &job) {
    uint8_t signature[sizeof kSignature];
    if (stream.Read(signature, sizeof signature, 1) != 1 ||
        std::memcmp(signature, kSignature, sizeof signature) != 0) {
        raiseDecodeFailure("ReducedPng: not a PNG file");
    }
    PngReadSession png(stream);
    if (!png.ready()) {
        raiseDecodeFailure("ReducedPng: libpng could not start");
    }
    if (!png.readInfo()) {
        raiseLibraryFailure(png);
    }
    const ReducedSize size = job.chooseSize(png.width(), png.height(), kModule);
    const PngOutput output = outputFor(png.colorType(), png.hasTransparency());
    if (!png.setPassOutput(output)) {
        raiseLibraryFailure(png);
    }
    const auto expected = SafeSize::mul(png.width(), pngOutputChannels(output));
    if (!expected || png.rowBytes() != *expected) {
        raiseDecodeFailure("ReducedPng: libpng delivers rows of an unexpected length");
    }
    AreaReducer reducer({png.width(), png.height(), 1, pixelsOf(output)}, size);
    readPixels(png, reducer);
    reducer.finish(job.image);
}
