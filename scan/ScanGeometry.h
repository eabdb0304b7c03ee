// The scan area through the well-known geometry options tl-x, tl-y, br-x and br-y (and a
// feeder's page-width and page-height), whatever their unit: millimetres as fixed-point or
// integers, or pixels at the current resolution.
#pragma once

#include <optional>

#include "scan/SaneOptions.h"
#include "scan/ScanSettings.h"

namespace folvane::scan {

// The whole bed in millimetres (left and top are the smallest tl-x and tl-y); nullopt when the
// scanner has no area options or does not bound them.
std::optional<ScanArea> bedArea(const SaneOptions &options);

// Sets the area (millimetres from the bed's top-left corner), clipped to the bed and to the
// options' steps. Throws ScanFailure when the scanner has no area options or refuses.
void setArea(SaneOptions &options, const ScanArea &area);

} // namespace folvane::scan
