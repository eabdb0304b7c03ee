#include "pdf/QuotedName.h"

#include <cstdio>

namespace folvane {

namespace {

// The length of the well-formed UTF-8 character at `at` that is no control character, or 0.
std::size_t printableLength(const std::string &text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x20 || lead == 0x7f) {
        return 0;
    }
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = lead >= 0xc2 && lead < 0xe0   ? 2
                         : lead >= 0xe0 && lead < 0xf0 ? 3
                         : lead >= 0xf0 && lead < 0xf5 ? 4
                                                       : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    unsigned long code = lead & (0xff >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xc0) != 0x80) {
            return 0;
        }
        code = code << 6 | (next & 0x3f);
    }
    // Overlong forms, surrogates, beyond Unicode, and the C1 controls.
    static const unsigned long kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || (code >= 0xd800 && code < 0xe000) || code > 0x10ffff ||
        code < 0xa0) {
        return 0;
    }
    return length;
}

// A byte as $'...' writes it.
std::string escaped(unsigned char byte) {
    switch (byte) {
    case '\a':
        return "\\a";
    case '\b':
        return "\\b";
    case '\t':
        return "\\t";
    case '\n':
        return "\\n";
    case '\v':
        return "\\v";
    case '\f':
        return "\\f";
    case '\r':
        return "\\r";
    default:
        char octal[8];
        std::snprintf(octal, sizeof octal, "\\%03o", byte);
        return octal;
    }
}

} // namespace

std::string quotedName(const std::string &name) {
    bool plain = true;
    for (std::size_t at = 0; at < name.size() && plain;) {
        const std::size_t length = printableLength(name, at);
        plain = length > 0;
        at += length;
    }
    if (plain) {
        return name;
    }
    std::string quoted;
    bool open = false; // inside '...'
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = printableLength(name, at);
        if (length == 0) {
            quoted += open ? "'$'" : "$'";
            quoted += escaped(static_cast<unsigned char>(name[at])) + "'";
            open = false;
            ++at;
            continue;
        }
        if (!open) {
            quoted += '\'';
            open = true;
        }
        quoted += name[at] == '\'' ? std::string("'\\''") : name.substr(at, length);
        at += length;
    }
    if (open) {
        quoted += '\'';
    }
    return quoted;
}

Problem withQuotedNames(const Problem &problem) {
    Problem named = problem;
    named.file = quotedName(problem.file);
    if (problem.kind == Problem::Kind::OutputIsInput) {
        named.item = quotedName(problem.item);
    }
    return named;
}

} // namespace folvane
