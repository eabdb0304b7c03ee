#pragma once

// Small helpers of the EXIF reader: the TIFF field types and the conversions from a file's
// numbers into record fields, each defined for every input (NaN, infinities, huge values).

#include <cstddef>
#include <cstdint>

enum ExifFormat {
    kExifFormatByte = 1,
    kExifFormatAscii = 2,
    kExifFormatShort = 3,
    kExifFormatLong = 4,
    kExifFormatRational = 5,
    kExifFormatSignedByte = 6,
    kExifFormatUndefined = 7,
    kExifFormatSignedShort = 8,
    kExifFormatSignedLong = 9,
    kExifFormatSignedRational = 10,
    kExifFormatFloat = 11,
    kExifFormatDouble = 12,
};

constexpr int kExifLastFormat = kExifFormatDouble;

// Bytes per component of a format code 0..12 (code 0 counts 0 bytes).
unsigned exifBytesPerFormat(int format);

// Truncates toward zero; NaN gives 0 and values outside the range saturate.
int32_t exifToInt32(double value);

// Narrows to float; values beyond the float range saturate instead of overflowing.
float exifToFloat(double value);

// Copies at most maxChars characters of a value of `size` bytes, stopping at a zero byte, and
// ends the text with a zero. `dest` must hold maxChars + 1 characters.
void exifCopyText(char *dest, size_t maxChars, const uint8_t *value, size_t size);

// Inches per unit of a ResolutionUnit / FocalPlaneResolutionUnit value; false for an unknown
// unit (the field then keeps its value).
bool exifInchesPerUnit(int32_t unit, float *inches);
