// What a document property (title, author, subject, keywords) may hold: UTF-8 text of at most
// kMaxDocumentTextCharacters characters, none of them a control character. The window,
// folvane-pdf and the PDF engine all judge a property by this one rule, so that a viewer never
// shows a title as garbage.
#pragma once

#include <cstddef>
#include <string_view>

namespace folvane {

// Characters (not bytes) a property may hold: a long title with its subtitle fits many times.
inline constexpr std::size_t kMaxDocumentTextCharacters = 1000;

enum class DocumentTextFault {
    None,
    InvalidUtf8,      // a byte sequence that is not UTF-8 (overlong, a surrogate, cut short, ...)
    ControlCharacter, // a C0 or C1 control character, or DEL (a line break or tab included)
    TooLong,          // more than kMaxDocumentTextCharacters characters
};

// Decodes the UTF-8 character at `at` of `text` into `code` and returns its length in bytes;
// 0 when the bytes there are no well-formed UTF-8 character.
constexpr std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t &code) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = lead < 0x80   ? 1
                         : lead < 0xC2 ? 0
                         : lead < 0xE0 ? 2
                         : lead < 0xF0 ? 3
                         : lead < 0xF5 ? 4
                                       : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode's last.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return 0;
    }
    return length;
}

constexpr bool isControlCharacter(char32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

// The first fault of `text` as a document property, in the order the enumeration lists them.
constexpr DocumentTextFault documentTextFaultOf(std::string_view text) {
    std::size_t characters = 0;
    bool control = false;
    for (std::size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const std::size_t length = decodeUtf8(text, at, code);
        if (length == 0) {
            return DocumentTextFault::InvalidUtf8;
        }
        control = control || isControlCharacter(code);
        ++characters;
        at += length;
    }
    if (control) {
        return DocumentTextFault::ControlCharacter;
    }
    return characters > kMaxDocumentTextCharacters ? DocumentTextFault::TooLong
                                                   : DocumentTextFault::None;
}

} // namespace folvane
