// Images prepared ahead on worker threads: the same bytes as one thread, errors reported for
// the page that has them, a bounded number of images in flight, and stopping cleanly.
// Runs under ThreadSanitizer as well (scripts/test.sh), so it uses nothing but the engine's
// C interface and tests/support.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "pdfw/pdfw.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Pdf.h"
#include "tests/support/Picture.h"
#include "tests/support/Png.h"
#include "tests/support/Tiff.h"

namespace {

using support::Bytes;

struct Page {
    std::string path;
    int page = 1;
};

struct Outcome {
    bool written = false; // the document was closed and is at its path
    int pagesDone = 0;
    int errorType = 0; // of the first error
    std::string message;
};

struct Recorder {
    std::mutex mutex;
    std::vector<std::pair<int, std::string>> errors;
};

void record(pdfw_context *context, int type, const char *message) {
    auto *recorder = static_cast<Recorder *>(pdfw_get_opaque(context));
    std::lock_guard<std::mutex> lock(recorder->mutex);
    recorder->errors.emplace_back(type, message);
}

// The way the page loop drives the engine: every image announced first, then one page per
// image until the first error.
Outcome writePages(const std::string &out, const std::vector<Page> &pages, const char *threads,
                   bool announce = true) {
    Recorder recorder;
    pdfw_boot();
    pdfw_context *ctx = pdfw_new(record, nullptr, nullptr, nullptr, &recorder);
    Outcome outcome;
    bool ok =
        pdfw_set_parameter(ctx, "threads", threads) == 0 && pdfw_open_file(ctx, out.c_str()) == 1;
    for (std::size_t i = 0; ok && announce && i < pages.size(); ++i) {
        ok = pdfw_queue_image(ctx, "auto", pages[i].path.c_str(), "", pages[i].page) == 0;
    }
    for (std::size_t i = 0; ok && i < pages.size(); ++i) {
        ok = pdfw_begin_page(ctx, 595, 842) == 0;
        int image =
            ok ? pdfw_load_image(ctx, "auto", pages[i].path.c_str(), "", pages[i].page) : -1;
        ok = image > 0 && pdfw_place_image(ctx, image, 0, 0, 0.5f) == 0 &&
             pdfw_close_image(ctx, image) == 0 && pdfw_end_page(ctx) == 0;
        outcome.pagesDone += ok;
    }
    outcome.written = ok && pdfw_close(ctx) == 0;
    pdfw_delete(ctx);
    pdfw_shutdown();
    std::lock_guard<std::mutex> lock(recorder.mutex);
    if (!recorder.errors.empty()) {
        outcome.errorType = recorder.errors.front().first;
        outcome.message = recorder.errors.front().second;
    }
    return outcome;
}

support::Picture picture(int width, int height, int components, int seed) {
    return support::Pattern(width, height, components, seed);
}

std::string jpeg(const support::TempDir &dir, const std::string &name, int components, int seed,
                 const support::JpegOptions &options = {}) {
    support::WriteFile(dir / name, support::MakeJpeg(picture(48, 32, components, seed), options));
    return dir / name;
}

std::string tiff(const support::TempDir &dir, const std::string &name,
                 const std::vector<support::TiffPage> &pages) {
    support::WriteTiff(dir / name, pages);
    return dir / name;
}

support::TiffPage tiffPage(int components, std::uint16_t compression, int seed) {
    support::TiffPage page = support::TiffPageOf(picture(40, 30, components, seed));
    page.compression = compression;
    return page;
}

std::string png(const support::TempDir &dir, const std::string &name, int components, int seed,
                bool interlaced = false) {
    support::PngImage image = support::PngImageOf(picture(36, 28, components, seed));
    image.interlaced = interlaced;
    support::WriteFile(dir / name, support::MakePng(image));
    return dir / name;
}

std::string palettePng(const support::TempDir &dir, const std::string &name) {
    support::PngImage image;
    image.width = 30;
    image.height = 20;
    image.colour = support::PngColour::Palette;
    image.bitDepth = 4;
    image.palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    image.transparency = {255, 128, 255, 0, 255};
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::size_t x = 0; x < image.RowBytes(); ++x) {
            image.data.push_back(static_cast<std::uint8_t>(((x + y) % 5) << 4 | (x * y) % 5));
        }
    }
    support::WriteFile(dir / name, support::MakePng(image));
    return dir / name;
}

support::TiffPage bilevelPage() {
    support::TiffPage page;
    page.width = 64;
    page.height = 40;
    page.bitsPerSample = 1;
    page.photometric = PHOTOMETRIC_MINISWHITE;
    page.compression = COMPRESSION_CCITTFAX4;
    for (std::uint32_t y = 0; y < page.height; ++y) {
        for (std::size_t x = 0; x < page.RowBytes(); ++x) {
            page.data.push_back(static_cast<std::uint8_t>((x + y) % 3 == 0 ? 0xF0 : 0x00));
        }
    }
    return page;
}

// JPEGs of every kind the engine carries, TIFFs passed through, decoded, with alpha and with
// several pages, and PNGs carried or decoded, interleaved.
std::vector<Page> mixedPages(const support::TempDir &dir) {
    support::JpegOptions progressive, arithmetic, turned;
    progressive.progressive = true;
    arithmetic.arithmetic = true;
    turned.exifOrientation = 6;
    std::string pages3 = tiff(dir, "three.tif",
                              {tiffPage(3, COMPRESSION_LZW, 1), tiffPage(1, COMPRESSION_NONE, 2),
                               tiffPage(3, COMPRESSION_ADOBE_DEFLATE, 3)});
    return {
        {jpeg(dir, "rgb.jpg", 3, 1)},
        {tiff(dir, "lzw.tif", {tiffPage(3, COMPRESSION_LZW, 4)})},
        {jpeg(dir, "grey.jpg", 1, 2)},
        {pages3, 2},
        {jpeg(dir, "progressive.jpg", 3, 3, progressive)},
        {tiff(dir, "alpha.tif", {tiffPage(4, COMPRESSION_ADOBE_DEFLATE, 5)})},
        {jpeg(dir, "cmyk.jpg", 4, 4)},
        {pages3, 1},
        {jpeg(dir, "arithmetic.jpg", 3, 5, arithmetic)},
        {tiff(dir, "g4.tif", {bilevelPage()})},
        {jpeg(dir, "turned.jpg", 3, 6, turned)},
        {tiff(dir, "jpeg.tif", {tiffPage(3, COMPRESSION_JPEG, 6)})},
        {pages3, 3},
        {png(dir, "rgb.png", 3, 7)},
        {jpeg(dir, "rgb.jpg", 3, 1)},
        {png(dir, "alpha.png", 4, 8)},
        {palettePng(dir, "palette.png")},
        {png(dir, "interlaced.png", 1, 9, true)},
    };
}

// Every test here compares bytes: the date and ID must not come from the clock.
class PipelineTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("SOURCE_DATE_EPOCH", "1700000000", 1); }
    void TearDown() override { unsetenv("SOURCE_DATE_EPOCH"); }

    support::TempDir dir;
};

TEST_F(PipelineTest, AnyNumberOfWorkersWritesTheSameBytes) {
    std::vector<Page> pages = mixedPages(dir);
    Outcome one = writePages(dir / "1.pdf", pages, "1");
    ASSERT_TRUE(one.written) << one.message;
    EXPECT_TRUE(support::QpdfCheck(dir / "1.pdf"));
    EXPECT_EQ(support::PageCount(dir / "1.pdf"), static_cast<int>(pages.size()));
    Bytes expected = support::ReadFile(dir / "1.pdf");
    for (const char *threads : {"2", "3", "8"}) {
        std::string out = dir / (std::string(threads) + ".pdf");
        Outcome many = writePages(out, pages, threads);
        ASSERT_TRUE(many.written) << threads << " threads: " << many.message;
        EXPECT_TRUE(support::ReadFile(out) == expected) << threads << " threads";
    }
    // Nothing announced: every image is prepared when asked for, as with one thread.
    ASSERT_TRUE(writePages(dir / "plain.pdf", pages, "4", false).written);
    EXPECT_TRUE(support::ReadFile(dir / "plain.pdf") == expected);
}

// The page loop announces each file once, with page 0 for all of its pages.
TEST_F(PipelineTest, AFileAnnouncedWholeGivesEveryPage) {
    std::vector<Page> pages = mixedPages(dir);
    auto announceFiles = [&](const char *threads, const std::string &out) {
        Recorder recorder;
        pdfw_context *ctx = pdfw_new(record, nullptr, nullptr, nullptr, &recorder);
        pdfw_set_parameter(ctx, "threads", threads);
        EXPECT_EQ(pdfw_open_file(ctx, out.c_str()), 1);
        std::vector<Page> order = {{dir / "three.tif", 1}, {dir / "three.tif", 2},
                                   {dir / "three.tif", 3}, {dir / "missing.jpg", 1},
                                   {pages[0].path, 1},     {pages[0].path, 1}};
        for (const char *file : {"three.tif", "missing.jpg"}) {
            EXPECT_EQ(pdfw_queue_image(ctx, "auto", (dir / file).c_str(), "", 0), 0);
        }
        pdfw_queue_image(ctx, "auto", pages[0].path.c_str(), "", 0);
        pdfw_queue_image(ctx, "auto", pages[0].path.c_str(), "", 0);
        std::vector<int> handles;
        for (const Page &page : order) {
            handles.push_back(pdfw_load_image(ctx, "auto", page.path.c_str(), "", page.page));
            pdfw_begin_page(ctx, 595, 842);
            pdfw_place_image(ctx, handles.back() > 0 ? handles.back() : handles.front(), 0, 0, 1);
            pdfw_end_page(ctx);
        }
        EXPECT_EQ(pdfw_close(ctx), 0);
        pdfw_delete(ctx);
        EXPECT_EQ(handles[3], -1);
        EXPECT_EQ(recorder.errors.size(), 1u); // the missing file's load, and only that
        return recorder.errors.empty() ? std::string() : recorder.errors.front().second;
    };
    std::string oneError = announceFiles("1", dir / "1.pdf");
    EXPECT_EQ(announceFiles("3", dir / "3.pdf"), oneError);
    EXPECT_EQ(support::PageCount(dir / "3.pdf"), 6);
    EXPECT_TRUE(support::ReadFile(dir / "3.pdf") == support::ReadFile(dir / "1.pdf"));
}

TEST_F(PipelineTest, LoadsThatLeaveTheAnnouncedOrderGiveTheSameBytes) {
    std::vector<Page> pages = mixedPages(dir);
    // Announced in one order, asked for in another: skipped announcements are dropped, and
    // what was never announced (or was dropped) is prepared when asked for.
    auto loadInOrder = [&](const char *threads, const std::string &out) {
        Recorder recorder;
        pdfw_context *ctx = pdfw_new(record, nullptr, nullptr, nullptr, &recorder);
        pdfw_set_parameter(ctx, "threads", threads);
        EXPECT_EQ(pdfw_open_file(ctx, out.c_str()), 1);
        for (const Page &page : pages) {
            pdfw_queue_image(ctx, "auto", page.path.c_str(), "", page.page);
        }
        for (std::size_t i : {3, 0, 1, 2, 4, 5, 13, 6, 7, 16, 8, 9, 10, 11, 12, 15, 14, 17}) {
            pdfw_begin_page(ctx, 595, 842);
            int image = pdfw_load_image(ctx, "auto", pages[i].path.c_str(), "", pages[i].page);
            pdfw_place_image(ctx, image, 0, 0, 0.5f);
            pdfw_end_page(ctx);
        }
        EXPECT_EQ(pdfw_close(ctx), 0);
        pdfw_delete(ctx);
        EXPECT_TRUE(recorder.errors.empty()) << recorder.errors.front().second;
    };
    loadInOrder("1", dir / "1.pdf");
    loadInOrder("3", dir / "3.pdf");
    EXPECT_TRUE(support::ReadFile(dir / "3.pdf") == support::ReadFile(dir / "1.pdf"));
}

TEST_F(PipelineTest, TheFirstFailingPageIsReportedAndNothingIsLeft) {
    std::vector<Page> pages = mixedPages(dir);
    Bytes whole = support::ReadFile(pages[0].path);
    support::WriteFile(dir / "cut.jpg", Bytes(whole.begin(), whole.begin() + whole.size() / 2));
    support::WriteFile(dir / "empty.tif", {});
    pages.insert(pages.begin() + 5, {dir / "cut.jpg"});
    pages.insert(pages.begin() + 9, {dir / "empty.tif"}); // fails later, never reached
    pages.insert(pages.begin() + 7, {dir / "missing.jpg"});
    std::set<std::string> inputs = support::Listing(dir.Path());

    Outcome one = writePages(dir / "out.pdf", pages, "1");
    ASSERT_FALSE(one.written);
    EXPECT_EQ(one.pagesDone, 5);
    EXPECT_EQ(one.errorType, PDFW_SYNTAX_ERROR);
    EXPECT_NE(one.message.find("cut.jpg"), std::string::npos) << one.message;
    for (const char *threads : {"2", "4"}) {
        Outcome many = writePages(dir / "out.pdf", pages, threads);
        EXPECT_FALSE(many.written);
        EXPECT_EQ(many.pagesDone, one.pagesDone) << threads << " threads";
        EXPECT_EQ(many.errorType, one.errorType);
        EXPECT_EQ(many.message, one.message);
        EXPECT_EQ(support::Listing(dir.Path()), inputs); // no output, no temporary file
    }
}

// The caller's memory procedures see every large buffer: at no time are more compressed
// pictures held than the workers plus the one being written.
struct Census {
    std::atomic<int> live{0};
    std::atomic<int> peak{0};
};
Census census;

void *countingAlloc(pdfw_context *, std::size_t size, const char *caller) {
    auto *block = static_cast<std::size_t *>(std::malloc(size + sizeof(std::size_t)));
    block[0] = std::string(caller) == "Flate compression";
    if (block[0]) {
        int now = ++census.live;
        int peak = census.peak.load();
        while (now > peak && !census.peak.compare_exchange_weak(peak, now)) {
        }
    }
    return block + 1;
}
void *unusedRealloc(pdfw_context *, void *, std::size_t, const char *) {
    return nullptr;
}
void countingFree(pdfw_context *, void *memory) {
    auto *block = static_cast<std::size_t *>(memory) - 1;
    if (block[0]) {
        --census.live;
    }
    std::free(block);
}

TEST_F(PipelineTest, AtMostTheWorkersAndOneImageAreInFlight) {
    std::vector<std::string> scans;
    for (int i = 0; i < 12; ++i) {
        scans.push_back(tiff(dir, std::to_string(i) + ".tif", {tiffPage(1, COMPRESSION_LZW, i)}));
    }
    for (int workers : {2, 3}) {
        census.peak = 0;
        pdfw_context *ctx = pdfw_new(nullptr, countingAlloc, unusedRealloc, countingFree, nullptr);
        pdfw_set_parameter(ctx, "threads", std::to_string(workers).c_str());
        ASSERT_EQ(pdfw_open_file(ctx, (dir / "out.pdf").c_str()), 1);
        for (const std::string &scan : scans) {
            pdfw_queue_image(ctx, "tiff", scan.c_str(), "", 1);
        }
        for (const std::string &scan : scans) {
            // A slow writer: the workers run ahead as far as they may.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            pdfw_begin_page(ctx, 595, 842);
            int image = pdfw_load_image(ctx, "tiff", scan.c_str(), "", 1);
            EXPECT_EQ(pdfw_place_image(ctx, image, 0, 0, 1), 0);
            pdfw_end_page(ctx);
        }
        EXPECT_EQ(pdfw_close(ctx), 0);
        pdfw_delete(ctx);
        EXPECT_EQ(census.live, 0);
        EXPECT_EQ(census.peak, workers + 1) << workers << " workers";
    }
}

// Large pages that take a while each: a stop lands while work is under way.
std::vector<Page> slowPages(const support::TempDir &dir, int count) {
    support::TiffPage page = support::TiffPageOf(support::Noise(700, 500, 3, 7));
    page.compression = COMPRESSION_NONE;
    support::WriteTiff(dir / "noise.tif", {page});
    return std::vector<Page>(static_cast<std::size_t>(count), Page{dir / "noise.tif"});
}

// Announces `pages` on a new context with two workers and opens `out`.
pdfw_context *openAnnounced(Recorder &recorder, const std::string &out,
                            const std::vector<Page> &pages) {
    pdfw_context *ctx = pdfw_new(record, nullptr, nullptr, nullptr, &recorder);
    pdfw_set_parameter(ctx, "threads", "2");
    EXPECT_EQ(pdfw_open_file(ctx, out.c_str()), 1);
    for (const Page &page : pages) {
        pdfw_queue_image(ctx, "tiff", page.path.c_str(), "", 1);
    }
    return ctx;
}

bool addPage(pdfw_context *ctx, const Page &page) {
    if (pdfw_begin_page(ctx, 595, 842) != 0) {
        return false;
    }
    int image = pdfw_load_image(ctx, "tiff", page.path.c_str(), "", page.page);
    return image > 0 && pdfw_place_image(ctx, image, 0, 0, 0.5f) == 0 && pdfw_end_page(ctx) == 0;
}

TEST_F(PipelineTest, AStopFromAnotherThreadEndsTheRunCleanly) {
    std::vector<Page> pages = slowPages(dir, 200);
    std::set<std::string> inputs = support::Listing(dir.Path());
    Recorder recorder;
    pdfw_context *ctx = openAnnounced(recorder, dir / "out.pdf", pages);
    std::atomic<int> done{0};
    // Stops once two pages are written, while the writer goes on (mostly waiting for the
    // workers inside pdfw_load_image).
    std::thread canceller([&] {
        while (done < 2) {
            std::this_thread::yield();
        }
        EXPECT_EQ(pdfw_stop(ctx), 0);
    });
    for (const Page &page : pages) {
        if (!addPage(ctx, page)) {
            break;
        }
        ++done;
    }
    canceller.join();
    EXPECT_LT(done, 200);
    ASSERT_FALSE(recorder.errors.empty());
    EXPECT_EQ(recorder.errors.front().first, PDFW_RUNTIME_ERROR);
    EXPECT_NE(recorder.errors.front().second.find("stopped"), std::string::npos);
    EXPECT_EQ(pdfw_queue_image(ctx, "tiff", pages[0].path.c_str(), "", 1), -1);
    EXPECT_EQ(pdfw_close(ctx), -1); // abandons it
    EXPECT_EQ(support::Listing(dir.Path()), inputs);

    // The context goes on with a new document.
    recorder.errors.clear();
    ASSERT_EQ(pdfw_open_file(ctx, (dir / "next.pdf").c_str()), 1);
    EXPECT_TRUE(addPage(ctx, pages[0]));
    EXPECT_EQ(pdfw_close(ctx), 0);
    pdfw_delete(ctx);
    EXPECT_TRUE(recorder.errors.empty());
    EXPECT_TRUE(support::QpdfCheck(dir / "next.pdf"));
}

TEST_F(PipelineTest, DeletingAnUnfinishedDocumentStopsTheWorkers) {
    std::vector<Page> pages = slowPages(dir, 200);
    std::set<std::string> inputs = support::Listing(dir.Path());
    Recorder recorder;
    pdfw_context *ctx = openAnnounced(recorder, dir / "out.pdf", pages);
    EXPECT_TRUE(addPage(ctx, pages[0]));
    EXPECT_EQ(pdfw_stop(nullptr), -1);
    pdfw_delete(ctx); // joins workers still preparing, frees what they prepared
    EXPECT_EQ(support::Listing(dir.Path()), inputs);
    EXPECT_TRUE(recorder.errors.empty());
}

TEST_F(PipelineTest, ThreadsComeFromTheParameterOrTheEnvironment) {
    // ThreadSanitizer starts a thread of its own with the process's second one.
    std::thread([] {}).join();
    auto threadsDuring = [&](const char *environment, const char *parameter) {
        if (environment) {
            setenv("FOLVANE_THREADS", environment, 1);
        }
        pdfw_context *ctx = pdfw_new(nullptr, nullptr, nullptr, nullptr, nullptr);
        if (parameter) {
            EXPECT_EQ(pdfw_set_parameter(ctx, "threads", parameter), 0);
        }
        // A thread joined a moment ago may still be listed while the kernel lets it go.
        auto tasks = [] { return static_cast<int>(support::Listing("/proc/self/task").size()); };
        int before = tasks();
        for (int i = 0, last = -1; i < 200 && before != last; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            last = std::exchange(before, tasks());
        }
        pdfw_open_file(ctx, (dir / "out.pdf").c_str());
        int during = tasks();
        pdfw_delete(ctx);
        unsetenv("FOLVANE_THREADS");
        return during - before;
    };
    EXPECT_EQ(threadsDuring("3", nullptr), 3);
    EXPECT_EQ(threadsDuring("1", nullptr), 0);
    EXPECT_EQ(threadsDuring("1", "2"), 2);
    EXPECT_EQ(threadsDuring("5", "1"), 0);
    EXPECT_EQ(threadsDuring("many", "4"), 4);

    pdfw_context *ctx = pdfw_new(nullptr, nullptr, nullptr, nullptr, nullptr);
    for (const char *bad : {"0", "65", "two", "", "3x"}) {
        EXPECT_EQ(pdfw_set_parameter(ctx, "threads", bad), -1) << bad;
        EXPECT_EQ(pdfw_get_last_error_type(ctx), PDFW_VALUE_ERROR);
    }
    EXPECT_EQ(pdfw_queue_image(ctx, "jpeg", "a.jpg", "", 1), -1); // no document yet
    EXPECT_EQ(pdfw_get_last_error_type(ctx), PDFW_RUNTIME_ERROR);
    ASSERT_EQ(pdfw_open_file(ctx, (dir / "out.pdf").c_str()), 1);
    EXPECT_EQ(pdfw_set_parameter(ctx, "threads", "2"), -1);
    EXPECT_EQ(pdfw_get_last_error_type(ctx), PDFW_RUNTIME_ERROR);
    EXPECT_EQ(pdfw_queue_image(ctx, "jpeg", nullptr, "", 1), -1);
    EXPECT_EQ(pdfw_get_last_error_type(ctx), PDFW_VALUE_ERROR);
    // A request the load will refuse is accepted here: the load reports it.
    EXPECT_EQ(pdfw_queue_image(ctx, "png?", (dir / "none.jpg").c_str(), "", 0), 0);
    pdfw_delete(ctx);
}

} // namespace
