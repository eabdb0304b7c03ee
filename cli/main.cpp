// folvane-pdf: the window's PDF generation for scripts and batches.
//
//   folvane-pdf [-c 2|3|5|8|10|16|fit] [--first-page-only] [--ocr [--ocr-lang LANGS]]
//               [--rotate=[+|-]ANGLE[:PAGES]]... [--crop=LEFT,TOP,RIGHT,BOTTOM[:PAGES]]...
//               [--force] [--skip-unreadable] -o OUT.pdf IMAGE|FOLDER|@LIST...
//   folvane-pdf --scan [--device NAME] [--source ...] [--mode ...] [--resolution DPI]
//               [--page-size ...] [--keep-pages DIR] -o OUT.pdf
//   folvane-pdf --list-devices
//
// Exit 0 on success; 1 on failure, with one line on stderr naming the file and the reason; 2 on
// a usage error; 3 when --skip-unreadable left files out; 128 + the signal's number when
// interrupted. `--help` tells the rest.

#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Destination.h"
#include "cli/ImageLists.h"
#include "cli/InputFiles.h"
#include "cli/Interleave.h"
#include "cli/Interrupts.h"
#include "cli/Language.h"
#include "cli/PdfRun.h"
#include "cli/Reporter.h"
#include "cli/ScanRun.h"
#include "cli/Texts.h"
#include "pdf/ImageFacts.h"
#include "pdf/PageGeneration.h"
#include "platform/crt/MallocArenas.h"

using namespace folvane::cli;

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
void generate(const std::string &path, Arguments &arguments,
              const folvane::GenerateOptions &options, Reporter &reporter, bool &someLeftOut) {
    while (true) {
        try {
            folvane::GeneratePdf(path, arguments.inputs, options, reporter.events());
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
    const std::vector<int> counts = folvane::CountImagePages(arguments.inputs);
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

// Each page of the document as the PDF shows it, its turns from `options`.
std::vector<ShownPage> shownPages(const Arguments &arguments,
                                  const folvane::GenerateOptions &options) {
    std::vector<ShownPage> pages;
    for (std::size_t row = 0; row < arguments.inputs.size(); ++row) {
        const std::string &path = arguments.inputs[row];
        const auto one = options.rowPages.find(row);
        const int first = one == options.rowPages.end() ? 1 : one->second;
        folvane::ImageFacts facts = folvane::InspectImage(path, first);
        const int last = one != options.rowPages.end() ? first
                         : arguments.firstPageOnly     ? 1
                                                       : std::max(1, facts.pages);
        for (int page = first; page <= last; ++page) {
            if (page > first) {
                facts = folvane::InspectImage(path, page);
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

} // namespace

int main(int argc, char **argv) {
    ShareMallocArenas();
    followUserLanguage();
    Arguments arguments;
    if (std::optional<int> exitStatus = parseArguments(argc, argv, arguments)) {
        return *exitStatus;
    }
    if (arguments.scan.listDevices) {
        return listScanners();
    }
    if (arguments.scan.scan) {
        return runScan(arguments);
    }
    std::string error;
    std::vector<std::string> lists;
    if (!expandLists(arguments.inputs, lists, error) ||
        !outputIsNoList(arguments.output, lists, error) ||
        !expandFolders(arguments.inputs, error)) {
        return fail(error);
    }
    if (arguments.inputs.empty()) {
        std::fprintf(stderr, "folvane-pdf: %s\n%s\n", _("no images: the lists name none"),
                     usageLine());
        return kExitUsage;
    }
    bool someLeftOut = arguments.skipUnreadable && leaveOutUnreadable(arguments);

    folvane::GenerateOptions options;
    if ((arguments.interleave && !interleavePages(arguments, options, error)) ||
        !setTurns(arguments, options, error) || !setCrops(arguments, options, error)) {
        std::fprintf(stderr, "folvane-pdf: %s\n%s\n", error.c_str(), usageLine());
        return kExitUsage;
    }

    handleInterrupts();
    Destination destination;
    if (!destination.prepare(arguments.output, arguments.force, error)) {
        return fail(error);
    }
    setRunOptions(arguments, options);
    const int status =
        generateAndDeliver(destination, [&](const std::string &path, Reporter &reporter) {
            generate(path, arguments, options, reporter, someLeftOut);
        });
    return status == 0 && someLeftOut ? kExitSomeLeftOut : status;
}
