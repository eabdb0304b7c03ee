// "向左旋转" and "向右旋转": turning the current page a quarter. The page list keeps the turn as
// an edit of the row that undo takes back; the PDF gets it as the placement of the image, whose
// data stays as the file holds it.

#include "app/CFolvaneDlg.h"

#include <exception>

#include "app/Messages.h"
#include "app/WindowTexts.h"

bool CFolvaneDlg::RowFileUsable(int row) {
    const PageId id = m_pages.at(row).id;
    folvane::ImageFacts facts;
    try {
        const PageSource &source = m_pages.at(row).source;
        facts = InspectSource(m_fnInspect, source, PdfPassword(source.path));
    } catch (const std::exception &error) {
        facts.problem.kind = folvane::Problem::Kind::Internal;
        facts.problem.detail = error.what();
    }
    // A turn turns the crop, a rectangle of the turned picture, by the file's size now.
    m_pages.find(id)->facts = facts;
    if (!facts.ok) {
        ShowRowCheck(row);
        Inform(problemText(facts.problem));
    }
    return facts.ok;
}

void CFolvaneDlg::TurnCurrentPage(int quarterTurns) {
    const int row = CurrentRow();
    if (row < 0) {
        Inform(folvane::app::texts::window(kMsgSelectFirst));
        return;
    }
    // The file is looked at again: one damaged or gone since the pre-flight turns its row red
    // with the reason, and the page stays as it was.
    if (RowFileUsable(row)) {
        Done(m_pages.rotate(row, quarterTurns), true);
    }
}
