// A document's properties, which PDF readers show and archives search: its title, author,
// subject and keywords, each UTF-8 text that base/DocumentText.h's rule accepts.
#pragma once

#include <string>

#include "base/DocumentText.h"

namespace folvane {

struct DocumentProperties {
    std::string title;
    std::string author;
    std::string subject;
    std::string keywords;
    bool operator==(const DocumentProperties &) const = default;
};

// The first property that the rule refuses, with its fault; DocumentTextFault::None when all
// four are good. `which` is then its field's name ("title", "author", "subject", "keywords").
DocumentTextFault firstPropertyFault(const DocumentProperties &properties, std::string &which);

} // namespace folvane
