// Page generation with the real engine: the documents it writes, judged with qpdf and poppler.

#include "pdf/PageGeneration.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;

void WriteJpeg(const std::string &path, int width, int height, int components = 3) {
    WriteFile(path, MakeJpeg(Pattern(width, height, components)));
}

void WriteRgbTiff(const std::string &path, int width, int height) {
    WriteTiff(path, {TiffPageOf(Pattern(width, height, 3))});
}

TEST(GeneratePdf, ThreePagesInListOrderOnA4) {
    TempDir dir;
    WriteJpeg(dir / "b.jpg", 300, 200);
    WriteRgbTiff(dir / "a.tif", 120, 240);
    WriteJpeg(dir / "c.jpg", 64, 48, 1);
    const std::string out = dir / "out.pdf";
    bool completeWhenTold = false;
    folvane::GeneratePdf(out, {dir / "b.jpg", dir / "a.tif", dir / "c.jpg"}, 1,
                         [&] { completeWhenTold = QpdfCheck(out); });

    EXPECT_TRUE(completeWhenTold);
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(ReadText(out).substr(0, 8), "%PDF-1.4");
    auto sizes = PageSizes(out);
    ASSERT_EQ(sizes.size(), 3u);
    for (const auto &size : sizes) {
        EXPECT_DOUBLE_EQ(size.width, 595);
        EXPECT_DOUBLE_EQ(size.height, 842);
    }
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

class PlacementTest : public ::testing::TestWithParam<int> {};

// One point per pixel, scaled by the class's factor, at the page origin.
TEST_P(PlacementTest, ImageIsScaledByTheClassFactorAtTheOrigin) {
    const double scales[] = {0.525, 0.42, 0.331, 0.264, 0.2358, 0.1871, 0.1871};
    const double scale = scales[GetParam()];
    TempDir dir;
    WriteJpeg(dir / "p.jpg", 1000, 500);
    const std::string out = dir / "out.pdf";
    folvane::GeneratePdf(out, {dir / "p.jpg"}, GetParam());

    auto matrices = PlacementMatrices(out);
    ASSERT_EQ(matrices.size(), 1u);
    const auto &m = matrices[0];
    EXPECT_NEAR(m[0], 1000 * scale, 0.01);
    EXPECT_NEAR(m[1], 0, 1e-6);
    EXPECT_NEAR(m[2], 0, 1e-6);
    EXPECT_NEAR(m[3], 500 * scale, 0.01);
    EXPECT_NEAR(m[4], 0, 1e-6);
    EXPECT_NEAR(m[5], 0, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(AllClasses, PlacementTest, ::testing::Range(0, 7));

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
    folvane::GeneratePdf(out, paths, 1);

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
    folvane::GeneratePdf(out, {image}, 1);
    EXPECT_TRUE(QpdfCheck(out));
}

TEST(GeneratePdf, UnreadableImageFailsNamingItAndLeavesNoFile) {
    TempDir dir;
    WriteJpeg(dir / "good.jpg", 20, 20);
    WriteText(dir / "bad.jpg", "this is not a picture");
    const std::string out = dir / "out.pdf";
    for (const std::string &bad : {dir / "missing.jpg", dir / "bad.jpg"}) {
        bool told = false;
        try {
            folvane::GeneratePdf(out, {dir / "good.jpg", bad}, 1, [&] { told = true; });
            ADD_FAILURE() << "no exception for " << bad;
        } catch (const PdfWriter::Exception &e) {
            EXPECT_NE(e.message.find(bad), std::string::npos) << e.message;
        }
        EXPECT_FALSE(told);
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    // Nothing else was left in the folder either (no temporary file).
    EXPECT_EQ(Listing(dir.Path()), (std::set<std::string>{"bad.jpg", "good.jpg"}));
}

TEST(GeneratePdf, FailedRunLeavesAnExistingTargetUntouched) {
    TempDir dir;
    const std::string out = dir / "out.pdf";
    WriteText(out, "previous document");
    EXPECT_THROW(folvane::GeneratePdf(out, {dir / "missing.tif"}, 1), PdfWriter::Exception);
    EXPECT_EQ(ReadText(out), "previous document");
}

TEST(GeneratePdf, UnopenableOutputThrowsTheOpenText) {
    TempDir dir;
    WriteJpeg(dir / "p.jpg", 20, 20);
    try {
        folvane::GeneratePdf(dir / "no/such/folder/out.pdf", {dir / "p.jpg"}, 1);
        FAIL() << "no exception";
    } catch (const char *text) {
        EXPECT_STREQ(text, "打开文件出错!");
    }
}

} // namespace
