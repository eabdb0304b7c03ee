// folvane-pdf: the window's PDF generation for scripts and batches.
//
//   folvane-pdf [-c 2|3|5|8|10|16|fit] [--first-page-only] [--ocr [--ocr-lang LANGS]]
//               [--rotate=[+|-]ANGLE[:PAGES]]... [--crop=LEFT,TOP,RIGHT,BOTTOM[:PAGES]]...
//               [--split-every N | --split-at-blank]
//               [--force] [--skip-unreadable] -o OUT.pdf IMAGE|FOLDER|@LIST...
//   folvane-pdf --batch MANIFEST [--shard K/N] [--force]
//   folvane-pdf --scan [--device NAME] [--source ...] [--mode ...] [--resolution DPI]
//               [--page-size ...] [--keep-pages DIR] -o OUT.pdf
//   folvane-pdf --list-devices
//
// Exit 0 on success; 1 on failure, with one line on stderr naming the file and the reason; 2 on
// a usage error; 3 when --skip-unreadable left files out; 128 + the signal's number when
// interrupted. `--help` tells the rest.

#include "cli/Arguments.h"
#include "cli/BatchRun.h"
#include "cli/DocumentRun.h"
#include "cli/Interrupts.h"
#include "cli/Language.h"
#include "cli/ScanRun.h"
#include "platform/crt/MallocArenas.h"

using namespace folvane::cli;

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
    if (!arguments.batch.empty()) {
        return runBatch(arguments);
    }
    handleInterrupts();
    return runDocument(arguments).status;
}
