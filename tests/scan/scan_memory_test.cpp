// Memory while scanning stays flat: a page is never held whole, however large, and nothing
// piles up from page to page. Measured with getrusage in a process of its own (scan_pages), so
// nothing of the test itself counts. Under AddressSanitizer the run keeps no quarantine of
// freed blocks: that delay of reuse is the sanitizer's, not the program's memory.

#include <cstdio>
#include <gtest/gtest.h>

#include "tests/scan/ScanTestSupport.h"
#include "tests/support/Process.h"

namespace {

using namespace scan_test;

struct Usage {
    int pages = 0;
    long startKb = 0; // resident before the first scan
    long peakKb = 0;  // the process's peak
};

// `pages` pages of 600-dpi colour from the feeder, reloaded as it runs empty, of an area
// `mm` millimetres square.
Usage ScanInChild(int pages, int mm) {
    UseTestDriver();
    support::TempDir dir;
    const std::string command =
        "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=0\" " +
        support::Quote(std::string(FOLVANE_BIN_DIR) + "/scan_pages") + " test:0 " +
        support::Quote(dir.Path()) + " " + std::to_string(pages) +
        " color 600 'test-picture=Color pattern' br-x=" + std::to_string(mm) +
        " br-y=" + std::to_string(mm);
    support::RunResult run = support::RunShell(command);
    Usage usage;
    double seconds = 0;
    if (run.exitCode != 0 ||
        std::sscanf(run.out.c_str(), "pages=%d seconds=%lf start_kb=%ld peak_kb=%ld", &usage.pages,
                    &seconds, &usage.startKb, &usage.peakKb) != 4) {
        ADD_FAILURE() << "scan_pages failed (" << run.exitCode << "): " << run.out << run.err;
    }
    return usage;
}

TEST(ScanMemoryTest, A600DpiColourPageNeverSitsInMemory) {
    // 200 mm square at 600 dpi: 4724 x 4724 pixels, 64 MiB of samples a page.
    Usage usage = ScanInChild(2, 200);
    EXPECT_EQ(usage.pages, 2);
    const long pageKb = 4724L * 4724 * 3 / 1024;
    EXPECT_LT(usage.peakKb - usage.startKb, 16 * 1024)
        << "a page holds " << pageKb << " KiB of pixels; the scan grew by "
        << usage.peakKb - usage.startKb << " KiB";
}

TEST(ScanMemoryTest, FiftyPagesTakeNoMoreMemoryThanFive) {
    Usage five = ScanInChild(5, 30);
    Usage fifty = ScanInChild(50, 30);
    EXPECT_EQ(five.pages, 5);
    EXPECT_EQ(fifty.pages, 50);
    EXPECT_LE(fifty.peakKb, five.peakKb * 11 / 10)
        << "peak at 5 pages " << five.peakKb << " KiB, at 50 pages " << fifty.peakKb << " KiB";
}

} // namespace
