#include "scan/OptionMatching.h"

#include <algorithm>
#include <cctype>

namespace folvane::scan {

namespace {

std::string Lower(const std::string &word) {
    std::string lower = word;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool HasAny(const std::string &text, std::initializer_list<const char *> parts) {
    for (const char *part : parts) {
        if (text.find(part) != std::string::npos) {
            return true;
        }
    }
    return false;
}

template <typename Kind, typename Classify>
std::optional<std::string> PickWord(const std::vector<std::string> &offered, Kind wanted,
                                    const char *standard, Classify classify) {
    for (const std::string &word : offered) {
        if (Lower(word) == standard) {
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

std::optional<ScanSource> ClassifySource(const std::string &word) {
    const std::string w = Lower(word);
    if (HasAny(w, {"transparen", "film", "slide", "negative", "tpu", "tma"})) {
        return std::nullopt;
    }
    if (HasAny(w, {"flatbed", "flat bed", "platen", "document table", "glass"}) || w == "fb" ||
        w == "normal") {
        return ScanSource::Flatbed;
    }
    if (HasAny(w, {"duplex", "both sides", "two sided", "two-sided"})) {
        return ScanSource::Duplex;
    }
    // "ADF Back" scans only the back of each sheet: not what "feeder" means.
    if (HasAny(w, {"back", "rear"})) {
        return std::nullopt;
    }
    if (HasAny(w, {"adf", "feeder", "document", "sheet", "simplex"})) {
        return ScanSource::Feeder;
    }
    return std::nullopt;
}

std::optional<ScanMode> ClassifyMode(const std::string &word) {
    const std::string w = Lower(word);
    const bool colour = HasAny(w, {"color", "colour", "rgb"});
    if (HasAny(w, {"halftone", "dither"})) {
        return std::nullopt;
    }
    if (HasAny(w, {"lineart", "line art", "binary", "black & white", "black and white",
                   "black/white", "bilevel", "bi-level"}) ||
        w == "bw" || w == "b&w") {
        return colour ? std::nullopt : std::optional<ScanMode>(ScanMode::Lineart);
    }
    if (colour) {
        return ScanMode::Color;
    }
    if (HasAny(w, {"gray", "grey"})) {
        return ScanMode::Gray;
    }
    return std::nullopt;
}

std::optional<std::string> SourceWord(const std::vector<std::string> &offered, ScanSource wanted) {
    const char *standard = wanted == ScanSource::Flatbed  ? "flatbed"
                           : wanted == ScanSource::Feeder ? "adf"
                                                          : "adf duplex";
    return PickWord(offered, wanted, standard, ClassifySource);
}

std::optional<std::string> ModeWord(const std::vector<std::string> &offered, ScanMode wanted) {
    const char *standard = wanted == ScanMode::Color  ? "color"
                           : wanted == ScanMode::Gray ? "gray"
                                                      : "lineart";
    return PickWord(offered, wanted, standard, ClassifyMode);
}

} // namespace folvane::scan
