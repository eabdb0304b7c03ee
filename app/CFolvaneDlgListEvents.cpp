// What the user does in the image list itself: clicks, double clicks and right clicks on rows,
// the arrow keys and rows dragged to another place.

#include "app/CFolvaneDlg.h"

#include "app/DuplexTexts.h"
#include "app/Resource.h"
#include "app/Resources.h"
#include "app/WindowTexts.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/DialogPeer.h"

void CFolvaneDlg::OnClickList(NMHDR * /*header*/, LRESULT *result) {
    const int highlighted = HighlightedRow();
    if (highlighted != -1) {
        m_pages.setCurrent(highlighted);
        ShowPreview(RowPath(highlighted));
    } else if (m_pages.current() >= 0) {
        // The click landed below the rows and the control dropped its highlight: put it back.
        MarkRow(m_pages.current());
    }
    *result = 0;
}

void CFolvaneDlg::OnDblclkList(NMHDR * /*header*/, LRESULT *result) {
    const int highlighted = HighlightedRow();
    if (highlighted != -1) {
        m_pages.setCurrent(highlighted);
        OpenWithShell(RowPath(highlighted));
    } else if (m_pages.current() >= 0) {
        MarkRow(m_pages.current());
    }
    *result = 0;
}

void CFolvaneDlg::OnRclickList(NMHDR * /*header*/, LRESULT *result) {
    // A right click on a row highlighted it: that row becomes current and is previewed first, so
    // that the menu's "资料修改" opens the file clicked. On empty space the current row stays.
    const int highlighted = HighlightedRow();
    if (highlighted != -1 && highlighted != m_pages.current()) {
        m_pages.setCurrent(highlighted);
        ShowPreview(RowPath(highlighted));
    }
    const UiPoint cursor = Peer() ? Peer()->GetCursorPos() : UiPoint{};
    CMenu menu;
    LoadListMenu(menu);
    if (CMenu *popup = menu.GetSubMenu(0)) {
        AddRowCommands(*popup);
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
        if (m_pages.current() >= 0) {
            MarkRow(m_pages.current());
        }
    } else if (highlighted != m_pages.current()) {
        m_pages.setCurrent(highlighted);
        ShowPreview(RowPath(highlighted));
    }
    *result = 0;
}

void CFolvaneDlg::OnRowDraggedList(NMHDR *header, LRESULT *result) {
    *result = 0;
    const int count = m_pages.count();
    if (header->iItem < 0 || header->iItem >= count || header->iTarget < 0 ||
        header->iTarget >= count || header->iItem == header->iTarget) {
        return;
    }
    // The dragged row becomes current where it lands, keeps its highlight and is the page the
    // preview shows, whichever row the control highlighted on the way.
    Done(m_pages.move(header->iItem, header->iTarget), true);
}

void CFolvaneDlg::AddRowCommands(CMenu &popup) {
    const bool hasRow = CurrentRow() >= 0;
    const UINT rowFlags = MF_STRING | (hasRow ? 0 : MF_GRAYED);
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(rowFlags, IDC_BTN_DELETE,
                     folvane::app::texts::window(folvane::app::texts::kMenuDelete));
    popup.AppendMenu(rowFlags, IDC_BTN_MOVE_UP,
                     folvane::app::texts::window(folvane::app::texts::kMenuMoveUp));
    popup.AppendMenu(rowFlags, IDC_BTN_MOVE_DOWN,
                     folvane::app::texts::window(folvane::app::texts::kMenuMoveDown));
    // The text after a tab is the item's key, shown at the menu's right edge.
    popup.AppendMenu(rowFlags, ID_ROTATE_LEFT,
                     folvane::app::texts::window(folvane::app::texts::kMenuRotateLeft) +
                         "\tCtrl+L");
    popup.AppendMenu(rowFlags, ID_ROTATE_RIGHT,
                     folvane::app::texts::window(folvane::app::texts::kMenuRotateRight) +
                         "\tCtrl+R");
    popup.AppendMenu(rowFlags, ID_CROP,
                     folvane::app::texts::window(folvane::app::texts::kMenuCrop));
    popup.AppendMenu(rowFlags, ID_INTERLEAVE,
                     folvane::app::texts::window(folvane::app::texts::kMenuInterleave) +
                         "\tCtrl+D");
    popup.AppendMenu(MF_SEPARATOR);
    const std::optional<PageCommandKind> undo = m_history.nextUndo();
    const std::optional<PageCommandKind> redo = m_history.nextRedo();
    popup.AppendMenu(
        MF_STRING | (undo ? 0 : MF_GRAYED), ID_EDIT_UNDO,
        undo ? folvane::app::texts::window(folvane::app::texts::kMenuUndoCommand,
                                           {folvane::app::texts::window(pageCommandName(*undo))})
             : folvane::app::texts::window(folvane::app::texts::kMenuUndo));
    popup.AppendMenu(
        MF_STRING | (redo ? 0 : MF_GRAYED), ID_EDIT_REDO,
        redo ? folvane::app::texts::window(folvane::app::texts::kMenuRedoCommand,
                                           {folvane::app::texts::window(pageCommandName(*redo))})
             : folvane::app::texts::window(folvane::app::texts::kMenuRedo));
}
