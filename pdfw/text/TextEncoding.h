// The character codes of the invisible text: two bytes per character. A character of the
// Basic Multilingual Plane is its own code; characters beyond it get the codes D800 to DFFF
// (which stand for no character themselves) in the order they first appear in the document.
// The ToUnicode map written at the end gives every code its character back.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace folvane::pdfw {

class TextEncoding {
public:
    // The codes of UTF-8 `text`, two bytes each, as PDF hexadecimal digits (no brackets).
    // Malformed bytes, and characters beyond the 2048 codes for other planes, become U+FFFD.
    // Sets `count` to the number of characters.
    std::string encode(const std::string &text, std::size_t &count);

    // The ToUnicode CMap of every code handed out so far.
    std::string toUnicodeCMap() const;

private:
    std::uint16_t codeFor(char32_t character);

    std::map<char32_t, std::uint16_t> otherPlanes_;
};

// The Unicode characters of UTF-8 `text`; malformed sequences, surrogates and values beyond
// U+10FFFF each become U+FFFD.
std::u32string decodeUtf8(const std::string &text);

} // namespace folvane::pdfw
