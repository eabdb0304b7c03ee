// The rule on a photo's file: a phone-sized colour JPEG is read small and in grey, and what a
// person put on the page is still found there, whichever way the camera held it.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "blank/PageFile.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

using folvane::blank::PageToJudge;
using namespace support;

constexpr int kWidth = 3264; // 8 megapixels, read at three eighths: 1224 x 918
constexpr int kHeight = 2448;

// Warm paper with grain and, when `inked`, a short blue pen stroke: 5 x 36 pixels, which the
// reduced page keeps as a mark only if it is read in the right place at the right size.
Picture Photo(bool inked) {
    Picture picture = Blank(kWidth, kHeight, 3);
    uint32_t random = 5;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            random = random * 1664525u + 1013904223u;
            const int grain = static_cast<int>((random >> 16) % 9) - 4;
            const bool ink = inked && x >= 2000 && x < 2005 && y >= 900 && y < 936;
            picture.At(x, y, 0) = static_cast<uint8_t>(ink ? 40 : 236 + grain);
            picture.At(x, y, 1) = static_cast<uint8_t>(ink ? 60 : 228 + grain);
            picture.At(x, y, 2) = static_cast<uint8_t>(ink ? 150 : 210 + grain);
        }
    }
    return picture;
}

bool JudgedBlank(const std::string &path) {
    PageToJudge page;
    page.path = path;
    const auto verdict = folvane::blank::judgePageFile(page);
    EXPECT_TRUE(verdict.has_value()) << path;
    return verdict && verdict->blank;
}

TEST(PageFile, APenStrokeOnALargeColourPhotoIsFoundAndPaperAloneIsBlank) {
    TempDir dir;
    for (int orientation : {1, 6}) {
        JpegOptions options;
        options.exifOrientation = orientation;
        WriteFile(dir / "paper.jpg", MakeJpeg(Photo(false), options));
        WriteFile(dir / "stroke.jpg", MakeJpeg(Photo(true), options));
        EXPECT_TRUE(JudgedBlank(dir / "paper.jpg")) << "orientation " << orientation;
        EXPECT_FALSE(JudgedBlank(dir / "stroke.jpg")) << "orientation " << orientation;
    }
}

} // namespace
