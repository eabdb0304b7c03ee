// One row of the window's list: a page the user shapes, with what the program found out about it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/FileStamp.h"
#include "app/SheetCheck.h"
#include "pdf/ImageFacts.h"
#include "pdf/PageGeneration.h"

// A row's identity for as long as the window is open: two rows of the same file are two pages.
using PageId = std::uint64_t;
inline constexpr PageId kNoPage = 0;

// Where a page comes from: a file, and which of its pages (none: every page of the file, as a
// TIFF of several pages is added).
struct PageSource {
    std::string path;
    std::optional<int> page;
};

using folvane::CropRect;

// What the user changed about a page.
struct PageEdits {
    int quarterTurns = 0; // clockwise, 0 to 3
    std::optional<CropRect> crop;
    bool correction = true; // "文档校正" applies to this page while it is checked
    bool operator==(const PageEdits &) const = default;
};

// The part of a page the user's commands change: undo and redo give it back as it was.
struct PageShape {
    std::optional<folvane::SheetCorners> handCorners;
    PageEdits edits;
    bool operator==(const PageShape &) const = default;
};

struct Page {
    PageId id = kNoPage;
    PageSource source;
    std::optional<folvane::ImageFacts> facts; // the pre-flight's, once it has run
    FileStamp checkedFile;                    // the file as the pre-flight found it
    std::optional<SheetCheck> sheet;          // the sheet search's, once it has run
    std::optional<bool> blank; // the blank-page rule's verdict on a row of one page, once given
    PageShape shape;
};
