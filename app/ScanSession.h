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
// Threads: Load runs on a worker thread, one load at a time; TakeNewPages and Cancel may be
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
    folvane::scan::ScanOutcome Load(ProgressState &progress);
    // Stops the load running (or the next): the page being read is dropped.
    void Cancel();

    // Runs on the worker thread after each page is on disk, to tell another thread to take it.
    void OnPageWritten(std::function<void()> notify) { m_notify = std::move(notify); }
    // The pages written since the last call, in the order they came.
    std::vector<std::string> TakeNewPages();

    // Pages written in all loads so far.
    int Pages() const { return m_pages; }
    // Whether pages come from a feeder (known once the scanner is set up): it can be refilled.
    bool FromFeeder() const { return m_feeder; }
    // The session's folder; "" until it is made.
    std::string Folder() const;

private:
    void OpenScanner(ProgressState &progress);
    folvane::scan::ScanEvents Events(ProgressState &progress);

    const ScannerAccess m_scanners;
    const ScanRequest m_request;
    std::unique_ptr<folvane::scan::Scanner> m_scanner;
    std::optional<folvane::scan::PageFolder> m_folder;
    std::function<void()> m_notify;
    int m_pages = 0;
    bool m_feeder = false;
    // Guards the scanner's coming into being against Cancel, and the pages not yet taken.
    mutable std::mutex m_mutex;
    bool m_cancelled = false;
    std::vector<std::string> m_newPages;
};
