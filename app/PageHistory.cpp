#include "app/PageHistory.h"

#include "app/PageList.h"

void PageHistory::record(PageCommand command) {
    done_.push_back(std::move(command));
    undone_.clear();
}

std::optional<PageCommandKind> PageHistory::nextUndo() const {
    if (done_.empty()) {
        return std::nullopt;
    }
    return done_.back().kind;
}

std::optional<PageCommandKind> PageHistory::nextRedo() const {
    if (undone_.empty()) {
        return std::nullopt;
    }
    return undone_.back().kind;
}

bool PageHistory::undo(PageList &pages) {
    if (done_.empty()) {
        return false;
    }
    pages.undo(done_.back());
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return true;
}

bool PageHistory::redo(PageList &pages) {
    if (undone_.empty()) {
        return false;
    }
    pages.redo(undone_.back());
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return true;
}
