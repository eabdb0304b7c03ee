// CfImageICO: decoder of one image of a Windows icon (.ico) or cursor (.cur) file. Classic
// entries (an information header, colour table, colour bitmap and 1-bit AND mask) become a
// palette or 24-bit image whose mask is turned into a transparent palette index or an alpha
// channel; entries stored as PNG data go to the PNG decoder of format detection.
//
// Decode never throws and writes no message of its own: a failed attempt leaves the text the
// image received through CopyInfo (Create may add its own).
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/CfImage.h"

class CfImageICO : public CfImage {
public:
    CfImageICO() : CfImage(FormatIco) {}

    // Decodes the directory entry info.frame (0-based) of the icon file at the stream's
    // position. On success info.type is FormatIco and info.frameCount the directory's entry
    // count, also when the entry is out of range (false then). With info.escape == -1 only
    // width, height, type and frame count are filled.
    bool Decode(CfStream *stream);

private:
    struct Entry {
        uint32_t width; // 1 to 256 (a 0 in the directory stands for 256)
        uint32_t height;
        uint32_t offset; // of the entry's data, from the first byte of the file
    };
    // The AND mask: bottom-up rows of `stride` bytes, one bit per pixel, 1 = transparent.
    struct IconMask {
        const uint8_t *bits;
        uint32_t stride;
        size_t bytes;
        bool At(int32_t x, int32_t y) const;
        bool AllSet() const;
    };

    bool DecodeIcon(CfStream &stream);
    bool DecodeEmbeddedPng(CfStream &stream, uint16_t count, bool headerOnly);
    void DecodeClassic(CfStream &stream, const Entry &entry);
    void ReadColourTable(CfStream &stream, const BITMAPINFOHEADER &bmpHeader);
    void ReadColourBitmap(CfStream &stream, uint16_t bitCount);
    void ApplyMask(const IconMask &mask, uint16_t bitCount);
    void MaskToAlpha(const IconMask &mask);
    void UseSharedMaskedIndex(const IconMask &mask);
    bool IndexUsedOutsideMask(const IconMask &mask, uint8_t index) const;
    void PaintMaskedWithUnusedIndex(const IconMask &mask);

    // Calls visit(x, y) for every masked pixel, rows from the bottom, left to right.
    template <class Visit> void ForEachMasked(const IconMask &mask, Visit visit) const {
        const auto width = static_cast<int32_t>(GetWidth());
        const auto height = static_cast<int32_t>(GetHeight());
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                if (mask.At(x, y)) {
                    visit(x, y);
                }
            }
        }
    }
};
