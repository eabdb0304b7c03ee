// One document of folvane-pdf: the inputs of a command line (or of a batch manifest's line)
// expanded, checked and written into the PDF, or into a set of PDFs when it is split.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace folvane::cli {

// What a document's run did: its exit status (0, kExitFailure, kExitUsage or
// kExitSomeLeftOut), the pages written and the files they went into.
struct DocumentOutcome {
    int status = 0;
    std::size_t pages = 0;
    std::vector<std::string> outputs;
};

// Runs the document `arguments` describe, reporting on standard error as folvane-pdf does.
// Expects the interruption handlers to be installed.
DocumentOutcome runDocument(Arguments &arguments);

} // namespace folvane::cli
