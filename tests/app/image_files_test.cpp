#include <gtest/gtest.h>

#include <filesystem>

#include "app/ImageFiles.h"
#include "platform/ui/NaturalCollation.h"
#include "tests/support/Files.h"

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class Folder : public ::testing::Test {
protected:
    Folder() { fs::create_directories(root / "scans" / "inner"); }
    std::string Touch(const fs::path &path) {
        support::WriteText((root / path).string(), "x");
        return (root / path).string();
    }

    support::TempDir dir;
    const fs::path root = dir.Path();
    const NaturalCollation collation;
};

TEST_F(Folder, AFolderGivesItsImageFilesInNaturalOrderWithoutSubfolders) {
    const std::string p10 = Touch("scans/page-10.jpg");
    const std::string p2 = Touch("scans/page-2.TIF");
    const std::string p1 = Touch("scans/page-1.png");
    const std::string upper = Touch("scans/PAGE-3.jpg");
    Touch("scans/notes.txt");
    Touch("scans/inner/page-3.jpg");
    fs::create_directories(root / "scans" / "folder.jpg");
    EXPECT_EQ(imageFilesInFolder((root / "scans").string(), collation),
              (Strings{p1, p2, upper, p10}));
    EXPECT_TRUE(imageFilesInFolder((root / "missing").string(), collation).empty());
}

TEST_F(Folder, ADropTakesImageFilesAndFoldersInTheOrderDropped) {
    const std::string loose = Touch("z.jpeg");
    Touch("readme.txt");
    const std::string inside = Touch("scans/a.jpg");
    const std::string pdf = Touch("Contract.PDF");
    EXPECT_EQ(
        imageFilesOfDrop({loose, (root / "readme.txt").string(), pdf, (root / "scans").string()},
                         collation),
        (Strings{loose, pdf, inside}));
}

TEST_F(Folder, CommandLineFilesBecomeAbsoluteAndKeepTheirOrderWhateverTheirName) {
    const fs::path before = fs::current_path();
    fs::current_path(root);
    const std::string inside = Touch("scans/b.jpg");
    const Strings files = imageFilesOfArguments({"notes.pdf", "scans", "../x/../y.jpg"}, collation);
    fs::current_path(before);
    EXPECT_EQ(files, (Strings{(root / "notes.pdf").string(), inside,
                              (root.parent_path() / "y.jpg").string()}));
}

} // namespace
