// SANE itself: its module loaded and SANE initialised once, the first time anything needs it,
// and its statuses as error kinds.
#pragma once

#include <mutex>
#include <string>

#include <sane/sane.h>

#include "scan/SaneCalls.h"
#include "scan/ScanError.h"

namespace folvane::scan {

// Initialises SANE the first time it is called; later calls do nothing. SANE then stays up for
// the rest of the process: starting it again costs seconds of probing with network drivers,
// and drivers that stay loaded keep their names, so what one leaks (SANE's test driver now and
// then loses a buffer of a reader thread it cancels) is named as theirs by a leak checker.
// Devices are still closed one by one with sane_close. Throws ScanFailure when SANE cannot
// start, and ScanErrorKind::Unavailable when its module cannot be loaded (that outcome stays
// for the rest of the process, as the module's does).
void ensureSane();

// SANE's functions, from its module; only after ensureSane has succeeded.
const SaneCalls &sane();

// FOLVANE_SANE_MODULE when set, else lib/folvane/ beside the folder of the running program:
// <build>/bin and <build>/lib/folvane in the build tree, /usr/bin and /usr/lib/folvane when
// installed.
std::string saneModulePath();

// Held around the calls that touch SANE's global state: listing, opening, closing.
std::mutex &saneGlobalLock();

// The error for a status SANE returned (never SANE_STATUS_GOOD), with the driver's status text
// as its detail.
ScanError statusError(SANE_Status status, const std::string &device, int page);

} // namespace folvane::scan
