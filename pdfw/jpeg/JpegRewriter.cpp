#include "pdfw/jpeg/JpegRewriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/ExifOrientation.h"
#include "pdfw/jpeg/JpegSession.h"
#include "pdfw/jpeg/JpegStructure.h"

namespace folvane::pdfw {

namespace {

// Everything the libjpeg calls share; plain data only, so that the longjmp of the error exit
// skips no destructor. The session's owner is the codec, for the message filter.
struct Codec {
    JpegSession session;
    JpegRewrite mode;
    char warnings[512];
    int failure; // the PDFW_*_ERROR of a failure
    bool hitEnd; // the data ended before the end-of-image marker
    jpeg_decompress_struct source;
    jpeg_compress_struct target;
    bool sourceMade;
    bool targetMade;
    unsigned char *output;
    unsigned long outputSize;
};

// Warnings about the markers leave the picture as it is; every other warning means image data
// that libjpeg made up (a premature end filled with grey, a bad code skipped).
bool harmless(int code) {
    return code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM ||
           code == JWRN_NOT_SEQUENTIAL;
}

// Bytes after the entropy-coded data that a check lets pass: some encoders pad the data.
constexpr int kStrayBytes = 16;

bool failsMode(JpegRewrite mode, int code, int extraBytes) {
    switch (mode) {
    case JpegRewrite::Transcode:
        return true;
    case JpegRewrite::Repair:
        return !(harmless(code) || code == JWRN_JPEG_EOF);
    case JpegRewrite::Check:
        return !harmless(code) || (code == JWRN_EXTRANEOUS_DATA && extraBytes > kStrayBytes);
    }
    return true;
}

void onMessage(j_common_ptr info, int level) {
    if (level >= 0) {
        return; // trace messages
    }
    auto *c = static_cast<Codec *>(jpegSessionOf(info).owner);
    int code = info->err->msg_code;
    if (failsMode(c->mode, code, info->err->msg_parm.i[0])) {
        failJpegCall(info);
    }
    c->hitEnd = c->hitEnd || code == JWRN_JPEG_EOF;
    char text[JMSG_LENGTH_MAX];
    info->err->format_message(info, text);
    if (std::strstr(c->warnings, text) == nullptr) {
        std::size_t used = std::strlen(c->warnings);
        std::snprintf(c->warnings + used, sizeof c->warnings - used, "%s%s", used ? "; " : "",
                      text);
    }
}

// Fails the codec from inside one of the calls below with `failure` and `text`.
[[noreturn]] void stop(Codec &c, int failure, const char *text) {
    c.failure = failure;
    failJpegCall(c.session, text);
}

// Coefficient arrays take 128 bytes per 8x8 block of every component.
void checkCeiling(Codec &c, std::size_t size) {
    std::uint64_t blocks = 0;
    for (int i = 0; i < c.source.num_components; ++i) {
        const jpeg_component_info &comp = c.source.comp_info[i];
        blocks += std::uint64_t{comp.width_in_blocks} * comp.height_in_blocks;
    }
    // Huffman coding spends at least one bit per block.
    if (!c.source.arith_code && blocks > std::uint64_t{size} * 8) {
        stop(c, PDFW_SYNTAX_ERROR, "too little image data for its size");
    }
    if (blocks > kMaxBufferBytes / 128) {
        stop(c, PDFW_OVERFLOW_ERROR, "its coefficients take more than 256 MiB");
    }
}

// Reads the header and every coefficient. Holds only C structures.
jvirt_barray_ptr *readCoefficients(Codec &c, const unsigned char *data, std::size_t size) {
    if (setjmp(c.session.jump) != 0) {
        return nullptr;
    }
    c.source.err = startJpegSession(c.session, &c, onMessage);
    jpeg_create_decompress(&c.source);
    c.sourceMade = true;
    c.source.mem->max_memory_to_use = static_cast<long>(kMaxBufferBytes);
    jpeg_save_markers(&c.source, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&c.source, JPEG_APP0 + 2, 0xFFFF);
    jpeg_mem_src(&c.source, data, static_cast<unsigned long>(size));
    jpeg_read_header(&c.source, TRUE);
    if (c.source.data_precision != 8) {
        stop(c, PDFW_TYPE_ERROR, "it is not an 8-bit JPEG");
    }
    if (c.source.num_components != 1 && c.source.num_components != 3 &&
        c.source.num_components != 4) {
        stop(c, PDFW_TYPE_ERROR, "PDF carries JPEGs of 1, 3 or 4 components");
    }
    checkCeiling(c, size); // the block counts are known once the header is read
    jvirt_barray_ptr *coefficients = jpeg_read_coefficients(&c.source);
    // A file that ends without its end marker is whole when its one scan holds every component
    // and no code went missing (libjpeg warns about that separately). With several scans, or
    // arithmetic coding, which warns about nothing, a missing later part cannot be told apart.
    if (c.hitEnd &&
        (c.source.progressive_mode || c.source.arith_code || c.source.input_scan_number != 1 ||
         c.source.comps_in_scan != c.source.num_components)) {
        stop(c, PDFW_SYNTAX_ERROR, "Premature end of JPEG file");
    }
    return coefficients;
}

// Writes the coefficients as a new JPEG into c.output. Holds only C structures.
bool writeCoefficients(Codec &c, jvirt_barray_ptr *coefficients) {
    if (setjmp(c.session.jump) != 0) {
        return false;
    }
    c.target.err = &c.session.errors;
    jpeg_create_compress(&c.target);
    c.targetMade = true;
    jpeg_copy_critical_parameters(&c.source, &c.target);
    c.target.arith_code = FALSE;
    c.target.optimize_coding = TRUE;
    if (c.source.progressive_mode) {
        jpeg_simple_progression(&c.target);
    }
    jpeg_mem_dest(&c.target, &c.output, &c.outputSize);
    jpeg_write_coefficients(&c.target, coefficients);
    jpeg_finish_compress(&c.target);
    jpeg_finish_decompress(&c.source);
    return true;
}

// Owns the codec's libjpeg objects and output block.
struct CodecOwner {
    Codec codec{};
    ~CodecOwner() {
        if (codec.targetMade) {
            jpeg_destroy_compress(&codec.target);
        }
        if (codec.sourceMade) {
            jpeg_destroy_decompress(&codec.source);
        }
        std::free(codec.output);
    }
};

// The orientation and colour profile of the segments libjpeg kept.
void readSavedMarkers(const jpeg_decompress_struct &source, RewrittenJpeg &result) {
    bool exifSeen = false;
    JpegIccSegments icc;
    for (jpeg_saved_marker_ptr m = source.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && !exifSeen && m->data_length >= 6 &&
            std::memcmp(m->data, "Exif\0\0", 6) == 0) {
            exifSeen = true;
            result.orientation = exifOrientation(m->data + 6, m->data_length - 6);
        } else if (m->marker == JPEG_APP0 + 2) {
            icc.add(m->data, m->data_length);
        }
    }
    icc.join(result.iccProfile, result.iccProblem);
}

} // namespace

// A failure is returned: false, with its PDFW_*_ERROR type in `failure` and libjpeg's text
// (or the ceiling's) in `reason`.
static bool tryRewriteJpeg(const unsigned char *data, std::size_t size, JpegRewrite mode,
                           const MemoryProcs &memory, RewrittenJpeg &result, int &failure,
                           std::string &reason) {
    CodecOwner owner;
    Codec &c = owner.codec;
    c.mode = mode;
    c.failure = PDFW_SYNTAX_ERROR;
    jvirt_barray_ptr *coefficients = readCoefficients(c, data, size);
    if (coefficients) {
        // Finishing the decompression releases the kept segments: read them first.
        readSavedMarkers(c.source, result);
    }
    if (!coefficients || !writeCoefficients(c, coefficients)) {
        failure = c.failure;
        reason = c.session.message;
        return false;
    }
    result.warnings = c.warnings;
    result.jpeg = Buffer(memory, c.outputSize, "rewritten JPEG");
    std::memcpy(result.jpeg.data(), c.output, c.outputSize);
    return true;
}

RewrittenJpeg rewriteJpeg(const unsigned char *data, std::size_t size, const std::string &path,
                          JpegRewrite mode, const MemoryProcs &memory) {
    RewrittenJpeg result;
    int failure = 0;
    std::string reason;
    if (!tryRewriteJpeg(data, size, mode, memory, result, failure, reason)) {
        const char *what = mode == JpegRewrite::Transcode ? "cannot convert its arithmetic coding"
                                                          : "libjpeg cannot read it whole";
        fail(failure, damagedFile(path, "JPEG", what + (": " + reason)));
    }
    return result;
}

std::string entropyDataFault(const unsigned char *data, std::size_t size) {
    CodecOwner owner;
    Codec &c = owner.codec;
    c.mode = JpegRewrite::Check;
    return readCoefficients(c, data, size) ? std::string() : std::string(c.session.message);
}

RewrittenJpeg repairJpeg(const unsigned char *data, std::size_t size, const PdfwError &structure,
                         const MemoryProcs &memory) {
    RewrittenJpeg result;
    int failure = 0;
    std::string reason;
    if (!tryRewriteJpeg(data, size, JpegRewrite::Repair, memory, result, failure, reason)) {
        int type = failure == PDFW_SYNTAX_ERROR ? structure.type() : failure;
        Problem problem = structure.problem();
        problem.detail += " (libjpeg cannot read it whole either: " + reason + ")";
        fail(type, std::move(problem));
    }
    return result;
}

} // namespace folvane::pdfw
