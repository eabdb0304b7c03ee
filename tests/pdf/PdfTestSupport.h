#pragma once

#include <array>
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

// Every matrix given to the "cm" operator in the pages' content, in page order.
std::vector<std::array<double, 6>> PlacementMatrices(const std::string &pdf);

} // namespace pdftest
