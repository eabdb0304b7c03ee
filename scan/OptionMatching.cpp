#include "scan/OptionMatching.h"

#include <algorithm>
#include <cctype>

namespace folvane::scan {

namespace {

std::string lower(const std::string &word) {
    std::string lower = word;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool hasAny(const std::string &text, std::initializer_list<const char *> parts) {
    for (const char *part : parts) {
        if (text.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

template <typename Kind, typename Classify>
std::optional<std::string> pickWord(const std::vector<std::string> &offered, Kind wanted,
                                    const char *standard, Classify classify) {
    for (const std::string &word : offered) {
        if (lower(word) == standard) {
            return word;
        }
    }
    for (const std::string &word : offered) {
        if (classify(word) == wanted) {
            return word;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<ScanSource> classifySource(const std::string &word) {
    const std::string w = lower(word);
    if (hasAny(w, {"transparen", "film", "slide", "negative", "tpu", "tma"})) {
        return std::nullopt;
    }
    if (hasAny(w, {"flatbed", "flat bed", "platen", "document table", "glass"}) || w == "fb" ||
        w == "normal") {
        return ScanSource::Flatbed;
    }
    if (hasAny(w, {"duplex", "both sides", "two sided", "two-sided"})) {
        return ScanSource::Duplex;
    }
    // "ADF Back" scans only the back of each sheet: not what "feeder" means.
    if (hasAny(w, {"back", "rear"})) {
        return std::nullopt;
    }
    if (hasAny(w, {"adf", "feeder", "document", "sheet", "simplex"})) {
        return ScanSource::Feeder;
    }
    return std::nullopt;
}

std::optional<ScanMode> classifyMode(const std::string &word) {
    const std::string w = lower(word);
    const bool colour = hasAny(w, {"color", "colour", "rgb"});
    if (hasAny(w, {"halftone", "dither"})) {
        return std::nullopt;
    }
    if (hasAny(w, {"lineart", "line art", "binary", "black & white", "black and white",
                   "black/white", "bilevel", "bi-level"}) ||
        w == "bw" || w == "b&w") {
        return colour ? std::nullopt : std::optional<ScanMode>(ScanMode::Lineart);
    }
    if (colour) {
        return ScanMode::Color;
    }
    if (hasAny(w, {"gray", "grey"})) {
        return ScanMode::Gray;
    }
    return std::nullopt;
}

std::optional<std::string> sourceWord(const std::vector<std::string> &offered, ScanSource wanted) {
    const char *standard = wanted == ScanSource::Flatbed  ? "flatbed"
                           : wanted == ScanSource::Feeder ? "adf"
                                                          : "adf duplex";
    return pickWord(offered, wanted, standard, classifySource);
}

std::optional<std::string> modeWord(const std::vector<std::string> &offered, ScanMode wanted) {
    const char *standard = wanted == ScanMode::Color  ? "color"
                           : wanted == ScanMode::Gray ? "gray"
                                                      : "lineart";
    return pickWord(offered, wanted, standard, classifyMode);
}

} // namespace folvane::scan
