// SANE itself: initialised while anything uses it, and its statuses as error kinds.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include <sane/sane.h>

#include "scan/ScanError.h"

namespace folvane::scan {

// One use of SANE: sane_init when the first use begins, sane_exit when the last one ends.
class SaneLibrary {
public:
    // Throws ScanFailure when SANE cannot start.
    static std::shared_ptr<SaneLibrary> Acquire();
    ~SaneLibrary();
    SaneLibrary(const SaneLibrary &) = delete;
    SaneLibrary &operator=(const SaneLibrary &) = delete;

    // Held around the calls that touch SANE's global state: listing, opening, closing.
    static std::mutex &GlobalLock();

private:
    SaneLibrary() = default;
};

// The error for a status SANE returned (never SANE_STATUS_GOOD), with the driver's status text
// as its detail.
ScanError StatusError(SANE_Status status, const std::string &device, int page);

} // namespace folvane::scan
