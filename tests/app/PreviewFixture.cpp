#include "tests/app/PreviewFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>
#include <tiffio.h>

#include "app/Resource.h"

namespace {

void Put32(std::vector<uint8_t> &out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

std::vector<uint8_t> SolidRgbRows(int width, int height, uint32_t rgb) {
    std::vector<uint8_t> rgbRows(size_t(width) * height * 3);
    for (size_t i = 0; i < rgbRows.size(); i += 3) {
        rgbRows[i] = static_cast<uint8_t>(rgb >> 16);
        rgbRows[i + 1] = static_cast<uint8_t>(rgb >> 8);
        rgbRows[i + 2] = static_cast<uint8_t>(rgb);
    }
    return rgbRows;
}

} // namespace

void WriteSolidBmp(const std::string &path, int width, int height, uint32_t rgb) {
    const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> file(54 + stride * height);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(file.size()));
    Put32(file, 10, 54);
    Put32(file, 14, 40);
    Put32(file, 18, static_cast<uint32_t>(width));
    Put32(file, 22, static_cast<uint32_t>(height));
    file[26] = 1;
    file[28] = 24;
    for (int row = 0; row < height; ++row) {
        for (int x = 0; x < width; ++x) {
            uint8_t *p = file.data() + 54 + row * stride + x * 3;
            p[0] = static_cast<uint8_t>(rgb);
            p[1] = static_cast<uint8_t>(rgb >> 8);
            p[2] = static_cast<uint8_t>(rgb >> 16);
        }
    }
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
}

void WriteSolidTiff(const std::string &path, int width, int height, uint32_t rgb) {
    TIFF *tif = TIFFOpen(path.c_str(), "w");
    ASSERT_NE(tif, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, height);
    std::vector<uint8_t> rows = SolidRgbRows(width, height, rgb);
    for (int y = 0; y < height; ++y) {
        TIFFWriteScanline(tif, rows.data() + size_t(y) * width * 3, y, 0);
    }
    TIFFClose(tif);
}

void WriteSolidJpeg(const std::string &path, int width, int height, uint32_t rgb) {
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> rows = SolidRgbRows(width, height, rgb);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = rows.data() + size_t(cinfo.next_scanline) * width * 3;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(f);
}

PreviewFixture::PreviewFixture() {
    ui.icons = {IDR_MAINFRAME};
    dlg.Create();
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Parameterised tests have slashes in their names; the folder stays one level deep.
    std::string name = std::string("folvane_preview_") + info->test_suite_name() + "_" +
                       info->name() + "_" + std::to_string(getpid());
    std::replace(name.begin(), name.end(), '/', '_');
    dir = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(dir);
}

PreviewFixture::~PreviewFixture() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

HeadlessDialog &PreviewFixture::Window() {
    return *ui.Dialog(IDD_FOLVANE_DIALOG);
}

CSurface &PreviewFixture::Frame() {
    return *Window().Wnd(IDC_PREVIEW_FRAME)->Surface();
}

std::string PreviewFixture::Path(const std::string &name) const {
    return (dir / name).string();
}

bool PreviewFixture::OnlyInside(const UiRect &rect) {
    CSurface &frame = Frame();
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            const bool inside =
                x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
            if (!inside && frame.PixelAt(x, y) != kWindowColor) {
                return false;
            }
        }
    }
    return true;
}

bool PreviewFixture::Near(uint32_t actual, uint32_t rgb, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = (actual >> shift) & 0xFF;
        const int e = (rgb >> shift) & 0xFF;
        if (std::abs(a - e) > tolerance) {
            return false;
        }
    }
    return true;
}
