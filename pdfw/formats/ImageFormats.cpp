#include "pdfw/formats/ImageFormats.h"

#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/JpegFormat.h"
#include "pdfw/png/PngFormat.h"
#include "pdfw/tiff/TiffFormat.h"

namespace folvane::pdfw {

namespace {

// Every format the engine reads, in the order their signatures are tried.
const ImageFormat *const kFormats[] = {&kJpegFormat, &kTiffFormat, &kPngFormat};

// Every format as a set of PDFW_FORMAT_* bits.
long long formatSet() {
    long long set = 0;
    for (const ImageFormat *format : kFormats) {
        set |= format->bit;
    }
    return set;
}

} // namespace

const ImageFormat *formatOf(const InputFile &file) {
    unsigned char head[kSignatureBytes] = {};
    std::size_t got = file.readAt(0, head, sizeof head);
    for (const ImageFormat *format : kFormats) {
        if (format->recognises(head, got)) {
            return format;
        }
    }
    return nullptr;
}

const ImageFormat &requireFormat(const InputFile &file) {
    if (const ImageFormat *format = formatOf(file)) {
        return *format;
    }
    Problem unknown = problemWith(PDFW_PROBLEM_NOT_AN_IMAGE, file.path());
    unknown.numbers[0] = file.size() == 0 ? 1 : 0;
    unknown.numbers[1] = formatSet();
    fail(PDFW_TYPE_ERROR, std::move(unknown));
}

int pagesOf(const ImageFormat &format, const InputFile &file) {
    return format.countPages ? format.countPages(file) : 1;
}

void checkPage(const ImageFormat &format, const InputFile &file, int page) {
    if (!format.countPages && page != 1) {
        Problem missing = problemWith(PDFW_PROBLEM_NO_SUCH_PAGE, file.path());
        missing.format = format.name;
        missing.numbers[0] = page;
        missing.numbers[1] = 1;
        fail(PDFW_VALUE_ERROR, std::move(missing));
    }
}

} // namespace folvane::pdfw
