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

bool IsFeeder(std::optional<ScanSource> source) {
    return source == ScanSource::Feeder || source == ScanSource::Duplex;
}

} // namespace

ScanSession::ScanSession(const ScannerAccess &scanners, ScanRequest request)
    : m_scanners(scanners), m_request(std::move(request)) {}

ScanSession::~ScanSession() {
    m_scanner.reset();
    if (m_folder && m_pages == 0) {
        // Only an empty folder goes: rmdir refuses any other.
        ::rmdir(m_folder->path().c_str());
    }
}

std::string ScanSession::Folder() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_folder ? m_folder->path() : std::string();
}

void ScanSession::OpenScanner(ProgressState &progress) {
    progress.Report(0, 0, texts::Scan(texts::kScanOpening), m_request.device);
    std::unique_ptr<Scanner> scanner = m_scanners.open(m_request.device);
    scanner->apply(m_request.settings);
    const std::optional<ScanSource> source =
        m_request.settings.source ? m_request.settings.source : scanner->choices().source;
    // The folder is made only for a scanner that is ready, so a failed start leaves none.
    PageFolder folder(createSessionFolder(defaultSessionParent(), std::time(nullptr),
                                          texts::Scan(texts::kScanFolderWord)));
    std::lock_guard<std::mutex> lock(m_mutex);
    m_feeder = IsFeeder(source);
    m_folder.emplace(std::move(folder));
    m_scanner = std::move(scanner);
    if (m_cancelled) {
        m_scanner->cancel();
    }
}

ScanEvents ScanSession::Events(ProgressState &progress) {
    const int before = m_pages;
    const std::string into = texts::Scan(texts::kScanInto, {m_folder->path()});
    ScanEvents events;
    events.onPageStarted = [&progress, before, into](int page) {
        progress.Report(0, kBarSteps,
                        texts::Scan(texts::kScanPage, {std::to_string(before + page)}), into);
    };
    events.onProgress = [&progress, before, into](const PageProgress &at) {
        // A page whose length the scanner does not say ahead shows an empty bar.
        const int value = at.bytesExpected > 0
                              ? static_cast<int>(std::min<int64_t>(at.bytesRead, at.bytesExpected) *
                                                 kBarSteps / at.bytesExpected)
                              : 0;
        progress.Report(value, kBarSteps,
                        texts::Scan(texts::kScanPage, {std::to_string(before + at.page)}), into);
    };
    events.onPageWritten = [this](const ScannedPage &page) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_newPages.push_back(page.path);
        }
        if (m_notify) {
            m_notify();
        }
    };
    return events;
}

ScanOutcome ScanSession::Load(ProgressState &progress) {
    if (!m_scanner) {
        OpenScanner(progress);
    }
    ScanOutcome outcome = m_scanners.scan(*m_scanner, *m_folder, Events(progress));
    if (outcome.error && outcome.error->page > 0) {
        outcome.error->page += m_pages;
    }
    m_pages += static_cast<int>(outcome.pages.size());
    return outcome;
}

void ScanSession::Cancel() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cancelled = true;
    if (m_scanner) {
        m_scanner->cancel();
    }
}

std::vector<std::string> ScanSession::TakeNewPages() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::exchange(m_newPages, {});
}
