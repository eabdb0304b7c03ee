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
    for (int row = 0; row < pages.Count(); ++row) {
        snapshot.paths.push_back(pages.At(row).source.path);
        snapshot.ids.push_back(pages.At(row).id);
        snapshot.shapes.push_back(pages.At(row).shape);
    }
    snapshot.current = pages.Current();
    return snapshot;
}

class Pages : public ::testing::Test {
protected:
    // Runs a command and keeps it for undo, with the list as it stood before and after it.
    template <class Command> void Do(Command command) {
        const Snapshot before = Take(pages);
        std::optional<PageCommand> done = command();
        ASSERT_TRUE(done.has_value());
        history.Record(std::move(*done));
        befores.push_back(before);
        afters.push_back(Take(pages));
    }

    PageList pages;
    PageHistory history;
    std::vector<Snapshot> befores;
    std::vector<Snapshot> afters;
};

TEST_F(Pages, SortInPassesEqualAndLaterNamesAndTheCurrentRowStaysOnItsPage) {
    Do([&] { return pages.SortIn(Files({"/p/c.jpg", "/p/a.jpg"}), ByPath); });
    EXPECT_EQ(pages.Paths(), (Strings{"/p/a.jpg", "/p/c.jpg"}));
    EXPECT_EQ(pages.Current(), 0); // the first row, as none was current
    pages.SetCurrent(1);
    Do([&] { return pages.SortIn(Files({"/p/b.jpg", "/p/c.jpg"}), ByPath); });
    // The same file twice is two rows: the new one above the old.
    EXPECT_EQ(pages.Paths(), (Strings{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg", "/p/c.jpg"}));
    EXPECT_EQ(pages.Current(), 3);
    EXPECT_NE(pages.At(2).id, pages.At(3).id);
    EXPECT_FALSE(pages.SortIn({}, ByPath).has_value()); // nothing added, nothing to undo
}

TEST_F(Pages, MoveRemoveAndClearSetTheCurrentRow) {
    Do([&] { return pages.Add(Files({"/p/a", "/p/b", "/p/c", "/p/d"})); });
    Do([&] { return pages.Move(0, 2); });
    EXPECT_EQ(pages.Paths(), (Strings{"/p/b", "/p/c", "/p/a", "/p/d"}));
    EXPECT_EQ(pages.Current(), 2);
    Do([&] { return pages.Move(3, 0); });
    EXPECT_EQ(pages.Paths(), (Strings{"/p/d", "/p/b", "/p/c", "/p/a"}));
    EXPECT_EQ(pages.Current(), 0);
    EXPECT_FALSE(pages.Move(1, 1).has_value());
    EXPECT_FALSE(pages.Move(1, 4).has_value());
    EXPECT_FALSE(pages.Remove(-1).has_value());

    Do([&] { return pages.Remove(3); }); // the last row: the one above becomes current
    EXPECT_EQ(pages.Current(), 2);
    Do([&] { return pages.Remove(0); }); // another row: the one taking its place
    EXPECT_EQ(pages.Paths(), (Strings{"/p/b", "/p/c"}));
    EXPECT_EQ(pages.Current(), 0);
    Do([&] { return pages.Clear(); });
    EXPECT_EQ(pages.Current(), -1);
    EXPECT_FALSE(pages.Clear().has_value()); // an empty list stays as it is
}

TEST_F(Pages, EditsBelongToOneRowEvenOfTheSameFile) {
    Do([&] { return pages.Add(Files({"/p/a.jpg", "/p/a.jpg"})); });
    Do([&] { return pages.Rotate(1, 1); });
    Do([&] { return pages.Rotate(1, -2); });
    EXPECT_EQ(pages.At(1).shape.edits.quarterTurns, 3);
    EXPECT_EQ(pages.At(0).shape.edits.quarterTurns, 0);
    EXPECT_FALSE(pages.Rotate(0, 4).has_value()); // a full turn changes nothing
    const folvane::SheetCorners corners{1, 2, 3, 4, 5, 6, 7, 8};
    Do([&] { return pages.SetCorners(0, corners); });
    EXPECT_EQ(pages.At(0).shape.handCorners, corners);
    EXPECT_FALSE(pages.At(1).shape.handCorners.has_value());
    Do([&] { return pages.Crop(1, CropRect{10, 20, 30, 40}); });
    Do([&] { return pages.ResetEdits(1); });
    EXPECT_EQ(pages.At(1).shape.edits, PageEdits{});
    EXPECT_FALSE(pages.ResetEdits(1).has_value());
    EXPECT_EQ(pages.Current(), 1); // an edited row is current
}

// A stack of three sheets fed twice: fronts f1 f2 f3, then the backs turned over, b3 b2 b1. The
// rows around the stack keep their places; only the rows named take part.
TEST_F(Pages, InterleavePairsEachFrontWithItsBackInTheRowsItIsGiven) {
    Do([&] {
        return pages.Add(Files({"/p/x", "/p/f1", "/p/f2", "/p/f3", "/p/b3", "/p/b2", "/p/b1"}));
    });
    pages.SetCurrent(4); // b3
    Do([&] { return pages.Interleave({1, 2, 3, 4, 5, 6}); });
    EXPECT_EQ(pages.Paths(),
              (Strings{"/p/x", "/p/f1", "/p/b1", "/p/f2", "/p/b2", "/p/f3", "/p/b3"}));
    EXPECT_EQ(pages.Current(), 6); // still on b3
    ASSERT_TRUE(history.Undo(pages));
    EXPECT_EQ(Take(pages), befores.back());
    ASSERT_TRUE(history.Redo(pages));
    EXPECT_EQ(Take(pages), afters.back());
}

TEST_F(Pages, InterleaveRefusesAnOddCountAndRowsOutsideTheList) {
    Do([&] { return pages.Add(Files({"/p/a", "/p/b", "/p/c", "/p/d", "/p/e"})); });
    EXPECT_FALSE(pages.Interleave({0, 1, 2, 3, 4}).has_value());
    EXPECT_FALSE(pages.Interleave({}).has_value());
    EXPECT_FALSE(pages.Interleave({3, 5}).has_value());
    EXPECT_FALSE(pages.Interleave({-1, 0}).has_value());
    EXPECT_FALSE(pages.Interleave({2, 1}).has_value()); // rows out of order
    EXPECT_FALSE(pages.Interleave({1, 1}).has_value());
    EXPECT_FALSE(pages.Interleave({0, 1}).has_value()); // one sheet: already in order
    EXPECT_EQ(pages.Paths(), (Strings{"/p/a", "/p/b", "/p/c", "/p/d", "/p/e"}));
    // Rows apart: 0, 2, 3, 4 hold a, c, d, e and become a, e, c, d.
    Do([&] { return pages.Interleave({0, 2, 3, 4}); });
    EXPECT_EQ(pages.Paths(), (Strings{"/p/a", "/p/b", "/p/e", "/p/c", "/p/d"}));
    EXPECT_STREQ(PageCommandName(PageCommandKind::Interleave), "双面合并");
}

// A crop is a rectangle of the turned picture: it turns with the page, and a turn there and back
// gives it back as it was. Without the file's size it could not follow, so the turn is refused.
TEST_F(Pages, ACropTurnsWithItsPage) {
    Do([&] { return pages.Add(Files({"/p/a.jpg"})); });
    Do([&] { return pages.Crop(0, CropRect{10, 20, 110, 70}); });
    EXPECT_FALSE(pages.Rotate(0, 1).has_value());
    folvane::ImageFacts facts;
    facts.ok = true;
    facts.width = 400;
    facts.height = 300;
    pages.Find(pages.At(0).id)->facts = facts;
    Do([&] { return pages.Rotate(0, 1); });
    // Turned right, the 400 x 300 picture is 300 x 400: its left edge is now its top.
    EXPECT_EQ(pages.At(0).shape.edits.crop, (CropRect{230, 10, 280, 110}));
    Do([&] { return pages.Rotate(0, 1); });
    EXPECT_EQ(pages.At(0).shape.edits.crop, (CropRect{290, 230, 390, 280}));
    Do([&] { return pages.Rotate(0, -2); });
    EXPECT_EQ(pages.At(0).shape.edits.crop, (CropRect{10, 20, 110, 70}));
    Do([&] { return pages.Rotate(0, -1); });
    EXPECT_EQ(pages.At(0).shape.edits.crop, (CropRect{20, 290, 70, 390}));
    ASSERT_TRUE(history.Undo(pages));
    EXPECT_EQ(pages.At(0).shape.edits.crop, (CropRect{10, 20, 110, 70}));
}

// Any sequence of commands undoes step by step to the list as it stood before each, and redoes
// to the list as it stood after each; a check that arrived meanwhile is kept.
TEST_F(Pages, EverySequenceUndoesAndRedoesToTheSameRowsOrderEditsAndCurrentRow) {
    Do([&] { return pages.SortIn(Files({"/p/d.jpg", "/p/b.jpg", "/p/a.jpg"}), ByPath); });
    pages.SetCurrent(2);
    Do([&] { return pages.Rotate(2, 1); });
    Do([&] { return pages.Move(2, 0); });
    Do([&] { return pages.SetCorners(1, folvane::SheetCorners{0, 0, 9, 0, 9, 9, 0, 9}); });
    Do([&] { return pages.Add(Files({"/p/c.jpg"})); });
    Do([&] { return pages.Interleave({0, 1, 2, 3}); });
    Do([&] { return pages.SortByName(ByPath); });
    Do([&] { return pages.Remove(1); });
    Do([&] { return pages.Crop(0, CropRect{1, 1, 5, 5}); });
    Do([&] { return pages.Clear(); });
    Do([&] { return pages.Add(Files({"/p/e.jpg"})); });
    const std::size_t removal = 7;
    const PageId removed = befores[removal].ids[1];
    pages.Find(removed)->facts = folvane::ImageFacts{};

    for (std::size_t step = befores.size(); step-- > 0;) {
        ASSERT_TRUE(history.Undo(pages));
        EXPECT_EQ(Take(pages), befores[step]) << "undo of step " << step;
    }
    EXPECT_FALSE(history.Undo(pages));
    for (std::size_t step = 0; step < afters.size(); ++step) {
        ASSERT_TRUE(history.Redo(pages));
        EXPECT_EQ(Take(pages), afters[step]) << "redo of step " << step;
    }
    EXPECT_FALSE(history.Redo(pages));

    // Back to before the removal: the row is there again, with its check.
    while (Take(pages) != befores[removal]) {
        ASSERT_TRUE(history.Undo(pages));
    }
    EXPECT_EQ(pages.RowOf(removed), 1);
    EXPECT_TRUE(pages.At(1).facts.has_value());
}

TEST_F(Pages, ANewCommandDropsWhatWasUndoneAndTheHistoryNamesItsNextSteps) {
    EXPECT_FALSE(history.NextUndo().has_value());
    Do([&] { return pages.Add(Files({"/p/a", "/p/b"})); });
    Do([&] { return pages.Remove(0); });
    EXPECT_EQ(history.NextUndo(), PageCommandKind::Remove);
    history.Undo(pages);
    EXPECT_EQ(history.NextRedo(), PageCommandKind::Remove);
    EXPECT_EQ(history.NextUndo(), PageCommandKind::Add);
    pages.SetCurrent(1);
    Do([&] { return pages.Rotate(1, 1); });
    EXPECT_FALSE(history.NextRedo().has_value());
    history.Undo(pages);
    EXPECT_EQ(pages.Paths(), (Strings{"/p/a", "/p/b"}));
    EXPECT_EQ(pages.At(1).shape.edits.quarterTurns, 0);
    EXPECT_STREQ(PageCommandName(PageCommandKind::Rotate), "旋转");
    EXPECT_STREQ(PageCommandName(PageCommandKind::Remove), "删除");
}

} // namespace
