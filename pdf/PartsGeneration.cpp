#include "pdf/PartsGeneration.h"

namespace folvane {

void generateParts(const DocumentSet &set, const std::vector<PagePart> &parts,
                   const std::vector<std::string> &inputs, const GenerateOptions &options,
                   const GenerateEvents &events,
                   const std::function<void(std::size_t part)> &onPart) {
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (onPart) {
            onPart(i);
        }
        const PartRun part = partRun(parts[i], inputs, options);
        try {
            generatePdf(set.draft(i), part.rows, part.options, events);
        } catch (GenerateError &failure) {
            if (failure.aboutOutput()) { // named as the user knows it, not by its draft
                failure.path = set.targets()[i];
                failure.problem.file = set.targets()[i];
            }
            throw;
        }
    }
}

} // namespace folvane
