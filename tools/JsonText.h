// Building one JSON object as text: quoted strings with every byte escaped safely, numbers,
// booleans and null. Header-only so that tests can use it directly.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace folvane::tools::json {

// Length of the valid UTF-8 sequence at the start of text, or 0 when it is not one
// (overlong forms, surrogates and code points above U+10FFFF count as invalid).
inline size_t utf8SequenceLength(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    uint32_t min = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        code = code << 6 | (byte(i) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

// text as a JSON string literal. Valid UTF-8 passes through; every byte that is not part of
// a valid sequence becomes \u00XX (the byte's value as a Latin-1 character), so any input
// gives valid JSON and no byte is lost from view.
inline std::string quote(std::string_view text) {
    std::string out = "\"";
    char escape[8];
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const size_t length = utf8SequenceLength(text.substr(i));
            if (length != 0) {
                out.append(text.substr(i, length));
                i += length;
                continue;
            }
            snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += char(c);
        }
        ++i;
    }
    out += '"';
    return out;
}

// A fixed-size character field that need not be NUL-terminated.
template <size_t N> std::string_view field(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}

// A float as text that reads back as the same float; null when not finite.
inline std::string number(float value) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char text[32];
    snprintf(text, sizeof text, "%.9g", double(value));
    return text;
}

inline std::string number(long long value) {
    return std::to_string(value);
}

// Appends "key":value pairs to one object.
class Object {
public:
    Object &raw(std::string_view key, std::string_view value) {
        text_ += text_.empty() ? "{" : ",";
        text_ += quote(key);
        text_ += ':';
        text_ += value;
        return *this;
    }
    Object &string(std::string_view key, std::string_view value) { return raw(key, quote(value)); }
    Object &integer(std::string_view key, long long value) { return raw(key, number(value)); }
    Object &real(std::string_view key, float value) { return raw(key, number(value)); }
    Object &boolean(std::string_view key, bool value) { return raw(key, value ? "true" : "false"); }
    Object &null(std::string_view key) { return raw(key, "null"); }
    std::string text() const { return text_.empty() ? "{}" : text_ + "}"; }

private:
    std::string text_;
};

} // namespace folvane::tools::json
