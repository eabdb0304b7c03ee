// Helpers for the engine's tests: a scratch folder, images written with libjpeg and libtiff,
// the engine driven with a recording error handler, and the PDF tools that check the output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pdfw/pdfw.h"

namespace pdfw_test {

using Bytes = std::vector<unsigned char>;

// A fresh folder under /tmp, removed with everything in it at destruction.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string path(const std::string &name) const { return dir_ + "/" + name; }
    const std::string &dir() const { return dir_; }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::string dir_;
};

Bytes readFile(const std::string &path);
void writeFile(const std::string &path, const Bytes &bytes);
bool contains(const Bytes &haystack, const Bytes &needle);

// One RGB picture, 8 bits per sample, rows top first.
struct Rgb {
    int width = 0;
    int height = 0;
    Bytes pixels; // width * height * 3
    unsigned char at(int x, int y, int c) const { return pixels[(y * width + x) * 3 + c]; }
};

// The largest difference of any sample (sizes must match, else 256).
int maxDifference(const Rgb &a, const Rgb &b);
// A JPEG decoded by libjpeg to RGB.
Rgb decodeJpeg(const Bytes &jpeg);

struct JpegSpec {
    int width = 32;
    int height = 24;
    int components = 3; // 1 grey, 3 RGB (YCbCr coded), 4 CMYK (Adobe, inverted)
    bool progressive = false;
    bool arithmetic = false;
    int quality = 90;
    int exifOrientation = 0;   // 0: no EXIF segment
    bool multiPicture = false; // an APP2 "MPF" segment, as cameras write before a preview
};
// A JPEG whose component samples are `samples` (width * height * components).
Bytes makeJpeg(const JpegSpec &spec, const Bytes &samples);
// A smooth pattern of width * height * components samples.
Bytes pattern(int width, int height, int components, int seed = 0);

struct TiffSpec {
    int width = 16;
    int height = 8;
    int bitsPerSample = 8;
    int samplesPerPixel = 1;
    int photometric = 1;  // PHOTOMETRIC_*
    int compression = 1;  // COMPRESSION_*
    int rowsPerStrip = 0; // 0: one strip
    int tileSize = 0;     // > 0: tiles of this size
    int fillOrder = 1;
    int orientation = 0;      // 0: no tag
    int extraSampleKind = -1; // EXTRASAMPLE_* for one extra sample, -1 none
    int group3Options = 0;
    int predictor = 0;
    bool jpegTablesInStrips = false; // JPEG: each strip with its own (fitted) tables
    std::vector<std::uint16_t> colorMap; // 3 * (1 << bits) entries, red then green then blue
    int pages = 1;                       // the same picture written on each page
};
// Writes `rows` (packed rows as the TIFF stores them, top first) to `path` with libtiff.
void makeTiff(const std::string &path, const TiffSpec &spec, const Bytes &rows);

// The engine with a handler that records every error and returns.
class Engine {
public:
    Engine();
    ~Engine();
    pdfw_context *ctx() const { return ctx_; }
    int lastType() const { return types_.empty() ? 0 : types_.back(); }
    int firstType() const { return types_.empty() ? 0 : types_.front(); }
    const std::string &firstMessage() const { return first_; }
    const std::string &lastMessage() const { return message_; }
    int errorCount() const { return static_cast<int>(types_.size()); }

    struct Page {
        std::string image;
        float width; // page size in points
        float height;
        float scale = 1.0f;
    };
    // A whole document of one page per entry, the image at the origin. False on any error.
    bool writeDocument(const std::string &output, const std::vector<Page> &pages,
                       const char *compatibility = "1.4");

private:
    static void onError(pdfw_context *ctx, int type, const char *message);
    pdfw_context *ctx_;
    std::vector<int> types_;
    std::string message_;
    std::string first_;
};

// Runs a shell command; its standard output, and its exit status in `status`.
std::string run(const std::string &command, int *status = nullptr);
// True when `qpdf --check` accepts the file.
bool qpdfCheck(const std::string &pdf);
int pageCount(const std::string &pdf);
// Page `page` (1-based) rendered by poppler, one pixel per point, no anti-aliasing.
Rgb render(const std::string &pdf, int page = 1);
// The drawing lines ("q ... cm /ImN Do Q") of the engine's own content streams, in file order.
std::vector<std::string> drawingLines(const std::string &pdf);
// The PDF in qpdf's QDF form (streams uncompressed, one object per block).
std::string qdf(const std::string &pdf);

} // namespace pdfw_test
