// Hands a document's properties to the engine before its file is opened.
#pragma once

#include "pdf/DocumentProperties.h"
#include "pdf/PdfWriter.h"

namespace folvane {

// Sets each property that is not empty; the engine refuses (PdfWriter::Exception) what the
// rule refuses.
void setDocumentProperties(PdfWriter &writer, const DocumentProperties &properties);

} // namespace folvane
