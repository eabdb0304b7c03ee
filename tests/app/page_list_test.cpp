// The page list on its own: its commands, and undo and redo of any sequence of them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PageHistory.h"
#include "app/PageList.h"

namespace {

using Strings = std::vector<std::string>;

// Plain byte order of the whole path, enough to see where a row is sorted in.
int ByPath(const std::string &a, const std::string &b) {
    return a.compare(b);
}

std::vector<PageSource> Files(const Strings &paths) {
    std::vector<PageSource> sources;
    for (const std::string &path : paths) {
        sources.push_back(PageSource{path, std::nullopt});
    }
    return sources;
}

// Everything a command may change: the rows in order with their shapes, and the current row.
struct Snapshot {
    Strings paths;
    std::vector<PageId> ids;
    std::vector<PageShape> shapes;
    int current = -1;
    bool operator==(const Snapshot &) const = default;
};

Snapshot Take(const PageList &pages) {
    Snapshot snapshot;
    for (int row = 0; row < pages.count(); ++row) {
        snapshot.paths.push_back(pages.at(row).source.path);
        snapshot.ids.push_back(pages.at(row).id);
        snapshot.shapes.push_back(pages.at(row).shape);
    }
    snapshot.current = pages.current();
    return snapshot;
}

class Pages : public ::testing::Test {
protected:
    // Runs a command and keeps it for undo, with the list as it stood before and after it.
    template <class Command> void Do(Command command) {
        const Snapshot before = Take(pages);
        std::optional<PageCommand> done = command();
        ASSERT_TRUE(done.has_value());
        history.record(std::move(*done));
        befores.push_back(before);
        afters.push_back(Take(pages));
    }

    PageList pages;
    PageHistory history;
    std::vector<Snapshot> befores;
    std::vector<Snapshot> afters;
};

TEST_F(Pages, SortInPassesEqualAndLaterNamesAndTheCurrentRowStaysOnItsPage) {
    Do([&] { return pages.sortIn(Files({"/p/c.jpg", "/p/a.jpg"}), ByPath); });
    EXPECT_EQ(pages.paths(), (Strings{"/p/a.jpg", "/p/c.jpg"}));
    EXPECT_EQ(pages.current(), 0); // the first row, as none was current
    pages.setCurrent(1);
    Do([&] { return pages.sortIn(Files({"/p/b.jpg", "/p/c.jpg"}), ByPath); });
    // The same file twice is two rows: the new one above the old.
    EXPECT_EQ(pages.paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/c.jpg"}));
    EXPECT_EQ(pages.current(), 3);
    EXPECT_NE(pages.at(2).id, pages.at(3).id);
    EXPECT_FALSE(pages.sortIn({}, ByPath).has_value()); // nothing added, nothing to undo
}

TEST_F(Pages, MoveRemoveAndClearSetTheCurrentRow) {
    Do([&] { return pages.add(Files({"/p/a", "/p/b", "/p/c", "/p/d"})); });
    Do([&] { return pages.move(0, 2); });
    EXPECT_EQ(pages.paths(), (Strings{"/p/b", "/p/c", "/p/a", "/p/d"}));
    EXPECT_EQ(pages.current(), 2);
    Do([&] { return pages.move(3, 0); });
    EXPECT_EQ(pages.paths(), (Strings{"/p/d", "/p/b", "/p/c", "/p/a"}));
    EXPECT_EQ(pages.current(), 0);
    EXPECT_FALSE(pages.move(1, 1).has_value());
    EXPECT_FALSE(pages.move(1, 4).has_value());
    EXPECT_FALSE(pages.remove(-1).has_value());

    Do([&] { return pages.remove(3); }); // the last row: the one above becomes current
    EXPECT_EQ(pages.current(), 2);
    Do([&] { return pages.remove(0); }); // another row: the one taking its place
    EXPECT_EQ(pages.paths(), (Strings{"/p/b", "/p/c"}));
    EXPECT_EQ(pages.current(), 0);
    Do([&] { return pages.clear(); });
    EXPECT_EQ(pages.current(), -1);
    EXPECT_FALSE(pages.clear().has_value()); // an empty list stays as it is
}

TEST_F(Pages, EditsBelongToOneRowEvenOfTheSameFile) {
    Do([&] { return pages.add(Files({"/p/a.jpg", "/p/a.jpg"})); });
    Do([&] { return pages.rotate(1, 1); });
    Do([&] { return pages.rotate(1, -2); });
    EXPECT_EQ(pages.at(1).shape.edits.quarterTurns, 3);
    EXPECT_EQ(pages.at(0).shape.edits.quarterTurns, 0);
    EXPECT_FALSE(pages.rotate(0, 4).has_value()); // a full turn changes nothing
    const folvane::SheetCorners corners{1, 2, 3, 4, 5, 6, 7, 8};
    Do([&] { return pages.setCorners(0, corners); });
    EXPECT_EQ(pages.at(0).shape.handCorners, corners);
    EXPECT_FALSE(pages.at(1).shape.handCorners.has_value());
    Do([&] { return pages.crop(1, CropRect{10, 20, 30, 40}); });
    Do([&] { return pages.resetEdits(1); });
    EXPECT_EQ(pages.at(1).shape.edits, PageEdits{});
    EXPECT_FALSE(pages.resetEdits(1).has_value());
    EXPECT_EQ(pages.current(), 1); // an edited row is current
}

// A stack of three sheets fed twice: fronts f1 f2 f3, then the backs turned over, b3 b2 b1. The
// rows around the stack keep their places; only the rows named take part.
TEST_F(Pages, InterleavePairsEachFrontWithItsBackInTheRowsItIsGiven) {
    Do([&] {
        return pages.add(Files({"/p/x", "/p/f1", "/p/f2", "/p/f3", "/p/b3", "/p/b2", "/p/b1"}));
    });
    pages.setCurrent(4); // b3
    Do([&] { return pages.interleave({1, 2, 3, 4, 5, 6}); });
    EXPECT_EQ(pages.paths(),
              (Strings{"/p/x", "/p/f1", "/p/b1", "/p/f2", "/p/b2", "/p/f3", "/p/b3"}));
    EXPECT_EQ(pages.current(), 6); // still on b3
    ASSERT_TRUE(history.undo(pages));
    EXPECT_EQ(Take(pages), befores.back());
    ASSERT_TRUE(history.redo(pages));
    EXPECT_EQ(Take(pages), afters.back());
}

TEST_F(Pages, InterleaveRefusesAnOddCountAndRowsOutsideTheList) {
    Do([&] { return pages.add(Files({"/p/a", "/p/b", "/p/c", "/p/d", "/p/e"})); });
    EXPECT_FALSE(pages.interleave({0, 1, 2, 3, 4}).has_value());
    EXPECT_FALSE(pages.interleave({}).has_value());
    EXPECT_FALSE(pages.interleave({3, 5}).has_value());
    EXPECT_FALSE(pages.interleave({-1, 0}).has_value());
    EXPECT_FALSE(pages.interleave({2, 1}).has_value()); // rows out of order
    EXPECT_FALSE(pages.interleave({1, 1}).has_value());
    EXPECT_FALSE(pages.interleave({0, 1}).has_value()); // one sheet: already in order
    EXPECT_EQ(pages.paths(), (Strings{"/p/a", "/p/b", "/p/c", "/p/d", "/p/e"}));
    // Rows apart: 0, 2, 3, 4 hold a, c, d, e and become a, e, c, d.
    Do([&] { return pages.interleave({0, 2, 3, 4}); });
    EXPECT_EQ(pages.paths(), (Strings{"/p/a", "/p/b", "/p/e", "/p/c", "/p/d"}));
    EXPECT_STREQ(pageCommandName(PageCommandKind::Interleave), "双面合并");
}

// A crop is a rectangle of the turned picture: it turns with the page, and a turn there and back
// gives it back as it was. Without the file's size it could not follow, so the turn is refused.
TEST_F(Pages, ACropTurnsWithItsPage) {
    Do([&] { return pages.add(Files({"/p/a.jpg"})); });
    Do([&] { return pages.crop(0, CropRect{10, 20, 110, 70}); });
    EXPECT_FALSE(pages.rotate(0, 1).has_value());
    folvane::ImageFacts facts;
    facts.ok = true;
    facts.width = 400;
    facts.height = 300;
    pages.find(pages.at(0).id)->facts = facts;
    Do([&] { return pages.rotate(0, 1); });
    // Turned right, the 400 x 300 picture is 300 x 400: its left edge is now its top.
    EXPECT_EQ(pages.at(0).shape.edits.crop, (CropRect{230, 10, 280, 110}));
    Do([&] { return pages.rotate(0, 1); });
    EXPECT_EQ(pages.at(0).shape.edits.crop, (CropRect{290, 230, 390, 280}));
    Do([&] { return pages.rotate(0, -2); });
    EXPECT_EQ(pages.at(0).shape.edits.crop, (CropRect{10, 20, 110, 70}));
    Do([&] { return pages.rotate(0, -1); });
    EXPECT_EQ(pages.at(0).shape.edits.crop, (CropRect{20, 290, 70, 390}));
    ASSERT_TRUE(history.undo(pages));
    EXPECT_EQ(pages.at(0).shape.edits.crop, (CropRect{10, 20, 110, 70}));
}

// Any sequence of commands undoes step by step to the list as it stood before each, and redoes
// to the list as it stood after each; a check that arrived meanwhile is kept.
TEST_F(Pages, EverySequenceUndoesAndRedoesToTheSameRowsOrderEditsAndCurrentRow) {
    Do([&] { return pages.sortIn(Files({"/p/d.jpg", "/p/b.jpg", "/p/a.jpg"}), ByPath); });
    pages.setCurrent(2);
    Do([&] { return pages.rotate(2, 1); });
    Do([&] { return pages.move(2, 0); });
    Do([&] { return pages.setCorners(1, folvane::SheetCorners{0, 0, 9, 0, 9, 9, 0, 9}); });
    Do([&] { return pages.add(Files({"/p/c.jpg"})); });
    Do([&] { return pages.interleave({0, 1, 2, 3}); });
    Do([&] { return pages.sortByName(ByPath); });
    Do([&] { return pages.remove(1); });
    Do([&] { return pages.crop(0, CropRect{1, 1, 5, 5}); });
    Do([&] { return pages.clear(); });
    Do([&] { return pages.add(Files({"/p/e.jpg"})); });
    const std::size_t removal = 7;
    const PageId removed = befores[removal].ids[1];
    pages.find(removed)->facts = folvane::ImageFacts{};

    for (std::size_t step = befores.size(); step-- > 0;) {
        ASSERT_TRUE(history.undo(pages));
        EXPECT_EQ(Take(pages), befores[step]) << "undo of step " << step;
    }
    EXPECT_FALSE(history.undo(pages));
    for (std::size_t step = 0; step < afters.size(); ++step) {
        ASSERT_TRUE(history.redo(pages));
        EXPECT_EQ(Take(pages), afters[step]) << "redo of step " << step;
    }
    EXPECT_FALSE(history.redo(pages));

    // Back to before the removal: the row is there again, with its check.
    while (Take(pages) != befores[removal]) {
        ASSERT_TRUE(history.undo(pages));
    }
    EXPECT_EQ(pages.rowOf(removed), 1);
    EXPECT_TRUE(pages.at(1).facts.has_value());
}

TEST_F(Pages, ANewCommandDropsWhatWasUndoneAndTheHistoryNamesItsNextSteps) {
    EXPECT_FALSE(history.nextUndo().has_value());
    Do([&] { return pages.add(Files({"/p/a", "/p/b"})); });
    Do([&] { return pages.remove(0); });
    EXPECT_EQ(history.nextUndo(), PageCommandKind::Remove);
    history.undo(pages);
    EXPECT_EQ(history.nextRedo(), PageCommandKind::Remove);
    EXPECT_EQ(history.nextUndo(), PageCommandKind::Add);
    pages.setCurrent(1);
    Do([&] { return pages.rotate(1, 1); });
    EXPECT_FALSE(history.nextRedo().has_value());
    history.undo(pages);
    EXPECT_EQ(pages.paths(), (Strings{"/p/a", "/p/b"}));
    EXPECT_EQ(pages.at(1).shape.edits.quarterTurns, 0);
    EXPECT_STREQ(pageCommandName(PageCommandKind::Rotate), "旋转");
    EXPECT_STREQ(pageCommandName(PageCommandKind::Remove), "删除");
}

} // namespace
