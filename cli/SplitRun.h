// folvane-pdf --split-every N: one run's pages written as a set of documents, OUT-001.pdf,
// OUT-002.pdf, ..., all of them or none.
#pragma once

#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/DocumentRun.h"
#include "pdf/PageGeneration.h"

namespace folvane::cli {

// Writes the pages of `arguments.inputs` as the set named from `arguments.output`, each
// document with `options` for its pages; reports on standard error as a single run does. A
// document that would replace one of the inputs or the list files `lists` is refused before
// anything is written.
DocumentOutcome writeSplit(const Arguments &arguments, const folvane::GenerateOptions &options,
                           const std::vector<std::string> &lists);

} // namespace folvane::cli
