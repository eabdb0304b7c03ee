// --interleave: the document's pages are a two-sided stack fed twice through a one-sided feeder,
// all the fronts 1..n and then the backs n..1, and go into the PDF as front 1, back 1, front 2,
// back 2, ... Each page of a multi-page TIFF counts as a page of the stack.
#pragma once

#include <string>

#include "cli/Arguments.h"
#include "pdf/PageGeneration.h"

namespace folvane::cli {

// Puts the document's pages in reading order: `arguments.inputs` becomes one row per page, and
// `options.rowPages` names the page of each row whose file has several. False with `reason`
// set when the pages cannot pair (an odd count). Runs before --rotate and --crop are applied,
// so their page numbers count pages in the PDF's order.
bool interleavePages(Arguments &arguments, folvane::GenerateOptions &options, std::string &reason);

} // namespace folvane::cli
