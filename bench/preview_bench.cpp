// The preview of one 8-megapixel photograph, end to end (CFolvaneDlg::ShowPreview: load,
// decode, erase, fit, draw into the frame), against a plain libjpeg decode of the same file
// in the same run; the load alone is measured too, and a turn of a 12-megapixel photo from the
// command to the preview drawn again, and a crop of it likewise (also from the editor's answer on).
// Then the reduced decode the preview uses for large files (LoadReduced to 600 x 450) against the
// full decode (CfImage::Load) of a 48-megapixel JPEG and of a 7016 x 9920 16-bit RGB Deflate TIFF
// (an A3 page at 600 dpi): time per decode, and the peak memory of one decode in a child process of
// its own (the rise of getrusage's ru_maxrss, tests/support/PeakMemory.h). Prints the ratios at the
// end. Run from a Release build configured with -DFOLVANE_BENCH=ON:
//     bin/preview_bench --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <tiffio.h>

#include "app/CFolvaneDlg.h"
#include "app/Resource.h"
#include "image/CfImage.h"
#include "image/ReducedDecode.h"
#include "platform/ui/HeadlessToolkit.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/PeakMemory.h"
#include "tests/support/Tiff.h"

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

// A 12-megapixel photograph (4000 x 3000, quality 90), for the turn command.
const std::string &TwelveMegapixelPhoto() {
    static const support::TempDir dir;
    static const std::string path = [] {
        support::WriteFile(dir / "photo12.jpg", support::MakeJpeg(support::Photo(4000, 3000, 1)));
        return dir / "photo12.jpg";
    }();
    return path;
}

// "向右旋转" on the current row of a 12-megapixel photo, from the command to the preview drawn
// again turned: the file looked at again, the page list's command kept for undo, the list shown
// and the preview loaded and drawn.
void BM_TurnCommand(benchmark::State &state) {
    HeadlessToolkit ui;
    ui.icons = {IDR_MAINFRAME};
    CFolvaneDlg dlg(ui);
    dlg.Create();
    dlg.AppendFiles({TwelveMegapixelPhoto()});
    for (auto _ : state) {
        dlg.OnRotateRight();
    }
    if (dlg.Pages().count() != 1) {
        state.SkipWithError("the photo was not added");
    }
}
BENCHMARK(BM_TurnCommand)->Unit(benchmark::kMillisecond);

// "裁剪" on the current row of a 12-megapixel photo, the editor answered at once (each time
// another rectangle). With `fromAnswer`, timed from the editor's answer to the preview drawn
// cropped (how long the user waits after "确定"); otherwise from the command on: the file looked
// at again, the page decoded for the editor, the command kept for undo, the preview drawn.
void CropCommand(benchmark::State &state, bool fromAnswer) {
    HeadlessToolkit ui;
    ui.icons = {IDR_MAINFRAME};
    bool wide = false;
    std::chrono::steady_clock::time_point answered;
    ui.onCropEditor = [&](const CropEditRequest &request) {
        wide = !wide;
        const int w = request.page.width, h = request.page.height;
        answered = std::chrono::steady_clock::now();
        return CropEditAnswer{CropEditAnswer::Choice::Accept,
                              CropBox{w / 10, h / 10, wide ? w - w / 10 : w / 2, h - h / 10}};
    };
    CFolvaneDlg dlg(ui);
    dlg.Create();
    dlg.AppendFiles({TwelveMegapixelPhoto()});
    for (auto _ : state) {
        dlg.OnCrop();
        if (fromAnswer) {
            state.SetIterationTime(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - answered).count());
        }
    }
    if (dlg.Pages().count() != 1 || !dlg.Pages().at(0).shape.edits.crop) {
        state.SkipWithError("the photo was not cropped");
    }
}
void BM_CropCommand(benchmark::State &state) {
    CropCommand(state, false);
}
BENCHMARK(BM_CropCommand)->Unit(benchmark::kMillisecond);
void BM_CropPreviewFollows(benchmark::State &state) {
    CropCommand(state, true);
}
BENCHMARK(BM_CropPreviewFollows)->UseManualTime()->Unit(benchmark::kMillisecond);

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

// ---- Reduced against full decode of large files ------------------------------------------

constexpr uint32_t kFrameWidth = 600;
constexpr uint32_t kFrameHeight = 450;

const support::TempDir &LargeFiles() {
    static const support::TempDir dir;
    return dir;
}

// A 48-megapixel photograph (8000 x 6000, quality 90).
const std::string &LargeJpeg() {
    static const std::string path = [] {
        const std::string file = LargeFiles() / "large.jpg";
        support::WriteFile(file, support::MakeJpeg(support::Photo(8000, 6000, 2)));
        return file;
    }();
    return path;
}

// An A3 page scanned at 600 dpi in 16-bit RGB: Deflate with the horizontal predictor, strips of
// 32 rows, as scanners write it; shading, texture and noise, written a row at a time.
const std::string &LargeTiff() {
    static const std::string path = [] {
        const std::string file = LargeFiles() / "scan.tif";
        support::TiffPage page;
        page.width = 7016;
        page.height = 9920;
        page.samplesPerPixel = 3;
        page.bitsPerSample = 16;
        page.photometric = PHOTOMETRIC_RGB;
        page.compression = COMPRESSION_ADOBE_DEFLATE;
        page.predictor = 2;
        page.rowsPerStrip = 32;
        uint32_t state = 1;
        support::WriteTiffInBands(file, page, [&](uint32_t y, uint8_t *row) {
            auto *samples = reinterpret_cast<uint16_t *>(row);
            for (uint32_t x = 0; x < page.width; ++x) {
                state = state * 1664525u + 1013904223u;
                const uint32_t noise = state >> 24;
                samples[3 * x] = uint16_t(x * 9 + noise);
                samples[3 * x + 1] = uint16_t(y * 6 + ((x / 64 + y / 64) % 2) * 9000 + noise);
                samples[3 * x + 2] = uint16_t(30000 + (x ^ y) % 4096 + noise);
            }
        });
        return file;
    }();
    return path;
}

bool DecodeReduced(const std::string &path) {
    CfImage image;
    const ReducedSizeChooser choose = [](uint32_t w, uint32_t h) {
        return std::optional<ReducedSize>(reducedSizeWithin(w, h, kFrameWidth, kFrameHeight));
    };
    return loadReduced(path.c_str(), choose, image) && image.IsValid();
}

bool DecodeFull(const std::string &path) {
    CfImage image;
    return image.Load(path.c_str()) && image.IsValid();
}

// The peak resident size one decode adds, in MiB, measured in a child process; -1 when the
// decode failed.
double PeakMiB(const std::function<bool()> &decode) {
    const support::PeakResult peak =
        support::MeasurePeak([&] { return std::string(decode() ? "decoded" : ""); });
    return peak.finished && peak.output == "decoded" ? double(peak.riseKiB) / 1024 : -1;
}

std::map<std::string, double> &PeaksMiB() {
    static std::map<std::string, double> peaks;
    return peaks;
}

// Times decode(path) and notes the peak memory of one decode; the file is made first, outside
// both measures.
void RunDecode(benchmark::State &state, const char *name, const std::string &path,
               bool (*decode)(const std::string &)) {
    double &peak = PeaksMiB()[name];
    if (peak == 0) {
        peak = PeakMiB([&] { return decode(path); });
    }
    for (auto _ : state) {
        if (!decode(path)) {
            state.SkipWithError("the decode failed");
            break;
        }
    }
    state.counters["peak_MiB"] = peak;
}

void BM_JpegReduced(benchmark::State &state) {
    RunDecode(state, "BM_JpegReduced", LargeJpeg(), DecodeReduced);
}
void BM_JpegFull(benchmark::State &state) {
    RunDecode(state, "BM_JpegFull", LargeJpeg(), DecodeFull);
}
void BM_TiffReduced(benchmark::State &state) {
    RunDecode(state, "BM_TiffReduced", LargeTiff(), DecodeReduced);
}
void BM_TiffFull(benchmark::State &state) {
    RunDecode(state, "BM_TiffFull", LargeTiff(), DecodeFull);
}
BENCHMARK(BM_JpegReduced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JpegFull)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffReduced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiffFull)->Unit(benchmark::kMillisecond);

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

// Prints the ratio of `measured` to `peer` per run (CPU time, the fair measure on a shared
// machine, with wall time beside it) and of their peak memory when both were measured.
void PrintRatio(const RatioReporter &reporter, const char *measured, const char *peer,
                const char *aim) {
    const auto a = reporter.times.find(measured);
    const auto b = reporter.times.find(peer);
    if (a == reporter.times.end() || b == reporter.times.end() || b->second.cpu <= 0 ||
        b->second.wall <= 0 || a->second.iterations <= 0) {
        return;
    }
    const double runs = b->second.iterations / a->second.iterations;
    std::printf("ratio %s / %s: %.3f CPU time, %.3f wall time", measured, peer,
                a->second.cpu / b->second.cpu * runs, a->second.wall / b->second.wall * runs);
    const auto peakA = PeaksMiB().find(measured);
    const auto peakB = PeaksMiB().find(peer);
    if (peakA != PeaksMiB().end() && peakB != PeaksMiB().end() && peakB->second > 0) {
        std::printf(", %.3f peak memory (%.1f / %.1f MiB)", peakA->second / peakB->second,
                    peakA->second, peakB->second);
    }
    std::printf(" (aim: %s)\n", aim);
}

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "BM_ShowPreview", "BM_LibjpegDecode", "at most 1.3");
    PrintRatio(reporter, "BM_JpegReduced", "BM_JpegFull", "below 1 in time and memory");
    PrintRatio(reporter, "BM_TiffReduced", "BM_TiffFull", "below 1 in time and memory");
    benchmark::Shutdown();
    return 0;
}
