// Damaged files by the hundred: random bytes changed in valid JPEGs and TIFFs of every path
// the engine takes. Each load either succeeds or fails with an error type; nothing crashes or
// touches memory it should not (run under AddressSanitizer), and the document stays usable.
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <tiffio.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/Jpeg.h"
#include "tests/support/Process.h"
#include "tests/support/Tiff.h"

namespace {

using namespace support;
using pdfw_test::Engine;

// The JPEG seeds' picture: the random damage below was tuned on these very files, so the
// seeds keep their bytes.
Picture seedPicture() {
    Picture picture = Blank(32, 24, 3);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 32; ++x) {
            for (int c = 0; c < 3; ++c) {
                picture.At(x, y, c) = static_cast<unsigned char>(
                    (x * 255 / 31 * (c + 1) + y * 255 / 23 * (c + 2)) % 256);
            }
        }
    }
    return picture;
}

std::vector<Bytes> seeds(const TempDir &dir) {
    std::vector<Bytes> files;
    JpegOptions jpeg;
    files.push_back(MakeJpeg(seedPicture(), jpeg));
    jpeg.progressive = true;
    jpeg.exifOrientation = 6;
    files.push_back(MakeJpeg(seedPicture(), jpeg));
    jpeg.progressive = false;
    jpeg.arithmetic = true;
    files.push_back(MakeJpeg(seedPicture(), jpeg));

    // `rows` holds the page's stored rows, whatever its depth.
    auto tiff = [&](TiffPage page, const Picture &rows) {
        page.data = rows.samples;
        WriteTiff(dir / "seed.tif", {page});
        files.push_back(ReadFile(dir / "seed.tif"));
    };
    TiffPage rgb = TiffPageOf(Pattern(16, 8, 3));
    rgb.compression = COMPRESSION_LZW;
    rgb.rowsPerStrip = 3;
    tiff(rgb, Pattern(16, 8, 3));
    rgb.tileWidth = rgb.tileLength = 16;
    rgb.compression = COMPRESSION_ADOBE_DEFLATE;
    tiff(rgb, Pattern(16, 8, 3));
    tiff(FaxPage(40, 20), Pattern(5, 20, 1));
    TiffPage jpegTiff = TiffPageOf(Pattern(16, 16, 3));
    jpegTiff.photometric = PHOTOMETRIC_YCBCR;
    jpegTiff.compression = COMPRESSION_JPEG;
    tiff(jpegTiff, Pattern(16, 16, 3));
    jpegTiff.height = 48;
    jpegTiff.rowsPerStrip = 16; // strips joined into one JPEG
    tiff(jpegTiff, Pattern(16, 48, 3));
    TiffPage alpha;
    alpha.width = 16;
    alpha.height = 8;
    alpha.bitsPerSample = 16;
    alpha.samplesPerPixel = 2;
    alpha.extraSamples = {EXTRASAMPLE_ASSOCALPHA};
    tiff(alpha, Pattern(16 * 4, 8, 1));
    return files;
}

TEST(Hostile, ChangedBytesNeverCrashTheEngine) {
    TempDir dir;
    std::vector<Bytes> originals = seeds(dir);
    std::mt19937 random(20261208);
    Engine engine;
    std::string out = dir / "hostile.pdf";
    ASSERT_EQ(pdfw_open_file(engine.ctx(), out.c_str()), 1);
    ASSERT_EQ(pdfw_begin_page(engine.ctx(), 595, 842), 0);
    int loaded = 0, refused = 0;
    for (int round = 0; round < 60; ++round) {
        for (const Bytes &original : originals) {
            Bytes damaged = original;
            int changes = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < changes; ++i) {
                std::size_t at = random() % damaged.size();
                damaged[at] = static_cast<unsigned char>(random());
            }
            if (random() % 5 == 0) {
                damaged.resize(random() % damaged.size());
            }
            std::string file = dir / "damaged";
            WriteFile(file, damaged);
            int errors = engine.errorCount();
            int image = pdfw_load_image(engine.ctx(), "auto", file.c_str(), "", 1);
            if (image >= 1) {
                ++loaded;
                EXPECT_EQ(engine.errorCount(), errors);
                EXPECT_EQ(pdfw_place_image(engine.ctx(), image, 0, 0, 0.5f), 0);
                EXPECT_EQ(pdfw_close_image(engine.ctx(), image), 0);
            } else {
                ++refused;
                EXPECT_GE(engine.lastType(), PDFW_MEMORY_ERROR);
                EXPECT_LE(engine.lastType(), PDFW_SYSTEM_ERROR);
                EXPECT_NE(engine.lastType(), PDFW_RUNTIME_ERROR) << engine.lastMessage();
            }
        }
    }
    EXPECT_GT(loaded, 0);
    EXPECT_GT(refused, 0);
    EXPECT_EQ(pdfw_end_page(engine.ctx()), 0);
    EXPECT_EQ(pdfw_close(engine.ctx()), 0);
    // The structure and the engine's own Flate streams must be sound; damaged JPEG data
    // inside a structurally sound file is carried as it is, as a viewer would show it.
    const RunResult check = RunProgram({"qpdf", "--check", "--decode-level=generalized", out});
    EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
}

} // namespace
