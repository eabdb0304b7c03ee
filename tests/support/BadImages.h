// Broken and hostile picture files, one of each kind a user may hand the program, for the
// bad-input tests of every front end.
#pragma once

#include <string>
#include <vector>

#include "tests/support/Bytes.h"

namespace support {

struct BadImage {
    const char *label; // a test name
    const char *name;  // the file's name
    Bytes (*make)();   // the file's bytes; nullptr: the file does not exist
    // The headers are whole and a decoder may show part of the picture.
    bool somePixelsReadable;
};

// Missing, empty, a truncated JPEG, a GIF named .jpg, a JPEG claiming 60000 x 60000 pixels,
// a TIFF whose strip lies past the end of the file, JPEGs whose frame header claims 65535
// pixels a side or twice the pixels of its data, a TIFF page whose strip is stored too short.
const std::vector<BadImage> &BadImages();

// Writes the bad image into `folder` (nothing for the missing one); returns its path.
std::string PlaceBadImage(const BadImage &image, const std::string &folder);

} // namespace support
