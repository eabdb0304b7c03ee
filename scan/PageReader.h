// Reading one page from a scanner that has started it (sane_start) into its file, line by line
// as the lines arrive.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <sane/sane.h>

#include "scan/PageEncoder.h"
#include "scan/Scanner.h"

namespace folvane::scan {

// Buffers kept across the pages of a scan, so memory does not follow the page count.
struct PageBuffers {
    std::vector<uint8_t> read; // what one sane_read gives
    std::vector<uint8_t> line; // one line as the scanner sends it
    std::vector<uint8_t> row;  // one row as the file takes it
};

struct PageRequest {
    SANE_Handle handle;
    std::string device;
    int page;              // within the scan call, from 1
    Resolution resolution; // recorded in the file
    const std::atomic<bool> *cancelled;
    const ScanEvents *events;
    const PageFolder *folder;
    PageBuffers *buffers;
};

// Reads the page into the folder's next page file and returns it, complete on disk; nullopt
// when the driver answers "no documents" before the page's first byte (its feeder is empty).
// Throws ScanFailure when the scanner fails, the page cannot be written or the scan is
// cancelled; the partial file is gone by then.
std::optional<ScannedPage> readPage(const PageRequest &request);

} // namespace folvane::scan
