#include "pdf/ImageFacts.h"

#include "pdf/PdfWriter.h"

namespace folvane {

ImageFacts InspectImage(const std::string &path, int page) {
    pdfw_image_facts raw{};
    ImageFacts facts;
    if (!PdfWriter::InspectImageFile(path, page, raw)) {
        facts.reason = "no file name";
        return facts;
    }
    facts.ok = raw.ok != 0;
    facts.reason = raw.reason;
    facts.kind = raw.kind;
    facts.pages = raw.pages;
    facts.width = raw.width;
    facts.height = raw.height;
    switch (raw.intake) {
    case PDFW_INTAKE_COPIED:
        facts.intake = ImageFacts::Intake::Copied;
        break;
    case PDFW_INTAKE_REPAIRED:
        facts.intake = ImageFacts::Intake::Repaired;
        break;
    case PDFW_INTAKE_RECOMPRESSED:
        facts.intake = ImageFacts::Intake::Recompressed;
        break;
    default:
        facts.intake = ImageFacts::Intake::Unusable;
        break;
    }
    return facts;
}

} // namespace folvane
