// The resolution an image file states, which pages the size of their image are laid out by:
// JFIF densities, TIFF resolution tags, PNG pHYs; upright for a turned picture, 0 where the
// file states only an aspect or nothing.

#include <string>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

Bytes BigEndian32(uint32_t value) {
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

Bytes PhysChunk(uint32_t x, uint32_t y, uint8_t unit) {
    Bytes body = BigEndian32(x);
    const Bytes second = BigEndian32(y);
    body.insert(body.end(), second.begin(), second.end());
    body.push_back(unit);
    return body;
}

std::string Jpeg(const std::string &path, int unit, int x, int y, int orientation = 0) {
    JpegOptions options;
    options.densityUnit = unit;
    options.xDensity = x;
    options.yDensity = y;
    options.exifOrientation = orientation;
    WriteFile(path, MakeJpeg(Pattern(40, 20, 3), options));
    return path;
}

std::string Png(const std::string &path, const Bytes &phys) {
    PngImage image = PngImageOf(Pattern(40, 20, 3));
    if (!phys.empty()) {
        image.chunks.push_back({"pHYs", phys});
    }
    WriteFile(path, MakePng(image));
    return path;
}

std::string Tiff(const std::string &path, uint16_t unit, float x, float y) {
    TiffPage page = TiffPageOf(Pattern(40, 20, 1));
    page.resolutionUnit = unit;
    page.xResolution = x;
    page.yResolution = y;
    WriteTiff(path, {page});
    return path;
}

TEST(ImageResolution, AsEachFormatStatesItUprightAndZeroWithoutASize) {
    TempDir dir;
    Engine engine;
    ASSERT_EQ(pdfw_open_file(engine.ctx(), (dir / "out.pdf").c_str()), 1);
    struct Case {
        std::string path;
        float x, y;
    };
    const Case cases[] = {
        {Jpeg(dir / "inch.jpg", 1, 300, 150), 300, 150},
        {Jpeg(dir / "cm.jpg", 2, 118, 118), 299.72f, 299.72f},
        {Jpeg(dir / "aspect.jpg", 0, 1, 1), 0, 0},
        {Jpeg(dir / "turned.jpg", 1, 300, 150, 6), 150, 300},
        {Png(dir / "metre.png", PhysChunk(11811, 5906, 1)), 299.9994f, 150.0124f},
        {Png(dir / "aspect.png", PhysChunk(2, 1, 0)), 0, 0},
        {Png(dir / "none.png", {}), 0, 0},
        {Tiff(dir / "inch.tif", RESUNIT_INCH, 600, 300), 600, 300},
        {Tiff(dir / "cm.tif", RESUNIT_CENTIMETER, 100, 100), 254, 254},
        {Tiff(dir / "unitless.tif", RESUNIT_NONE, 300, 300), 0, 0},
    };
    for (const Case &c : cases) {
        const int image = pdfw_load_image(engine.ctx(), "auto", c.path.c_str(), "", 1);
        ASSERT_GT(image, 0) << c.path << ": " << engine.lastMessage();
        float x = -1;
        float y = -1;
        ASSERT_EQ(pdfw_get_image_resolution(engine.ctx(), image, &x, &y), 0);
        EXPECT_NEAR(x, c.x, 0.01) << c.path;
        EXPECT_NEAR(y, c.y, 0.01) << c.path;
        pdfw_close_image(engine.ctx(), image);
        EXPECT_EQ(pdfw_get_image_resolution(engine.ctx(), image, &x, &y), -1);
        EXPECT_EQ(engine.lastType(), PDFW_INDEX_ERROR);
    }
}

} // namespace
