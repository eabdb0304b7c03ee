// Writes a bilevel fax page again as Group 4 with libtiff's own encoder, from libtiff's reading
// of it: for pages whose data PDF readers would decode differently from libtiff.
#pragma once

#include "pdfw/core/Memory.h"
#include "pdfw/tiff/TiffFile.h"

namespace folvane::pdfw {

// The page's Group 4 data (most significant bit first), same size and photometric
// interpretation, one strip. Raises PDFW_SYNTAX_ERROR naming the file when libtiff reads the
// page's data only with warnings or errors: then there is no reading to trust.
Buffer recodeFaxPage(TiffFile &tiff, const MemoryProcs &memory);

} // namespace folvane::pdfw
