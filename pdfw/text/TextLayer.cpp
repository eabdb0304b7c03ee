#include "pdfw/text/TextLayer.h"

#include <algorithm>
#include <cmath>

#include "pdfw/output/ObjectWriter.h"
#include "pdfw/text/GlyphlessFont.h"
#include "pdfw/text/TextEncoding.h"

namespace folvane::pdfw {

namespace {

// Thousandths of a point are finer than any viewer's selection.
std::string number(double value) {
    return pdfNumber(static_cast<float>(std::round(value * 1000) / 1000));
}

// Chinese, Japanese and Korean characters and their punctuation: text set without blanks.
bool isCjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

bool sameLine(const folvane::ocr::Word &a, const folvane::ocr::Word &b) {
    return a.line.left == b.line.left && a.line.top == b.line.top && a.line.right == b.line.right &&
           a.line.bottom == b.line.bottom;
}

// How a word runs on: to the next word of its line, with a blank between Latin words (so
// that readers see a word break and copy a space) and none between Chinese characters (so
// that a search for a phrase finds it across the recogniser's word boundaries).
struct Span {
    int right = 0;      // pixel x where the word's advance ends
    bool blank = false; // a space follows the word
};

Span spanOf(const std::vector<folvane::ocr::Word> &words, std::size_t i) {
    const folvane::ocr::Word &word = words[i];
    Span span{word.box.right, false};
    if (i + 1 >= words.size() || !sameLine(word, words[i + 1])) {
        return span;
    }
    std::u32string here = decodeUtf8(word.text);
    std::u32string next = decodeUtf8(words[i + 1].text);
    if (here.empty() || next.empty()) {
        return span;
    }
    // Up to the next word, also when the recogniser's box reaches over it: a word stretched
    // over its neighbour is read as a line of its own, out of order.
    if (words[i + 1].box.left > word.box.left) {
        span.right = words[i + 1].box.left;
    }
    span.blank = !(isCjk(here.back()) && isCjk(next.front()));
    return span;
}

// The text matrix that puts a word of `count` glyphs on its baseline, its glyphs' ascent at
// the top of its line and its advance reaching from the box's left to `right`. Returns ""
// for a word with no extent.
std::string wordMatrix(const folvane::ocr::Word &word, int right, std::size_t count, int pageHeight,
                       const TextPlacement &at) {
    auto pageX = [&](double px) { return at.x + px * at.scale; };
    auto pageY = [&](double py) { return at.y + (pageHeight - py) * at.scale; };
    double slope =
        word.box.width() > 0
            ? static_cast<double>(word.baselineRight - word.baselineLeft) / word.box.width()
            : 0.0;
    double baselineAtRight = word.baselineLeft + slope * (right - word.box.left);
    double x0 = pageX(word.box.left), y0 = pageY(word.baselineLeft);
    double dx = pageX(right) - x0, dy = pageY(baselineAtRight) - y0;
    double length = std::hypot(dx, dy);
    int top = std::min(word.line.top, word.box.top);
    double above = (word.baselineLeft + word.baselineRight) / 2.0 - top;
    if (above <= 0) {
        above = word.box.height();
    }
    double size = above * std::abs(at.scale) * 1000.0 / kGlyphAscent;
    if (!(length > 0) || !(size > 0) || count == 0) {
        return "";
    }
    double ux = dx / length, uy = dy / length;
    double across = length * 1000.0 / (kGlyphAdvance * static_cast<double>(count));
    return number(ux * across) + " " + number(uy * across) + " " + number(-uy * size) + " " +
           number(ux * size) + " " + number(x0) + " " + number(y0) + " Tm";
}

} // namespace

std::string textLayerContent(const folvane::ocr::PageText &text, const TextPlacement &placement,
                             TextEncoding &encoding, const std::string &fontName) {
    std::string words;
    for (std::size_t i = 0; i < text.words.size(); ++i) {
        const folvane::ocr::Word &word = text.words[i];
        Span span = spanOf(text.words, i);
        std::size_t count = 0;
        std::string codes = encoding.encode(span.blank ? word.text + " " : word.text, count);
        std::string matrix = wordMatrix(word, span.right, count, text.height, placement);
        if (!matrix.empty()) {
            words += matrix + "<" + codes + ">Tj\n";
        }
    }
    if (words.empty()) {
        return "";
    }
    return "q\nBT\n3 Tr\n" + fontName + " 1 Tf\n" + words + "ET\nQ\n";
}

} // namespace folvane::pdfw
