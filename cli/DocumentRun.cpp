#include "cli/DocumentRun.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli/Destination.h"
#include "cli/ImageLists.h"
#include "cli/InputFiles.h"
#include "cli/Interleave.h"
#include "cli/PdfPasswords.h"
#include "cli/PdfRun.h"
#include "cli/Reporter.h"
#include "cli/SplitRun.h"
#include "cli/Texts.h"
#include "pdf/ImageFacts.h"
#include "pdf/PageGeneration.h"
#include "pdf/PdfInputs.h"

namespace folvane::cli {

namespace {

// Takes the files the PDF cannot take out of the inputs, each named in a warning, and tells
// whether any was. When none would be left they all stay, so that the run fails on the first
// as it does without the option.
bool leaveOutUnreadable(Arguments &arguments) {
    std::vector<LeftOutFile> leftOut;
    std::vector<std::string> readable =
        readableInputs(arguments.inputs, arguments.firstPageOnly, leftOut);
    if (readable.empty()) {
        arguments.skipUnreadable = false; // the run goes on, and fails, as without the option
        return false;
    }
    if (leftOut.empty()) {
        return false;
    }
    for (const LeftOutFile &file : leftOut) {
        std::fprintf(stderr, "%s\n", leftOutLine(file.path, file.page, file.problem).c_str());
    }
    arguments.inputs = std::move(readable);
    return true;
}

// Runs the page loop. With --skip-unreadable an image the loop fails on as unreadable (one
// the inspection could not tell, such as a later TIFF page with damaged data) is left out with
// a warning and the run starts again without it, while another image is left.
// `pages` counts the pages written.
void generate(const std::string &path, Arguments &arguments,
              const folvane::GenerateOptions &options, Reporter &reporter, bool &someLeftOut,
              std::size_t &pages) {
    folvane::GenerateEvents events = reporter.events();
    events.onPage = [&pages, shown = events.onPage](const folvane::PageStart &page) {
        ++pages;
        shown(page);
    };
    while (true) {
        pages = 0;
        try {
            folvane::generatePdf(path, arguments.inputs, options, events);
            return;
        } catch (const folvane::GenerateError &failure) {
            if (!arguments.skipUnreadable || failure.index >= arguments.inputs.size() ||
                arguments.inputs.size() < 2 || !isUnreadableInput(failure.problem)) {
                throw;
            }
            reporter.endProgress();
            std::fprintf(stderr, "%s\n",
                         leftOutLine(failure.path, failure.filePage, failure.problem).c_str());
            arguments.inputs.erase(arguments.inputs.begin() +
                                   static_cast<std::ptrdiff_t>(failure.index));
            someLeftOut = true;
        }
    }
}

// The pages the document will have: each file's, as the engine counts them (a file that cannot
// be read counts as one page, and its run fails there), one for a row that names its page.
std::size_t documentPages(const Arguments &arguments, const folvane::GenerateOptions &options) {
    if (arguments.firstPageOnly) {
        return arguments.inputs.size();
    }
    std::size_t pages = 0;
    const std::vector<int> counts =
        folvane::countImagePages(arguments.inputs, options.pdfPasswords);
    for (std::size_t row = 0; row < counts.size(); ++row) {
        pages += options.rowPages.count(row) != 0 ? 1 : static_cast<std::size_t>(counts[row]);
    }
    return pages;
}

// Puts the turns of --rotate into `options`; false with `reason` set when one names a page past
// the end. Pages are counted only when a rule names some.
bool setTurns(const Arguments &arguments, folvane::GenerateOptions &options, std::string &reason) {
    if (!namesPages(arguments.turns)) {
        if (const int turns = turnsOfEveryPage(arguments.turns); turns % 4 != 0) {
            for (std::size_t row = 0; row < arguments.inputs.size(); ++row) {
                options.pageEdits[row].quarterTurns = turns;
            }
        }
        return true;
    }
    return turnsByPage(arguments.turns, documentPages(arguments, options), options.pageTurns,
                       reason);
}

// The turns of page `documentPage` of the document, row `row`.
int turnsOf(const folvane::GenerateOptions &options, std::size_t row, std::size_t documentPage) {
    int turns = 0;
    if (auto edit = options.pageEdits.find(row); edit != options.pageEdits.end()) {
        turns += edit->second.quarterTurns;
    }
    if (auto more = options.pageTurns.find(documentPage); more != options.pageTurns.end()) {
        turns += more->second;
    }
    return turns;
}

// The pages of a PDF row as shown, in points (whole points: a crop of a PDF page is in points):
// the one it names, or the first with --first-page-only, or all; one unknown page when the
// document cannot be read, whose run then fails.
void addPdfPages(const std::string &path, std::size_t row, const folvane::GenerateOptions &options,
                 bool firstPageOnly, std::vector<ShownPage> &pages) {
    auto password = options.pdfPasswords.find(path);
    folvane::Problem problem;
    auto sizes = folvane::pdfShownSizes(
        path, password == options.pdfPasswords.end() ? "" : password->second, problem);
    std::size_t first = 0, end = firstPageOnly ? 1 : sizes.size();
    if (auto one = options.rowPages.find(row); one != options.rowPages.end()) {
        first = static_cast<std::size_t>(std::max(one->second, 1) - 1);
        end = first + 1;
    }
    if (sizes.empty() || end > sizes.size()) {
        pages.push_back(ShownPage{});
        return;
    }
    for (std::size_t page = first; page < end; ++page) {
        const int width = static_cast<int>(sizes[page].first);
        const int height = static_cast<int>(sizes[page].second);
        const bool swapped = turnsOf(options, row, pages.size()) % 2 != 0;
        pages.push_back(swapped ? ShownPage{height, width} : ShownPage{width, height});
    }
}

// Each page of the document as the PDF shows it, its turns from `options`.
std::vector<ShownPage> shownPages(const Arguments &arguments,
                                  const folvane::GenerateOptions &options) {
    std::vector<ShownPage> pages;
    for (std::size_t row = 0; row < arguments.inputs.size(); ++row) {
        const std::string &path = arguments.inputs[row];
        if (folvane::isPdfPath(path)) {
            addPdfPages(path, row, options, arguments.firstPageOnly, pages);
            continue;
        }
        const auto one = options.rowPages.find(row);
        const int first = one == options.rowPages.end() ? 1 : one->second;
        folvane::ImageFacts facts = folvane::inspectImage(path, first);
        const int last = one != options.rowPages.end() ? first
                         : arguments.firstPageOnly     ? 1
                                                       : std::max(1, facts.pages);
        for (int page = first; page <= last; ++page) {
            if (page > first) {
                facts = folvane::inspectImage(path, page);
            }
            int turns = 0;
            if (auto edit = options.pageEdits.find(row); edit != options.pageEdits.end()) {
                turns += edit->second.quarterTurns;
            }
            if (auto more = options.pageTurns.find(pages.size()); more != options.pageTurns.end()) {
                turns += more->second;
            }
            const bool swapped = turns % 2 != 0;
            pages.push_back(!facts.ok ? ShownPage{}
                            : swapped ? ShownPage{facts.height, facts.width}
                                      : ShownPage{facts.width, facts.height});
        }
    }
    return pages;
}

// Puts the crops of --crop into `options`, after the turns; false with `reason` set when one
// names a page past the end or does not fit its page.
bool setCrops(const Arguments &arguments, folvane::GenerateOptions &options, std::string &reason) {
    if (arguments.crops.empty()) {
        return true;
    }
    return cropsByPage(arguments.crops, shownPages(arguments, options), options.pageCrops, reason);
}

// Writes the document into the one output file (or standard output).
DocumentOutcome writeOne(Arguments &arguments, const folvane::GenerateOptions &options,
                         bool &someLeftOut) {
    DocumentOutcome outcome;
    Destination destination;
    std::string error;
    if (!destination.prepare(arguments.output, arguments.force, error)) {
        outcome.status = fail(error);
        return outcome;
    }
    outcome.status =
        generateAndDeliver(destination, [&](const std::string &path, Reporter &reporter) {
            generate(path, arguments, options, reporter, someLeftOut, outcome.pages);
        });
    if (outcome.status == 0) {
        outcome.outputs.push_back(arguments.output);
    }
    return outcome;
}

} // namespace

DocumentOutcome runDocument(Arguments &arguments) {
    DocumentOutcome outcome;
    std::string error;
    std::vector<std::string> lists;
    if (!expandLists(arguments.inputs, lists, error) ||
        !outputIsNoList(arguments.output, lists, error) ||
        !expandFolders(arguments.inputs, error)) {
        outcome.status = fail(error);
        return outcome;
    }
    if (arguments.inputs.empty()) {
        std::fprintf(stderr, "folvane-pdf: %s\n%s\n", _("no images: the lists name none"),
                     usageLine());
        outcome.status = kExitUsage;
        return outcome;
    }
    bool someLeftOut = arguments.skipUnreadable && leaveOutUnreadable(arguments);

    folvane::GenerateOptions options;
    if (!arguments.passwordFile.empty() &&
        !setPdfPasswords(arguments.passwordFile, arguments.inputs, options, error)) {
        outcome.status = fail(error);
        return outcome;
    }
    if ((arguments.interleave && !interleavePages(arguments, options, error)) ||
        !setTurns(arguments, options, error) || !setCrops(arguments, options, error)) {
        std::fprintf(stderr, "folvane-pdf: %s\n%s\n", error.c_str(), usageLine());
        outcome.status = kExitUsage;
        return outcome;
    }
    setRunOptions(arguments, options);
    if (arguments.splitEvery > 0 || arguments.splitAtBlank) {
        outcome = writeSplit(arguments, options, lists);
    } else {
        outcome = writeOne(arguments, options, someLeftOut);
    }
    if (outcome.status == 0 && someLeftOut) {
        outcome.status = kExitSomeLeftOut;
    }
    return outcome;
}

} // namespace folvane::cli
