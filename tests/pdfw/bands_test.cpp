// Pages too large to hold go through in bands of rows (StreamedRaster) and come out as the
// pages held whole do: every kind of TIFF and PNG the engine decodes is written once as usual
// and once with the size at which pages go through in bands lowered to one byte (every page a
// band of one strip, one row of tiles or one row), and the image objects of both documents
// hold the same samples under the same dictionaries.
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Pdf.h"
#include "tests/support/Png.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

struct ImageObject {
    std::string dictionary; // without /Length
    std::string samples;    // decoded by qpdf
};

std::string WithoutLength(std::string dictionary) {
    std::size_t at = dictionary.find("/Length ");
    if (at != std::string::npos) {
        std::size_t end = dictionary.find_first_of("/>", at + 8);
        dictionary.erase(at, end - at);
    }
    return dictionary;
}

ImageObject Object(const std::string &pdf, int number) {
    const std::string object = "--show-object=" + std::to_string(number);
    return {WithoutLength(RunProgram({"qpdf", object, pdf}).out),
            RunProgram({"qpdf", object, "--filtered-stream-data", pdf}).out};
}

// The first page's image and its soft mask, if any.
std::vector<ImageObject> PageImages(const std::string &pdf) {
    std::string pages = RunProgram({"qpdf", "--show-pages", "--with-images", pdf}).out;
    std::size_t at = pages.find("/Im");
    if (at == std::string::npos) {
        return {};
    }
    std::vector<ImageObject> objects = {
        Object(pdf, std::atoi(pages.c_str() + pages.find(':', at) + 1))};
    std::size_t mask = objects[0].dictionary.find("/SMask ");
    if (mask != std::string::npos) {
        objects.push_back(Object(pdf, std::atoi(objects[0].dictionary.c_str() + mask + 7)));
    }
    return objects;
}

class BandsTest : public ::testing::Test {
protected:
    std::vector<ImageObject> Convert(const std::string &image, const char *version, bool bands) {
        if (bands) {
            ::setenv("FOLVANE_PDFW_WHOLE_PICTURE_BYTES", "1", 1);
            ::setenv("FOLVANE_PDFW_BAND_BYTES", "1", 1);
        }
        std::string pdf = dir / (bands ? "bands.pdf" : "whole.pdf");
        Engine engine;
        bool written = engine.writeDocument(pdf, {{image, 100, 100}}, version);
        ::unsetenv("FOLVANE_PDFW_WHOLE_PICTURE_BYTES");
        ::unsetenv("FOLVANE_PDFW_BAND_BYTES");
        EXPECT_TRUE(written) << engine.lastMessage();
        EXPECT_TRUE(QpdfCheck(pdf));
        return PageImages(pdf);
    }

    void ExpectSame(const std::string &image, const char *version = "1.4") {
        SCOPED_TRACE(image + " in PDF " + version);
        std::vector<ImageObject> whole = Convert(image, version, false);
        std::vector<ImageObject> bands = Convert(image, version, true);
        ASSERT_FALSE(whole.empty());
        ASSERT_EQ(whole.size(), bands.size());
        for (std::size_t i = 0; i < whole.size(); ++i) {
            EXPECT_EQ(whole[i].dictionary, bands[i].dictionary);
            EXPECT_FALSE(whole[i].samples.empty());
            EXPECT_TRUE(whole[i].samples == bands[i].samples) << "object " << i;
        }
    }

    std::string Tiff(const std::string &name, TiffPage page) {
        WriteTiff(dir / name, {page});
        return dir / name;
    }

    std::string Png(const std::string &name, const PngImage &image) {
        WriteFile(dir / name, MakePng(image));
        return dir / name;
    }

    TempDir dir;
};

TiffPage PageOf(int width, int height, int components, int bits, uint16_t photometric) {
    TiffPage page;
    page.width = width;
    page.height = height;
    page.samplesPerPixel = static_cast<uint16_t>(components);
    page.bitsPerSample = static_cast<uint16_t>(bits);
    page.photometric = photometric;
    page.compression = COMPRESSION_ADOBE_DEFLATE;
    page.rowsPerStrip = 3;
    page.data.resize(page.RowBytes() * height);
    for (std::size_t i = 0; i < page.data.size(); ++i) {
        page.data[i] = static_cast<uint8_t>(i * 37 + i / 11);
    }
    return page;
}

TEST_F(BandsTest, TiffPagesOfEveryKindComeOutAsWhole) {
    ExpectSame(Tiff("rgb.tif", PageOf(45, 31, 3, 8, PHOTOMETRIC_RGB)));
    TiffPage tiled = PageOf(45, 31, 3, 8, PHOTOMETRIC_RGB);
    tiled.tileWidth = tiled.tileLength = 16;
    ExpectSame(Tiff("tiled.tif", tiled));
    ExpectSame(Tiff("grey16.tif", PageOf(45, 31, 1, 16, PHOTOMETRIC_MINISBLACK)));
    ExpectSame(Tiff("grey16.tif", PageOf(45, 31, 1, 16, PHOTOMETRIC_MINISBLACK)), "1.5");
    ExpectSame(Tiff("grey12.tif", PageOf(45, 31, 1, 12, PHOTOMETRIC_MINISBLACK)));
    ExpectSame(Tiff("rgb10.tif", PageOf(45, 31, 3, 10, PHOTOMETRIC_RGB)), "1.5");
    ExpectSame(Tiff("white2.tif", PageOf(45, 31, 1, 2, PHOTOMETRIC_MINISWHITE)));
    TiffPage alpha = PageOf(45, 31, 4, 16, PHOTOMETRIC_RGB);
    alpha.extraSamples = {EXTRASAMPLE_UNASSALPHA};
    ExpectSame(Tiff("alpha.tif", alpha), "1.5");
    TiffPage cmyk = PageOf(45, 31, 4, 8, PHOTOMETRIC_SEPARATED);
    ExpectSame(Tiff("cmyk.tif", cmyk));
    TiffPage palette = PageOf(45, 31, 1, 4, PHOTOMETRIC_PALETTE);
    for (int i = 0; i < 3 * 16; ++i) {
        palette.colorMap.push_back(static_cast<uint16_t>(i * 1300));
    }
    ExpectSame(Tiff("palette.tif", palette));
    // Through libtiff's RGBA reader, a band at a time.
    ExpectSame(Tiff("lab.tif", PageOf(45, 31, 3, 8, PHOTOMETRIC_CIELAB)));
    // Bilevel fax data in several strips is decoded.
    TiffPage fax = FaxPage(45, 31, COMPRESSION_CCITTFAX4);
    fax.rowsPerStrip = 4;
    ExpectSame(Tiff("fax.tif", fax));
}

PngImage PngOf(int width, int height, PngColour colour, int bits) {
    PngImage png;
    png.width = width;
    png.height = height;
    png.colour = colour;
    png.bitDepth = bits;
    png.data.resize(png.RowBytes() * height);
    for (std::size_t i = 0; i < png.data.size(); ++i) {
        png.data[i] = static_cast<uint8_t>(i * 29 + i / 13);
    }
    return png;
}

TEST_F(BandsTest, PngPicturesOfEveryKindComeOutAsWhole) {
    ExpectSame(Png("rgba.png", PngOf(45, 31, PngColour::Rgba, 8)));
    ExpectSame(Png("greyalpha16.png", PngOf(45, 31, PngColour::GreyAlpha, 16)), "1.5");
    ExpectSame(Png("rgb16.png", PngOf(45, 31, PngColour::Rgb, 16)));
    // Interlaced: the passes are put together in a file with no name.
    PngImage interlaced = PngOf(45, 31, PngColour::Rgba, 8);
    interlaced.interlaced = true;
    ExpectSame(Png("interlaced.png", interlaced));
    PngImage palette = PngOf(45, 31, PngColour::Palette, 8);
    for (int i = 0; i < 256; ++i) {
        palette.palette.push_back(static_cast<uint32_t>(i * 0x010305));
        palette.transparency.push_back(static_cast<uint8_t>(255 - i / 2));
    }
    ExpectSame(Png("palette.png", palette));
    // Wholly opaque alpha is left out either way.
    PngImage opaque = PngOf(45, 31, PngColour::GreyAlpha, 8);
    for (std::size_t i = 1; i < opaque.data.size(); i += 2) {
        opaque.data[i] = 255;
    }
    ExpectSame(Png("opaque.png", opaque));
    // Large image data that passes through goes through a spill file.
    ExpectSame(Png("grey.png", PngOf(45, 31, PngColour::Grey, 8)));
}

} // namespace
