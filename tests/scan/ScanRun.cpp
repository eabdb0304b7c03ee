#include "tests/scan/ScanRun.h"

#include <chrono>
#include <thread>

namespace scan_test {

using namespace folvane::scan;

void ResetTestOptions(Scanner &scanner) {
    for (const char *off : {"hand-scanner", "read-limit", "read-delay"}) {
        scanner.setOption(off, "no");
    }
    const std::pair<const char *, const char *> defaults[] = {
        {"ppl-loss", "0"}, {"read-return-value", "Default"},
        {"tl-x", "0"},     {"tl-y", "0"},
        {"br-x", "80"},    {"br-y", "100"}};
    for (const auto &[name, value] : defaults) {
        scanner.setOption(name, value);
    }
}

std::unique_ptr<Scanner> OpenTestScanner(const ScanSettings &settings) {
    UseTestDriver();
    std::unique_ptr<Scanner> scanner = Scanner::open("test:0");
    ResetTestOptions(*scanner);
    scanner->apply(settings);
    scanner->setOption("test-picture", "Color pattern");
    return scanner;
}

void LetTheDriverStart() {
    // 20 ms was not always enough with both cores busy: a test hung there once in a full run.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

ScanOutcome ScanStack(Scanner &scanner, PageFolder &folder, int sheets, ScanEvents events) {
    events.onPageStarted = [sheets, started = events.onPageStarted](int page) {
        if (page > sheets) {
            LetTheDriverStart(); // the driver answers "no documents" at once
        }
        if (started) {
            started(page);
        }
    };
    auto written = events.onPageWritten;
    events.onPageWritten = [&scanner, sheets, written](const ScannedPage &page) {
        if (written) {
            written(page);
        }
        if (page.number == sheets) {
            scanner.setOption("read-return-value", "SANE_STATUS_NO_DOCS");
        }
    };
    ScanOutcome outcome = scanner.scan(folder, events);
    scanner.setOption("read-return-value", "Default");
    return outcome;
}

std::set<std::string> PageNames(int count, const std::string &extension) {
    std::set<std::string> names;
    for (int n = 1; n <= count; ++n) {
        names.insert(PageFolder::pageName(n, extension.c_str()));
    }
    return names;
}

} // namespace scan_test
