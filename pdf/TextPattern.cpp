#include "pdf/TextPattern.h"

namespace folvane {

std::string fill(const std::string &pattern, const std::vector<std::string> &values) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t value = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && value < values.size()) {
            text += values[value];
            ++i;
            continue;
        }
        text += pattern[i];
    }
    return text;
}

} // namespace folvane
