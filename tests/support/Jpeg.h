// JPEG files made through libjpeg, and libjpeg's own decode of a file as the reference a
// decoder or a rendered page is compared with.
#pragma once

#include <cstdio> // before jpeglib.h, which uses FILE

#include <jpeglib.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/Bytes.h"
#include "tests/support/Picture.h"

namespace support {

struct JpegOptions {
    int quality = 90;
    bool progressive = false;
    bool arithmetic = false;
    int restartRows = 0; // a restart marker every so many MCU rows; 0: none
    // Sampling factors of the first component (the others stay 1 x 1); 0 keeps libjpeg's.
    int hSampling = 0;
    int vSampling = 0;
    // Colour space in the file (JCS_YCCK for four components, JCS_RGB for three without the
    // YCbCr transform, ...); JCS_UNKNOWN keeps libjpeg's default for the picture.
    J_COLOR_SPACE fileColourSpace = JCS_UNKNOWN;
    bool jfif = true;
    bool adobe = true; // the APP14 marker libjpeg writes for CMYK and YCCK files
    int densityUnit = 0;
    int xDensity = 1;
    int yDensity = 1;
    int exifOrientation = 0;   // 1..8 writes an EXIF APP1 segment with this orientation; 0: none
    Bytes iccProfile;          // written as ICC_PROFILE APP2 segments
    int iccSegments = 1;       // how many segments the profile is split across
    bool multiPicture = false; // an APP2 "MPF" segment, as cameras write before a preview
    // More segments {marker code, payload}, after all of the above, in order.
    std::vector<std::pair<int, Bytes>> markers;
};

// The picture as a JPEG: 1 component grey, 3 RGB, 4 CMYK with the samples stored as given
// (Adobe's programs store 255 minus the ink). Throws std::runtime_error when libjpeg refuses.
Bytes MakeJpeg(const Picture &picture, const JpegOptions &options = {});

struct JpegReadOptions {
    // Output colour space (JCS_RGB turns grey into RGB triplets); JCS_UNKNOWN: libjpeg's default.
    J_COLOR_SPACE colourSpace = JCS_UNKNOWN;
    int scaleDenom = 1;
    int quantizeColours = 0; // 0: no quantization
    bool twoPass = true;
    bool fancyUpsampling = true;
};

struct DecodedJpeg {
    bool ok = false;
    Picture picture;             // components as libjpeg delivered them
    std::vector<uint8_t> map[3]; // the colour map when quantized: red, green, blue
};

// libjpeg's decode from memory, its default settings unless asked otherwise. A file libjpeg
// reads only in part (a truncated scan) still decodes; its warnings are not printed.
DecodedJpeg DecodeJpeg(const Bytes &jpeg, const JpegReadOptions &options = {});

// Offset of the first segment with this marker code (0xC0, 0xDA, ...), or std::string::npos.
std::size_t FindMarker(const Bytes &jpeg, int marker);
// Rewrites the width and height of the first frame header; throws when there is none.
void SetFrameSize(Bytes &jpeg, int width, int height);
// The file with `junk` put before the first segment with this marker code, as phones and
// editors damage JPEGs; throws when there is no such segment.
Bytes InsertBefore(Bytes jpeg, int marker, const Bytes &junk);
// The file with the lowest bit of `count` bytes flipped, spread evenly through the entropy-coded
// data of the first scan, as a bad disk or transfer damages it: no marker appears or vanishes.
Bytes FlipScanBits(Bytes jpeg, int count);

} // namespace support
