// The window's way to scanners over SANE's test driver, for the window's tests (headless and
// Qt): every opening puts the driver's test options back and chooses its picture; every load
// ends as a feeder holding `sheets` pages does, and the page `failAt` of the scan fails with a
// status of the driver's. Header only: the Qt tests include it too.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app/ScannerAccess.h"
#include "tests/scan/ScanRun.h"

namespace scan_window_test {

// How the test driver behaves in the loads to come; a test may change it between loads.
struct DriverScript {
    int sheets = 10; // pages in the feeder at each load
    int failAt = 0;  // the page of the scan (from 1, over all loads) whose reading fails; 0: none
    std::string status = "SANE_STATUS_JAMMED"; // the driver's word for that failure
    std::string picture = "Solid black";
    std::string extraOption; // one more option of the driver's set at every opening ("" none)
    std::string extraValue;
    // Runs on the scanning thread at each progress report, after the window has heard of it.
    std::function<void(const folvane::scan::PageProgress &)> onProgress;
    std::atomic<int> scanned{0}; // pages written so far
    std::atomic<int> opened{0};  // times a scanner was opened
};

inline ScannerAccess TestScanners(std::shared_ptr<DriverScript> script) {
    using namespace folvane::scan;
    ScannerAccess access;
    access.open = [script](const std::string &name) {
        std::unique_ptr<Scanner> scanner = Scanner::open(name);
        ++script->opened;
        scan_test::ResetTestOptions(*scanner);
        scanner->setOption("test-picture", script->picture);
        if (!script->extraOption.empty()) {
            scanner->setOption(script->extraOption, script->extraValue);
        }
        return scanner;
    };
    access.scan = [script](Scanner &scanner, PageFolder &folder, const ScanEvents &events) {
        auto failNextIfDue = [&scanner, script] {
            if (script->failAt == script->scanned + 1) {
                scanner.setOption("read-return-value", script->status);
            }
        };
        failNextIfDue();
        if (script->sheets == 0) {
            scanner.setOption("read-return-value", "SANE_STATUS_NO_DOCS");
        }
        ScanEvents scripted = events;
        scripted.onPageStarted = [script, started = events.onPageStarted](int page) {
            if (script->failAt == script->scanned + 1) {
                scan_test::LetTheDriverStart(); // the page fails at its first read
            }
            if (started) {
                started(page);
            }
        };
        scripted.onPageWritten = [failNextIfDue, script,
                                  written = events.onPageWritten](const ScannedPage &page) {
            ++script->scanned;
            if (written) {
                written(page);
            }
            failNextIfDue();
        };
        scripted.onProgress = [script, progress = events.onProgress](const PageProgress &at) {
            if (progress) {
                progress(at);
            }
            if (script->onProgress) {
                script->onProgress(at);
            }
        };
        return scan_test::ScanStack(scanner, folder, script->sheets, scripted);
    };
    return access;
}

} // namespace scan_window_test
