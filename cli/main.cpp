// folvane-pdf: the window's PDF generation for scripts and batches.
//
//   folvane-pdf [-c 2|3|5|8|10|16|fit] [--first-page-only] [--ocr [--ocr-lang LANGS]] [--force]
//               -o OUT.pdf IMAGE|@LIST...
//   folvane-pdf --scan [--device NAME] [--source ...] [--mode ...] [--resolution DPI]
//               [--page-size ...] [--keep-pages DIR] -o OUT.pdf
//   folvane-pdf --list-devices
//
// Exit 0 on success; 1 on failure, with one line on stderr naming the file and the reason; 2 on
// a usage error; 128 + the signal's number when interrupted. `--help` tells the rest.

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
#include "pdf/PageGeneration.h"
#include "platform/crt/MallocArenas.h"

using namespace folvane_pdf;

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

    HandleInterrupts();
    Destination destination;
    if (!destination.Prepare(arguments.output, arguments.force, error)) {
        return Fail(error);
    }
    folvane::GenerateOptions options;
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
