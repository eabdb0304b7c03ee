// Writers of page files that take the page row by row as it arrives, so no page is ever held
// whole in memory.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>

#include "scan/FrameLayout.h"

namespace folvane::scan {

struct Resolution {
    double x = 0; // dots per inch; 0 when unknown (then nothing is recorded)
    double y = 0;
};

// Why a page file could not be written: the library's or the system's text.
class PageWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PageEncoder {
public:
    virtual ~PageEncoder() = default;
    // One row as FrameLayout::rowBytes describes it. Throws PageWriteError.
    virtual void writeRow(const uint8_t *row) = 0;
    // After the last row: ends the file and hands every byte to the system (not yet to the
    // disk: the caller flushes the file). Throws PageWriteError.
    virtual void finish() = 0;
};

// An encoder of `height` rows of `layout` into the open file `fd`, which it writes through a
// duplicate of its own: PNG for grey and colour, CCITT G4 TIFF for black and white, with the
// resolution recorded.
std::unique_ptr<PageEncoder> makeEncoder(const FrameLayout &layout, uint32_t height,
                                         Resolution resolution, int fd);

} // namespace folvane::scan
