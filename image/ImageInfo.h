// The information record inside every CfImage: layout facts, format, options, decoding
// controls, the last error text and the EXIF summary. A plain record: CfImage::Init zeroes it
// and then sets the initial values noted below; CfImage::CopyInfo and Transfer copy it whole.
#pragma once

#include <cstdint>

#include "image/ExifRecord.h"
#include "image/ImageFormat.h"
#include "platform/gdi/BitmapTypes.h"

class CfImage;

// Size of ImageInfo::lastError; texts are cut to 255 characters and always NUL-terminated.
inline constexpr int kLastErrorSize = 256;

// Escape word values read by the decoders; any other non-zero value cancels a decode.
inline constexpr int32_t kEscapeGoOn = 0;
inline constexpr int32_t kEscapeHeaderOnly = -1;

struct ImageBox {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct ImageInfo {
    uint32_t rowStride;             // bytes per pixel row
    uint8_t *pixels;                // start of row 0 inside the block
    CfImage *viewSource;            // set while this image is a view of another image's memory
    int32_t type;                   // ImageFormat the image came from, or the constructor's hint
    char lastError[kLastErrorSize]; // text of the last failure
    int32_t progress;               // percent done of a long operation (the rotations)
    int32_t escape;                 // 0 go on, -1 dimensions only, anything else cancels
    int32_t transparentIndex;       // palette index that is transparent, -1 for none (initial)
    RGBQUAD transparentColor;       // transparent colour of images without palette
    float jpegQuality;              // percent (initial 90)
    uint8_t jpegScale;              // JPEG scale denominator (initial 1)
    int32_t frame;                  // frame or page to decode
    int32_t frameCount;             // frames or pages found; length of CfImage::frames
    int32_t dpiX;                   // dots per inch (initial 96)
    int32_t dpiY;                   // dots per inch (initial 96)
    ImageBox selectionBox;          // bounding box of the selection mask
    uint8_t alphaMax;               // overall opacity applied with the alpha channel (initial 255)
    bool paletteAlpha;              // the fourth palette byte is an opacity
    bool drawEnabled;               // drawing is allowed (initial true)
    int32_t xOffset;                // position of the image (TIFF)
    int32_t yOffset;
    uint32_t codecOptions[kFormatIndexCount]; // one option word per CfImage::TypeIndex
    RGBQUAD nearestColor;                     // CfImage::NearestIndex cache: last colour asked
    uint8_t nearestIndex;                     // ... its answer
    bool nearestValid;                        // ... cache valid
    int32_t layerCount;                       // length of CfImage::layers
    ExifRecord exif;                          // EXIF summary filled by the JPEG decoder
};
