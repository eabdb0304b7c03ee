#include "app/ScanMessages.h"

#include "app/ScanTexts.h"
#include "app/WindowTexts.h"

namespace {

using folvane::scan::ScanError;
using folvane::scan::ScanErrorKind;

// The library's own words, in parentheses after the window's sentence.
std::string WithDetail(const std::string &sentence, const std::string &detail) {
    return detail.empty() ? sentence : sentence + "（" + detail + "）";
}

std::string RefusedText(const ScanError &e) {
    if (e.option.empty()) {
        return WithDetail(texts::Scan(texts::kScanRefused), e.detail);
    }
    if (e.value.empty()) {
        return WithDetail(texts::Scan(texts::kScanRefusedOption, {e.option}), e.detail);
    }
    return WithDetail(texts::Scan(texts::kScanRefusedValue, {e.option, e.value}), e.detail);
}

} // namespace

std::string ScanErrorText(const ScanError &e) {
    switch (e.kind) {
    case ScanErrorKind::NoDevice:
        return (e.device.empty() ? std::string(texts::Scan(texts::kScanNoDevice))
                                 : texts::Scan(texts::kScanNoDeviceNamed, {e.device})) +
               "\n" + texts::Scan(texts::kScanNoDeviceHint);
    case ScanErrorKind::DeviceBusy:
        return texts::Scan(texts::kScanBusy);
    case ScanErrorKind::FeederEmpty:
        return texts::Scan(texts::kScanFeederEmpty);
    case ScanErrorKind::PaperJam:
        return texts::Scan(texts::kScanPaperJam);
    case ScanErrorKind::CoverOpen:
        return texts::Scan(texts::kScanCoverOpen);
    case ScanErrorKind::IoError:
        return WithDetail(texts::Scan(texts::kScanIoError), e.detail);
    case ScanErrorKind::AccessDenied:
        return texts::Scan(texts::kScanAccessDenied);
    case ScanErrorKind::OutOfMemory:
        return texts::Scan(texts::kScanOutOfMemory);
    case ScanErrorKind::Cancelled:
        return texts::Scan(texts::kScanCancelled);
    case ScanErrorKind::InvalidOption:
        return RefusedText(e);
    case ScanErrorKind::WriteFailed:
        return WithDetail(texts::Scan(texts::kScanWriteFailed, {e.path}), e.detail);
    case ScanErrorKind::Unavailable:
        return e.detail.empty()
                   ? texts::Scan(texts::kScanModuleWrongVersion, {e.path})
                   : WithDetail(texts::Scan(texts::kScanModuleCannotLoad, {e.path}), e.detail);
    case ScanErrorKind::Other:
        break;
    }
    return WithDetail(texts::Scan(texts::kScanOther), e.detail);
}

std::string ScanFailureText(const ScanError &error, int pagesKept, const std::string &folder) {
    std::string text = error.page > 0
                           ? texts::Scan(texts::kScanFailedAtPage, {std::to_string(error.page)})
                           : std::string(texts::Scan(texts::kScanFailed));
    text += "\n" + ScanErrorText(error);
    if (pagesKept > 0) {
        text += "\n" + texts::Scan(texts::kScanPagesKept, {std::to_string(pagesKept), folder});
    }
    return text;
}
