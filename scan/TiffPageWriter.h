// Black-and-white pages as CCITT G4 TIFF (the group4 library, which the PDF engine encodes
// with too): one strip (so the PDF engine can take the coded data as it is), min-is-white as
// SANE's bits are (a set bit is black), and the resolution in XResolution/YResolution/
// ResolutionUnit.
#pragma once

#include "group4/Group4File.h"
#include "scan/PageEncoder.h"

namespace folvane::scan {

class TiffPageWriter : public PageEncoder {
public:
    TiffPageWriter(const FrameLayout &layout, uint32_t height, Resolution resolution, int fd);

    void writeRow(const uint8_t *row) override;
    void finish() override;

private:
    group4::Group4File file_;
};

} // namespace folvane::scan
