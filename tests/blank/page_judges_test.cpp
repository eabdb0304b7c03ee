// The rule on many pages at once: every verdict the one judgePageFile gives for its page,
// whatever the order it is asked in, and a stop that leaves no caller waiting.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "blank/PageJudges.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using folvane::blank::PageJudges;
using folvane::blank::PageToJudge;
using namespace support;

// Grey paper with grain and, when `marked`, a short dark line where a word would be.
Picture Paper(bool marked, int line) {
    Picture picture = Blank(300, 420, 1);
    uint32_t random = 11;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            random = random * 1664525u + 1013904223u;
            const bool ink = marked && x >= 120 && x < 160 && y >= line && y < line + 6;
            picture.At(x, y, 0) = static_cast<uint8_t>(ink ? 50 : 228 + (random >> 16) % 7);
        }
    }
    return picture;
}

PageToJudge PageOf(const std::string &path) {
    PageToJudge page;
    page.path = path;
    return page;
}

class Judges : public ::testing::Test {
protected:
    // Pages alternating blank and marked, then a file that is no picture and one that is gone.
    void SetUp() override {
        for (int i = 0; i < 8; ++i) {
            const std::string path = dir / ("page" + std::to_string(i) + ".jpg");
            WriteFile(path, MakeJpeg(Paper(i % 2 == 1, 100 + 20 * i)));
            pages.push_back(PageOf(path));
        }
        WriteText(dir / "broken.jpg", "not a picture");
        pages.push_back(PageOf(dir / "broken.jpg"));
        pages.push_back(PageOf(dir / "gone.jpg"));
    }
    static bool RuleSays(const PageToJudge &page) {
        const auto verdict = folvane::blank::judgePageFile(page);
        return verdict && verdict->blank;
    }
    TempDir dir;
    std::vector<PageToJudge> pages;
};

TEST_F(Judges, EachVerdictIsTheRulesOnItsPageInAnyOrderAsked) {
    std::vector<bool> expected;
    for (const PageToJudge &page : pages) {
        expected.push_back(RuleSays(page));
    }
    ASSERT_TRUE(expected[0]);
    ASSERT_FALSE(expected[1]);
    for (unsigned threads : {1u, 3u, 16u}) {
        PageJudges judges(pages, threads);
        EXPECT_EQ(judges.blank(pages.size() - 1), false) << threads;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(judges.blank(i), expected[i]) << "page " << i << ", " << threads;
        }
        EXPECT_FALSE(judges.blank(pages.size())); // past the end: no page, not blank
    }
}

TEST_F(Judges, AStopLeavesNoCallerWaitingAndCallsNoMarkedPageBlank) {
    {
        PageJudges judges(pages, 1);
        judges.stop();
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i % 2 == 1) {
                EXPECT_FALSE(judges.blank(i)) << "page " << i;
            } else {
                judges.blank(i); // judged before the stop, or not at all: either answer
            }
        }
    }
    // Left with pages still to judge and no verdict read, the judges stop when they go.
    PageJudges unread(pages, 2);
}

TEST(JudgesOfNothing, AnswerNotBlank) {
    PageJudges judges({});
    EXPECT_FALSE(judges.blank(0));
}

} // namespace
