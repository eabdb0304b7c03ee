// The sentence folvane-pdf says when scanning stops, made from the scanner's error kind and
// fields, in the user's language.
#pragma once

#include <string>

#include "scan/ScanError.h"

namespace folvane_pdf {

// One line naming the scanner and the page where known; for NoDevice it ends with a hint
// (cable and power, permission to use the device, network set-up).
std::string ScanErrorText(const folvane::scan::ScanError &error);

} // namespace folvane_pdf
