// Pictures no sheet can be found in, and pictures that are not pictures: never a crash, never
// an exception; a clear error for what cannot be read, a sound "kept whole" page for the rest.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "correction/Correction.h"

namespace {

struct Raw {
    std::vector<uint8_t> samples;
    folvane::correction::Picture picture;
};

Raw filled(int width, int height, int channels, uint8_t value) {
    Raw raw;
    raw.samples.assign(static_cast<size_t>(width) * height * channels, value);
    raw.picture.pixels = raw.samples.data();
    raw.picture.size = raw.samples.size();
    raw.picture.width = width;
    raw.picture.height = height;
    raw.picture.channels = channels;
    raw.picture.stride = static_cast<size_t>(width) * channels;
    return raw;
}

void expectSoundWholePage(const folvane::correction::Picture &picture, const char *what) {
    folvane::correction::SheetSearch search = folvane::correction::findSheet(picture);
    EXPECT_TRUE(!search.failure) << what << ": " << search.failure.detail;
    EXPECT_FALSE(search.found) << what;
    folvane::correction::CorrectedPage page = folvane::correction::correctPage(picture);
    ASSERT_TRUE(!page.failure) << what << ": " << page.failure.detail;
    EXPECT_FALSE(page.facts.found) << what;
    ASSERT_GT(page.width, 0) << what;
    ASSERT_GT(page.height, 0) << what;
    EXPECT_EQ(page.inkRowBytes, static_cast<size_t>(page.width + 7) / 8) << what;
    EXPECT_EQ(page.ink.size(), page.inkRowBytes * page.height) << what;
    EXPECT_EQ(page.grey.size(), static_cast<size_t>(page.width) * page.height) << what;
    if (page.content == folvane::correction::ContentKind::Colour) {
        EXPECT_EQ(page.background.size(),
                  static_cast<size_t>(page.backgroundWidth) * page.backgroundHeight * 3)
            << what;
    }
}

TEST(HostileInput, PicturesWithoutASheetAreKeptWhole) {
    struct Case {
        int width, height, channels;
        uint8_t value;
        const char *what;
    } cases[] = {{1, 1, 3, 200, "1x1"},         {3, 3, 1, 0, "3x3 black"},
                 {17, 9, 3, 128, "tiny"},       {10000, 3, 3, 90, "10000x3"},
                 {3, 10000, 1, 250, "3x10000"}, {800, 600, 3, 255, "white"},
                 {800, 600, 3, 0, "black"},     {640, 480, 1, 128, "grey"}};
    for (const Case &c : cases) {
        Raw raw = filled(c.width, c.height, c.channels, c.value);
        for (folvane::correction::SourceKind kind :
             {folvane::correction::SourceKind::Unknown, folvane::correction::SourceKind::Photo,
              folvane::correction::SourceKind::Scan}) {
            raw.picture.kind = kind;
            expectSoundWholePage(raw.picture, c.what);
        }
    }
}

TEST(HostileInput, NoiseAndOddOrientationsGiveSoundPages) {
    Raw raw = filled(300, 200, 3, 0);
    uint32_t state = 12345;
    for (uint8_t &s : raw.samples) {
        state = state * 1103515245u + 12345u;
        s = static_cast<uint8_t>(state >> 24);
    }
    for (int orientation : {0, 1, 5, 6, 8, 9, -3}) {
        raw.picture.orientation = orientation;
        folvane::correction::CorrectedPage page = folvane::correction::correctPage(raw.picture);
        ASSERT_TRUE(!page.failure) << page.failure.detail;
        EXPECT_EQ(page.grey.size(), static_cast<size_t>(page.width) * page.height);
    }
}

TEST(HostileInput, WhatCannotBeReadGivesAClearError) {
    Raw raw = filled(40, 30, 3, 100);
    struct Case {
        const char *what;
        void (*spoil)(folvane::correction::Picture &);
        const char *message;
    } cases[] = {
        {"no pixels", [](folvane::correction::Picture &p) { p.pixels = nullptr; }, "no pixels"},
        {"0 x 0", [](folvane::correction::Picture &p) { p.width = p.height = 0; }, "no pixels"},
        {"two channels", [](folvane::correction::Picture &p) { p.channels = 2; }, "2 channels"},
        {"short stride", [](folvane::correction::Picture &p) { p.stride = 10; }, "stride"},
        {"short buffer", [](folvane::correction::Picture &p) { p.size = 100; }, "fewer than"},
        {"huge", [](folvane::correction::Picture &p) { p.width = p.height = 60000; },
         "larger than"},
        {"negative", [](folvane::correction::Picture &p) { p.width = -5; }, "no pixels"},
    };
    for (const Case &c : cases) {
        folvane::correction::Picture picture = raw.picture;
        c.spoil(picture);
        folvane::correction::CorrectedPage page = folvane::correction::correctPage(picture);
        EXPECT_NE(page.failure.detail.find(c.message), std::string::npos)
            << c.what << ": " << page.failure.detail;
        EXPECT_EQ(page.failure.kind, folvane::correction::Failure::Kind::BadPicture) << c.what;
        EXPECT_TRUE(page.ink.empty() && page.grey.empty()) << c.what;
        folvane::correction::SheetSearch search = folvane::correction::findSheet(picture);
        EXPECT_NE(search.failure.detail.find(c.message), std::string::npos) << c.what;
    }
}

TEST(HostileInput, HandPlacedCornersAreUsedOrRefused) {
    Raw raw = filled(400, 300, 3, 230);
    raw.picture.corners =
        folvane::correction::Corners{{{50, 40}, {350, 30}, {360, 280}, {40, 270}}};
    folvane::correction::SheetSearch search = folvane::correction::findSheet(raw.picture);
    EXPECT_TRUE(search.found);
    EXPECT_DOUBLE_EQ(search.corners[2].x, 360);
    folvane::correction::CorrectedPage page = folvane::correction::correctPage(raw.picture);
    ASSERT_TRUE(!page.failure) << page.failure.detail;
    EXPECT_TRUE(page.facts.found);
    EXPECT_NEAR(page.width, 310, 15);
    EXPECT_NEAR(page.height, 245, 15);

    raw.picture.corners =
        folvane::correction::Corners{{{50, 40}, {40, 270}, {350, 30}, {360, 280}}};
    const folvane::correction::Failure crossed =
        folvane::correction::correctPage(raw.picture).failure;
    EXPECT_EQ(crossed.kind, folvane::correction::Failure::Kind::BadCorners);
    EXPECT_NE(crossed.detail.find("four-sided"), std::string::npos);
    raw.picture.corners = folvane::correction::Corners{{{0, 0}, {1e300, 0}, {1, 1}, {0, 1}}};
    EXPECT_TRUE(static_cast<bool>(folvane::correction::correctPage(raw.picture).failure));
}

} // namespace
