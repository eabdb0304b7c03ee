#include "app/CorrectionPixels.h"

#include "image/ReducedDecode.h"

namespace {

// Copies the decoded rows (bottom-up, 24-bit blue-green-red or 8-bit grey palette) top row
// first as RGB or grey.
bool copyRows(const CfImage &image, CorrectionPixels &pixels) {
    const uint32_t width = image.GetWidth();
    const uint32_t height = image.GetHeight();
    const uint16_t bits = image.GetBitsPerPixel();
    if (bits != 24 && bits != 8) {
        return false;
    }
    pixels.width = int(width);
    pixels.height = int(height);
    pixels.channels = bits == 24 ? 3 : 1;
    const std::size_t rowBytes = std::size_t(width) * pixels.channels;
    pixels.rows.resize(rowBytes * height);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t *source = image.RowPointer(height - 1 - y);
        uint8_t *target = pixels.rows.data() + rowBytes * y;
        for (uint32_t x = 0; x < width; ++x) {
            if (bits == 24) {
                target[3 * x] = source[3 * x + 2];
                target[3 * x + 1] = source[3 * x + 1];
                target[3 * x + 2] = source[3 * x];
            } else {
                target[x] = image.PaletteEntry(source[x]).rgbGreen;
            }
        }
    }
    return true;
}

} // namespace

folvane::correction::Picture CorrectionPixels::picture() const {
    folvane::correction::Picture picture;
    picture.pixels = rows.data();
    picture.size = rows.size();
    picture.width = width;
    picture.height = height;
    picture.channels = channels;
    picture.stride = std::size_t(width) * channels;
    return picture;
}

bool decodeForCorrection(const std::string &path, uint32_t maxSide, CorrectionPixels &pixels) {
    pixels = CorrectionPixels{};
    CfImage image;
    ReducedFacts facts;
    const auto choose = [maxSide](uint32_t width, uint32_t height) -> std::optional<ReducedSize> {
        return reducedSizeWithin(width, height, maxSide, maxSide);
    };
    if (!loadReduced(path.c_str(), choose, image, &facts) || !image.IsValid() ||
        !copyRows(image, pixels)) {
        pixels = CorrectionPixels{};
        return false;
    }
    pixels.fullWidth = facts.uprightWidth;
    pixels.fullHeight = facts.uprightHeight;
    return true;
}

folvane::correction::Corners toPixels(const folvane::SheetCorners &full,
                                      const CorrectionPixels &pixels) {
    folvane::correction::Corners corners;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        corners[i] = {(full[2 * i] + 0.5) / pixels.scaleX() - 0.5,
                      (full[2 * i + 1] + 0.5) / pixels.scaleY() - 0.5};
    }
    return corners;
}

folvane::SheetCorners toFullSize(const folvane::correction::Corners &corners,
                                 const CorrectionPixels &pixels) {
    folvane::SheetCorners full;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        full[2 * i] = (corners[i].x + 0.5) * pixels.scaleX() - 0.5;
        full[2 * i + 1] = (corners[i].y + 0.5) * pixels.scaleY() - 0.5;
    }
    return full;
}
