#include "image/codecs/BmpRle.h"

#include <cstddef>
#include <cstdint>

namespace folvane::image::bmp_rle {
namespace {

// Buffered byte-at-a-time reading: runs are two bytes long, too short for a stream call each.
class ByteSource {
public:
    explicit ByteSource(CfStream &stream) : stream_(stream) {}

    bool next(uint8_t &byte) {
        if (pos_ == len_) {
            len_ = stream_.Read(buffer_, 1, sizeof buffer_);
            pos_ = 0;
            if (len_ == 0) {
                return false;
            }
        }
        byte = buffer_[pos_++];
        return true;
    }

private:
    CfStream &stream_;
    uint8_t buffer_[8192];
    size_t pos_ = 0;
    size_t len_ = 0;
};

// The pen that the codes move: x counts pixels from the left, y rows from the bottom.
class Pen {
public:
    explicit Pen(CfImage &image)
        : image_(image), width_(image.GetWidth()), height_(image.GetHeight()) {}

    void put(uint8_t index) {
        if (x_ < width_ && y_ < height_) {
            image_.PutPixelIndexUnguarded(static_cast<int32_t>(x_), static_cast<int32_t>(y_),
                                          index);
        }
        ++x_;
    }
    void nextLine() {
        ++y_;
        x_ = 0;
    }
    void move(uint8_t dx, uint8_t dy) {
        x_ += dx;
        y_ += dy;
    }
    bool pastTop() const { return y_ >= height_; }

private:
    CfImage &image_;
    const int64_t width_;
    const int64_t height_;
    int64_t x_ = 0; // grows by at most 255 per byte read, far from overflowing
    int64_t y_ = 0;
};

constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;

// Pixel i of a run or an absolute block: RLE8 has one index per byte, RLE4 two, high first.
uint8_t indexOf(uint8_t byte, uint32_t i, Kind kind) {
    if (kind == Kind::Rle8) {
        return byte;
    }
    return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

} // namespace

void decode(CfStream &stream, CfImage &image, Kind kind) {
    ByteSource source(stream);
    Pen pen(image);
    uint8_t count = 0;
    uint8_t code = 0;
    while (!pen.pastTop() && source.next(count)) {
        if (count != 0) {
            uint8_t value = 0;
            if (!source.next(value)) {
                return;
            }
            for (uint32_t i = 0; i < count; ++i) {
                pen.put(indexOf(value, i, kind));
            }
            continue;
        }
        if (!source.next(code)) {
            return;
        }
        if (code == kEndOfLine) {
            pen.nextLine();
        } else if (code == kEndOfBitmap) {
            return;
        } else if (code == kDelta) {
            uint8_t dx = 0;
            uint8_t dy = 0;
            if (!source.next(dx) || !source.next(dy)) {
                return;
            }
            pen.move(dx, dy);
        } else {
            // An absolute block of `code` pixels, padded to a whole number of 16-bit words.
            const uint32_t bytes = kind == Kind::Rle8 ? code : (code + 1u) / 2;
            uint8_t value = 0;
            for (uint32_t i = 0; i < code; ++i) {
                if ((kind == Kind::Rle8 || i % 2 == 0) && !source.next(value)) {
                    return;
                }
                pen.put(indexOf(value, i, kind));
            }
            if (bytes % 2 != 0 && !source.next(value)) {
                return;
            }
        }
    }
}

} // namespace folvane::image::bmp_rle
