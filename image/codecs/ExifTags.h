// The EXIF tags the reader uses: for each one its number, its name, the ExifRecord field its
// value goes to and how the value is converted on the way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>

#include "image/ExifRecord.h"

enum class ExifConversion {
    Text,            // copied into a text field, up to its size
    UserComment,     // into comment, after the character-code prefix
    SubDirectory,    // a link to a further directory, which is walked
    Number,          // a float field
    Integer,         // an int32 field, truncated toward zero
    PictureNumber,   // a float field; the thumbnail's directory does not count
    PictureUnit,     // inches per unit; the thumbnail's directory does not count
    Unit,            // inches per unit
    Orientation,     // only checked: a value outside 1..8 is noted
    Iso,             // ISO speed, or the ISO divided by 200 as some cameras store it
    ApexShutter,     // exposure time from a shutter speed value, unless one is known
    ApexAperture,    // f-number from an aperture value, unless one is known
    FlashFired,      // 1 when the flash fired
    ImageDimension,  // the largest picture dimension seen (for the sensor width)
    ThumbnailOffset, // where the thumbnail starts in the block
    ThumbnailLength,
};

// A text field of ExifRecord: its offset in the record and its size with the final zero.
struct ExifTextField {
    size_t offset;
    size_t size;
};

using ExifField =
    std::variant<std::monostate, float ExifRecord::*, int32_t ExifRecord::*, ExifTextField>;

struct ExifTag {
    uint16_t tag;
    const char *name;
    ExifField field;
    ExifConversion conversion;
};

// The rule of a tag, or null for a tag the reader does not use.
const ExifTag *findExifTag(uint16_t tag);
