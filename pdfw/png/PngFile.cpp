#include "pdfw/png/PngFile.h"

#include <algorithm>
#include <cstring>

#include <zlib.h>

#include "pdfw/core/Memory.h"
#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

namespace {

// A colour profile is a few kilobytes; a camera's may reach a megabyte.
constexpr std::size_t kMaxIccBytes = std::size_t{16} << 20;

std::uint32_t be32(const unsigned char *p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

bool validDepth(int colourType, int depth) {
    switch (colourType) {
    case kPngGrey:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kPngPalette:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case kPngRgb:
    case kPngGreyAlpha:
    case kPngRgba:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

class ChunkWalker {
public:
    explicit ChunkWalker(const ByteSource &file) : file_(file) {}
    PngInfo walk();

private:
    [[noreturn]] void malformed(const std::string &reason) const {
        fail(PDFW_SYNTAX_ERROR, damagedFile(file_.path(), "PNG", reason));
    }
    // The chunk's data, or false when its CRC is wrong.
    bool body(std::uint64_t at, std::uint32_t length, std::vector<unsigned char> &out) const;
    void header(const std::vector<unsigned char> &data);
    void palette(std::uint64_t at, std::uint32_t length);
    // A tRNS chunk before the image data that fits the colour type; any other is ignored.
    void transparency(std::uint64_t at, std::uint32_t length);
    // A pHYs chunk's pixels per metre (unit 1); unit 0 states only the pixels' aspect.
    void resolution(const std::vector<unsigned char> &data);

    bool sawPalette_ = false;

    const ByteSource &file_;
    PngInfo info_;
};

bool ChunkWalker::body(std::uint64_t at, std::uint32_t length,
                       std::vector<unsigned char> &out) const {
    std::vector<unsigned char> chunk(std::size_t{length} + 8);
    file_.readExactly(at + 4, chunk.data(), chunk.size(), "a chunk");
    std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, chunk.data(), length + 4));
    if (crc != be32(chunk.data() + 4 + length)) {
        return false;
    }
    out.assign(chunk.begin() + 4, chunk.begin() + 4 + length);
    return true;
}

void ChunkWalker::header(const std::vector<unsigned char> &d) {
    if (d.size() != 13) {
        malformed("a header of the wrong length");
    }
    info_.width = be32(d.data());
    info_.height = be32(d.data() + 4);
    info_.bitDepth = d[8];
    info_.colourType = d[9];
    if (info_.width == 0 || info_.height == 0 || info_.width > 0x7FFFFFFF ||
        info_.height > 0x7FFFFFFF) {
        malformed("image size " + std::to_string(info_.width) + " x " +
                  std::to_string(info_.height));
    }
    if (!validDepth(info_.colourType, info_.bitDepth)) {
        malformed("colour type " + std::to_string(info_.colourType) + " with " +
                  std::to_string(info_.bitDepth) + "-bit samples");
    }
    if (d[10] != 0 || d[11] != 0 || d[12] > 1) {
        malformed("an unknown compression, filter or interlace method");
    }
    info_.interlaced = d[12] == 1;
}

void ChunkWalker::palette(std::uint64_t at, std::uint32_t length) {
    std::vector<unsigned char> data;
    if (sawPalette_ || !info_.data.empty() || length == 0 || length % 3 != 0 || length > 3 * 256 ||
        !body(at, length, data)) {
        malformed("a damaged palette");
    }
    sawPalette_ = true;
    if (info_.colourType == kPngPalette) {
        std::size_t most = std::size_t{3} << info_.bitDepth;
        data.resize(std::min(data.size(), most));
        info_.palette = std::move(data);
    }
}

void ChunkWalker::transparency(std::uint64_t at, std::uint32_t length) {
    std::vector<unsigned char> data;
    if (!info_.data.empty() || length > 256 || !body(at, length, data)) {
        return;
    }
    bool fits = info_.colourType == kPngGrey  ? length == 2
                : info_.colourType == kPngRgb ? length == 6
                : info_.colourType == kPngPalette
                    ? sawPalette_ && length > 0 && length <= info_.palette.size() / 3
                    : false;
    if (fits) {
        info_.transparency = std::move(data);
    }
}

void ChunkWalker::resolution(const std::vector<unsigned char> &data) {
    const double x = be32(data.data());
    const double y = be32(data.data() + 4);
    if (data[8] == 1 && x > 0 && y > 0) {
        constexpr double kMetresPerInch = 0.0254;
        info_.dpiX = x * kMetresPerInch;
        info_.dpiY = y * kMetresPerInch;
    }
}

PngInfo ChunkWalker::walk() {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char head[8];
    if (file_.readAt(0, head, 8) != 8 || std::memcmp(head, kSignature, 8) != 0) {
        malformed("the PNG signature is missing");
    }
    std::uint64_t pos = 8;
    bool sawHeader = false, dataEnded = false;
    while (pos < file_.size()) {
        unsigned char chunk[8];
        file_.readExactly(pos, chunk, 8, "a chunk header");
        std::uint32_t length = be32(chunk);
        std::string type(reinterpret_cast<const char *>(chunk + 4), 4);
        bool critical = (chunk[4] & 0x20) == 0;
        if (length > 0x7FFFFFFF || file_.size() - pos < std::uint64_t{length} + 12) {
            if (!critical && info_.dataBytes > 0) {
                break; // a cut-off note after the picture costs nothing
            }
            malformed("truncated inside the " + type + " chunk");
        }
        if (!sawHeader && type != "IHDR") {
            malformed("it does not start with a header chunk");
        }
        std::vector<unsigned char> data;
        if (type == "IHDR") {
            if (sawHeader || length != 13 || !body(pos, length, data)) {
                malformed("a damaged header chunk");
            }
            header(data);
            sawHeader = true;
        } else if (type == "IDAT") {
            if (dataEnded) {
                malformed("image data chunks that are not consecutive");
            }
            info_.data.push_back({pos + 4, length});
            info_.dataBytes += length;
        } else if (type == "IEND") {
            break;
        } else if (type == "PLTE") {
            palette(pos, length);
        } else if (type == "tRNS") {
            transparency(pos, length);
        } else if (type == "iCCP" && info_.data.empty() && !sawPalette_ && info_.iccChunk.empty() &&
                   length <= kMaxIccBytes && body(pos, length, data)) {
            info_.iccChunk = std::move(data);
        } else if (type == "pHYs" && length == 9 && info_.dpiX == 0 && body(pos, length, data)) {
            resolution(data);
        } else if (critical) {
            malformed("an unknown critical chunk " + type);
        }
        if (type != "IDAT" && !info_.data.empty()) {
            dataEnded = true;
        }
        pos += std::uint64_t{length} + 12;
    }
    if (!sawHeader) {
        malformed("it does not start with a header chunk");
    }
    if (info_.colourType == kPngPalette && info_.palette.empty()) {
        malformed("a palette image without a palette");
    }
    if (info_.data.empty()) {
        malformed("no image data");
    }
    return info_;
}

} // namespace

int pngChannels(int colourType) {
    switch (colourType) {
    case kPngRgb:
        return 3;
    case kPngGreyAlpha:
        return 2;
    case kPngRgba:
        return 4;
    default:
        return 1;
    }
}

std::size_t pngRowBytes(const PngInfo &info) {
    std::size_t bits = checkedSize({info.width, static_cast<std::uint64_t>(info.bitDepth),
                                    static_cast<std::uint64_t>(pngChannels(info.colourType))},
                                   "a row of the PNG picture");
    return bits / 8 + (bits % 8 != 0);
}

PngInfo readPng(const ByteSource &file) {
    return ChunkWalker(file).walk();
}

std::vector<unsigned char> pngIccProfile(const PngInfo &info, std::string &reason) {
    const std::vector<unsigned char> &chunk = info.iccChunk;
    const void *end = std::memchr(chunk.data(), 0, std::min<std::size_t>(chunk.size(), 80));
    if (!end) {
        reason = "its iCCP chunk has no profile name";
        return {};
    }
    std::size_t at = static_cast<const unsigned char *>(end) - chunk.data() + 1;
    if (at >= chunk.size() || chunk[at] != 0) {
        reason = "its iCCP chunk names an unknown compression";
        return {};
    }
    ++at;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        reason = "out of memory inflating its colour profile";
        return {};
    }
    std::vector<unsigned char> profile;
    unsigned char window[16384];
    z.next_in = const_cast<unsigned char *>(chunk.data() + at);
    z.avail_in = static_cast<uInt>(chunk.size() - at);
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = window;
        z.avail_out = sizeof window;
        status = inflate(&z, Z_NO_FLUSH);
        profile.insert(profile.end(), window, window + (sizeof window - z.avail_out));
        if (profile.size() > kMaxIccBytes) {
            status = Z_MEM_ERROR;
        }
    }
    inflateEnd(&z);
    if (status != Z_STREAM_END) {
        reason = profile.size() > kMaxIccBytes ? "its colour profile is larger than 16 MiB"
                                               : "its colour profile's compressed data is damaged";
        return {};
    }
    return profile;
}

} // namespace folvane::pdfw
