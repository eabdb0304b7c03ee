#include "scan/DeviceSetup.h"

#include <algorithm>
#include <cmath>

#include "scan/OptionMatching.h"
#include "scan/ScanError.h"
#include "scan/ScanGeometry.h"

namespace folvane::scan {

namespace {

constexpr int kDefaultResolution = 300;

[[noreturn]] void Refuse(const SaneOptions &options, const std::string &option,
                         const std::string &value, const std::string &detail) {
    ScanError error;
    error.kind = ScanErrorKind::InvalidOption;
    error.device = options.Device();
    error.option = option;
    error.value = value;
    error.detail = detail;
    throw ScanFailure(error);
}

std::string Offered(const std::vector<std::string> &words) {
    std::string text;
    for (const std::string &word : words) {
        text += (text.empty() ? "it offers " : ", ") + word;
    }
    return text;
}

// The resolution option: "resolution", or "x-resolution" on scanners that set the two apart.
const char *ResolutionOption(const SaneOptions &options) {
    return options.Active("resolution") != nullptr ? "resolution" : "x-resolution";
}

ResolutionChoices ResolutionsOf(const SaneOptions &options) {
    NumberConstraint constraint = options.Constraint(ResolutionOption(options));
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

std::vector<int> DepthsOf(const SaneOptions &options) {
    std::vector<int> depths;
    for (double value : options.Constraint("depth").values) {
        depths.push_back(static_cast<int>(std::lround(value)));
    }
    return depths;
}

template <typename T> bool Offers(const std::vector<T> &values, T value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// On scanners whose feeder takes both sides through a separate option rather than a source.
void SetDuplexSwitch(SaneOptions &options, bool duplex) {
    for (const std::string &word : options.Words("adf-mode")) {
        if (ClassifySource(word) == (duplex ? ScanSource::Duplex : ScanSource::Feeder)) {
            options.SetString("adf-mode", word);
            return;
        }
    }
    if (options.Settable("duplex")) {
        options.SetBool("duplex", duplex);
    }
}

bool HasDuplexSwitch(const SaneOptions &options) {
    for (const std::string &word : options.Words("adf-mode")) {
        if (ClassifySource(word) == ScanSource::Duplex) {
            return true;
        }
    }
    return options.Settable("duplex");
}

void ApplySource(SaneOptions &options, ScanSource source) {
    const std::vector<std::string> words = options.Words("source");
    if (words.empty()) {
        if (source != ScanSource::Flatbed) {
            Refuse(options, "source", SourceName(source), "the scanner has no document feeder");
        }
        return;
    }
    std::optional<std::string> word = SourceWord(words, source);
    if (!word && source == ScanSource::Duplex && HasDuplexSwitch(options)) {
        word = SourceWord(words, ScanSource::Feeder);
    }
    if (!word) {
        Refuse(options, "source", SourceName(source), Offered(words));
    }
    options.SetString("source", *word);
    if (source != ScanSource::Flatbed) {
        SetDuplexSwitch(options, source == ScanSource::Duplex);
    }
}

void ApplyDepth(SaneOptions &options, int bitDepth) {
    const std::vector<int> depths = DepthsOf(options);
    const int wanted = bitDepth != 0 ? bitDepth : 8;
    if (options.Settable("depth") && Offers(depths, wanted)) {
        options.SetNumber("depth", wanted, std::to_string(wanted));
    } else if (bitDepth != 0 && bitDepth != 8) {
        Refuse(options, "depth", std::to_string(bitDepth), "the scanner offers no such depth");
    }
}

void ApplyMode(SaneOptions &options, ScanMode mode, int bitDepth) {
    const std::vector<std::string> words = options.Words("mode");
    std::optional<std::string> word = ModeWord(words, mode);
    if (word) {
        options.SetString("mode", *word);
        if (mode != ScanMode::Lineart) {
            ApplyDepth(options, bitDepth);
        }
        return;
    }
    // Scanners without a line-art mode may give one bit a sample in grey.
    std::optional<std::string> gray = ModeWord(words, ScanMode::Gray);
    if (mode == ScanMode::Lineart && gray && Offers(DepthsOf(options), 1)) {
        options.SetString("mode", *gray);
        options.SetNumber("depth", 1, "1");
        return;
    }
    Refuse(options, "mode", ModeName(mode),
           words.empty() ? "the scanner has no mode option" : Offered(words));
}

void ApplyResolution(SaneOptions &options, int dpi) {
    const char *option = ResolutionOption(options);
    if (!options.Settable(option)) {
        if (dpi != 0) {
            Refuse(options, "resolution", std::to_string(dpi),
                   "the scanner's resolution cannot be set");
        }
        return;
    }
    const ResolutionChoices choices = ResolutionsOf(options);
    const bool constrained = !choices.values.empty() || choices.max > 0;
    if (dpi != 0 && constrained && !choices.Allows(dpi)) {
        Refuse(options, "resolution", std::to_string(dpi), "it offers " + choices.Describe());
    }
    const int wanted = dpi != 0 || !constrained ? (dpi != 0 ? dpi : kDefaultResolution)
                                                : choices.Nearest(kDefaultResolution);
    options.SetNumber(option, wanted, std::to_string(wanted));
    if (options.Settable("y-resolution")) {
        options.SetNumber("y-resolution", wanted, std::to_string(wanted));
    }
}

void ApplyArea(SaneOptions &options, const ScanSettings &settings) {
    std::optional<ScanArea> area = settings.area;
    if (!area && settings.pageSize == PageSize::Maximum) {
        std::optional<ScanArea> bed = BedArea(options);
        if (!bed) {
            Refuse(options, "br-x", "max", "the scanner does not say how large its bed is");
        }
        area = ScanArea{0, 0, bed->width, bed->height};
    }
    if (!area) {
        area = PaperArea(settings.pageSize);
    }
    if (area) {
        SetArea(options, *area);
    }
}

} // namespace

DeviceChoices ReadChoices(const SaneOptions &options) {
    DeviceChoices choices;
    for (const std::string &word : options.Words("source")) {
        std::optional<ScanSource> source = ClassifySource(word);
        if (source && !Offers(choices.sources, *source)) {
            choices.sources.push_back(*source);
        }
    }
    if (Offers(choices.sources, ScanSource::Feeder) &&
        !Offers(choices.sources, ScanSource::Duplex) && HasDuplexSwitch(options)) {
        choices.sources.push_back(ScanSource::Duplex);
    }
    const std::vector<std::string> modes = options.Words("mode");
    for (ScanMode mode : {ScanMode::Color, ScanMode::Gray, ScanMode::Lineart}) {
        if (ModeWord(modes, mode)) {
            choices.modes.push_back(mode);
        }
    }
    choices.bitDepths = DepthsOf(options);
    if (!ModeWord(modes, ScanMode::Lineart) && ModeWord(modes, ScanMode::Gray) &&
        Offers(choices.bitDepths, 1)) {
        choices.modes.push_back(ScanMode::Lineart);
    }
    choices.resolutions = ResolutionsOf(options);
    choices.maxArea = BedArea(options);
    if (std::optional<std::string> source = options.GetString("source")) {
        choices.source = ClassifySource(*source);
    }
    if (std::optional<std::string> mode = options.GetString("mode")) {
        choices.mode = ClassifyMode(*mode);
        if (choices.mode == ScanMode::Gray && options.GetNumber("depth") == 1.0) {
            choices.mode = ScanMode::Lineart;
        }
    }
    choices.resolution = options.GetNumber(ResolutionOption(options)).value_or(0);
    return choices;
}

void ApplySettings(SaneOptions &options, const ScanSettings &settings) {
    if (settings.source) {
        ApplySource(options, *settings.source);
    }
    if (settings.mode) {
        ApplyMode(options, *settings.mode, settings.bitDepth);
    } else if (settings.bitDepth != 0) {
        ApplyDepth(options, settings.bitDepth);
    }
    ApplyResolution(options, settings.resolution);
    ApplyArea(options, settings);
}

} // namespace folvane::scan
