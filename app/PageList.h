// The window's pages in list order, the current one, and the commands that shape them. Every
// command returns itself as a value (PageCommand) for the history; one that would change nothing
// returns none. The list control only mirrors this list.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/Page.h"
#include "app/PageCommand.h"

// Orders two paths by their file names: below zero when a comes first.
using NameOrder = std::function<int(const std::string &a, const std::string &b)>;

class PageList {
public:
    int count() const { return static_cast<int>(order_.size()); }
    bool empty() const { return order_.empty(); }
    // The page at row (0 <= row < count()).
    const Page &at(int row) const;
    // The current row, -1 for none.
    int current() const { return current_; }
    // Makes row current (-1: none); a row outside the list counts as none.
    void setCurrent(int row);
    // The row of a page in the list, -1 when it is not (or no longer) in it.
    int rowOf(PageId id) const;
    // A page added at any time, also one since removed (undo may bring it back); null for none.
    Page *find(PageId id);
    const Page *find(PageId id) const;
    std::vector<std::string> paths() const;
    PageOrder order() const;

    // New rows at the end, in the given order; the first row becomes current when none is.
    std::optional<PageCommand> add(const std::vector<PageSource> &sources);
    // New rows, each sorted in by name: it passes every row directly above it whose name sorts
    // the same or after its own, but never an earlier page of its own file. The current row stays
    // on its page; the first row becomes current when none is.
    std::optional<PageCommand> sortIn(const std::vector<PageSource> &sources,
                                      const NameOrder &byName);
    // Row from goes to row to and becomes current (none when it is there already).
    std::optional<PageCommand> move(int from, int to);
    // Row goes; the row taking its place (or the one above at the end) becomes current.
    std::optional<PageCommand> remove(int row);
    std::optional<PageCommand> clear();
    // Every row sorted in by name again, top to bottom; the current row stays on its page.
    std::optional<PageCommand> sortByName(const NameOrder &byName);
    // Row's page turned by quarterTurns quarter turns clockwise (negative: anticlockwise), its
    // crop turned with it. None for a cropped page whose size the pre-flight has not told: its
    // crop could not follow.
    std::optional<PageCommand> rotate(int row, int quarterTurns);
    std::optional<PageCommand> crop(int row, std::optional<CropRect> crop);
    // Corners placed by hand for row's page, or none to go back to the sheet the search finds.
    std::optional<PageCommand> setCorners(int row, std::optional<folvane::SheetCorners> corners);
    // Row's page turned, cropped and corrected as it was added.
    std::optional<PageCommand> resetEdits(int row);
    // The pages of rows (ascending, each once) are a two-sided stack fed twice through a
    // one-sided feeder, fronts 1..n then backs n..1; they take the same rows again as front 1,
    // back 1, front 2, back 2, ... The current row stays on its page. None for an odd count or
    // a row outside the list.
    std::optional<PageCommand> interleave(const std::vector<int> &rows);

    // Puts the rows, the current row and the pages' shapes back as they were before command
    // (undo) or after it (redo).
    void undo(const PageCommand &command);
    void redo(const PageCommand &command);

private:
    PageId addPage(const PageSource &source);
    void setOrder(const PageOrder &order);
    void sortInRow(int row, const NameOrder &byName);
    std::optional<PageCommand> finish(PageCommandKind kind, const PageOrder &before);
    std::optional<PageCommand> changeShape(PageCommandKind kind, int row, const PageShape &shape);
    void setShapes(const std::vector<std::pair<PageId, PageShape>> &shapes);

    std::map<PageId, Page> pages_; // every page the window had; rows name them by id
    std::vector<PageId> order_;
    int current_ = -1;
    PageId nextId_ = 1;
};
