// How many pages an image file holds, so that the caller can place every page of a TIFF.
#pragma once

namespace pdfw {

// The pages of a TIFF (its image directories), 1 for every other file. Raises
// PDFW_VALUE_ERROR for a null or empty name, PDFW_IO_ERROR when the file cannot be opened or
// read, PDFW_SYNTAX_ERROR for a TIFF that libtiff refuses.
int countPages(const char *filename);

} // namespace pdfw
