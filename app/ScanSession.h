#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/ScannerAccess.h"

class ProgressState;

// One press of "扫描" in the window, from its first load of pages to its last: the scanner
// stays open between loads, and every page goes into one folder of the session's own, made
// under the pictures folder (<pictures>/Folvane/扫描 YYYY-MM-DD HHMM) once the scanner is ready.
//
// Threads: load runs on a worker thread, one load at a time; takeNewPages and cancel may be
// called from any thread meanwhile; the rest belongs to the thread that made the session.
class ScanSession {
public:
    ScanSession(const ScannerAccess &scanners, ScanRequest request);
    // Closes the scanner; removes the session's folder when no page went into it.
    ~ScanSession();
    ScanSession(const ScanSession &) = delete;
    ScanSession &operator=(const ScanSession &) = delete;

    // Scans one load, reporting to progress: "正在扫描第 N 页" (counted over the session), the
    // folder, and the share of the page read. The first load opens and sets up the scanner
    // and makes the folder. Pages before an error stay, on disk and in the outcome, whose
    // error counts its page over the session. Throws ScanFailure when the scanner cannot be
    // opened or set up or the folder cannot be made.
    folvane::scan::ScanOutcome load(ProgressState &progress);
    // Stops the load running (or the next): the page being read is dropped.
    void cancel();

    // Runs on the worker thread after each page is on disk, to tell another thread to take it.
    void onPageWritten(std::function<void()> notify) { notify_ = std::move(notify); }
    // The pages written since the last call, in the order they came.
    std::vector<std::string> takeNewPages();

    // Pages written in all loads so far.
    int pages() const { return pages_; }
    // Whether pages come from a feeder (known once the scanner is set up): it can be refilled.
    bool fromFeeder() const { return feeder_; }
    // The session's folder; "" until it is made.
    std::string folder() const;

private:
    void openScanner(ProgressState &progress);
    folvane::scan::ScanEvents events(ProgressState &progress);

    const ScannerAccess scanners_;
    const ScanRequest request_;
    std::unique_ptr<folvane::scan::Scanner> scanner_;
    std::optional<folvane::scan::PageFolder> folder_;
    std::function<void()> notify_;
    int pages_ = 0;
    bool feeder_ = false;
    // Guards the scanner's coming into being against Cancel, and the pages not yet taken.
    mutable std::mutex mutex_;
    bool cancelled_ = false;
    std::vector<std::string> newPages_;
};
