#include "pdfw/text/TextEncoding.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace folvane::pdfw {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr std::uint16_t kFirstExtraCode = 0xD800;
constexpr std::uint16_t kLastExtraCode = 0xDFFF;

bool isSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void appendHex4(std::string &out, unsigned value) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", value & 0xFFFF);
    out += digits;
}

// UTF-16 of a character beyond the Basic Multilingual Plane, as hexadecimal digits.
std::string utf16Pair(char32_t c) {
    char32_t v = c - 0x10000;
    std::string out;
    appendHex4(out, 0xD800 + (v >> 10));
    appendHex4(out, 0xDC00 + (v & 0x3FF));
    return out;
}

} // namespace

std::u32string decodeUtf8(const std::string &text) {
    std::u32string out;
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80                   ? 0
                    : lead >= 0xC2 && lead < 0xE0 ? 1
                    : lead >= 0xE0 && lead < 0xF0 ? 2
                    : lead >= 0xF0 && lead < 0xF5 ? 3
                                                  : -1;
        if (extra < 0 || text.size() - i <= static_cast<std::size_t>(extra)) {
            out += kReplacement;
            ++i;
            continue;
        }
        char32_t c = extra == 0 ? lead : lead & (0x7F >> (extra + 1));
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (!valid || c < kSmallest[extra] || c > 0x10FFFF || isSurrogate(c)) {
            out += kReplacement;
            ++i;
            continue;
        }
        out += c;
        i += 1 + extra;
    }
    return out;
}

std::uint16_t TextEncoding::codeFor(char32_t c) {
    if (c < 0x10000) {
        return static_cast<std::uint16_t>(c);
    }
    auto found = otherPlanes_.find(c);
    if (found != otherPlanes_.end()) {
        return found->second;
    }
    std::size_t used = otherPlanes_.size();
    if (used > static_cast<std::size_t>(kLastExtraCode - kFirstExtraCode)) {
        return static_cast<std::uint16_t>(kReplacement);
    }
    auto code = static_cast<std::uint16_t>(kFirstExtraCode + used);
    otherPlanes_.emplace(c, code);
    return code;
}

std::string TextEncoding::encode(const std::string &text, std::size_t &count) {
    std::u32string characters = decodeUtf8(text);
    std::string hex;
    hex.reserve(characters.size() * 4);
    for (char32_t c : characters) {
        appendHex4(hex, codeFor(c));
    }
    count = characters.size();
    return hex;
}

std::string TextEncoding::toUnicodeCMap() const {
    // Code ranges may only differ in their last byte: one range per high byte, the
    // surrogate area (the codes of other planes) left to single entries.
    std::vector<std::string> ranges;
    for (unsigned high = 0; high < 0x100; ++high) {
        if (high >= 0xD8 && high <= 0xDF) {
            continue;
        }
        std::string range = "<";
        appendHex4(range, high << 8);
        range += "><";
        appendHex4(range, (high << 8) | 0xFF);
        range += "><";
        appendHex4(range, high << 8);
        range += ">\n";
        ranges.push_back(range);
    }
    std::string cmap = "/CIDInit/ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                       "/CIDSystemInfo<</Registry(Adobe)/Ordering(UCS)/Supplement 0>>def\n"
                       "/CMapName/Adobe-Identity-UCS def\n/CMapType 2 def\n"
                       "1 begincodespacerange\n<0000><FFFF>\nendcodespacerange\n";
    for (std::size_t i = 0; i < ranges.size(); i += 100) {
        std::size_t n = std::min<std::size_t>(100, ranges.size() - i);
        cmap += std::to_string(n) + " beginbfrange\n";
        for (std::size_t k = i; k < i + n; ++k) {
            cmap += ranges[k];
        }
        cmap += "endbfrange\n";
    }
    std::vector<std::pair<std::uint16_t, char32_t>> extra;
    for (const auto &[character, code] : otherPlanes_) {
        extra.emplace_back(code, character);
    }
    std::sort(extra.begin(), extra.end());
    for (std::size_t i = 0; i < extra.size(); i += 100) {
        std::size_t n = std::min<std::size_t>(100, extra.size() - i);
        cmap += std::to_string(n) + " beginbfchar\n";
        for (std::size_t k = i; k < i + n; ++k) {
            cmap += "<";
            appendHex4(cmap, extra[k].first);
            cmap += "><" + utf16Pair(extra[k].second) + ">\n";
        }
        cmap += "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict/CMap defineresource pop\nend\nend\n";
    return cmap;
}

} // namespace folvane::pdfw
