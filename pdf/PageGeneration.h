#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace folvane {

// Scale for a resolution class 0..5 (any other value: the smallest).
float ScaleForImageType(int imageType);

// Engine image type for a path: "jpeg", "tiff", or "auto" when the path holds none of the four
// substrings ".jpg", ".JPG", ".tif", ".TIF" (tried in that order; an occurrence only counts when
// it does not start the path). "auto" lets the engine decide by the file's content.
const char *ImageTypeForPath(const std::string &path);

// Writes one A4 page per image, in order (steps 5 to 11 of the generate command: construct the
// binding, compatibility "1.4", open, pages, close; afterClose runs after a successful close and
// before the binding object is destroyed — the window shows its success box there). Throws what
// the binding throws (PdfWriter::Exception and subclasses), or const char* "打开文件出错!" when the
// open returns -1. onPage (optional) is told each page index before it is begun, for progress.
void GeneratePdf(const std::string &savePath, const std::vector<std::string> &imagePaths,
                 int imageType, const std::function<void()> &afterClose = {},
                 const std::function<void(size_t)> &onPage = {});

} // namespace folvane
