// Every page of a multi-page TIFF, on every path (fax data copied, JPEG strips joined, decoded),
// each upright by its own orientation tag.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

TEST(TiffPagesTest, EveryPageGoesInByItsOwnPathAndOrientation) {
    TempDir dir;
    TiffPage fax = FaxPage(40, 24);
    for (std::size_t i = 0; i < fax.data.size(); i += 3) {
        fax.data[i] = 0x3C;
    }
    TiffPage photo = TiffPageOf(Pattern(32, 16, 3));
    photo.compression = COMPRESSION_JPEG;
    photo.rowsPerStrip = 8;
    photo.orientation = 6;
    TiffPage scan = TiffPageOf(Pattern(24, 20, 3, 4));
    scan.compression = COMPRESSION_LZW;
    scan.orientation = 3;
    std::string file = dir / "three.tif";
    WriteTiff(file, {fax, photo, scan});

    Engine engine;
    std::string out = dir / "three.pdf";
    ASSERT_EQ(pdfw_open_file(engine.ctx(), out.c_str()), 1);
    const float sizes[3][2] = {{40, 24}, {16, 32}, {24, 20}}; // upright
    for (int page = 1; page <= 3; ++page) {
        pdfw_begin_page(engine.ctx(), sizes[page - 1][0], sizes[page - 1][1]);
        int image = pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", page);
        ASSERT_GE(image, 1) << engine.lastMessage();
        pdfw_place_image(engine.ctx(), image, 0, 0, 1);
        pdfw_close_image(engine.ctx(), image);
        pdfw_end_page(engine.ctx());
    }
    ASSERT_EQ(pdfw_close(engine.ctx()), 0) << engine.lastMessage();
    EXPECT_TRUE(QpdfCheck(out));
    EXPECT_EQ(PageCount(out), 3);
    std::vector<PdfImage> images = ListImages(out);
    ASSERT_EQ(images.size(), 3u);
    EXPECT_EQ(images[0].filter, "CCITTFaxDecode");
    EXPECT_EQ(images[1].filter, "DCTDecode");
    EXPECT_EQ(images[2].filter, "FlateDecode");

    EXPECT_EQ(MaxDifference(RenderPage(out, 1), WithoutAlpha(ReadTiffRgba(file, 0))), 0);
    std::vector<std::string> lines = DrawingLines(out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].rfind("q 0 -32 16 0 0 32 cm", 0), 0u) << lines[1]; // a quarter turn
    // libtiff's RGBA reader turns the picture upright itself (orientations 1 to 4).
    EXPECT_EQ(MaxDifference(RenderPage(out, 3), WithoutAlpha(ReadTiffRgba(file, 2))), 0);
}

TEST(TiffPagesTest, APageBeyondTheLastIsRefusedNamingIt) {
    TempDir dir;
    std::string file = dir / "two.tif";
    WriteTiff(file, {TiffPageOf(Pattern(8, 8, 1)), TiffPageOf(Pattern(8, 8, 3))});
    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "two.pdf").c_str()), 1);
    EXPECT_GE(pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 2), 1);
    EXPECT_EQ(pdfw_load_image(engine.ctx(), "tiff", file.c_str(), "", 3), -1);
    EXPECT_EQ(engine.lastType(), PDFW_VALUE_ERROR);
    EXPECT_NE(engine.lastMessage().find("has no page 3"), std::string::npos);
}

} // namespace
