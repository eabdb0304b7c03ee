#include "pdfw/jpeg/JpegEncoder.h"

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <jpeglib.h>

#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/JpegSession.h"

namespace folvane::pdfw {

namespace {

// The libjpeg state; plain data only, so that the longjmp of the error exit skips no
// destructor. Every function that calls libjpeg arms the session itself.
struct Encode {
    jpeg_compress_struct info;
    JpegSession session;
    bool created;
    unsigned char *output; // malloc'ed by libjpeg's memory destination
    unsigned long outputSize;
};

bool compress(Encode &e, const unsigned char *pixels, std::uint32_t width, std::uint32_t height,
              int channels, std::size_t stride, int quality) {
    if (setjmp(e.session.jump) != 0) {
        return false;
    }
    e.info.err = startJpegSession(e.session);
    jpeg_create_compress(&e.info);
    e.created = true;
    jpeg_mem_dest(&e.info, &e.output, &e.outputSize);
    e.info.image_width = width;
    e.info.image_height = height;
    e.info.input_components = channels;
    e.info.in_color_space = channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&e.info);
    jpeg_set_quality(&e.info, quality, TRUE);
    e.info.optimize_coding = TRUE;
    jpeg_start_compress(&e.info, TRUE);
    while (e.info.next_scanline < height) {
        JSAMPROW row = const_cast<unsigned char *>(pixels + e.info.next_scanline * stride);
        jpeg_write_scanlines(&e.info, &row, 1);
    }
    jpeg_finish_compress(&e.info);
    return true;
}

} // namespace

Buffer encodeJpeg(const unsigned char *pixels, std::uint32_t width, std::uint32_t height,
                  int channels, std::size_t stride, int quality, const MemoryProcs &memory) {
    auto e = std::make_unique<Encode>();
    std::memset(e.get(), 0, sizeof(Encode));
    struct Release {
        Encode &e;
        ~Release() {
            if (e.created) {
                jpeg_destroy_compress(&e.info);
            }
            std::free(e.output);
        }
    } release{*e};
    if (!compress(*e, pixels, width, height, channels, stride, quality)) {
        failInternal(PDFW_RUNTIME_ERROR, "libjpeg cannot compress a corrected page's colour (" +
                                             std::string(e->session.message) + ")");
    }
    Buffer jpeg(memory, checkedSize({e->outputSize}, "a compressed picture"), "JPEG file");
    std::memcpy(jpeg.data(), e->output, e->outputSize);
    return jpeg;
}

} // namespace folvane::pdfw
