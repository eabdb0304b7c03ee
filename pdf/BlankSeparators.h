// Which pages of a run are blank separator sheets, by the blank-page rule.
#pragma once

#include <string>
#include <vector>

#include "pdf/PageGeneration.h"
#include "pdf/PageParts.h"

namespace folvane {

// For each page, whether it is blank: judged on the page as the PDF would take it (corrected
// first with document correction), on all cores. A page that cannot be decoded is not blank:
// it goes in, or fails, as the run finds it. A row of one page that `options.blankRows` gives a
// verdict for keeps that verdict, unread.
std::vector<bool> blankPages(const std::vector<RunPage> &pages,
                             const std::vector<std::string> &inputs,
                             const GenerateOptions &options);

} // namespace folvane
