// A change the user made to the page list, as a value: the rows' order and current row before
// and after, and the shapes of the pages it changed. Applying its before or its after undoes or
// redoes it exactly, whatever the checks found out about the pages meanwhile.
#pragma once

#include <utility>
#include <vector>

#include "app/Page.h"

enum class PageCommandKind {
    Add,
    SortIn,
    Move,
    Remove,
    Clear,
    SortByName,
    Rotate,
    Crop,
    SetCorners,
    ResetEdits,
    Interleave,
};

// The rows in list order and the current one (kNoPage for none).
struct PageOrder {
    std::vector<PageId> ids;
    PageId current = kNoPage;
    bool operator==(const PageOrder &) const = default;
};

struct PageCommand {
    PageCommandKind kind = PageCommandKind::Add;
    PageOrder before;
    PageOrder after;
    std::vector<std::pair<PageId, PageShape>> shapesBefore;
    std::vector<std::pair<PageId, PageShape>> shapesAfter;
};

// The command's name as the menu says it after "撤销" and "重做" ("删除", "旋转", ...), marked for
// the catalogue under "Window".
const char *pageCommandName(PageCommandKind kind);
