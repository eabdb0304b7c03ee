#include "image/codecs/CfImageBMP.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "base/ByteOrder.h"
#include "image/SafeSize.h"
#include "image/codecs/BmpRle.h"
#include "image/codecs/CodecIo.h"
#include "image/codecs/DecodeFailure.h"

namespace {

constexpr const char *kNotBmp = "Not a BMP";
constexpr const char *kBadInfo = "Error reading BMP info";
constexpr const char *kDimensionsOnly = "output dimensions returned";
constexpr const char *kCancelled = "Cancelled";
constexpr const char *kPaletteCompression = "compression type not supported";
constexpr const char *kDeepCompression = "unknown compression";
constexpr const char *kNoMemory = "can't allocate memory";
constexpr const char *kNoPixelData = "BMP pixel data lies beyond the end of the file";
constexpr const char *kBadBitCount = "BMP bit count not supported";

constexpr uint16_t kSignature = 0x4D42; // "BM"
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kOs2HeaderSize = 64;
constexpr uint32_t kV5HeaderSize = 124;
constexpr uint32_t kAlphaMaskEnd = 56; // headers this long also hold an alpha mask

int32_t DotsPerInch(int32_t pixelsPerMetre) {
    return static_cast<int32_t>(std::floor(pixelsPerMetre * 0.0254 + 0.5));
}

// Headers of a size the decoder does not know are taken only when they look like a bitmap:
// the declared image size holds the uncompressed rows, one plane, no colour table. This keeps
// content of other formats, which detection hands here first, from passing as a bare header.
bool PlausibleExtendedHeader(const BITMAPINFOHEADER &h) {
    if (h.biPlanes != 1 || h.biClrUsed != 0 || h.biWidth < 0) {
        return false;
    }
    const int64_t rows = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
    const auto stride = SafeSize::RowStride(h.biWidth, h.biBitCount);
    const auto bytes = stride ? SafeSize::mul(*stride, rows) : std::nullopt;
    return bytes && h.biSizeImage >= *bytes;
}

} // namespace

bool CfImageBMP::Decode(CfStream *stream) {
    if (!stream) {
        return false;
    }
    return catchDecodeFailure(*this, [&] { return DecodeBitmap(*stream); });
}

bool CfImageBMP::ReadInfoHeader(CfStream *stream, BITMAPINFOHEADER &h) {
    uint8_t raw[kInfoHeaderSize];
    if (!stream || stream->Read(raw, sizeof raw, 1) != 1) {
        return false;
    }
    h = BITMAPINFOHEADER{};
    h.biSize = folvane::byte_order::le32(raw);
    if (h.biSize == kCoreHeaderSize) {
        h.biWidth = folvane::byte_order::le16(raw + 4);
        h.biHeight = folvane::byte_order::le16(raw + 6);
        h.biPlanes = folvane::byte_order::le16(raw + 8);
        h.biBitCount = folvane::byte_order::le16(raw + 10);
        h.biCompression = BI_RGB;
        if (!stream->Seek(-static_cast<int32_t>(kInfoHeaderSize - kCoreHeaderSize), kSeekCurrent)) {
            return false;
        }
    } else {
        if (h.biSize < kInfoHeaderSize) {
            return false;
        }
        h.biWidth = static_cast<int32_t>(folvane::byte_order::le32(raw + 4));
        h.biHeight = static_cast<int32_t>(folvane::byte_order::le32(raw + 8));
        h.biPlanes = folvane::byte_order::le16(raw + 12);
        h.biBitCount = folvane::byte_order::le16(raw + 14);
        h.biCompression = folvane::byte_order::le32(raw + 16);
        h.biSizeImage = folvane::byte_order::le32(raw + 20);
        h.biXPelsPerMeter = static_cast<int32_t>(folvane::byte_order::le32(raw + 24));
        h.biYPelsPerMeter = static_cast<int32_t>(folvane::byte_order::le32(raw + 28));
        h.biClrUsed = folvane::byte_order::le32(raw + 32);
        h.biClrImportant = folvane::byte_order::le32(raw + 36);
        if (h.biWidth < 0 || h.biHeight == INT32_MIN) {
            return false;
        }
        if (h.biSize > kInfoHeaderSize) {
            const uint64_t rest = h.biSize - kInfoHeaderSize;
            const bool known = h.biSize == kOs2HeaderSize || h.biSize == kV5HeaderSize;
            if (!known && !PlausibleExtendedHeader(h)) {
                return false;
            }
            const int64_t remaining = folvane::image::codec_io::remaining(*stream);
            if (remaining >= 0 && static_cast<uint64_t>(remaining) < rest) {
                return false; // a header longer than the file: not a bitmap
            }
            // Bit-field masks sit in the header's bytes 40 to 51; the decoder reads them
            // and then skips the rest of the header.
            const bool masksInHeader =
                h.biCompression == BI_BITFIELDS && h.biSize != kOs2HeaderSize;
            if (!masksInHeader && !folvane::image::codec_io::skip(*stream, rest)) {
                return false;
            }
        }
    }
    if (h.biSizeImage == 0) {
        const auto stride = SafeSize::RowStride(h.biWidth, h.biBitCount);
        const int64_t rows = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
        const auto bytes = stride ? SafeSize::mul(*stride, rows) : std::nullopt;
        h.biSizeImage = bytes && *bytes <= UINT32_MAX ? static_cast<uint32_t>(*bytes) : 0;
    }
    if (h.biClrUsed == 0 && h.biBitCount <= 8) {
        h.biClrUsed = 1u << h.biBitCount;
    }
    return true;
}

bool CfImageBMP::DecodeBitmap(CfStream &stream) {
    const int64_t start = stream.Tell();
    uint8_t fileHeader[14];
    if (start < 0 || stream.Read(fileHeader, sizeof fileHeader, 1) != 1) {
        raiseDecodeFailure(kNotBmp);
    }
    uint32_t pixelOffset = folvane::byte_order::le32(fileHeader + 10);
    if (folvane::byte_order::le16(fileHeader) != kSignature) {
        pixelOffset = 0; // a bare information header
        stream.Seek(static_cast<int32_t>(start), kSeekStart);
    }

    BITMAPINFOHEADER bmpHeader;
    if (!ReadInfoHeader(&stream, bmpHeader)) {
        raiseDecodeFailure(kBadInfo);
    }
    const bool topDown = bmpHeader.biHeight < 0;
    const uint32_t width = static_cast<uint32_t>(bmpHeader.biWidth);
    const uint32_t height = topDown ? 0u - static_cast<uint32_t>(bmpHeader.biHeight)
                                    : static_cast<uint32_t>(bmpHeader.biHeight);

    if (info.escape == kEscapeHeaderOnly) {
        header.biWidth = static_cast<int32_t>(width);
        header.biHeight = static_cast<int32_t>(height);
        info.type = FormatBmp;
        SetLastError(kDimensionsOnly);
        return true;
    }
    if (!Create(width, height, bmpHeader.biBitCount, FormatBmp)) {
        raiseDecodeFailure(""); // Create's own text stays
    }
    // Pixels that a short or sparse file never reaches read as index 0 or black.
    std::memset(info.pixels, 0, header.biSizeImage);
    SetDpiX(DotsPerInch(bmpHeader.biXPelsPerMeter));
    SetDpiY(DotsPerInch(bmpHeader.biYPelsPerMeter));
    if (info.escape != kEscapeGoOn) {
        raiseDecodeFailure(kCancelled);
    }
    // An offset into the information header, or one that leaves no room for the colour table
    // a palette image needs, is wrong: the pixels then follow the table, as without an offset.
    const int64_t tableStart = stream.Tell();
    int64_t pixelStart = pixelOffset != 0 ? start + pixelOffset : -1;
    if (pixelStart < tableStart || (pixelStart == tableStart && HasPalette())) {
        pixelStart = -1;
    }
    if (HasPalette()) {
        ReadPalette(stream, bmpHeader);
    }
    if (info.escape != kEscapeGoOn) {
        raiseDecodeFailure(kCancelled);
    }
    ReadPixels(stream, bmpHeader, pixelStart);
    if (topDown && !FlipVertical(false, true)) {
        raiseDecodeFailure(kNoMemory);
    }
    return true;
}

// The file's colour table: 3-byte entries after a 12-byte header, 4-byte entries otherwise.
// Entries beyond what the image's palette holds are skipped.
void CfImageBMP::ReadPalette(CfStream &stream, const BITMAPINFOHEADER &bmpHeader) {
    const uint32_t entryBytes = bmpHeader.biSize == kCoreHeaderSize ? 3 : 4;
    const uint32_t declared = bmpHeader.biClrUsed;
    const uint32_t kept = declared < GetColorCount() ? declared : GetColorCount();
    uint8_t table[256 * 4] = {};
    stream.Read(table, entryBytes, kept);
    RGBQUAD *palette = PalettePointer();
    for (uint32_t i = 0; i < kept; ++i) {
        const uint8_t *entry = table + i * entryBytes;
        palette[i] = RGBQUAD{entry[0], entry[1], entry[2], 0};
    }
    const uint64_t skipped = static_cast<uint64_t>(declared - kept) * entryBytes;
    if (skipped != 0 && !folvane::image::codec_io::skip(stream, skipped)) {
        stream.Seek(0, kSeekEnd); // the table runs past the end: no pixel data follows
    }
}

// Red, green and blue masks, and the alpha mask of headers long enough to hold one. Headers
// longer than 40 bytes hold them from their byte 40 on, a 40-byte header is followed by them;
// either way the stream ends up after header and masks.
void CfImageBMP::ReadMasks(CfStream &stream, const BITMAPINFOHEADER &bmpHeader, uint32_t masks[4]) {
    const bool inHeader = bmpHeader.biSize > kInfoHeaderSize && bmpHeader.biSize != kOs2HeaderSize;
    const size_t count = inHeader && bmpHeader.biSize >= kAlphaMaskEnd ? 4 : 3;
    uint8_t raw[16];
    if (stream.Read(raw, 4, count) != count) {
        raiseDecodeFailure(kBadInfo);
    }
    for (size_t i = 0; i < count; ++i) {
        masks[i] = folvane::byte_order::le32(raw + 4 * i);
    }
    const uint32_t masksEnd = kInfoHeaderSize + 4 * static_cast<uint32_t>(count);
    if (inHeader && bmpHeader.biSize > masksEnd &&
        !folvane::image::codec_io::skip(stream, bmpHeader.biSize - masksEnd)) {
        raiseDecodeFailure(kBadInfo);
    }
}

void CfImageBMP::ReadPixels(CfStream &stream, const BITMAPINFOHEADER &bmpHeader,
                            int64_t pixelStart) {
    const uint16_t bits = bmpHeader.biBitCount;
    const uint32_t compression = bmpHeader.biCompression;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue, alpha
    if ((bits == 16 || bits == 32) && compression == BI_BITFIELDS) {
        ReadMasks(stream, bmpHeader, masks);
    } else if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bits == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }
    const auto seekPixels = [&] {
        if (pixelStart >= 0 && !folvane::image::codec_io::seekTo(stream, pixelStart)) {
            raiseDecodeFailure(kNoPixelData);
        }
        if (folvane::image::codec_io::remaining(stream) == 0) {
            raiseDecodeFailure(kNoPixelData);
        }
    };

    switch (bits) {
    case 1:
    case 4:
    case 8:
        seekPixels();
        if (compression == BI_RGB) {
            stream.Read(info.pixels, 1, header.biSizeImage);
        } else if (compression == BI_RLE8) {
            folvane::image::bmp_rle::decode(stream, *this, folvane::image::bmp_rle::Kind::Rle8);
        } else if (compression == BI_RLE4) {
            folvane::image::bmp_rle::decode(stream, *this, folvane::image::bmp_rle::Kind::Rle4);
        } else {
            raiseDecodeFailure(kPaletteCompression);
        }
        return;
    case 2:
        seekPixels();
        if (compression != BI_RGB) {
            raiseDecodeFailure(kPaletteCompression);
        }
        ReadTwoBitRows(stream);
        return;
    case 16: {
        seekPixels();
        // 16-bit rows are never longer than the 24-bit rows, so they are read into the pixel
        // memory and widened there, last pixel first.
        const size_t rowBytes = (static_cast<size_t>(GetWidth()) + 1) / 2 * 4;
        stream.Read(info.pixels, 1, rowBytes * GetHeight());
        BitfieldsToRgb(info.pixels, masks[0], masks[1], masks[2], 16);
        return;
    }
    case 24:
        seekPixels();
        if (compression != BI_RGB) {
            raiseDecodeFailure(kDeepCompression);
        }
        stream.Read(info.pixels, 1, header.biSizeImage);
        return;
    case 32:
        seekPixels();
        if (compression != BI_RGB && compression != BI_BITFIELDS) {
            raiseDecodeFailure(kDeepCompression);
        }
        ReadThirtyTwoBit(stream, bmpHeader, masks);
        return;
    default:
        raiseDecodeFailure(kBadBitCount);
    }
}

// 2-bit rows widened to the 4-bit image, one row at a time.
void CfImageBMP::ReadTwoBitRows(CfStream &stream) {
    const uint32_t width = GetWidth();
    const size_t fileRow = (static_cast<size_t>(width) * 2 + 31) / 32 * 4;
    std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[fileRow]);
    if (!row) {
        raiseDecodeFailure(kNoMemory);
    }
    for (uint32_t y = 0; y < GetHeight(); ++y) {
        if (stream.Read(row.get(), 1, fileRow) == 0) {
            return;
        }
        uint8_t *out = RowPointer(y);
        for (uint32_t x = 0; x < width; x += 2) {
            const uint8_t packed = row[x / 4] << (x % 4 * 2);
            out[x / 2] = static_cast<uint8_t>((packed >> 6) << 4 | (packed >> 4 & 3));
        }
    }
}

void CfImageBMP::ReadThirtyTwoBit(CfStream &stream, const BITMAPINFOHEADER &bmpHeader,
                                  const uint32_t masks[4]) {
    const auto bytes = SafeSize::mul(GetWidth(), GetHeight(), 4);
    if (!bytes) {
        raiseDecodeFailure(kNoMemory);
    }
    std::unique_ptr<uint8_t[]> source(new (std::nothrow) uint8_t[*bytes]());
    if (!source) {
        raiseDecodeFailure(kNoMemory);
    }
    stream.Read(source.get(), 1, *bytes);
    // The fourth byte of uncompressed pixels, or the whole byte an alpha mask selects.
    size_t alphaByte = bmpHeader.biCompression == BI_RGB ? 3 : 4;
    for (size_t k = 0; k < 4; ++k) {
        if (bmpHeader.biCompression == BI_BITFIELDS && masks[3] == 0xFFu << (8 * k)) {
            alphaByte = k;
        }
    }
    if (alphaByte < 4 && CreateAlphaChannel()) {
        const size_t pixelCount = *bytes / 4;
        bool anyAlpha = false;
        for (size_t i = 0; i < pixelCount; ++i) {
            alpha[i] = source[4 * i + alphaByte];
            anyAlpha |= alpha[i] != 0;
        }
        if (!anyAlpha) {
            InvertAlphaChannel(); // an unused fourth byte: fully opaque
        }
    }
    BitfieldsToRgb(source.get(), masks[0], masks[1], masks[2], 32);
}
