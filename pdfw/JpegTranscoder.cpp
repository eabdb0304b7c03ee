#include "pdfw/JpegTranscoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "pdfw/PdfwError.h"

namespace pdfw {

namespace {

// Everything the libjpeg calls share; plain data only, so that the longjmp of the error
// exit skips no destructor.
struct Transcode {
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    unsigned char *output;
    unsigned long outputSize;
};

void onError(j_common_ptr info) {
    auto *t = reinterpret_cast<Transcode *>(info->err);
    info->err->format_message(info, t->message);
    std::longjmp(t->jump, 1);
}

// Warnings mean corrupt data that libjpeg would paper over; refuse instead.
void onMessage(j_common_ptr info, int level) {
    if (level < 0) {
        onError(info);
    }
}

// Returns false with t.message set. Holds only C structures.
bool runTranscode(const unsigned char *data, std::size_t size, Transcode &t) {
    jpeg_decompress_struct source;
    jpeg_compress_struct target;
    std::memset(&source, 0, sizeof source);
    std::memset(&target, 0, sizeof target);
    source.err = jpeg_std_error(&t.errors);
    target.err = &t.errors;
    t.errors.error_exit = onError;
    t.errors.emit_message = onMessage;
    t.output = nullptr;
    t.outputSize = 0;
    if (setjmp(t.jump) != 0) {
        jpeg_destroy_compress(&target);
        jpeg_destroy_decompress(&source);
        std::free(t.output);
        t.output = nullptr;
        return false;
    }
    jpeg_create_decompress(&source);
    jpeg_create_compress(&target);
    jpeg_mem_src(&source, data, static_cast<unsigned long>(size));
    jpeg_read_header(&source, TRUE);
    jvirt_barray_ptr *coefficients = jpeg_read_coefficients(&source);
    jpeg_copy_critical_parameters(&source, &target);
    target.arith_code = FALSE;
    target.optimize_coding = TRUE;
    jpeg_mem_dest(&target, &t.output, &t.outputSize);
    jpeg_write_coefficients(&target, coefficients);
    jpeg_finish_compress(&target);
    jpeg_finish_decompress(&source);
    jpeg_destroy_compress(&target);
    jpeg_destroy_decompress(&source);
    return true;
}

} // namespace

Buffer transcodeToHuffman(const unsigned char *data, std::size_t size, const std::string &path,
                          const MemoryProcs &memory) {
    Transcode t{};
    if (!runTranscode(data, size, t)) {
        fail(PDFW_SYNTAX_ERROR,
             "\"" + path + "\": cannot convert its arithmetic coding: " + std::string(t.message));
    }
    struct FreeLater {
        unsigned char *block;
        ~FreeLater() { std::free(block); }
    } owned{t.output};
    Buffer result(memory, t.outputSize, "arithmetic JPEG conversion");
    std::memcpy(result.data(), t.output, t.outputSize);
    return result;
}

} // namespace pdfw
