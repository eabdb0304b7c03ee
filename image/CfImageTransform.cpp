// CfImage orientation transforms (flip, mirror, quarter turns) and the conversion of pixels
// packed with colour masks to 24 bits.

#include "image/CfImage.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "base/ByteOrder.h"
#include "base/Orientation.h"

namespace {

constexpr int32_t kTile = 64; // rotations copy in square tiles of destination pixels

// One colour channel of a pixel packed with a mask: the bits the mask selects, brought to 8
// bits by keeping the top 8 of a wider field or moving a narrower one to the top of the byte
// (a 5-bit 31 gives 248, a byte-aligned 8-bit mask gives its byte). Masks with holes take
// the span from their lowest to their highest bit; an empty mask gives 0.
class MaskChannel {
public:
    explicit MaskChannel(uint32_t mask)
        : mask_(mask), low_(mask ? std::countr_zero(mask) : 0),
          width_(mask ? 32 - std::countl_zero(mask) - low_ : 0) {}

    uint8_t operator()(uint32_t pixel) const {
        const uint32_t field = (pixel & mask_) >> low_;
        return static_cast<uint8_t>(width_ >= 8 ? field >> (width_ - 8) : field << (8 - width_));
    }

private:
    uint32_t mask_;
    int low_;
    int width_;
};

// Pixel memory of a quarter turn: source rows of width pixels, destination rows of height.
struct TurnPlanes {
    const uint8_t *source;
    size_t sourceStride;
    uint8_t *target;
    size_t targetStride;
    int32_t width; // of the source
    int32_t height;
};

template <size_t Bytes> void CopyPixel(uint8_t *to, const uint8_t *from) {
    for (size_t i = 0; i < Bytes; ++i) {
        to[i] = from[i];
    }
}

// Right turn, destination row dy from column fromX to toX: source column W - 1 - dy, read one
// source row per pixel.
template <size_t Bytes>
void TurnRightLine(const TurnPlanes &p, int32_t dy, int32_t fromX, int32_t toX) {
    const size_t sx = size_t(p.width - 1 - dy);
    uint8_t *to = p.target + size_t(dy) * p.targetStride + size_t(fromX) * Bytes;
    const uint8_t *from = p.source + size_t(fromX) * p.sourceStride + sx * Bytes;
    for (int32_t dx = fromX; dx < toX; ++dx, to += Bytes, from += p.sourceStride) {
        CopyPixel<Bytes>(to, from);
    }
}

// Left turn, destination row dy from column fromX to toX: source column dy, read upwards from
// source row H - 1 - fromX.
template <size_t Bytes>
void TurnLeftLine(const TurnPlanes &p, int32_t dy, int32_t fromX, int32_t toX) {
    uint8_t *to = p.target + size_t(dy) * p.targetStride + size_t(fromX) * Bytes;
    const uint8_t *from =
        p.source + size_t(p.height - 1 - fromX) * p.sourceStride + size_t(dy) * Bytes;
    for (int32_t dx = fromX; dx < toX; ++dx, to += Bytes, from -= p.sourceStride) {
        CopyPixel<Bytes>(to, from);
    }
}

// A quarter turn of a width x height picture. Destination (dx, dy) takes source
//   left turn:  (dy, H - 1 - dx);    right turn: (W - 1 - dy, dx).
struct QuarterTurn {
    uint32_t width; // of the source
    uint32_t height;
    bool clockwise;

    void SourceOf(int32_t dx, int32_t dy, int32_t &sx, int32_t &sy) const {
        if (clockwise) {
            sx = int32_t(width) - 1 - dy;
            sy = dx;
        } else {
            sx = dy;
            sy = int32_t(height) - 1 - dx;
        }
    }
};

// Makes the destination of a turn: the source's info record (resolution, type, options and
// EXIF record unchanged), the turned size, the palette and, when the source has one, an alpha
// channel. False, with the reason in the source's error text, when memory runs out.
bool PrepareTurn(CfImage &source, CfImage &turned) {
    turned.CopyInfo(source);
    if (!turned.Create(source.GetHeight(), source.GetWidth(), source.GetBitsPerPixel(),
                       source.info.type)) {
        source.SetLastError(turned.info.lastError);
        return false;
    }
    // Keep the stored resolution of the new header in step with the copied record.
    turned.SetDpiX(source.info.dpiX);
    turned.SetDpiY(source.info.dpiY);
    turned.CopyPalette(source.PalettePointer(), 256);
    if (source.alpha && !turned.CreateAlphaChannel()) {
        source.SetLastError("CfImage::Rotate can't allocate memory");
        return false;
    }
    return true;
}

// 1-bit pixels: the destination starts at 0 and takes every set source bit, read a byte at a
// time; the padding bits past a row's last pixel are skipped.
void TurnOneBitPixels(const CfImage &source, CfImage &turned, const QuarterTurn &turn) {
    turned.Fill(0);
    const auto width = int32_t(turn.width);
    const auto height = int32_t(turn.height);
    const size_t rowBytes = (size_t(width) + 7) / 8;
    for (int32_t sy = 0; sy < height; ++sy) {
        const uint8_t *row = source.RowPointer(uint32_t(sy));
        for (size_t b = 0; b < rowBytes; ++b) {
            for (int bit = 0; row[b] != 0 && bit < 8; ++bit) {
                const int32_t sx = int32_t(b * 8) + bit;
                if (sx < width && ((row[b] >> (7 - bit)) & 1)) {
                    const int32_t dx = turn.clockwise ? sy : height - 1 - sy;
                    const int32_t dy = turn.clockwise ? width - 1 - sx : sx;
                    turned.PutPixelIndexUnguarded(dx, dy, 1);
                }
            }
        }
    }
}

// One destination row of a tile, from column `from` to `to`. Rows are written in order for
// both turns (the source is read down a column, within the tile's cache lines), which is
// faster than writing destination columns.
void TurnTileRow(const CfImage &source, CfImage &turned, const QuarterTurn &turn, int32_t dy,
                 int32_t from, int32_t to) {
    const TurnPlanes planes{source.info.pixels,    source.info.rowStride, turned.info.pixels,
                            turned.info.rowStride, int32_t(turn.width),   int32_t(turn.height)};
    switch (source.GetBitsPerPixel()) {
    case 24:
        turn.clockwise ? TurnRightLine<3>(planes, dy, from, to)
                       : TurnLeftLine<3>(planes, dy, from, to);
        return;
    case 8:
        turn.clockwise ? TurnRightLine<1>(planes, dy, from, to)
                       : TurnLeftLine<1>(planes, dy, from, to);
        return;
    default:
        for (int32_t dx = from; dx < to; ++dx) {
            int32_t sx = 0;
            int32_t sy = 0;
            turn.SourceOf(dx, dy, sx, sy);
            turned.PutPixelIndexUnguarded(dx, dy, source.PixelIndexAtUnguarded(sx, sy));
        }
    }
}

// 4-, 8- and 24-bit pixels in square tiles of destination pixels, so that both the row-wise
// and the column-wise side of the copy stay within a few cache lines. The source's progress
// counts destination columns for the left turn, rows for the right one.
void TurnPixelsInTiles(CfImage &source, CfImage &turned, const QuarterTurn &turn) {
    const auto newWidth = int32_t(turn.height);
    const auto newHeight = int32_t(turn.width);
    for (int32_t tileY = 0; tileY < newHeight; tileY += kTile) {
        const int32_t endY = std::min(tileY + kTile, newHeight);
        for (int32_t tileX = 0; tileX < newWidth; tileX += kTile) {
            const int32_t endX = std::min(tileX + kTile, newWidth);
            source.info.progress = turn.clockwise ? int32_t(int64_t(100) * tileY / newHeight)
                                                  : int32_t(int64_t(100) * tileX / newWidth);
            for (int32_t dy = tileY; dy < endY; ++dy) {
                TurnTileRow(source, turned, turn, dy, tileX, endX);
            }
        }
    }
}

// A byte plane of width x height values (alpha, selection) turned the same way.
void TurnPlane(const uint8_t *from, uint8_t *to, const QuarterTurn &turn) {
    const auto newWidth = int32_t(turn.height);
    const auto newHeight = int32_t(turn.width);
    for (int32_t dy = 0; dy < newHeight; ++dy) {
        for (int32_t dx = 0; dx < newWidth; ++dx) {
            int32_t sx = 0;
            int32_t sy = 0;
            turn.SourceOf(dx, dy, sx, sy);
            to[size_t(dx) + size_t(dy) * size_t(newWidth)] =
                from[size_t(sx) + size_t(sy) * size_t(turn.width)];
        }
    }
}

// Reverses the rows of a width x height byte plane in place.
void FlipPlane(uint8_t *plane, size_t width, size_t height) {
    for (size_t top = 0, bottom = height ? height - 1 : 0; top < bottom; ++top, --bottom) {
        std::swap_ranges(plane + top * width, plane + (top + 1) * width, plane + bottom * width);
    }
}

// Mirrors a row of 1-bit or 4-bit pixels (first pixel in the high bits) a byte at a time:
// the bytes in reverse order, each with its pixels reversed, then shifted towards the row's
// start by the unused bits of its last byte.
void MirrorPackedRow(const uint8_t *from, uint8_t *to, size_t width, unsigned bits) {
    static const auto kReversed = [] {
        struct Tables {
            uint8_t bits[256], nibbles[256];
        } t{};
        for (unsigned v = 0; v < 256; ++v) {
            unsigned r = 0;
            for (unsigned b = 0; b < 8; ++b) {
                r |= ((v >> b) & 1u) << (7 - b);
            }
            t.bits[v] = uint8_t(r);
            t.nibbles[v] = uint8_t(v << 4 | v >> 4);
        }
        return t;
    }();
    const uint8_t *reversed = bits == 1 ? kReversed.bits : kReversed.nibbles;
    const size_t bytes = (width * bits + 7) / 8;
    const unsigned unused = unsigned(bytes * 8 - width * bits);
    for (size_t i = 0; i < bytes; ++i) {
        to[i] = reversed[from[bytes - 1 - i]];
    }
    if (unused) {
        for (size_t i = 0; i < bytes; ++i) {
            const unsigned next = i + 1 < bytes ? to[i + 1] : 0u;
            to[i] = uint8_t(to[i] << unused | next >> (8 - unused));
        }
    }
}

} // namespace

bool CfImage::FlipVertical(bool flipSelection, bool flipAlpha) {
    if (!block) {
        return false;
    }
    const uint32_t stride = info.rowStride;
    std::unique_ptr<uint8_t, decltype(&free)> scratch(static_cast<uint8_t *>(malloc(stride)),
                                                      &free);
    if (!scratch) {
        return false;
    }
    const uint32_t height = GetHeight();
    for (uint32_t i = 0; i < height / 2; ++i) {
        uint8_t *low = RowPointer(i);
        uint8_t *high = RowPointer(height - 1 - i);
        memcpy(scratch.get(), low, stride);
        memcpy(low, high, stride);
        memcpy(high, scratch.get(), stride);
    }
    if (flipSelection && selection) {
        FlipPlane(selection, GetWidth(), height);
    }
    if (flipAlpha) {
        FlipAlphaChannel();
    }
    return true;
}

bool CfImage::MirrorHorizontal(bool mirrorSelection, bool mirrorAlpha) {
    // A copy of a view would share this memory instead of being a new image.
    if (!block || IsView()) {
        return false;
    }
    std::unique_ptr<CfImage> copy(new (std::nothrow) CfImage(*this, false, true, true));
    if (!copy || !copy->IsValid()) {
        return false;
    }
    const int32_t width = static_cast<int32_t>(GetWidth());
    const uint32_t height = GetHeight();
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t *from = RowPointer(y);
        uint8_t *to = copy->RowPointer(y);
        switch (header.biBitCount) {
        case 24:
            for (int32_t x = 0; x < width; ++x) {
                memcpy(to + 3 * size_t(x), from + 3 * size_t(width - 1 - x), 3);
            }
            break;
        case 8:
            std::reverse_copy(from, from + width, to);
            break;
        case 4:
        case 1:
            MirrorPackedRow(from, to, size_t(width), header.biBitCount);
            break;
        default:
            for (int32_t x = 0; x < width; ++x) {
                copy->PutPixelIndexUnguarded(x, int32_t(y),
                                             PixelIndexAtUnguarded(width - 1 - x, int32_t(y)));
            }
            break;
        }
    }
    if (mirrorSelection && copy->selection) {
        for (uint32_t y = 0; y < height; ++y) {
            uint8_t *row = copy->selection + size_t(y) * size_t(width);
            std::reverse(row, row + width);
        }
    }
    if (mirrorAlpha && copy->alpha && !copy->MirrorAlphaChannel()) {
        return false;
    }
    // The copy has no frames: keep ours rather than losing them.
    return Transfer(*copy, false);
}

bool CfImage::ApplyOrientation(int32_t orientation) {
    if (orientation < 1 || orientation > 8) {
        return true;
    }
    const folvane::OrientationSteps steps = folvane::stepsOf(orientation);
    if (steps.mirror && !MirrorHorizontal(false, true)) {
        return false;
    }
    switch (steps.clockwiseTurns) {
    case 1:
        return RotateRight(nullptr);
    case 2: // half a turn: both axes reversed in place
        return FlipVertical(false, true) && MirrorHorizontal(false, true);
    case 3:
        return RotateLeft(nullptr);
    default:
        return true;
    }
}

bool CfImage::RotateLeft(CfImage *target) {
    return Rotate(target, false);
}

bool CfImage::RotateRight(CfImage *target) {
    return Rotate(target, true);
}

bool CfImage::Rotate(CfImage *target, bool clockwise) {
    if (!block) {
        return false;
    }
    CfImage turned(FormatUnknown);
    if (!PrepareTurn(*this, turned)) {
        return false;
    }
    const QuarterTurn turn{GetWidth(), GetHeight(), clockwise};
    if (GetBitsPerPixel() == 1) {
        TurnOneBitPixels(*this, turned, turn);
    } else {
        TurnPixelsInTiles(*this, turned, turn);
    }
    if (alpha) {
        TurnPlane(alpha, turned.alpha, turn);
    }
    if (selection) {
        turned.selection = static_cast<uint8_t *>(malloc(size_t(GetWidth()) * GetHeight()));
        if (turned.selection) {
            TurnPlane(selection, turned.selection, turn);
        }
    }
    // The turned image has no frames: the receiver keeps its own.
    CfImage *receiver = target ? target : this;
    return receiver->Transfer(turned, false);
}

void CfImage::BitfieldsToRgb(const uint8_t *source, uint32_t redMask, uint32_t greenMask,
                             uint32_t blueMask, uint8_t bits) {
    // The destination must be 24-bit: three bytes are written per pixel.
    if (!block || !source || header.biBitCount != 24 || (bits != 16 && bits != 32)) {
        return;
    }
    const size_t width = GetWidth();
    const uint32_t height = GetHeight();
    const size_t sourceRow = bits == 16 ? (width + 1) / 2 * 4 : width * 4;

    // Only the low 16 bits of a mask can select anything in a 16-bit pixel.
    const uint32_t usable = bits == 16 ? 0xFFFF : 0xFFFFFFFF;
    const MaskChannel red(redMask & usable);
    const MaskChannel green(greenMask & usable);
    const MaskChannel blue(blueMask & usable);
    for (uint32_t y = height; y-- > 0;) {
        const uint8_t *from = source + size_t(y) * sourceRow;
        uint8_t *to = RowPointer(y);
        for (size_t x = width; x-- > 0;) {
            // Read the whole source pixel before writing: 16-bit input may lie in these rows.
            const uint32_t v = bits == 16 ? folvane::byte_order::le16(from + 2 * x)
                                          : folvane::byte_order::le32(from + 4 * x);
            to[3 * x] = blue(v);
            to[3 * x + 1] = green(v);
            to[3 * x + 2] = red(v);
        }
    }
}
