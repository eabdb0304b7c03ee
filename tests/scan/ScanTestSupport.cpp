#include "tests/scan/ScanTestSupport.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <png.h>
#include <stdexcept>
#include <tiffio.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "scan/Scanner.h"

namespace scan_test {

namespace {

SANE_Int FindOption(SANE_Handle handle, const std::string &name) {
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor *d = sane_get_option_descriptor(handle, i);
        if (d == nullptr) {
            throw std::runtime_error("the test driver has no option " + name);
        }
        if (d->name != nullptr && name == d->name) {
            return i;
        }
    }
}

void SetRawOption(SANE_Handle handle, const std::string &name, const std::string &value) {
    const SANE_Int index = FindOption(handle, name);
    const SANE_Option_Descriptor *d = sane_get_option_descriptor(handle, index);
    std::vector<char> text(static_cast<std::size_t>(d->size) + 1, '\0');
    SANE_Word word = 0;
    void *argument = &word;
    if (d->type == SANE_TYPE_STRING) {
        std::strncpy(text.data(), value.c_str(), text.size() - 1);
        argument = text.data();
    } else if (d->type == SANE_TYPE_FIXED) {
        word = SANE_FIX(std::atof(value.c_str()));
    } else if (d->type == SANE_TYPE_BOOL) {
        word = value == "yes" ? SANE_TRUE : SANE_FALSE;
    } else {
        word = std::atoi(value.c_str());
    }
    SANE_Status status =
        sane_control_option(handle, index, SANE_ACTION_SET_VALUE, argument, nullptr);
    if (status != SANE_STATUS_GOOD) {
        throw std::runtime_error("the test driver refuses " + name + "=" + value);
    }
}

bool LittleEndian() {
    const uint16_t probe = 1;
    return *reinterpret_cast<const uint8_t *>(&probe) == 1;
}

uint16_t Tag16(TIFF *tiff, uint32_t tag) {
    uint16_t value = 0;
    TIFFGetField(tiff, tag, &value);
    return value;
}

// Colour at one bit a sample as 8-bit samples: a set bit is full intensity.
std::vector<uint8_t> WidenBits(const std::vector<uint8_t> &bits, std::size_t count) {
    std::vector<uint8_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        samples[i] = (bits[i / 8] & (0x80 >> (i % 8))) != 0 ? 255 : 0;
    }
    return samples;
}

} // namespace

std::unique_ptr<support::TempDir> MakeSaneConfig(const std::string &drivers,
                                                 const std::string &testConf) {
    auto folder = std::make_unique<support::TempDir>();
    support::WriteText(*folder / "dll.conf", drivers.empty() ? "" : drivers + "\n");
    support::WriteText(*folder / "test.conf",
                       "number_of_devices 2\nmode Gray\ndepth 8\nresolution_min 1.0\n"
                       "resolution_max 1200.0\nresolution_quant 1.0\nresolution 75.0\n"
                       "geometry_min 0.0\ngeometry_max 300.0\ngeometry_quant 1.0\n"
                       "tl_x 0.0\ntl_y 0.0\nbr_x 80.0\nbr_y 100.0\n" +
                           testConf);
    return folder;
}

namespace {

// The test driver cancels its reader thread asynchronously (ScanRun.h). A cancel that lands while
// the thread holds a lock of the C library's (the locale's, seen at exit) leaves it taken, and the
// shared libraries' finalizers, which run after main and free their locales, wait for it forever.
// So a test program that scanned ends once its tests have run: leaks checked, output flushed, the
// status GoogleTest gave, and no finalizers. A program that ran no test ends as usual.
void EndWithoutFinalizers() {
    const testing::UnitTest *tests = testing::UnitTest::GetInstance();
    if (tests->test_to_run_count() == 0) {
        return;
    }
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
    std::fflush(nullptr);
    std::_Exit(tests->Passed() ? 0 : 1);
}

} // namespace

const std::string &UseTestDriver() {
    static const std::unique_ptr<support::TempDir> folder = [] {
        std::unique_ptr<support::TempDir> config = MakeSaneConfig("test");
        ::setenv("SANE_CONFIG_DIR", config->Path().c_str(), 1);
        std::atexit(EndWithoutFinalizers);
        return config;
    }();
    return folder->Path();
}

RawPage ReadRawPage(const std::string &device, const RawOptions &options) {
    // SANE is started once per process, by the library, which the tests use anyway.
    folvane::scan::listDevices();
    SANE_Handle handle = nullptr;
    if (sane_open(device.c_str(), &handle) != SANE_STATUS_GOOD) {
        throw std::runtime_error("cannot open " + device);
    }
    RawPage page;
    // The driver keeps its options from one opening to the next within a process.
    const RawOptions defaults = {{"hand-scanner", "no"},
                                 {"ppl-loss", "0"},
                                 {"read-limit", "no"},
                                 {"read-delay", "no"},
                                 {"read-return-value", "Default"},
                                 {"tl-x", "0"},
                                 {"tl-y", "0"},
                                 {"br-x", "80"},
                                 {"br-y", "100"}};
    for (const auto &[name, value] : defaults) {
        SetRawOption(handle, name, value);
    }
    for (const auto &[name, value] : options) {
        SetRawOption(handle, name, value);
    }
    SANE_Status status = sane_start(handle);
    if (status == SANE_STATUS_GOOD) {
        status = sane_get_parameters(handle, &page.parameters);
    }
    std::vector<uint8_t> buffer(32768);
    SANE_Int got = 0;
    while (status == SANE_STATUS_GOOD &&
           (status = sane_read(handle, buffer.data(), static_cast<SANE_Int>(buffer.size()),
                               &got)) == SANE_STATUS_GOOD) {
        page.data.insert(page.data.end(), buffer.begin(), buffer.begin() + got);
    }
    sane_cancel(handle);
    sane_close(handle);
    if (status != SANE_STATUS_EOF) {
        throw std::runtime_error(std::string("raw scan failed: ") + sane_strstatus(status));
    }
    return page;
}

// libpng's calls in a frame of their own: a longjmp out of it crosses no destructor.
bool ReadPngInto(png_structp png, png_infop info, FILE *file, FilePage &page) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    page.width = png_get_image_width(png, info);
    page.height = png_get_image_height(png, info);
    page.depth = png_get_bit_depth(png, info);
    page.channels = png_get_channels(png, info);
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if (png_get_pHYs(png, info, &x, &y, &unit) && unit == PNG_RESOLUTION_METER) {
        page.xDpi = x * 0.0254;
        page.yDpi = y * 0.0254;
    }
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    page.rows.resize(page.height, std::vector<uint8_t>(rowBytes));
    for (uint32_t row = 0; row < page.height; ++row) {
        png_read_row(png, page.rows[row].data(), nullptr);
    }
    return true;
}

FilePage ReadPngPage(const std::string &path) {
    FilePage page;
    FILE *file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return page;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const bool ok = ReadPngInto(png, info, file, page);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return ok ? page : FilePage{};
}

FilePage ReadTiffPage(const std::string &path) {
    FilePage page;
    TIFF *tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) {
        return page;
    }
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &page.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &page.height);
    page.depth = Tag16(tiff, TIFFTAG_BITSPERSAMPLE);
    page.channels = Tag16(tiff, TIFFTAG_SAMPLESPERPIXEL);
    page.compression = Tag16(tiff, TIFFTAG_COMPRESSION);
    page.photometric = Tag16(tiff, TIFFTAG_PHOTOMETRIC);
    float x = 0, y = 0;
    if (TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &x) &&
        TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &y) &&
        Tag16(tiff, TIFFTAG_RESOLUTIONUNIT) == RESUNIT_INCH) {
        page.xDpi = x;
        page.yDpi = y;
    }
    const tmsize_t rowBytes = TIFFScanlineSize(tiff);
    for (uint32_t row = 0; row < page.height; ++row) {
        page.rows.emplace_back(static_cast<std::size_t>(rowBytes));
        if (TIFFReadScanline(tiff, page.rows.back().data(), row, 0) < 0) {
            page.rows.clear();
            break;
        }
    }
    TIFFClose(tiff);
    return page;
}

std::vector<std::vector<uint8_t>> ExpectedRows(const RawPage &raw) {
    const SANE_Parameters &p = raw.parameters;
    const std::size_t channels = p.format == SANE_FRAME_RGB ? 3 : 1;
    const std::size_t bits = std::size_t{static_cast<uint32_t>(p.pixels_per_line)} * channels *
                             static_cast<std::size_t>(p.depth);
    const std::size_t rowBytes = (bits + 7) / 8;
    const std::size_t lineBytes = static_cast<std::size_t>(p.bytes_per_line);
    std::vector<std::vector<uint8_t>> rows;
    for (std::size_t at = 0; at + lineBytes <= raw.data.size(); at += lineBytes) {
        std::vector<uint8_t> row(raw.data.begin() + static_cast<long>(at),
                                 raw.data.begin() + static_cast<long>(at + rowBytes));
        if (p.depth == 16 && LittleEndian()) {
            for (std::size_t i = 0; i + 1 < row.size(); i += 2) {
                std::swap(row[i], row[i + 1]);
            }
        }
        if (p.depth == 1 && channels == 3) {
            row = WidenBits(row, bits);
        } else if (p.depth == 1 && bits % 8 != 0) {
            row.back() &= static_cast<uint8_t>(0xFF << (8 - bits % 8));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace scan_test
