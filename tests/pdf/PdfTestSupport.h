#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

// Test data written through libjpeg and libtiff, and PDF inspection through qpdf and poppler's
// command-line tools, so that results are judged independently of the engine's own code.
namespace pdftest {

// A fresh empty folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &Path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A baseline JPEG of a colour gradient (3 components) or a grey one (1).
void WriteJpeg(const std::string &path, int width, int height, int components = 3);
// An uncompressed 8-bit RGB TIFF of a gradient.
void WriteTiff(const std::string &path, int width, int height);
// A JPEG of mid grey with a solid block of colour in each corner, a fifth of each side:
// red top left, green top right, blue bottom left, black bottom right.
void WriteCornerJpeg(const std::string &path, int width, int height);

struct TiffPageSpec {
    int width;
    int height;
    int orientation; // the Orientation tag, 1..8
};
// A multi-page uncompressed RGB TIFF, one directory per spec, each of the corner picture.
void WriteTiffPages(const std::string &path, const std::vector<TiffPageSpec> &pages);

void WriteText(const std::string &path, const std::string &text);
std::string ReadFile(const std::string &path);
bool FileExists(const std::string &path);

struct CommandResult {
    int exitCode;
    std::string output; // stdout and stderr together
};
CommandResult Run(const std::string &command);
std::string Quote(const std::string &text);

// `qpdf --check` passes.
bool QpdfCheck(const std::string &pdf);

struct PageImage {
    int page;
    int width;
    int height;
};
// Every image of the document in page order (pdfimages -list).
std::vector<PageImage> ListImages(const std::string &pdf);

// Page sizes in points, in page order (pdfinfo).
std::vector<std::array<double, 2>> PageSizes(const std::string &pdf);

// One page rendered by pdftoppm, RGB, top row first.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char *At(int x, int y) const {
        return &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
    }
};
Raster RenderPage(const std::string &pdf, int page, int dpi);

// Every matrix given to the "cm" operator in the pages' content, in page order.
std::vector<std::array<double, 6>> PlacementMatrices(const std::string &pdf);

} // namespace pdftest
