// Scans with the library under test against the test driver, as the tests need them.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "scan/Scanner.h"
#include "tests/scan/ScanTestSupport.h"

namespace scan_test {

// Puts the test driver's test options back at their defaults: the driver keeps its options from
// one opening to the next within a process.
void ResetTestOptions(folvane::scan::Scanner &scanner);

// The test driver's first device, opened and set up: its test options back at their defaults,
// `settings` applied, its "Color pattern" picture chosen.
std::unique_ptr<folvane::scan::Scanner>
OpenTestScanner(const folvane::scan::ScanSettings &settings);

// SANE's test driver reads each page on a thread of its own, which sane_start starts and
// sane_cancel cancels asynchronously. A cancel that catches that thread inside malloc leaves the
// allocator's lock taken, and the thread, and the driver's sane_cancel with it, wait forever.
// Where the driver is set to answer a page's very first read with a status (an empty feeder, a
// jam), so that the cancel follows at once, call this as the page starts: it gives the thread
// time to get past its allocations.
void LetTheDriverStart();

// A feeder scan of a stack of `sheets` pages: once the last is written the driver answers "no
// documents", as a feeder that has run empty does. `events` run as well.
folvane::scan::ScanOutcome ScanStack(folvane::scan::Scanner &scanner,
                                     folvane::scan::PageFolder &folder, int sheets,
                                     folvane::scan::ScanEvents events = {});

// The names page-001<extension> ... page-<count><extension>.
std::set<std::string> PageNames(int count, const std::string &extension);

} // namespace scan_test
