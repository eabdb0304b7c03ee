// Writing the PDF of a run's pages: the files given on the command line, or the pages a scan
// left. Progress goes to stderr when it is a terminal; a failure is one line there.
#pragma once

#include <functional>
#include <string>

#include "cli/Arguments.h"
#include "cli/Destination.h"
#include "cli/Reporter.h"
#include "pdf/PageGeneration.h"

namespace folvane::cli {

// Puts what `arguments` ask of the page loop into `options` (the pages' turns are set apart).
void setRunOptions(const Arguments &arguments, folvane::GenerateOptions &options);

// Runs the page loop through `generate`, which writes the PDF to the path it is given (the
// prepared destination's) and may throw what generatePdf throws, then delivers the PDF.
// Returns 0, or the exit status of the failure it reported.
int generateAndDeliver(
    Destination &destination,
    const std::function<void(const std::string &path, Reporter &reporter)> &generate);

} // namespace folvane::cli
