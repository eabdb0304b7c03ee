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
    if (m_pages.Empty()) {
        Inform(texts::Window(kMsgNoImages));
        return;
    }
    if (m_pages.Count() % 2 != 0) {
        Inform(texts::Window(texts::kInterleaveOddCount, {std::to_string(m_pages.Count())}));
        return;
    }
    Done(m_pages.Interleave(AllRows(m_pages.Count())), true);
}

void CFolvaneDlg::ScanBothSides(ScanSession &session) {
    const PageOrder before = m_pages.Order();
    const std::set<PageId> had(before.ids.begin(), before.ids.end());

    std::optional<ScanError> error = ScanLoad(session);
    AddScannedPages(session);
    const int fronts = session.Pages();
    if (fronts == 0 || !SideComplete(error)) {
        // A cancel is the user's own choice: no box.
        if (error && error->kind != ScanErrorKind::Cancelled) {
            Inform(ScanFailureText(*error, session.Pages(), session.Folder()));
        }
        return;
    }
    const int answer = AskQuestion(
        texts::Scan(texts::kTurnStackOver, {std::to_string(fronts)}), texts::Window(kCaptionNotice),
        {texts::Scan(texts::kAnswerScanBacks), texts::Scan(texts::kAnswerStopTwoSided)});
    if (answer != 0) {
        return;
    }

    error = ScanLoad(session);
    AddScannedPages(session);
    const int backs = session.Pages() - fronts;
    if (!SideComplete(error)) {
        if (error->kind != ScanErrorKind::Cancelled) {
            Inform(ScanFailureText(*error, session.Pages(), session.Folder()));
        }
        return;
    }
    if (backs != fronts) {
        Inform(texts::Scan(texts::kSidesDiffer, {std::to_string(fronts), std::to_string(backs)}));
        return;
    }
    // The rows the scan added, wherever they are: nothing else changes the list meanwhile, but
    // the pairing must never touch a row the user had before.
    std::vector<int> scanned;
    for (int row = 0; row < m_pages.Count(); ++row) {
        if (had.count(m_pages.At(row).id) == 0) {
            scanned.push_back(row);
        }
    }
    if (static_cast<int>(scanned.size()) == fronts + backs) {
        CurrentRow();
        Done(m_pages.Interleave(scanned), true);
    }
}
