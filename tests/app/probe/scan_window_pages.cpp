// Scans a number of pages through the window's "扫描", on the headless toolkit, and prints what
// that cost: for the window's memory test and the benchmark against scanimage. The scan dialog is
// answered as a user would (feeder, grey, 300 dpi, A4) and "继续扫描" each time the feeder has run
// empty, which the SANE test device does after ten pages.
//
//   scan_window_pages DEVICE PAGES
//
// prints "pages=N seconds=S start_kb=K peak_kb=K": the rows the scan added, the wall time from
// the press of "扫描" to the last page, the resident memory before it and the peak (getrusage).
// The pages go to $XDG_PICTURES_DIR/Folvane.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "app/ScanTexts.h"
#include "platform/ui/HeadlessDialog.h"
#include "platform/ui/HeadlessToolkit.h"
#include "tests/scan/ScanRun.h"
#include "tests/support/PeakMemory.h"

namespace {

void Choose(HeadlessDialog &dialog, int id, const std::string &item) {
    const std::vector<std::string> &items = dialog.Combo(id)->Items();
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end()) {
        std::fprintf(stderr, "scan_window_pages: the scan dialog offers no \"%s\"\n", item.c_str());
        std::exit(1);
    }
    dialog.ChooseItem(id, static_cast<int>(found - items.begin()));
}

// Runs what the scanner thread hands back until the chosen scanner's offer is in.
void AwaitOffer(HeadlessToolkit &ui, HeadlessDialog &dialog) {
    while (!dialog.Wnd(IDOK)->IsWindowEnabled() && !dialog.Ended()) {
        ui.WaitForPosted(std::chrono::milliseconds(10));
        ui.RunPosted();
    }
}

// Answers the scan dialog with the scanner of that name and the settings of the benchmark.
void AnswerScanDialog(HeadlessToolkit &ui, HeadlessDialog &dialog, const std::string &device) {
    AwaitOffer(ui, dialog);
    const std::vector<std::string> &scanners = dialog.Combo(IDC_SCAN_DEVICE)->Items();
    const auto named = std::find_if(scanners.begin(), scanners.end(), [&](const std::string &item) {
        return item.size() > device.size() + 2 &&
               item.compare(item.size() - device.size() - 2, std::string::npos,
                            "(" + device + ")") == 0;
    });
    if (named == scanners.end()) {
        std::fprintf(stderr, "scan_window_pages: no scanner %s\n", device.c_str());
        std::exit(1);
    }
    Choose(dialog, IDC_SCAN_DEVICE, *named);
    AwaitOffer(ui, dialog);
    Choose(dialog, IDC_SCAN_SOURCE, folvane::app::texts::kSourceFeeder);
    Choose(dialog, IDC_SCAN_MODE, folvane::app::texts::kModeGray);
    Choose(dialog, IDC_SCAN_RESOLUTION, "300 dpi");
    Choose(dialog, IDC_SCAN_PAGE_SIZE, folvane::app::texts::kPageA4);
    dialog.Click(IDOK);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: scan_window_pages DEVICE PAGES\n");
        return 2;
    }
    const std::string device = argv[1];
    const int wanted = std::max(1, std::atoi(argv[2]));
    HeadlessToolkit ui;
    CFolvaneDlg window(ui);
    window.Create();
    // The device's own feeder (ten pages a load), the last load cut to what is wanted.
    int scanned = 0;
    window.Scanners().scan = [&scanned, wanted](folvane::scan::Scanner &scanner,
                                                folvane::scan::PageFolder &folder,
                                                const folvane::scan::ScanEvents &events) {
        folvane::scan::ScanOutcome outcome =
            scan_test::ScanStack(scanner, folder, std::min(10, wanted - scanned), events);
        scanned += static_cast<int>(outcome.pages.size());
        return outcome;
    };
    ui.onModal = [&ui, device](HeadlessDialog &dialog) {
        if (dialog.Template().id == IDD_SCAN_DIALOG) {
            AnswerScanDialog(ui, dialog, device);
        }
    };
    const int loads = (wanted + 9) / 10;
    ui.questionAnswers = std::deque<int>(static_cast<std::size_t>(loads - 1), 0);
    ui.questionAnswers.push_back(1);

    const long startKb = support::ResidentKiB();
    const auto start = std::chrono::steady_clock::now();
    ui.Dialog(IDD_FOLVANE_DIALOG)->Click(IDC_BTN_SCAN);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    for (const std::string &message : ui.MessageTexts()) {
        std::fprintf(stderr, "scan_window_pages: %s\n", message.c_str());
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("pages=%zu seconds=%.3f start_kb=%ld peak_kb=%ld\n", window.ListPaths().size(),
                seconds.count(), startKb, usage.ru_maxrss);
    return ui.MessageTexts().empty() ? 0 : 1;
}
