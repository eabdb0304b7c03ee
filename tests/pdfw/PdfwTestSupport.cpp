#include "tests/pdfw/PdfwTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>

#include <jpeglib.h>
#include <tiffio.h>

namespace pdfw_test {

ScratchDir::ScratchDir() {
    char name[] = "/tmp/pdfw-test-XXXXXX";
    if (!mkdtemp(name)) {
        throw std::runtime_error("mkdtemp failed");
    }
    dir_ = name;
}

ScratchDir::~ScratchDir() {
    std::system(("rm -rf '" + dir_ + "'").c_str());
}

std::vector<std::string> ScratchDir::entries() const {
    std::vector<std::string> names;
    if (DIR *d = opendir(dir_.c_str())) {
        while (dirent *e = readdir(d)) {
            std::string name = e->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

Bytes readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<long>(bytes.size()));
}

bool contains(const Bytes &haystack, const Bytes &needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) !=
           haystack.end();
}

int maxDifference(const Rgb &a, const Rgb &b) {
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size() ||
        a.pixels.empty()) {
        return 256;
    }
    int worst = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        worst = std::max(worst, std::abs(int{a.pixels[i]} - int{b.pixels[i]}));
    }
    return worst;
}

Rgb decodeJpeg(const Bytes &jpeg) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    Rgb image;
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.pixels.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + info.output_scanline * image.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

Bytes pattern(int width, int height, int components, int seed) {
    Bytes samples(static_cast<std::size_t>(width) * height * components);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                int v = (x * 255 / std::max(1, width - 1) * (c + 1 + seed) +
                         y * 255 / std::max(1, height - 1) * (c + 2)) %
                        256;
                samples[(static_cast<std::size_t>(y) * width + x) * components + c] =
                    static_cast<unsigned char>(v);
            }
        }
    }
    return samples;
}

Bytes makeJpeg(const JpegSpec &spec, const Bytes &samples) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(spec.width);
    info.image_height = static_cast<JDIMENSION>(spec.height);
    info.input_components = spec.components;
    info.in_color_space = spec.components == 1   ? JCS_GRAYSCALE
                          : spec.components == 3 ? JCS_RGB
                                                 : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, spec.quality, TRUE);
    if (spec.progressive) {
        jpeg_simple_progression(&info);
    }
    info.arith_code = spec.arithmetic ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    if (spec.exifOrientation > 0) {
        const unsigned char exif[] = {'E',  'x',
                                      'i',  'f',
                                      0,    0,
                                      'M',  'M',
                                      0,    42,
                                      0,    0,
                                      0,    8,
                                      0,    1, // one entry
                                      0x01, 0x12,
                                      0,    3,
                                      0,    0,
                                      0,    1, // Orientation SHORT 1
                                      0,    static_cast<unsigned char>(spec.exifOrientation),
                                      0,    0,
                                      0,    0,
                                      0,    0}; // no next IFD
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif, sizeof exif);
    }
    if (spec.multiPicture) {
        const unsigned char mpf[] = {'M', 'P', 'F', 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0};
        jpeg_write_marker(&info, JPEG_APP0 + 2, mpf, sizeof mpf);
    }
    std::size_t stride = static_cast<std::size_t>(spec.width) * spec.components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char *>(samples.data()) + info.next_scanline * stride;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes result(out, out + size);
    std::free(out);
    return result;
}

void makeTiff(const std::string &path, const TiffSpec &spec, const Bytes &rows) {
    TIFF *t = TIFFOpen(path.c_str(), "w");
    if (!t) {
        throw std::runtime_error("cannot create " + path);
    }
    std::size_t rowBytes =
        (static_cast<std::size_t>(spec.width) * spec.samplesPerPixel * spec.bitsPerSample + 7) / 8;
    for (int page = 0; page < spec.pages; ++page) {
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, spec.width);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, spec.height);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, spec.bitsPerSample);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, spec.samplesPerPixel);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, spec.photometric);
        TIFFSetField(t, TIFFTAG_COMPRESSION, spec.compression);
        TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(t, TIFFTAG_FILLORDER, spec.fillOrder);
        if (spec.orientation > 0) {
            TIFFSetField(t, TIFFTAG_ORIENTATION, spec.orientation);
        }
        if (spec.extraSampleKind >= 0) {
            std::uint16_t kind = static_cast<std::uint16_t>(spec.extraSampleKind);
            TIFFSetField(t, TIFFTAG_EXTRASAMPLES, 1, &kind);
        }
        if (spec.compression == COMPRESSION_CCITTFAX3) {
            TIFFSetField(t, TIFFTAG_GROUP3OPTIONS, spec.group3Options);
        }
        if (spec.predictor > 0) {
            TIFFSetField(t, TIFFTAG_PREDICTOR, spec.predictor);
        }
        if (spec.compression == COMPRESSION_JPEG) {
            TIFFSetField(t, TIFFTAG_JPEGQUALITY, 90);
            if (spec.jpegTablesInStrips) {
                TIFFSetField(t, TIFFTAG_JPEGTABLESMODE, 0);
            }
            if (spec.photometric == PHOTOMETRIC_YCBCR) {
                TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
            }
        }
        if (!spec.colorMap.empty()) {
            std::size_t n = spec.colorMap.size() / 3;
            TIFFSetField(t, TIFFTAG_COLORMAP, spec.colorMap.data(), spec.colorMap.data() + n,
                         spec.colorMap.data() + 2 * n);
        }
        if (spec.pages > 1) {
            TIFFSetField(t, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
            TIFFSetField(t, TIFFTAG_PAGENUMBER, page, spec.pages);
        }
        if (spec.tileSize > 0) {
            TIFFSetField(t, TIFFTAG_TILEWIDTH, spec.tileSize);
            TIFFSetField(t, TIFFTAG_TILELENGTH, spec.tileSize);
            std::size_t tileRow = (static_cast<std::size_t>(spec.tileSize) * spec.samplesPerPixel *
                                       spec.bitsPerSample +
                                   7) /
                                  8;
            Bytes tile(tileRow * spec.tileSize);
            std::size_t bitsPerPixel =
                static_cast<std::size_t>(spec.samplesPerPixel) * spec.bitsPerSample;
            for (int y = 0; y < spec.height; y += spec.tileSize) {
                for (int x = 0; x < spec.width; x += spec.tileSize) {
                    std::fill(tile.begin(), tile.end(), 0);
                    std::size_t offset = x * bitsPerPixel / 8;
                    std::size_t span = std::min(tileRow, rowBytes - offset);
                    for (int r = 0; r < spec.tileSize && y + r < spec.height; ++r) {
                        std::memcpy(tile.data() + r * tileRow,
                                    rows.data() + (y + r) * rowBytes + offset, span);
                    }
                    TIFFWriteTile(t, tile.data(), x, y, 0, 0);
                }
            }
        } else {
            int perStrip = spec.rowsPerStrip > 0 ? spec.rowsPerStrip : spec.height;
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, perStrip);
            for (int y = 0; y < spec.height; ++y) {
                TIFFWriteScanline(t, const_cast<unsigned char *>(rows.data()) + y * rowBytes,
                                  static_cast<std::uint32_t>(y), 0);
            }
        }
        TIFFWriteDirectory(t);
    }
    TIFFClose(t);
}

Engine::Engine() {
    pdfw_boot();
    ctx_ = pdfw_new(&Engine::onError, nullptr, nullptr, nullptr, this);
}

Engine::~Engine() {
    pdfw_delete(ctx_);
    pdfw_shutdown();
}

void Engine::onError(pdfw_context *ctx, int type, const char *message) {
    auto *self = static_cast<Engine *>(pdfw_get_opaque(ctx));
    if (self->types_.empty()) {
        self->first_ = message;
    }
    self->types_.push_back(type);
    self->message_ = message;
}

bool Engine::writeDocument(const std::string &output, const std::vector<Page> &pages,
                           const char *compatibility) {
    int errors = errorCount();
    pdfw_set_parameter(ctx_, "compatibility", compatibility);
    if (pdfw_open_file(ctx_, output.c_str()) != 1) {
        return false;
    }
    for (const Page &page : pages) {
        pdfw_begin_page(ctx_, page.width, page.height);
        int image = pdfw_load_image(ctx_, "auto", page.image.c_str(), "", 1);
        pdfw_place_image(ctx_, image, 0, 0, page.scale);
        pdfw_close_image(ctx_, image);
        pdfw_end_page(ctx_);
    }
    pdfw_close(ctx_);
    return errorCount() == errors;
}

std::string run(const std::string &command, int *status) {
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) {
        throw std::runtime_error("cannot run " + command);
    }
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, got);
    }
    int result = pclose(pipe);
    if (status) {
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    }
    return output;
}

bool qpdfCheck(const std::string &pdf) {
    int status = -1;
    run("qpdf --check '" + pdf + "' >/dev/null 2>&1", &status);
    return status == 0;
}

int pageCount(const std::string &pdf) {
    return std::atoi(run("qpdf --show-npages '" + pdf + "' 2>/dev/null").c_str());
}

Rgb render(const std::string &pdf, int page) {
    // Rendered at four pixels per point and sampled at the centre of each 4 x 4 block:
    // poppler interpolates images drawn at less than four times their size, so only this
    // shows the image's own samples.
    constexpr int kZoom = 4;
    std::string p = std::to_string(page);
    std::string ppm = run("pdftoppm -r " + std::to_string(72 * kZoom) + " -aa no -aaVector no -f " +
                          p + " -l " + p + " '" + pdf + "' 2>/dev/null");
    int width = 0, height = 0, maxValue = 0, consumed = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3 ||
        maxValue != 255) {
        return Rgb{};
    }
    std::size_t start = static_cast<std::size_t>(consumed) + 1;
    if (ppm.size() < start + static_cast<std::size_t>(width) * height * 3) {
        return Rgb{};
    }
    Rgb image;
    image.width = width / kZoom;
    image.height = height / kZoom;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            std::size_t at = start + (static_cast<std::size_t>(y * kZoom + kZoom / 2) * width +
                                      x * kZoom + kZoom / 2) *
                                         3;
            for (int c = 0; c < 3; ++c) {
                image.pixels.push_back(static_cast<unsigned char>(ppm[at + c]));
            }
        }
    }
    return image;
}

std::vector<std::string> drawingLines(const std::string &pdf) {
    Bytes bytes = readFile(pdf);
    std::string text(bytes.begin(), bytes.end());
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (line.rfind("q ", 0) == 0 && line.find(" Do Q") != std::string::npos) {
            lines.push_back(line);
        }
        start = end + 1;
    }
    return lines;
}

std::string qdf(const std::string &pdf) {
    return run("qpdf --qdf --stream-data=uncompress --object-streams=disable '" + pdf +
               "' - 2>/dev/null");
}

} // namespace pdfw_test
