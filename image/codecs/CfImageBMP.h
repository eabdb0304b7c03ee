// CfImageBMP: decoder of Windows and OS/2 device-independent bitmaps, with or without the
// 14-byte "BM" file header. Palette bitmaps (1, 2, 4, 8 bits, uncompressed or run-length
// encoded) stay palette images (2-bit ones become 4-bit); 16-, 24- and 32-bit bitmaps become
// 24-bit images. The alpha byte of 32-bit pixels (the fourth byte of uncompressed ones, the
// byte an alpha mask selects in bit-field ones) goes to the alpha plane.
// Top-down files are turned into the bottom-up row order of CfImage.
//
// Decode never throws. It is the first candidate of format detection, so it also sees every
// file of another format and must reject it with a message rather than misread it.
#pragma once

#include <cstdint>

#include "image/CfImage.h"

class CfImageBMP : public CfImage {
public:
    CfImageBMP() : CfImage(FormatBmp) {}

    // Decodes one bitmap from the stream's current position. On success this image holds it
    // with info.type FormatBmp and the file's resolution. With info.escape == -1 it stops
    // after the header: true, width and height set, no pixel memory, and the text
    // "output dimensions returned". On failure false with the reason in info.lastError.
    bool Decode(CfStream *stream);

    // Reads the information header at the stream position into bmpHeader in its 40-byte
    // form (biSize keeps the size the file gives, 12 for OS/2 1.x). Fills in an image size
    // and a colour count of 0. False when the header is unreadable or implausible. Afterwards
    // the stream stands after the header, except for bit-field headers longer than 40
    // bytes, where it stands on the masks at header byte 40.
    bool ReadInfoHeader(CfStream *stream, BITMAPINFOHEADER &bmpHeader);

private:
    bool DecodeBitmap(CfStream &stream);
    void ReadPalette(CfStream &stream, const BITMAPINFOHEADER &bmpHeader);
    void ReadMasks(CfStream &stream, const BITMAPINFOHEADER &bmpHeader, uint32_t masks[4]);
    void ReadPixels(CfStream &stream, const BITMAPINFOHEADER &bmpHeader, int64_t pixelStart);
    void ReadTwoBitRows(CfStream &stream);
    void ReadThirtyTwoBit(CfStream &stream, const BITMAPINFOHEADER &bmpHeader,
                          const uint32_t masks[4]);
};
