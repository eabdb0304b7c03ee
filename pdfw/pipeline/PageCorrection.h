// Document correction of a page as it is prepared: the page's picture through the correction
// library, then written as a corrected page. A photo in which no sheet is found is not cropped
// at a guess: it goes in as it is, with a note saying so.
#pragma once

#include <vector>

#include "pdfw/core/ImageFormat.h"
#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/InputFile.h"
#include "pdfw/core/PagePixels.h"
#include "pdfw/core/PreparedImage.h"
#include "pdfw/core/Problem.h"

namespace folvane::pdfw {

struct CorrectedPart {
    PreparedImage image; // the corrected page
    PagePixels text;     // the page as recognition reads it, when asked for
};

struct PageCorrection {
    // The corrected page, or an open book's two pages in reading order; empty: the page goes in
    // as it is.
    std::vector<CorrectedPart> pages;
    Notes notes; // why a page goes in as it is
};

// Corrects page `request.page` of `file`, of format `format`, as `request.correction` says.
PageCorrection correctForDocument(const ImageFormat &format, const InputFile &file,
                                  const ImageRequest &request);

} // namespace folvane::pdfw
