#include "app/PageList.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "pdf/DuplexOrder.h"

namespace {

// The rectangle of a picture `width` x `height` where it lies once the picture is turned
// `quarterTurns` quarter turns clockwise.
CropRect turnedCrop(CropRect crop, int width, int height, int quarterTurns) {
    for (int turn = ((quarterTurns % 4) + 4) % 4; turn > 0; --turn) {
        crop = CropRect{height - crop.bottom, crop.left, height - crop.top, crop.right};
        std::swap(width, height);
    }
    return crop;
}

bool earlierPageOfSameFile(const PageSource &above, const PageSource &source) {
    return above.path == source.path && above.page && source.page && *above.page < *source.page;
}

} // namespace

const Page &PageList::at(int row) const {
    return pages_.at(order_.at(static_cast<std::size_t>(row)));
}

void PageList::setCurrent(int row) {
    current_ = row >= 0 && row < count() ? row : -1;
}

int PageList::rowOf(PageId id) const {
    const auto found = std::find(order_.begin(), order_.end(), id);
    return found == order_.end() ? -1 : static_cast<int>(std::distance(order_.begin(), found));
}

Page *PageList::find(PageId id) {
    const auto found = pages_.find(id);
    return found == pages_.end() ? nullptr : &found->second;
}

const Page *PageList::find(PageId id) const {
    const auto found = pages_.find(id);
    return found == pages_.end() ? nullptr : &found->second;
}

std::vector<std::string> PageList::paths() const {
    std::vector<std::string> paths;
    paths.reserve(order_.size());
    for (PageId id : order_) {
        paths.push_back(pages_.at(id).source.path);
    }
    return paths;
}

PageOrder PageList::order() const {
    return PageOrder{order_, current_ >= 0 ? order_[static_cast<std::size_t>(current_)] : kNoPage};
}

PageId PageList::addPage(const PageSource &source) {
    const PageId id = nextId_++;
    Page &page = pages_[id];
    page.id = id;
    page.source = source;
    order_.push_back(id);
    return id;
}

void PageList::setOrder(const PageOrder &order) {
    order_ = order.ids;
    current_ = order.current == kNoPage ? -1 : rowOf(order.current);
}

std::optional<PageCommand> PageList::finish(PageCommandKind kind, const PageOrder &before) {
    PageOrder after = order();
    if (after == before) {
        return std::nullopt;
    }
    PageCommand command;
    command.kind = kind;
    command.before = before;
    command.after = std::move(after);
    return command;
}

std::optional<PageCommand> PageList::add(const std::vector<PageSource> &sources) {
    const PageOrder before = order();
    for (const PageSource &source : sources) {
        addPage(source);
    }
    if (current_ == -1 && !order_.empty()) {
        current_ = 0;
    }
    return finish(PageCommandKind::Add, before);
}

void PageList::sortInRow(int row, const NameOrder &byName) {
    const PageSource &source = at(row).source;
    int target = row;
    // A row passes those of names that sort the same, except an earlier page of its own file:
    // the pages of a PDF stay in their order.
    while (target > 0 && byName(source.path, at(target - 1).source.path) <= 0 &&
           !earlierPageOfSameFile(at(target - 1).source, source)) {
        --target;
    }
    if (target == row) {
        return;
    }
    const auto from = order_.begin() + row;
    std::rotate(order_.begin() + target, from, from + 1);
    if (current_ == row) {
        current_ = target;
    } else if (current_ >= target && current_ < row) {
        ++current_;
    }
}

std::optional<PageCommand> PageList::sortIn(const std::vector<PageSource> &sources,
                                            const NameOrder &byName) {
    const PageOrder before = order();
    for (const PageSource &source : sources) {
        addPage(source);
        sortInRow(count() - 1, byName);
    }
    if (current_ == -1 && !order_.empty()) {
        current_ = 0;
    }
    return finish(PageCommandKind::SortIn, before);
}

std::optional<PageCommand> PageList::move(int from, int to) {
    if (from < 0 || from >= count() || to < 0 || to >= count() || from == to) {
        return std::nullopt;
    }
    const PageOrder before = order();
    const auto at = [this](int row) { return order_.begin() + row; };
    if (from < to) {
        std::rotate(at(from), at(from + 1), at(to + 1));
    } else {
        std::rotate(at(to), at(from), at(from + 1));
    }
    current_ = to;
    return finish(PageCommandKind::Move, before);
}

std::optional<PageCommand> PageList::remove(int row) {
    if (row < 0 || row >= count()) {
        return std::nullopt;
    }
    const PageOrder before = order();
    order_.erase(order_.begin() + row);
    current_ = std::min(row, count() - 1);
    return finish(PageCommandKind::Remove, before);
}

std::optional<PageCommand> PageList::clear() {
    const PageOrder before = order();
    order_.clear();
    current_ = -1;
    return finish(PageCommandKind::Clear, before);
}

std::optional<PageCommand> PageList::sortByName(const NameOrder &byName) {
    const PageOrder before = order();
    for (int row = 1; row < count(); ++row) {
        sortInRow(row, byName);
    }
    return finish(PageCommandKind::SortByName, before);
}

std::optional<PageCommand> PageList::changeShape(PageCommandKind kind, int row,
                                                 const PageShape &shape) {
    if (row < 0 || row >= count()) {
        return std::nullopt;
    }
    Page &page = pages_.at(order_[static_cast<std::size_t>(row)]);
    if (page.shape == shape) {
        return std::nullopt;
    }
    PageCommand command;
    command.kind = kind;
    command.before = order();
    command.shapesBefore = {{page.id, page.shape}};
    command.shapesAfter = {{page.id, shape}};
    page.shape = shape;
    current_ = row;
    command.after = order();
    return command;
}

std::optional<PageCommand> PageList::rotate(int row, int quarterTurns) {
    if (row < 0 || row >= count()) {
        return std::nullopt;
    }
    const Page &page = at(row);
    PageShape shape = page.shape;
    if (shape.edits.crop) {
        if (!page.facts || !page.facts->ok) {
            return std::nullopt;
        }
        // The crop is a rectangle of the picture as turned so far.
        const bool swapped = shape.edits.quarterTurns % 2 != 0;
        shape.edits.crop =
            turnedCrop(*shape.edits.crop, swapped ? page.facts->height : page.facts->width,
                       swapped ? page.facts->width : page.facts->height, quarterTurns);
    }
    shape.edits.quarterTurns = ((shape.edits.quarterTurns + quarterTurns) % 4 + 4) % 4;
    return changeShape(PageCommandKind::Rotate, row, shape);
}

std::optional<PageCommand> PageList::crop(int row, std::optional<CropRect> crop) {
    if (row < 0 || row >= count()) {
        return std::nullopt;
    }
    PageShape shape = at(row).shape;
    shape.edits.crop = crop;
    return changeShape(PageCommandKind::Crop, row, shape);
}

std::optional<PageCommand> PageList::setCorners(int row,
                                                std::optional<folvane::SheetCorners> corners) {
    if (row < 0 || row >= count()) {
        return std::nullopt;
    }
    PageShape shape = at(row).shape;
    shape.handCorners = corners;
    return changeShape(PageCommandKind::SetCorners, row, shape);
}

std::optional<PageCommand> PageList::resetEdits(int row) {
    if (row < 0 || row >= count()) {
        return std::nullopt;
    }
    PageShape shape = at(row).shape;
    shape.edits = PageEdits{};
    return changeShape(PageCommandKind::ResetEdits, row, shape);
}

std::optional<PageCommand> PageList::interleave(const std::vector<int> &rows) {
    const std::vector<std::size_t> reading = folvane::duplexReadingOrder(rows.size());
    if (reading.empty()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] < 0 || rows[i] >= count() || (i > 0 && rows[i] <= rows[i - 1])) {
            return std::nullopt;
        }
    }
    const PageOrder before = order();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int from = rows[reading[i]];
        order_[static_cast<std::size_t>(rows[i])] = before.ids[static_cast<std::size_t>(from)];
    }
    current_ = before.current == kNoPage ? -1 : rowOf(before.current);
    return finish(PageCommandKind::Interleave, before);
}

void PageList::setShapes(const std::vector<std::pair<PageId, PageShape>> &shapes) {
    for (const auto &[id, shape] : shapes) {
        if (Page *page = find(id)) {
            page->shape = shape;
        }
    }
}

void PageList::undo(const PageCommand &command) {
    setShapes(command.shapesBefore);
    setOrder(command.before);
}

void PageList::redo(const PageCommand &command) {
    setShapes(command.shapesAfter);
    setOrder(command.after);
}
