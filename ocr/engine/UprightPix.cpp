#include "ocr/engine/UprightPix.h"

#include <cstring>
#include <string>

#include <leptonica/allheaders.h>

#include "base/Orientation.h"
#include "ocr/OcrError.h"

namespace folvane::ocr {

namespace {

void check(const PageImage &image) {
    if (!image.rows || image.width <= 0 || image.height <= 0) {
        throw OcrError({Failure::Kind::Failed, "", "the page has no pixels"});
    }
    if (image.width > kMaxSide || image.height > kMaxSide ||
        static_cast<long long>(image.width) * image.height > kMaxPixels) {
        throw OcrError(
            {Failure::Kind::Failed, "", "too large to recognise", image.width, image.height});
    }
    if (image.depth != 1 && image.depth != 8) {
        throw OcrError({Failure::Kind::Failed, "",
                        "pixels of " + std::to_string(image.depth) + " bits cannot be recognised",
                        image.width, image.height});
    }
    std::size_t needed = image.depth == 1 ? (static_cast<std::size_t>(image.width) + 7) / 8
                                          : static_cast<std::size_t>(image.width);
    if (image.rowBytes < needed) {
        throw OcrError({Failure::Kind::Failed, "", "the page's rows are shorter than its width",
                        image.width, image.height});
    }
}

// Leptonica keeps rows in 32-bit words whose first pixel is the most significant: copy the
// packed rows as bytes, then put each word into the machine's order.
PixPtr copyRows(const PageImage &image) {
    PixPtr pix(pixCreateNoInit(image.width, image.height, image.depth));
    if (!pix) {
        throw OcrError({Failure::Kind::OutOfMemory, "", ""});
    }
    auto *target = reinterpret_cast<unsigned char *>(pixGetData(pix.get()));
    std::size_t targetBytes = static_cast<std::size_t>(pixGetWpl(pix.get())) * 4;
    std::size_t used = image.depth == 1 ? (static_cast<std::size_t>(image.width) + 7) / 8
                                        : static_cast<std::size_t>(image.width);
    for (int y = 0; y < image.height; ++y) {
        unsigned char *row = target + y * targetBytes;
        std::memcpy(row, image.rows + y * image.rowBytes, used);
        std::memset(row + used, 0, targetBytes - used);
    }
    pixEndianByteSwap(pix.get());
    return pix;
}

// Applies one Leptonica step that makes a new picture, replacing `pix`.
template <typename Step> void turn(PixPtr &pix, Step step) {
    Pix *next = step(pix.get());
    if (!next) {
        throw OcrError({Failure::Kind::OutOfMemory, "", ""});
    }
    pix.reset(next);
}

} // namespace

void PixDeleter::operator()(Pix *pix) const {
    pixDestroy(&pix);
}

PixPtr uprightPix(const PageImage &image) {
    check(image);
    PixPtr pix = copyRows(image);
    const folvane::OrientationSteps steps = folvane::stepsOf(image.orientation);
    if (steps.mirror) {
        turn(pix, [](Pix *p) { return pixFlipLR(nullptr, p); });
    }
    if (steps.clockwiseTurns > 0) {
        // pixRotateOrth turns clockwise by quarters.
        turn(pix, [&](Pix *p) { return pixRotateOrth(p, steps.clockwiseTurns); });
    }
    if (image.dpi > 0) {
        pixSetResolution(pix.get(), image.dpi, image.dpi);
    }
    return pix;
}

} // namespace folvane::ocr
