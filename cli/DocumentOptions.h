// folvane-pdf's options about the document as a whole: its paper (--page-size) and its
// properties (--title, --author, --subject, --keywords).
#pragma once

#include <string>
#include <vector>

#include "cli/ScanOptions.h"
#include "pdf/DocumentProperties.h"
#include "pdf/Paper.h"

namespace folvane::cli {

struct DocumentOptionName {
    const char *name;
};

// The long names of these options; each takes a value.
const std::vector<DocumentOptionName> &documentOptionNames();

// Applies option `name` with `value`: the paper, or a property. With --scan a4 and letter
// name the area scanned too, and max names only that (it needs --scan). Returns a usage
// error's reason, or "" when the value is good.
std::string setDocumentOption(folvane::Paper &paper, folvane::DocumentProperties &properties,
                              ScanRequest &scan, const std::string &name, const std::string &value);

} // namespace folvane::cli
