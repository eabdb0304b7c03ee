// Recognising the text of an image being prepared, on the thread that prepares it: the
// pipeline's workers, or the caller's thread for an image nobody announced.
#pragma once

#include <memory>

#include <string>

#include "ocr/OcrError.h"
#include "ocr/PageText.h"
#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/PagePixels.h"
#include "pdfw/core/Problem.h"

namespace folvane::pdfw {

// The words of `pixels`, page `request.page` of `request.path`, in `request.ocrLanguages`.
// Each thread keeps one engine, loaded at its first page and reused for the next ones (loading
// costs about as much as recognising a page); it is dropped when the thread ends. Raises
// PDFW_RUNTIME_ERROR naming the file when recognition fails (languages gone since they were
// checked, a page the engine refuses).
std::shared_ptr<const folvane::ocr::PageText> recognizeImage(const PagePixels &pixels,
                                                             const ImageRequest &request);

// The problem of a recognition failure, about `file` ("" for none).
Problem recognitionProblem(const folvane::ocr::OcrError &error, const std::string &file);

} // namespace folvane::pdfw
