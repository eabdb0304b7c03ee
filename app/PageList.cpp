#include "app/PageList.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "pdf/DuplexOrder.h"

namespace {

// The rectangle of a picture `width` x `height` where it lies once the picture is turned
// `quarterTurns` quarter turns clockwise.
CropRect TurnedCrop(CropRect crop, int width, int height, int quarterTurns) {
    for (int turn = ((quarterTurns % 4) + 4) % 4; turn > 0; --turn) {
        crop = CropRect{height - crop.bottom, crop.left, height - crop.top, crop.right};
        std::swap(width, height);
    }
    return crop;
}

bool EarlierPageOfSameFile(const PageSource &above, const PageSource &source) {
    return above.path == source.path && above.page && source.page && *above.page < *source.page;
}

} // namespace

const Page &PageList::At(int row) const {
    return m_pages.at(m_order.at(static_cast<std::size_t>(row)));
}

void PageList::SetCurrent(int row) {
    m_current = row >= 0 && row < Count() ? row : -1;
}

int PageList::RowOf(PageId id) const {
    const auto found = std::find(m_order.begin(), m_order.end(), id);
    return found == m_order.end() ? -1 : static_cast<int>(std::distance(m_order.begin(), found));
}

Page *PageList::Find(PageId id) {
    const auto found = m_pages.find(id);
    return found == m_pages.end() ? nullptr : &found->second;
}

const Page *PageList::Find(PageId id) const {
    const auto found = m_pages.find(id);
    return found == m_pages.end() ? nullptr : &found->second;
}

std::vector<std::string> PageList::Paths() const {
    std::vector<std::string> paths;
    paths.reserve(m_order.size());
    for (PageId id : m_order) {
        paths.push_back(m_pages.at(id).source.path);
    }
    return paths;
}

PageOrder PageList::Order() const {
    return PageOrder{m_order,
                     m_current >= 0 ? m_order[static_cast<std::size_t>(m_current)] : kNoPage};
}

PageId PageList::AddPage(const PageSource &source) {
    const PageId id = m_nextId++;
    Page &page = m_pages[id];
    page.id = id;
    page.source = source;
    m_order.push_back(id);
    return id;
}

void PageList::SetOrder(const PageOrder &order) {
    m_order = order.ids;
    m_current = order.current == kNoPage ? -1 : RowOf(order.current);
}

std::optional<PageCommand> PageList::Finish(PageCommandKind kind, const PageOrder &before) {
    PageOrder after = Order();
    if (after == before) {
        return std::nullopt;
    }
    PageCommand command;
    command.kind = kind;
    command.before = before;
    command.after = std::move(after);
    return command;
}

std::optional<PageCommand> PageList::Add(const std::vector<PageSource> &sources) {
    const PageOrder before = Order();
    for (const PageSource &source : sources) {
        AddPage(source);
    }
    if (m_current == -1 && !m_order.empty()) {
        m_current = 0;
    }
    return Finish(PageCommandKind::Add, before);
}

void PageList::SortInRow(int row, const NameOrder &order) {
    const PageSource &source = At(row).source;
    int target = row;
    // A row passes those of names that sort the same, except an earlier page of its own file:
    // the pages of a PDF stay in their order.
    while (target > 0 && order(source.path, At(target - 1).source.path) <= 0 &&
           !EarlierPageOfSameFile(At(target - 1).source, source)) {
        --target;
    }
    if (target == row) {
        return;
    }
    const auto from = m_order.begin() + row;
    std::rotate(m_order.begin() + target, from, from + 1);
    if (m_current == row) {
        m_current = target;
    } else if (m_current >= target && m_current < row) {
        ++m_current;
    }
}

std::optional<PageCommand> PageList::SortIn(const std::vector<PageSource> &sources,
                                            const NameOrder &order) {
    const PageOrder before = Order();
    for (const PageSource &source : sources) {
        AddPage(source);
        SortInRow(Count() - 1, order);
    }
    if (m_current == -1 && !m_order.empty()) {
        m_current = 0;
    }
    return Finish(PageCommandKind::SortIn, before);
}

std::optional<PageCommand> PageList::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) {
        return std::nullopt;
    }
    const PageOrder before = Order();
    const auto at = [this](int row) { return m_order.begin() + row; };
    if (from < to) {
        std::rotate(at(from), at(from + 1), at(to + 1));
    } else {
        std::rotate(at(to), at(from), at(from + 1));
    }
    m_current = to;
    return Finish(PageCommandKind::Move, before);
}

std::optional<PageCommand> PageList::Remove(int row) {
    if (row < 0 || row >= Count()) {
        return std::nullopt;
    }
    const PageOrder before = Order();
    m_order.erase(m_order.begin() + row);
    m_current = std::min(row, Count() - 1);
    return Finish(PageCommandKind::Remove, before);
}

std::optional<PageCommand> PageList::Clear() {
    const PageOrder before = Order();
    m_order.clear();
    m_current = -1;
    return Finish(PageCommandKind::Clear, before);
}

std::optional<PageCommand> PageList::SortByName(const NameOrder &order) {
    const PageOrder before = Order();
    for (int row = 1; row < Count(); ++row) {
        SortInRow(row, order);
    }
    return Finish(PageCommandKind::SortByName, before);
}

std::optional<PageCommand> PageList::ChangeShape(PageCommandKind kind, int row,
                                                 const PageShape &shape) {
    if (row < 0 || row >= Count()) {
        return std::nullopt;
    }
    Page &page = m_pages.at(m_order[static_cast<std::size_t>(row)]);
    if (page.shape == shape) {
        return std::nullopt;
    }
    PageCommand command;
    command.kind = kind;
    command.before = Order();
    command.shapesBefore = {{page.id, page.shape}};
    command.shapesAfter = {{page.id, shape}};
    page.shape = shape;
    m_current = row;
    command.after = Order();
    return command;
}

std::optional<PageCommand> PageList::Rotate(int row, int quarterTurns) {
    if (row < 0 || row >= Count()) {
        return std::nullopt;
    }
    const Page &page = At(row);
    PageShape shape = page.shape;
    if (shape.edits.crop) {
        if (!page.facts || !page.facts->ok) {
            return std::nullopt;
        }
        // The crop is a rectangle of the picture as turned so far.
        const bool swapped = shape.edits.quarterTurns % 2 != 0;
        shape.edits.crop =
            TurnedCrop(*shape.edits.crop, swapped ? page.facts->height : page.facts->width,
                       swapped ? page.facts->width : page.facts->height, quarterTurns);
    }
    shape.edits.quarterTurns = ((shape.edits.quarterTurns + quarterTurns) % 4 + 4) % 4;
    return ChangeShape(PageCommandKind::Rotate, row, shape);
}

std::optional<PageCommand> PageList::Crop(int row, std::optional<CropRect> crop) {
    if (row < 0 || row >= Count()) {
        return std::nullopt;
    }
    PageShape shape = At(row).shape;
    shape.edits.crop = crop;
    return ChangeShape(PageCommandKind::Crop, row, shape);
}

std::optional<PageCommand> PageList::SetCorners(int row,
                                                std::optional<folvane::SheetCorners> corners) {
    if (row < 0 || row >= Count()) {
        return std::nullopt;
    }
    PageShape shape = At(row).shape;
    shape.handCorners = corners;
    return ChangeShape(PageCommandKind::SetCorners, row, shape);
}

std::optional<PageCommand> PageList::ResetEdits(int row) {
    if (row < 0 || row >= Count()) {
        return std::nullopt;
    }
    PageShape shape = At(row).shape;
    shape.edits = PageEdits{};
    return ChangeShape(PageCommandKind::ResetEdits, row, shape);
}

std::optional<PageCommand> PageList::Interleave(const std::vector<int> &rows) {
    const std::vector<std::size_t> order = folvane::duplexReadingOrder(rows.size());
    if (order.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] < 0 || rows[i] >= Count() || (i > 0 && rows[i] <= rows[i - 1])) {
            return std::nullopt;
        }
    }
    const PageOrder before = Order();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int from = rows[order[i]];
        m_order[static_cast<std::size_t>(rows[i])] = before.ids[static_cast<std::size_t>(from)];
    }
    m_current = before.current == kNoPage ? -1 : RowOf(before.current);
    return Finish(PageCommandKind::Interleave, before);
}

void PageList::SetShapes(const std::vector<std::pair<PageId, PageShape>> &shapes) {
    for (const auto &[id, shape] : shapes) {
        if (Page *page = Find(id)) {
            page->shape = shape;
        }
    }
}

void PageList::Undo(const PageCommand &command) {
    SetShapes(command.shapesBefore);
    SetOrder(command.before);
}

void PageList::Redo(const PageCommand &command) {
    SetShapes(command.shapesAfter);
    SetOrder(command.after);
}
