#include "cli/SplitRun.h"

#include <cstring>
#include <exception>
#include <functional>
#include <unistd.h>

#include "cli/Interrupts.h"
#include "cli/OwnFolder.h"
#include "cli/Reporter.h"
#include "cli/Texts.h"
#include "pdf/BlankSeparators.h"
#include "pdf/DocumentSet.h"
#include "pdf/ImageFacts.h"
#include "pdf/PageParts.h"
#include "pdf/PartsGeneration.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

// The run's pages cut into the documents the options ask for.
std::vector<folvane::PagePart> documentParts(const Arguments &arguments,
                                             const folvane::GenerateOptions &options) {
    std::vector<int> counts =
        arguments.firstPageOnly ? std::vector<int>(arguments.inputs.size(), 1)
                                : folvane::countImagePages(arguments.inputs, options.pdfPasswords);
    const std::vector<folvane::RunPage> pages = folvane::runPages(counts, options.rowPages);
    if (arguments.splitAtBlank) {
        return folvane::partsBetween(pages, folvane::blankPages(pages, arguments.inputs, options));
    }
    return folvane::partsOfEvery(pages, arguments.splitEvery);
}

// The set's problem in the user's words.
std::string setProblemText(const folvane::SetProblem &problem) {
    const std::string name = folvane::quotedName(problem.path);
    switch (problem.kind) {
    case folvane::SetProblem::Kind::TargetIsFolder:
        return fill(_("%1 is a folder"), {name});
    case folvane::SetProblem::Kind::TargetNotWritable:
        return fill(_("%1: not replacing a file you cannot write (--force replaces it)"), {name});
    case folvane::SetProblem::Kind::CannotCreateFolder:
        return fill(_("cannot create a folder for the documents in %1: %2"),
                    {name, std::strerror(problem.error)});
    case folvane::SetProblem::Kind::CannotKeepOld:
        return fill(_("cannot keep %1 while the documents are put in place: %2"),
                    {name, std::strerror(problem.error)});
    case folvane::SetProblem::Kind::CannotPutInPlace:
        return fill(_("cannot put %1 in place: %2"), {name, std::strerror(problem.error)});
    }
    return name;
}

// The set's folder is removed by an interruption too, and the renames wait for one.
folvane::DocumentSetHooks interruptHooks() {
    folvane::DocumentSetHooks hooks;
    hooks.createFolder = [](std::string &path) { return createOwnFolder(path); };
    hooks.forgetFolder = [] { forgetOwnFolder(); };
    hooks.aroundCommit = [](const std::function<void()> &renames) {
        InterruptsHeld held;
        renames();
    };
    return hooks;
}

// False with `error` set when a document of the set would replace one of the images or lists
// (the same file, by device and inode, so that links count): renaming over it would destroy it.
bool targetsAreNoInputs(const std::vector<std::string> &targets,
                        const std::vector<std::string> &inputs,
                        const std::vector<std::string> &lists, std::string &error) {
    std::vector<std::string> files = inputs;
    files.insert(files.end(), lists.begin(), lists.end());
    if (const auto replaced = folvane::targetReplacingFile(targets, files)) {
        error = fill(_("%1 would replace %2, one of the inputs; choose another output file"),
                     {folvane::quotedName(replaced->first), folvane::quotedName(replaced->second)});
        return false;
    }
    return true;
}

// Writes each part into its draft; the status of the first failure, reported, or 0.
int writeDrafts(const Arguments &arguments, const folvane::GenerateOptions &options,
                const std::vector<folvane::PagePart> &parts, const folvane::DocumentSet &set,
                DocumentOutcome &outcome) {
    Reporter reporter(::isatty(STDERR_FILENO) != 0);
    folvane::GenerateEvents events = reporter.events();
    events.onPage = [&outcome, shown = events.onPage](const folvane::PageStart &page) {
        ++outcome.pages;
        shown(page);
    };
    folvane::GenerateOptions partOptions = options;
    if (arguments.splitAtBlank) {
        // Cutting the run judged every page, and the blank ones are out: --skip-blank has
        // nothing left to leave out, and its pages are not judged a second time.
        partOptions.skipBlank = false;
    }
    try {
        folvane::generateParts(set, parts, arguments.inputs, partOptions, events);
    } catch (const folvane::GenerateError &failure) {
        return reporter.failure(failure);
    } catch (const std::exception &failure) {
        reporter.endProgress();
        return fail(failure.what());
    }
    reporter.endProgress();
    return 0;
}

} // namespace

DocumentOutcome writeSplit(const Arguments &arguments, const folvane::GenerateOptions &options,
                           const std::vector<std::string> &lists) {
    DocumentOutcome outcome;
    const std::vector<folvane::PagePart> parts = documentParts(arguments, options);
    if (parts.empty()) {
        outcome.status = fail(_("no pages left to write"));
        return outcome;
    }
    folvane::DocumentSet set(interruptHooks());
    if (const auto problem = set.prepare(arguments.output, parts.size(), arguments.force)) {
        outcome.status = fail(setProblemText(*problem));
        return outcome;
    }
    std::string error;
    if (!targetsAreNoInputs(set.targets(), arguments.inputs, lists, error)) {
        outcome.status = fail(error);
        return outcome;
    }
    outcome.status = writeDrafts(arguments, options, parts, set, outcome);
    if (outcome.status != 0) {
        return outcome;
    }
    if (const auto problem = set.commit()) {
        outcome.status = fail(setProblemText(*problem));
        return outcome;
    }
    outcome.outputs = set.targets();
    return outcome;
}

} // namespace folvane::cli
