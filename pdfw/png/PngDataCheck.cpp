#include "pdfw/png/PngDataCheck.h"

#include <algorithm>

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

namespace {

std::uint32_t be32(const unsigned char *p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

// Reads chunk `span`'s data a piece at a time into `piece`, handing each to `take`; false when
// the chunk's CRC is wrong.
template <typename Take>
bool readChunk(const ByteSource &file, const PngInfo::Span &span, unsigned char *piece,
               std::size_t pieceBytes, Take take) {
    unsigned char type[4], stored[4];
    file.readExactly(span.offset, type, 4, "an image data chunk");
    uLong crc = crc32(0, type, 4);
    for (std::uint32_t done = 0; done < span.length;) {
        std::size_t size = std::min<std::size_t>(pieceBytes, span.length - done);
        file.readExactly(span.offset + 4 + done, piece, size, "an image data chunk");
        crc = crc32(crc, piece, static_cast<uInt>(size));
        take(piece, size);
        done += static_cast<std::uint32_t>(size);
    }
    file.readExactly(span.offset + 4 + span.length, stored, 4, "an image data chunk");
    return static_cast<std::uint32_t>(crc) == be32(stored);
}

} // namespace

PngDataCheck::PngDataCheck(const PngInfo &info, std::size_t rowBytes)
    : window_(std::size_t{1} << 16), stride_(std::uint64_t{rowBytes} + 1),
      expected_(stride_ * info.height) {
    if (inflateInit(&z_) != Z_OK) {
        Problem memory = problemWith(PDFW_PROBLEM_MEMORY, "");
        memory.item = "the Flate check";
        fail(PDFW_MEMORY_ERROR, std::move(memory));
    }
}

PngDataCheck::~PngDataCheck() {
    inflateEnd(&z_);
}

void PngDataCheck::feed(const unsigned char *data, std::size_t size) {
    z_.next_in = const_cast<unsigned char *>(data);
    z_.avail_in = static_cast<uInt>(size);
    while (status_ == Z_OK && filtersKnown_ && produced_ <= expected_) {
        z_.next_out = window_.data();
        z_.avail_out = static_cast<uInt>(window_.size());
        status_ = inflate(&z_, Z_NO_FLUSH);
        std::uint64_t got = window_.size() - z_.avail_out;
        for (std::uint64_t at = (produced_ + stride_ - 1) / stride_ * stride_; at < produced_ + got;
             at += stride_) {
            filtersKnown_ = filtersKnown_ && window_[at - produced_] <= 4;
        }
        produced_ += got;
        if (status_ == Z_BUF_ERROR) {
            status_ = Z_OK; // no progress without more input: the next piece brings it
        }
        if (z_.avail_in == 0 && z_.avail_out > 0) {
            return;
        }
    }
}

bool PngDataCheck::whole() const {
    return status_ == Z_STREAM_END && filtersKnown_ && produced_ == expected_;
}

bool gatherPngData(const ByteSource &file, const PngInfo &info, std::size_t rowBytes,
                   Buffer &data) {
    PngDataCheck check(info, rowBytes);
    unsigned char *out = data.data();
    for (const PngInfo::Span &span : info.data) {
        bool sound = readChunk(
            file, span, out, span.length,
            [&check](const unsigned char *piece, std::size_t size) { check.feed(piece, size); });
        if (!sound) {
            return false;
        }
        out += span.length;
    }
    return check.whole();
}

bool spillPngData(const ByteSource &file, const PngInfo &info, std::size_t rowBytes, SpillFile *out,
                  const MemoryProcs &memory) {
    PngDataCheck check(info, rowBytes);
    Buffer piece(memory, kPieceBytes, "PNG data");
    for (const PngInfo::Span &span : info.data) {
        bool sound = readChunk(file, span, piece.data(), piece.size(),
                               [&](const unsigned char *bytes, std::size_t size) {
                                   check.feed(bytes, size);
                                   if (out) {
                                       out->write(bytes, size);
                                   }
                               });
        if (!sound) {
            return false;
        }
    }
    return check.whole();
}

} // namespace folvane::pdfw
