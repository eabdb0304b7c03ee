// Feeds the input to the PDF engine's image intake as FUZZ_IMAGE_TYPE ("jpeg" or "tiff"):
// load, place on a page, close the image, end the page, then abandon the document (no fsync
// per run; the temporary output is removed by pdfw_delete, the input and output files at the end
// of each run, so that replaying in CTest leaves nothing in the temporary folder).
#include <cstddef>
#include <cstdint>
#include <string>
#include <unistd.h>

#include "fuzz/FuzzInput.h"
#include "pdfw/pdfw.h"

#ifndef FUZZ_IMAGE_TYPE
#define FUZZ_IMAGE_TYPE "jpeg"
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const std::string output = fuzz::WriteTempFile(nullptr, 0, ".pdf");
    const std::string input = fuzz::WriteTempFile(data, size, ".img");
    pdfw_boot();
    pdfw_context *context = pdfw_new(nullptr, nullptr, nullptr, nullptr, nullptr);
    pdfw_set_parameter(context, "compatibility", "1.4");
    if (pdfw_open_file(context, output.c_str()) != -1) {
        pdfw_begin_page(context, 595, 842);
        const int image = pdfw_load_image(context, FUZZ_IMAGE_TYPE, input.c_str(), "", 1);
        if (image > 0) {
            pdfw_place_image(context, image, 0, 0, 0.42f);
            pdfw_close_image(context, image);
        }
        pdfw_end_page(context);
    }
    pdfw_delete(context);
    pdfw_shutdown();
    ::unlink(input.c_str());
    ::unlink(output.c_str());
    return 0;
}
