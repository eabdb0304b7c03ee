// CfImagePNG: decoder of PNG files over libpng. Palette images without transparency stay 8-bit
// palette images; grey images become 8-bit images with a grey palette; RGB images 24-bit
// images. Transparency (an alpha channel, or a tRNS chunk on a palette, grey or RGB image)
// goes to the alpha plane, with palette images expanded to 24 bits. 16-bit samples are scaled
// to 8 bits with rounding, as the TIFF decoder's colour path does; interlaced files are read
// whole. Text chunks, colour profiles and gamma are ignored. The resolution comes from pHYs.
//
// Decode never throws; a failure leaves its reason in info.lastError.
#pragma once

#include <cstdint>

#include "image/CfImage.h"

class PngReadSession;
enum class PngOutput;

class CfImagePNG : public CfImage {
public:
    CfImagePNG() : CfImage(FormatPng) {}

    // Decodes the PNG at the stream's position. With info.escape == -1 it stops after the
    // header: true, width and height set, no pixel memory; any other non-zero escape cancels.
    bool Decode(CfStream *stream);

private:
    bool DecodePng(CfStream &stream);
    void CreateBitmap(PngReadSession &png, PngOutput output);
    void ReadRowByRow(PngReadSession &png, PngOutput output);
    void ReadInterlaced(PngReadSession &png, PngOutput output);
    void StoreRow(uint32_t pngRow, const uint8_t *row, PngOutput output);
};
