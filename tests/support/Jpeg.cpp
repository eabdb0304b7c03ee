#include "tests/support/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <stdexcept>

#include "tests/support/Exif.h"

namespace support {

namespace {

struct JumpingError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JumpingError *>(cinfo->err)->jump, 1);
}

void Silent(j_common_ptr, int) {}

J_COLOR_SPACE InputSpace(int components) {
    switch (components) {
    case 1:
        return JCS_GRAYSCALE;
    case 3:
        return JCS_RGB;
    case 4:
        return JCS_CMYK;
    default:
        throw std::invalid_argument("MakeJpeg: pictures of 1, 3 or 4 components only");
    }
}

// The APP segments the options ask for, in the order they are written.
std::vector<std::pair<int, Bytes>> Segments(const JpegOptions &o) {
    std::vector<std::pair<int, Bytes>> segments;
    if (o.exifOrientation > 0) {
        ExifBlockBuilder exif(true);
        exif.Short(exif.AddDirectory(), 0x0112, static_cast<uint16_t>(o.exifOrientation));
        segments.push_back({JPEG_APP0 + 1, exif.Payload()});
    }
    const std::size_t count = static_cast<std::size_t>(std::max(1, o.iccSegments));
    const std::size_t chunk = (o.iccProfile.size() + count - 1) / count;
    for (std::size_t i = 0; !o.iccProfile.empty() && i < count; ++i) {
        const std::string tag = "ICC_PROFILE";
        Bytes payload(tag.begin(), tag.end());
        payload.push_back(0);
        payload.push_back(static_cast<uint8_t>(i + 1));
        payload.push_back(static_cast<uint8_t>(count));
        const std::size_t from = std::min(i * chunk, o.iccProfile.size());
        const std::size_t to = std::min(from + chunk, o.iccProfile.size());
        payload.insert(payload.end(), o.iccProfile.begin() + static_cast<long>(from),
                       o.iccProfile.begin() + static_cast<long>(to));
        segments.push_back({JPEG_APP0 + 2, payload});
    }
    if (o.multiPicture) {
        segments.push_back(
            {JPEG_APP0 + 2, Bytes{'M', 'P', 'F', 0, 'M', 'M', 0, 42, 0, 0, 0, 8, 0, 0}});
    }
    segments.insert(segments.end(), o.markers.begin(), o.markers.end());
    return segments;
}

// Kept free of objects with destructors: libjpeg's error exit jumps across it.
bool EncodeInto(const Picture &p, const JpegOptions &o,
                const std::vector<std::pair<int, Bytes>> &segments, unsigned char **out,
                unsigned long *size) {
    jpeg_compress_struct cinfo;
    JumpingError err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = JumpOnError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, size);
    cinfo.image_width = static_cast<JDIMENSION>(p.width);
    cinfo.image_height = static_cast<JDIMENSION>(p.height);
    cinfo.input_components = p.components;
    cinfo.in_color_space = InputSpace(p.components);
    jpeg_set_defaults(&cinfo);
    if (o.fileColourSpace != JCS_UNKNOWN) {
        jpeg_set_colorspace(&cinfo, o.fileColourSpace);
    }
    jpeg_set_quality(&cinfo, o.quality, TRUE);
    if (o.hSampling > 0) {
        cinfo.comp_info[0].h_samp_factor = o.hSampling;
        cinfo.comp_info[0].v_samp_factor = o.vSampling;
    }
    if (o.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    cinfo.arith_code = o.arithmetic ? TRUE : FALSE;
    cinfo.restart_in_rows = o.restartRows;
    cinfo.write_JFIF_header = o.jfif ? TRUE : FALSE;
    cinfo.write_Adobe_marker = o.adobe ? TRUE : FALSE;
    cinfo.density_unit = static_cast<UINT8>(o.densityUnit);
    cinfo.X_density = static_cast<UINT16>(o.xDensity);
    cinfo.Y_density = static_cast<UINT16>(o.yDensity);
    jpeg_start_compress(&cinfo, TRUE);
    for (const auto &segment : segments) {
        jpeg_write_marker(&cinfo, segment.first, segment.second.data(),
                          static_cast<unsigned>(segment.second.size()));
    }
    const std::size_t rowBytes = static_cast<std::size_t>(p.width) * p.components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t *>(p.samples.data() + cinfo.next_scanline * rowBytes);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

bool DecodeInto(const Bytes &jpeg, const JpegReadOptions &o, DecodedJpeg *decoded) {
    jpeg_decompress_struct cinfo;
    JumpingError err;
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
    if (o.colourSpace != JCS_UNKNOWN) {
        cinfo.out_color_space = o.colourSpace;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(o.scaleDenom);
    cinfo.do_fancy_upsampling = o.fancyUpsampling ? TRUE : FALSE;
    if (o.quantizeColours > 0) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = o.quantizeColours;
        cinfo.two_pass_quantize = o.twoPass ? TRUE : FALSE;
    }
    jpeg_start_decompress(&cinfo);
    Picture &p = decoded->picture;
    p.width = static_cast<int>(cinfo.output_width);
    p.height = static_cast<int>(cinfo.output_height);
    p.components = cinfo.output_components;
    const std::size_t rowBytes = static_cast<std::size_t>(p.width) * p.components;
    p.samples.resize(rowBytes * static_cast<std::size_t>(p.height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = p.samples.data() + cinfo.output_scanline * rowBytes;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    if (cinfo.quantize_colors) {
        for (int c = 0; c < 3; ++c) {
            decoded->map[c].assign(cinfo.colormap[c],
                                   cinfo.colormap[c] + cinfo.actual_number_of_colors);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

Bytes MakeJpeg(const Picture &picture, const JpegOptions &options) {
    InputSpace(picture.components);
    const auto segments = Segments(options);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    const bool encoded = EncodeInto(picture, options, segments, &out, &size);
    Bytes bytes = encoded ? Bytes(out, out + size) : Bytes();
    std::free(out);
    if (!encoded) {
        throw std::runtime_error("MakeJpeg: libjpeg refused the picture or the options");
    }
    return bytes;
}

DecodedJpeg DecodeJpeg(const Bytes &jpeg, const JpegReadOptions &options) {
    DecodedJpeg decoded;
    decoded.ok = DecodeInto(jpeg, options, &decoded);
    return decoded;
}

std::size_t FindMarker(const Bytes &jpeg, int marker) {
    std::size_t i = 2;
    while (i + 4 <= jpeg.size() && jpeg[i] == 0xFF) {
        if (jpeg[i + 1] == marker) {
            return i;
        }
        i += 2 + (std::size_t{jpeg[i + 2]} << 8 | jpeg[i + 3]);
    }
    return std::string::npos;
}

void SetFrameSize(Bytes &jpeg, int width, int height) {
    for (int marker : {0xC0, 0xC1, 0xC2, 0xC9, 0xCA}) {
        const std::size_t at = FindMarker(jpeg, marker);
        if (at != std::string::npos && at + 9 <= jpeg.size()) {
            // FF Cn, length (2), precision (1), height (2), width (2).
            jpeg[at + 5] = static_cast<uint8_t>(height >> 8);
            jpeg[at + 6] = static_cast<uint8_t>(height);
            jpeg[at + 7] = static_cast<uint8_t>(width >> 8);
            jpeg[at + 8] = static_cast<uint8_t>(width);
            return;
        }
    }
    throw std::invalid_argument("SetFrameSize: no frame header");
}

Bytes InsertBefore(Bytes jpeg, int marker, const Bytes &junk) {
    const std::size_t at = FindMarker(jpeg, marker);
    if (at == std::string::npos) {
        throw std::invalid_argument("InsertBefore: no such marker");
    }
    jpeg.insert(jpeg.begin() + static_cast<long>(at), junk.begin(), junk.end());
    return jpeg;
}

Bytes FlipScanBits(Bytes jpeg, int count) {
    const std::size_t scan = FindMarker(jpeg, 0xDA);
    if (scan == std::string::npos || jpeg.size() < scan + 4) {
        throw std::invalid_argument("FlipScanBits: no scan");
    }
    const std::size_t first = scan + 2 + (jpeg[scan + 2] << 8 | jpeg[scan + 3]);
    const std::size_t last = jpeg.size() - 3; // before the end-of-image marker
    if (count < 1 || last <= first + 4 * static_cast<std::size_t>(count)) {
        throw std::invalid_argument("FlipScanBits: too little data");
    }
    const std::size_t step = (last - first) / static_cast<std::size_t>(count);
    for (int i = 0; i < count; ++i) {
        std::size_t at = first + step * static_cast<std::size_t>(i) + step / 2;
        // Bytes next to a 0xFF stay as they are, and none becomes one.
        while (jpeg[at - 1] == 0xFF || jpeg[at] == 0xFF || jpeg[at] == 0xFE ||
               jpeg[at + 1] == 0xFF) {
            ++at;
        }
        jpeg[at] ^= 0x01;
    }
    return jpeg;
}

} // namespace support
