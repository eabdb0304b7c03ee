// Which pages of a run are left out as blank: the page loop's use of the blank-page rule.
#pragma once

#include <cstddef>
#include <string>

#include "pdf/PageGeneration.h"

namespace folvane {

// True when page `filePage` of row `row` (file `path`) is to be left out: skipBlank is on and
// the caller's verdict for the row, or else the rule on the page as it would go in (corrected
// where the document is), finds it blank. A page the rule cannot read is never left out.
bool LeaveOutAsBlank(const GenerateOptions &options, std::size_t row, const std::string &path,
                     int filePage);

// The failure of a run that left out every one of its `pages` pages as blank.
GenerateError EveryPageBlank(const std::string &savePath, std::size_t pages);

} // namespace folvane
