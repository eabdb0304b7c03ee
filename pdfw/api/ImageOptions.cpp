#include "pdfw/api/ImageOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

namespace {

constexpr const char kCorners[] = "corners=";
constexpr const char kTurns[] = "turns=";
constexpr const char kCrop[] = "crop=";

bool startsWith(const std::string &text, const char *prefix) {
    return text.rfind(prefix, 0) == 0;
}

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

// Quarter turns clockwise, 0..3, from "-3" to "3"; -1 when the text is anything else.
int readTurns(const std::string &text) {
    if (text.empty() || text.size() > 2) {
        return -1;
    }
    const bool negative = text[0] == '-';
    const char digit = text[negative ? 1 : 0];
    if ((negative && text.size() != 2) || (!negative && text.size() != 1) || digit < '0' ||
        digit > '3') {
        return -1;
    }
    const int turns = digit - '0';
    return negative ? (4 - turns) % 4 : turns;
}

void readCornersOption(const std::string &option, bool correcting, ImageOptions &result) {
    if (!correcting) {
        failCall(PDFW_VALUE_ERROR, "corners given without the parameter \"correction\"");
    }
    if (result.correction.handCorners) {
        failCall(PDFW_VALUE_ERROR, "corners given twice");
    }
    const std::string numbers = option.substr(sizeof kCorners - 1);
    if (!readCorners(numbers, result.correction.corners)) {
        failCall(PDFW_VALUE_ERROR,
                 "corners \"" + numbers + "\" are not eight numbers X1,Y1,...,X4,Y4");
    }
    result.correction.handCorners = true;
}

void readTurnsOption(const std::string &option, bool &seen, ImageOptions &result) {
    const std::string number = option.substr(sizeof kTurns - 1);
    if (seen) {
        failCall(PDFW_VALUE_ERROR, "turns given twice");
    }
    const int turns = readTurns(number);
    if (turns < 0) {
        failCall(PDFW_VALUE_ERROR, "turns \"" + number + "\" are not quarter turns from -3 to 3");
    }
    seen = true;
    result.quarterTurns = turns;
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

void readCropOption(const std::string &option, ImageOptions &result) {
    const std::string numbers = option.substr(sizeof kCrop - 1);
    if (result.crop) {
        failCall(PDFW_VALUE_ERROR, "crop given twice");
    }
    CropRequest crop;
    if (!readCrop(numbers, crop)) {
        failCall(PDFW_VALUE_ERROR,
                 "crop \"" + numbers + "\" is not four whole numbers LEFT,TOP,RIGHT,BOTTOM");
    }
    result.crop = crop;
}

} // namespace

ImageOptions imageOptions(const char *options, bool correcting) {
    ImageOptions result;
    result.correction.on = correcting;
    std::istringstream words(options);
    std::string option;
    bool turnsSeen = false;
    while (words >> option) {
        if (startsWith(option, kCorners)) {
            readCornersOption(option, correcting, result);
        } else if (startsWith(option, kTurns)) {
            readTurnsOption(option, turnsSeen, result);
        } else if (startsWith(option, kCrop)) {
            readCropOption(option, result);
        } else {
            failCall(PDFW_VALUE_ERROR, "unsupported options \"" + option +
                                           "\" (known: turns=N, corners=..., crop=...)");
        }
    }
    return result;
}

} // namespace folvane::pdfw
