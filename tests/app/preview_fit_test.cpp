// Where the preview puts a picture inside its frame.
#include <gtest/gtest.h>

#include "app/PreviewFit.h"

namespace {

void ExpectRect(const UiRect &r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(PreviewFit, WiderPictureFillsTheWidthCentredVertically) {
    ExpectRect(FitPreview(UiRect{0, 0, 200, 250}, 400, 300), 0, 50, 200, 200);
}

TEST(PreviewFit, TallerPictureFillsTheHeightCentredHorizontally) {
    ExpectRect(FitPreview(UiRect{0, 0, 250, 200}, 300, 400), 50, 0, 200, 200);
}

TEST(PreviewFit, EqualProportionsFillTheFrame) {
    ExpectRect(FitPreview(UiRect{0, 0, 192, 260}, 96, 130), 0, 0, 192, 260);
    ExpectRect(FitPreview(UiRect{0, 0, 192, 260}, 1920, 2600), 0, 0, 192, 260);
}

TEST(PreviewFit, OddRoomTruncatesAndKeepsTheOffset) {
    // 3 x 1 in 10 x 10 at (5, 7): height 10 / 3 = 3.33, top 7 + 3.33 = 10.33.
    ExpectRect(FitPreview(UiRect{5, 7, 15, 17}, 3, 1), 5, 10, 15, 13);
    // 1 x 3 in 10 x 10: width 3.33, left 3.33 truncated to 3, right 3 + 3.33 = 6.33.
    ExpectRect(FitPreview(UiRect{0, 0, 10, 10}, 1, 3), 3, 0, 6, 10);
}

TEST(PreviewFit, ExtremePicturesStayInsideTheFrame) {
    const UiRect wide = FitPreview(UiRect{0, 0, 200, 250}, 4000000, 1);
    EXPECT_EQ(wide.left, 0);
    EXPECT_EQ(wide.right, 200);
    EXPECT_GE(wide.top, 0);
    EXPECT_LE(wide.bottom, 250);
    const UiRect tall = FitPreview(UiRect{0, 0, 200, 250}, 1, 4000000);
    EXPECT_EQ(tall.top, 0);
    EXPECT_EQ(tall.bottom, 250);
    EXPECT_GE(tall.left, 0);
    EXPECT_LE(tall.right, 200);
    const UiRect empty = FitPreview(UiRect{0, 0, 0, 0}, 10, 10);
    ExpectRect(empty, 0, 0, 0, 0);
}

} // namespace
