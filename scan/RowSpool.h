// The rows of a page whose length is unknown until it ends (a hand-held scanner, some
// feeders). A PNG or TIFF file states its height before its rows, so the rows wait in an
// unnamed file in the page's own folder (same disk, nothing left behind by a crash) and go into
// the page file once the last has come; memory stays at one row whatever the page's length.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "scan/PageEncoder.h"

namespace folvane::scan {

class RowSpool {
public:
    // Throws PageWriteError when no file can be made in `folder`.
    RowSpool(const std::string &folder, std::size_t rowBytes);
    ~RowSpool();
    RowSpool(const RowSpool &) = delete;
    RowSpool &operator=(const RowSpool &) = delete;

    void append(const uint8_t *row); // throws PageWriteError
    int64_t rows() const { return rows_; }
    // Hands every row, in order, to `encoder`, read back through `buffer` (one row).
    void replayInto(PageEncoder &encoder, uint8_t *buffer);

private:
    FILE *file_ = nullptr;
    std::size_t rowBytes_;
    int64_t rows_ = 0;
};

} // namespace folvane::scan
