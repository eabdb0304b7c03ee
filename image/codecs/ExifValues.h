#pragma once

// Small helpers of the EXIF reader: the TIFF field types and the conversions from a file's
// numbers into record fields, each defined for every input (NaN, infinities, huge values).

#include <cstddef>
#include <cstdint>

enum ExifFormat {
    ExifFormatByte = 1,
    ExifFormatAscii = 2,
    ExifFormatShort = 3,
    ExifFormatLong = 4,
    ExifFormatRational = 5,
    ExifFormatSignedByte = 6,
    ExifFormatUndefined = 7,
    ExifFormatSignedShort = 8,
    ExifFormatSignedLong = 9,
    ExifFormatSignedRational = 10,
    ExifFormatFloat = 11,
    ExifFormatDouble = 12,
};

constexpr int ExifLastFormat = ExifFormatDouble;

// Bytes per component of a format code 0..12 (code 0 counts 0 bytes).
unsigned ExifBytesPerFormat(int format);

// Truncates toward zero; NaN gives 0 and values outside the range saturate.
int32_t ExifToInt32(double value);

// Narrows to float; values beyond the float range saturate instead of overflowing.
float ExifToFloat(double value);

// Copies at most maxChars characters of a value of `size` bytes, stopping at a zero byte, and
// ends the text with a zero. `dest` must hold maxChars + 1 characters.
void ExifCopyText(char *dest, size_t maxChars, const uint8_t *value, size_t size);

// Inches per unit of a ResolutionUnit / FocalPlaneResolutionUnit value; false for an unknown
// unit (the field then keeps its value).
bool ExifInchesPerUnit(int32_t unit, float *inches);
