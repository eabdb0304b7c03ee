// Prepares one image file for the document: reads it, decides its kind by content, checks,
// decodes and compresses it as its kind needs. Preparing touches no document, so it may run
// on any thread; the document's writer then puts the result in (PreparedWriter).
#pragma once

#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/PreparedImage.h"

namespace folvane::pdfw {

// Raises PDFW_IO_ERROR when the file cannot be read, PDFW_TYPE_ERROR when it is not JPEG, TIFF
// or PNG, and the errors of the readers; with languages, recognises the text as well
// (recognizeImage).
PreparedImage prepareImage(const ImageRequest &request);

} // namespace folvane::pdfw
