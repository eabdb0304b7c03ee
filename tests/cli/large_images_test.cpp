// Pictures of any size in bounded memory: a 600-dpi A3 colour scan of 16-bit samples and a
// 20000 x 20000 grey plan go into the PDF with their samples as libtiff and libpng read them
// (rounded to 8 bits below PDF 1.5, all 16 bits from it), while folvane-pdf's peak memory stays
// within a stated bound over what a 1000 x 1000 picture costs. Memory is measured in the child
// (getrusage); under AddressSanitizer the run keeps no quarantine of freed blocks, whose delayed
// reuse is the sanitizer's memory, not the program's.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/cli/FolvanePdfRun.h"
#include "tests/support/LargeImages.h"

namespace {

using namespace support;
using namespace cli_test;

// Growth of peak memory allowed over the 1000 x 1000 picture's run.
constexpr long kBoundKb = 64 * 1024;

RunResult Convert(const std::vector<std::string> &args) {
    std::vector<std::string> argv = {"env", "ASAN_OPTIONS=quarantine_size_mb=0:detect_leaks=0",
                                     kProgram};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv);
}

uint16_t Sample16(uint32_t x, uint32_t y, int c) {
    return static_cast<uint16_t>(x * 9 + y * 5 + static_cast<uint32_t>(c) * 3001);
}

uint8_t Grey(uint32_t x, uint32_t y) {
    return static_cast<uint8_t>((x / 3 + y * 7) ^ (y / 5));
}

void WriteScan(const std::string &path, uint32_t width, uint32_t height) {
    TiffPage page;
    page.width = width;
    page.height = height;
    page.samplesPerPixel = 3;
    page.bitsPerSample = 16;
    page.photometric = PHOTOMETRIC_RGB;
    page.compression = COMPRESSION_ADOBE_DEFLATE;
    page.rowsPerStrip = 8;
    WriteTiffRows(path, page, [width](uint32_t y, uint8_t *row) {
        auto *samples = reinterpret_cast<uint16_t *>(row);
        for (uint32_t x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                samples[x * 3 + c] = Sample16(x, y, c);
            }
        }
    });
}

void WritePlan(const std::string &path, uint32_t side) {
    PngImage image;
    image.width = image.height = side;
    image.colour = PngColour::Grey;
    image.bitDepth = 8;
    WritePngRows(path, image, [side](uint32_t y, uint8_t *row) {
        for (uint32_t x = 0; x < side; ++x) {
            row[x] = Grey(x, y);
        }
    });
}

// The decoded data of the first page's image, as qpdf reads it, a row at a time.
class ImageRows {
public:
    ImageRows(const std::string &pdf, std::size_t rowBytes) : row_(rowBytes) {
        std::string pages = RunProgram({"qpdf", "--show-pages", "--with-images", pdf}).out;
        std::size_t at = pages.find("/Im");
        int object =
            at == std::string::npos ? 0 : std::atoi(pages.c_str() + pages.find(':', at) + 1);
        dictionary_ = RunProgram({"qpdf", "--show-object=" + std::to_string(object), pdf}).out;
        std::string command = "qpdf --show-object=" + std::to_string(object) +
                              " --filtered-stream-data " + Quote(pdf);
        pipe_ = ::popen(command.c_str(), "r");
    }
    ~ImageRows() {
        if (pipe_) {
            ::pclose(pipe_);
        }
    }
    const std::string &Dictionary() const { return dictionary_; }
    const uint8_t *Next() {
        return pipe_ && std::fread(row_.data(), 1, row_.size(), pipe_) == row_.size() ? row_.data()
                                                                                      : nullptr;
    }

private:
    std::vector<uint8_t> row_;
    std::string dictionary_;
    FILE *pipe_ = nullptr;
};

class LargeImagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        WriteScan(*dir / "small.tif", 1000, 1000);
        RunResult small = Convert({"-o", *dir / "small.pdf", *dir / "small.tif"});
        ASSERT_EQ(small.exitCode, 0) << small.err;
        baseKb = small.peakKb;
    }
    static void TearDownTestSuite() {
        delete dir;
        dir = nullptr;
    }

    static TempDir *dir;
    static long baseKb;
};

TempDir *LargeImagesTest::dir = nullptr;
long LargeImagesTest::baseKb = 0;

TEST_F(LargeImagesTest, ASixteenBitA3ScanGoesInWithItsSamples) {
    const uint32_t width = 7016, height = 9920;
    const std::string scan = *dir / "a3.tif";
    WriteScan(scan, width, height);
    for (const char *version : {"1.4", "1.5"}) {
        const bool keep16 = std::string(version) == "1.5";
        const std::string pdf = *dir / "a3.pdf";
        RunResult run = Convert({"--pdf-version", version, "-o", pdf, scan});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err.find("16-bit samples written with 8 bits") != std::string::npos, !keep16)
            << run.err;
        EXPECT_LE(run.peakKb - baseKb, kBoundKb)
            << "peak " << run.peakKb << " KiB against " << baseKb << " KiB for 1000 x 1000";
        ImageRows rows(pdf, std::size_t{width} * 3 * (keep16 ? 2 : 1));
        EXPECT_NE(rows.Dictionary().find(keep16 ? "/BitsPerComponent 16" : "/BitsPerComponent 8"),
                  std::string::npos)
            << rows.Dictionary();
        uint32_t wrong = 0, y = 0;
        for (const uint8_t *row = rows.Next(); row && y < height; row = rows.Next(), ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                for (int c = 0; c < 3; ++c) {
                    uint16_t v = Sample16(x, y, c);
                    std::size_t at = x * 3 + c;
                    bool same = keep16 ? (row[2 * at] << 8 | row[2 * at + 1]) == v
                                       : row[at] == (v * 255u + 32767u) / 65535u;
                    wrong += same ? 0 : 1;
                }
            }
        }
        EXPECT_EQ(y, height) << version;
        EXPECT_EQ(wrong, 0u) << version;
    }
}

TEST_F(LargeImagesTest, A20000PixelSquareGreyPlanGoesIn) {
    const uint32_t side = 20000;
    const std::string plan = *dir / "plan.png";
    WritePlan(plan, side);
    const std::string pdf = *dir / "plan.pdf";
    RunResult run = Convert({"-o", pdf, plan});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_LE(run.peakKb - baseKb, kBoundKb)
        << "peak " << run.peakKb << " KiB against " << baseKb << " KiB for 1000 x 1000";
    ImageRows rows(pdf, side);
    uint32_t wrong = 0, y = 0;
    for (const uint8_t *row = rows.Next(); row && y < side; row = rows.Next(), ++y) {
        for (uint32_t x = 0; x < side; ++x) {
            wrong += row[x] == Grey(x, y) ? 0 : 1;
        }
    }
    EXPECT_EQ(y, side);
    EXPECT_EQ(wrong, 0u);
}

// Headers that claim a billion pixels over a few bytes of data are refused before any is
// decoded, saying why; a side beyond what viewers show is refused too.
TEST_F(LargeImagesTest, ClaimsTheDataCannotHoldAreRefusedAtOnce) {
    Bytes tiny = MakePng([] {
        PngImage one;
        one.width = one.height = 1;
        one.colour = PngColour::Grey;
        one.data = {0};
        return one;
    }());
    // The 1 x 1 file's header made to claim 32000 x 32000 (CRC recomputed).
    const uint32_t side = 32000;
    for (int i = 0; i < 2; ++i) {
        for (int b = 0; b < 4; ++b) {
            tiny[16 + 4 * i + b] = static_cast<uint8_t>(side >> (24 - 8 * b));
        }
    }
    uint32_t crc = static_cast<uint32_t>(crc32(0, tiny.data() + 12, 17));
    for (int b = 0; b < 4; ++b) {
        tiny[29 + b] = static_cast<uint8_t>(crc >> (24 - 8 * b));
    }
    WriteFile(*dir / "claim.png", tiny);
    RunResult run = Convert({"-o", *dir / "claim.pdf", *dir / "claim.png"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("claims 1024000000 pixels, more than its"), std::string::npos)
        << run.err;

    WritePlan(*dir / "wide.png", 1);
    Bytes wide = ReadFile(*dir / "wide.png");
    wide[16] = 0, wide[17] = 0, wide[18] = 0x80, wide[19] = 0x00; // 32768 wide
    crc = static_cast<uint32_t>(crc32(0, wide.data() + 12, 17));
    for (int b = 0; b < 4; ++b) {
        wide[29 + b] = static_cast<uint8_t>(crc >> (24 - 8 * b));
    }
    WriteFile(*dir / "wide.png", wide);
    run = Convert({"-o", *dir / "wide.pdf", *dir / "wide.png"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("32768 x 1 pixels, too large for PDF viewers (at most 32767"),
              std::string::npos)
        << run.err;
}

} // namespace
