// The page list's commands in the order they were made, for undo and redo until the window
// closes. A new command drops the commands undone before it.
#pragma once

#include <optional>
#include <vector>

#include "app/PageCommand.h"

class PageList;

class PageHistory {
public:
    void record(PageCommand command);
    // The kind of command Undo or Redo would take back or make again, none when there is none.
    std::optional<PageCommandKind> nextUndo() const;
    std::optional<PageCommandKind> nextRedo() const;
    // False when there was nothing to undo or redo.
    bool undo(PageList &pages);
    bool redo(PageList &pages);

private:
    std::vector<PageCommand> done_;
    std::vector<PageCommand> undone_;
};
