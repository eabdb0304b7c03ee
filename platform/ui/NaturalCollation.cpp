#include "platform/ui/NaturalCollation.h"

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

unsigned char Folded(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// The digit run starting at text[at], without its leading zeros; at moves past the run.
std::string_view DigitRun(std::string_view text, std::size_t &at) {
    while (at < text.size() && text[at] == '0') {
        ++at;
    }
    const std::size_t start = at;
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return text.substr(start, at - start);
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

int NaturalCollation::Compare(std::string_view a, std::string_view b) const {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            // Numbers of any length: a longer run without leading zeros is the larger number.
            const std::string_view x = DigitRun(a, i);
            const std::string_view y = DigitRun(b, j);
            if (x.size() != y.size()) {
                return x.size() < y.size() ? -1 : 1;
            }
            if (const int digits = x.compare(y); digits != 0) {
                return Sign(digits);
            }
            continue;
        }
        const unsigned char x = Folded(a[i]);
        const unsigned char y = Folded(b[j]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    return 0;
}
