#include "scan/ScanError.h"

namespace folvane::scan {

namespace {

constexpr const char *kNoDeviceHint =
    "check that the scanner is connected and switched on, that you may use it (on Debian, "
    "membership of the 'scanner' group: sudo adduser $USER scanner, then log in again), and for "
    "a network scanner that /etc/sane.d/net.conf names the computer running saned and that "
    "saned allows this one";

// "scanner test:0, page 3: " with what is known of the two.
std::string where(const ScanError &error) {
    std::string where;
    if (!error.device.empty()) {
        where = "scanner " + error.device;
    }
    if (error.page > 0) {
        where += (where.empty() ? "page " : ", page ") + std::to_string(error.page);
    }
    return where.empty() ? "" : where + ": ";
}

std::string withDetail(const std::string &sentence, const std::string &detail) {
    return detail.empty() ? sentence : sentence + " (" + detail + ")";
}

std::string sentence(const ScanError &e) {
    switch (e.kind) {
    case ScanErrorKind::NoDevice:
        return (e.device.empty() ? "no scanner found: "
                                 : "no scanner named \"" + e.device + "\" found: ") +
               kNoDeviceHint;
    case ScanErrorKind::DeviceBusy:
        return "the scanner is busy, perhaps in use by another program; try again when it is free";
    case ScanErrorKind::FeederEmpty:
        return "the document feeder is empty: load the pages and scan again";
    case ScanErrorKind::PaperJam:
        return "paper jam in the document feeder: clear it and scan the remaining pages";
    case ScanErrorKind::CoverOpen:
        return "the scanner's cover is open: close it and scan again";
    case ScanErrorKind::IoError:
        return withDetail("the scanner stopped answering (input/output error); check its cable "
                          "or network connection",
                          e.detail);
    case ScanErrorKind::AccessDenied:
        return "access to the scanner was denied: you may lack permission to use the device "
               "(on Debian, membership of the 'scanner' group) or its password";
    case ScanErrorKind::OutOfMemory:
        return "the scanner's driver ran out of memory";
    case ScanErrorKind::Cancelled:
        return "scanning was cancelled";
    case ScanErrorKind::InvalidOption:
        if (e.option.empty()) {
            return withDetail("the scanner refused its settings", e.detail);
        }
        return withDetail("the scanner does not accept " +
                              (e.value.empty() ? "" : "\"" + e.value + "\" for ") + "its option '" +
                              e.option + "'",
                          e.detail);
    case ScanErrorKind::WriteFailed:
        return withDetail("cannot write the page file " + e.path, e.detail);
    case ScanErrorKind::Unavailable:
        return e.detail.empty() ? "scanning is not available: " + e.path +
                                      " is not a scanning module of this version"
                                : "scanning is not available: the scanning module " + e.path +
                                      " cannot be loaded (" + e.detail + ")";
    case ScanErrorKind::Other:
        break;
    }
    return e.detail.empty() ? "scanning failed" : "scanning failed: " + e.detail;
}

} // namespace

std::string englishMessage(const ScanError &error) {
    // NoDevice names its device in the sentence itself.
    if (error.kind == ScanErrorKind::NoDevice) {
        return sentence(error);
    }
    return where(error) + sentence(error);
}

} // namespace folvane::scan
