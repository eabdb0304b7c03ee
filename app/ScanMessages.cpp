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
        return WithDetail(texts::kScanRefused, e.detail);
    }
    if (e.value.empty()) {
        return WithDetail(texts::Fill(texts::kScanRefusedOption, {e.option}), e.detail);
    }
    return WithDetail(texts::Fill(texts::kScanRefusedValue, {e.option, e.value}), e.detail);
}

} // namespace

std::string ScanErrorText(const ScanError &e) {
    switch (e.kind) {
    case ScanErrorKind::NoDevice:
        return (e.device.empty() ? std::string(texts::kScanNoDevice)
                                 : texts::Fill(texts::kScanNoDeviceNamed, {e.device})) +
               "\n" + texts::kScanNoDeviceHint;
    case ScanErrorKind::DeviceBusy:
        return texts::kScanBusy;
    case ScanErrorKind::FeederEmpty:
        return texts::kScanFeederEmpty;
    case ScanErrorKind::PaperJam:
        return texts::kScanPaperJam;
    case ScanErrorKind::CoverOpen:
        return texts::kScanCoverOpen;
    case ScanErrorKind::IoError:
        return WithDetail(texts::kScanIoError, e.detail);
    case ScanErrorKind::AccessDenied:
        return texts::kScanAccessDenied;
    case ScanErrorKind::OutOfMemory:
        return texts::kScanOutOfMemory;
    case ScanErrorKind::Cancelled:
        return texts::kScanCancelled;
    case ScanErrorKind::InvalidOption:
        return RefusedText(e);
    case ScanErrorKind::WriteFailed:
        return WithDetail(texts::Fill(texts::kScanWriteFailed, {e.path}), e.detail);
    case ScanErrorKind::Other:
        break;
    }
    return WithDetail(texts::kScanOther, e.detail);
}

std::string ScanFailureText(const ScanError &error, int pagesKept, const std::string &folder) {
    std::string text = error.page > 0
                           ? texts::Fill(texts::kScanFailedAtPage, {std::to_string(error.page)})
                           : std::string(texts::kScanFailed);
    text += "\n" + ScanErrorText(error);
    if (pagesKept > 0) {
        text += "\n" + texts::Fill(texts::kScanPagesKept, {std::to_string(pagesKept), folder});
    }
    return text;
}
