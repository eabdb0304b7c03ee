// The user's settings in a scanner's own options, and the scanner's options as the user's
// choices.
#pragma once

#include "scan/SaneOptions.h"
#include "scan/ScanSettings.h"

namespace folvane::scan {

DeviceChoices readChoices(const SaneOptions &options);

// Source, mode and depth, resolution, area: in that order, since each can change what the
// next offers. Throws ScanFailure (InvalidOption) at the first the scanner refuses.
void applySettings(SaneOptions &options, const ScanSettings &settings);

} // namespace folvane::scan
