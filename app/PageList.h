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
    int Count() const { return static_cast<int>(m_order.size()); }
    bool Empty() const { return m_order.empty(); }
    // The page at row (0 <= row < Count()).
    const Page &At(int row) const;
    // The current row, -1 for none.
    int Current() const { return m_current; }
    // Makes row current (-1: none); a row outside the list counts as none.
    void SetCurrent(int row);
    // The row of a page in the list, -1 when it is not (or no longer) in it.
    int RowOf(PageId id) const;
    // A page added at any time, also one since removed (undo may bring it back); null for none.
    Page *Find(PageId id);
    const Page *Find(PageId id) const;
    std::vector<std::string> Paths() const;
    PageOrder Order() const;

    // New rows at the end, in the given order; the first row becomes current when none is.
    std::optional<PageCommand> Add(const std::vector<PageSource> &sources);
    // New rows, each sorted in by name: it passes every row directly above it whose name sorts
    // the same or after its own, but never an earlier page of its own file. The current row stays
    // on its page; the first row becomes current when none is.
    std::optional<PageCommand> SortIn(const std::vector<PageSource> &sources,
                                      const NameOrder &order);
    // Row from goes to row to and becomes current (none when it is there already).
    std::optional<PageCommand> Move(int from, int to);
    // Row goes; the row taking its place (or the one above at the end) becomes current.
    std::optional<PageCommand> Remove(int row);
    std::optional<PageCommand> Clear();
    // Every row sorted in by name again, top to bottom; the current row stays on its page.
    std::optional<PageCommand> SortByName(const NameOrder &order);
    // Row's page turned by quarterTurns quarter turns clockwise (negative: anticlockwise), its
    // crop turned with it. None for a cropped page whose size the pre-flight has not told: its
    // crop could not follow.
    std::optional<PageCommand> Rotate(int row, int quarterTurns);
    std::optional<PageCommand> Crop(int row, std::optional<CropRect> crop);
    // Corners placed by hand for row's page, or none to go back to the sheet the search finds.
    std::optional<PageCommand> SetCorners(int row, std::optional<folvane::SheetCorners> corners);
    // Row's page turned, cropped and corrected as it was added.
    std::optional<PageCommand> ResetEdits(int row);
    // The pages of rows (ascending, each once) are a two-sided stack fed twice through a
    // one-sided feeder, fronts 1..n then backs n..1; they take the same rows again as front 1,
    // back 1, front 2, back 2, ... The current row stays on its page. None for an odd count or
    // a row outside the list.
    std::optional<PageCommand> Interleave(const std::vector<int> &rows);

    // Puts the rows, the current row and the pages' shapes back as they were before command
    // (undo) or after it (redo).
    void Undo(const PageCommand &command);
    void Redo(const PageCommand &command);

private:
    PageId AddPage(const PageSource &source);
    void SetOrder(const PageOrder &order);
    void SortInRow(int row, const NameOrder &order);
    std::optional<PageCommand> Finish(PageCommandKind kind, const PageOrder &before);
    std::optional<PageCommand> ChangeShape(PageCommandKind kind, int row, const PageShape &shape);
    void SetShapes(const std::vector<std::pair<PageId, PageShape>> &shapes);

    std::map<PageId, Page> m_pages; // every page the window had; rows name them by id
    std::vector<PageId> m_order;
    int m_current = -1;
    PageId m_nextId = 1;
};
