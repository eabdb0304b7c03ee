// The image object's transforms against yardsticks measured in the same run:
//   copy:   memcpy of the image's pixel bytes, the floor any whole-image transform pays;
//   naive:  a quarter turn written the plain way (destination rows in order, reading one
//           source column per row), the cost the 64 x 64 tiles are there to avoid.
// Photo-sized images (4000 x 3000, 24-bit and 8-bit). Read the results as ratios between rows
// of one run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "image/CfImage.h"

namespace {

constexpr uint32_t kWidth = 4000;
constexpr uint32_t kHeight = 3000;

void FillNoise(CfImage &image) {
    uint32_t state = 12345;
    uint8_t *pixels = image.info.pixels;
    for (size_t i = 0; i < image.header.biSizeImage; ++i) {
        state = state * 1664525u + 1013904223u;
        pixels[i] = uint8_t(state >> 24);
    }
}

void BM_CopyPixels(benchmark::State &state) {
    CfImage image(kWidth, kHeight, uint32_t(state.range(0)));
    FillNoise(image);
    std::vector<uint8_t> target(image.header.biSizeImage);
    for (auto _ : state) {
        memcpy(target.data(), image.info.pixels, target.size());
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(target.size()));
}

// Clockwise quarter turn, destination rows in order: the source is read down a column.
void NaiveRotateRight(const CfImage &source, CfImage &target) {
    const uint32_t width = source.GetWidth();
    const uint32_t height = source.GetHeight();
    const uint32_t bytes = source.GetBitsPerPixel() / 8;
    for (uint32_t dy = 0; dy < width; ++dy) {
        uint8_t *to = target.RowPointer(dy);
        const uint32_t sx = width - 1 - dy;
        for (uint32_t dx = 0; dx < height; ++dx) {
            memcpy(to + size_t(dx) * bytes, source.RowPointer(dx) + size_t(sx) * bytes, bytes);
        }
    }
}

void BM_RotateRightNaive(benchmark::State &state) {
    const uint32_t bits = uint32_t(state.range(0));
    CfImage image(kWidth, kHeight, bits);
    FillNoise(image);
    CfImage target(kHeight, kWidth, bits);
    for (auto _ : state) {
        NaiveRotateRight(image, target);
        benchmark::DoNotOptimize(target.info.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * image.header.biSizeImage);
}

void BM_RotateRight(benchmark::State &state) {
    const uint32_t bits = uint32_t(state.range(0));
    CfImage image(kWidth, kHeight, bits);
    FillNoise(image);
    CfImage target;
    for (auto _ : state) {
        image.RotateRight(&target);
        benchmark::DoNotOptimize(target.info.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * image.header.biSizeImage);
}

void BM_RotateLeft(benchmark::State &state) {
    const uint32_t bits = uint32_t(state.range(0));
    CfImage image(kWidth, kHeight, bits);
    FillNoise(image);
    CfImage target;
    for (auto _ : state) {
        image.RotateLeft(&target);
        benchmark::DoNotOptimize(target.info.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * image.header.biSizeImage);
}

void BM_FlipVertical(benchmark::State &state) {
    CfImage image(kWidth, kHeight, uint32_t(state.range(0)));
    FillNoise(image);
    for (auto _ : state) {
        image.FlipVertical();
        benchmark::DoNotOptimize(image.info.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * image.header.biSizeImage);
}

void BM_MirrorHorizontal(benchmark::State &state) {
    CfImage image(kWidth, kHeight, uint32_t(state.range(0)));
    FillNoise(image);
    for (auto _ : state) {
        image.MirrorHorizontal();
        benchmark::DoNotOptimize(image.info.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * image.header.biSizeImage);
}

// 16-bit 5-6-5 rows converted in place, as the BMP decoder does.
void BM_Bitfields565InPlace(benchmark::State &state) {
    CfImage image(kWidth, kHeight, 24);
    const size_t sourceBytes = size_t(kWidth + 1) / 2 * 4 * kHeight;
    std::vector<uint8_t> source(sourceBytes);
    for (size_t i = 0; i < sourceBytes; ++i) {
        source[i] = uint8_t(i * 131);
    }
    for (auto _ : state) {
        state.PauseTiming();
        memcpy(image.info.pixels, source.data(), sourceBytes);
        state.ResumeTiming();
        image.BitfieldsToRgb(image.info.pixels, 0xF800, 0x07E0, 0x001F, 16);
        benchmark::DoNotOptimize(image.info.pixels);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(sourceBytes));
}

} // namespace

BENCHMARK(BM_CopyPixels)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateRightNaive)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateRight)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateLeft)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlipVertical)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirrorHorizontal)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bitfields565InPlace)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
