#include "tests/cli/CliRun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

#include <jpeglib.h>
#include <tiffio.h>

namespace cli_test {

namespace fs = std::filesystem;

std::string Quote(const std::string &text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string Read(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void Write(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

Scratch::Scratch() {
    std::string pattern = (fs::temp_directory_path() / "folvane-cli-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    dir_ = pattern;
}

Scratch::~Scratch() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
}

std::vector<std::string> Scratch::Names() const {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(dir_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

Result Scratch::RunCommand(const std::string &command, const std::string &input) const {
    // The captured streams live beside the folder, so they never show in Names().
    const std::string out = dir_ + ".stdout";
    const std::string err = dir_ + ".stderr";
    int status = std::system(
        ("(" + command + ") >" + Quote(out) + " 2>" + Quote(err) + " <" + Quote(input)).c_str());
    Result result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(out), Read(err)};
    fs::remove(out);
    fs::remove(err);
    return result;
}

void WriteJpeg(const std::string &path, int width, int height) {
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
    cinfo.input_components = 1;
    cinfo.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            row[static_cast<std::size_t>(x)] = static_cast<JSAMPLE>((x + y) & 0xff);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

void WriteTiff(const std::string &path, const std::vector<std::pair<int, int>> &pages) {
    TIFF *tif = TIFFOpen(path.c_str(), "w");
    if (tif == nullptr) {
        throw std::runtime_error("cannot write " + path);
    }
    for (auto [width, height] : pages) {
        TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
        TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_DEFLATE);
        TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 64);
        std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3, 200);
        for (int y = 0; y < height; ++y) {
            TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0);
        }
        TIFFWriteDirectory(tif);
    }
    TIFFClose(tif);
}

void CorruptFirstStrip(const std::string &path, int page) {
    TIFF *tif = TIFFOpen(path.c_str(), "r");
    if (tif == nullptr || !TIFFSetDirectory(tif, static_cast<tdir_t>(page))) {
        throw std::runtime_error("no page " + std::to_string(page) + " in " + path);
    }
    uint64_t *offsets = nullptr;
    TIFFGetField(tif, TIFFTAG_STRIPOFFSETS, &offsets);
    const uint64_t offset = offsets != nullptr ? offsets[0] : 0;
    TIFFClose(tif);
    std::string bytes = Read(path);
    if (offset == 0 || offset + 16 > bytes.size()) {
        throw std::runtime_error("no strip to corrupt in " + path);
    }
    bytes.replace(offset, 16, std::string(16, '\xff'));
    Write(path, bytes);
}

std::vector<std::pair<double, double>> PageSizes(const std::string &pdf) {
    FILE *pipe = popen(("pdfinfo -f 1 -l 100000 " + Quote(pdf) + " 2>/dev/null").c_str(), "r");
    std::vector<std::pair<double, double>> sizes;
    char line[512];
    while (pipe != nullptr && std::fgets(line, sizeof line, pipe) != nullptr) {
        int page = 0;
        double width = 0;
        double height = 0;
        if (std::sscanf(line, "Page %d size: %lf x %lf", &page, &width, &height) == 3) {
            sizes.emplace_back(width, height);
        }
    }
    if (pipe != nullptr) {
        pclose(pipe);
    }
    return sizes;
}

bool QpdfCheck(const std::string &pdf) {
    return std::system(("qpdf --check " + Quote(pdf) + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace cli_test
