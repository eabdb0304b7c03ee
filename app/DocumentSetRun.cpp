#include "app/DocumentSetRun.h"

#include <cstddef>

#include "pdf/BlankSeparators.h"
#include "pdf/ImageFacts.h"
#include "pdf/PageParts.h"
#include "pdf/PartsGeneration.h"

namespace {

using folvane::GenerateError;
using folvane::PagePart;
using folvane::Problem;

GenerateError outputFailure(Problem problem, const std::string &text) {
    const std::string file = problem.file;
    return GenerateError(std::move(problem), text, file, 0, GenerateError::kNoRow);
}

// The events of one document's run told as the whole run's: a row of the part becomes the row
// of `paths` it came from. `current` names the part being written; each page begun counts in
// `pagesOfPart`.
folvane::GenerateEvents runEvents(const folvane::GenerateEvents &events,
                                  const std::vector<PagePart> &parts, const std::size_t &current,
                                  std::vector<int> &pagesOfPart) {
    const auto runRow = [&parts, &current](std::size_t row) {
        return row < parts[current].size() ? parts[current][row].row : row;
    };
    folvane::GenerateEvents told = events;
    told.onPage = [&events, runRow, &current, &pagesOfPart](folvane::PageStart page) {
        ++pagesOfPart[current];
        page.index = runRow(page.index);
        if (events.onPage) {
            events.onPage(page);
        }
    };
    if (events.onNote) {
        told.onNote = [&events, runRow](folvane::PageNote note) {
            note.index = runRow(note.index);
            events.onNote(note);
        };
    }
    if (events.onBlankSkipped) {
        told.onBlankSkipped = [&events, runRow](folvane::PageStart page) {
            page.index = runRow(page.index);
            events.onBlankSkipped(page);
        };
    }
    return told;
}

} // namespace

SetPlan planSetAtBlankPages(const std::string &savePath, const std::vector<std::string> &paths,
                            const folvane::GenerateOptions &options) {
    const std::vector<folvane::RunPage> pages =
        folvane::runPages(folvane::countImagePages(paths, options.pdfPasswords), options.rowPages);
    SetPlan plan;
    plan.parts = folvane::partsBetween(pages, folvane::blankPages(pages, paths, options));
    plan.separators = static_cast<int>(pages.size());
    for (const PagePart &part : plan.parts) {
        plan.separators -= static_cast<int>(part.size());
    }
    if (plan.parts.empty()) {
        Problem problem;
        problem.kind = Problem::Kind::EveryPageBlank;
        problem.file = savePath;
        problem.numbers[0] = static_cast<long long>(pages.size());
        throw outputFailure(problem, "every page is blank: no document written");
    }
    return plan;
}

void prepareSet(folvane::DocumentSet &set, const std::string &savePath, const SetPlan &plan,
                const std::vector<std::string> &paths) {
    if (const auto problem = set.prepare(savePath, plan.parts.size(), false)) {
        throw DocumentSetFailure(*problem);
    }
    // Renaming a document over one of the images would destroy it.
    if (const auto replaced = folvane::targetReplacingFile(set.targets(), paths)) {
        Problem problem;
        problem.kind = Problem::Kind::OutputIsInput;
        problem.file = replaced->first;
        problem.item = replaced->second;
        throw outputFailure(problem, replaced->first + " is the image " + replaced->second);
    }
}

std::vector<std::string> writeSet(folvane::DocumentSet &set, const SetPlan &plan,
                                  const std::vector<std::string> &paths,
                                  const folvane::GenerateOptions &options,
                                  const folvane::GenerateEvents &events,
                                  std::vector<int> &pagesOfEach) {
    // Every blank page is a separator already: no document has one left to leave out.
    folvane::GenerateOptions run = options;
    run.skipBlank = false;
    std::size_t current = 0;
    pagesOfEach.assign(plan.parts.size(), 0);
    try {
        folvane::generateParts(set, plan.parts, paths, run,
                               runEvents(events, plan.parts, current, pagesOfEach),
                               [&current](std::size_t part) { current = part; });
    } catch (GenerateError &failure) {
        if (!failure.aboutOutput() && failure.index < plan.parts[current].size()) {
            failure.index = plan.parts[current][failure.index].row;
        }
        throw;
    }
    if (const auto problem = set.commit()) {
        throw DocumentSetFailure(*problem);
    }
    return set.targets();
}
