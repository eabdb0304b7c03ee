// TIFF decoding through CfImage::Load against libtiff's own TIFFReadRGBAImage of the same file,
// for a 5-megapixel LZW RGB page and a 5-megapixel 16-bit grey page. Both files are written
// with tests/support when the program starts. Compare the pairs of one run:
//     build/rel/bin/tiff_decode_bench
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include "image/CfImage.h"
#include "tests/support/Files.h"
#include "tests/support/Tiff.h"

namespace {

constexpr uint32_t kWidth = 2592; // 2592 x 1944: a 5-megapixel camera frame
constexpr uint32_t kHeight = 1944;

// A smooth picture with some texture, so that LZW has realistic work to do.
uint32_t Sample(uint32_t x, uint32_t y, uint32_t channel) {
    const uint32_t noise = (x * 2654435761u ^ y * 40503u ^ channel * 977u) >> 29;
    return (x / 11 + y / 7 + channel * 60 + noise) % 256;
}

// The files are written once, into a folder removed at exit.
const support::TempDir &Folder() {
    static const support::TempDir dir;
    return dir;
}

std::string WriteRgbLzw() {
    support::TiffPage page;
    page.width = kWidth;
    page.height = kHeight;
    page.samplesPerPixel = 3;
    page.photometric = PHOTOMETRIC_RGB;
    page.compression = COMPRESSION_LZW;
    page.predictor = PREDICTOR_HORIZONTAL;
    page.rowsPerStrip = 16;
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t x = 0; x < kWidth; ++x) {
            for (uint32_t c = 0; c < 3; ++c) {
                page.data.push_back(static_cast<uint8_t>(Sample(x, y, c)));
            }
        }
    }
    const std::string path = Folder() / "rgb_lzw.tif";
    support::WriteTiff(path, {page});
    return path;
}

std::string WriteGrey16() {
    support::TiffPage page;
    page.width = kWidth;
    page.height = kHeight;
    page.bitsPerSample = 16;
    page.rowsPerStrip = 32;
    page.data.resize(size_t{kWidth} * kHeight * 2);
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t x = 0; x < kWidth; ++x) {
            // 12 bits used, in host order as the file stores them
            const auto sample = static_cast<uint16_t>(Sample(x, y, 0) * 16 + (x & 15));
            std::memcpy(&page.data[(size_t{y} * kWidth + x) * 2], &sample, 2);
        }
    }
    const std::string path = Folder() / "grey16.tif";
    support::WriteTiff(path, {page});
    return path;
}

const std::string &RgbFile() {
    static const std::string path = WriteRgbLzw();
    return path;
}

const std::string &Grey16File() {
    static const std::string path = WriteGrey16();
    return path;
}

void DecodeWithCfImage(benchmark::State &state, const std::string &path) {
    for (auto _ : state) {
        CfImage image;
        if (!image.Load(path.c_str(), FormatUnknown)) {
            state.SkipWithError(image.GetLastError());
            return;
        }
        benchmark::DoNotOptimize(image.GetBitmapBlock());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void DecodeWithLibtiffRgba(benchmark::State &state, const std::string &path) {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    for (auto _ : state) {
        TIFF *tif = TIFFOpen(path.c_str(), "r");
        uint32_t width = 0;
        uint32_t height = 0;
        TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
        auto *raster = static_cast<uint32_t *>(std::malloc(size_t{width} * height * 4));
        if (!TIFFReadRGBAImage(tif, width, height, raster, 1)) {
            state.SkipWithError("TIFFReadRGBAImage failed");
        }
        benchmark::DoNotOptimize(raster);
        std::free(raster);
        TIFFClose(tif);
    }
    state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void BM_RgbLzw_CfImageLoad(benchmark::State &state) {
    DecodeWithCfImage(state, RgbFile());
}
void BM_RgbLzw_LibtiffReadRGBAImage(benchmark::State &state) {
    DecodeWithLibtiffRgba(state, RgbFile());
}
void BM_Grey16_CfImageLoad(benchmark::State &state) {
    DecodeWithCfImage(state, Grey16File());
}
void BM_Grey16_LibtiffReadRGBAImage(benchmark::State &state) {
    DecodeWithLibtiffRgba(state, Grey16File());
}

BENCHMARK(BM_RgbLzw_CfImageLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RgbLzw_LibtiffReadRGBAImage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grey16_CfImageLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grey16_LibtiffReadRGBAImage)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
