// The image-list commands of the main window: add, move, delete, clear, sort, undo and redo,
// view, save path; and the list control made to mirror the page list.

#include "app/CFolvaneDlg.h"

#include <set>
#include <string_view>

#include "app/ImageFiles.h"
#include "app/Resource.h"
#include "app/WindowSettings.h"
#include "app/WindowTexts.h"
#include "pdf/ImageFileRules.h"
#include "platform/crt/SplitPath.h"
#include "platform/ui/FileDialogs.h"
#include "platform/ui/FileNameCollation.h"
#include "platform/ui/UiToolkit.h"

namespace {
// The list control's columns: the sequence number and the file.
constexpr int kColumnNumber = 0;
constexpr int kColumnPath = 1;
constexpr UINT kMark = LVIS_SELECTED | LVIS_FOCUSED;
} // namespace

int CFolvaneDlg::CompareFileNames(const std::string &a, const std::string &b) const {
    return CompareStrictly(Toolkit().Collation(), FileNamePart(a), FileNamePart(b));
}

NameOrder CFolvaneDlg::FileNameOrder() const {
    return [this](const std::string &a, const std::string &b) { return CompareFileNames(a, b); };
}

std::string CFolvaneDlg::RowPath(int row) const {
    return row >= 0 && row < m_pages.count() ? m_pages.at(row).source.path : std::string();
}

void CFolvaneDlg::ShowPages() {
    const int count = m_pages.count();
    if (count == 0) {
        m_listImages.DeleteAllItems();
        return;
    }
    while (m_listImages.GetItemCount() > count) {
        m_listImages.DeleteItem(m_listImages.GetItemCount() - 1);
    }
    while (m_listImages.GetItemCount() < count) {
        m_listImages.InsertItem(m_listImages.GetItemCount(), "");
    }
    for (int row = 0; row < count; ++row) {
        const std::string number = std::to_string(row + 1);
        if (m_listImages.GetItemText(row, kColumnNumber) != number) {
            m_listImages.SetItemText(row, kColumnNumber, number);
        }
        const std::string label = RowLabel(m_pages.at(row));
        if (m_listImages.GetItemText(row, kColumnPath) != label) {
            m_listImages.SetItemText(row, kColumnPath, label);
        }
    }
    ShowRowChecks();
    if (m_pages.current() >= 0) {
        MarkRow(m_pages.current());
    }
}

void CFolvaneDlg::Done(std::optional<PageCommand> command, bool previewCurrent) {
    if (command) {
        m_history.record(std::move(*command));
    }
    ShowPages();
    if (previewCurrent) {
        PreviewCurrentRow();
    }
}

std::vector<PageId> CFolvaneDlg::AddedPages(const PageCommand &command) {
    const std::set<PageId> before(command.before.ids.begin(), command.before.ids.end());
    std::vector<PageId> added;
    for (PageId id : command.after.ids) {
        if (before.count(id) == 0) {
            added.push_back(id);
        }
    }
    return added;
}

void CFolvaneDlg::MarkRow(int row) {
    m_listImages.SetItemState(row, kMark, kMark);
}

int CFolvaneDlg::HighlightedRow() const {
    POSITION position = m_listImages.GetFirstSelectedItemPosition();
    return position == 0 ? -1 : m_listImages.GetNextSelectedItem(position);
}

void CFolvaneDlg::ClearPreviewFrame() {
    if (CWnd *frame = GetDlgItem(IDC_PREVIEW_FRAME)) {
        frame->Invalidate(true);
        frame->UpdateWindow();
    }
}

void CFolvaneDlg::PreviewCurrentRow() {
    if (m_pages.current() >= 0) {
        ShowPreview(RowPath(m_pages.current()));
    } else {
        ClearPreviewFrame();
    }
}

int CFolvaneDlg::CurrentRow() {
    const int highlighted = HighlightedRow();
    if (highlighted != -1) {
        m_pages.setCurrent(highlighted);
    }
    return m_pages.current();
}

void CFolvaneDlg::OnBtnSortByName() {
    CurrentRow();
    Done(m_pages.sortByName(FileNameOrder()), false);
}

void CFolvaneDlg::OnBtnAddImages() {
    OpenFileRequest request;
    WindowSettings settings(Toolkit().Settings());
    request.title = folvane::app::texts::window(folvane::app::texts::kAddTitle);
    std::vector<std::string> patterns = folvane::addDialogPatterns();
    patterns.push_back("*.pdf");
    request.filters = {{folvane::app::texts::window(folvane::app::texts::kAddFilter), patterns}};
    request.defaultExt = "jpg";
    request.flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                    OFN_HIDEREADONLY;
    request.initialDir = settings.addFolder();
    std::vector<std::string> paths;
    if (GetOpenFileNames(*this, request, paths) && !paths.empty()) {
        settings.setAddFolder(folderOf(paths.front()));
    }
    SortInFiles(paths);
}

void CFolvaneDlg::OnDropFiles(HDROP drop) {
    SortInFiles(imageFilesOfDrop(drop->paths, Toolkit().Collation()));
}

void CFolvaneDlg::SortInFiles(const std::vector<std::string> &paths) {
    CurrentRow();
    std::optional<PageCommand> command = m_pages.sortIn(SourcesOfFiles(paths), FileNameOrder());
    const std::vector<PageId> added = command ? AddedPages(*command) : std::vector<PageId>{};
    Done(std::move(command), false);
    CheckPages(added);
    // Also after a cancelled dialog: the current row is shown again ("" on an empty list).
    ShowPreview(RowPath(m_pages.current()));
}

void CFolvaneDlg::AppendFiles(const std::vector<std::string> &paths) {
    const bool hadCurrent = CurrentRow() != -1;
    std::optional<PageCommand> command = m_pages.add(SourcesOfFiles(paths));
    const std::vector<PageId> added = command ? AddedPages(*command) : std::vector<PageId>{};
    Done(std::move(command), false);
    CheckPages(added);
    if (!hadCurrent && m_pages.current() != -1) {
        PreviewCurrentRow();
    }
}

void CFolvaneDlg::OnBtnViewImage() {
    const int row = CurrentRow();
    if (row == -1) {
        Inform(folvane::app::texts::window(kMsgNoImages));
        return;
    }
    OpenWithShell(RowPath(row));
}

bool CFolvaneDlg::CurrentRowMayMove(int boundary, const char *boundaryMessage) {
    m_listImages.SetFocus();
    if (m_pages.empty()) {
        Inform(folvane::app::texts::window(kMsgNoImages));
        return false;
    }
    if (CurrentRow() == -1) {
        Inform(folvane::app::texts::window(kMsgSelectFirst));
        return false;
    }
    if (m_pages.current() == boundary) {
        Inform(folvane::app::texts::window(boundaryMessage));
        return false;
    }
    return true;
}

void CFolvaneDlg::OnBtnMoveUp() {
    if (CurrentRowMayMove(0, kMsgAtFirstRow)) {
        Done(m_pages.move(m_pages.current(), m_pages.current() - 1), false);
    }
}

void CFolvaneDlg::OnBtnMoveDown() {
    if (CurrentRowMayMove(m_pages.count() - 1, kMsgAtLastRow)) {
        Done(m_pages.move(m_pages.current(), m_pages.current() + 1), false);
    }
}

void CFolvaneDlg::OnBtnMoveTop() {
    if (CurrentRowMayMove(0, kMsgAtFirstRow)) {
        Done(m_pages.move(m_pages.current(), 0), false);
    }
}

void CFolvaneDlg::OnBtnMoveBottom() {
    if (CurrentRowMayMove(m_pages.count() - 1, kMsgAtLastRow)) {
        Done(m_pages.move(m_pages.current(), m_pages.count() - 1), false);
    }
}

void CFolvaneDlg::OnBtnDelete() {
    // The row the user sees highlighted is the one that goes, also when the keyboard moved the
    // highlight away from the row last clicked.
    const int highlighted = HighlightedRow();
    if (highlighted == -1) {
        Inform(folvane::app::texts::window(kMsgSelectFirst));
        return;
    }
    Done(m_pages.remove(highlighted), true);
}

void CFolvaneDlg::OnBtnClearList() {
    // No question first: what goes can be had back with Ctrl+Z.
    CurrentRow();
    Done(m_pages.clear(), false);
    ClearPreviewFrame();
}

void CFolvaneDlg::OnEditUndo() {
    CurrentRow();
    if (m_history.undo(m_pages)) {
        Done(std::nullopt, true);
    }
}

void CFolvaneDlg::OnEditRedo() {
    CurrentRow();
    if (m_history.redo(m_pages)) {
        Done(std::nullopt, true);
    }
}

void CFolvaneDlg::OnBtnBrowse() {
    // The dialog opens on the path chosen last, or in the folder of the last run's. A name typed
    // without an extension gets ".pdf" in lower case, as Linux file managers expect.
    const SplitPathParts current = _splitpath(m_strSavePath);
    const std::string filter =
        folvane::app::texts::window(folvane::app::texts::kPdfFiles) + "|*.PDF|" +
        folvane::app::texts::window(folvane::app::texts::kAllFiles) + "|*.*||";
    CFileDialog dialog("pdf", current.fname + current.ext, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       filter, *this);
    WindowSettings settings(Toolkit().Settings());
    dialog.SetInitialDir(m_strSavePath.empty() ? settings.saveFolder() : folderOf(m_strSavePath));
    if (dialog.DoModal() != IDOK) {
        return;
    }
    m_strSavePath = dialog.GetPathName();
    settings.setSaveFolder(folderOf(m_strSavePath));
    UpdateData(false);
}
