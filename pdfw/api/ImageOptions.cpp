#include "pdfw/api/ImageOptions.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "pdfw/core/PdfwError.h"

namespace pdfw {

namespace {

constexpr const char kCorners[] = "corners=";

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

std::string trimmed(const char *text) {
    std::string s = text;
    std::size_t first = s.find_first_not_of(" \t\n\r");
    std::size_t last = s.find_last_not_of(" \t\n\r");
    return first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
}

} // namespace

CorrectionRequest correctionOptions(const char *options, bool correcting) {
    CorrectionRequest request;
    request.on = correcting;
    std::string given = trimmed(options);
    if (given.empty()) {
        return request;
    }
    if (given.compare(0, sizeof kCorners - 1, kCorners) != 0) {
        failCall(PDFW_VALUE_ERROR, "unsupported options \"" + given + "\" (known: corners=...)");
    }
    if (!correcting) {
        failCall(PDFW_VALUE_ERROR, "corners given without the parameter \"correction\"");
    }
    if (!readCorners(given.substr(sizeof kCorners - 1), request.corners)) {
        failCall(PDFW_VALUE_ERROR, "corners \"" + given.substr(sizeof kCorners - 1) +
                                       "\" are not eight numbers X1,Y1,...,X4,Y4");
    }
    request.handCorners = true;
    return request;
}

} // namespace pdfw
