#include "JpegTestSupport.h"

#include <csetjmp>
#include <cstring>
#include <stdexcept>

#include "image/CfImage.h"
#include "image/CfStdioStream.h"

namespace jpegtest {

namespace {

struct ThrowingError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ThrowingError *>(cinfo->err)->jump, 1);
}

void Silent(j_common_ptr, int) {}

int ComponentsOf(J_COLOR_SPACE space) {
    return space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
}

// Kept free of objects with destructors: libjpeg's error exit jumps across it.
bool EncodeInto(const EncodeOptions &o, const uint8_t *pattern, unsigned char **out,
                unsigned long *size) {
    jpeg_compress_struct cinfo;
    ThrowingError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOnError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, size);
    cinfo.image_width = static_cast<JDIMENSION>(o.width);
    cinfo.image_height = static_cast<JDIMENSION>(o.height);
    cinfo.input_components = ComponentsOf(o.input);
    cinfo.in_color_space = o.input;
    jpeg_set_defaults(&cinfo);
    if (o.file != JCS_UNKNOWN) {
        jpeg_set_colorspace(&cinfo, o.file);
    }
    jpeg_set_quality(&cinfo, o.quality, TRUE);
    if (o.hSampling > 0) {
        cinfo.comp_info[0].h_samp_factor = o.hSampling;
        cinfo.comp_info[0].v_samp_factor = o.vSampling;
    }
    if (o.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    cinfo.restart_in_rows = o.restartRows;
    cinfo.write_JFIF_header = o.writeJfif ? TRUE : FALSE;
    cinfo.write_Adobe_marker = o.writeAdobe ? TRUE : FALSE;
    cinfo.density_unit = static_cast<UINT8>(o.densityUnit);
    cinfo.X_density = static_cast<UINT16>(o.xDensity);
    cinfo.Y_density = static_cast<UINT16>(o.yDensity);
    jpeg_start_compress(&cinfo, TRUE);
    for (const auto &marker : o.markers) {
        jpeg_write_marker(&cinfo, marker.first, marker.second.data(),
                          static_cast<unsigned>(marker.second.size()));
    }
    const size_t rowBytes = size_t(o.width) * size_t(cinfo.input_components);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t *>(pattern + cinfo.next_scanline * rowBytes);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

bool DecodeInto(const Bytes &jpeg, const ReferenceOptions &o, Reference *ref) {
    jpeg_decompress_struct cinfo;
    ThrowingError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOnError;
    err.pub.emit_message = Silent;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (o.grayscale) {
        cinfo.out_color_space = JCS_GRAYSCALE;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(o.scaleDenom);
    cinfo.do_fancy_upsampling = o.fancyUpsampling ? TRUE : FALSE;
    if (o.quantizeColors > 0) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = o.quantizeColors;
        cinfo.two_pass_quantize = o.twoPass ? TRUE : FALSE;
    }
    jpeg_start_decompress(&cinfo);
    ref->width = static_cast<int>(cinfo.output_width);
    ref->height = static_cast<int>(cinfo.output_height);
    ref->components = cinfo.output_components;
    const size_t rowBytes = size_t(ref->width) * size_t(ref->components);
    ref->pixels.resize(rowBytes * size_t(ref->height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = ref->pixels.data() + cinfo.output_scanline * rowBytes;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    if (cinfo.quantize_colors) {
        for (int c = 0; c < 3; ++c) {
            ref->colormap[c].assign(cinfo.colormap[c],
                                    cinfo.colormap[c] + cinfo.actual_number_of_colors);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

Bytes TestPattern(int width, int height, int components) {
    Bytes pixels(size_t(width) * size_t(height) * size_t(components));
    size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool check = ((x / 4) + (y / 4)) % 2 == 0;
            for (int c = 0; c < components; ++c) {
                int v = 0;
                switch (c) {
                case 0:
                    v = x * 255 / (width > 1 ? width - 1 : 1);
                    break;
                case 1:
                    v = y * 255 / (height > 1 ? height - 1 : 1);
                    break;
                case 2:
                    v = check ? 220 : 30;
                    break;
                default:
                    v = (x + y) % 7 < 3 ? 40 : 200;
                    break;
                }
                pixels[i++] = static_cast<uint8_t>(v);
            }
        }
    }
    return pixels;
}

Bytes Encode(const EncodeOptions &options) {
    Bytes pattern = TestPattern(options.width, options.height, ComponentsOf(options.input));
    if (!options.fill.empty()) {
        for (size_t i = 0; i < pattern.size(); ++i) {
            pattern[i] = options.fill[i % options.fill.size()];
        }
    }
    unsigned char *out = nullptr;
    unsigned long size = 0;
    if (!EncodeInto(options, pattern.data(), &out, &size)) {
        free(out);
        throw std::runtime_error("test JPEG could not be encoded");
    }
    Bytes bytes(out, out + size);
    free(out);
    return bytes;
}

Reference Decode(const Bytes &jpeg, const ReferenceOptions &options) {
    Reference ref;
    ref.ok = DecodeInto(jpeg, options, &ref);
    return ref;
}

FILE *TempFileWith(const Bytes &bytes) {
    FILE *file = std::tmpfile();
    if (file == nullptr) {
        throw std::runtime_error("no temporary file");
    }
    if (!bytes.empty()) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
    }
    std::rewind(file);
    return file;
}

bool DecodeBytes(CfImage &image, const Bytes &bytes, int32_t hint) {
    FILE *file = TempFileWith(bytes);
    bool ok = image.DecodeFile(file, hint);
    std::fclose(file);
    return ok;
}

void ExpectedBgr(const Reference &ref, int x, int y, uint8_t out[3]) {
    const uint8_t *p =
        &ref.pixels[(size_t(y) * size_t(ref.width) + size_t(x)) * size_t(ref.components)];
    out[0] = p[2];
    out[1] = p[1];
    out[2] = p[0];
}

size_t FindMarker(const Bytes &jpeg, int marker) {
    size_t i = 2;
    while (i + 4 <= jpeg.size() && jpeg[i] == 0xFF) {
        if (jpeg[i + 1] == marker) {
            return i;
        }
        i += 2 + ((size_t(jpeg[i + 2]) << 8) | jpeg[i + 3]);
    }
    return std::string::npos;
}

} // namespace jpegtest
