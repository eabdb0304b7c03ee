// What "跳过空白页" costs the window's "生成PDF": 40 eight-megapixel photos written plain, and
// written with blank pages skipped as the window asks for it (skipBlank, with the pre-flight's
// verdict for every row in blankRows, found in the background while the list was built). The
// run of the command line, which has no pre-flight and judges every page itself, is measured
// beside them. Run from a Release build configured with -DFOLVANE_BENCH=ON:
//     bin/blank_window_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "pdf/PageGeneration.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

constexpr int kPhotos = 40;

struct Photos {
    Photos() {
        const support::Bytes jpeg = support::MakeJpeg(support::Photo(3264, 2448));
        for (int i = 0; i < kPhotos; ++i) {
            paths.push_back(dir / ("photo-" + std::to_string(i) + ".jpg"));
            support::WriteFile(paths.back(), jpeg);
        }
    }
    support::TempDir dir;
    std::vector<std::string> paths;
};

// The photos, each its own file of one photograph-like picture; removed with their folder at
// exit.
const Photos &PhotoSet() {
    static const Photos photos;
    return photos;
}

void Generate(benchmark::State &state, const folvane::GenerateOptions &options) {
    const Photos &photos = PhotoSet();
    const std::string out = photos.dir / "out.pdf";
    for (auto _ : state) {
        folvane::generatePdf(out, photos.paths, options);
    }
}

folvane::GenerateOptions Plain() {
    folvane::GenerateOptions options;
    options.layout = folvane::PageLayout::fitted();
    return options;
}

void BM_WindowPlain(benchmark::State &state) {
    Generate(state, Plain());
}
BENCHMARK(BM_WindowPlain)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowSkippingBlank(benchmark::State &state) {
    folvane::GenerateOptions options = Plain();
    options.skipBlank = true;
    for (std::size_t row = 0; row < kPhotos; ++row) {
        options.blankRows[row] = false; // the pre-flight found writing on every page
    }
    Generate(state, options);
}
BENCHMARK(BM_WindowSkippingBlank)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CommandLineSkippingBlank(benchmark::State &state) {
    folvane::GenerateOptions options = Plain();
    options.skipBlank = true;
    Generate(state, options);
}
BENCHMARK(BM_CommandLineSkippingBlank)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
