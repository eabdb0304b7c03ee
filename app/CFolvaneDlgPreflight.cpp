// Pre-flight: every row's file is checked in the background as soon as it is added, by the
// engine's own readers. A row that cannot be used turns red with its reason as the tool tip;
// a good row's tool tip says how it will go into the PDF.

#include "app/CFolvaneDlg.h"

#include "app/BackgroundQueue.h"
#include "app/RowCheck.h"

namespace {
constexpr int kColumnPath = 1;
constexpr COLORREF kUnusableColor = ui::RGB(204, 0, 0);
} // namespace

void CFolvaneDlg::CheckFiles(const std::vector<std::string> &paths) {
    if (!m_checks) {
        return;
    }
    for (const std::string &path : paths) {
        // A file added again is checked again: it may have changed on disk meanwhile.
        m_rowFacts.erase(path);
        if (!m_checking.insert(path).second) {
            continue;
        }
        m_checks->Run([this, inspect = m_fnInspect, path]() -> std::function<void()> {
            folvane::ImageFacts facts;
            try {
                facts = inspect(path);
            } catch (const std::exception &error) {
                facts.problem.kind = folvane::Problem::Kind::Internal;
                facts.problem.detail = error.what();
            }
            return [this, path, facts] { OnRowChecked(path, facts); };
        });
    }
}

void CFolvaneDlg::OnRowChecked(const std::string &path, const folvane::ImageFacts &facts) {
    m_checking.erase(path);
    m_rowFacts[path] = facts;
    // Finding a file's rows takes a pass over the list. Checks finish in bursts, thousands at a
    // time for a large list: the rows of a burst are shown in one pass, right after it.
    if (m_checkedUnshown.empty() && m_checks) {
        m_checks->Later([this] { ShowCheckedRows(); });
    }
    m_checkedUnshown.insert(path);
}

void CFolvaneDlg::ShowCheckedRows() {
    const int count = m_listImages.GetItemCount();
    for (int row = 0; row < count; ++row) {
        if (m_checkedUnshown.count(m_listImages.GetItemText(row, kColumnPath))) {
            ShowRowCheck(row);
        }
    }
    m_checkedUnshown.clear();
}

void CFolvaneDlg::ShowRowChecks() {
    const int count = m_listImages.GetItemCount();
    for (int row = 0; row < count; ++row) {
        ShowRowCheck(row);
    }
}

void CFolvaneDlg::ShowRowCheck(int row) {
    const folvane::ImageFacts *facts = RowFacts(row);
    if (!facts) {
        m_listImages.SetItemToolTip(row, "");
        m_listImages.SetItemTextColor(row, CLR_DEFAULT);
        return;
    }
    m_listImages.SetItemToolTip(
        row, RowCheckText(*facts, folvane::PageLayout::FromImageType(m_nImageType)));
    m_listImages.SetItemTextColor(row, facts->ok ? CLR_DEFAULT : kUnusableColor);
}

const folvane::ImageFacts *CFolvaneDlg::RowFacts(int row) const {
    auto found = m_rowFacts.find(m_listImages.GetItemText(row, kColumnPath));
    return found == m_rowFacts.end() ? nullptr : &found->second;
}
