#include "cli/ScanMessages.h"

#include <cmath>

#include "cli/Texts.h"

namespace folvane::cli {

namespace {

using folvane::scan::ScanError;
using folvane::scan::ScanErrorKind;

// "scanner test:0, page 3: " with what is known of the two.
std::string where(const ScanError &error) {
    const std::string page = std::to_string(error.page);
    if (!error.device.empty() && error.page > 0) {
        return fill(_("scanner %1, page %2: "), {error.device, page});
    }
    if (!error.device.empty()) {
        return fill(_("scanner %1: "), {error.device});
    }
    return error.page > 0 ? fill(_("page %1: "), {page}) : std::string();
}

std::string withDetail(const std::string &sentence, const std::string &detail) {
    return detail.empty() ? sentence : fill(_("%1 (%2)"), {sentence, detail});
}

std::string noDevice(const ScanError &e) {
    const char *hint =
        _("check that the scanner is connected and switched on, that you may use it (on Debian, "
          "membership of the 'scanner' group: sudo adduser $USER scanner, then log in again), and "
          "for a network scanner that /etc/sane.d/net.conf names the computer running saned and "
          "that saned allows this one");
    return e.device.empty() ? fill(_("no scanner found: %1"), {hint})
                            : fill(_("no scanner named \"%1\" found: %2"), {e.device, hint});
}

std::string invalidOption(const ScanError &e) {
    if (e.option.empty()) {
        return withDetail(_("the scanner refused its settings"), e.detail);
    }
    if (e.value.empty()) {
        return withDetail(fill(_("the scanner does not accept its option '%1'"), {e.option}),
                          e.detail);
    }
    return withDetail(
        fill(_("the scanner does not accept \"%1\" for its option '%2'"), {e.value, e.option}),
        e.detail);
}

std::string sentence(const ScanError &e) {
    switch (e.kind) {
    case ScanErrorKind::NoDevice:
        return noDevice(e);
    case ScanErrorKind::DeviceBusy:
        return _("the scanner is busy, perhaps in use by another program; try again when it is "
                 "free");
    case ScanErrorKind::FeederEmpty:
        return _("the document feeder is empty: load the pages and scan again");
    case ScanErrorKind::PaperJam:
        return _("paper jam in the document feeder: clear it and scan the remaining pages");
    case ScanErrorKind::CoverOpen:
        return _("the scanner's cover is open: close it and scan again");
    case ScanErrorKind::IoError:
        return withDetail(_("the scanner stopped answering (input/output error); check its cable "
                            "or network connection"),
                          e.detail);
    case ScanErrorKind::AccessDenied:
        return _("access to the scanner was denied: you may lack permission to use the device "
                 "(on Debian, membership of the 'scanner' group) or its password");
    case ScanErrorKind::OutOfMemory:
        return _("the scanner's driver ran out of memory");
    case ScanErrorKind::Cancelled:
        return _("scanning was cancelled");
    case ScanErrorKind::InvalidOption:
        return invalidOption(e);
    case ScanErrorKind::WriteFailed:
        return withDetail(fill(_("cannot write the page file %1"), {e.path}), e.detail);
    case ScanErrorKind::Unavailable:
        return e.detail.empty()
                   ? fill(_("scanning is not available: %1 is not a scanning module of this "
                            "version"),
                          {e.path})
                   : fill(_("scanning is not available: the scanning module %1 cannot be loaded "
                            "(%2)"),
                          {e.path, e.detail});
    case ScanErrorKind::Other:
        break;
    }
    return e.detail.empty() ? std::string(_("scanning failed"))
                            : fill(_("scanning failed: %1"), {e.detail});
}

} // namespace

std::string scanErrorText(const ScanError &error) {
    // NoDevice names its device in the sentence itself.
    if (error.kind == ScanErrorKind::NoDevice) {
        return sentence(error);
    }
    return where(error) + sentence(error);
}

namespace {

// Millimetres to a tenth, without a trailing ".0".
std::string millimetres(double mm) {
    const long tenths = std::lround(mm * 10);
    return std::to_string(tenths / 10) + (tenths % 10 ? "." + std::to_string(tenths % 10) : "");
}

} // namespace

std::string paperBeyondBedText(folvane::scan::PageSize size, const folvane::scan::ScanArea &paper,
                               const folvane::scan::ScanArea &bed) {
    const std::string name = size == folvane::scan::PageSize::Letter ? _("letter") : "A4";
    return fill(_("warning: %1 (%2 x %3 mm) is larger than the scanner's area of %4 x %5 mm; "
                  "only the part on the scanner is scanned"),
                {name, millimetres(paper.width), millimetres(paper.height), millimetres(bed.width),
                 millimetres(bed.height)});
}

} // namespace folvane::cli
