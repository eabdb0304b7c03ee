// The image-list commands of the main window: add, move, delete, clear and its undo, sort, view,
// save path.

#include "app/CFolvaneDlg.h"

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
constexpr int kColumnNumber = 0;
constexpr int kColumnPath = 1;
constexpr UINT kMark = LVIS_SELECTED | LVIS_FOCUSED;
} // namespace

void CFolvaneDlg::Renumber() {
    const int count = m_listImages.GetItemCount();
    for (int i = 1; i <= count; ++i) {
        m_listImages.SetItemText(i - 1, kColumnNumber, std::to_string(i));
    }
}

int CFolvaneDlg::CompareFileNames(const std::string &a, const std::string &b) const {
    return CompareStrictly(Toolkit().Collation(), FileNamePart(a), FileNamePart(b));
}

void CFolvaneDlg::SortInsert(int row) {
    // The row passes every directly preceding row whose file name is greater than or equal to
    // its own, and comes to rest under the first one that is strictly smaller. The current row
    // stays on its file: it moves with it, or one place down when the row passes over it. The
    // sequence numbers are the caller's to renew once its rows are in place.
    const std::string path = m_listImages.GetItemText(row, kColumnPath);
    int target = row;
    while (target > 0 &&
           CompareFileNames(path, m_listImages.GetItemText(target - 1, kColumnPath)) <= 0) {
        --target;
    }
    if (target == row) {
        return;
    }
    const std::string number = m_listImages.GetItemText(row, kColumnNumber);
    m_listImages.DeleteItem(row);
    m_listImages.InsertItem(target, number);
    m_listImages.SetItemText(target, kColumnPath, path);
    if (m_nSelected == row) {
        m_nSelected = target;
        MarkRow(target);
    } else if (m_nSelected >= target && m_nSelected < row) {
        ++m_nSelected;
    }
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

int CFolvaneDlg::CurrentRow() {
    const int highlighted = HighlightedRow();
    if (highlighted != -1) {
        m_nSelected = highlighted;
    }
    return m_nSelected >= 0 && m_nSelected < m_listImages.GetItemCount() ? m_nSelected : -1;
}

void CFolvaneDlg::OnBtnSortByName() {
    CurrentRow();
    const int count = m_listImages.GetItemCount();
    for (int i = 1; i < count; ++i) {
        SortInsert(i);
    }
    Renumber();
    ShowRowChecks(); // moved rows were inserted anew, without their marks
}

void CFolvaneDlg::OnBtnAddImages() {
    OpenFileRequest request;
    WindowSettings settings(Toolkit().Settings());
    request.title = texts::Window(texts::kAddTitle);
    request.filters = {{texts::Window(texts::kAddFilter), folvane::AddDialogPatterns()}};
    request.defaultExt = "jpg";
    request.flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ALLOWMULTISELECT |
                    OFN_HIDEREADONLY;
    request.initialDir = settings.AddFolder();
    std::vector<std::string> paths;
    if (GetOpenFileNames(*this, request, paths) && !paths.empty()) {
        settings.SetAddFolder(FolderOf(paths.front()));
    }
    SortInFiles(paths);
}

void CFolvaneDlg::OnDropFiles(HDROP drop) {
    SortInFiles(ImageFilesOfDrop(drop->paths, Toolkit().Collation()));
}

void CFolvaneDlg::SortInFiles(const std::vector<std::string> &paths) {
    if (CurrentRow() == -1) {
        m_nSelected = -1; // no file for SortInsert to follow
    }
    for (const std::string &path : paths) {
        const int count = m_listImages.GetItemCount();
        const int row = m_listImages.InsertItem(count, std::to_string(count + 1));
        if (row < 0) {
            continue;
        }
        m_listImages.SetItemText(row, kColumnPath, path);
        SortInsert(row);
    }
    Renumber();
    CheckFiles(paths);
    ShowRowChecks();

    // Also after a cancelled dialog: with nothing highlighted the first row becomes current.
    if (HighlightedRow() == -1) {
        m_nSelected = 0;
        MarkRow(0);
        ShowPreview(m_listImages.GetItemText(0, kColumnPath));
        return;
    }
    ShowPreview(m_listImages.GetItemText(m_nSelected, kColumnPath));
}

std::vector<std::string> CFolvaneDlg::ListPaths() const {
    std::vector<std::string> paths;
    const int count = m_listImages.GetItemCount();
    paths.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        paths.push_back(m_listImages.GetItemText(row, kColumnPath));
    }
    return paths;
}

void CFolvaneDlg::AppendFiles(const std::vector<std::string> &paths) {
    for (const std::string &path : paths) {
        const int count = m_listImages.GetItemCount();
        const int row = m_listImages.InsertItem(count, std::to_string(count + 1));
        m_listImages.SetItemText(row, kColumnPath, path);
    }
    CheckFiles(paths);
    if (m_listImages.GetItemCount() > 0 && HighlightedRow() == -1) {
        m_nSelected = 0;
        MarkRow(0);
        ShowPreview(m_listImages.GetItemText(0, kColumnPath));
    }
}

void CFolvaneDlg::OnBtnViewImage() {
    // A current index that names no row (after a cancelled add on an empty list) would hand the
    // shell an empty path; it counts as no image.
    const int row = CurrentRow();
    if (row == -1) {
        Inform(texts::Window(kMsgNoImages));
        return;
    }
    OpenWithShell(m_listImages.GetItemText(row, kColumnPath));
}

void CFolvaneDlg::MoveCurrentRow(int target) {
    const std::string number = m_listImages.GetItemText(m_nSelected, kColumnNumber);
    const std::string path = m_listImages.GetItemText(m_nSelected, kColumnPath);
    m_listImages.DeleteItem(m_nSelected);
    m_listImages.InsertItem(target, number);
    m_listImages.SetItemText(target, kColumnPath, path);
    m_nSelected = target;
    MarkRow(target);
    Renumber();
    ShowRowCheck(target);
}

bool CFolvaneDlg::CurrentRowMayMove(int boundary, const char *boundaryMessage) {
    m_listImages.SetFocus();
    if (m_listImages.GetItemCount() == 0) {
        Inform(texts::Window(kMsgNoImages));
        return false;
    }
    // An index that names no row counts as no current row.
    if (CurrentRow() == -1) {
        Inform(texts::Window(kMsgSelectFirst));
        return false;
    }
    if (m_nSelected == boundary) {
        Inform(texts::Window(boundaryMessage));
        return false;
    }
    return true;
}

void CFolvaneDlg::OnBtnMoveUp() {
    if (CurrentRowMayMove(0, kMsgAtFirstRow)) {
        MoveCurrentRow(m_nSelected - 1);
    }
}

void CFolvaneDlg::OnBtnMoveDown() {
    if (CurrentRowMayMove(m_listImages.GetItemCount() - 1, kMsgAtLastRow)) {
        MoveCurrentRow(m_nSelected + 1);
    }
}

void CFolvaneDlg::OnBtnMoveTop() {
    if (CurrentRowMayMove(0, kMsgAtFirstRow)) {
        MoveCurrentRow(0);
    }
}

void CFolvaneDlg::OnBtnMoveBottom() {
    if (CurrentRowMayMove(m_listImages.GetItemCount() - 1, kMsgAtLastRow)) {
        MoveCurrentRow(m_listImages.GetItemCount() - 1);
    }
}

void CFolvaneDlg::OnBtnDelete() {
    const int highlighted = HighlightedRow();
    if (highlighted == -1) {
        Inform(texts::Window(kMsgSelectFirst));
        return;
    }
    // The row the user sees highlighted is the one that goes, also when the keyboard moved the
    // highlight away from the row last clicked.
    m_nSelected = highlighted;
    m_listImages.DeleteItem(m_nSelected);
    Renumber();
    const int count = m_listImages.GetItemCount();
    if (count == 0) {
        ClearPreviewFrame();
        m_nSelected = -1;
        return;
    }
    if (m_nSelected == count) {
        --m_nSelected;
    }
    MarkRow(m_nSelected);
    ShowPreview(m_listImages.GetItemText(m_nSelected, kColumnPath));
}

void CFolvaneDlg::OnBtnClearList() {
    // No question first: what goes can be had back with Ctrl+Z. Clearing an empty list keeps
    // the rows cleared before.
    if (m_listImages.GetItemCount() > 0) {
        m_cleared = ClearedList{ListPaths(), CurrentRow()};
    }
    m_listImages.DeleteAllItems();
    m_nSelected = -1;
    ClearPreviewFrame();
}

void CFolvaneDlg::OnEditUndo() {
    if (m_listImages.GetItemCount() > 0 || m_cleared.paths.empty()) {
        return;
    }
    const ClearedList cleared = std::move(m_cleared);
    m_cleared = ClearedList{};
    for (const std::string &path : cleared.paths) {
        const int count = m_listImages.GetItemCount();
        const int row = m_listImages.InsertItem(count, std::to_string(count + 1));
        m_listImages.SetItemText(row, kColumnPath, path);
    }
    ShowRowChecks(); // the checks of the files are still known
    const int count = m_listImages.GetItemCount();
    m_nSelected = cleared.current >= 0 && cleared.current < count ? cleared.current : 0;
    MarkRow(m_nSelected);
    ShowPreview(m_listImages.GetItemText(m_nSelected, kColumnPath));
}

void CFolvaneDlg::OnBtnBrowse() {
    // The dialog opens on the path chosen last, or in the folder of the last run's. A name typed
    // without an extension gets ".pdf" in lower case, as Linux file managers expect.
    const SplitPathParts current = _splitpath(m_strSavePath);
    const std::string filter =
        texts::Window(texts::kPdfFiles) + "|*.PDF|" + texts::Window(texts::kAllFiles) + "|*.*||";
    CFileDialog dialog("pdf", current.fname + current.ext, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       filter, *this);
    WindowSettings settings(Toolkit().Settings());
    dialog.SetInitialDir(m_strSavePath.empty() ? settings.SaveFolder() : FolderOf(m_strSavePath));
    if (dialog.DoModal() != IDOK) {
        return;
    }
    m_strSavePath = dialog.GetPathName();
    settings.SetSaveFolder(FolderOf(m_strSavePath));
    UpdateData(false);
}
