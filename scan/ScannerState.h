// What an open Scanner holds.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include <sane/sane.h>

#include "scan/PageReader.h"
#include "scan/SaneLibrary.h"
#include "scan/SaneOptions.h"
#include "scan/Scanner.h"

namespace folvane::scan {

struct ScannerState {
    ScannerState(SANE_Handle device, const std::string &name)
        : handle(device), options(device, name) {}

    SANE_Handle handle;
    SaneOptions options;
    // cancel() may call sane_cancel only while a scan runs; `scanning` says so, under `mutex`.
    std::mutex mutex;
    bool scanning = false;
    std::atomic<bool> cancelled{false};
    PageBuffers buffers;
};

} // namespace folvane::scan
