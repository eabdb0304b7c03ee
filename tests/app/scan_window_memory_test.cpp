// Memory while scanning through the window stays flat: fifty pages, the list's rows and their
// checks included, take no more than five. Measured with getrusage in a process of its own
// (scan_window_pages), so nothing of the test itself counts; as in the library's memory test,
// the sanitizer keeps no quarantine of freed blocks there.

#include <cstdio>
#include <gtest/gtest.h>

#include "tests/scan/ScanTestSupport.h"
#include "tests/support/Process.h"

namespace {

struct Usage {
    int pages = 0;
    long peakKb = 0;
};

// `pages` A4 pages of 300-dpi grey through the window's scan, the feeder refilled each ten.
Usage ScanInChild(int pages) {
    scan_test::UseTestDriver();
    support::TempDir pictures;
    const std::string command =
        "XDG_PICTURES_DIR=" + support::Quote(pictures.Path()) +
        " ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=0\" " +
        support::Quote(std::string(FOLVANE_BIN_DIR) + "/scan_window_pages") + " test:0 " +
        std::to_string(pages);
    support::RunResult run = support::RunShell(command);
    Usage usage;
    double seconds = 0;
    long startKb = 0;
    if (run.exitCode != 0 ||
        std::sscanf(run.out.c_str(), "pages=%d seconds=%lf start_kb=%ld peak_kb=%ld", &usage.pages,
                    &seconds, &startKb, &usage.peakKb) != 4) {
        ADD_FAILURE() << "scan_window_pages failed (" << run.exitCode << "): " << run.out
                      << run.err;
    }
    return usage;
}

TEST(ScanWindowMemory, FiftyPagesTakeNoMoreMemoryThanFive) {
    const Usage five = ScanInChild(5);
    const Usage fifty = ScanInChild(50);
    EXPECT_EQ(five.pages, 5);
    EXPECT_EQ(fifty.pages, 50);
    EXPECT_LE(fifty.peakKb, five.peakKb * 11 / 10)
        << "peak at 5 pages " << five.peakKb << " KiB, at 50 pages " << fifty.peakKb << " KiB";
}

} // namespace
