// The scan command: the scan dialog, then the scan behind a progress window that counts the
// pages and can cancel, each page added to the end of the list as soon as it is on disk. A
// feeder that has run empty may be refilled and scanned on, into the same folder. A failure
// says why and where it stopped; the pages scanned before it stay, as files and rows, and the
// rows already in the list are never touched.

#include "app/CFolvaneDlg.h"

#include "app/CScanDlg.h"
#include "app/ScanMessages.h"
#include "app/ScanSession.h"
#include "app/ScanTexts.h"
#include "app/WindowTexts.h"
#include "platform/ui/UiToolkit.h"

namespace {

using folvane::scan::ScanError;
using folvane::scan::ScanErrorKind;

// A feeder that has run empty, after pages of this session, may be refilled; a failure to find
// paper in it on a later load means the same.
bool FeederEmptied(const std::optional<ScanError> &error, const ScanSession &session) {
    return session.fromFeeder() && session.pages() > 0 &&
           (!error || error->kind == ScanErrorKind::FeederEmpty);
}

} // namespace

void CFolvaneDlg::OnBtnScan() {
    CScanDlg dialog(Toolkit(), m_scanners, *m_scannerJobs);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    ScanSession session(m_scanners, dialog.Request());
    // Each page reaches the list while the scan goes on; a call that comes after the scan has
    // ended finds nothing to do.
    const auto scanning = std::make_shared<int>(0);
    session.onPageWritten([this, &session, running = std::weak_ptr<int>(scanning)] {
        Toolkit().PostToUiThread([this, &session, running] {
            if (running.lock()) {
                AddScannedPages(session);
            }
        });
    });
    if (dialog.Request().twoSided) {
        ScanBothSides(session);
        return;
    }
    for (;;) {
        const std::optional<ScanError> error = ScanLoad(session);
        AddScannedPages(session);
        if (FeederEmptied(error, session)) {
            const int answer =
                AskQuestion(folvane::app::texts::scan(folvane::app::texts::kFeederDone,
                                                      {std::to_string(session.pages())}),
                            folvane::app::texts::window(kCaptionNotice),
                            {folvane::app::texts::scan(folvane::app::texts::kAnswerScanMore),
                             folvane::app::texts::scan(folvane::app::texts::kAnswerScanDone)});
            if (answer != 0) {
                return;
            }
            continue;
        }
        // A cancel is the user's own choice: no box.
        if (error && error->kind != ScanErrorKind::Cancelled) {
            Inform(scanFailureText(*error, session.pages(), session.folder()));
        }
        return;
    }
}

std::optional<ScanError> CFolvaneDlg::ScanLoad(ScanSession &session) {
    ProgressState progress;
    progress.SetCancelHandler([&session] { session.cancel(); });
    std::optional<ScanError> error;
    try {
        RunWithProgress({folvane::app::texts::scan(folvane::app::texts::kScanProgressCaption),
                         folvane::app::texts::window(kAnswerCancel)},
                        progress, [&] { error = session.load(progress).error; });
    } catch (const folvane::scan::ScanFailure &failure) {
        error = failure.error();
    } catch (const std::exception &failure) {
        error = ScanError{};
        error->detail = failure.what();
    }
    progress.SetCancelHandler({});
    return error;
}

void CFolvaneDlg::AddScannedPages(ScanSession &session) {
    const std::vector<std::string> pages = session.takeNewPages();
    if (!pages.empty()) {
        AppendFiles(pages);
    }
}
