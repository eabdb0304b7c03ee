#include "TiffTestFiles.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

namespace {

// The page as the file stores one plane of it: one byte-sized sample per pixel.
TiffPage Plane(const TiffPage& page, uint16_t sample) {
    TiffPage plane = page;
    plane.samplesPerPixel = 1;
    plane.data.clear();
    const size_t sampleBytes = page.bitsPerSample / 8;
    for (size_t pixel = 0; pixel < size_t{page.width} * page.height; ++pixel) {
        const auto first = page.data.begin() +
                           static_cast<long>((pixel * page.samplesPerPixel + sample) * sampleBytes);
        plane.data.insert(plane.data.end(), first, first + static_cast<long>(sampleBytes));
    }
    return plane;
}

void WriteStrips(TIFF* tif, const TiffPage& page, uint32_t firstStrip) {
    const size_t rowBytes = page.RowBytes();
    const uint32_t rowsPerStrip = page.rowsPerStrip == 0 ? page.height : page.rowsPerStrip;
    uint32_t strip = firstStrip;
    for (uint32_t y = 0; y < page.height; y += rowsPerStrip, ++strip) {
        const uint32_t rows = std::min(rowsPerStrip, page.height - y);
        std::vector<uint8_t> bytes(page.data.begin() + y * rowBytes,
                                   page.data.begin() + (y + rows) * rowBytes);
        ASSERT_GE(
            TIFFWriteEncodedStrip(tif, strip, bytes.data(), static_cast<tmsize_t>(bytes.size())),
            0);
    }
}

// Tile bytes beyond the image's edges are 0xEE, so a decoder that shows them is caught.
void WriteTiles(TIFF* tif, const TiffPage& page, uint16_t sample) {
    const size_t pixelBytes = size_t{page.samplesPerPixel} * page.bitsPerSample / 8;
    const size_t rowBytes = page.RowBytes();
    const size_t tileRowBytes = page.tileWidth * pixelBytes;
    for (uint32_t ty = 0; ty < page.height; ty += page.tileLength) {
        for (uint32_t tx = 0; tx < page.width; tx += page.tileWidth) {
            std::vector<uint8_t> tile(tileRowBytes * page.tileLength, 0xEE);
            for (uint32_t r = 0; r < page.tileLength && ty + r < page.height; ++r) {
                const size_t inside =
                    std::min<size_t>(page.tileWidth, page.width - tx) * pixelBytes;
                std::copy_n(page.data.begin() + (ty + r) * rowBytes + tx * pixelBytes, inside,
                            tile.begin() + r * tileRowBytes);
            }
            ASSERT_GE(TIFFWriteTile(tif, tile.data(), tx, ty, 0, sample), 0);
        }
    }
}

void WritePixels(TIFF* tif, const TiffPage& page) {
    const bool separate = page.planar == PLANARCONFIG_SEPARATE;
    const uint16_t planes = separate ? page.samplesPerPixel : 1;
    const uint32_t rowsPerStrip = page.rowsPerStrip == 0 ? page.height : page.rowsPerStrip;
    const uint32_t stripsPerPlane = (page.height + rowsPerStrip - 1) / rowsPerStrip;
    for (uint16_t sample = 0; sample < planes; ++sample) {
        const TiffPage pixels = separate ? Plane(page, sample) : page;
        if (page.tileWidth != 0) {
            WriteTiles(tif, pixels, sample);
        } else {
            WriteStrips(tif, pixels, sample * stripsPerPlane);
        }
    }
}

void WritePage(TIFF* tif, const TiffPage& page) {
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, page.samplesPerPixel);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, page.bitsPerSample);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, page.compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, page.planar);
    if (page.compression == COMPRESSION_JPEG) {
        TIFFSetField(tif, TIFFTAG_JPEGQUALITY, page.jpegQuality == 0 ? 90 : page.jpegQuality);
        if (page.photometric == PHOTOMETRIC_YCBCR) {
            TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        }
    }
    if (page.photometric == PHOTOMETRIC_SEPARATED) {
        TIFFSetField(tif, TIFFTAG_INKSET, INKSET_CMYK);
    }
    if (!page.extraSamples.empty()) {
        TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, static_cast<uint16_t>(page.extraSamples.size()),
                     page.extraSamples.data());
    }
    if (!page.colorMap.empty()) {
        const size_t n = page.colorMap.size() / 3;
        std::vector<uint16_t> map = page.colorMap;
        TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + n, map.data() + 2 * n);
    }
    if (page.orientation != 0) {
        TIFFSetField(tif, TIFFTAG_ORIENTATION, page.orientation);
    }
    if (page.resolutionUnit != 0) {
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, page.resolutionUnit);
    }
    if (page.xResolution) {
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, *page.xResolution);
    }
    if (page.yResolution) {
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, *page.yResolution);
    }
    if (page.xPosition) {
        TIFFSetField(tif, TIFFTAG_XPOSITION, *page.xPosition);
    }
    if (page.yPosition) {
        TIFFSetField(tif, TIFFTAG_YPOSITION, *page.yPosition);
    }
    ASSERT_EQ(page.data.size(), page.RowBytes() * page.height) << "test data size";
    if (page.tileWidth != 0) {
        TIFFSetField(tif, TIFFTAG_TILEWIDTH, page.tileWidth);
        TIFFSetField(tif, TIFFTAG_TILELENGTH, page.tileLength);
    } else if (page.rowsPerStrip != 0) {
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, page.rowsPerStrip);
    }
    WritePixels(tif, page);
}

} // namespace

std::string TiffTempPath(const std::string& name) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string stem = std::string(test->test_suite_name()) + "_" + test->name() + "_" + name;
    std::replace(stem.begin(), stem.end(), '/', '_');
    return (std::filesystem::temp_directory_path() / ("folvane_tiff_" + stem)).string();
}

void WriteTiff(const std::string& path, const std::vector<TiffPage>& pages, const char* mode) {
    TIFF* tif = TIFFOpen(path.c_str(), mode);
    ASSERT_NE(tif, nullptr);
    for (const TiffPage& page : pages) {
        WritePage(tif, page);
        ASSERT_TRUE(TIFFWriteDirectory(tif));
    }
    TIFFClose(tif);
}

void WriteTiff(const std::string& path, const TiffPage& page, const char* mode) {
    WriteTiff(path, std::vector<TiffPage>{page}, mode);
}

bool LoadTiff(CfImage& image, const std::string& path, int32_t frame) {
    image.info.frame = frame;
    return image.Load(path.c_str(), FormatUnknown);
}

RGBQUAD PixelFromTop(const CfImage& image, uint32_t x, uint32_t row) {
    return image.PixelColorAt(static_cast<int32_t>(x),
                              static_cast<int32_t>(image.GetHeight() - 1 - row), false);
}

uint8_t AlphaFromTop(const CfImage& image, uint32_t x, uint32_t row) {
    return image.AlphaAtUnguarded(static_cast<int32_t>(x),
                                  static_cast<int32_t>(image.GetHeight() - 1 - row));
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
