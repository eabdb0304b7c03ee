// Whether document correction will find the sheet in a row's photo: the sheet search run on a
// reduced decode of the file, for the pre-flight's tool tip and as the corner editor's start.
#pragma once

#include <string>

#include "app/CorrectionPixels.h"
#include "pdf/PageGeneration.h"

struct SheetCheck {
    bool searched = false; // false: the file could not be decoded for the search
    bool found = false;
    bool twoSheets = false; // sheets side by side were seen: the photo goes in as it is
    bool spread = false;    // the sheet is an open book's two pages, split when books are split
    folvane::SheetCorners corners{}; // the sheet's, in the file's full-size upright pixels
};

// Decodes path no larger than a search needs and looks for the sheet in it. Safe on any
// thread; never throws.
SheetCheck findSheetInFile(const std::string &path);

// Whether the sheet `corners` (full-size pixels) outline in `pixels` is an open book's spread.
bool isSpreadWithin(const CorrectionPixels &pixels, const folvane::SheetCorners &corners);

// The tool tip's words for a check ("已找到纸张" or "未找到纸张，将按原样放入"), or for corners
// the user placed; "" for a file that could not be searched.
std::string sheetCheckText(const SheetCheck &check, bool placedByHand);
