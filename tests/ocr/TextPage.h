// Pages of known text drawn at 300 dpi with the Noto CJK font, for recognition tests and the
// benchmark: the grey pixels, the text, and where each word was drawn.
#pragma once

#include <string>
#include <vector>

namespace ocr_test {

struct DrawnWord {
    std::string text;
    int left = 0; // pixels, top left origin, right and bottom one past the word
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct TextPage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> grey; // width * height, 0 black, rows top first
    std::vector<DrawnWord> words;    // one per blank-separated word of each line
};

// Draws `lines` in black on white, `pointSize` points high at 300 dpi, from a margin of half
// an inch. Needs a Qt GUI application (the offscreen platform does).
TextPage drawTextPage(const std::vector<std::string> &lines, int width, int height,
                      double pointSize);

// The stored rows of `page` for EXIF orientation 6: turned a quarter anticlockwise, so that
// a viewer turning them a quarter clockwise shows the page upright.
std::vector<unsigned char> turnedForOrientation6(const TextPage &page);

// Starts the one Qt GUI application of the test program on the offscreen platform.
void ensureGuiApplication();

} // namespace ocr_test
