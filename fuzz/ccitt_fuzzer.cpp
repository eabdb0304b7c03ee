// Feeds fax data to the engine's fax check. The first four bytes choose the layout (K from the
// first, the width from the next two, the rows from the fourth); the rest is the data. The check
// must answer without reading outside the data or growing without bound, and a pass must not
// depend on what follows the rows: the same data with more bytes after it passes too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "pdfw/tiff/CcittCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 4) {
        return 0;
    }
    const folvane::pdfw::FaxLayout layout{
        data[0] % 3 - 1, 1 + (std::uint32_t{data[1]} << 8 | data[2]), 1 + std::uint32_t{data[3]}};
    const uint8_t *fax = data + 4;
    const size_t faxSize = size - 4;
    if (folvane::pdfw::ccittProblem(fax, faxSize, layout).empty()) {
        std::vector<uint8_t> longer(fax, fax + faxSize);
        longer.resize(faxSize + 16, 0xFF);
        if (!folvane::pdfw::ccittProblem(longer.data(), longer.size(), layout).empty()) {
            std::abort();
        }
    }
    return 0;
}
