// The preview shows the page the PDF will get: the A4 sheet turned as the page will be, the
// picture upright and placed by the chosen mode, cut at the sheet's edge, shrunk by averaging.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Resource.h"
#include "tests/app/PreviewFixture.h"
#include "tests/support/Bmp.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

constexpr uint32_t kRed = RgbColor(220, 30, 40);
constexpr uint32_t kGreen = RgbColor(30, 200, 60);
constexpr uint32_t kBlue = RgbColor(20, 40, 210);
constexpr uint32_t kYellow = RgbColor(240, 220, 20);
constexpr uint32_t kWhite = RgbColor(255, 255, 255);
constexpr uint32_t kOutline = RgbColor(150, 150, 150);
constexpr int kFit = 6;

// A picture whose four quadrants have their own colours: top-left red, top-right green,
// bottom-left blue, bottom-right yellow.
support::Picture Quadrants(int width, int height) {
    support::Picture picture = support::Blank(width, height, 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            const uint32_t rgb = bottom ? (right ? kYellow : kBlue) : (right ? kGreen : kRed);
            for (int c = 0; c < 3; ++c) {
                picture.At(x, y, c) = static_cast<uint8_t>(rgb >> (16 - 8 * c));
            }
        }
    }
    return picture;
}

// The picture a file stores when the upright one (W x H) is to be shown by an orientation of
// 5 to 8: stored pixel (row r, column c) of the H x W file is shown at (row, column) =
// 5 (c, r), 6 (c, W-1-r), 7 (H-1-c, W-1-r), 8 (H-1-c, r).
support::Picture StoredFor(const support::Picture &upright, int orientation) {
    const int w = upright.width;
    const int h = upright.height;
    support::Picture stored = support::Blank(h, w, 3);
    for (int r = 0; r < w; ++r) {
        for (int c = 0; c < h; ++c) {
            const int row = orientation <= 6 ? c : h - 1 - c;
            const int column = orientation == 5 || orientation == 8 ? r : w - 1 - r;
            for (int k = 0; k < 3; ++k) {
                stored.At(c, r, k) = upright.At(column, row, k);
            }
        }
    }
    return stored;
}

class PreviewPage : public PreviewFixture {
protected:
    // The sheet: the inside of the one-pixel outline.
    UiRect Sheet() {
        CSurface &frame = Frame();
        UiRect box{frame.Width(), frame.Height(), -1, -1};
        for (int y = 0; y < frame.Height(); ++y) {
            for (int x = 0; x < frame.Width(); ++x) {
                if (frame.PixelAt(x, y) == kOutline) {
                    box = UiRect{std::min(box.left, x), std::min(box.top, y),
                                 std::max(box.right, x), std::max(box.bottom, y)};
                }
            }
        }
        return UiRect{box.left + 1, box.top + 1, box.right, box.bottom};
    }

    // The frame pixel at a share of the sheet's width and height from its top-left corner.
    uint32_t OnSheet(double across, double down) {
        const UiRect s = Sheet();
        return Frame().PixelAt(s.left + int(across * s.Width()), s.top + int(down * s.Height()));
    }

    // The quadrant colours of an upright portrait picture that fills most of the sheet.
    void ExpectUprightQuadrants(int tolerance) {
        const UiRect s = Sheet();
        EXPECT_GT(s.Height(), s.Width()) << "a portrait sheet";
        EXPECT_TRUE(Near(OnSheet(0.3, 0.25), kRed, tolerance)) << std::hex << OnSheet(0.3, 0.25);
        EXPECT_TRUE(Near(OnSheet(0.7, 0.25), kGreen, tolerance)) << std::hex << OnSheet(0.7, 0.25);
        EXPECT_TRUE(Near(OnSheet(0.3, 0.75), kBlue, tolerance)) << std::hex << OnSheet(0.3, 0.75);
        EXPECT_TRUE(Near(OnSheet(0.7, 0.75), kYellow, tolerance)) << std::hex << OnSheet(0.7, 0.75);
    }
};

TEST_F(PreviewPage, ClassModeDrawsAPortraitSheetWithThePictureAtItsLowerLeft) {
    // 800 x 600 at 300万 (0.42): 336 x 252 points on a 595 x 842 page.
    WriteSolidBmp(Path("photo.bmp"), 800, 600, kRed);
    dlg.SetImageType(1);
    dlg.ShowPreview(Path("photo.bmp"));
    const UiRect s = Sheet();
    ASSERT_GT(s.Width(), 50);
    EXPECT_NEAR(double(s.Height()) / s.Width(), 842.0 / 595, 0.02);
    EXPECT_TRUE(Near(OnSheet(0.02, 0.98), kRed, 1));
    EXPECT_TRUE(Near(OnSheet(0.54, 0.72), kRed, 1));
    EXPECT_EQ(OnSheet(0.6, 0.98), kWhite) << "right of the picture";
    EXPECT_EQ(OnSheet(0.02, 0.66), kWhite) << "above the picture";
    EXPECT_EQ(OnSheet(0.5, 0.3), kWhite);
    EXPECT_EQ(Frame().PixelAt(s.left - 2, s.top + s.Height() / 2), kWindowColor);
}

TEST_F(PreviewPage, AClassPageCutsThePictureAtTheSheetsEdge) {
    // 3000 x 1000 at 200万 (0.525): 1575 points wide, far past the 595-point page.
    WriteSolidBmp(Path("wide.bmp"), 3000, 1000, kBlue);
    dlg.SetImageType(0);
    dlg.ShowPreview(Path("wide.bmp"));
    const UiRect s = Sheet();
    EXPECT_GT(s.Height(), s.Width()) << "class pages stay portrait";
    // Area averaging truncates: a plain colour may come out one below.
    EXPECT_TRUE(Near(Frame().PixelAt(s.right - 1, s.bottom - 2), kBlue, 1)) << "up to the edge";
    EXPECT_EQ(Frame().PixelAt(s.right, s.bottom - 2), kOutline) << "not past it";
    EXPECT_EQ(Frame().PixelAt(s.right + 1, s.bottom - 2), kWindowColor);
    EXPECT_EQ(OnSheet(0.5, 0.2), kWhite);
}

TEST_F(PreviewPage, FitModeTurnsTheSheetForALandscapePictureAndCentresIt) {
    // 1200 x 600 on A4 landscape (842 x 595): 842 x 421 points, 87 points above and below.
    WriteSolidBmp(Path("landscape.bmp"), 1200, 600, kGreen);
    dlg.SetImageType(kFit);
    dlg.ShowPreview(Path("landscape.bmp"));
    const UiRect s = Sheet();
    EXPECT_NEAR(double(s.Width()) / s.Height(), 842.0 / 595, 0.02);
    EXPECT_TRUE(Near(OnSheet(0.5, 0.5), kGreen, 1));
    EXPECT_TRUE(Near(OnSheet(0.02, 0.5), kGreen, 1));
    EXPECT_TRUE(Near(OnSheet(0.98, 0.5), kGreen, 1));
    EXPECT_EQ(OnSheet(0.5, 0.08), kWhite);
    EXPECT_EQ(OnSheet(0.5, 0.92), kWhite);
}

TEST_F(PreviewPage, JpegPhotoIsTurnedByItsExifOrientation) {
    // Stored 90 x 60 with orientation 6 (to be turned a quarter clockwise): shown 60 x 90.
    support::JpegOptions options;
    options.quality = 95;
    options.exifOrientation = 6;
    support::WriteFile(Path("photo.jpg"),
                       support::MakeJpeg(StoredFor(Quadrants(60, 90), 6), options));
    dlg.SetImageType(kFit);
    dlg.ShowPreview(Path("photo.jpg"));
    ExpectUprightQuadrants(12);
}

class PreviewTiffOrientation : public PreviewPage, public testing::WithParamInterface<uint16_t> {};

TEST_P(PreviewTiffOrientation, PageIsTurnedUpright) {
    const uint16_t orientation = GetParam();
    support::TiffPage page = support::TiffPageOf(StoredFor(Quadrants(60, 90), orientation));
    page.orientation = orientation;
    support::WriteTiff(Path("page.tif"), {page});
    dlg.SetImageType(kFit);
    dlg.ShowPreview(Path("page.tif"));
    ExpectUprightQuadrants(0);
}

INSTANTIATE_TEST_SUITE_P(QuarterTurns, PreviewTiffOrientation, testing::Range<uint16_t>(5, 9));

TEST_F(PreviewPage, ShrinkingAveragesFineDetailInsteadOfPickingPixels) {
    // One-pixel black and white columns: picking pixels shows black or white, averaging grey.
    support::Picture stripes = support::Blank(1190, 1684, 3);
    for (int y = 0; y < stripes.height; ++y) {
        for (int x = 1; x < stripes.width; x += 2) {
            stripes.At(x, y, 0) = stripes.At(x, y, 1) = stripes.At(x, y, 2) = 255;
        }
    }
    support::WriteFile(Path("scan.png"), support::MakePng(support::PngImageOf(stripes)));
    dlg.SetImageType(kFit);
    dlg.ShowPreview(Path("scan.png"));
    for (double across : {0.2, 0.35, 0.5, 0.65, 0.8}) {
        for (double down : {0.25, 0.5, 0.75}) {
            // A box of about 6.6 columns holds 3 to 3.6 white ones: 115 to 140.
            EXPECT_TRUE(Near(OnSheet(across, down), RgbColor(127, 127, 127), 20))
                << std::hex << OnSheet(across, down);
        }
    }
}

TEST_F(PreviewPage, TheModeTakesEffectAtOnceForTheCurrentRow) {
    WriteSolidBmp(Path("wide.bmp"), 1200, 600, kGreen);
    ui.openAnswers.push_back(std::vector<std::string>{Path("wide.bmp")});
    Window().Click(IDC_BTN_ADD_IMAGES);
    const UiRect classSheet = Sheet();
    EXPECT_GT(classSheet.Height(), classSheet.Width());
    dlg.SetImageType(kFit);
    dlg.RefreshPreview();
    const UiRect fitSheet = Sheet();
    EXPECT_GT(fitSheet.Width(), fitSheet.Height());
    EXPECT_TRUE(Near(OnSheet(0.5, 0.5), kGreen, 1));
}

} // namespace
