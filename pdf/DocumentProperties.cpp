#include "pdf/DocumentProperties.h"

#include <utility>

namespace folvane {

DocumentTextFault firstPropertyFault(const DocumentProperties &properties, std::string &which) {
    const std::pair<const char *, const std::string *> fields[] = {
        {"title", &properties.title},
        {"author", &properties.author},
        {"subject", &properties.subject},
        {"keywords", &properties.keywords}};
    for (const auto &[name, value] : fields) {
        const DocumentTextFault fault = documentTextFaultOf(*value);
        if (fault != DocumentTextFault::None) {
            which = name;
            return fault;
        }
    }
    which.clear();
    return DocumentTextFault::None;
}

} // namespace folvane
