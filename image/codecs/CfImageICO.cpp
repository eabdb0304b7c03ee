#include "image/codecs/CfImageICO.h"

#include <cstring>
#include <memory>
#include <new>

#include "base/ByteOrder.h"
#include "image/codecs/CodecIo.h"
#include "image/codecs/DecodeFailure.h"

namespace {

constexpr uint16_t kIconType = 1;
constexpr uint16_t kCursorType = 2;
constexpr size_t kDirectoryHeaderBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr size_t kInfoHeaderBytes = 40;
// The decoder writes no text of its own: a failed attempt leaves the caller's.
constexpr const char *kNoText = "";
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// An entry holds PNG data when its data starts with the PNG signature. The directory's
// 0 x 0 size is no sign of it: 256 x 256 classic entries are written that way too.
bool StartsWithPng(CfStream &stream) {
    uint8_t signature[sizeof kPngSignature];
    const int32_t here = stream.Tell();
    const bool read = stream.Read(signature, sizeof signature, 1) == 1;
    stream.Seek(here, kSeekStart);
    return read && std::memcmp(signature, kPngSignature, sizeof signature) == 0;
}

// The fields of the 40-byte information header the icon decoder uses: the header's size,
// the bit count and the colour count.
BITMAPINFOHEADER ReadInfoHeader(CfStream &stream) {
    uint8_t raw[kInfoHeaderBytes];
    if (stream.Read(raw, sizeof raw, 1) != 1) {
        raiseDecodeFailure(kNoText);
    }
    BITMAPINFOHEADER h{};
    h.biSize = folvane::byte_order::le32(raw);
    h.biBitCount = folvane::byte_order::le16(raw + 14);
    h.biClrUsed = folvane::byte_order::le32(raw + 32);
    return h;
}

} // namespace

bool CfImageICO::Decode(CfStream *stream) {
    if (!stream) {
        return false;
    }
    return catchDecodeFailure(*this, [&] { return DecodeIcon(*stream); });
}

bool CfImageICO::DecodeIcon(CfStream &stream) {
    const int64_t base = stream.Tell();
    const int32_t wanted = info.frame;

    uint8_t directory[kDirectoryHeaderBytes];
    if (base < 0 || stream.Read(directory, sizeof directory, 1) != 1) {
        raiseDecodeFailure(kNoText);
    }
    const uint16_t reserved = folvane::byte_order::le16(directory);
    const uint16_t type = folvane::byte_order::le16(directory + 2);
    const uint16_t count = folvane::byte_order::le16(directory + 4);
    if (reserved != 0 || (type != kIconType && type != kCursorType)) {
        raiseDecodeFailure(kNoText);
    }
    info.frameCount = count;
    // At most 65535 entries of 16 bytes: the table's size is bounded by the field's width.
    std::unique_ptr<uint8_t[]> table(new (std::nothrow) uint8_t[count * kEntryBytes + 1]);
    if (!table || (count != 0 && stream.Read(table.get(), kEntryBytes, count) != count) ||
        wanted < 0 || wanted >= count) {
        raiseDecodeFailure(kNoText);
    }
    const uint8_t *raw = table.get() + static_cast<size_t>(wanted) * kEntryBytes;
    const Entry entry{raw[0] != 0 ? raw[0] : 256u, raw[1] != 0 ? raw[1] : 256u,
                      folvane::byte_order::le32(raw + 12)};

    const bool dataInFile = folvane::image::codec_io::seekTo(stream, base + entry.offset);
    const bool png = dataInFile && StartsWithPng(stream);
    if (info.escape == kEscapeHeaderOnly) {
        header.biWidth = static_cast<int32_t>(entry.width);
        header.biHeight = static_cast<int32_t>(entry.height);
        if (png) {
            DecodeEmbeddedPng(stream, count, true);
        }
        info.type = FormatIco;
        return true;
    }
    if (!dataInFile) {
        raiseDecodeFailure(kNoText);
    }
    if (png) {
        return DecodeEmbeddedPng(stream, count, false);
    }
    DecodeClassic(stream, entry);
    return true;
}

// Hands the PNG data to format detection's PNG decoder. Succeeds also when that decoder fails
// or is absent: the image then stays empty.
bool CfImageICO::DecodeEmbeddedPng(CfStream &stream, uint16_t count, bool headerOnly) {
    CfImage png(FormatUnknown);
    if (headerOnly) {
        png.SetEscapeCode(kEscapeHeaderOnly);
    }
    if (png.Decode(&stream, FormatPng)) {
        Transfer(png, true);
        info.frameCount = count;
    }
    if (!headerOnly) {
        SetFormatType(FormatIco);
    }
    return true;
}

void CfImageICO::DecodeClassic(CfStream &stream, const Entry &entry) {
    const BITMAPINFOHEADER bmpHeader = ReadInfoHeader(stream);
    const uint16_t bitCount = bmpHeader.biBitCount;
    // The directory gives the size; the header's height counts bitmap and mask together.
    if (!Create(entry.width, entry.height, bitCount, FormatIco)) {
        raiseDecodeFailure(kNoText); // Create's own text stays
    }
    std::memset(info.pixels, 0, header.biSizeImage);
    // A longer header (a version 5 one, say) ends where its size says; the table follows it.
    if (bmpHeader.biSize > kInfoHeaderBytes &&
        !folvane::image::codec_io::skip(stream, bmpHeader.biSize - kInfoHeaderBytes)) {
        stream.Seek(0, kSeekEnd);
    }
    ReadColourTable(stream, bmpHeader);
    ReadColourBitmap(stream, bitCount);

    const uint32_t maskStride = (entry.width + 31) / 32 * 4;
    const size_t maskBytes = static_cast<size_t>(maskStride) * entry.height;
    std::unique_ptr<uint8_t[]> mask(new (std::nothrow) uint8_t[maskBytes]);
    if (!mask || stream.Read(mask.get(), maskBytes, 1) != 1) {
        return; // no mask: the picture without transparency
    }
    ApplyMask(IconMask{mask.get(), maskStride, maskBytes}, bitCount);
}

// The colour table holds the header's colour count, or the image's own when that is 0; entries
// beyond the 256 a palette can hold are skipped.
void CfImageICO::ReadColourTable(CfStream &stream, const BITMAPINFOHEADER &bmpHeader) {
    const uint32_t declared = bmpHeader.biClrUsed != 0 ? bmpHeader.biClrUsed : GetColorCount();
    const uint32_t kept = declared < 256 ? declared : 256;
    RGBQUAD table[256] = {};
    stream.Read(table, sizeof(RGBQUAD), kept);
    CopyPalette(table, GetColorCount());
    if (declared > kept && !folvane::image::codec_io::skip(stream, uint64_t{declared - kept} * 4)) {
        stream.Seek(0, kSeekEnd); // the table runs past the end of the file
    }
}

// Colour bitmap rows as stored; 32-bit pixels give blue, green, red and an alpha byte.
void CfImageICO::ReadColourBitmap(CfStream &stream, uint16_t bitCount) {
    if (bitCount <= 24) {
        stream.Read(info.pixels, 1, header.biSizeImage);
        return;
    }
    const uint32_t width = GetWidth();
    const size_t bytes = static_cast<size_t>(width) * GetHeight() * 4; // at most 256 x 256
    std::unique_ptr<uint8_t[]> source(new (std::nothrow) uint8_t[bytes]());
    if (!source || !CreateAlphaChannel()) {
        return;
    }
    stream.Read(source.get(), 1, bytes);
    const uint8_t *in = source.get();
    for (uint32_t y = 0; y < GetHeight(); ++y) {
        uint8_t *out = RowPointer(y);
        uint8_t *rowAlpha = alpha + static_cast<size_t>(y) * width;
        for (uint32_t x = 0; x < width; ++x, in += 4, out += 3) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            rowAlpha[x] = in[3];
        }
    }
}

bool CfImageICO::IconMask::At(int32_t x, int32_t y) const {
    return (bits[static_cast<size_t>(y) * stride + x / 8] >> (7 - x % 8) & 1) != 0;
}

bool CfImageICO::IconMask::AllSet() const {
    for (size_t i = 0; i < bytes; ++i) {
        if (bits[i] != 0xFF) {
            return false;
        }
    }
    return true;
}

// Turns the AND mask (1 = transparent) into the image's transparency: an all-ones mask marks
// an inverting icon; otherwise masked pixels get alpha 0 and, where the pixels allow it, the
// alpha channel is replaced by one transparent palette index or colour.
void CfImageICO::ApplyMask(const IconMask &mask, uint16_t bitCount) {
    if (mask.AllSet()) {
        SetTransparentIndex(0);
        InvertColors();
        return;
    }
    MaskToAlpha(mask);
    if (bitCount > 8) {
        return; // true colour: the alpha channel is the transparency
    }
    UseSharedMaskedIndex(mask);
    PaintMaskedWithUnusedIndex(mask);
}

// Masked pixels get alpha 0; a channel made here only for the mask goes again when nothing
// was masked.
void CfImageICO::MaskToAlpha(const IconMask &mask) {
    const bool hadAlpha = HasAlphaChannel();
    CreateAlphaChannel();
    bool anyMasked = false;
    ForEachMasked(mask, [&](int32_t x, int32_t y) {
        PutAlpha(x, y, 0);
        anyMasked = true;
    });
    if (!hadAlpha && !anyMasked) {
        DeleteAlphaChannel();
    }
}

// When every masked pixel has one colour, and no opaque pixel uses its index as well, that
// index stands for transparency and the alpha channel goes.
void CfImageICO::UseSharedMaskedIndex(const IconMask &mask) {
    int32_t colours = 0;
    RGBQUAD first{};
    uint8_t firstIndex = 0;
    ForEachMasked(mask, [&](int32_t x, int32_t y) {
        const RGBQUAD colour = PixelColorAt(x, y, false);
        if (colours == 0) {
            first = colour;
            firstIndex = PixelIndexAt(x, y);
            colours = 1;
        } else if (!(colour == first)) {
            ++colours;
        }
    });
    if (colours != 1 || IndexUsedOutsideMask(mask, firstIndex)) {
        return;
    }
    SetTransparentColor(first);
    SetTransparentIndex(firstIndex);
    DeleteAlphaChannel();
}

bool CfImageICO::IndexUsedOutsideMask(const IconMask &mask, uint8_t index) const {
    const auto width = static_cast<int32_t>(GetWidth());
    const auto height = static_cast<int32_t>(GetHeight());
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (!mask.At(x, y) && PixelIndexAtUnguarded(x, y) == index) {
                return true;
            }
        }
    }
    return false;
}

// Paints the masked pixels with the highest palette index no pixel uses, which then becomes
// the transparent index in place of the alpha channel. Nothing changes when every index is in
// use: the alpha channel then stays as the transparency.
void CfImageICO::PaintMaskedWithUnusedIndex(const IconMask &mask) {
    const auto width = static_cast<int32_t>(GetWidth());
    const auto height = static_cast<int32_t>(GetHeight());
    bool used[256] = {};
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            used[PixelIndexAtUnguarded(x, y)] = true;
        }
    }
    int32_t unused = static_cast<int32_t>(GetColorCount()) - 1;
    while (unused >= 0 && used[unused]) {
        --unused;
    }
    if (unused < 0) {
        return;
    }
    bool written = false;
    ForEachMasked(mask, [&](int32_t x, int32_t y) {
        PutPixelIndex(x, y, static_cast<uint8_t>(unused));
        written = true;
    });
    if (written) {
        SetTransparentIndex(unused);
    }
    DeleteAlphaChannel();
}
