// The table of input formats (one record each, defined by its reader room) and the questions
// asked of it: which format a file holds, how many pages it has, whether a page exists.
#pragma once

#include <string>

#include "pdfw/core/ImageFormat.h"
#include "pdfw/core/InputFile.h"

namespace folvane::pdfw {

// The record of the format the file holds, told by its first bytes; null when no format
// knows them.
const ImageFormat *formatOf(const InputFile &file);

// The same, raising PDFW_TYPE_ERROR (PDFW_PROBLEM_NOT_AN_IMAGE) for a file of no known format.
const ImageFormat &requireFormat(const InputFile &file);

// The pages of the file (>= 1).
int pagesOf(const ImageFormat &format, const InputFile &file);

// Raises PDFW_VALUE_ERROR (PDFW_PROBLEM_NO_SUCH_PAGE) for a page past the only one of a
// one-page format; a format of several pages checks its own.
void checkPage(const ImageFormat &format, const InputFile &file, int page);

} // namespace folvane::pdfw
