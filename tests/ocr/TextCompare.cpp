#include "tests/ocr/TextCompare.h"

#include <algorithm>
#include <vector>

namespace ocr_test {

std::u32string withoutBlanks(const std::string &text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t code = extra ? c & (0x3F >> extra) : c;
        for (int k = 1; k <= extra && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        i += 1 + extra;
        if (code != ' ' && code != '\n' && code != '\r' && code != '\t' && code != '\f' &&
            code != 0x3000) {
            out += code;
        }
    }
    return out;
}

double characterErrorRate(const std::string &expected, const std::string &found) {
    std::u32string a = withoutBlanks(expected);
    std::u32string b = withoutBlanks(found);
    if (a.empty()) {
        return b.empty() ? 0.0 : 1.0;
    }
    std::vector<std::size_t> previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        previous[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t substitute = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, substitute});
        }
        std::swap(previous, current);
    }
    return static_cast<double>(previous[b.size()]) / a.size();
}

} // namespace ocr_test
