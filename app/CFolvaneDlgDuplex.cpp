// Two-sided stacks through a one-sided feeder: "双面合并" pairs the rows of a stack scanned
// fronts first and backs after, and the scan dialog's "单面进纸器扫描双面" scans both sides and
// pairs them at once. Pairing is one list command, so Ctrl+Z gives back the scan order.

#include "app/CFolvaneDlg.h"

#include <set>

#include "app/DuplexTexts.h"
#include "app/ScanMessages.h"
#include "app/ScanSession.h"
#include "app/ScanTexts.h"
#include "app/WindowTexts.h"

namespace {

using folvane::scan::ScanError;
using folvane::scan::ScanErrorKind;

// A side was scanned to the end: the feeder ran empty, with or without saying so. Any other
// error stopped it part way.
bool SideComplete(const std::optional<ScanError> &error) {
    return !error || error->kind == ScanErrorKind::FeederEmpty;
}

std::vector<int> AllRows(int count) {
    std::vector<int> rows;
    for (int row = 0; row < count; ++row) {
        rows.push_back(row);
    }
    return rows;
}

} // namespace

void CFolvaneDlg::OnInterleave() {
    // The list selects one row at a time, so the command takes the whole list.
    CurrentRow();
    if (m_pages.empty()) {
        Inform(folvane::app::texts::window(kMsgNoImages));
        return;
    }
    if (m_pages.count() % 2 != 0) {
        Inform(folvane::app::texts::window(folvane::app::texts::kInterleaveOddCount,
                                           {std::to_string(m_pages.count())}));
        return;
    }
    Done(m_pages.interleave(AllRows(m_pages.count())), true);
}

void CFolvaneDlg::ScanBothSides(ScanSession &session) {
    const PageOrder before = m_pages.order();
    const std::set<PageId> had(before.ids.begin(), before.ids.end());

    std::optional<ScanError> error = ScanLoad(session);
    AddScannedPages(session);
    const int fronts = session.pages();
    if (fronts == 0 || !SideComplete(error)) {
        // A cancel is the user's own choice: no box.
        if (error && error->kind != ScanErrorKind::Cancelled) {
            Inform(scanFailureText(*error, session.pages(), session.folder()));
        }
        return;
    }
    const int answer = AskQuestion(
        folvane::app::texts::scan(folvane::app::texts::kTurnStackOver, {std::to_string(fronts)}),
        folvane::app::texts::window(kCaptionNotice),
        {folvane::app::texts::scan(folvane::app::texts::kAnswerScanBacks),
         folvane::app::texts::scan(folvane::app::texts::kAnswerStopTwoSided)});
    if (answer != 0) {
        return;
    }

    error = ScanLoad(session);
    AddScannedPages(session);
    const int backs = session.pages() - fronts;
    if (!SideComplete(error)) {
        if (error->kind != ScanErrorKind::Cancelled) {
            Inform(scanFailureText(*error, session.pages(), session.folder()));
        }
        return;
    }
    if (backs != fronts) {
        Inform(folvane::app::texts::scan(folvane::app::texts::kSidesDiffer,
                                         {std::to_string(fronts), std::to_string(backs)}));
        return;
    }
    // The rows the scan added, wherever they are: nothing else changes the list meanwhile, but
    // the pairing must never touch a row the user had before.
    std::vector<int> scanned;
    for (int row = 0; row < m_pages.count(); ++row) {
        if (had.count(m_pages.at(row).id) == 0) {
            scanned.push_back(row);
        }
    }
    if (static_cast<int>(scanned.size()) == fronts + backs) {
        CurrentRow();
        Done(m_pages.interleave(scanned), true);
    }
}
