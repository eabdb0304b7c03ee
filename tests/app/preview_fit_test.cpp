// Where the preview puts a picture inside its frame, and the page with the picture on it.
#include <gtest/gtest.h>

#include "app/PreviewFit.h"
#include "app/PreviewPicture.h"

namespace {

void ExpectRect(const UiRect &r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(PreviewFit, WiderPictureFillsTheWidthCentredVertically) {
    ExpectRect(fitPreview(UiRect{0, 0, 200, 250}, 400, 300), 0, 50, 200, 200);
}

TEST(PreviewFit, TallerPictureFillsTheHeightCentredHorizontally) {
    ExpectRect(fitPreview(UiRect{0, 0, 250, 200}, 300, 400), 50, 0, 200, 200);
}

TEST(PreviewFit, EqualProportionsFillTheFrame) {
    ExpectRect(fitPreview(UiRect{0, 0, 192, 260}, 96, 130), 0, 0, 192, 260);
    ExpectRect(fitPreview(UiRect{0, 0, 192, 260}, 1920, 2600), 0, 0, 192, 260);
}

TEST(PreviewFit, OddRoomTruncatesAndKeepsTheOffset) {
    // 3 x 1 in 10 x 10 at (5, 7): height 10 / 3 = 3.33, top 7 + 3.33 = 10.33.
    ExpectRect(fitPreview(UiRect{5, 7, 15, 17}, 3, 1), 5, 10, 15, 13);
    // 1 x 3 in 10 x 10: width 3.33, left 3.33 truncated to 3, right 3 + 3.33 = 6.33.
    ExpectRect(fitPreview(UiRect{0, 0, 10, 10}, 1, 3), 3, 0, 6, 10);
}

TEST(PreviewFit, ExtremePicturesStayInsideTheFrame) {
    const UiRect wide = fitPreview(UiRect{0, 0, 200, 250}, 4000000, 1);
    EXPECT_EQ(wide.left, 0);
    EXPECT_EQ(wide.right, 200);
    EXPECT_GE(wide.top, 0);
    EXPECT_LE(wide.bottom, 250);
    const UiRect tall = fitPreview(UiRect{0, 0, 200, 250}, 1, 4000000);
    EXPECT_EQ(tall.top, 0);
    EXPECT_EQ(tall.bottom, 250);
    EXPECT_GE(tall.left, 0);
    EXPECT_LE(tall.right, 200);
    const UiRect empty = fitPreview(UiRect{0, 0, 0, 0}, 10, 10);
    ExpectRect(empty, 0, 0, 0, 0);
}

// A 200 x 290 frame: the sheet fits 194 x 284 (a margin of 3), so it fills the width and is
// 194 * 842 / 595 = 274.5 high, 4.7 below the margin: (3, 7) to (197, 281).
const UiRect kFrame{0, 0, 200, 290};

TEST(PreviewPage, AClassPictureSitsAtTheSheetsLowerLeft) {
    // 800 x 600 at 0.42: 336 x 252 points; 194 / 595 and 274 / 842 pixels a point.
    const folvane::PagePlacement placement{595, 842, 0, 0, 0.42f, 0};
    const PreviewPage page = layOutPreviewPage(kFrame, placement, 800, 600);
    ExpectRect(page.sheet, 3, 7, 197, 281);
    ExpectRect(page.picture, 3, 281 - 82, 3 + 110, 281);
}

TEST(PreviewPage, APictureLargerThanThePageReachesPastTheSheet) {
    const folvane::PagePlacement placement{595, 842, 0, 0, 0.525f, 0.6};
    const PreviewPage page = layOutPreviewPage(kFrame, placement, 3000, 1000);
    EXPECT_EQ(page.picture.left, page.sheet.left);
    EXPECT_EQ(page.picture.bottom, page.sheet.bottom);
    EXPECT_GT(page.picture.right, page.sheet.right + 300); // 1575 points wide
}

TEST(PreviewPage, AFittedLandscapePictureIsCentredOnALandscapeSheet) {
    // A4 landscape in 194 x 284: 194 wide, 137.1 high, 73.5 below the margin; the picture
    // 842 x 421 points from 87 points up: 194 x 97 pixels, 20 above the sheet's bottom.
    const folvane::PagePlacement placement{842, 595, 0, 87.0f, 842.0f / 1200, 0};
    const PreviewPage page = layOutPreviewPage(kFrame, placement, 1200, 600);
    ExpectRect(page.sheet, 3, 76, 197, 213);
    ExpectRect(page.picture, 3, 213 - 20 - 97, 197, 213 - 20);
}

TEST(PreviewPage, NoRoomGivesNoSheet) {
    const folvane::PagePlacement placement{595, 842, 0, 0, 1, 0};
    const PreviewPage page = layOutPreviewPage(UiRect{0, 0, 5, 5}, placement, 10, 10);
    EXPECT_EQ(page.sheet.Width(), 0);
    EXPECT_EQ(page.picture.Width(), 0);
}

TEST(PreviewPage, JpegsAreDecodedSmallerWhileTwoPixelsRemainForEachShown) {
    EXPECT_EQ(previewJpegScale(1.0), 1);
    EXPECT_EQ(previewJpegScale(0.3), 1);
    EXPECT_EQ(previewJpegScale(0.25), 2);
    EXPECT_EQ(previewJpegScale(0.1), 4);
    EXPECT_EQ(previewJpegScale(0.0625), 8);
    EXPECT_EQ(previewJpegScale(0.001), 8);
}

} // namespace
