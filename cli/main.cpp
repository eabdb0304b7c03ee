// folvane-pdf: the window's PDF generation for scripts and batches.
//
//   folvane-pdf [-c 2|3|5|8|10|16|fit] [--first-page-only] [--ocr [--ocr-lang LANGS]]
//               [--rotate=[+|-]ANGLE[:PAGES]]... [--force] -o OUT.pdf IMAGE|@LIST...
//   folvane-pdf --scan [--device NAME] [--source ...] [--mode ...] [--resolution DPI]
//               [--page-size ...] [--keep-pages DIR] -o OUT.pdf
//   folvane-pdf --list-devices
//
// Exit 0 on success; 1 on failure, with one line on stderr naming the file and the reason; 2 on
// a usage error; 128 + the signal's number when interrupted. `--help` tells the rest.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Destination.h"
#include "cli/ImageLists.h"
#include "cli/Interrupts.h"
#include "cli/Language.h"
#include "cli/PdfRun.h"
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
    if (!SetTurns(arguments, options, error)) {
        std::fprintf(stderr, "folvane-pdf: %s\n%s\n", error.c_str(), UsageLine());
        return kExitUsage;
    }

    HandleInterrupts();
    Destination destination;
    if (!destination.Prepare(arguments.output, arguments.force, error)) {
        return Fail(error);
    }
    return generateAndDeliver(arguments, options, destination, arguments.inputs);
}
