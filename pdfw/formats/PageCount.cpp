#include "pdfw/formats/PageCount.h"

#include <cstring>
#include <limits>
#include <string>

#include "pdfw/core/InputFile.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/tiff/TiffFile.h"

namespace pdfw {

namespace {

// The classic and the big TIFF signatures, in either byte order.
bool isTiff(const unsigned char *head, std::size_t got) {
    if (got < 4) {
        return false;
    }
    bool little =
        std::memcmp(head, "II", 2) == 0 && (head[2] == 42 || head[2] == 43) && head[3] == 0;
    bool big = std::memcmp(head, "MM", 2) == 0 && head[2] == 0 && (head[3] == 42 || head[3] == 43);
    return little || big;
}

} // namespace

int countPages(const char *filename) {
    if (!filename || !*filename) {
        fail(PDFW_VALUE_ERROR, "pdfw_count_pages: no file name");
    }
    InputFile file(filename);
    unsigned char head[4] = {};
    if (!isTiff(head, file.readAt(0, head, sizeof head))) {
        return 1;
    }
    TiffFile tiff(file, 1);
    // libtiff stops at a directory chain that loops back on itself.
    tdir_t directories = TIFFNumberOfDirectories(tiff.handle());
    if (directories > static_cast<tdir_t>(std::numeric_limits<int>::max())) {
        fail(PDFW_OVERFLOW_ERROR, "\"" + file.path() + "\" claims more pages than can be counted");
    }
    return directories < 1 ? 1 : static_cast<int>(directories);
}

} // namespace pdfw
