// What the file and the in-memory encoder share: libtiff's options with the first error kept,
// and the tags of a one-strip Group 4 page.
#pragma once

#include <string>

#include <tiffio.h>

#include "group4/Group4Page.h"

namespace folvane::group4 {

// Open options whose error handler keeps libtiff's first error in `error` and whose warning
// handler drops warnings (the rows are ours, a warning is about nothing the caller can mend).
// Null when out of memory; free with TIFFOpenOptionsFree.
TIFFOpenOptions *openOptionsKeepingError(std::string &error);

// Sets the tags of `page` as one strip of Group 4 data; false when libtiff refuses one.
bool setGroup4Tags(TIFF *tiff, const Group4Page &page);

} // namespace folvane::group4
