// folvane-pdf: the window's PDF generation for scripts and batches.
//
//   folvane-pdf [-c 2|3|5|8|10|16|fit] [--first-page-only] [--ocr [--ocr-lang LANGS]]
//               [--rotate=[+|-]ANGLE[:PAGES]]... [--crop=LEFT,TOP,RIGHT,BOTTOM[:PAGES]]...
//               [--force] -o OUT.pdf IMAGE|@LIST...
//   folvane-pdf --scan [--device NAME] [--source ...] [--mode ...] [--resolution DPI]
//               [--page-size ...] [--keep-pages DIR] -o OUT.pdf
//   folvane-pdf --list-devices
//
// Exit 0 on success; 1 on failure, with one line on stderr naming the file and the reason; 2 on
// a usage error; 128 + the signal's number when interrupted. `--help` tells the rest.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Destination.h"
#include "cli/ImageLists.h"
#include "cli/Interrupts.h"
#include "cli/Language.h"
#include "cli/Reporter.h"
#include "cli/ScanRun.h"
#include "cli/Texts.h"
#include "pdf/ImageFacts.h"
#include "pdf/PageGeneration.h"
#include "platform/crt/MallocArenas.h"

using namespace folvane_pdf;

namespace {

// The pages the document will have: each file's, as the engine counts them (a file that cannot
// be read counts as one page, and its run fails there).
std::size_t DocumentPages(const Arguments &arguments) {
    if (arguments.firstPageOnly) {
        return arguments.inputs.size();
    }
    std::size_t pages = 0;
    for (const std::string &path : arguments.inputs) {
        pages += static_cast<std::size_t>(std::max(1, folvane::InspectImage(path).pages));
    }
    return pages;
}

// Puts the turns of --rotate into `options`; false with `reason` set when one names a page past
// the end. Pages are counted only when a rule names some.
bool SetTurns(const Arguments &arguments, folvane::GenerateOptions &options, std::string &reason) {
    if (!NamesPages(arguments.turns)) {
        if (const int turns = TurnsOfEveryPage(arguments.turns); turns % 4 != 0) {
            for (std::size_t row = 0; row < arguments.inputs.size(); ++row) {
                options.pageEdits[row].quarterTurns = turns;
            }
        }
        return true;
    }
    return TurnsByPage(arguments.turns, DocumentPages(arguments), options.pageTurns, reason);
}

// Each page of the document as the PDF shows it, its turns from `options`.
std::vector<ShownPage> ShownPages(const Arguments &arguments,
                                  const folvane::GenerateOptions &options) {
    std::vector<ShownPage> pages;
    for (std::size_t row = 0; row < arguments.inputs.size(); ++row) {
        const std::string &path = arguments.inputs[row];
        folvane::ImageFacts facts = folvane::InspectImage(path);
        const int count = arguments.firstPageOnly ? 1 : std::max(1, facts.pages);
        for (int page = 1; page <= count; ++page) {
            if (page > 1) {
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
bool SetCrops(const Arguments &arguments, folvane::GenerateOptions &options, std::string &reason) {
    if (arguments.crops.empty()) {
        return true;
    }
    return CropsByPage(arguments.crops, ShownPages(arguments, options), options.pageCrops, reason);
}

} // namespace

int main(int argc, char **argv) {
    ShareMallocArenas();
    FollowUserLanguage();
    Arguments arguments;
    if (std::optional<int> exitStatus = ParseArguments(argc, argv, arguments)) {
        return *exitStatus;
    }
    if (arguments.scan.listDevices) {
        return ListScanners();
    }
    if (arguments.scan.scan) {
        return RunScan(arguments);
    }
    std::string error;
    std::vector<std::string> lists;
    if (!ExpandLists(arguments.inputs, lists, error) ||
        !OutputIsNoList(arguments.output, lists, error)) {
        return Fail(error);
    }
    if (arguments.inputs.empty()) {
        std::fprintf(stderr, "folvane-pdf: %s\n%s\n", _("no images: the lists name none"),
                     UsageLine());
        return kExitUsage;
    }

    folvane::GenerateOptions options;
    if (!SetTurns(arguments, options, error) || !SetCrops(arguments, options, error)) {
        std::fprintf(stderr, "folvane-pdf: %s\n%s\n", error.c_str(), UsageLine());
        return kExitUsage;
    }

    HandleInterrupts();
    Destination destination;
    if (!destination.Prepare(arguments.output, arguments.force, error)) {
        return Fail(error);
    }
    options.layout = arguments.layout;
    options.firstPageOnly = arguments.firstPageOnly;
    options.ocrLanguages = arguments.ocrLanguages;
    options.pdfVersion = arguments.pdfVersion;
    options.correctDocuments = arguments.document;
    Reporter reporter(::isatty(STDERR_FILENO) != 0);
    try {
        folvane::GeneratePdf(destination.Path(), arguments.inputs, options, reporter.Events());
    } catch (const folvane::GenerateError &failure) {
        return reporter.Failure(failure);
    } catch (const std::exception &failure) {
        reporter.EndProgress();
        return Fail(failure.what());
    }
    reporter.EndProgress();
    if (!destination.Deliver(error)) {
        return Fail(error);
    }
    return 0;
}
