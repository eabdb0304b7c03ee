// Decoding an 8-megapixel photograph: CfImage::Load (detection, EXIF pre-read, decode into the
// bottom-up BGR bitmap) against plain libjpeg calls decoding the same file into a buffer.
// Target: Load within 1.15 times the plain decode.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include "image/CfImage.h"

namespace {

constexpr int kWidth = 3264;
constexpr int kHeight = 2448;

// Photo-like content: smooth shading, a few hard-edged shapes, texture and sensor noise, so
// that the entropy coder sees what a camera gives it.
std::vector<uint8_t> PhotoPixels() {
    std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
    uint32_t seed = 12345;
    auto noise = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return int(seed >> 27) - 16;
    };
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            double fx = double(x) / kWidth;
            double fy = double(y) / kHeight;
            double shade = 0.5 + 0.5 * std::sin(fx * 5.0 + fy * 3.0);
            double texture = 0.5 + 0.5 * std::sin(x * 0.21) * std::cos(y * 0.17);
            bool inside = std::hypot(fx - 0.6, fy - 0.45) < 0.2 || (x / 300 + y / 300) % 5 == 0;
            int r = int(40 + 160 * shade + 40 * texture);
            int g = int(60 + 120 * fy + 50 * texture);
            int b = inside ? 200 : int(90 + 80 * fx);
            uint8_t *p = &rgb[(size_t(y) * kWidth + x) * 3];
            int n = noise();
            p[0] = uint8_t(std::clamp(r + n, 0, 255));
            p[1] = uint8_t(std::clamp(g + n / 2, 0, 255));
            p[2] = uint8_t(std::clamp(b + n, 0, 255));
        }
    }
    return rgb;
}

std::string WritePhoto() {
    std::vector<uint8_t> rgb = PhotoPixels();
    std::string path = "/tmp/folvane_jpeg_bench_" + std::to_string(getpid()) + ".jpg";
    FILE *file = std::fopen(path.c_str(), "wb");
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = &rgb[size_t(cinfo.next_scanline) * kWidth * 3];
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
    return path;
}

const std::string &PhotoPath() {
    static const std::string path = [] {
        std::string p = WritePhoto();
        std::atexit([] { std::remove(PhotoPath().c_str()); });
        return p;
    }();
    return path;
}

void BM_CfImageLoad(benchmark::State &state) {
    const std::string &path = PhotoPath();
    for (auto _ : state) {
        CfImage image;
        if (!image.Load(path.c_str(), FormatUnknown)) {
            state.SkipWithError(image.GetLastError());
            return;
        }
        benchmark::DoNotOptimize(image.GetBitmapBlock());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_PlainLibjpeg(benchmark::State &state) {
    const std::string &path = PhotoPath();
    for (auto _ : state) {
        FILE *file = std::fopen(path.c_str(), "rb");
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file);
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        const size_t rowBytes = size_t(cinfo.output_width) * cinfo.output_components;
        auto *pixels = static_cast<uint8_t *>(std::malloc(rowBytes * cinfo.output_height));
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels + cinfo.output_scanline * rowBytes;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        benchmark::DoNotOptimize(pixels);
        std::free(pixels);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// Run with --benchmark_enable_random_interleaving=true so that both see the same machine load;
// compare CPU times on a shared machine.
BENCHMARK(BM_PlainLibjpeg)->Unit(benchmark::kMillisecond)->Repetitions(5)->MinTime(1.0);
BENCHMARK(BM_CfImageLoad)->Unit(benchmark::kMillisecond)->Repetitions(5)->MinTime(1.0);

} // namespace

BENCHMARK_MAIN();
