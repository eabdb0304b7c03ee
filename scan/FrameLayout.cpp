#include "scan/FrameLayout.h"

#include <cstring>

namespace folvane::scan {

namespace {

// Past these a scanner's parameters are garbage, not a page: a million pixels is over 800
// inches at 1200 dpi.
constexpr int64_t kMaxWidth = 1 << 20;
constexpr int64_t kMaxLineBytes = int64_t{1} << 26;

} // namespace

bool layoutOf(const SANE_Parameters &p, FrameLayout &layout, std::string &problem) {
    if (p.format != SANE_FRAME_GRAY && p.format != SANE_FRAME_RGB) {
        problem = "the scanner sends colour in three passes, which cannot be read; choose "
                  "another mode";
        return false;
    }
    if (!p.last_frame) {
        problem = "the scanner sends a page in several frames, which cannot be read";
        return false;
    }
    if (p.depth != 1 && p.depth != 8 && p.depth != 16) {
        problem = "the scanner sends " + std::to_string(p.depth) +
                  " bits per sample; only 1, 8 and 16 can be written";
        return false;
    }
    const int channels = p.format == SANE_FRAME_RGB ? 3 : 1;
    if (p.pixels_per_line < 1 || p.pixels_per_line > kMaxWidth || p.bytes_per_line < 1 ||
        p.bytes_per_line > kMaxLineBytes || p.lines > kMaxRows) {
        problem = "the scanner announces a page of " + std::to_string(p.pixels_per_line) +
                  " pixels in lines of " + std::to_string(p.bytes_per_line) + " bytes";
        return false;
    }
    const int64_t width = p.pixels_per_line;
    const int64_t bitsPerLine = width * channels * p.depth;
    if ((bitsPerLine + 7) / 8 > p.bytes_per_line) {
        problem = "the scanner's lines of " + std::to_string(p.bytes_per_line) +
                  " bytes are too short for " + std::to_string(width) + " pixels";
        return false;
    }
    layout = FrameLayout{};
    layout.width = static_cast<uint32_t>(width);
    layout.height = p.lines > 0 ? p.lines : -1;
    layout.lineBytes = static_cast<std::size_t>(p.bytes_per_line);
    layout.channels = channels;
    if (p.depth == 1 && channels == 1) {
        layout.format = PageFormat::Tiff;
        layout.depth = 1;
        layout.rowBytes = static_cast<std::size_t>((width + 7) / 8);
    } else if (p.depth == 1) {
        layout.expandBits = true;
        layout.depth = 8;
        layout.rowBytes = static_cast<std::size_t>(width * 3);
    } else {
        layout.depth = p.depth;
        layout.rowBytes = static_cast<std::size_t>(bitsPerLine / 8);
    }
    return true;
}

void convertLine(const FrameLayout &layout, const uint8_t *line, uint8_t *row) {
    if (!layout.expandBits) {
        std::memcpy(row, line, layout.rowBytes);
        return;
    }
    // Colour at one bit a sample: a set bit is full intensity.
    for (std::size_t i = 0; i < layout.rowBytes; ++i) {
        row[i] = (line[i / 8] >> (7 - i % 8)) & 1 ? 0xFF : 0x00;
    }
}

void whiteRow(const FrameLayout &layout, uint8_t *row) {
    std::memset(row, layout.format == PageFormat::Tiff ? 0x00 : 0xFF, layout.rowBytes);
}

} // namespace folvane::scan
