// The preview of a turned page: the picture comes out turned, with its turned size, through the
// reduced decode of a picture larger than its place and through the whole decode of a small one,
// on top of the file's own EXIF orientation.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/PreviewPicture.h"
#include "pdf/PageLayout.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kBlack = 0x000000;

// Grey with a block of colour in each corner, a quarter of each side: red top left, green top
// right, blue bottom left, black bottom right.
support::Picture CornerPicture(int width, int height) {
    support::Picture picture = support::Solid(width, height, 0x808080);
    const uint32_t corners[2][2] = {{kRed, kGreen}, {kBlue, kBlack}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width - width / 4, bottom = y >= height - height / 4;
            if ((x < width / 4 || right) && (y < height / 4 || bottom)) {
                const uint32_t rgb = corners[bottom][right];
                for (int c = 0; c < 3; ++c) {
                    picture.At(x, y, c) = static_cast<uint8_t>(rgb >> (16 - 8 * c));
                }
            }
        }
    }
    return picture;
}

// The colours near the top left, top right, bottom left and bottom right of a picture, each
// channel taken as on or off (JPEG's colours come back near, not equal).
std::vector<uint32_t> Corners(const CfImage &image) {
    const int w = static_cast<int>(image.GetWidth()), h = static_cast<int>(image.GetHeight());
    std::vector<uint32_t> colours;
    for (auto [u, v] : {std::pair{0.1, 0.1}, {0.9, 0.1}, {0.1, 0.9}, {0.9, 0.9}}) {
        // Rows are kept bottom up.
        const RGBQUAD p =
            image.PixelColorAt(static_cast<int>(u * w), h - 1 - static_cast<int>(v * h));
        colours.push_back((p.rgbRed > 128 ? 0xFF0000u : 0) | (p.rgbGreen > 128 ? 0x00FF00u : 0) |
                          (p.rgbBlue > 128 ? 0x0000FFu : 0));
    }
    return colours;
}

struct Case {
    int turns;
    std::vector<uint32_t> corners;
};
// The corner picture turned 0, 1, 2 and 3 quarter turns clockwise (and -1: as 3).
const std::vector<Case> kCases = {{0, {kRed, kGreen, kBlue, kBlack}},
                                  {1, {kBlue, kRed, kBlack, kGreen}},
                                  {2, {kBlack, kBlue, kGreen, kRed}},
                                  {3, {kGreen, kBlack, kRed, kBlue}},
                                  {-1, {kGreen, kBlack, kRed, kBlue}}};

TEST(PreviewTurn, ReducedAndWholeDecodesShowTheTurnedPictureAtItsTurnedSize) {
    support::TempDir dir;
    const UiRect client{0, 0, 300, 300};
    // 1600 x 800 is far larger than its place: the reduced decode; 40 x 20 is decoded whole.
    for (auto [width, height] : {std::pair{1600, 800}, {40, 20}}) {
        const std::string path = dir / (std::to_string(width) + ".jpg");
        support::WriteFile(path, support::MakeJpeg(CornerPicture(width, height)));
        for (const Case &c : kCases) {
            PreviewPicture picture;
            ASSERT_TRUE(
                loadPreviewPicture(path, folvane::PageLayout::fitted(), client, picture, c.turns));
            const bool swapped = c.turns % 2 != 0;
            EXPECT_EQ(picture.uprightWidth, swapped ? height : width) << width << " " << c.turns;
            EXPECT_EQ(picture.uprightHeight, swapped ? width : height) << width << " " << c.turns;
            EXPECT_EQ(picture.part.has_value(), width == 1600);
            EXPECT_EQ(Corners(picture.image), c.corners) << width << " turned " << c.turns;
            if (picture.part) {
                // The part fills the turned picture's place: tall when turned a quarter.
                EXPECT_EQ(picture.part->Height() > picture.part->Width(), swapped);
            }
        }
    }
}

TEST(PreviewTurn, ATurnAddsToTheExifOrientation) {
    support::TempDir dir;
    support::JpegOptions sideways;
    sideways.exifOrientation = 6; // shown a quarter turn clockwise
    for (auto [width, height] : {std::pair{1600, 800}, {40, 20}}) {
        const std::string path = dir / (std::to_string(width) + ".jpg");
        support::WriteFile(path, support::MakeJpeg(CornerPicture(width, height), sideways));
        PreviewPicture picture;
        ASSERT_TRUE(loadPreviewPicture(path, folvane::PageLayout::fitted(), UiRect{0, 0, 300, 300},
                                       picture, 1));
        EXPECT_EQ(picture.uprightWidth, width);
        EXPECT_EQ(Corners(picture.image), (std::vector<uint32_t>{kBlack, kBlue, kGreen, kRed}))
            << width;
    }
}

} // namespace
