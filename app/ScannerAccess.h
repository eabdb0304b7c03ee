// How the window reaches scanners: the scanning library's own calls, which tests put SANE's test
// driver behind (its test picture, a feeder of any number of sheets, a failure at a chosen page).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/Scanner.h"

struct ScannerAccess {
    // Every scanner found; can take seconds. Throws ScanFailure.
    std::function<std::vector<folvane::scan::DeviceInfo>()> list = folvane::scan::listDevices;
    // Opens a scanner by name. Throws ScanFailure.
    std::function<std::unique_ptr<folvane::scan::Scanner>(const std::string &)> open =
        &folvane::scan::Scanner::open;
    // Scans one load into the folder: a feeder until it is empty, a flatbed's page.
    std::function<folvane::scan::ScanOutcome(folvane::scan::Scanner &, folvane::scan::PageFolder &,
                                             const folvane::scan::ScanEvents &)>
        scan = [](folvane::scan::Scanner &scanner, folvane::scan::PageFolder &folder,
                  const folvane::scan::ScanEvents &events) { return scanner.scan(folder, events); };
};

// What the scan dialog hands on: the scanner chosen and how it is to scan.
struct ScanRequest {
    std::string device;
    folvane::scan::ScanSettings settings;
    // Both sides through a one-sided feeder: the fronts, then the stack turned over for the
    // backs, and the two paired in the list.
    bool twoSided = false;
};
