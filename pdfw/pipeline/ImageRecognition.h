// Recognising the text of an image being prepared, on the thread that prepares it: the
// pipeline's workers, or the caller's thread for an image nobody announced.
#pragma once

#include <memory>

#include "ocr/PageText.h"
#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/PreparedImage.h"

namespace pdfw {

// The words of page `request.page` of `request.path`, in `request.ocrLanguages`. Each thread
// keeps one engine, loaded at its first page and reused for the next ones (loading costs
// about as much as recognising a page); it is dropped when the thread ends. Raises
// PDFW_RUNTIME_ERROR naming the file when recognition fails (languages gone since they were
// checked, a page the engine refuses), and the readers' errors for a file that cannot be read.
std::shared_ptr<const ocr::PageText> recognizeImage(const ImageRequest &request);

} // namespace pdfw
