// CfImage pixel and palette access.

#include "image/CfImage.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kHeaderBytes = sizeof(BITMAPINFOHEADER);
constexpr int kFarDistance = 200000; // larger than any distance between two colours

int ColourDistance(const RGBQUAD &a, const RGBQUAD &b) {
    const int blue = int(a.rgbBlue) - int(b.rgbBlue);
    const int green = int(a.rgbGreen) - int(b.rgbGreen);
    const int red = int(a.rgbRed) - int(b.rgbRed);
    return blue * blue + green * green + red * red;
}

} // namespace

size_t CfImage::BlockSize() const {
    return size_t(header.biSize) + PaletteBytes() + header.biSizeImage;
}

uint8_t *CfImage::RowPointer(uint32_t row) const {
    if (!block || row >= GetHeight()) {
        return nullptr;
    }
    return block + kHeaderBytes + PaletteBytes() + size_t(row) * info.rowStride;
}

bool CfImage::Contains(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && int64_t(x) < int64_t(header.biWidth) &&
           int64_t(y) < int64_t(header.biHeight);
}

void CfImage::Fill(uint8_t value) {
    if (!block) {
        return;
    }
    uint8_t byte = value;
    if (header.biBitCount == 1) {
        byte = value ? 255 : 0;
    } else if (header.biBitCount == 4) {
        byte = static_cast<uint8_t>((value % 16) * 17);
    }
    memset(info.pixels, byte, header.biSizeImage);
}

uint8_t *CfImage::PixelPointer(int32_t x, int32_t y) const {
    if (HasPalette()) {
        return nullptr;
    }
    return info.pixels + size_t(y) * info.rowStride + size_t(x) * 3;
}

uint8_t CfImage::PixelIndexAt(int32_t x, int32_t y) const {
    if (!block || !HasPalette()) {
        return 0;
    }
    if (!Contains(x, y)) {
        return info.transparentIndex >= 0 ? static_cast<uint8_t>(info.transparentIndex)
                                          : info.pixels[0];
    }
    return PixelIndexAtUnguarded(x, y);
}

uint8_t CfImage::PixelIndexAtUnguarded(int32_t x, int32_t y) const {
    const uint8_t *row = info.pixels + size_t(y) * info.rowStride;
    switch (header.biBitCount) {
    case 8:
        return row[x];
    case 4: {
        const uint8_t byte = row[x >> 1];
        return (x & 1) ? (byte & 0x0F) : (byte >> 4);
    }
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    default:
        return 0;
    }
}

void CfImage::PutPixelIndex(int32_t x, int32_t y, uint8_t index) {
    if (!block || !HasPalette() || !Contains(x, y)) {
        return;
    }
    PutPixelIndexUnguarded(x, y, index);
}

void CfImage::PutPixelIndexUnguarded(int32_t x, int32_t y, uint8_t index) {
    uint8_t *row = info.pixels + size_t(y) * info.rowStride;
    switch (header.biBitCount) {
    case 8:
        row[x] = index;
        break;
    case 4: {
        uint8_t &byte = row[x >> 1];
        const uint8_t nibble = index & 0x0F;
        byte = (x & 1) ? uint8_t((byte & 0xF0) | nibble) : uint8_t((byte & 0x0F) | (nibble << 4));
        break;
    }
    case 1: {
        uint8_t &byte = row[x >> 3];
        const uint8_t mask = uint8_t(0x80 >> (x & 7));
        byte = (index & 1) ? uint8_t(byte | mask) : uint8_t(byte & ~mask);
        break;
    }
    default:
        break;
    }
}

RGBQUAD CfImage::PixelColorAt(int32_t x, int32_t y, bool withAlpha) const {
    if (block && Contains(x, y)) {
        RGBQUAD colour = PixelColorAtUnguarded(x, y, withAlpha);
        // A pixel of a true-colour picture without alpha keeps the transparent colour's
        // reserved byte, as it always has.
        if (!HasPalette() && !(alpha && withAlpha)) {
            colour.rgbReserved = info.transparentColor.rgbReserved;
        }
        return colour;
    }
    if (info.transparentIndex >= 0) {
        return header.biBitCount < 24 ? PaletteEntry(static_cast<uint8_t>(info.transparentIndex))
                                      : info.transparentColor;
    }
    if (block) {
        return PixelColorAt(0, 0, true);
    }
    return info.transparentColor;
}

RGBQUAD CfImage::PixelColorAtUnguarded(int32_t x, int32_t y, bool withAlpha) const {
    RGBQUAD colour{};
    if (HasPalette()) {
        colour = PaletteEntry(PixelIndexAtUnguarded(x, y));
    } else {
        const uint8_t *pixel = PixelPointer(x, y);
        colour.rgbBlue = pixel[0];
        colour.rgbGreen = pixel[1];
        colour.rgbRed = pixel[2];
    }
    if (alpha && withAlpha) {
        colour.rgbReserved = AlphaAtUnguarded(x, y);
    }
    return colour;
}

void CfImage::PutPixelColor(int32_t x, int32_t y, RGBQUAD colour, bool setAlpha) {
    if (!block || !Contains(x, y)) {
        return;
    }
    if (HasPalette()) {
        PutPixelIndexUnguarded(x, y, NearestIndex(colour));
    } else {
        uint8_t *pixel = PixelPointer(x, y);
        pixel[0] = colour.rgbBlue;
        pixel[1] = colour.rgbGreen;
        pixel[2] = colour.rgbRed;
    }
    if (setAlpha) {
        PutAlpha(x, y, colour.rgbReserved);
    }
}

RGBQUAD *CfImage::PalettePointer() const {
    if (!block || !HasPalette()) {
        return nullptr;
    }
    return reinterpret_cast<RGBQUAD *>(block + kHeaderBytes);
}

RGBQUAD CfImage::PaletteEntry(uint8_t index) const {
    const RGBQUAD *palette = PalettePointer();
    if (!palette || index >= header.biClrUsed) {
        return RGBQUAD{};
    }
    return palette[index];
}

void CfImage::SetPaletteEntry(uint8_t index, uint8_t red, uint8_t green, uint8_t blue,
                              uint8_t fourth) {
    RGBQUAD *palette = PalettePointer();
    if (!palette || index >= header.biClrUsed) {
        return;
    }
    palette[index] = RGBQUAD{blue, green, red, fourth};
    info.nearestValid = false;
}

void CfImage::CopyPalette(const RGBQUAD *entries, uint32_t count) {
    RGBQUAD *palette = PalettePointer();
    if (!entries || !palette) {
        return;
    }
    const uint64_t bytes = std::min<uint64_t>(uint64_t(count) * 4, PaletteBytes());
    memmove(palette, entries, bytes);
    info.nearestValid = false;
}

void CfImage::SetPaletteChannels(uint32_t count, const uint8_t *reds, const uint8_t *greens,
                                 const uint8_t *blues) {
    RGBQUAD *palette = PalettePointer();
    if (!reds || !palette) {
        return;
    }
    if (!greens) {
        greens = reds;
    }
    if (!blues) {
        blues = greens;
    }
    const uint32_t n = std::min(count, header.biClrUsed);
    for (uint32_t i = 0; i < n; ++i) {
        palette[i].rgbRed = reds[i];
        palette[i].rgbGreen = greens[i];
        palette[i].rgbBlue = blues[i];
    }
    info.nearestValid = false;
}

void CfImage::SetGreyPalette() {
    RGBQUAD *palette = PalettePointer();
    if (!palette || header.biClrUsed < 2) {
        return;
    }
    const uint32_t step = 255 / (header.biClrUsed - 1);
    for (uint32_t i = 0; i < header.biClrUsed; ++i) {
        const auto grey = static_cast<uint8_t>(i * step);
        palette[i].rgbBlue = grey;
        palette[i].rgbGreen = grey;
        palette[i].rgbRed = grey;
    }
}

uint8_t CfImage::NearestIndex(RGBQUAD colour) {
    const RGBQUAD *palette = PalettePointer();
    if (!palette) {
        return 0;
    }
    if (info.nearestValid && info.nearestColor == colour) {
        return info.nearestIndex;
    }
    info.nearestColor = colour;
    info.nearestValid = true;

    // biClrImportant may come from a file; it never widens the search past the palette.
    uint32_t n = header.biClrImportant ? header.biClrImportant : header.biClrUsed;
    n = std::min(n, header.biClrUsed);
    int best = kFarDistance;
    uint8_t bestIndex = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const int distance = ColourDistance(palette[i], colour);
        if (distance < best) {
            best = distance;
            bestIndex = static_cast<uint8_t>(i);
            if (distance == 0) {
                break;
            }
        }
    }
    info.nearestIndex = bestIndex;
    return bestIndex;
}

void CfImage::SwapRedBlueInRow(uint8_t *row, uint32_t length) const {
    if (!row || HasPalette()) {
        return;
    }
    const uint64_t limit = std::min<uint64_t>({length, info.rowStride, uint64_t(GetWidth()) * 3});
    for (uint64_t i = 0; i + 3 <= limit; i += 3) {
        std::swap(row[i], row[i + 2]);
    }
}
