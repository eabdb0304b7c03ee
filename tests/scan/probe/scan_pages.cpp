// Scans a number of pages from a feeder into a folder, reloading the feeder as often as it runs
// empty, and prints what that cost: for the memory test and the benchmark against scanimage.
//
//   scan_pages DEVICE FOLDER PAGES color|gray|lineart DPI [OPTION=VALUE...]
//
// prints "pages=N seconds=S start_kb=K peak_kb=K": the pages written, the wall time of the
// scans, the resident memory before the first scan and the peak (getrusage) after the last.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>

#include "scan/Scanner.h"
#include "tests/support/PeakMemory.h"

using namespace folvane::scan;

namespace {

ScanMode ModeOf(const std::string &name) {
    return name == "color" ? ScanMode::Color : name == "gray" ? ScanMode::Gray : ScanMode::Lineart;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: scan_pages DEVICE FOLDER PAGES MODE DPI [OPTION=VALUE...]\n");
        return 2;
    }
    const int wanted = std::atoi(argv[3]);
    try {
        std::unique_ptr<Scanner> scanner = Scanner::open(argv[1]);
        ScanSettings settings;
        settings.source = ScanSource::Feeder;
        settings.mode = ModeOf(argv[4]);
        settings.resolution = std::atoi(argv[5]);
        scanner->apply(settings);
        for (int i = 6; i < argc; ++i) {
            const std::string option = argv[i];
            const std::size_t equals = option.find('=');
            scanner->setOption(option.substr(0, equals), option.substr(equals + 1));
        }
        PageFolder folder(argv[2]);
        int pages = 0;
        ScanEvents events;
        // Stops the feeder once enough pages are in.
        events.onPageWritten = [&](const ScannedPage &) {
            if (++pages == wanted) {
                scanner->cancel();
            }
        };
        const long startKb = support::ResidentKiB();
        const auto start = std::chrono::steady_clock::now();
        while (pages < wanted) {
            ScanOutcome outcome = scanner->scan(folder, events);
            if (outcome.error &&
                (pages < wanted || outcome.error->kind != ScanErrorKind::Cancelled)) {
                std::fprintf(stderr, "scan_pages: %s\n", englishMessage(*outcome.error).c_str());
                return 1;
            }
            if (outcome.pages.empty()) {
                break;
            }
        }
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        std::printf("pages=%d seconds=%.3f start_kb=%ld peak_kb=%ld\n", pages, seconds.count(),
                    startKb, usage.ru_maxrss);
    } catch (const ScanFailure &failure) {
        std::fprintf(stderr, "scan_pages: %s\n", failure.what());
        return 1;
    }
    return 0;
}
