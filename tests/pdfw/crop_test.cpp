// Crops in the engine: what is cut away is not in the file, and what is kept shows as the
// picture's own pixels, turned as the file's orientation says.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using pdfw_test::Engine;
using support::Picture;

struct Rect {
    int left, top, right, bottom;
    std::string option() const {
        return "crop=" + std::to_string(left) + "," + std::to_string(top) + "," +
               std::to_string(right) + "," + std::to_string(bottom);
    }
};

// One page exactly the kept part's size with the image placed on it at one point per pixel;
// false on any error. The engine must say the kept part's size.
bool writeCropped(Engine &engine, const std::string &pdf, const std::string &image, Rect crop,
                  int turns = 0) {
    const float width = static_cast<float>(crop.right - crop.left);
    const float height = static_cast<float>(crop.bottom - crop.top);
    if (pdfw_open_file(engine.ctx(), pdf.c_str()) != 1) {
        return false;
    }
    pdfw_begin_page(engine.ctx(), width, height);
    const std::string options = crop.option() + " turns=" + std::to_string(turns);
    int handle = pdfw_load_image(engine.ctx(), "auto", image.c_str(), options.c_str(), 1);
    float shownWidth = 0, shownHeight = 0;
    pdfw_get_image_size(engine.ctx(), handle, &shownWidth, &shownHeight);
    EXPECT_EQ(shownWidth, width);
    EXPECT_EQ(shownHeight, height);
    pdfw_place_image(engine.ctx(), handle, 0, 0, 1);
    pdfw_close_image(engine.ctx(), handle);
    pdfw_end_page(engine.ctx());
    return pdfw_close(engine.ctx()) == 0 && engine.errorCount() == 0;
}

// The stored pixel behind upright pixel (x, y) of a picture shown `w` x `h` by `orientation`,
// written out case by case (not through the engine's table).
void storedOf(int orientation, int x, int y, int w, int h, int &sx, int &sy) {
    switch (orientation) {
    case 2:
        sx = w - 1 - x, sy = y;
        break;
    case 3:
        sx = w - 1 - x, sy = h - 1 - y;
        break;
    case 4:
        sx = x, sy = h - 1 - y;
        break;
    case 5:
        sx = y, sy = x;
        break;
    case 6:
        sx = y, sy = w - 1 - x;
        break;
    case 7:
        sx = h - 1 - y, sy = w - 1 - x;
        break;
    case 8:
        sx = h - 1 - y, sy = x;
        break;
    default:
        sx = x, sy = y;
        break;
    }
}

// The part `crop` of `stored` as `orientation` shows it, RGB.
Picture uprightPart(const Picture &stored, int orientation, Rect crop) {
    const bool swapped = orientation >= 5;
    const int w = swapped ? stored.height : stored.width;
    const int h = swapped ? stored.width : stored.height;
    Picture part = support::Blank(crop.right - crop.left, crop.bottom - crop.top, 3);
    for (int y = 0; y < part.height; ++y) {
        for (int x = 0; x < part.width; ++x) {
            int sx = 0, sy = 0;
            storedOf(orientation, x + crop.left, y + crop.top, w, h, sx, sy);
            for (int c = 0; c < 3; ++c) {
                part.At(x, y, c) = stored.At(sx, sy, stored.components == 1 ? 0 : c);
            }
        }
    }
    return part;
}

// `picture` turned a quarter clockwise.
Picture turnedClockwise(const Picture &picture) {
    Picture turned = support::Blank(picture.height, picture.width, picture.components);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            for (int c = 0; c < picture.components; ++c) {
                turned.At(picture.height - 1 - y, x, c) = picture.At(x, y, c);
            }
        }
    }
    return turned;
}

// The JPEG files `pdfimages -j` takes out of the document, decoded.
std::vector<Picture> embeddedJpegs(const std::string &pdf, const support::TempDir &dir) {
    const std::string prefix = dir / "out";
    std::string command = "pdfimages -j '" + pdf + "' '" + prefix + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::vector<Picture> pictures;
    for (int i = 0; std::filesystem::exists(prefix + "-00" + std::to_string(i) + ".jpg"); ++i) {
        auto decoded =
            support::DecodeJpeg(support::ReadFile(prefix + "-00" + std::to_string(i) + ".jpg"));
        EXPECT_TRUE(decoded.ok);
        pictures.push_back(decoded.picture);
    }
    return pictures;
}

int meanDifference(const Picture &a, const Picture &b) {
    if (a.samples.size() != b.samples.size() || a.samples.empty()) {
        return 256;
    }
    long long sum = 0;
    for (std::size_t i = 0; i < a.samples.size(); ++i) {
        sum += std::abs(int{a.samples[i]} - int{b.samples[i]});
    }
    return static_cast<int>(sum / static_cast<long long>(a.samples.size()));
}

TEST(Crop, JpegDataEndsAtTheBlockOfTheCropLine) {
    support::TempDir dir;
    const Picture source = support::Pattern(200, 150, 3);
    support::JpegOptions options;
    options.hSampling = 2; // 4:2:0: blocks of 16 x 16 pixels
    options.vSampling = 2;
    const support::Bytes jpeg = support::MakeJpeg(source, options);
    support::WriteFile(dir / "a.jpg", jpeg);
    const Rect crop{37, 21, 150, 120};
    Engine engine;
    ASSERT_TRUE(writeCropped(engine, dir / "a.pdf", dir / "a.jpg", crop)) << engine.lastMessage();
    EXPECT_TRUE(support::QpdfCheck(dir / "a.pdf"));
    // Left and top snap down to 32 and 16; right and bottom stay at the crop line.
    std::vector<Picture> embedded = embeddedJpegs(dir / "a.pdf", dir);
    ASSERT_EQ(embedded.size(), 1u);
    EXPECT_EQ(embedded[0].width, 150 - 32);
    EXPECT_EQ(embedded[0].height, 120 - 16);
    const std::vector<std::string> lines = support::DrawingLines(dir / "a.pdf");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(" re W n "), std::string::npos) << lines[0];
    const Picture expected = uprightPart(support::DecodeJpeg(jpeg).picture, 1, crop);
    const Picture page = support::RenderPage(dir / "a.pdf");
    EXPECT_LE(meanDifference(page, expected), 3);
    EXPECT_LE(support::MaxDifference(page, expected), 48);
}

TEST(Crop, TurnedJpegShowsThePartOfTheTurnedPicture) {
    support::TempDir dir;
    const Picture source = support::Pattern(120, 80, 3);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        support::JpegOptions options;
        options.hSampling = 1; // 4:4:4: one block of 8 x 8 pixels
        options.vSampling = 1;
        options.exifOrientation = orientation;
        const support::Bytes jpeg = support::MakeJpeg(source, options);
        support::WriteFile(dir / "t.jpg", jpeg);
        // The user's turns come on top of the file's: the crop is of the picture they show.
        const int turns = orientation % 4;
        const bool tall = (orientation >= 5) != (turns % 2 == 1);
        const Rect crop = tall ? Rect{13, 30, 70, 101} : Rect{30, 13, 101, 70};
        Engine engine;
        const std::string pdf = dir / ("t" + std::to_string(orientation) + ".pdf");
        ASSERT_TRUE(writeCropped(engine, pdf, dir / "t.jpg", crop, turns)) << engine.lastMessage();
        Picture shown = uprightPart(support::DecodeJpeg(jpeg).picture, orientation,
                                    orientation >= 5 ? Rect{0, 0, 80, 120} : Rect{0, 0, 120, 80});
        for (int turn = 0; turn < turns; ++turn) {
            shown = turnedClockwise(shown);
        }
        const Picture expected = uprightPart(shown, 1, crop);
        const Picture page = support::RenderPage(pdf);
        EXPECT_LE(meanDifference(page, expected), 3);
        EXPECT_LE(support::MaxDifference(page, expected), 48);
    }
}

// Pictures that are not JPEG go in again from the kept pixels: exactly those pixels, no more.
TEST(Crop, OtherPicturesKeepExactlyTheKeptPixels) {
    support::TempDir dir;
    const Picture colour = support::Pattern(90, 70, 3);
    support::WriteFile(dir / "c.png", support::MakePng(support::PngImageOf(colour)));
    const Picture grey = support::Pattern(70, 90, 1);
    support::TiffPage turned = support::TiffPageOf(grey);
    turned.orientation = 6;
    support::WriteTiff(dir / "g.tif", {turned});
    // A bilevel scan as G4: stripes eight pixels wide, black on white.
    support::TiffPage scan;
    scan.width = 99;
    scan.height = 77;
    scan.bitsPerSample = 1;
    scan.photometric = PHOTOMETRIC_MINISWHITE;
    scan.compression = COMPRESSION_CCITTFAX4;
    Picture scanPixels = support::Blank(99, 77, 1);
    scan.data.assign(scan.RowBytes() * scan.height, 0);
    for (int y = 0; y < 77; ++y) {
        for (int x = 0; x < 99; ++x) {
            bool ink = ((x / 8) + (y / 5)) % 2 == 0;
            scanPixels.At(x, y, 0) = ink ? 0 : 255;
            if (ink) {
                scan.data[y * scan.RowBytes() + x / 8] |= 0x80 >> (x % 8);
            }
        }
    }
    support::WriteTiff(dir / "s.tif", {scan});
    struct Case {
        const char *file;
        Picture stored;
        int orientation;
        Rect crop;
    } cases[] = {{"c.png", colour, 1, {5, 7, 80, 60}},
                 {"g.tif", grey, 6, {3, 11, 77, 50}},
                 {"s.tif", scanPixels, 1, {3, 9, 61, 70}}};
    for (bool bands : {false, true}) {
        if (bands) {
            ::setenv("FOLVANE_PDFW_WHOLE_PICTURE_BYTES", "1", 1);
            ::setenv("FOLVANE_PDFW_BAND_BYTES", "100", 1);
        }
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.file) + (bands ? " in bands" : " whole"));
            Engine engine;
            const std::string pdf = dir / (std::string(c.file) + (bands ? "b" : "w") + ".pdf");
            ASSERT_TRUE(writeCropped(engine, pdf, dir / c.file, c.crop)) << engine.lastMessage();
            std::vector<support::PdfImage> images = support::ListImages(pdf);
            ASSERT_EQ(images.size(), 1u);
            const bool swapped = c.orientation >= 5;
            EXPECT_EQ(images[0].width,
                      swapped ? c.crop.bottom - c.crop.top : c.crop.right - c.crop.left);
            EXPECT_EQ(support::MaxDifference(support::RenderPage(pdf),
                                             uprightPart(c.stored, c.orientation, c.crop)),
                      0);
        }
    }
    ::unsetenv("FOLVANE_PDFW_WHOLE_PICTURE_BYTES");
    ::unsetenv("FOLVANE_PDFW_BAND_BYTES");
}

TEST(Crop, BadCropsAreRefusedByName) {
    support::TempDir dir;
    support::WriteFile(dir / "a.jpg", support::MakeJpeg(support::Pattern(60, 40, 3)));
    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "a.pdf").c_str()), 1);
    struct Refused {
        const char *options;
        const char *says;
    };
    for (const Refused &bad : {Refused{"crop=0,0,61,40", "outside the picture of 60 x 40"},
                               Refused{"crop=-1,0,30,30", "outside the picture"},
                               Refused{"crop=30,0,10,30", "outside the picture"},
                               Refused{"crop=0,0,15,40", "smaller than 16 pixels"},
                               Refused{"crop=0,0,60", "four whole numbers"},
                               Refused{"crop=0,0,60,40 crop=0,0,60,40", "given twice"},
                               Refused{"crop=0,0,6e1,40", "four whole numbers"}}) {
        EXPECT_EQ(pdfw_load_image(engine.ctx(), "jpeg", (dir / "a.jpg").c_str(), bad.options, 1),
                  -1)
            << bad.options;
        EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
        EXPECT_NE(engine.lastMessage().find(bad.says), std::string::npos) << engine.lastMessage();
    }
    EXPECT_GT(pdfw_load_image(engine.ctx(), "jpeg", (dir / "a.jpg").c_str(), "crop=0,0,60,40", 1),
              0);
}

} // namespace
