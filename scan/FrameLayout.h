// The shape of a page as the scanner announces it (sane_get_parameters), checked before a
// byte is read, and the shape of the rows that go into its file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <sane/sane.h>

namespace folvane::scan {

// The most rows a page may have, announced or not: over 800 inches at 1200 dpi. A scanner that
// announces more, or sends more without announcing, is not sending a page.
inline constexpr int64_t kMaxRows = int64_t{1} << 20;

enum class PageFormat {
    Png,  // grey or colour, 8 or 16 bits
    Tiff, // black and white, CCITT G4
};

struct FrameLayout {
    PageFormat format = PageFormat::Png;
    uint32_t width = 0;        // pixels
    int64_t height = -1;       // rows; -1 until the page ends (hand-held, some feeders)
    int channels = 1;          // of the file: 1 grey or bilevel, 3 colour
    int depth = 8;             // bits per sample of the file: 1, 8 or 16
    std::size_t lineBytes = 0; // of a line as the scanner sends it, padding included
    std::size_t rowBytes = 0;  // of a row as the file's writer takes it
    bool expandBits = false;   // colour at 1 bit per sample: widened to 8 bits
    int64_t expectedBytes() const {
        return height < 0 ? -1 : height * static_cast<int64_t>(lineBytes);
    }
    const char *extension() const { return format == PageFormat::Tiff ? ".tif" : ".png"; }
};

// The layout of a frame; false with `problem` set when the parameters are not a page this
// library can write (three-pass colour, a depth other than 1, 8 or 16, lines shorter than
// their pixels, sizes past the limits).
bool layoutOf(const SANE_Parameters &parameters, FrameLayout &layout, std::string &problem);

// The file's row from the scanner's line: the line's padding dropped, 1-bit colour widened.
void convertLine(const FrameLayout &layout, const uint8_t *line, uint8_t *row);

// A white row for the file: 0xFF samples, or 0 bits for black and white (white is 0 there).
void whiteRow(const FrameLayout &layout, uint8_t *row);

} // namespace folvane::scan
