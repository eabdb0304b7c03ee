// The invisible text over a page's picture: each recognised word drawn in the glyphless font
// with text render mode 3 (neither filled nor stroked), on its box and stretched to its
// width, so that viewers find, select and copy it where the word shows in the picture.
#pragma once

#include <string>

#include "ocr/PageText.h"

namespace folvane::pdfw {

class TextEncoding;

// Where the upright picture the words were found on lies on the page: its lower left corner
// and the points per pixel.
struct TextPlacement {
    float x = 0;
    float y = 0;
    float scale = 1;
};

// Content stream operators that draw `text`'s words, one text object in its own graphics
// state, with font resource `fontName` ("/FT"); "" when there is no word.
std::string textLayerContent(const folvane::ocr::PageText &text, const TextPlacement &placement,
                             TextEncoding &encoding, const std::string &fontName);

} // namespace folvane::pdfw
