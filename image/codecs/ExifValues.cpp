#include "image/codecs/ExifValues.h"

#include <cfloat>
#include <cmath>
#include <cstring>

unsigned exifBytesPerFormat(int format) {
    static const unsigned sizes[kExifLastFormat + 1] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    if (format < 0 || format > kExifLastFormat) {
        return 0;
    }
    return sizes[format];
}

int32_t exifToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return INT32_MAX;
    }
    if (value <= -2147483648.0) {
        return INT32_MIN;
    }
    return static_cast<int32_t>(value);
}

float exifToFloat(double value) {
    if (value > FLT_MAX) {
        return FLT_MAX;
    }
    if (value < -FLT_MAX) {
        return -FLT_MAX;
    }
    return static_cast<float>(value);
}

void exifCopyText(char *dest, size_t maxChars, const uint8_t *value, size_t size) {
    size_t n = 0;
    while (n < maxChars && n < size && value[n] != 0) {
        dest[n] = static_cast<char>(value[n]);
        ++n;
    }
    dest[n] = '\0';
}

bool exifInchesPerUnit(int32_t unit, float *inches) {
    switch (unit) {
    case 1:
    case 2:
        *inches = 1.0f;
        return true;
    case 3:
        *inches = 0.3937007784843445f;
        return true;
    case 4:
        *inches = 0.03937007859349251f;
        return true;
    case 5:
        *inches = 3.937007932108827e-05f;
        return true;
    default:
        return false;
    }
}
