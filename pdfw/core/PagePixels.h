// A page's picture as the steps after reading see it (text recognition): stored rows, grey or
// bilevel, with how they are shown upright and the resolution to assume.
#pragma once

#include "ocr/PageImage.h"
#include "pdfw/core/Memory.h"

namespace folvane::pdfw {

// Resolution assumed for a scan that states none.
inline constexpr int kScanDpi = 300;

struct PagePixels {
    Buffer rows;
    folvane::ocr::PageImage image; // its rows point into `rows`
    int reduction = 1;             // the stored picture is this many times the size of `image`
    int storedWidth = 0;           // the stored picture's size when reduced
    int storedHeight = 0;
};

} // namespace folvane::pdfw
