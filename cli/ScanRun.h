// folvane-pdf --scan: pages from a scanner into page files, then the PDF of those files through
// the same page generation as images given by name; and --list-devices.
#pragma once

#include "cli/Arguments.h"

namespace folvane::cli {

// Prints one line per scanner (name, vendor, model and type, separated by tabs); gives the
// exit status.
int listScanners();

// Scans until the feeder is empty (a flatbed: one page) and writes the PDF of the pages. The
// page files go to a temporary folder removed afterwards, or stay in --keep-pages DIR. Gives
// the exit status; a failure leaves no PDF and no temporary folder.
int runScan(const Arguments &arguments);

} // namespace folvane::cli
