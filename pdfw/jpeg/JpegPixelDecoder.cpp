#include "pdfw/jpeg/JpegPixelDecoder.h"

#include <csetjmp>
#include <cstring>
#include <memory>

#include <jpeglib.h>

#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/JpegSession.h"

namespace folvane::pdfw {

namespace {

// The libjpeg state; plain data only, so that the longjmp of the error exit skips no
// destructor. Every function that calls libjpeg arms the session itself. Warnings are dropped:
// corrupt data would be papered over with grey, and that is still a page to read (the file was
// checked before it went into the PDF).
struct Decode {
    jpeg_decompress_struct info;
    JpegSession session;
    bool created;
};

bool start(Decode &d, const unsigned char *data, std::size_t size, JpegPixels wanted) {
    if (setjmp(d.session.jump) != 0) {
        return false;
    }
    d.info.err = startJpegSession(d.session);
    jpeg_create_decompress(&d.info);
    d.created = true;
    jpeg_mem_src(&d.info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.info, TRUE);
    // libjpeg converts YCbCr and grey to grey or RGB itself; CMYK comes out as it is.
    bool cmyk = d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK;
    bool grey = wanted == JpegPixels::Grey || d.info.jpeg_color_space == JCS_GRAYSCALE;
    d.info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&d.info);
    return true;
}

// A CMYK row (`inverted`: Adobe's, where 255 is no ink) as grey or RGB.
void fromCmyk(const unsigned char *cmyk, unsigned char *target, JDIMENSION width, int channels,
              bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x) {
        const unsigned char *p = cmyk + 4 * x;
        unsigned ink[4];
        for (int k = 0; k < 4; ++k) {
            ink[k] = inverted ? 255u - p[k] : p[k];
        }
        unsigned paper = 255u - ink[3];
        if (channels == 1) {
            unsigned grey = 255u * 1000u - (299u * ink[0] + 587u * ink[1] + 114u * ink[2]);
            target[x] = static_cast<unsigned char>(grey / 1000u * paper / 255u);
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            target[3 * x + k] = static_cast<unsigned char>((255u - ink[k]) * paper / 255u);
        }
    }
}

// Reads every row into `rows` (`channels` bytes a pixel), a CMYK file's through `scratch`.
bool readRows(Decode &d, unsigned char *rows, int channels, unsigned char *scratch) {
    if (setjmp(d.session.jump) != 0) {
        return false;
    }
    const JDIMENSION width = d.info.output_width;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    bool cmyk = d.info.out_color_space == JCS_CMYK;
    // Adobe's CMYK JPEGs store inverted inks: 255 is no ink.
    bool inverted = d.info.saw_Adobe_marker;
    while (d.info.output_scanline < d.info.output_height) {
        unsigned char *target = rows + static_cast<std::size_t>(d.info.output_scanline) * rowBytes;
        JSAMPROW row = cmyk ? scratch : target;
        jpeg_read_scanlines(&d.info, &row, 1);
        if (cmyk) {
            fromCmyk(scratch, target, width, channels, inverted);
        }
    }
    jpeg_finish_decompress(&d.info);
    return true;
}

int jfifDpi(const jpeg_decompress_struct &info) {
    if (!info.saw_JFIF_marker || info.X_density == 0) {
        return 0;
    }
    if (info.density_unit == 1) {
        return info.X_density;
    }
    if (info.density_unit == 2) {
        return static_cast<int>(info.X_density * 2.54 + 0.5);
    }
    return 0;
}

} // namespace

DecodedJpeg decodeJpegPixels(const unsigned char *data, std::size_t size, const std::string &path,
                             JpegPixels wanted, const MemoryProcs &memory) {
    auto d = std::make_unique<Decode>();
    std::memset(d.get(), 0, sizeof(Decode));
    struct Destroy {
        Decode &d;
        ~Destroy() {
            if (d.created) {
                jpeg_destroy_decompress(&d.info);
            }
        }
    } destroy{*d};
    auto failed = [&] {
        fail(PDFW_SYNTAX_ERROR,
             damagedFile(path, "JPEG",
                         "libjpeg cannot decode it: " + std::string(d->session.message)));
    };
    if (!start(*d, data, size, wanted)) {
        failed();
    }
    DecodedJpeg picture;
    picture.width = d->info.output_width;
    picture.height = d->info.output_height;
    picture.channels = d->info.out_color_space == JCS_GRAYSCALE ||
                               (wanted == JpegPixels::Grey && d->info.out_color_space == JCS_CMYK)
                           ? 1
                           : 3;
    picture.dpi = jfifDpi(d->info);
    std::string what = "the decoded picture of \"" + path + "\"";
    picture.rows = Buffer(
        memory,
        checkedSize({picture.width, picture.height, static_cast<std::uint64_t>(picture.channels)},
                    what),
        "decoded JPEG");
    Buffer scratch(
        memory,
        checkedSize({picture.width, static_cast<std::uint64_t>(d->info.output_components)}, what),
        "JPEG row");
    if (!readRows(*d, picture.rows.data(), picture.channels, scratch.data())) {
        failed();
    }
    return picture;
}

} // namespace folvane::pdfw
