#include "cli/SplitRun.h"

#include <exception>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/BlankSeparators.h"
#include "cli/DocumentSet.h"
#include "cli/PageParts.h"
#include "cli/Reporter.h"
#include "cli/Texts.h"
#include "pdf/ImageFacts.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

// The run's pages cut into the documents the options ask for.
std::vector<PagePart> documentParts(const Arguments &arguments,
                                    const folvane::GenerateOptions &options) {
    std::vector<int> counts =
        arguments.firstPageOnly ? std::vector<int>(arguments.inputs.size(), 1)
                                : folvane::CountImagePages(arguments.inputs, options.pdfPasswords);
    const std::vector<RunPage> pages = runPages(counts, options.rowPages);
    if (arguments.splitAtBlank) {
        return partsBetween(pages, blankPages(pages, arguments.inputs, options));
    }
    return partsOfEvery(pages, arguments.splitEvery);
}

// False with `error` set when a document of the set would replace one of the images or lists
// (the same file, by device and inode, so that links count): renaming over it would destroy it.
bool targetsAreNoInputs(const std::vector<std::string> &targets,
                        const std::vector<std::string> &inputs,
                        const std::vector<std::string> &lists, std::string &error) {
    for (const std::string &target : targets) {
        struct stat output {};
        if (::stat(target.c_str(), &output) != 0) {
            continue;
        }
        for (const std::vector<std::string> *files : {&inputs, &lists}) {
            for (const std::string &file : *files) {
                struct stat input {};
                if (::stat(file.c_str(), &input) == 0 && input.st_dev == output.st_dev &&
                    input.st_ino == output.st_ino) {
                    error = Fill(_("%1 would replace %2, one of the inputs; choose another "
                                   "output file"),
                                 {folvane::QuotedName(target), folvane::QuotedName(file)});
                    return false;
                }
            }
        }
    }
    return true;
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
        PartRun part = partRun(parts[i], arguments.inputs, options);
        if (arguments.splitAtBlank) {
            // Cutting the run judged every page, and the blank ones are out: --skip-blank has
            // nothing left to leave out, and judges nothing twice.
            for (std::size_t row = 0; row < part.rows.size(); ++row) {
                part.options.blankRows[row] = false;
            }
        }
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

DocumentOutcome writeSplit(const Arguments &arguments, const folvane::GenerateOptions &options,
                           const std::vector<std::string> &lists) {
    DocumentOutcome outcome;
    const std::vector<PagePart> parts = documentParts(arguments, options);
    if (parts.empty()) {
        outcome.status = fail(_("no pages left to write"));
        return outcome;
    }
    DocumentSet set;
    std::string error;
    if (!set.prepare(arguments.output, parts.size(), arguments.force, error) ||
        !targetsAreNoInputs(set.targets(), arguments.inputs, lists, error)) {
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
