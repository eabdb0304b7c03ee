#include "pdfw/formats/PageCount.h"

#include "pdfw/formats/ImageFormats.h"

namespace folvane::pdfw {

int countPages(const std::string &path) {
    InputFile file(path);
    const ImageFormat *format = formatOf(file);
    // A file of no known format is one page, whose load tells why it cannot be used.
    return format ? pagesOf(*format, file) : 1;
}

} // namespace folvane::pdfw
