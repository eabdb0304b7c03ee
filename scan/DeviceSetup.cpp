#include "scan/DeviceSetup.h"

#include <algorithm>
#include <cmath>

#include "scan/OptionMatching.h"
#include "scan/ScanError.h"
#include "scan/ScanGeometry.h"

namespace folvane::scan {

namespace {

constexpr int kDefaultResolution = 300;

[[noreturn]] void refuse(const SaneOptions &options, const std::string &option,
                         const std::string &value, const std::string &detail) {
    ScanError error;
    error.kind = ScanErrorKind::InvalidOption;
    error.device = options.device();
    error.option = option;
    error.value = value;
    error.detail = detail;
    throw ScanFailure(error);
}

std::string offered(const std::vector<std::string> &words) {
    std::string text;
    for (const std::string &word : words) {
        text += (text.empty() ? "it offers " : ", ") + word;
    }
    return text;
}

// The resolution option: "resolution", or "x-resolution" on scanners that set the two apart.
const char *resolutionOption(const SaneOptions &options) {
    return options.active("resolution") != nullptr ? "resolution" : "x-resolution";
}

ResolutionChoices resolutionsOf(const SaneOptions &options) {
    NumberConstraint constraint = options.constraint(resolutionOption(options));
    ResolutionChoices choices;
    for (double value : constraint.values) {
        choices.values.push_back(static_cast<int>(std::lround(value)));
    }
    if (constraint.values.empty() && constraint.min && constraint.max) {
        choices.min = static_cast<int>(std::ceil(*constraint.min));
        choices.max = static_cast<int>(std::floor(*constraint.max));
        choices.step = std::max(1, static_cast<int>(std::lround(constraint.quant)));
    }
    return choices;
}

std::vector<int> depthsOf(const SaneOptions &options) {
    std::vector<int> depths;
    for (double value : options.constraint("depth").values) {
        depths.push_back(static_cast<int>(std::lround(value)));
    }
    return depths;
}

template <typename T> bool offers(const std::vector<T> &values, T value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// On scanners whose feeder takes both sides through a separate option rather than a source.
void setDuplexSwitch(SaneOptions &options, bool duplex) {
    for (const std::string &word : options.words("adf-mode")) {
        if (classifySource(word) == (duplex ? ScanSource::Duplex : ScanSource::Feeder)) {
            options.setString("adf-mode", word);
            return;
        }
    }
    if (options.settable("duplex")) {
        options.setBool("duplex", duplex);
    }
}

bool hasDuplexSwitch(const SaneOptions &options) {
    for (const std::string &word : options.words("adf-mode")) {
        if (classifySource(word) == ScanSource::Duplex) {
            return true;
        }
    }
    return options.settable("duplex");
}

void applySource(SaneOptions &options, ScanSource source) {
    const std::vector<std::string> words = options.words("source");
    if (words.empty()) {
        if (source != ScanSource::Flatbed) {
            refuse(options, "source", sourceName(source), "the scanner has no document feeder");
        }
        return;
    }
    std::optional<std::string> word = sourceWord(words, source);
    if (!word && source == ScanSource::Duplex && hasDuplexSwitch(options)) {
        word = sourceWord(words, ScanSource::Feeder);
    }
    if (!word) {
        refuse(options, "source", sourceName(source), offered(words));
    }
    options.setString("source", *word);
    if (source != ScanSource::Flatbed) {
        setDuplexSwitch(options, source == ScanSource::Duplex);
    }
}

void applyDepth(SaneOptions &options, int bitDepth) {
    const std::vector<int> depths = depthsOf(options);
    const int wanted = bitDepth != 0 ? bitDepth : 8;
    if (options.settable("depth") && offers(depths, wanted)) {
        options.setNumber("depth", wanted, std::to_string(wanted));
    } else if (bitDepth != 0 && bitDepth != 8) {
        refuse(options, "depth", std::to_string(bitDepth), "the scanner offers no such depth");
    }
}

void applyMode(SaneOptions &options, ScanMode mode, int bitDepth) {
    const std::vector<std::string> words = options.words("mode");
    std::optional<std::string> word = modeWord(words, mode);
    if (word) {
        options.setString("mode", *word);
        if (mode != ScanMode::Lineart) {
            applyDepth(options, bitDepth);
        }
        return;
    }
    // Scanners without a line-art mode may give one bit a sample in grey.
    std::optional<std::string> gray = modeWord(words, ScanMode::Gray);
    if (mode == ScanMode::Lineart && gray && offers(depthsOf(options), 1)) {
        options.setString("mode", *gray);
        options.setNumber("depth", 1, "1");
        return;
    }
    refuse(options, "mode", modeName(mode),
           words.empty() ? "the scanner has no mode option" : offered(words));
}

void applyResolution(SaneOptions &options, int dpi) {
    const char *option = resolutionOption(options);
    if (!options.settable(option)) {
        if (dpi != 0) {
            refuse(options, "resolution", std::to_string(dpi),
                   "the scanner's resolution cannot be set");
        }
        return;
    }
    const ResolutionChoices choices = resolutionsOf(options);
    const bool constrained = !choices.values.empty() || choices.max > 0;
    if (dpi != 0 && constrained && !choices.allows(dpi)) {
        refuse(options, "resolution", std::to_string(dpi), "it offers " + choices.describe());
    }
    const int wanted = dpi != 0 || !constrained ? (dpi != 0 ? dpi : kDefaultResolution)
                                                : choices.nearest(kDefaultResolution);
    options.setNumber(option, wanted, std::to_string(wanted));
    if (options.settable("y-resolution")) {
        options.setNumber("y-resolution", wanted, std::to_string(wanted));
    }
}

void applyArea(SaneOptions &options, const ScanSettings &settings) {
    std::optional<ScanArea> area = settings.area;
    if (!area && settings.pageSize == PageSize::Maximum) {
        std::optional<ScanArea> bed = bedArea(options);
        if (!bed) {
            refuse(options, "br-x", "max", "the scanner does not say how large its bed is");
        }
        area = ScanArea{0, 0, bed->width, bed->height};
    }
    if (!area) {
        area = paperArea(settings.pageSize);
    }
    if (area) {
        setArea(options, *area);
    }
}

} // namespace

DeviceChoices readChoices(const SaneOptions &options) {
    DeviceChoices choices;
    for (const std::string &word : options.words("source")) {
        std::optional<ScanSource> source = classifySource(word);
        if (source && !offers(choices.sources, *source)) {
            choices.sources.push_back(*source);
        }
    }
    if (offers(choices.sources, ScanSource::Feeder) &&
        !offers(choices.sources, ScanSource::Duplex) && hasDuplexSwitch(options)) {
        choices.sources.push_back(ScanSource::Duplex);
    }
    const std::vector<std::string> modes = options.words("mode");
    for (ScanMode mode : {ScanMode::Color, ScanMode::Gray, ScanMode::Lineart}) {
        if (modeWord(modes, mode)) {
            choices.modes.push_back(mode);
        }
    }
    choices.bitDepths = depthsOf(options);
    if (!modeWord(modes, ScanMode::Lineart) && modeWord(modes, ScanMode::Gray) &&
        offers(choices.bitDepths, 1)) {
        choices.modes.push_back(ScanMode::Lineart);
    }
    choices.resolutions = resolutionsOf(options);
    choices.maxArea = bedArea(options);
    if (std::optional<std::string> source = options.getString("source")) {
        choices.source = classifySource(*source);
    }
    if (std::optional<std::string> mode = options.getString("mode")) {
        choices.mode = classifyMode(*mode);
        if (choices.mode == ScanMode::Gray && options.getNumber("depth") == 1.0) {
            choices.mode = ScanMode::Lineart;
        }
    }
    choices.resolution = options.getNumber(resolutionOption(options)).value_or(0);
    return choices;
}

void applySettings(SaneOptions &options, const ScanSettings &settings) {
    if (settings.source) {
        applySource(options, *settings.source);
    }
    if (settings.mode) {
        applyMode(options, *settings.mode, settings.bitDepth);
    } else if (settings.bitDepth != 0) {
        applyDepth(options, settings.bitDepth);
    }
    applyResolution(options, settings.resolution);
    applyArea(options, settings);
}

} // namespace folvane::scan
