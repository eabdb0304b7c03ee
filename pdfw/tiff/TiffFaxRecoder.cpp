#include "pdfw/tiff/TiffFaxRecoder.h"

#include <cstring>
#include <vector>

#include "pdfw/core/PdfwError.h"
#include "pdfw/raster/Group4Encoder.h"
#include "pdfw/raster/RasterImage.h"

namespace folvane::pdfw {

Buffer recodeFaxPage(TiffFile &tiff, const MemoryProcs &memory) {
    const TiffPage &p = tiff.page();
    std::string what = "\"" + tiff.path() + "\" (" + std::to_string(p.width) + " x " +
                       std::to_string(p.height) + " pixels)";
    std::size_t rowBytes = rasterRowBytes(p.width, 1, 1, what);
    std::size_t size = checkedSize({rowBytes, p.height}, what);
    Buffer rows(memory, size, "fax page");
    tiff.clearMessages();
    tmsize_t got = TIFFReadEncodedStrip(tiff.handle(), 0, rows.data(), static_cast<tmsize_t>(size));
    if (got < 0 || static_cast<std::size_t>(got) != size || tiff.firstWarning()[0] != '\0') {
        // The first message tells where it went wrong; the later ones follow from it.
        std::string reason = tiff.firstWarning()[0] ? tiff.firstWarning() : tiff.firstError();
        fail(PDFW_SYNTAX_ERROR,
             damagedFile(tiff.path(), "TIFF",
                         "libtiff cannot read its fax data whole" +
                             (reason.empty() ? std::string() : " (" + reason + ")")));
    }
    std::vector<unsigned char> coded =
        encodeGroup4(p.width, p.height, p.photometric, rows.data(), size, tiff.path());
    Buffer result(memory, coded.size(), "re-encoded fax page");
    std::memcpy(result.data(), coded.data(), coded.size());
    return result;
}

} // namespace folvane::pdfw
