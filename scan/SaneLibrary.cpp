#include "scan/SaneLibrary.h"

namespace folvane::scan {

namespace {

bool initialised = false;

ScanErrorKind KindOf(SANE_Status status) {
    switch (status) {
    case SANE_STATUS_CANCELLED:
        return ScanErrorKind::Cancelled;
    case SANE_STATUS_DEVICE_BUSY:
        return ScanErrorKind::DeviceBusy;
    case SANE_STATUS_INVAL:
        return ScanErrorKind::InvalidOption;
    case SANE_STATUS_JAMMED:
        return ScanErrorKind::PaperJam;
    case SANE_STATUS_NO_DOCS:
        return ScanErrorKind::FeederEmpty;
    case SANE_STATUS_COVER_OPEN:
        return ScanErrorKind::CoverOpen;
    case SANE_STATUS_IO_ERROR:
        return ScanErrorKind::IoError;
    case SANE_STATUS_NO_MEM:
        return ScanErrorKind::OutOfMemory;
    case SANE_STATUS_ACCESS_DENIED:
        return ScanErrorKind::AccessDenied;
    default:
        return ScanErrorKind::Other;
    }
}

} // namespace

void EnsureSane() {
    std::lock_guard<std::mutex> lock(SaneGlobalLock());
    if (initialised) {
        return;
    }
    SANE_Int version = 0;
    SANE_Status status = sane_init(&version, nullptr);
    if (status != SANE_STATUS_GOOD) {
        throw ScanFailure(StatusError(status, "", 0));
    }
    initialised = true;
}

std::mutex &SaneGlobalLock() {
    static std::mutex mutex;
    return mutex;
}

ScanError StatusError(SANE_Status status, const std::string &device, int page) {
    ScanError error;
    error.kind = KindOf(status);
    error.device = device;
    error.page = page;
    const char *text = sane_strstatus(status);
    error.detail = text != nullptr ? text : "status " + std::to_string(status);
    return error;
}

} // namespace folvane::scan
