// The preview and the tool tip of a cropped page: the page shows only the kept part of the turned
// picture, at the kept part's size, and a crop that no longer fits the file is left out.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/CropRequest.h"
#include "app/PreviewPicture.h"
#include "app/RowCheck.h"
#include "pdf/PageLayout.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGrey = 0x808080;
const UiRect kClient{0, 0, 300, 300};

// Grey with a red quarter at the top left and a blue one at the bottom left.
support::Picture QuarterPicture(int width, int height) {
    support::Picture picture = support::Solid(width, height, kGrey);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width / 2; ++x) {
            const uint32_t rgb = y < height / 2 ? kRed : kBlue;
            for (int c = 0; c < 3; ++c) {
                picture.At(x, y, c) = static_cast<uint8_t>(rgb >> (16 - 8 * c));
            }
        }
    }
    return picture;
}

// The colour at each of nine points spread over a picture, each channel taken as on or off.
std::vector<uint32_t> Samples(const CfImage &image) {
    const int w = static_cast<int>(image.GetWidth()), h = static_cast<int>(image.GetHeight());
    std::vector<uint32_t> colours;
    for (double v : {0.1, 0.5, 0.9}) {
        for (double u : {0.1, 0.5, 0.9}) {
            // Rows are kept bottom up.
            const RGBQUAD p =
                image.PixelColorAt(static_cast<int>(u * w), h - 1 - static_cast<int>(v * h));
            colours.push_back((p.rgbRed > 160 ? 0xFF0000u : 0) |
                              (p.rgbGreen > 160 ? 0x00FF00u : 0) |
                              (p.rgbBlue > 160 ? 0x0000FFu : 0));
        }
    }
    return colours;
}

std::string WriteQuarters(const support::TempDir &dir, int width, int height) {
    const std::string path = dir / (std::to_string(width) + ".jpg");
    support::WriteFile(path, support::MakeJpeg(QuarterPicture(width, height)));
    return path;
}

TEST(PreviewCrop, AReducedDecodeHoldsOnlyTheCropOfTheTurnedPicture) {
    support::TempDir dir;
    const std::string path = WriteQuarters(dir, 1600, 800);
    const std::vector<uint32_t> allRed(9, kRed), allBlue(9, kBlue);

    PreviewPicture picture;
    ASSERT_TRUE(loadPreviewPicture(path, folvane::PageLayout::fitted(), kClient, picture, 0,
                                   folvane::CropRect{0, 0, 800, 400}));
    EXPECT_EQ(picture.uprightWidth, 800);
    EXPECT_EQ(picture.uprightHeight, 400);
    ASSERT_TRUE(picture.part.has_value());
    EXPECT_EQ(Samples(picture.image), allRed);

    // Turned a quarter clockwise, the blue quarter is at the top left of an 800 x 1600 picture.
    PreviewPicture turned;
    ASSERT_TRUE(loadPreviewPicture(path, folvane::PageLayout::fitted(), kClient, turned, 1,
                                   folvane::CropRect{0, 0, 400, 800}));
    EXPECT_EQ(turned.uprightWidth, 400);
    EXPECT_EQ(turned.uprightHeight, 800);
    EXPECT_EQ(Samples(turned.image), allBlue);
    // The part fills the crop's place: tall, like the crop.
    ASSERT_TRUE(turned.part.has_value());
    EXPECT_GT(turned.part->Height(), turned.part->Width());
}

TEST(PreviewCrop, AWholeDecodeIsPlacedSoThatItsCropFillsThePagesPicture) {
    support::TempDir dir;
    const std::string path = WriteQuarters(dir, 128, 64);
    const folvane::PageLayout layout = folvane::PageLayout::fitted();
    PreviewPicture picture;
    ASSERT_TRUE(
        loadPreviewPicture(path, layout, kClient, picture, 0, folvane::CropRect{64, 16, 128, 48}));
    EXPECT_EQ(picture.uprightWidth, 64);
    EXPECT_EQ(picture.uprightHeight, 32);
    EXPECT_EQ(picture.image.GetWidth(), 128u);
    ASSERT_TRUE(picture.part.has_value());
    const UiRect kept =
        layOutPreviewPage(kClient, folvane::placeOnPage(layout, 64, 32), 64, 32).picture;
    const UiRect &whole = *picture.part;
    // The whole picture is twice the kept part's width and its right half is the kept part.
    EXPECT_LE(std::abs(whole.Width() - 2 * kept.Width()), 1);
    EXPECT_LE(std::abs(whole.right - kept.right), 1);
    EXPECT_LE(std::abs(whole.top + whole.Height() / 4 - kept.top), 1);
    EXPECT_LE(std::abs(whole.Height() - 2 * kept.Height()), 1);
}

TEST(PreviewCrop, ACropThatNoLongerFitsTheFileShowsTheWholePage) {
    support::TempDir dir;
    for (auto [width, height] : {std::pair{1600, 800}, {128, 64}}) {
        const std::string path = WriteQuarters(dir, width, height);
        for (const folvane::CropRect &crop :
             {folvane::CropRect{0, 0, width + 1, height}, folvane::CropRect{0, 0, 10, 10}}) {
            PreviewPicture picture;
            ASSERT_TRUE(
                loadPreviewPicture(path, folvane::PageLayout::fitted(), kClient, picture, 0, crop));
            EXPECT_EQ(picture.uprightWidth, width);
            EXPECT_EQ(picture.uprightHeight, height);
            EXPECT_EQ(picture.part.has_value(), width == 1600);
        }
    }
}

TEST(PreviewCrop, TheTipGivesTheCroppedSizeAndSaysItIsCropped) {
    folvane::ImageFacts facts;
    facts.ok = true;
    facts.kind = "JPEG";
    facts.pages = 1;
    facts.width = 2000;
    facts.height = 1200;
    facts.intake = folvane::ImageFacts::Intake::Copied;
    const folvane::PageLayout fit = folvane::PageLayout::fitted();
    EXPECT_EQ(rowCheckText(facts, fit, 0, false, folvane::CropRect{100, 200, 1100, 700}),
              "JPEG 1000x500, 原样嵌入, 1 页, 已裁剪");
    EXPECT_EQ(rowCheckText(facts, fit, 1, false, folvane::CropRect{0, 0, 1200, 1500}),
              "JPEG 1200x1500, 原样嵌入, 1 页, 已向右旋转, 已裁剪");
    // Before its turn the same crop is taller than the picture: not counted.
    EXPECT_EQ(rowCheckText(facts, fit, 0, false, folvane::CropRect{0, 0, 1200, 1500}),
              "JPEG 2000x1200, 原样嵌入, 1 页");
}

// Right after a crop, the preview is made from the crop editor's picture instead of a second
// decode: it must show the same part of the page in the same place, and decline where that
// picture is too coarse for the frame.
TEST(PreviewCrop, TheEditorsPictureShowsTheCropAsTheFileWouldUnlessTooCoarse) {
    support::TempDir dir;
    const std::string path = WriteQuarters(dir, 1600, 800);
    const folvane::CropRect crop{0, 0, 400, 800}; // the blue quarter, once turned clockwise
    const folvane::PageLayout fit = folvane::PageLayout::fitted();

    CropPicture editor;
    ASSERT_TRUE(loadCropPicture(path, 1, editor));
    WholePicture whole{path, 1, CfImage(editor.turned), editor.fullWidth, editor.fullHeight};
    PreviewPicture reused;
    ASSERT_TRUE(previewFromWhole(whole, fit, kClient, crop, reused));
    PreviewPicture decoded;
    ASSERT_TRUE(loadPreviewPicture(path, fit, kClient, decoded, 1, crop));

    EXPECT_EQ(reused.uprightWidth, decoded.uprightWidth);
    EXPECT_EQ(reused.uprightHeight, decoded.uprightHeight);
    // The reused picture is all of the turned page, placed so that its crop lands where the
    // reduced decode put the crop alone.
    ASSERT_TRUE(reused.part && decoded.part);
    const UiRect &all = *reused.part;
    const double scale = double(all.Width()) / editor.fullWidth;
    EXPECT_NEAR(all.left + crop.left * scale, decoded.part->left, 1);
    EXPECT_NEAR(all.top + crop.top * scale, decoded.part->top, 1);
    EXPECT_NEAR(all.left + crop.right * scale, decoded.part->right, 1);
    EXPECT_NEAR(all.top + crop.bottom * scale, decoded.part->bottom, 1);
    EXPECT_EQ(Samples(decoded.image), std::vector<uint32_t>(9, kBlue));

    // The same page decoded at 50 x 100 has too few pixels for the crop's place in the frame.
    CropPicture small;
    ASSERT_TRUE(loadCropPicture(WriteQuarters(dir, 100, 50), 1, small));
    ASSERT_EQ(small.turned.GetWidth(), 50u);
    WholePicture coarse{path, 1, CfImage(small.turned), editor.fullWidth, editor.fullHeight};
    PreviewPicture untouched;
    EXPECT_FALSE(previewFromWhole(coarse, fit, kClient, crop, untouched));
    EXPECT_FALSE(untouched.image.IsValid());
}

} // namespace
