// Format identifiers of the image library. The values are stored in ImageInfo::type and
// passed as format hints to CfImage::Load and CfImage::Decode.
#pragma once

#include <cstdint>

enum ImageFormat : int32_t {
    FormatUnknown = 0, // detect the format from the content
    FormatBmp = 1,
    FormatGif = 2,
    FormatJpeg = 3,
    FormatPng = 4,
    FormatIco = 5, // Windows icon or cursor file
    FormatTiff = 6,
    FormatTga = 7,
    FormatPcx = 8,
    FormatWbmp = 9,
    FormatWmf = 10, // Windows metafile or enhanced metafile
    FormatJp2 = 11, // JPEG 2000 file
    FormatJpc = 12, // JPEG 2000 code stream
    FormatPgx = 13, // JPEG 2000 test format
    FormatPnm = 14,
    FormatRas = 15, // Sun raster
    // 16 is not assigned and counts as unsupported.
    FormatMng = 17,
    FormatPal8 = 18, // 8-bit palette picture: 9-byte header, 768-byte RGB palette
    FormatRaw = 19,  // digital camera raw
    FormatPsd = 20,
};

// Number of entries of ImageInfo::codecOptions (one per format index, see CfImage::TypeIndex).
inline constexpr int kFormatIndexCount = 20;
