#include "app/ScanSession.h"

#include <algorithm>
#include <ctime>
#include <unistd.h>
#include <utility>

#include "app/ScanTexts.h"
#include "app/WindowTexts.h"
#include "platform/ui/ProgressState.h"

namespace {

using namespace folvane::scan;

// The progress bar counts a page in thousandths.
constexpr int kBarSteps = 1000;

bool isFeeder(std::optional<ScanSource> source) {
    return source == ScanSource::Feeder || source == ScanSource::Duplex;
}

} // namespace

ScanSession::ScanSession(const ScannerAccess &scanners, ScanRequest request)
    : scanners_(scanners), request_(std::move(request)) {}

ScanSession::~ScanSession() {
    scanner_.reset();
    if (folder_ && pages_ == 0) {
        // Only an empty folder goes: rmdir refuses any other.
        ::rmdir(folder_->path().c_str());
    }
}

std::string ScanSession::folder() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return folder_ ? folder_->path() : std::string();
}

void ScanSession::openScanner(ProgressState &progress) {
    progress.Report(0, 0, folvane::app::texts::scan(folvane::app::texts::kScanOpening),
                    request_.device);
    std::unique_ptr<Scanner> scanner = scanners_.open(request_.device);
    scanner->apply(request_.settings);
    const std::optional<ScanSource> source =
        request_.settings.source ? request_.settings.source : scanner->choices().source;
    // The folder is made only for a scanner that is ready, so a failed start leaves none.
    PageFolder folder(
        createSessionFolder(defaultSessionParent(), std::time(nullptr),
                            folvane::app::texts::scan(folvane::app::texts::kScanFolderWord)));
    std::lock_guard<std::mutex> lock(mutex_);
    feeder_ = isFeeder(source);
    folder_.emplace(std::move(folder));
    scanner_ = std::move(scanner);
    if (cancelled_) {
        scanner_->cancel();
    }
}

ScanEvents ScanSession::events(ProgressState &progress) {
    const int before = pages_;
    const std::string into =
        folvane::app::texts::scan(folvane::app::texts::kScanInto, {folder_->path()});
    ScanEvents events;
    events.onPageStarted = [&progress, before, into](int page) {
        progress.Report(0, kBarSteps,
                        folvane::app::texts::scan(folvane::app::texts::kScanPage,
                                                  {std::to_string(before + page)}),
                        into);
    };
    events.onProgress = [&progress, before, into](const PageProgress &at) {
        // A page whose length the scanner does not say ahead shows an empty bar.
        const int value = at.bytesExpected > 0
                              ? static_cast<int>(std::min<int64_t>(at.bytesRead, at.bytesExpected) *
                                                 kBarSteps / at.bytesExpected)
                              : 0;
        progress.Report(value, kBarSteps,
                        folvane::app::texts::scan(folvane::app::texts::kScanPage,
                                                  {std::to_string(before + at.page)}),
                        into);
    };
    events.onPageWritten = [this](const ScannedPage &page) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            newPages_.push_back(page.path);
        }
        if (notify_) {
            notify_();
        }
    };
    return events;
}

ScanOutcome ScanSession::load(ProgressState &progress) {
    if (!scanner_) {
        openScanner(progress);
    }
    ScanOutcome outcome = scanners_.scan(*scanner_, *folder_, events(progress));
    if (outcome.error && outcome.error->page > 0) {
        outcome.error->page += pages_;
    }
    pages_ += static_cast<int>(outcome.pages.size());
    return outcome;
}

void ScanSession::cancel() {
    std::lock_guard<std::mutex> lock(mutex_);
    cancelled_ = true;
    if (scanner_) {
        scanner_->cancel();
    }
}

std::vector<std::string> ScanSession::takeNewPages() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(newPages_, {});
}
