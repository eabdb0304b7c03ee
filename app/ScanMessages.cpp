#include "app/ScanMessages.h"

#include "app/ScanTexts.h"
#include "app/WindowTexts.h"

namespace {

using folvane::scan::ScanError;
using folvane::scan::ScanErrorKind;

// The library's own words, in parentheses after the window's sentence.
std::string withDetail(const std::string &sentence, const std::string &detail) {
    return detail.empty() ? sentence : sentence + "（" + detail + "）";
}

std::string refusedText(const ScanError &e) {
    if (e.option.empty()) {
        return withDetail(folvane::app::texts::scan(folvane::app::texts::kScanRefused), e.detail);
    }
    if (e.value.empty()) {
        return withDetail(
            folvane::app::texts::scan(folvane::app::texts::kScanRefusedOption, {e.option}),
            e.detail);
    }
    return withDetail(
        folvane::app::texts::scan(folvane::app::texts::kScanRefusedValue, {e.option, e.value}),
        e.detail);
}

} // namespace

std::string scanErrorText(const ScanError &e) {
    switch (e.kind) {
    case ScanErrorKind::NoDevice:
        return (e.device.empty()
                    ? std::string(folvane::app::texts::scan(folvane::app::texts::kScanNoDevice))
                    : folvane::app::texts::scan(folvane::app::texts::kScanNoDeviceNamed,
                                                {e.device})) +
               "\n" + folvane::app::texts::scan(folvane::app::texts::kScanNoDeviceHint);
    case ScanErrorKind::DeviceBusy:
        return folvane::app::texts::scan(folvane::app::texts::kScanBusy);
    case ScanErrorKind::FeederEmpty:
        return folvane::app::texts::scan(folvane::app::texts::kScanFeederEmpty);
    case ScanErrorKind::PaperJam:
        return folvane::app::texts::scan(folvane::app::texts::kScanPaperJam);
    case ScanErrorKind::CoverOpen:
        return folvane::app::texts::scan(folvane::app::texts::kScanCoverOpen);
    case ScanErrorKind::IoError:
        return withDetail(folvane::app::texts::scan(folvane::app::texts::kScanIoError), e.detail);
    case ScanErrorKind::AccessDenied:
        return folvane::app::texts::scan(folvane::app::texts::kScanAccessDenied);
    case ScanErrorKind::OutOfMemory:
        return folvane::app::texts::scan(folvane::app::texts::kScanOutOfMemory);
    case ScanErrorKind::Cancelled:
        return folvane::app::texts::scan(folvane::app::texts::kScanCancelled);
    case ScanErrorKind::InvalidOption:
        return refusedText(e);
    case ScanErrorKind::WriteFailed:
        return withDetail(
            folvane::app::texts::scan(folvane::app::texts::kScanWriteFailed, {e.path}), e.detail);
    case ScanErrorKind::Unavailable:
        return e.detail.empty()
                   ? folvane::app::texts::scan(folvane::app::texts::kScanModuleWrongVersion,
                                               {e.path})
                   : withDetail(folvane::app::texts::scan(
                                    folvane::app::texts::kScanModuleCannotLoad, {e.path}),
                                e.detail);
    case ScanErrorKind::Other:
        break;
    }
    return withDetail(folvane::app::texts::scan(folvane::app::texts::kScanOther), e.detail);
}

std::string scanFailureText(const ScanError &error, int pagesKept, const std::string &folder) {
    std::string text =
        error.page > 0 ? folvane::app::texts::scan(folvane::app::texts::kScanFailedAtPage,
                                                   {std::to_string(error.page)})
                       : std::string(folvane::app::texts::scan(folvane::app::texts::kScanFailed));
    text += "\n" + scanErrorText(error);
    if (pagesKept > 0) {
        text += "\n" + folvane::app::texts::scan(folvane::app::texts::kScanPagesKept,
                                                 {std::to_string(pagesKept), folder});
    }
    return text;
}
