// Decoding an 8-megapixel photograph: CfImage::Load (detection, EXIF pre-read, decode into the
// bottom-up BGR bitmap) against plain libjpeg calls decoding the same file into a buffer.
// Target: Load within 1.15 times the plain decode.
#include <cstdio>
#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include "image/CfImage.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

constexpr int kWidth = 3264;
constexpr int kHeight = 2448;

// Photo-like content (tests/support's Photo), so that the entropy coder sees what a camera
// gives it; written once, removed with its folder at exit.
const std::string &PhotoPath() {
    static const support::TempDir dir;
    static const std::string path = [] {
        support::JpegOptions options;
        options.quality = 90;
        support::WriteFile(dir / "photo.jpg",
                           support::MakeJpeg(support::Photo(kWidth, kHeight), options));
        return dir / "photo.jpg";
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
