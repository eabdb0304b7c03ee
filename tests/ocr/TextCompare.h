// Comparing recognised text with the text that was drawn.
#pragma once

#include <string>

namespace ocr_test {

// The characters of UTF-8 `text` without blanks and line breaks: layouts differ in where they
// put spaces (Chinese has none), not in what the characters are.
std::u32string withoutBlanks(const std::string &text);

// Edits (insertions, deletions, substitutions) that turn `found` into `expected`, divided by
// the length of `expected`; blanks are ignored on both sides.
double characterErrorRate(const std::string &expected, const std::string &found);

} // namespace ocr_test
