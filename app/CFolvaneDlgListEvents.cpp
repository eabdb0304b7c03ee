// What the user does in the image list itself: clicks, double clicks and right clicks on rows,
// the arrow keys and rows dragged to another place.

#include "app/CFolvaneDlg.h"

#include "app/Resources.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/DialogPeer.h"

namespace {
constexpr int kColumnPath = 1;
} // namespace

void CFolvaneDlg::OnClickList(NMHDR * /*header*/, LRESULT *result) {
    const int highlighted = HighlightedRow();
    if (highlighted != -1) {
        m_nSelected = highlighted;
        ShowPreview(m_listImages.GetItemText(highlighted, kColumnPath));
    } else {
        // The click landed below the rows and the control dropped its highlight: put it back.
        MarkRow(m_nSelected);
    }
    *result = 0;
}

void CFolvaneDlg::OnDblclkList(NMHDR * /*header*/, LRESULT *result) {
    const int highlighted = HighlightedRow();
    if (highlighted != -1) {
        m_nSelected = highlighted;
        OpenWithShell(m_listImages.GetItemText(highlighted, kColumnPath));
    } else {
        MarkRow(m_nSelected);
    }
    *result = 0;
}

void CFolvaneDlg::OnRclickList(NMHDR * /*header*/, LRESULT *result) {
    // A right click on a row highlighted it: that row becomes current and is previewed first, so
    // that the menu's "资料修改" opens the file clicked. On empty space the current row stays.
    const int highlighted = HighlightedRow();
    if (highlighted != -1 && highlighted != m_nSelected) {
        m_nSelected = highlighted;
        ShowPreview(m_listImages.GetItemText(highlighted, kColumnPath));
    }
    const UiPoint cursor = Peer() ? Peer()->GetCursorPos() : UiPoint{};
    CMenu menu;
    LoadListMenu(menu);
    if (CMenu *popup = menu.GetSubMenu(0)) {
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, this);
    }
    *result = 0;
    menu.DestroyMenu();
}

void CFolvaneDlg::OnItemChangedList(NMHDR * /*header*/, LRESULT *result) {
    // The keyboard moved the highlight: the highlighted row becomes current and is previewed, so
    // every row command acts on the row the preview shows.
    const int highlighted = HighlightedRow();
    if (highlighted == -1) {
        MarkRow(m_nSelected);
    } else if (highlighted != m_nSelected) {
        m_nSelected = highlighted;
        ShowPreview(m_listImages.GetItemText(highlighted, kColumnPath));
    }
    *result = 0;
}

void CFolvaneDlg::OnRowDraggedList(NMHDR *header, LRESULT *result) {
    *result = 0;
    const int count = m_listImages.GetItemCount();
    if (header->iItem < 0 || header->iItem >= count || header->iTarget < 0 ||
        header->iTarget >= count || header->iItem == header->iTarget) {
        return;
    }
    // The dragged row becomes current, keeps its highlight and stays in the preview.
    const bool wasCurrent = header->iItem == CurrentRow();
    m_nSelected = header->iItem;
    MoveCurrentRow(header->iTarget);
    if (!wasCurrent) {
        ShowPreview(m_listImages.GetItemText(m_nSelected, kColumnPath));
    }
}
