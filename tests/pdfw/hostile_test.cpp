// Damaged files by the hundred: random bytes changed in valid JPEGs and TIFFs of every path
// the engine takes. Each load either succeeds or fails with an error type; nothing crashes or
// touches memory it should not (run under AddressSanitizer), and the document stays usable.
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <tiffio.h>

#include "pdfw/pdfw.h"
#include "tests/pdfw/PdfwTestSupport.h"

namespace {

using namespace pdfw_test;

std::vector<Bytes> seeds(const ScratchDir &dir) {
    std::vector<Bytes> files;
    JpegSpec jpeg;
    files.push_back(makeJpeg(jpeg, pattern(32, 24, 3)));
    jpeg.progressive = true;
    jpeg.exifOrientation = 6;
    files.push_back(makeJpeg(jpeg, pattern(32, 24, 3)));
    jpeg.progressive = false;
    jpeg.arithmetic = true;
    files.push_back(makeJpeg(jpeg, pattern(32, 24, 3)));

    auto tiff = [&](TiffSpec spec, const Bytes &rows) {
        std::string path = dir.path("seed.tif");
        makeTiff(path, spec, rows);
        files.push_back(readFile(path));
    };
    TiffSpec rgb;
    rgb.samplesPerPixel = 3;
    rgb.photometric = PHOTOMETRIC_RGB;
    rgb.compression = COMPRESSION_LZW;
    rgb.rowsPerStrip = 3;
    tiff(rgb, pattern(16, 8, 3));
    rgb.tileSize = 16;
    rgb.compression = COMPRESSION_ADOBE_DEFLATE;
    tiff(rgb, pattern(16, 8, 3));
    TiffSpec fax;
    fax.width = 40;
    fax.height = 20;
    fax.bitsPerSample = 1;
    fax.photometric = PHOTOMETRIC_MINISWHITE;
    fax.compression = COMPRESSION_CCITTFAX4;
    tiff(fax, pattern(5, 20, 1));
    TiffSpec jpegTiff;
    jpegTiff.width = 16;
    jpegTiff.height = 16;
    jpegTiff.samplesPerPixel = 3;
    jpegTiff.photometric = PHOTOMETRIC_YCBCR;
    jpegTiff.compression = COMPRESSION_JPEG;
    tiff(jpegTiff, pattern(16, 16, 3));
    jpegTiff.height = 48;
    jpegTiff.rowsPerStrip = 16; // strips joined into one JPEG
    tiff(jpegTiff, pattern(16, 48, 3));
    TiffSpec alpha;
    alpha.bitsPerSample = 16;
    alpha.samplesPerPixel = 2;
    alpha.extraSampleKind = EXTRASAMPLE_ASSOCALPHA;
    tiff(alpha, pattern(16 * 4, 8, 1));
    return files;
}

TEST(Hostile, ChangedBytesNeverCrashTheEngine) {
    ScratchDir dir;
    std::vector<Bytes> originals = seeds(dir);
    std::mt19937 random(20261208);
    Engine engine;
    std::string out = dir.path("hostile.pdf");
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
            std::string file = dir.path("damaged");
            writeFile(file, damaged);
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
    int status = -1;
    std::string report = run("qpdf --check --decode-level=generalized '" + out + "' 2>&1", &status);
    EXPECT_EQ(status, 0) << report;
}

} // namespace
