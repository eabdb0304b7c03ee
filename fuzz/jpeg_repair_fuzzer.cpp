// Feeds the input to the engine's JPEG repair (libjpeg's coefficient path): every input either
// fails with the engine's error or gives a JPEG that passes the engine's own structure check
// at the size libjpeg read; anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/JpegRewriter.h"
#include "pdfw/jpeg/JpegStructure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    folvane::pdfw::RewrittenJpeg fixed;
    try {
        fixed = folvane::pdfw::rewriteJpeg(data, size, "fuzz.jpg",
                                           folvane::pdfw::JpegRewrite::Repair, {});
    } catch (const folvane::pdfw::PdfwError &) {
        return 0;
    }
    try {
        folvane::pdfw::JpegInfo info = folvane::pdfw::inspectJpeg(
            folvane::pdfw::MemorySource(fixed.jpeg.data(), fixed.jpeg.size(), "repaired.jpg"));
        if (info.length != fixed.jpeg.size() || info.coding != folvane::pdfw::JpegCoding::Huffman ||
            fixed.orientation < 1 || fixed.orientation > 8) {
            std::abort();
        }
    } catch (const folvane::pdfw::PdfwError &) {
        std::abort(); // a repair that the engine itself would refuse
    }
    return 0;
}
