#pragma once

#include <optional>
#include <string>

#include "pdf/ImageFacts.h"
#include "pdf/PageGeneration.h"
#include "pdf/PageLayout.h"

// The one line the list shows over a checked row: the file's kind, its upright size, how it
// goes into the PDF and its page count ("JPEG 3264x2448, 原样嵌入, 1 页"), with the share of the
// image the chosen class cuts off at the page edge ("64% 超出页面") where it cuts any; for a file
// that cannot be used, the reason it cannot. A page the user turned (`quarterTurns` clockwise)
// has its turned size and says how it was turned ("已向右旋转"). A page document correction will
// flatten (`corrected`) says so instead of how the file goes in, and is never cut: it fills its
// paper. A page the user cropped has the size of its crop and says so ("已裁剪"); a crop that no
// longer fits the file is not counted. A page of a PDF says only that it is copied as it is,
// with its file's page count ("PDF, 12 页, 原样复制"), and how it was turned and cropped.
std::string rowCheckText(const folvane::ImageFacts &facts, const folvane::PageLayout &layout,
                         int quarterTurns = 0, bool corrected = false,
                         const std::optional<folvane::CropRect> &crop = std::nullopt);
