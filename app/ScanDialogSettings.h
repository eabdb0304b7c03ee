#pragma once

#include <optional>
#include <string>

#include "scan/ScanSettings.h"

class SettingsStore;

// What the scan dialog remembers between scans and runs: the scanner, its source, mode,
// resolution and page size. A value never stored, or stored as nothing these take, reads as
// none, so the scanner's offer decides.
class ScanDialogSettings {
public:
    explicit ScanDialogSettings(SettingsStore &store) : store_(store) {}

    std::string device() const;
    std::optional<folvane::scan::ScanSource> source() const;
    std::optional<folvane::scan::ScanMode> mode() const;
    int resolution() const; // 0: none
    std::optional<folvane::scan::PageSize> paperSize() const;

    // Remembers a scan's choices: the scanner and what was set (unset values are not stored).
    void remember(const std::string &device, const folvane::scan::ScanSettings &settings);

private:
    SettingsStore &store_;
};
