// Page generation with the real engine: the documents it writes, judged with qpdf and poppler.

#include "pdf/PageGeneration.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Tiff.h"

namespace {

using folvane::GenerateOptions;
using folvane::PageLayout;
using namespace support;

void WriteJpeg(const std::string &path, int width, int height, int components = 3) {
    WriteFile(path, MakeJpeg(Pattern(width, height, components)));
}

void WriteRgbTiff(const std::string &path, int width, int height) {
    WriteTiff(path, {TiffPageOf(Pattern(width, height, 3))});
}

// Mid grey with a solid block of colour in each corner, a fifth of each side: red top left,
// green top right, blue bottom left, black bottom right.
Picture CornerPicture(int width, int height) {
    Picture picture = Solid(width, height, 0x808080);
    const uint32_t corners[2][2] = {{0xFF0000, 0x00FF00}, {0x0000FF, 0x000000}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool left = x < width / 5;
            const bool right = x >= width - width / 5;
            const bool top = y < height / 5;
            const bool bottom = y >= height - height / 5;
            if ((left || right) && (top || bottom)) {
                const uint32_t rgb = corners[bottom ? 1 : 0][right ? 1 : 0];
                picture.At(x, y, 0) = static_cast<uint8_t>(rgb >> 16);
                picture.At(x, y, 1) = static_cast<uint8_t>(rgb >> 8);
                picture.At(x, y, 2) = static_cast<uint8_t>(rgb);
            }
        }
    }
    return picture;
}

GenerateOptions Options(PageLayout layout) {
    GenerateOptions options;
    options.layout = layout;
    return options;
}

const GenerateOptions kThreeMegapixels = Options(PageLayout::ofClass(1));
const GenerateOptions kFit = Options(PageLayout::fitted());

TEST(GeneratePdf, ThreePagesInListOrderOnA4) {
    TempDir dir;
    WriteJpeg(dir / "b.jpg", 300, 200);
    WriteRgbTiff(dir / "a.tif", 120, 240);
    WriteJpeg(dir / "c.jpg", 64, 48, 1);
    const std::string out = dir / "out.pdf";
    bool completeWhenTold = false;
    folvane::GenerateEvents events;
    events.afterClose = [&] { completeWhenTold = QpdfCheck(out); };
    folvane::generatePdf(out, {dir / "b.jpg", dir / "a.tif", dir / "c.jpg"}, kThreeMegapixels,
                         events);

    EXPECT_TRUE(completeWhenTold);
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(ReadText(out).substr(0, 8), "%PDF-1.4");
    EXPECT_EQ(PageSizes(out), (std::vector<PageSize>(3, {595, 842})));
    auto images = ListImages(out);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].page, 1);
    EXPECT_EQ(images[0].width, 300);
    EXPECT_EQ(images[1].page, 2);
    EXPECT_EQ(images[1].width, 120);
    EXPECT_EQ(images[1].height, 240);
    EXPECT_EQ(images[2].page, 3);
    EXPECT_EQ(images[2].width, 64);
}

class ClassPlacementTest : public ::testing::TestWithParam<int> {};

// One point per pixel, scaled by the class's factor, at the page origin.
TEST_P(ClassPlacementTest, ImageIsScaledByTheClassFactorAtTheOrigin) {
    const double scales[] = {0.525, 0.42, 0.331, 0.264, 0.2358, 0.1871, 0.1871};
    const double scale = scales[GetParam()];
    TempDir dir;
    WriteJpeg(dir / "p.jpg", 1000, 500);
    const std::string out = dir / "out.pdf";
    folvane::generatePdf(out, {dir / "p.jpg"}, Options(PageLayout::ofClass(GetParam())));

    auto matrices = PlacementMatrices(out);
    ASSERT_EQ(matrices.size(), 1u);
    const auto &m = matrices[0];
    EXPECT_NEAR(m[0], 1000 * scale, 0.01);
    EXPECT_NEAR(m[1], 0, 1e-6);
    EXPECT_NEAR(m[2], 0, 1e-6);
    EXPECT_NEAR(m[3], 500 * scale, 0.01);
    EXPECT_NEAR(m[4], 0, 1e-6);
    EXPECT_NEAR(m[5], 0, 1e-6);
    EXPECT_EQ(PageSizes(out), (std::vector<PageSize>{{595, 842}}));
}

INSTANTIATE_TEST_SUITE_P(AllClasses, ClassPlacementTest, ::testing::Range(0, 7));

// Pixel width, height; page width, height in points.
using FitCase = std::tuple<int, int, double, double>;
class FitPlacementTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitPlacementTest, PageTurnsWithTheImageWhichFitsCentred) {
    auto [width, height, pageWidth, pageHeight] = GetParam();
    TempDir dir;
    WriteJpeg(dir / "p.jpg", width, height, 1);
    const std::string out = dir / "out.pdf";
    folvane::generatePdf(out, {dir / "p.jpg"}, kFit);

    EXPECT_EQ(PageSizes(out), (std::vector<PageSize>{{pageWidth, pageHeight}}));
    const double scale = std::min(pageWidth / width, pageHeight / height);
    auto matrices = PlacementMatrices(out);
    ASSERT_EQ(matrices.size(), 1u);
    const auto &m = matrices[0];
    EXPECT_NEAR(m[0], width * scale, 0.01);
    EXPECT_NEAR(m[3], height * scale, 0.01);
    EXPECT_NEAR(m[4], (pageWidth - width * scale) / 2, 0.01);
    EXPECT_NEAR(m[5], (pageHeight - height * scale) / 2, 0.01);
}

INSTANTIATE_TEST_SUITE_P(Shapes, FitPlacementTest,
                         ::testing::Values(FitCase{620, 877, 595, 842}, // portrait
                                           FitCase{816, 612, 842, 595}, // landscape
                                           FitCase{300, 300, 595, 842}, // square
                                           FitCase{3, 2, 842, 595},     // tiny
                                           FitCase{6000, 40, 842, 595}, // a long strip
                                           FitCase{40, 6000, 595, 842}));

// The image's four corner blocks show where they belong on the rendered page: nothing is cut.
void ExpectWholeCornerPicture(const Picture &page, double left, double top, double width,
                              double height) {
    struct Corner {
        double u, v; // centre of the block, as a share of the image from its top left
        int r, g, b;
    };
    const Corner corners[] = {{0.1, 0.1, 255, 0, 0},
                              {0.9, 0.1, 0, 255, 0},
                              {0.1, 0.9, 0, 0, 255},
                              {0.9, 0.9, 0, 0, 0},
                              {0.5, 0.5, 128, 128, 128}};
    for (const Corner &c : corners) {
        const int x = static_cast<int>(left + c.u * width);
        const int y = static_cast<int>(top + c.v * height);
        ASSERT_TRUE(x >= 0 && x < page.width && y >= 0 && y < page.height);
        const uint8_t p[3] = {page.At(x, y, 0), page.At(x, y, 1), page.At(x, y, 2)};
        EXPECT_NEAR(p[0], c.r, 40) << "at " << x << "," << y;
        EXPECT_NEAR(p[1], c.g, 40) << "at " << x << "," << y;
        EXPECT_NEAR(p[2], c.b, 40) << "at " << x << "," << y;
    }
}

TEST(GeneratePdf, ARenderedFitPageHoldsTheWholeImage) {
    TempDir dir;
    JpegOptions fine;
    fine.quality = 95;
    WriteFile(dir / "scan.jpg", MakeJpeg(CornerPicture(620, 877), fine));
    WriteFile(dir / "photo.jpg", MakeJpeg(CornerPicture(1600, 1000), fine));
    const std::string out = dir / "out.pdf";
    folvane::generatePdf(out, {dir / "scan.jpg", dir / "photo.jpg"}, kFit);

    // At 72 dpi one pixel is one point.
    Picture portrait = RenderPage(out, 1);
    ASSERT_EQ(portrait.width, 595);
    ASSERT_EQ(portrait.height, 842);
    const double scanScale = std::min(595.0 / 620, 842.0 / 877);
    ExpectWholeCornerPicture(portrait, (595 - 620 * scanScale) / 2, (842 - 877 * scanScale) / 2,
                             620 * scanScale, 877 * scanScale);

    Picture landscape = RenderPage(out, 2);
    ASSERT_EQ(landscape.width, 842);
    ASSERT_EQ(landscape.height, 595);
    const double photoHeight = 1000 * (842.0 / 1600);
    const double margin = (595 - photoHeight) / 2;
    ExpectWholeCornerPicture(landscape, 0, margin, 842, photoHeight);
    // White above and below the photo.
    for (int y : {static_cast<int>(margin / 2), static_cast<int>(595 - margin / 2)}) {
        const uint8_t p[3] = {landscape.At(421, y, 0), landscape.At(421, y, 1),
                              landscape.At(421, y, 2)};
        EXPECT_GT(p[0] + p[1] + p[2], 3 * 250) << "at y " << y;
    }
}

TEST(GeneratePdf, EveryPageOfATiffUprightByItsOwnOrientation) {
    TempDir dir;
    // Stored 200 x 100 upright; 200 x 100 shown turned a quarter (orientation 6: upright it is
    // 100 x 200); 100 x 300 turned the other way (orientation 8: 300 x 100).
    std::vector<TiffPage> pages;
    for (auto [width, height, orientation] :
         {std::tuple{200, 100, 1}, std::tuple{200, 100, 6}, std::tuple{100, 300, 8}}) {
        pages.push_back(TiffPageOf(CornerPicture(width, height)));
        pages.back().orientation = static_cast<uint16_t>(orientation);
    }
    WriteTiff(dir / "three.tif", pages);
    const std::string out = dir / "out.pdf";
    std::vector<std::string> started;
    folvane::GenerateEvents events;
    events.onPage = [&](const folvane::PageStart &page) {
        started.push_back(std::to_string(page.filePage) + "/" + std::to_string(page.filePages));
    };
    folvane::generatePdf(out, {dir / "three.tif"}, kFit, events);

    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(started, (std::vector<std::string>{"1/3", "2/3", "3/3"}));
    EXPECT_EQ(PageSizes(out), (std::vector<PageSize>{{842, 595}, {595, 842}, {842, 595}}));
    auto images = ListImages(out);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[2].width, 100);
    EXPECT_EQ(images[2].height, 300);

    // Orientation 6: the stored top row is the right-hand side, so the stored corners come out
    // blue top left, red top right, black bottom left, green bottom right.
    Picture turned = RenderPage(out, 2);
    ASSERT_EQ(turned.width, 595);
    const double scale = std::min(595.0 / 100, 842.0 / 200);
    const double shownWidth = 100 * scale;
    const double shownHeight = 200 * scale;
    auto expectColour = [&](double u, double v, int r, int g, int b) {
        const int x = static_cast<int>((595 - shownWidth) / 2 + u * shownWidth);
        const int y = static_cast<int>((842 - shownHeight) / 2 + v * shownHeight);
        const uint8_t p[3] = {turned.At(x, y, 0), turned.At(x, y, 1), turned.At(x, y, 2)};
        EXPECT_NEAR(p[0], r, 40) << u << "," << v;
        EXPECT_NEAR(p[1], g, 40) << u << "," << v;
        EXPECT_NEAR(p[2], b, 40) << u << "," << v;
    };
    expectColour(0.1, 0.1, 0, 0, 255);
    expectColour(0.9, 0.1, 255, 0, 0);
    expectColour(0.1, 0.9, 0, 0, 0);
    expectColour(0.9, 0.9, 0, 255, 0);

    GenerateOptions firstOnly = kFit;
    firstOnly.firstPageOnly = true;
    folvane::generatePdf(out, {dir / "three.tif"}, firstOnly);
    EXPECT_EQ(PageSizes(out).size(), 1u);
}

TEST(GeneratePdf, AClassReportsHowMuchOfAnImageTheEdgeCuts) {
    TempDir dir;
    WriteJpeg(dir / "big.jpg", 1500, 2100, 1);
    WriteJpeg(dir / "small.jpg", 400, 400, 1);
    std::vector<folvane::PageNote> notes;
    folvane::GenerateEvents events;
    events.onNote = [&](const folvane::PageNote &note) { notes.push_back(note); };
    folvane::generatePdf(dir / "out.pdf", {dir / "small.jpg", dir / "big.jpg"}, kThreeMegapixels,
                         events);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].kind, folvane::PageNote::Kind::Cropped);
    EXPECT_EQ(notes[0].index, 1u);
    EXPECT_EQ(notes[0].path, dir / "big.jpg");
    // 630 x 882 points on a 595 x 842 page.
    EXPECT_NEAR(notes[0].outside, 1 - (595.0 * 842) / (630.0 * 882), 1e-4);

    notes.clear();
    folvane::generatePdf(dir / "out.pdf", {dir / "big.jpg"}, kFit, events);
    EXPECT_TRUE(notes.empty());
}

// Names that choose "jpeg", "tiff" and "auto"; the engine reads each file's content.
TEST(GeneratePdf, ImagesLoadWhateverTheirNamesSay) {
    TempDir dir;
    std::filesystem::create_directory(dir / "scans.jpg");
    const std::vector<std::string> paths = {dir / "upper.JPG", dir / "long.tiff",
                                            dir / "scans.jpg/page.tif", dir / "photo.jpeg",
                                            dir / "page.TIFF"};
    WriteJpeg(paths[0], 40, 30);
    WriteRgbTiff(paths[1], 50, 30);
    WriteRgbTiff(paths[2], 60, 30);
    WriteJpeg(paths[3], 70, 30);
    WriteRgbTiff(paths[4], 80, 30);
    const std::string out = dir / "out.pdf";
    folvane::generatePdf(out, paths, kThreeMegapixels);

    EXPECT_TRUE(QpdfCheck(out));
    auto images = ListImages(out);
    ASSERT_EQ(images.size(), paths.size());
    for (size_t i = 0; i < images.size(); ++i) {
        EXPECT_EQ(images[i].page, static_cast<int>(i + 1));
        EXPECT_EQ(images[i].width, static_cast<int>(40 + 10 * i));
    }
}

TEST(GeneratePdf, PathsLongerThan260BytesWork) {
    TempDir dir;
    std::string folder = dir.Path();
    for (int i = 0; i < 4; ++i) {
        folder += "/" + std::string(80, 'a' + i);
        std::filesystem::create_directory(folder);
    }
    const std::string image = folder + "/page.jpg";
    WriteJpeg(image, 20, 20);
    const std::string out = folder + "/out.pdf";
    folvane::generatePdf(out, {image}, kFit);
    EXPECT_TRUE(QpdfCheck(out));
}

TEST(GeneratePdf, UnreadableImageFailsNamingItAndLeavesNoFile) {
    TempDir dir;
    WriteJpeg(dir / "good.jpg", 20, 20);
    WriteText(dir / "bad.jpg", "this is not a picture");
    const std::string out = dir / "out.pdf";
    for (const std::string &bad : {dir / "missing.jpg", dir / "bad.jpg"}) {
        bool told = false;
        folvane::GenerateEvents events;
        events.afterClose = [&] { told = true; };
        try {
            folvane::generatePdf(out, {dir / "good.jpg", bad}, kFit, events);
            ADD_FAILURE() << "no exception for " << bad;
        } catch (const folvane::GenerateError &e) {
            EXPECT_NE(std::string(e.what()).find(bad), std::string::npos) << e.what();
            EXPECT_EQ(e.path, bad);
            EXPECT_EQ(e.index, 1u);
        }
        EXPECT_FALSE(told);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    // Nothing else was left in the folder either (no temporary file).
    EXPECT_EQ(Listing(dir.Path()).size(), 2u);
}

TEST(GeneratePdf, FailedOrStoppedRunsLeaveAnExistingTargetUntouched) {
    TempDir dir;
    const std::string out = dir / "out.pdf";
    WriteText(out, "previous document");
    EXPECT_THROW(folvane::generatePdf(out, {dir / "missing.tif"}, kFit), folvane::GenerateError);
    EXPECT_EQ(ReadText(out), "previous document");

    WriteJpeg(dir / "a.jpg", 20, 20);
    folvane::GenerateEvents events;
    int polls = 0;
    events.stopRequested = [&] { return ++polls == 2; };
    EXPECT_THROW(folvane::generatePdf(out, {dir / "a.jpg", dir / "a.jpg"}, kFit, events),
                 folvane::GenerateCancelled);
    EXPECT_EQ(ReadText(out), "previous document");
    EXPECT_EQ(Listing(dir.Path()).size(), 2u);

    // A stop asked for while the last page was being written is still a stop.
    polls = 0;
    events.stopRequested = [&] { return ++polls == 3; };
    EXPECT_THROW(folvane::generatePdf(out, {dir / "a.jpg", dir / "a.jpg"}, kFit, events),
                 folvane::GenerateCancelled);
    EXPECT_EQ(ReadText(out), "previous document");
    EXPECT_EQ(Listing(dir.Path()).size(), 2u);
}

TEST(GeneratePdf, AnUncreatableOutputFailsWithTheEnginesReason) {
    TempDir dir;
    WriteJpeg(dir / "p.jpg", 20, 20);
    const std::string out = dir / "no/such/folder/out.pdf";
    try {
        folvane::generatePdf(out, {dir / "p.jpg"}, kFit);
        FAIL() << "no exception";
    } catch (const folvane::GenerateError &e) {
        EXPECT_TRUE(e.aboutOutput());
        EXPECT_EQ(e.path, out);
        EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos)
            << e.what();
    }
}

TEST(GeneratePdf, AnOutputThatIsOneOfTheImagesIsRefused) {
    TempDir dir;
    WriteJpeg(dir / "p.jpg", 20, 20);
    const std::string original = ReadText(dir / "p.jpg");
    std::filesystem::create_hard_link(dir / "p.jpg", dir / "hard.pdf");
    std::filesystem::create_symlink("p.jpg", dir / "soft.pdf");
    for (const std::string &out : {dir / "p.jpg", dir / "hard.pdf", dir / "soft.pdf"}) {
        try {
            folvane::generatePdf(out, {dir / "p.jpg"}, kFit);
            ADD_FAILURE() << "no exception for " << out;
        } catch (const folvane::GenerateError &e) {
            EXPECT_TRUE(e.aboutOutput());
            EXPECT_NE(std::string(e.what()).find("is the input image"), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(ReadText(dir / "p.jpg"), original);
    }
    EXPECT_EQ(Listing(dir.Path()).size(), 3u);
}

TEST(GeneratePdf, AnOutputLinkWritesTheFileItPointsTo) {
    TempDir dir;
    WriteJpeg(dir / "p.jpg", 20, 20);
    std::filesystem::create_directory(dir / "real");
    WriteText(dir / "real/doc.pdf", "old");
    std::filesystem::create_symlink("real/doc.pdf", dir / "link.pdf");
    folvane::generatePdf(dir / "link.pdf", {dir / "p.jpg"}, kFit);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.pdf"));
    EXPECT_TRUE(QpdfCheck(dir / "real/doc.pdf"));
    EXPECT_EQ(Listing(dir / "real").size(), 1u);
}

} // namespace
