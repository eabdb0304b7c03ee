#include "pdf/ImageFacts.h"

#include "pdf/EngineProblem.h"
#include "pdf/PageGeneration.h"
#include "pdf/PdfWriter.h"

namespace folvane {

namespace {

ImageFacts::Intake IntakeOf(int intake) {
    switch (intake) {
    case PDFW_INTAKE_COPIED:
        return ImageFacts::Intake::Copied;
    case PDFW_INTAKE_REPAIRED:
        return ImageFacts::Intake::Repaired;
    case PDFW_INTAKE_RECOMPRESSED:
        return ImageFacts::Intake::Recompressed;
    default:
        return ImageFacts::Intake::Unusable;
    }
}

} // namespace

ImageFacts InspectImage(const std::string &path, int page) {
    pdfw_image_facts raw{};
    ImageFacts facts;
    if (!PdfWriter::InspectImageFile(path, page, kPdfVersion, raw)) {
        facts.problem.kind = Problem::Kind::Internal;
        facts.problem.detail = "the engine does not write PDF " + std::string(kPdfVersion);
        return facts;
    }
    facts.ok = raw.ok != 0;
    facts.kind = raw.kind;
    facts.pages = raw.pages;
    facts.width = raw.width;
    facts.height = raw.height;
    facts.intake = IntakeOf(raw.intake);
    if (facts.intake == ImageFacts::Intake::Repaired) {
        facts.repair = raw.detail;
    }
    if (!facts.ok) {
        facts.problem = ProblemFromFacts(raw, path, page);
    }
    return facts;
}

} // namespace folvane
