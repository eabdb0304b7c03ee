#include "pdfw/core/PictureLimits.h"

#include <cstdlib>
#include <utility>

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

namespace {

// What a few bytes' slack allows on top of the ratio: headers, tables, a last partial block.
constexpr std::uint64_t kSlackBytes = 65536;

// A whole number from 1 in the environment variable `name`, else `otherwise`.
std::size_t sizeFromEnvironment(const char *name, std::size_t otherwise) {
    const char *text = std::getenv(name);
    if (!text || !*text) {
        return otherwise;
    }
    char *end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 10);
    return *end == '\0' && value >= 1 ? static_cast<std::size_t>(value) : otherwise;
}

} // namespace

std::size_t wholePictureBytes() {
    return sizeFromEnvironment("FOLVANE_PDFW_WHOLE_PICTURE_BYTES", kWholePictureBytes);
}

std::size_t bandBytes() {
    return sizeFromEnvironment("FOLVANE_PDFW_BAND_BYTES", kBandBytes);
}

void checkPictureSides(const std::string &path, const char *format, std::uint32_t width,
                       std::uint32_t height) {
    if (width <= kMaxPictureSide && height <= kMaxPictureSide) {
        return;
    }
    Problem tooLarge = problemWith(PDFW_PROBLEM_TOO_MANY_PIXELS, path);
    tooLarge.format = format;
    tooLarge.numbers[0] = width;
    tooLarge.numbers[1] = height;
    fail(PDFW_OVERFLOW_ERROR, std::move(tooLarge));
}

void checkDataCanHold(const std::string &path, const char *format, std::uint32_t width,
                      std::uint32_t height, std::uint64_t decodedBytes, std::uint64_t dataBytes,
                      std::uint64_t maxRatio) {
    // dataBytes comes from the file, at most its size: the product cannot wrap.
    if (decodedBytes <= dataBytes * maxRatio + kSlackBytes) {
        return;
    }
    Problem tooShort = problemWith(PDFW_PROBLEM_DATA_TOO_SHORT, path);
    tooShort.format = format;
    tooShort.numbers[0] = static_cast<long long>(std::uint64_t{width} * height);
    tooShort.numbers[1] = static_cast<long long>(dataBytes);
    fail(PDFW_SYNTAX_ERROR, std::move(tooShort));
}

} // namespace folvane::pdfw
