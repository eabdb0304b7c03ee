#include "pdfw/api/ImageOptions.h"

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>

#include "pdfw/core/PdfwError.h"

namespace pdfw {

namespace {

constexpr const char kCorners[] = "corners=";
constexpr const char kTurns[] = "turns=";

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
        } else {
            failCall(PDFW_VALUE_ERROR,
                     "unsupported options \"" + option + "\" (known: turns=N, corners=...)");
        }
    }
    return result;
}

} // namespace pdfw
