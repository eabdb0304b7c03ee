#include "cli/SplitRun.h"

#include <exception>
#include <unistd.h>

#include "cli/DocumentSet.h"
#include "cli/PageParts.h"
#include "cli/Reporter.h"
#include "cli/Texts.h"
#include "pdf/ImageFacts.h"

namespace folvane::cli {

namespace {

// The run's pages cut into the documents the options ask for.
std::vector<PagePart> documentParts(const Arguments &arguments) {
    std::vector<int> counts = arguments.firstPageOnly ? std::vector<int>(arguments.inputs.size(), 1)
                                                      : folvane::CountImagePages(arguments.inputs);
    return partsOfEvery(runPages(counts), arguments.splitEvery);
}

// Writes each part into its draft; the status of the first failure, reported, or 0.
int writeDrafts(const Arguments &arguments, const folvane::GenerateOptions &options,
                const std::vector<PagePart> &parts, DocumentSet &set, DocumentOutcome &outcome) {
    Reporter reporter(::isatty(STDERR_FILENO) != 0);
    folvane::GenerateEvents events = reporter.events();
    events.onPage = [&outcome, shown = events.onPage](const folvane::PageStart &page) {
        ++outcome.pages;
        shown(page);
    };
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const PartRun part = partRun(parts[i], arguments.inputs, options);
        try {
            folvane::GeneratePdf(set.draft(i), part.rows, part.options, events);
        } catch (folvane::GenerateError &failure) {
            if (failure.AboutOutput()) { // named as the user knows it, not by its draft
                failure.path = set.targets()[i];
                failure.problem.file = set.targets()[i];
            }
            return reporter.failure(failure);
        } catch (const std::exception &failure) {
            reporter.endProgress();
            return fail(failure.what());
        }
    }
    reporter.endProgress();
    return 0;
}

} // namespace

DocumentOutcome writeSplit(const Arguments &arguments, const folvane::GenerateOptions &options) {
    DocumentOutcome outcome;
    const std::vector<PagePart> parts = documentParts(arguments);
    if (parts.empty()) {
        outcome.status = fail(_("no pages left to write"));
        return outcome;
    }
    DocumentSet set;
    std::string error;
    if (!set.prepare(arguments.output, parts.size(), arguments.force, error)) {
        outcome.status = fail(error);
        return outcome;
    }
    outcome.status = writeDrafts(arguments, options, parts, set, outcome);
    if (outcome.status != 0) {
        return outcome;
    }
    if (!set.commit(error)) {
        outcome.status = fail(error);
        return outcome;
    }
    outcome.outputs = set.targets();
    return outcome;
}

} // namespace folvane::cli
