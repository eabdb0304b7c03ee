// A set of documents written as one: the members' names, the drafts put in place over older
// files, a rename failing part way undone, the caller's hooks around the folder and the renames;
// and the run's pages cut into parts with what the caller knew of each row carried over.
#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/BlankSeparators.h"
#include "pdf/DocumentSet.h"
#include "pdf/PageParts.h"
#include "tests/support/Files.h"

namespace {

using folvane::DocumentSet;
using folvane::SetProblem;
using namespace support;

TEST(DocumentSetNames, NumbersGoBeforeThePdfEndingOrAfterTheName) {
    EXPECT_EQ(folvane::memberName("/a/out.pdf", 1), "/a/out-001.pdf");
    EXPECT_EQ(folvane::memberName("out.PDF", 12), "out-012.PDF");
    EXPECT_EQ(folvane::memberName("/a.pdf/out", 3), "/a.pdf/out-003");
    EXPECT_EQ(folvane::memberName("x.pdf", 1000), "x-1000.pdf");
    EXPECT_EQ(folvane::memberName("pdf", 2), "pdf-002");
}

class DocumentSetTest : public ::testing::Test {
protected:
    // Prepares a set of `count` for dir/out.pdf and writes the drafts `drafts` names.
    void Prepare(DocumentSet &set, std::size_t count, const std::vector<std::size_t> &drafts) {
        ASSERT_FALSE(set.prepare(dir / "out.pdf", count, false).has_value());
        for (std::size_t i : drafts) {
            WriteText(set.draft(i), "new " + std::to_string(i + 1));
        }
    }

    TempDir dir;
};

TEST_F(DocumentSetTest, TheDraftsReplaceTheOlderFilesAndNothingElseStays) {
    WriteText(dir / "out-002.pdf", "old 2");
    {
        DocumentSet set;
        Prepare(set, 3, {0, 1, 2});
        EXPECT_FALSE(set.commit().has_value());
    }
    EXPECT_EQ(Listing(dir.Path()),
              (std::set<std::string>{"out-001.pdf", "out-002.pdf", "out-003.pdf"}));
    EXPECT_EQ(ReadText(dir / "out-002.pdf"), "new 2");
}

TEST_F(DocumentSetTest, ARenameFailingPartWayPutsTheOlderFilesBack) {
    WriteText(dir / "out-001.pdf", "old 1");
    WriteText(dir / "out-003.pdf", "old 3");
    {
        DocumentSet set;
        Prepare(set, 3, {0, 2}); // the second draft is missing: its rename fails
        const std::optional<SetProblem> problem = set.commit();
        ASSERT_TRUE(problem.has_value());
        EXPECT_EQ(problem->kind, SetProblem::Kind::CannotPutInPlace);
        EXPECT_EQ(problem->path, dir / "out-002.pdf");
        EXPECT_EQ(problem->error, ENOENT);
    }
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"out-001.pdf", "out-003.pdf"}));
    EXPECT_EQ(ReadText(dir / "out-001.pdf"), "old 1");
    EXPECT_EQ(ReadText(dir / "out-003.pdf"), "old 3");
}

TEST_F(DocumentSetTest, ATargetThatIsAFolderOrNotTheUsersIsRefusedBeforeAnythingIsMade) {
    ASSERT_EQ(::mkdir((dir / "out-002.pdf").c_str(), 0700), 0);
    {
        DocumentSet set;
        const std::optional<SetProblem> problem = set.prepare(dir / "out.pdf", 3, false);
        ASSERT_TRUE(problem.has_value());
        EXPECT_EQ(problem->kind, SetProblem::Kind::TargetIsFolder);
        EXPECT_EQ(problem->path, dir / "out-002.pdf");
    }
    WriteText(dir / "mine-001.pdf", "old");
    ASSERT_EQ(::chmod((dir / "mine-001.pdf").c_str(), 0444), 0);
    if (::access((dir / "mine-001.pdf").c_str(), W_OK) == 0) {
        GTEST_SKIP() << "running as root: every file is writable";
    }
    DocumentSet refused;
    const std::optional<SetProblem> problem = refused.prepare(dir / "mine.pdf", 1, false);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->kind, SetProblem::Kind::TargetNotWritable);
    DocumentSet forced;
    EXPECT_FALSE(forced.prepare(dir / "mine.pdf", 1, true).has_value());
}

TEST_F(DocumentSetTest, TheHooksMakeTheFolderWrapTheRenamesAndForgetTheFolder) {
    std::vector<std::string> calls;
    folvane::DocumentSetHooks hooks;
    hooks.createFolder = [&calls](std::string &path) {
        calls.push_back("create");
        return ::mkdtemp(path.data()) != nullptr;
    };
    hooks.forgetFolder = [&calls] { calls.push_back("forget"); };
    hooks.aroundCommit = [&](const std::function<void()> &renames) {
        calls.push_back(std::string("before, in place: ") +
                        (::access((dir / "out-001.pdf").c_str(), F_OK) == 0 ? "yes" : "no"));
        renames();
        calls.push_back(std::string("after, in place: ") +
                        (::access((dir / "out-001.pdf").c_str(), F_OK) == 0 ? "yes" : "no"));
    };
    {
        DocumentSet set(hooks);
        Prepare(set, 1, {0});
        EXPECT_FALSE(set.commit().has_value());
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"create", "before, in place: no",
                                               "after, in place: yes", "forget"}));
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"out-001.pdf"}));

    hooks.createFolder = [](std::string &) {
        errno = EACCES;
        return false;
    };
    DocumentSet refused(hooks);
    const std::optional<SetProblem> problem = refused.prepare(dir / "out.pdf", 1, false);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->kind, SetProblem::Kind::CannotCreateFolder);
    EXPECT_EQ(problem->path, dir.Path());
    EXPECT_EQ(problem->error, EACCES);
}

TEST(DocumentParts, ARowsVerdictAndPageGoWithItIntoItsPart) {
    // Three rows: a page, a TIFF of three pages, a page; the caller knows row 0 is blank and row
    // 2 is not, and reads nothing for them (their files do not exist).
    const std::vector<folvane::RunPage> pages = folvane::runPages({1, 3, 1});
    ASSERT_EQ(pages.size(), 5u);
    folvane::GenerateOptions options;
    options.blankRows = {{0, true}, {2, false}};
    const std::vector<std::string> inputs = {"/nowhere/a.jpg", "/nowhere/b.tif", "/nowhere/c.jpg"};
    const std::vector<bool> blank = folvane::blankPages(pages, inputs, options);
    EXPECT_EQ(blank, (std::vector<bool>{true, false, false, false, false}));

    options.pageTurns = {{3, 1}}; // the TIFF's third page, by its place in the run
    const std::vector<folvane::PagePart> parts =
        folvane::partsBetween(pages, {false, false, true, false, false});
    ASSERT_EQ(parts.size(), 2u);
    const folvane::PartRun second = folvane::partRun(parts[1], inputs, options);
    EXPECT_EQ(second.rows, (std::vector<std::string>{"/nowhere/b.tif", "/nowhere/c.jpg"}));
    EXPECT_EQ(second.options.rowPages, (std::map<std::size_t, int>{{0, 3}, {1, 1}}));
    EXPECT_EQ(second.options.blankRows, (std::map<std::size_t, bool>{{1, false}}));
    EXPECT_EQ(second.options.pageTurns, (std::map<std::size_t, int>{{0, 1}}));
    const folvane::PartRun first = folvane::partRun(parts[0], inputs, options);
    EXPECT_EQ(first.options.blankRows, (std::map<std::size_t, bool>{{0, true}}));
    EXPECT_TRUE(first.options.pageTurns.empty());
}

} // namespace
