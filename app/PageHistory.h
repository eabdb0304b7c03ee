// The page list's commands in the order they were made, for undo and redo until the window
// closes. A new command drops the commands undone before it.
#pragma once

#include <optional>
#include <vector>

#include "app/PageCommand.h"

class PageList;

class PageHistory {
public:
    void Record(PageCommand command);
    // The kind of command Undo or Redo would take back or make again, none when there is none.
    std::optional<PageCommandKind> NextUndo() const;
    std::optional<PageCommandKind> NextRedo() const;
    // False when there was nothing to undo or redo.
    bool Undo(PageList &pages);
    bool Redo(PageList &pages);

private:
    std::vector<PageCommand> m_done;
    std::vector<PageCommand> m_undone;
};
