// The sentence folvane-pdf says when scanning stops, made from the scanner's error kind and
// fields, in the user's language.
#pragma once

#include <string>

#include "scan/ScanError.h"
#include "scan/ScanSettings.h"

namespace folvane::cli {

// One line naming the scanner and the page where known; for NoDevice it ends with a hint
// (cable and power, permission to use the device, network set-up).
std::string scanErrorText(const folvane::scan::ScanError &error);

// The warning that the paper size asked for (`paper`) is larger than the scanner's bed.
std::string paperBeyondBedText(folvane::scan::PageSize size, const folvane::scan::ScanArea &paper,
                               const folvane::scan::ScanArea &bed);

} // namespace folvane::cli
