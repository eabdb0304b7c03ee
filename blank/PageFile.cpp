#include "blank/PageFile.h"

#include <algorithm>
#include <cstdint>

#include "correction/Correction.h"
#include "image/ReducedDecode.h"

namespace folvane::blank {

namespace {

// The least longer side a picture larger than kWorkingSide is judged at. Read at half of that
// (an eighth of a phone photo), the rule misses a light pencil tick on a corrected photo.
constexpr uint64_t kLeastJudgedSide = 1000;

// The decoded picture (bottom row first, 24-bit blue-green-red or 8-bit palette) in grey, top
// row first.
bool greyOf(const CfImage &image, GreyPage &page) {
    const uint32_t width = image.GetWidth();
    const uint32_t height = image.GetHeight();
    const uint16_t bits = image.GetBitsPerPixel();
    if (!image.IsValid() || width == 0 || height == 0 || (bits != 24 && bits != 8)) {
        return false;
    }
    page.width = static_cast<int>(width);
    page.height = static_cast<int>(height);
    page.pixels.resize(static_cast<std::size_t>(width) * height);
    uint8_t greys[256];
    for (int index = 0; index < 256 && bits == 8; ++index) {
        const RGBQUAD entry = image.PaletteEntry(static_cast<uint8_t>(index));
        greys[index] = static_cast<uint8_t>(
            (77 * entry.rgbRed + 150 * entry.rgbGreen + 29 * entry.rgbBlue) >> 8);
    }
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t *source = image.RowPointer(height - 1 - y);
        uint8_t *target = page.pixels.data() + static_cast<std::size_t>(y) * width;
        for (uint32_t x = 0; x < width; ++x) {
            target[x] = bits == 8
                            ? greys[source[x]]
                            : static_cast<uint8_t>((29 * source[3 * x] + 150 * source[3 * x + 1] +
                                                    77 * source[3 * x + 2]) >>
                                                   8);
        }
    }
    return true;
}

struct Decoded {
    GreyPage page;
    double fullWidth = 0; // the upright picture at full size
    double fullHeight = 0;
};

// The size the rule reads a picture at: its own up to kWorkingSide, else the smallest
// eighth (1/8 to 7/8 of each side, rounded up) that leaves at least kLeastJudgedSide on the
// longer side: a JPEG decodes straight to that size by libjpeg's scaled decode, with no
// resampling after it, and other files average squares of pixels into it. A picture too large
// for an eighth to come within kWorkingSide is reduced to that.
ReducedSize judgedSize(uint32_t width, uint32_t height) {
    const uint32_t longer = std::max(width, height);
    ReducedSize size = reducedSizeWithin(width, height, kWorkingSide, kWorkingSide);
    if (longer > static_cast<uint32_t>(kWorkingSide)) {
        for (uint64_t eighths = 1; eighths < 8; ++eighths) {
            const uint64_t side = (longer * eighths + 7) / 8;
            if (side >= kLeastJudgedSide && side <= static_cast<uint64_t>(kWorkingSide)) {
                size.width = static_cast<uint32_t>((width * eighths + 7) / 8);
                size.height = static_cast<uint32_t>((height * eighths + 7) / 8);
                break;
            }
        }
    }
    size.grey = true; // the rule reads lightness only
    return size;
}

std::optional<Decoded> decode(const std::string &path, int filePage) {
    CfImage image;
    image.info.frame = std::max(0, filePage - 1);
    ReducedFacts facts;
    const auto choose = [](uint32_t width, uint32_t height) -> std::optional<ReducedSize> {
        return judgedSize(width, height);
    };
    Decoded decoded;
    if (!loadReduced(path.c_str(), choose, image, &facts) || !greyOf(image, decoded.page)) {
        return std::nullopt;
    }
    decoded.fullWidth = facts.uprightWidth;
    decoded.fullHeight = facts.uprightHeight;
    return decoded;
}

// The page document correction makes of the picture, in grey; nullopt when the picture would
// go into the PDF as it is (no sheet found, or one the correction refuses).
std::optional<GreyPage> correctedOf(const Decoded &decoded, const PageToJudge &request) {
    folvane::correction::Picture picture;
    picture.pixels = decoded.page.pixels.data();
    picture.size = decoded.page.pixels.size();
    picture.width = decoded.page.width;
    picture.height = decoded.page.height;
    picture.channels = 1;
    picture.stride = static_cast<std::size_t>(decoded.page.width);
    if (request.corners && decoded.fullWidth > 0 && decoded.fullHeight > 0) {
        const double scaleX = decoded.page.width / decoded.fullWidth;
        const double scaleY = decoded.page.height / decoded.fullHeight;
        folvane::correction::Corners corners;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            corners[i] = {((*request.corners)[2 * i] + 0.5) * scaleX - 0.5,
                          ((*request.corners)[2 * i + 1] + 0.5) * scaleY - 0.5};
        }
        picture.corners = corners;
    }
    folvane::correction::CorrectedPage corrected = folvane::correction::correctPage(picture);
    if (corrected.failure || !corrected.facts.found || corrected.facts.plain ||
        corrected.grey.size() != static_cast<std::size_t>(corrected.width) *
                                     static_cast<std::size_t>(corrected.height)) {
        return std::nullopt;
    }
    GreyPage page;
    page.width = corrected.width;
    page.height = corrected.height;
    page.pixels = std::move(corrected.grey);
    return page;
}

} // namespace

std::optional<BlankVerdict> judgePageFile(const PageToJudge &request) {
    std::optional<Decoded> decoded = decode(request.path, request.page);
    if (!decoded) {
        return std::nullopt;
    }
    if (request.corrected) {
        if (std::optional<GreyPage> corrected = correctedOf(*decoded, request)) {
            return judgeGreyPage(*corrected);
        }
    }
    return judgeGreyPage(decoded->page);
}

} // namespace folvane::blank
