// Page generation with the real engine: the documents it writes, judged with qpdf and poppler.

#include "pdf/PageGeneration.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/pdf/PdfTestSupport.h"

namespace {

using pdftest::TempDir;

TEST(GeneratePdf, ThreePagesInListOrderOnA4) {
    TempDir dir;
    pdftest::WriteJpeg(dir / "b.jpg", 300, 200);
    pdftest::WriteTiff(dir / "a.tif", 120, 240);
    pdftest::WriteJpeg(dir / "c.jpg", 64, 48, 1);
    const std::string out = dir / "out.pdf";
    bool completeWhenTold = false;
    folvane::GeneratePdf(out, {dir / "b.jpg", dir / "a.tif", dir / "c.jpg"}, 1,
                         [&] { completeWhenTold = pdftest::QpdfCheck(out); });

    EXPECT_TRUE(completeWhenTold);
    EXPECT_TRUE(pdftest::QpdfCheck(out));
    EXPECT_EQ(pdftest::ReadFile(out).substr(0, 8), "%PDF-1.4");
    auto sizes = pdftest::PageSizes(out);
    ASSERT_EQ(sizes.size(), 3u);
    for (const auto &size : sizes) {
        EXPECT_DOUBLE_EQ(size[0], 595);
        EXPECT_DOUBLE_EQ(size[1], 842);
    }
    auto images = pdftest::ListImages(out);
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
    pdftest::WriteJpeg(dir / "p.jpg", 1000, 500);
    const std::string out = dir / "out.pdf";
    folvane::GeneratePdf(out, {dir / "p.jpg"}, GetParam());

    auto matrices = pdftest::PlacementMatrices(out);
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
    pdftest::WriteJpeg(paths[0], 40, 30);
    pdftest::WriteTiff(paths[1], 50, 30);
    pdftest::WriteTiff(paths[2], 60, 30);
    pdftest::WriteJpeg(paths[3], 70, 30);
    pdftest::WriteTiff(paths[4], 80, 30);
    const std::string out = dir / "out.pdf";
    folvane::GeneratePdf(out, paths, 1);

    EXPECT_TRUE(pdftest::QpdfCheck(out));
    auto images = pdftest::ListImages(out);
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
    pdftest::WriteJpeg(image, 20, 20);
    const std::string out = folder + "/out.pdf";
    folvane::GeneratePdf(out, {image}, 1);
    EXPECT_TRUE(pdftest::QpdfCheck(out));
}

TEST(GeneratePdf, UnreadableImageFailsNamingItAndLeavesNoFile) {
    TempDir dir;
    pdftest::WriteJpeg(dir / "good.jpg", 20, 20);
    pdftest::WriteText(dir / "bad.jpg", "this is not a picture");
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
        EXPECT_FALSE(pdftest::FileExists(out));
    }
    // Nothing else was left in the folder either (no temporary file).
    size_t entries = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2u);
}

TEST(GeneratePdf, FailedRunLeavesAnExistingTargetUntouched) {
    TempDir dir;
    const std::string out = dir / "out.pdf";
    pdftest::WriteText(out, "previous document");
    EXPECT_THROW(folvane::GeneratePdf(out, {dir / "missing.tif"}, 1), PdfWriter::Exception);
    EXPECT_EQ(pdftest::ReadFile(out), "previous document");
}

TEST(GeneratePdf, UnopenableOutputThrowsTheOpenText) {
    TempDir dir;
    pdftest::WriteJpeg(dir / "p.jpg", 20, 20);
    try {
        folvane::GeneratePdf(dir / "no/such/folder/out.pdf", {dir / "p.jpg"}, 1);
        FAIL() << "no exception";
    } catch (const char *text) {
        EXPECT_STREQ(text, "打开文件出错!");
    }
}

} // namespace
