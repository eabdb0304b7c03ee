// Writing the PDF of a run's pages: the files given on the command line, or the pages a scan
// left. Progress goes to stderr when it is a terminal; a failure is one line there.
#pragma once

#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Destination.h"
#include "pdf/PageGeneration.h"

namespace folvane_pdf {

// Generates the PDF of `pages` with `options` (the pages' turns already in it) and the rest of
// what `arguments` ask, and delivers it to `destination` (prepared). Returns the program's exit
// status.
int generateAndDeliver(const Arguments &arguments, folvane::GenerateOptions options,
                       Destination &destination, const std::vector<std::string> &pages);

} // namespace folvane_pdf
