#include "pdf/ImageFacts.h"

#include <algorithm>

#include "pdf/EngineProblem.h"
#include "pdf/PageGeneration.h"
#include "pdf/PdfInputs.h"
#include "pdf/PdfWriter.h"

namespace folvane {

namespace {

ImageFacts::Intake intakeOf(int intake) {
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

std::vector<int> countImagePages(const std::vector<std::string> &paths,
                                 const std::map<std::string, std::string> &pdfPasswords) {
    std::vector<int> counts(paths.size(), 1);
    try {
        PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
        for (std::size_t i = 0; i < paths.size(); ++i) {
            if (isPdfPath(paths[i])) {
                const auto password = pdfPasswords.find(paths[i]);
                Problem problem;
                counts[i] =
                    std::max(1, pdfPageCount(paths[i],
                                             password == pdfPasswords.end() ? "" : password->second,
                                             problem));
                continue;
            }
            try {
                counts[i] = std::max(1, writer.CountPages(paths[i]));
            } catch (const PdfWriter::Exception &) {
                counts[i] = 1;
            }
        }
    } catch (const PdfWriter::Exception &) {
        // No engine: every file counts as one page, and the run says why it cannot start.
    }
    return counts;
}

ImageFacts inspectImage(const std::string &path, int page) {
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
    facts.intake = intakeOf(raw.intake);
    if (facts.intake == ImageFacts::Intake::Repaired) {
        facts.repair = raw.detail;
    }
    if (!facts.ok) {
        facts.problem = problemFromFacts(raw, path, page);
    }
    return facts;
}

} // namespace folvane
