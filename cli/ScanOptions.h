// folvane-pdf's scanning options: --scan and --list-devices, and the settings that go with
// them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scan/ScanSettings.h"

namespace folvane::cli {

struct ScanRequest {
    bool scan = false;        // --scan: pages come from a scanner, not from image files
    bool listDevices = false; // --list-devices
    std::string device;       // "": the first scanner found
    folvane::scan::ScanSettings settings;
    std::string keepPages;          // the folder the page files stay in; "": a temporary one
    std::vector<std::string> given; // the settings options given, for "needs --scan"
};

struct ScanOptionName {
    const char *name;
    bool takesValue;
};

// The long options of scanning, without their dashes.
const std::vector<ScanOptionName> &scanOptionNames();

// Applies one of them; returns a usage error's reason, or "" when the value is good.
std::string setScanOption(ScanRequest &request, const std::string &name, const std::string &value);

// Whether the options fit together: "" when they do, else a usage error's reason.
std::string checkScanRequest(const ScanRequest &request, bool haveImages);

} // namespace folvane::cli
