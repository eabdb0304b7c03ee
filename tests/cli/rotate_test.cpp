// folvane-pdf --rotate: pages of the document turned by quarter turns, the images' data as without
// the option; a rotation that names no page of the document refused before anything is written.

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/PageTurns.h"
#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/Pdf.h"

namespace {

namespace fs = std::filesystem;
using namespace cli_test;
using support::PageSize;

constexpr PageSize kPortrait{595, 842};
constexpr PageSize kLandscape{842, 595};

TEST(RotateOption, TurnsThePagesNamedCountingEachPageOfATiff) {
    support::TempDir dir;
    WriteJpeg(dir / "wide.jpg", 160, 80);
    WriteTiffPages(dir / "three.tif", {{160, 80}, {160, 80}, {160, 80}});
    const std::string images = support::Quote(dir / "wide.jpg") + " " +
                               support::Quote(dir / "three.tif") + " " +
                               support::Quote(dir / "wide.jpg");
    const std::string out = dir / "out.pdf";
    // Pages 2 and 4 a quarter clockwise, the last a quarter back, page 3 twice a quarter (one
    // page named twice by one option turns once) and once more by a second option.
    support::RunResult run = RunFolvanePdf("--rotate=90:2,4-z --rotate=-90:z --rotate 180:3,3 "
                                           "--rotate=+450:3 -o " +
                                           support::Quote(out) + " " + images);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(support::PageSizes(out),
              (std::vector<PageSize>{kLandscape, kPortrait, kPortrait, kPortrait, kLandscape}));
    const support::Bytes jpeg = support::ReadFile(dir / "wide.jpg");
    const support::Bytes pdf = support::ReadFile(out);
    EXPECT_NE(std::search(pdf.begin(), pdf.end(), jpeg.begin(), jpeg.end()), pdf.end());

    run = RunFolvanePdf("--rotate=-90 -o " + support::Quote(out) + " " + images);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(support::PageSizes(out), std::vector<PageSize>(5, kPortrait));
}

TEST(RotateOption, ABadRotationIsAUsageErrorThatWritesNothing) {
    support::TempDir dir;
    WriteJpeg(dir / "a.jpg", 40, 30);
    WriteTiffPages(dir / "two.tif", {{40, 30}, {40, 30}});
    const std::string out = dir / "out.pdf";
    const std::string old = "%PDF-1.4 the document of an earlier run\n";
    support::WriteFile(out, support::Bytes(old.begin(), old.end()));
    struct Refused {
        const char *option;
        const char *says;
    };
    for (const Refused &bad :
         {Refused{"--rotate=45", "multiple of 90"}, Refused{"--rotate=ninety", "multiple of 90"},
          Refused{"--rotate=90:0", "\"0\" is not a page"},
          Refused{"--rotate=90:", "\"\" is not a page"},
          Refused{"--rotate=90:1,,2", "\"\" is not a page"},
          Refused{"--rotate=90:7-3", "7-3 run backwards"},
          Refused{"--rotate=90:z-1", "z-1 run backwards"},
          Refused{"--rotate=90:4", "page 4, past the last page"},
          Refused{"--rotate=90:2-9", "page 9, past the last page"},
          Refused{"--rotate=90:99999999999", "not a page"}}) {
        const support::RunResult run =
            RunFolvanePdf(std::string(bad.option) + " -o " + support::Quote(out) + " " +
                          support::Quote(dir / "a.jpg") + " " + support::Quote(dir / "two.tif"));
        EXPECT_EQ(run.exitCode, 2) << bad.option << ": " << run.err;
        EXPECT_NE(run.err.find(bad.says), std::string::npos) << bad.option << ": " << run.err;
        const support::Bytes kept = support::ReadFile(out);
        EXPECT_EQ(std::string(kept.begin(), kept.end()), old) << bad.option;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 3)
            << bad.option;
    }
    // --first-page-only leaves one page a file: page 3 is past the end then.
    const support::RunResult run =
        RunFolvanePdf("--first-page-only --rotate=90:3 -o " + support::Quote(out) + " " +
                      support::Quote(dir / "a.jpg") + " " + support::Quote(dir / "two.tif"));
    EXPECT_EQ(run.exitCode, 2) << run.err;
}

TEST(RotateOption, TurnsAddUpByPageAndWholeTurnsCancel) {
    using folvane::cli::parseTurnRule;
    std::vector<folvane::cli::TurnRule> rules;
    std::string reason;
    for (const char *text : {"90:1-2", "-90:2", "270:z", "360", "+180:3"}) {
        auto rule = parseTurnRule(text, reason);
        ASSERT_TRUE(rule) << text << ": " << reason;
        rules.push_back(*rule);
    }
    EXPECT_TRUE(folvane::cli::namesPages(rules));
    std::map<std::size_t, int> turns;
    ASSERT_TRUE(folvane::cli::turnsByPage(rules, 3, turns, reason)) << reason;
    EXPECT_EQ(turns[0] % 4, 1);
    EXPECT_EQ(turns[1] % 4, 0);
    EXPECT_EQ(((turns[2] % 4) + 4) % 4, (3 + 2) % 4);
    turns.clear();
    EXPECT_FALSE(folvane::cli::turnsByPage(rules, 0, turns, reason)); // z of no pages
}

} // namespace
