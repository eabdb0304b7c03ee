// Rows of existing PDFs in the window's list: one row for each page, which goes into the PDF as
// the page it is (its objects copied, never drawn into a picture). A PDF row's size, turn and
// crop are in points: one point is one pixel of the page drawn at 72 dpi.
#pragma once

#include <optional>
#include <string>

#include "app/CropRequest.h"
#include "app/PreviewPicture.h"
#include "pdf/ImageFacts.h"

// The "kind" ImageFacts give a page of a PDF.
inline constexpr const char *kPdfKind = "PDF";

// Whether the list takes the file for a PDF: its name ends with ".pdf", in any case.
bool isPdfName(const std::string &path);

// Page `page` (1-based) of the PDF at path, opened with password ("" for none), told as the
// pre-flight tells an image: kind "PDF", the file's page count, the page's turned size in points
// (rounded), copied as it is; or the reason it cannot be used (a password missing or wrong, a
// damaged file, no such page).
folvane::ImageFacts inspectPdfPage(const std::string &path, int page, const std::string &password);

// What the list's file column shows for page `page` of a PDF of `pages` pages:
// "/文件夹/合同.pdf 第 3/12 页".
std::string pdfRowText(const std::string &path, int page, int pages);

// The page drawn for the preview into client, turned `quarterTurns` clockwise after its own
// rotation, showing only `crop` (points of the turned page) when it fits. The picture's upright
// size is in points. False when the page cannot be drawn.
bool loadPdfPreviewPicture(const std::string &path, int page, const std::string &password,
                           const UiRect &client, PreviewPicture &picture, int quarterTurns = 0,
                           const std::optional<folvane::CropRect> &crop = std::nullopt);

// The page turned as its row has it, for the crop editor; its full size is in points.
bool loadPdfCropPicture(const std::string &path, int page, const std::string &password,
                        int quarterTurns, CropPicture &picture);
