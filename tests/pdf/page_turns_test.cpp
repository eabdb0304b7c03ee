// Pages the user turned: the turn is the image's placement, so the files' data goes into the PDF
// as without it, and the page follows the turned picture. Judged with poppler and qpdf.

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PageGeneration.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using folvane::GenerateOptions;
using folvane::PageLayout;
using namespace support;

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kBlack = 0x000000;

// Mid grey with a block of colour in each corner, a quarter of each side: red top left, green
// top right, blue bottom left, black bottom right.
Picture CornerPicture(int width, int height) {
    Picture picture = Solid(width, height, 0x808080);
    const uint32_t corners[2][2] = {{kRed, kGreen}, {kBlue, kBlack}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width - width / 4, bottom = y >= height - height / 4;
            if ((x < width / 4 || right) && (y < height / 4 || bottom)) {
                const uint32_t rgb = corners[bottom][right];
                picture.At(x, y, 0) = static_cast<uint8_t>(rgb >> 16);
                picture.At(x, y, 1) = static_cast<uint8_t>(rgb >> 8);
                picture.At(x, y, 2) = static_cast<uint8_t>(rgb);
            }
        }
    }
    return picture;
}

GenerateOptions Fit() {
    GenerateOptions options;
    options.layout = PageLayout::fitted();
    return options;
}

// The colours near the top left, top right, bottom left and bottom right corners of the picture
// a fit page shows centred (its size `width` x `height` as shown).
std::vector<uint32_t> ShownCorners(const std::string &pdf, int page, double width, double height) {
    const Picture shown = RenderPage(pdf, page);
    EXPECT_GT(shown.width, 0);
    if (shown.width == 0) {
        return {};
    }
    const double scale = std::min(shown.width / width, shown.height / height);
    const double left = (shown.width - width * scale) / 2,
                 top = (shown.height - height * scale) / 2;
    std::vector<uint32_t> colours;
    for (auto [u, v] : {std::pair{0.1, 0.1}, {0.9, 0.1}, {0.1, 0.9}, {0.9, 0.9}}) {
        const uint32_t rgb = shown.Rgb(static_cast<int>(left + u * width * scale),
                                       static_cast<int>(top + v * height * scale));
        // JPEG's colours come back near, not equal: each channel taken as on or off.
        uint32_t snapped = 0;
        for (int shift : {16, 8, 0}) {
            snapped |= (((rgb >> shift) & 0xFF) > 128 ? 0xFFu : 0u) << shift;
        }
        colours.push_back(snapped);
    }
    return colours;
}

bool Contains(const Bytes &haystack, const Bytes &needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

TEST(PageTurns, AJpegTurnsByItsPlacementItsBytesUnchangedAndComposesWithItsExif) {
    TempDir dir;
    const Bytes plain = MakeJpeg(CornerPicture(160, 80));
    JpegOptions sideways;
    sideways.exifOrientation = 6; // shown a quarter turn clockwise: 80 x 160
    const Bytes marked = MakeJpeg(CornerPicture(160, 80), sideways);
    WriteFile(dir / "plain.jpg", plain);
    WriteFile(dir / "six.jpg", marked);
    const std::string out = dir / "out.pdf";
    GenerateOptions options = Fit();
    options.pageEdits[0].quarterTurns = 1;  // a quarter clockwise
    options.pageEdits[1].quarterTurns = -1; // a quarter anticlockwise
    options.pageEdits[2].quarterTurns = 1;  // on top of the EXIF quarter: upside down
    folvane::generatePdf(out, {dir / "plain.jpg", dir / "plain.jpg", dir / "six.jpg"}, options);

    EXPECT_TRUE(QpdfCheck(out));
    // The landscape photo turned a quarter makes a portrait page; turned twice a landscape one.
    EXPECT_EQ(PageSizes(out), (std::vector<PageSize>{{595, 842}, {595, 842}, {842, 595}}));
    const Bytes written = ReadFile(out);
    EXPECT_TRUE(Contains(written, plain));
    EXPECT_TRUE(Contains(written, marked));
    for (const PdfImage &image : ListImages(out)) {
        EXPECT_EQ(image.filter, "DCTDecode");
        EXPECT_EQ(image.width, 160);
        EXPECT_EQ(image.height, 80);
    }
    EXPECT_EQ(ShownCorners(out, 1, 80, 160), (std::vector<uint32_t>{kBlue, kRed, kBlack, kGreen}));
    EXPECT_EQ(ShownCorners(out, 2, 80, 160), (std::vector<uint32_t>{kGreen, kBlack, kRed, kBlue}));
    EXPECT_EQ(ShownCorners(out, 3, 160, 80), (std::vector<uint32_t>{kBlack, kBlue, kGreen, kRed}));
}

TEST(PageTurns, FaxAndFlateDataGoInAsWithoutTheTurn) {
    TempDir dir;
    WriteTiff(dir / "fax.tif", {FaxPage(400, 200)});
    WriteFile(dir / "corners.png", MakePng(PngImageOf(CornerPicture(160, 80))));
    const std::string straight = dir / "straight.pdf";
    const std::string turned = dir / "turned.pdf";
    const std::vector<std::string> images = {dir / "fax.tif", dir / "corners.png"};
    folvane::generatePdf(straight, images, Fit());
    GenerateOptions options = Fit();
    options.pageEdits[0].quarterTurns = 3;
    options.pageEdits[1].quarterTurns = 2;
    folvane::generatePdf(turned, images, options);

    EXPECT_TRUE(QpdfCheck(turned));
    EXPECT_EQ(PageSizes(turned), (std::vector<PageSize>{{595, 842}, {842, 595}}));
    const std::vector<PdfImage> before = ListImages(straight), after = ListImages(turned);
    ASSERT_EQ(after.size(), 2u);
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(after[0].filter, "CCITTFaxDecode");
    EXPECT_EQ(after[1].filter, "FlateDecode");
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(after[i].dictionary, before[i].dictionary);
    }
    EXPECT_EQ(ShownCorners(turned, 2, 160, 80),
              (std::vector<uint32_t>{kBlack, kBlue, kGreen, kRed}));
}

// Turns by page of the document add to the row's: a TIFF of three pages counts as three.
TEST(PageTurns, DocumentPagesTurnOnTopOfTheirRow) {
    TempDir dir;
    std::vector<TiffPage> pages(3, TiffPageOf(CornerPicture(200, 100)));
    WriteTiff(dir / "three.tif", pages);
    WriteFile(dir / "one.jpg", MakeJpeg(CornerPicture(200, 100)));
    GenerateOptions options = Fit();
    options.pageEdits[0].quarterTurns = 2;
    options.pageTurns = {{1, 1}, {2, -1}, {3, 5}};
    const std::string out = dir / "out.pdf";
    folvane::generatePdf(out, {dir / "three.tif", dir / "one.jpg"}, options);
    EXPECT_EQ(PageSizes(out),
              (std::vector<PageSize>{{842, 595}, {595, 842}, {595, 842}, {595, 842}}));
    EXPECT_EQ(ShownCorners(out, 2, 100, 200), (std::vector<uint32_t>{kGreen, kBlack, kRed, kBlue}));

    // A class places the turned picture at the page's lower left corner, A4 portrait as ever.
    options = GenerateOptions{};
    options.layout = PageLayout::ofClass(1);
    options.pageEdits[1].quarterTurns = 1;
    folvane::generatePdf(out, {dir / "three.tif", dir / "one.jpg"}, options);
    const auto matrices = PlacementMatrices(out);
    ASSERT_EQ(matrices.size(), 4u);
    EXPECT_EQ(PageSizes(out).back(), (PageSize{595, 842}));
    // The stored rows run down the page: the matrix swaps the axes, 100 x 200 points at 0.42.
    EXPECT_NEAR(matrices[3][0], 0, 1e-3);
    EXPECT_NEAR(std::abs(matrices[3][1]), 200 * 0.42, 1e-2);
    EXPECT_NEAR(std::abs(matrices[3][2]), 100 * 0.42, 1e-2);
}

} // namespace
