#include "pdfw/jpeg/JpegCrop.h"

#include <cstring>
#include <utility>

#include <turbojpeg.h>

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

namespace {

// Coefficient arrays, which the transform holds whole, take 128 bytes per 8 x 8 block.
constexpr std::uint64_t kBlockBytes = 128;

struct TransformHandle {
    tjhandle handle = tjInitTransform();
    unsigned char *output = nullptr;
    ~TransformHandle() {
        tjFree(output);
        if (handle) {
            tjDestroy(handle);
        }
    }
};

void checkCeiling(const JpegInfo &info, const std::string &path) {
    if (info.blocks <= kMaxBufferBytes / kBlockBytes) {
        return;
    }
    Problem big = problemWith(PDFW_PROBLEM_TOO_LARGE, path);
    big.format = "JPEG";
    big.item = "the coefficients of the picture to crop";
    big.numbers[0] = static_cast<long long>(kMaxBufferBytes);
    fail(PDFW_OVERFLOW_ERROR, std::move(big));
}

} // namespace

CroppedJpeg cropJpeg(const unsigned char *data, std::size_t size, const JpegInfo &info,
                     const folvane::StoredArea &area, const std::string &path,
                     const MemoryProcs &memory) {
    checkCeiling(info, path);
    // The transform cuts on the block grid only: start at the grid line before the area.
    const long long x = area.x - area.x % info.blockWidth;
    const long long y = area.y - area.y % info.blockHeight;
    tjtransform cut{};
    cut.r.x = static_cast<int>(x);
    cut.r.y = static_cast<int>(y);
    cut.r.w = static_cast<int>(area.x + area.width - x);
    cut.r.h = static_cast<int>(area.y + area.height - y);
    cut.op = TJXOP_NONE;
    cut.options = TJXOPT_CROP | TJXOPT_COPYNONE;
    TransformHandle t;
    if (!t.handle) {
        fail(PDFW_MEMORY_ERROR, problemWith(PDFW_PROBLEM_MEMORY, path));
    }
    unsigned long outputSize = 0;
    if (tjTransform(t.handle, data, static_cast<unsigned long>(size), 1, &t.output, &outputSize,
                    &cut, TJFLAG_LIMITSCANS) != 0) {
        std::string why = tjGetErrorStr2(t.handle);
        if (why.find("subsampling") != std::string::npos) {
            Problem odd = problemWith(PDFW_PROBLEM_UNSUPPORTED, path,
                                      "JPEG whose sampling cannot be cut without loss");
            odd.format = "JPEG";
            fail(PDFW_TYPE_ERROR, std::move(odd));
        }
        fail(PDFW_SYNTAX_ERROR,
             damagedFile(path, "JPEG", "cutting it failed (TurboJPEG: " + why + ")"));
    }
    CroppedJpeg cropped{Buffer(memory, outputSize, "cropped JPEG"), {}};
    std::memcpy(cropped.jpeg.data(), t.output, outputSize);
    cropped.shown = {area.x - x, area.y - y, area.width, area.height};
    return cropped;
}

} // namespace folvane::pdfw
