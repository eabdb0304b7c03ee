// The preview of one 8-megapixel photograph, end to end (CFolvaneDlg::ShowPreview: load,
// decode, erase, fit, draw into the frame), against a plain libjpeg decode of the same file
// in the same run; the load alone is measured too. Prints the ratio at the end. Run from a
// Release build configured with -DFOLVANE_BENCH=ON:
//     bin/preview_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "image/CfImage.h"
#include "platform/ui/HeadlessToolkit.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"

namespace {

constexpr int kWidth = 3264;
constexpr int kHeight = 2448;

// A photograph-like 8-megapixel JPEG (tests/support's Photo), quality 90, 4:2:0; removed with
// its folder at exit.
const std::string &Photo() {
    static const support::TempDir dir;
    static const std::string path = [] {
        support::WriteFile(dir / "photo.jpg", support::MakeJpeg(support::Photo(kWidth, kHeight)));
        return dir / "photo.jpg";
    }();
    return path;
}

void BM_ShowPreview(benchmark::State &state) {
    HeadlessToolkit ui;
    ui.icons = {IDR_MAINFRAME};
    CFolvaneDlg dlg(ui);
    dlg.Create();
    for (auto _ : state) {
        dlg.ShowPreview(Photo());
    }
}
BENCHMARK(BM_ShowPreview)->Unit(benchmark::kMillisecond);

// The load alone (detection and decode into a CfImage), to tell decoding from drawing.
void BM_LoadOnly(benchmark::State &state) {
    for (auto _ : state) {
        CfImage image(FormatUnknown);
        benchmark::DoNotOptimize(image.Load(Photo().c_str(), FormatUnknown));
    }
}
BENCHMARK(BM_LoadOnly)->Unit(benchmark::kMillisecond);

void BM_LibjpegDecode(benchmark::State &state) {
    std::vector<JSAMPLE> pixels(size_t(kWidth) * kHeight * 3);
    for (auto _ : state) {
        FILE *file = std::fopen(Photo().c_str(), "rb");
        if (!file) {
            state.SkipWithError("no test photograph");
            break;
        }
        jpeg_decompress_struct cinfo{};
        jpeg_error_mgr jerr{};
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file);
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW rows[1] = {pixels.data() +
                                size_t(cinfo.output_scanline) * cinfo.output_width * 3};
            jpeg_read_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_LibjpegDecode)->Unit(benchmark::kMillisecond);

// Console output as usual, adding up each benchmark's CPU and wall time and iterations over
// all its repetitions for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double cpu = 0;
        double wall = 0;
        double iterations = 0;
    };
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.iterations > 0 && run.run_type == Run::RT_Iteration) {
                Times &t = times[run.run_name.function_name];
                t.cpu += run.cpu_accumulated_time;
                t.wall += run.real_accumulated_time;
                t.iterations += static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times;
};

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto preview = reporter.times.find("BM_ShowPreview");
    const auto plain = reporter.times.find("BM_LibjpegDecode");
    if (preview != reporter.times.end() && plain != reporter.times.end() && plain->second.cpu > 0 &&
        plain->second.wall > 0) {
        // CPU time is the fair measure on a shared machine; wall time is shown beside it.
        const double runs = plain->second.iterations / preview->second.iterations;
        std::printf("ratio ShowPreview / libjpeg decode: %.3f CPU time, %.3f wall time "
                    "(aim: at most 1.3)\n",
                    preview->second.cpu / plain->second.cpu * runs,
                    preview->second.wall / plain->second.wall * runs);
    }
    benchmark::Shutdown();
    return 0;
}
