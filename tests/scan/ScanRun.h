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

// A feeder scan of a stack of `sheets` pages: once the last is written the driver answers "no
// documents", as a feeder that has run empty does. `events` run as well.
folvane::scan::ScanOutcome ScanStack(folvane::scan::Scanner &scanner,
                                     folvane::scan::PageFolder &folder, int sheets,
                                     folvane::scan::ScanEvents events = {});

// The names page-001<extension> ... page-<count><extension>.
std::set<std::string> PageNames(int count, const std::string &extension);

} // namespace scan_test
