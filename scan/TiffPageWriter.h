// Black-and-white pages as CCITT G4 TIFF through libtiff: one strip (so the PDF engine can take
// the coded data as it is), min-is-white as SANE's bits are (a set bit is black), and the
// resolution in XResolution/YResolution/ResolutionUnit.
#pragma once

#include <string>
#include <tiffio.h>

#include "scan/PageEncoder.h"

namespace folvane::scan {

class TiffPageWriter : public PageEncoder {
public:
    TiffPageWriter(const FrameLayout &layout, uint32_t height, Resolution resolution, int fd);
    ~TiffPageWriter() override;
    TiffPageWriter(const TiffPageWriter &) = delete;
    TiffPageWriter &operator=(const TiffPageWriter &) = delete;

    void WriteRow(const uint8_t *row) override;
    void Finish() override;

private:
    [[noreturn]] void Fail(const char *what);
    static int OnError(TIFF *, void *self, const char *module, const char *format, va_list args);

    TIFF *tiff_ = nullptr;
    uint32_t row_ = 0;
    std::string message_;
};

} // namespace folvane::scan
