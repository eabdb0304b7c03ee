#include "app/ScanDialogSettings.h"

#include <charconv>

#include "platform/ui/SettingsStore.h"

namespace {

using folvane::scan::PageSize;
using folvane::scan::ScanMode;
using folvane::scan::ScanSource;

constexpr const char *kDevice = "scan/device";
constexpr const char *kSource = "scan/source";
constexpr const char *kMode = "scan/mode";
constexpr const char *kResolution = "scan/resolution";
constexpr const char *kPageSize = "scan/pageSize";
// No scanner scans finer than this: a larger stored value is not one it offered.
constexpr int kFinestResolution = 100000;

constexpr std::pair<PageSize, const char *> kPageSizeNames[] = {
    {PageSize::A4, "a4"}, {PageSize::Letter, "letter"}, {PageSize::Maximum, "max"}};

} // namespace

std::string ScanDialogSettings::device() const {
    return store_.Read(kDevice);
}

std::optional<ScanSource> ScanDialogSettings::source() const {
    const std::string stored = store_.Read(kSource);
    for (ScanSource source : {ScanSource::Flatbed, ScanSource::Feeder, ScanSource::Duplex}) {
        if (stored == folvane::scan::sourceName(source)) {
            return source;
        }
    }
    return std::nullopt;
}

std::optional<ScanMode> ScanDialogSettings::mode() const {
    const std::string stored = store_.Read(kMode);
    for (ScanMode mode : {ScanMode::Color, ScanMode::Gray, ScanMode::Lineart}) {
        if (stored == folvane::scan::modeName(mode)) {
            return mode;
        }
    }
    return std::nullopt;
}

int ScanDialogSettings::resolution() const {
    const std::string stored = store_.Read(kResolution);
    int dpi = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), dpi);
    if (error != std::errc() || end != stored.data() + stored.size() || dpi < 1 ||
        dpi > kFinestResolution) {
        return 0;
    }
    return dpi;
}

std::optional<PageSize> ScanDialogSettings::paperSize() const {
    const std::string stored = store_.Read(kPageSize);
    for (const auto &[size, name] : kPageSizeNames) {
        if (stored == name) {
            return size;
        }
    }
    return std::nullopt;
}

void ScanDialogSettings::remember(const std::string &device,
                                  const folvane::scan::ScanSettings &settings) {
    store_.Write(kDevice, device);
    if (settings.source) {
        store_.Write(kSource, folvane::scan::sourceName(*settings.source));
    }
    if (settings.mode) {
        store_.Write(kMode, folvane::scan::modeName(*settings.mode));
    }
    if (settings.resolution > 0) {
        store_.Write(kResolution, std::to_string(settings.resolution));
    }
    for (const auto &[size, name] : kPageSizeNames) {
        if (settings.pageSize == size) {
            store_.Write(kPageSize, name);
        }
    }
}
