#include "pdf/DocumentPropertiesWriter.h"

#include <utility>

namespace folvane {

void setDocumentProperties(PdfWriter &writer, const DocumentProperties &properties) {
    const std::pair<const char *, const std::string *> fields[] = {
        {"title", &properties.title},
        {"author", &properties.author},
        {"subject", &properties.subject},
        {"keywords", &properties.keywords}};
    for (const auto &[name, value] : fields) {
        if (!value->empty()) {
            writer.SetParameter(name, *value);
        }
    }
}

} // namespace folvane
