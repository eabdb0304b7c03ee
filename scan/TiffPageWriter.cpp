#include "scan/TiffPageWriter.h"

namespace folvane::scan {

TiffPageWriter::TiffPageWriter(const FrameLayout &layout, uint32_t height, Resolution resolution,
                               int fd) {
    group4::Group4Page page;
    page.width = layout.width;
    page.height = height;
    page.setBit = group4::SetBit::Black;
    page.xDpi = static_cast<float>(resolution.x);
    page.yDpi = static_cast<float>(resolution.y);
    if (!file_.open(fd, page)) {
        throw PageWriteError(file_.error());
    }
}

void TiffPageWriter::writeRow(const uint8_t *row) {
    if (!file_.writeRow(row)) {
        throw PageWriteError(file_.error());
    }
}

void TiffPageWriter::finish() {
    if (!file_.finish()) {
        throw PageWriteError(file_.error());
    }
}

} // namespace folvane::scan
