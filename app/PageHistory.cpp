#include "app/PageHistory.h"

#include "app/PageList.h"

void PageHistory::Record(PageCommand command) {
    m_done.push_back(std::move(command));
    m_undone.clear();
}

std::optional<PageCommandKind> PageHistory::NextUndo() const {
    if (m_done.empty()) {
        return std::nullopt;
    }
    return m_done.back().kind;
}

std::optional<PageCommandKind> PageHistory::NextRedo() const {
    if (m_undone.empty()) {
        return std::nullopt;
    }
    return m_undone.back().kind;
}

bool PageHistory::Undo(PageList &pages) {
    if (m_done.empty()) {
        return false;
    }
    pages.Undo(m_done.back());
    m_undone.push_back(std::move(m_done.back()));
    m_done.pop_back();
    return true;
}

bool PageHistory::Redo(PageList &pages) {
    if (m_undone.empty()) {
        return false;
    }
    pages.Redo(m_undone.back());
    m_done.push_back(std::move(m_undone.back()));
    m_undone.pop_back();
    return true;
}
