// Where pages land: the pictures folder found as the desktop names it, a folder per scan
// session that never reuses one, and page numbers that never replace a page already there.

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

#include "tests/scan/ScanRun.h"

namespace {

using namespace folvane::scan;
using namespace scan_test;

// Sets the variables for the test and puts back what was there.
class Environment {
public:
    void Set(const char *name, const std::string &value) {
        Remember(name);
        ::setenv(name, value.c_str(), 1);
    }
    void Unset(const char *name) {
        Remember(name);
        ::unsetenv(name);
    }
    ~Environment() {
        for (const auto &[name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
        ::tzset();
    }

private:
    void Remember(const char *name) {
        const char *value = std::getenv(name);
        saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class PicturesFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.Set("HOME", dir / "home");
        env.Set("XDG_CONFIG_HOME", dir.Path());
        env.Unset("XDG_PICTURES_DIR");
    }
    support::TempDir dir;
    Environment env;
};

TEST_F(PicturesFolderTest, TheUserDirsEntryInTheUsersLanguage) {
    support::WriteText(dir / "user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                               "XDG_DESKTOP_DIR=\"$HOME/桌面\"\n"
                                               "XDG_PICTURES_DIR=\"$HOME/图片\"\n");
    EXPECT_EQ(picturesFolder(), dir / "home/图片");
    EXPECT_EQ(defaultSessionParent(), dir / "home/图片/Folvane");
}

TEST_F(PicturesFolderTest, AnAbsoluteEntryWithEscapes) {
    support::WriteText(dir / "user-dirs.dirs", "XDG_PICTURES_DIR=\"/srv/my \\\"scans\\\"/\"\n");
    EXPECT_EQ(picturesFolder(), "/srv/my \"scans\"");
}

TEST_F(PicturesFolderTest, TheEnvironmentFirstAndHomeWhenNothingSays) {
    EXPECT_EQ(picturesFolder(), dir / "home");
    support::WriteText(dir / "user-dirs.dirs", "XDG_PICTURES_DIR=\"relative/path\"\n");
    EXPECT_EQ(picturesFolder(), dir / "home");
    env.Set("XDG_PICTURES_DIR", "/data/pictures");
    EXPECT_EQ(picturesFolder(), "/data/pictures");
}

TEST(SessionFolderTest, NamedAfterTheMinuteAndNeverReused) {
    support::TempDir dir;
    Environment env;
    env.Set("TZ", "UTC");
    ::tzset();
    const std::time_t when = 1709629620; // 2024-03-05 09:07 UTC
    const std::string parent = dir / "Folvane";
    EXPECT_EQ(createSessionFolder(parent, when), parent + "/扫描 2024-03-05 0907");
    EXPECT_EQ(createSessionFolder(parent, when), parent + "/扫描 2024-03-05 0907 (2)");
    EXPECT_EQ(createSessionFolder(parent, when), parent + "/扫描 2024-03-05 0907 (3)");
    EXPECT_EQ(support::Listing(parent).size(), 3u);
}

TEST(SessionFolderTest, AFolderThatCannotBeMadeIsAWriteError) {
    support::TempDir dir;
    support::WriteText(dir / "file", "not a folder");
    try {
        PageFolder folder(dir / "file/pages");
        ADD_FAILURE() << "a folder was made inside a file";
    } catch (const ScanFailure &failure) {
        EXPECT_EQ(failure.error().kind, ScanErrorKind::WriteFailed);
        EXPECT_EQ(failure.error().path, dir / "file/pages");
        EXPECT_NE(std::string(failure.what()).find(dir / "file/pages"), std::string::npos);
    }
}

TEST(PageNumbersTest, AScanIntoAFolderWithPagesAddsAfterTheHighest) {
    support::TempDir dir;
    support::WriteText(dir / "page-007.png", "a page of an earlier scan");
    support::WriteText(dir / "page-010.tif", "another");
    support::WriteText(dir / "notes.txt", "not a page");
    ScanSettings settings;
    settings.source = ScanSource::Feeder;
    settings.resolution = 50;
    std::unique_ptr<Scanner> scanner = OpenTestScanner(settings);
    PageFolder folder(dir.Path());
    ScanOutcome outcome = ScanStack(*scanner, folder, 2);
    ASSERT_EQ(outcome.pages.size(), 2u);
    EXPECT_EQ(outcome.pages[0].path, dir / "page-011.png");
    EXPECT_EQ(outcome.pages[1].path, dir / "page-012.png");
    EXPECT_EQ(support::ReadText(dir / "page-007.png"), "a page of an earlier scan");
    EXPECT_EQ(support::Listing(dir.Path()).size(), 5u);
}

} // namespace
