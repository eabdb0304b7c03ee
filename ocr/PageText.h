// What recognition finds on a page: its words, each with its place on the upright picture.
#pragma once

#include <string>
#include <vector>

namespace folvane::ocr {

// Pixels of the upright picture, x to the right and y down from the top left corner; right
// and bottom are one past the last pixel.
struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct Word {
    std::string text; // UTF-8, no blanks
    Box box;
    Box line;              // the text line the word belongs to
    int baselineLeft = 0;  // y of the baseline at box.left
    int baselineRight = 0; // y of the baseline at box.right
    float confidence = 0;  // 0 to 100
};

struct PageText {
    int width = 0; // the upright picture, in pixels
    int height = 0;
    std::vector<Word> words; // in reading order
};

} // namespace folvane::ocr
