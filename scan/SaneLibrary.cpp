#include "scan/SaneLibrary.h"

#include "base/LoadedModule.h"

namespace folvane::scan {

namespace {

bool initialised = false;
const SaneCalls *calls = nullptr;

// The module, loaded on the first call; a module that cannot be used stays so.
const SaneCalls &saneModule() {
    static const LoadedModule<const SaneCalls> loaded =
        loadModule<const SaneCalls>(saneModulePath(), kSaneModuleEntry);
    if (!loaded.module) {
        ScanError error;
        error.kind = ScanErrorKind::Unavailable;
        error.path = loaded.path;
        error.detail = loaded.failure == ModuleFailure::CannotLoad ? loaded.reason : "";
        throw ScanFailure(error);
    }
    return *loaded.module;
}

ScanErrorKind kindOf(SANE_Status status) {
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

void ensureSane() {
    std::lock_guard<std::mutex> lock(saneGlobalLock());
    if (initialised) {
        return;
    }
    const SaneCalls &sane = saneModule();
    SANE_Int version = 0;
    SANE_Status status = sane.init(&version, nullptr);
    if (status != SANE_STATUS_GOOD) {
        calls = &sane; // for the status's words
        throw ScanFailure(statusError(status, "", 0));
    }
    calls = &sane;
    initialised = true;
}

const SaneCalls &sane() {
    return *calls;
}

std::string saneModulePath() {
    return moduleBesideProgram("FOLVANE_SANE_MODULE", FOLVANE_SANE_MODULE_NAME,
                               FOLVANE_SANE_MODULE_INSTALLED);
}

std::mutex &saneGlobalLock() {
    static std::mutex mutex;
    return mutex;
}

ScanError statusError(SANE_Status status, const std::string &device, int page) {
    ScanError error;
    error.kind = kindOf(status);
    error.device = device;
    error.page = page;
    const char *text = calls ? calls->strstatus(status) : nullptr;
    error.detail = text != nullptr ? text : "status " + std::to_string(status);
    return error;
}

} // namespace folvane::scan
