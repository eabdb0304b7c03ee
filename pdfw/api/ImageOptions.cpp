#include "pdfw/api/ImageOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "pdfw/core/PdfwError.h"

namespace pdfw {

namespace {

constexpr const char kCorners[] = "corners=";
constexpr const char kCrop[] = "crop=";

// The eight numbers of "X1,Y1,...,X4,Y4", or false.
bool readCorners(const std::string &text, double *corners) {
    const char *at = text.c_str();
    for (int i = 0; i < 8; ++i) {
        char *end = nullptr;
        corners[i] = std::strtod(at, &end);
        if (end == at || !std::isfinite(corners[i]) || *end != (i < 7 ? ',' : '\0')) {
            return false;
        }
        at = end + (i < 7 ? 1 : 0);
    }
    return true;
}

// The four whole numbers of "LEFT,TOP,RIGHT,BOTTOM", or false.
bool readCrop(const std::string &text, CropRequest &crop) {
    long long *edges[] = {&crop.left, &crop.top, &crop.right, &crop.bottom};
    const char *at = text.c_str();
    for (int i = 0; i < 4; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(*at)) && *at != '-') {
            return false;
        }
        char *end = nullptr;
        errno = 0;
        *edges[i] = std::strtoll(at, &end, 10);
        if (end == at || errno == ERANGE || *end != (i < 3 ? ',' : '\0')) {
            return false;
        }
        at = end + (i < 3 ? 1 : 0);
    }
    return true;
}

bool startsWith(const std::string &text, const char *prefix) {
    return text.rfind(prefix, 0) == 0;
}

void readCornersEntry(const std::string &entry, bool correcting, ImageOptions &read) {
    if (!correcting) {
        failCall(PDFW_VALUE_ERROR, "corners given without the parameter \"correction\"");
    }
    const std::string numbers = entry.substr(sizeof kCorners - 1);
    if (read.correction.handCorners || !readCorners(numbers, read.correction.corners)) {
        failCall(PDFW_VALUE_ERROR,
                 "corners \"" + numbers + "\" are not eight numbers X1,Y1,...,X4,Y4 given once");
    }
    read.correction.handCorners = true;
}

void readCropEntry(const std::string &entry, ImageOptions &read) {
    const std::string numbers = entry.substr(sizeof kCrop - 1);
    CropRequest crop;
    if (read.crop || !readCrop(numbers, crop)) {
        failCall(PDFW_VALUE_ERROR, "crop \"" + numbers +
                                       "\" is not four whole numbers LEFT,TOP,RIGHT,BOTTOM "
                                       "given once");
    }
    read.crop = crop;
}

} // namespace

ImageOptions imageOptions(const char *options, bool correcting) {
    ImageOptions read;
    read.correction.on = correcting;
    std::istringstream entries{std::string(options)};
    std::string entry;
    while (entries >> entry) {
        if (startsWith(entry, kCorners)) {
            readCornersEntry(entry, correcting, read);
        } else if (startsWith(entry, kCrop)) {
            readCropEntry(entry, read);
        } else {
            failCall(PDFW_VALUE_ERROR,
                     "unsupported options \"" + entry + "\" (known: corners=..., crop=...)");
        }
    }
    return read;
}

} // namespace pdfw
