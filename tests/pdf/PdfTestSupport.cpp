#include "tests/pdf/PdfTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

#include <jpeglib.h>
#include <tiffio.h>

namespace pdftest {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "folvane-pdf-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

namespace {

unsigned char Sample(int x, int y, int channel, int width, int height) {
    switch (channel) {
    case 0:
        return static_cast<unsigned char>(255 * x / (width > 1 ? width - 1 : 1));
    case 1:
        return static_cast<unsigned char>(255 * y / (height > 1 ? height - 1 : 1));
    default:
        return static_cast<unsigned char>((x ^ y) & 0xff);
    }
}

// The corner picture's colour at (x, y), y counted from the top.
void CornerColour(int x, int y, int width, int height, unsigned char *rgb) {
    const bool left = x < width / 5;
    const bool right = x >= width - width / 5;
    const bool top = y < height / 5;
    const bool bottom = y >= height - height / 5;
    unsigned char r = 128, g = 128, b = 128;
    if (top && left) {
        r = 255, g = 0, b = 0;
    } else if (top && right) {
        r = 0, g = 255, b = 0;
    } else if (bottom && left) {
        r = 0, g = 0, b = 255;
    } else if (bottom && right) {
        r = 0, g = 0, b = 0;
    }
    rgb[0] = r;
    rgb[1] = g;
    rgb[2] = b;
}

} // namespace

void WriteCornerJpeg(const std::string &path, int width, int height) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            CornerColour(x, y, width, height, &row[static_cast<size_t>(x) * 3]);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

void WriteTiffPages(const std::string &path, const std::vector<TiffPageSpec> &pages) {
    TIFF *tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    for (const TiffPageSpec &page : pages) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, page.width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, page.height);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(tif, TIFFTAG_ORIENTATION, page.orientation);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 16);
        TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        std::vector<unsigned char> row(static_cast<size_t>(page.width) * 3);
        for (int y = 0; y < page.height; ++y) {
            for (int x = 0; x < page.width; ++x) {
                CornerColour(x, y, page.width, page.height, &row[static_cast<size_t>(x) * 3]);
            }
            TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0);
        }
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
}

void WriteJpeg(const std::string &path, int width, int height, int components) {
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 85, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                row[static_cast<size_t>(x) * components + c] = Sample(x, y, c, width, height);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

void WriteTiff(const std::string &path, int width, int height) {
    TIFF *tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 16);
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                row[static_cast<size_t>(x) * 3 + c] = Sample(x, y, c, width, height);
            }
        }
        TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0);
    }
    TIFFClose(tif);
}

void WriteText(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool FileExists(const std::string &path) {
    return std::filesystem::exists(path);
}

CommandResult Run(const std::string &command) {
    FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        throw std::runtime_error("cannot run " + command);
    }
    std::string output;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string Quote(const std::string &text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

bool QpdfCheck(const std::string &pdf) {
    return Run("qpdf --check " + Quote(pdf)).exitCode == 0;
}

std::vector<PageImage> ListImages(const std::string &pdf) {
    std::istringstream lines(Run("pdfimages -list " + Quote(pdf)).output);
    std::vector<PageImage> images;
    std::string line;
    while (std::getline(lines, line)) {
        PageImage image{};
        int number = 0;
        char type[32];
        if (std::sscanf(line.c_str(), "%d %d %31s %d %d", &image.page, &number, type, &image.width,
                        &image.height) == 5) {
            images.push_back(image);
        }
    }
    return images;
}

std::vector<std::array<double, 2>> PageSizes(const std::string &pdf) {
    std::istringstream lines(Run("pdfinfo -f 1 -l 100000 " + Quote(pdf)).output);
    std::vector<std::array<double, 2>> sizes;
    std::string line;
    while (std::getline(lines, line)) {
        int page = 0;
        double width = 0;
        double height = 0;
        if (std::sscanf(line.c_str(), "Page %d size: %lf x %lf", &page, &width, &height) == 3) {
            sizes.push_back({width, height});
        }
    }
    return sizes;
}

Raster RenderPage(const std::string &pdf, int page, int dpi) {
    const std::string prefix = pdf + ".render";
    const std::string number = std::to_string(page);
    Run("pdftoppm -r " + std::to_string(dpi) + " -f " + number + " -l " + number + " -singlefile " +
        Quote(pdf) + " " + Quote(prefix));
    const std::string ppm = ReadFile(prefix + ".ppm");
    std::filesystem::remove(prefix + ".ppm");
    Raster raster;
    int maxValue = 0;
    int used = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &raster.width, &raster.height, &maxValue,
                    &used) != 3 ||
        maxValue != 255) {
        throw std::runtime_error("pdftoppm gave no picture for " + pdf);
    }
    const std::size_t size = static_cast<std::size_t>(raster.width) * raster.height * 3;
    const std::size_t start = static_cast<std::size_t>(used) + 1;
    if (ppm.size() < start + size) {
        throw std::runtime_error("pdftoppm gave a short picture for " + pdf);
    }
    raster.rgb.assign(ppm.begin() + static_cast<long>(start),
                      ppm.begin() + static_cast<long>(start + size));
    return raster;
}

namespace {

bool ParseNumber(const std::string &token, double &value) {
    if (token.empty()) {
        return false;
    }
    char *end = nullptr;
    value = std::strtod(token.c_str(), &end);
    return end == token.c_str() + token.size();
}

} // namespace

std::vector<std::array<double, 6>> PlacementMatrices(const std::string &pdf) {
    const std::string qdf = pdf + ".qdf";
    Run("qpdf --qdf --object-streams=disable " + Quote(pdf) + " " + Quote(qdf));
    std::istringstream tokens(ReadFile(qdf));
    std::filesystem::remove(qdf);
    std::vector<std::array<double, 6>> matrices;
    std::vector<std::string> last;
    std::string token;
    while (tokens >> token) {
        if (token == "cm" && last.size() >= 6) {
            std::array<double, 6> m{};
            bool numbers = true;
            for (int i = 0; i < 6; ++i) {
                numbers = numbers && ParseNumber(last[last.size() - 6 + i], m[i]);
            }
            if (numbers) {
                matrices.push_back(m);
            }
        }
        last.push_back(token);
        if (last.size() > 6) {
            last.erase(last.begin());
        }
    }
    return matrices;
}

} // namespace pdftest
